// What a user meets in the real window: the editor started as the program
// starts it, on an X server with a window manager, driven by mouse and keys
// only; each check reads what the user sees (the keyboard, the active window,
// the items on screen, the title, the clipboard, the bytes written).
#include "window/window_driver.h"

#include "model/rom/cartridge_header.h"
#include "model/rom/crc32.h"
#include "model/rom/rom_image.h"
#include "script/script_job.h"
#include "session/catalogue_check.h"
#include "support/catalogue_fixture.h"
#include "ui/main/main_form.h"
#include "ui/main/overview_panel.h"
#include "ui/map/map_page.h"
#include "ui/map/map_view.h"

#include <QAction>
#include <QInputDialog>
#include <QSpinBox>
#include <QLineEdit>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QProcess>
#include <QProgressDialog>
#include <QtTest>

namespace {

// The small catalogue's "Alpha Town": 10 x 9 cells at 0x1000 of an image
// whose byte i is i mod 251.
constexpr int AlphaStart = 0x1000, AlphaWidth = 10, AlphaHeight = 9;
int alphaByte(int column, int row) { return (AlphaStart + row * AlphaWidth + column) % 251; }

using Prepare = std::function<void(const TestDir&)>;

// The small catalogue's files, changed by `prepare` before the start.
struct Files {
    explicit Files(const Prepare& prepare)
    {
        if (prepare)
            prepare(files.dir);
    }
    CatalogueFixture files;
};

struct Editor : Files {
    explicit Editor(const Prepare& prepare = {}, const QString& rom = QStringLiteral("rom.gbc"))
        : Files(prepare), drive(files.dir.path(), files.dir.file(rom))
    {
    }
    // Alpha Town picked, its Map page brought up with a click on the tab.
    bool onAlphaTown() { return drive.started() && drive.pick("Towns", "Alpha Town") && drive.clickTab("Map"); }
    QWidget* map() const { return drive.form().mapPage->MapBox; }
    WindowDriver drive;
};

// Answers the real file dialog as a user does: the path typed, then Return.
std::function<void(QWidget*)> typePath(WindowDriver& drive, const QString& path)
{
    return [&drive, path](QWidget* dialog) {
        QVERIFY2(qobject_cast<QFileDialog*>(dialog), qPrintable(WindowDriver::activeName()));
        QVERIFY(drive.type(path));
        QVERIFY(drive.key(Qt::Key_Return));
    };
}

QByteArray bpsNumber(quint64 value)
{
    QByteArray out;
    for (;;) {
        const char low = char(value & 0x7F);
        value >>= 7;
        if (value == 0)
            return out.append(char(0x80 | low));
        out.append(low);
        --value;
    }
}

// A patch of `source` that copies it one byte at a time and changes its last
// byte: one action per byte, so that applying it takes a while.
QByteArray slowBps(const QByteArray& source)
{
    QByteArray target = source;
    target.back() = char(source.back() ^ 0xFF);
    QByteArray patch = "BPS1" + bpsNumber(quint64(source.size())) + bpsNumber(quint64(source.size())) + bpsNumber(0);
    patch += QByteArray(source.size() - 1, '\x80');   // source read, 1 byte
    patch += '\x81';                                  // target read, 1 byte
    patch += target.back();
    for (const quint32 crc : {crc32Of(source), crc32Of(target)})
        for (int i = 0; i < 4; ++i)
            patch += char(crc >> (8 * i));
    const quint32 own = crc32Of(patch);
    for (int i = 0; i < 4; ++i)
        patch += char(own >> (8 * i));
    return patch;
}

} // namespace

class TestScenarios : public QObject {
    Q_OBJECT
private slots:
    void mapTabThenSelectAndCopy();
    void paletteClickThenToolLetter();
    void menuEscapeThenLetterInFileMenu();
    void refusedPatchAndReturn();
    void escapeDuringLongPatch();
    void overviewOfThousandMaps();
    void findUsesCountsUnsavedCells();
    void shapedStampFlippedAndLined();
    void scriptAfterPaintingKeepsHistory();
    void catalogueFromABareRom();
    void consoleTakesTheKeyboard();
    void exampleAsksItsArguments();
};

