#include "support/catalogue_fixture.h"

#include <QDir>

CatalogueFixture::CatalogueFixture()
{
    writeCatalogue();
}

void CatalogueFixture::writeCatalogue()
{
    dir.write("Main.Ini", "[Towns]\r\n1=Alpha Town\r\n2=Beta Town\r\n3=Gamma\r\n[Routes]\r\n1=Route 1\r\n");
    dir.write("Maps.Ini",
              "[Alpha Town]\r\nStart offset=0x1000\r\nEnd offset=0x1059\r\nX size=10\r\nY size=9\r\nTileset=1\r\nComment=A quiet town\r\n"
              "[Beta Town]\r\nStart offset=$2000\r\nEnd offset=$200F\r\nX size=4\r\nY size=4\r\nTileset=2\r\nComment=Small\r\n"
              "[Route 1]\r\nStart offset=12288\r\nEnd offset=12647\r\nX size=20\r\nY size=18\r\nTileset=1\r\nComment=Long grass\r\n");
    dir.write("Tilesets.ini",
              "[1]\r\nBlocks=10\r\nStart offset=0x8000\r\nTiles=tiles\\Outdoor.bmp\r\n"
              "[2]\r\nBlocks=4\r\nStart offset=0x9000\r\nTiles=tiles\\cave.bmp\r\n");
    dir.write("Critters.ini", "[Route 1]\r\nStart offset=0x5000\r\n[Settings]\r\nGrid=0\r\n");
    dir.write("Events.ini", "");
    QDir(dir.path()).mkpath("tiles");
    dir.writeTilePicture("tiles/Outdoor.bmp");
    dir.writeTilePicture("tiles/cave.bmp");
    dir.write("rom.gbc", TestDir::patternRom(RomSize));
}
