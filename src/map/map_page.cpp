// Placeholder until the map view is built: it lays out the page's controls only.
#include "map/map_page.h"

#include "widgets/drawing_surface.h"

#include <QHBoxLayout>
#include <QScrollArea>

namespace {
QImage g_palette;
}

MapPage::MapPage(EditorCore&, MapState&, BlockPictures&, TilePicture&, Prompts&, QProgressBar*, QAction*, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    MapBox = new DrawingSurface;
    MapBox->setObjectName(QStringLiteral("MapBox"));
    ScrollBox1->setWidget(MapBox);
    ScrollBox2 = new QScrollArea(this);
    ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
    BlockPalette = new QWidget;
    BlockPalette->setObjectName(QStringLiteral("BlockPalette"));
    ScrollBox2->setWidget(BlockPalette);
    layout->addWidget(ScrollBox1, 1);
    layout->addWidget(ScrollBox2);
}

void MapPage::LoadTileset() {}
void MapPage::UpdateBlockPalette() {}
void MapPage::LoadMap() {}
void MapPage::UpdateMap() {}
void MapPage::SaveMap() {}
void MapPage::Grid1Click() {}
void MapPage::clearMap() {}
QImage& MapPage::paletteImage() { return g_palette; }