void TestScenarios::mapTabThenSelectAndCopy()
{
    Editor e;
    QVERIFY(e.onAlphaTown());
    QCOMPARE(WindowDriver::focusName(), "MapBox");
    QVERIFY(e.drive.key(Qt::Key_R));
    QCOMPARE(e.drive.toolChecked(), "Rectangle Select");
    QVERIFY(e.drive.drag(e.map(), e.drive.cell(1, 1), e.drive.cell(3, 2)));
    QCOMPARE(e.drive.title(), "Kartola - Alpha Town");
    for (int row = 0; row < AlphaHeight; ++row)
        for (int column = 0; column < AlphaWidth; ++column)
            QCOMPARE(e.drive.cellByte(column, row), alphaByte(column, row));
    QVERIFY(e.drive.key(Qt::Key_C, Qt::ControlModifier));
    QString rows;
    for (int row = 1; row <= 2; ++row)
        rows += QStringLiteral("%1 %2 %3\n").arg(alphaByte(1, row), 2, 16, QLatin1Char('0')).arg(alphaByte(2, row), 2, 16, QLatin1Char('0')).arg(alphaByte(3, row), 2, 16, QLatin1Char('0')).toUpper();
    QCOMPARE(WindowDriver::clipboardText(), rows);
}

void TestScenarios::paletteClickThenToolLetter()
{
    Editor e;
    QVERIFY(e.onAlphaTown());
    // A right click on the map picks a block up and gives the map the keyboard.
    QVERIFY(e.drive.clickCell(2, 2, Qt::RightButton));
    QCOMPARE(WindowDriver::focusName(), "MapBox");
    QVERIFY(e.drive.clickPalette(e.drive.state().core.map.TilesetBlocks));
    QCOMPARE(WindowDriver::focusName(), "MapBox");
    QVERIFY(e.drive.key(Qt::Key_F));
    QCOMPARE(e.drive.toolChecked(), "Bucket Fill");
}

void TestScenarios::menuEscapeThenLetterInFileMenu()
{
    Editor e;
    QVERIFY(e.onAlphaTown());
    QVERIFY(e.drive.clickCell(2, 2));   // paints: something to save, and the keyboard on the map
    QCOMPARE(WindowDriver::focusName(), "MapBox");
    QCOMPARE(e.drive.title(), "Kartola - Alpha Town*");

    QMenu* utilities = e.drive.openMenu("Utilies");
    QVERIFY(utilities);
    QVERIFY(e.drive.key(Qt::Key_Escape));
    QTRY_VERIFY(!utilities->isVisible());
    QCOMPARE(WindowDriver::focusName(), "MapBox");

    QMenu* file = e.drive.openMenu("File");
    QVERIFY(file);
    QVERIFY(e.drive.hover(file, file->actionGeometry(e.drive.form().Exit1).center()));
    QTRY_COMPARE(file->activeAction(), e.drive.form().Exit1);
    QVERIFY(e.drive.key(Qt::Key_S));
    QCOMPARE(file->activeAction(), e.drive.form().SaveRom1);
    QVERIFY(e.drive.key(Qt::Key_Return));
    QTRY_COMPARE(e.drive.title(), "Kartola - Alpha Town");
    QCOMPARE(e.files.dir.read("rom.gbc").at(AlphaStart + 2 * AlphaWidth + 2), '\0');
    QCOMPARE(e.drive.toolChecked(), "Stamp");
}

void TestScenarios::refusedPatchAndReturn()
{
    Editor e;
    QVERIFY(e.drive.started());
    e.files.dir.write("empty.ips", "");
    e.drive.onDialog(typePath(e.drive, e.files.dir.file("empty.ips")));
    e.drive.onDialog([&](QWidget* box) {
        QVERIFY2(qobject_cast<QMessageBox*>(box), qPrintable(WindowDriver::activeName()));
        QVERIFY(box->isAncestorOf(QApplication::focusWidget()));
        QTest::qWait(500);   // past the delay after which a progress dialog shows
        const auto* progress = e.drive.form().findChild<QProgressDialog*>();
        QVERIFY2(!progress || !progress->isVisible(), "a progress dialog shows over the message");
        QCOMPARE(QApplication::activeWindow(), box);
        QVERIFY(e.drive.key(Qt::Key_Return));
    });
    QVERIFY(e.drive.chooseMenu({"File", "Apply Patch..."}));
    QVERIFY(e.drive.dialogsHandled());
    QTRY_COMPARE(QApplication::activeWindow(), &e.drive.form());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestScenarios::escapeDuringLongPatch()
{
    const QByteArray image = TestDir::patternRom(32 << 20);
    Editor e([&](const TestDir& dir) {
        dir.write("big.gbc", image);
        dir.write("slow.bps", slowBps(image));
    }, QStringLiteral("big.gbc"));
    WindowDriver& drive = e.drive;
    QVERIFY(drive.started());
    // Escape as soon as the dialog shows, a quarter and halfway through.
    for (const int permille : {0, 250, 500}) {
        drive.onDialog(typePath(drive, e.files.dir.file("slow.bps")));
        QVERIFY(drive.chooseMenu({"File", "Apply Patch..."}));
        QVERIFY(drive.dialogsHandled());
        QProgressDialog* progress = nullptr;
        QVERIFY2(QTest::qWaitFor([&] {
                     progress = drive.form().findChild<QProgressDialog*>();
                     return progress && progress->isVisible() && progress->isActiveWindow()
                            && progress->findChild<QProgressBar*>()->value() >= permille;
                 }),
                 qPrintable(QStringLiteral("no progress dialog at %1 permille; status: %2").arg(permille).arg(drive.status())));
        QVERIFY(drive.key(Qt::Key_Escape));
        QTRY_VERIFY_WITH_TIMEOUT(drive.form().findChild<QAction*>("ApplyPatch1")->isEnabled(), 20000);
        QVERIFY2(drive.status().contains("cancelled"), qPrintable(drive.status()));
        QCOMPARE(drive.title(), "Kartola");
        QVERIFY(!drive.form().Undo1->isEnabled());
        QVERIFY(drive.state().core.rom.bytes() == image);
    }
}

void TestScenarios::overviewOfThousandMaps()
{
    constexpr int Maps = 1000, Width = 20, Height = 18;
    Editor e([](const TestDir& dir) {
        QByteArray main = "[Everything]\r\n", maps;
        for (int k = 1; k <= Maps; ++k) {
            const QByteArray name = "Map " + QByteArray::number(k);
            const int start = 0x1000 + (k - 1) * Width * Height;
            main += QByteArray::number(k) + "=" + name + "\r\n";
            maps += "[" + name + "]\r\nStart offset=" + QByteArray::number(start) + "\r\nEnd offset="
                    + QByteArray::number(start + Width * Height - 1) + "\r\nX size=20\r\nY size=18\r\nTileset="
                    + QByteArray::number(1 + k % 2) + "\r\n";
        }
        dir.write("Main.Ini", main);
        dir.write("Maps.Ini", maps);
        dir.write("rom.gbc", TestDir::patternRom(0x80000));
    });
    WindowDriver& drive = e.drive;
    QVERIFY(drive.started());
    // The category from its list, the map by its name typed into the chooser.
    QVERIFY(drive.choose(drive.form().MainBox, "Everything"));
    QVERIFY(drive.click(drive.form().SubBox, QPoint(20, drive.form().SubBox->height() / 2)));
    QVERIFY(drive.type("Map 600"));
    QVERIFY(drive.key(Qt::Key_Return));
    QTRY_COMPARE(drive.state().core.map.name, "Map 600");

    QVERIFY(drive.chooseMenu({"View", "Overview"}));
    QListWidget* list = drive.form().overview->Maps;
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    QTRY_VERIFY(!drive.form().overview->item("Map 600")->icon().isNull());
    const QRect sight = list->viewport()->rect();
    const int pictureAndName = list->iconSize().height() + list->fontMetrics().height();
    int inSight = 0;
    for (int i = 0; i < list->count(); ++i) {
        const QRect place = list->visualItemRect(list->item(i));
        if (!sight.intersects(place))
            continue;
        ++inSight;
        QCOMPARE(list->item(i)->text(), QStringLiteral("Map %1").arg(i + 1));
        QVERIFY2(place.width() >= list->iconSize().width() && place.height() >= pictureAndName,
                 qPrintable(QStringLiteral("item %1 is %2 x %3").arg(i + 1).arg(place.width()).arg(place.height())));
    }
    QVERIFY(inSight > 0);
    QVERIFY(sight.contains(list->visualItemRect(drive.form().overview->item("Map 600"))));
}

void TestScenarios::findUsesCountsUnsavedCells()
{
    Editor e;
    QVERIFY(e.onAlphaTown());
    QVERIFY(e.drive.clickPalette(3));
    for (int column = 1; column <= 4; ++column)
        QVERIFY(e.drive.clickCell(column, 1));
    QCOMPARE(e.drive.title(), "Kartola - Alpha Town*");
    e.drive.onPopup([&](QWidget* menu) { QVERIFY(e.drive.chooseItem(qobject_cast<QMenu*>(menu), {"Find Uses"})); });
    QVERIFY(e.drive.clickPalette(3, Qt::RightButton));
    QVERIFY(e.drive.dialogsHandled());
    QTRY_COMPARE(WindowDriver::activeName(), "FindUsesForm");
    auto* uses = QApplication::activeWindow()->findChild<QListWidget*>("List");
    QStringList rows;
    for (int i = 0; i < uses->count(); ++i)
        rows << uses->item(i)->text();
    QVERIFY2(rows.contains("Alpha Town (4)"), qPrintable(rows.join(", ")));
}

void TestScenarios::shapedStampFlippedAndLined()
{
    Editor e;
    QVERIFY(e.onAlphaTown());
    // An L of three cells: (1, 1) above (1, 2), and (2, 2) beside it.
    QVERIFY(e.drive.chooseMenu({"Tools", "Rectangle Select"}));
    QVERIFY(e.drive.drag(e.map(), e.drive.cell(1, 1), e.drive.cell(1, 2)));
    QVERIFY(e.drive.drag(e.map(), e.drive.cell(2, 2), e.drive.cell(2, 2), Qt::LeftButton, Qt::ShiftModifier));
    for (const char* item : {"Copy", "Select None", "Paste"})
        QVERIFY(e.drive.chooseMenu({"Edit", item}));
    QVERIFY(e.drive.chooseMenu({"Tools", "Flip Stamp Horizontally"}));
    // Mirrored: a top-right, c bottom-left, b bottom-right; its top-left cell is not part of it.
    QVERIFY(e.drive.clickCell(5, 3));
    QVERIFY(e.drive.clickCell(1, 6));
    QVERIFY(e.drive.clickCell(5, 6, Qt::LeftButton, Qt::ShiftModifier));
    QVERIFY(e.drive.chooseMenu({"File", "Save Rom"}));
    QTRY_COMPARE(e.drive.title(), "Kartola - Alpha Town");

    QByteArray expected = TestDir::patternRom(CatalogueFixture::RomSize).mid(AlphaStart, AlphaWidth * AlphaHeight);
    const char a = char(alphaByte(1, 1)), b = char(alphaByte(1, 2)), c = char(alphaByte(2, 2));
    const auto place = [&](int x, int y) {
        expected[y * AlphaWidth + x + 1] = a;
        expected[(y + 1) * AlphaWidth + x] = c;
        expected[(y + 1) * AlphaWidth + x + 1] = b;
    };
    place(5, 3);
    for (int x = 1; x <= 5; ++x)   // the click, then the line from it
        place(x, 6);
    const QByteArray saved = e.files.dir.read("rom.gbc").mid(AlphaStart, AlphaWidth * AlphaHeight);
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(saved[i] == expected[i], qPrintable(QStringLiteral("cell (%1, %2): %3, not %4")
                                                         .arg(i % AlphaWidth).arg(i / AlphaWidth)
                                                         .arg(quint8(saved[i]), 2, 16, QLatin1Char('0'))
                                                         .arg(quint8(expected[i]), 2, 16, QLatin1Char('0'))));
}

void TestScenarios::scriptAfterPaintingKeepsHistory()
{
    Editor e;
    QDir(e.files.dir.path()).mkpath("scripts");
    e.files.dir.write("scripts/mark.js", "map('Alpha Town').setBlock(0, 0, 7);\n");
    QVERIFY(e.onAlphaTown());
    QVERIFY(e.drive.clickPalette(2));
    for (int column = 1; column <= 3; ++column)
        QVERIFY(e.drive.clickCell(column, 1));
    // The question about the map's unsaved changes: keep them.
    e.drive.onDialog([&](QWidget* box) {
        QVERIFY2(qobject_cast<QMessageBox*>(box), qPrintable(WindowDriver::activeName()));
        QVERIFY(e.drive.clickButton(box, "Yes"));
    });
    QVERIFY(e.drive.chooseMenu({"Utilies", "Scripts", "mark.js"}));
    QVERIFY(e.drive.dialogsHandled());
    QTRY_COMPARE(e.drive.cellByte(0, 0), 7);
    QCOMPARE(e.drive.form().Undo1->text(), "Undo Run Script mark");
    // One Undo takes the script back, and each one after it a paint, the last first.
    QVERIFY(e.drive.key(Qt::Key_Z, Qt::ControlModifier));
    QTRY_COMPARE(e.drive.cellByte(0, 0), alphaByte(0, 0));
    for (int column = 3; column >= 1; --column) {
        QCOMPARE(e.drive.cellByte(column, 1), 2);
        QVERIFY2(e.drive.form().Undo1->isEnabled(), qPrintable(QStringLiteral("no undo left for the paint at column %1").arg(column)));
        QVERIFY(e.drive.key(Qt::Key_Z, Qt::ControlModifier));
        QTRY_COMPARE(e.drive.cellByte(column, 1), alphaByte(column, 1));
    }
}

namespace {

// The bare cartridge: 96 tiles of 2-bit graphics, five blocks of tile
// numbers, and 8 x 6 bytes of map data between zero bytes, in a 1 MiB image.
constexpr int BareTiles = 0x40000, BareBlocks = 0x50000, BareMap = 0x60000, BareWidth = 8, BareHeight = 6;

QByteArray bareRom()
{
    QByteArray rom = TestDir::patternRom(0x100000);
    for (int t = 0; t < 96 * 16; ++t)
        rom[BareTiles + t] = char((t * 37 + (t >> 4) * 11) & 0xFF);
    for (int b = 0; b < 5 * 16; ++b)
        rom[BareBlocks + b] = char((b * 7) % 96);
    rom[BareMap - 1] = 0;
    for (int i = 0; i < BareWidth * BareHeight; ++i)
        rom[BareMap + i] = char(1 + (i * 3) % 4);
    rom[BareMap + BareWidth * BareHeight] = 0;
    CartridgeHeader::setChecksums(rom);
    return rom;
}

// The map as the 2-bit format gives it, worked out here from the image's
// bytes: a block is 4 x 4 tiles, a tile 8 x 8 pixels drawn at twice their
// size, colour number 0 white to 3 black.
QImage bareMapPicture(const QByteArray& rom, const QList<int>& cells)
{
    const QRgb greys[4] = {qRgb(255, 255, 255), qRgb(170, 170, 170), qRgb(85, 85, 85), qRgb(0, 0, 0)};
    QImage picture(BareWidth * 64, BareHeight * 64, QImage::Format_RGB32);
    for (int cell = 0; cell < BareWidth * BareHeight; ++cell) {
        const int block = cells[cell] - 1;
        for (int k = 0; k < 16; ++k) {
            int tile = uchar(rom[BareBlocks + block * 16 + k]);
            if (tile > 95)
                tile = 0;
            for (int y = 0; y < 16; ++y) {
                const uchar low = uchar(rom[BareTiles + tile * 16 + (y / 2) * 2]);
                const uchar high = uchar(rom[BareTiles + tile * 16 + (y / 2) * 2 + 1]);
                for (int x = 0; x < 16; ++x) {
                    const int bit = 7 - x / 2;
                    const int colour = ((low >> bit) & 1) | (((high >> bit) & 1) << 1);
                    picture.setPixel((cell % BareWidth) * 64 + (k % 4) * 16 + x, (cell / BareWidth) * 64 + (k / 4) * 16 + y,
                                     greys[colour]);
                }
            }
        }
    }
    return picture;
}

// A value typed into a field the way a user does: a click, all selected, the text.
void typeInto(WindowDriver& drive, QWidget* field, const QString& text)
{
    QVERIFY(field);
    QVERIFY(drive.click(field));
    QVERIFY(drive.key(Qt::Key_A, Qt::ControlModifier));
    QVERIFY(drive.type(text));
}

} // namespace

void TestScenarios::catalogueFromABareRom()
{
    const QByteArray rom = bareRom();
    Editor e([&](const TestDir& dir) {
        for (const char* file : {"Main.Ini", "Maps.Ini", "Tilesets.ini", "Critters.ini", "Events.ini", "Options.ini"})
            dir.write(file, "");
        dir.write("bare.gbc", rom);
    }, QStringLiteral("bare.gbc"));
    QVERIFY(e.drive.started());
    WindowDriver& drive = e.drive;

    drive.onDialog([&](QWidget* dialog) {
        QVERIFY2(qobject_cast<QInputDialog*>(dialog), qPrintable(WindowDriver::activeName()));
        QVERIFY(drive.type("Caves"));
        QVERIFY(drive.key(Qt::Key_Return));
    });
    QVERIFY(drive.chooseMenu({"Catalogue", "New Category..."}));
    QVERIFY(drive.dialogsHandled());

    drive.onDialog([&](QWidget* dialog) {
        typeInto(drive, dialog->findChild<QSpinBox*>("Blocks"), "4");
        typeInto(drive, dialog->findChild<QSpinBox*>("Start"), QString::number(BareBlocks, 16));
        typeInto(drive, dialog->findChild<QLineEdit*>("Tiles"), "tiles/cave.bmp");
        QVERIFY(drive.clickButton(dialog, "OK"));
    });
    QVERIFY(drive.chooseMenu({"Catalogue", "Tileset Properties..."}));
    QVERIFY(drive.dialogsHandled());

    drive.onDialog([&](QWidget* dialog) {
        typeInto(drive, dialog->findChild<QSpinBox*>("Offset"), QString::number(BareTiles, 16));
        QVERIFY(drive.clickButton(dialog, "OK"));
    });
    QVERIFY(drive.chooseMenu({"Catalogue", "Tiles from ROM..."}));
    QVERIFY(drive.dialogsHandled());

    drive.onDialog([&](QWidget* dialog) {
        typeInto(drive, dialog->findChild<QSpinBox*>("MapWidth"), QString::number(BareWidth));
        auto* found = dialog->findChild<QListWidget*>("Found");
        QTRY_VERIFY(found->count() > 0);
        QVERIFY2(found->item(0)->text().startsWith(QString::number(BareMap, 16).toUpper() + ":"),
                 qPrintable(found->item(0)->text()));
        QVERIFY(drive.clickButton(dialog, "New Map..."));
    });
    drive.onDialog([&](QWidget* dialog) {
        QCOMPARE(dialog->findChild<QSpinBox*>("Start")->value(), BareMap);
        QCOMPARE(dialog->findChild<QSpinBox*>("MapHeight")->value(), BareHeight);
        typeInto(drive, dialog->findChild<QLineEdit*>("Name"), "Deep Cave");
        QVERIFY(drive.clickButton(dialog, "OK"));
    });
    QVERIFY(drive.chooseMenu({"Catalogue", "Find Map Data..."}));
    QVERIFY(drive.dialogsHandled());
    QTRY_COMPARE(drive.state().core.map.name, QString("Deep Cave"));

    // A block painted on the map picked.
    QVERIFY(drive.clickTab("Map"));
    QVERIFY(drive.clickPalette(2));
    QVERIFY(drive.clickCell(0, 0));
    QTRY_COMPARE(drive.cellByte(0, 0), 2);

    const QString picturePath = e.files.dir.file("deep cave.bmp");
    drive.onDialog(typePath(drive, picturePath));
    QVERIFY(drive.chooseMenu({"Utilies", "Save Map Picture..."}));
    QVERIFY(drive.dialogsHandled());
    QTRY_VERIFY(QFileInfo::exists(picturePath));
    QList<int> cells;
    for (int i = 0; i < BareWidth * BareHeight; ++i)
        cells << uchar(rom[BareMap + i]);
    cells[0] = 2;
    QTRY_COMPARE(QImage(picturePath).convertToFormat(QImage::Format_RGB32), bareMapPicture(rom, cells));

    // The catalogue as written holds together against the image.
    const Catalogue catalogue(e.files.dir.path());
    RomImage image;
    QVERIFY(image.loadFromFile(e.files.dir.file("bare.gbc")));
    const CatalogueReport report = CatalogueCheck(catalogue, image, 1).run();
    QVERIFY2(report.sound(), qPrintable(report.text()));
    QVERIFY(report.text().contains("Checked 1 maps (0 with problems)"));
}

// Settings, data and caches of the run go to a folder of its own, as the
// catalogue and ROM files of each scenario do.
void TestScenarios::consoleTakesTheKeyboard()
{
    Editor e;
    QVERIFY(e.onAlphaTown());
    QVERIFY(e.drive.chooseMenu({"View", "Script Console"}));
    QTRY_COMPARE(WindowDriver::focusName(), "ScriptConsoleInput");
    QVERIFY(e.drive.type("log(6 * 7)"));
    QVERIFY(e.drive.key(Qt::Key_Return));
    auto* output = e.drive.form().findChild<QPlainTextEdit*>("ScriptConsoleOutput");
    QVERIFY(output);
    QTRY_VERIFY(output->toPlainText().contains("42"));
}

// A shipped example run as the program runs it, from the Scripts submenu in
// a process of its own: its arguments typed into the dialog it opens, the
// image saved; the bytes are those of the command line with the same values.
void TestScenarios::exampleAsksItsArguments()
{
    ScriptJob::runInProcesses(QStringLiteral(KARTOLA_PROGRAM));
    const auto inThreads = qScopeGuard([] { ScriptJob::runInProcesses(QString()); });
    Editor e([](const TestDir& dir) {
        QVERIFY(QDir(dir.path()).mkpath("scripts"));
        QVERIFY(QFile::copy(QStringLiteral(KARTOLA_SCRIPTS_DIR "/replace_block.js"), dir.file("scripts/replace_block.js")));
        QVERIFY(QFile::copy(dir.file("rom.gbc"), dir.file("before.gbc")));
    });
    QVERIFY(e.drive.started());
    const QStringList values{"1", QString::number(alphaByte(0, 0)), "5"};
    e.drive.onDialog([&](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), "Run Script replace_block");
        for (const QString& value : values) {
            QVERIFY(e.drive.type(value));
            QVERIFY(e.drive.key(Qt::Key_Tab));
        }
        QVERIFY(e.drive.key(Qt::Key_Return));
    });
    QVERIFY(e.drive.chooseMenu({"Utilies", "Scripts", "replace_block.js"}));
    QVERIFY(e.drive.dialogsHandled());
    auto* output = e.drive.form().findChild<QPlainTextEdit*>("ScriptLog");
    QVERIFY(output);
    QTRY_VERIFY_WITH_TIMEOUT(output->toPlainText().endsWith("replace_block finished; the image was changed."), 20000);
    QVERIFY(e.drive.key(Qt::Key_S, Qt::ControlModifier));

    QProcess line;
    line.start(QStringLiteral(KARTOLA_PROGRAM),
               {"--catalogue", e.files.dir.path(), e.files.dir.file("before.gbc"), "--script",
                e.files.dir.file("scripts/replace_block.js"), "--arg", values[0], "--arg", values[1], "--arg",
                values[2], "--output", e.files.dir.file("line.gbc")});
    QVERIFY(line.waitForFinished(30000));
    QCOMPARE(line.exitCode(), 0);
    const QByteArray saved = e.files.dir.read("rom.gbc");
    QCOMPARE(saved.at(AlphaStart), '\x05');
    QVERIFY(saved == e.files.dir.read("line.gbc"));
}

int main(int argc, char** argv)
{
    const QTemporaryDir home;
    for (const char* place : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString folder = home.filePath(QString::fromLatin1(place));
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(place, QFile::encodeName(folder));
    }
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kartola"));
    TestScenarios scenarios;
    return QTest::qExec(&scenarios, argc, argv);
}

#include "tst_scenarios.moc"
