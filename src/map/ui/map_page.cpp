#include "map/ui/map_page.h"

#include "map/block_blit.h"
#include "map/block_composer.h"
#include "map/map_readouts.h"
#include "map/map_renderer.h"
#include "map/ui/block_palette_box.h"
#include "map/ui/map_view.h"
#include "widgets/prompts.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>

namespace {
constexpr int Cell = BlockPictures::BlockPixels;     // 64
constexpr int PaletteBoxWidth = 85;
}

MapPage::MapPage(EditorCore& core, MapState& state, BlockPictures& pictures, TilePicture& Pics,
                 Prompts& prompts, QProgressBar* Progress, QAction* Grid1, QWidget* parent)
    : QWidget(parent), m_core(core), m_state(state), m_pictures(pictures), m_pics(Pics),
      m_prompts(prompts), m_progress(Progress), m_grid(Grid1),
      m_renderer(std::make_unique<MapRenderer>(core.map, state, pictures))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    MapBox = new MapView(*m_renderer);
    MapBox->setObjectName(QStringLiteral("MapBox"));
    MapBox->setCursor(Qt::DragMoveCursor);
    ScrollBox1->setWidget(MapBox);

    ScrollBox2 = new QScrollArea(this);
    ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
    ScrollBox2->setFixedWidth(PaletteBoxWidth);
    ScrollBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_palette = new BlockPaletteBox;
    m_palette->setObjectName(QStringLiteral("BlockPalette"));
    m_palette->setCursor(Qt::PointingHandCursor);
    m_palette->image() = QImage(Cell, Cell * BlockPlaces, QImage::Format_RGB32);
    m_palette->image().fill(Qt::black);
    m_palette->setFixedSize(0, 0);
    BlockPalette = m_palette;
    ScrollBox2->setWidget(m_palette);

    layout->addWidget(ScrollBox1, 1);
    layout->addWidget(ScrollBox2);

    connect(MapBox, &MapView::unitMoved, this, [this](QPoint cell) { MapBoxMouseMove(cell); });
    connect(MapBox, &MapView::unitPressed, this, &MapPage::MapBoxMouseDown);
    connect(MapBox, &MapView::unitReleased, this, [this] { MapBoxMouseUp(); });
    connect(m_palette, &ImageBox::mouseMoved, this, &MapPage::BlockPaletteMouseMove);
    connect(m_palette, &ImageBox::mousePressed, this, &MapPage::BlockPaletteMouseDown);

    setViewEnabled(false);
}

MapPage::~MapPage() = default;

QImage& MapPage::paletteImage() { return m_palette->image(); }

void MapPage::followZoom(ZoomSetting* zoom) { MapBox->followZoom(zoom); }

bool MapPage::gridOn() const { return m_grid && m_grid->isChecked(); }

void MapPage::setViewEnabled(bool enabled)
{
    m_viewEnabled = enabled;
    MapBox->setEnabled(enabled);
}

// --- Tileset and palette -------------------------------------------------

void MapPage::LoadTileset()
{
    const MapRecord& map = m_core.map;
    const int t = map.TilesetNumber, blocks = map.TilesetBlocks;
    // The record was checked by the map pick; a record that cannot be held builds nothing.
    if (t < 1 || t > TilesetCount || blocks < 0 || blocks >= BlockPlaces
        || !m_core.rom.contains(map.TilesetStart, qint64(BlockSize) * (blocks + 1)))
        return;

    const QString status = QStringLiteral("Loading Tileset%1 please wait...").arg(t);
    if (m_progress) {
        m_progress->setMaximum(blocks);
        m_progress->setValue(0);
        m_progress->show();
    }
    // The build takes a few milliseconds: painting the bar after every block
    // would cost more than the build itself, so the bar takes each value
    // and is painted once it is done.
    if (m_progress)
        m_progress->setUpdatesEnabled(false);
    // The status text reads the same after every block: it is set once.
    emit statusText(status);
    QImage scratch = BlockComposer::emptyBlock();
    std::array<quint8, BlockSize> tiles{};
    for (int r = 0; r <= blocks; ++r) {
        m_core.rom.readAt(qint64(map.TilesetStart) + qint64(BlockSize) * r, tiles.data(), BlockSize);
        BlockComposer::compose(scratch, m_pics, tiles);
        m_pictures.setPicture(t, r, scratch.copy());
        if (m_progress)
            m_progress->setValue(r);
    }
    m_palette->setFixedWidth(Cell);
    setViewEnabled(true);
    if (m_progress) {
        m_progress->setUpdatesEnabled(true);
        m_progress->hide();
    }
}

void MapPage::UpdateBlockPalette()
{
    const int t = m_core.map.TilesetNumber;
    QImage& image = m_palette->image();
    const bool grid = gridOn();
    for (int r = 0; r < BlockPlaces; ++r) {
        const QRect row(0, Cell * r, Cell, Cell);
        if (m_pictures.has(t, r))
            blitImage(image, row.topLeft(), m_pictures.picture(t, r), QRect(0, 0, Cell, Cell));
        else
            fillBlack(image, row);
        if (grid)
            drawFrame(image, row);
    }
    const int blocks = qBound(0, m_core.map.TilesetBlocks, BlockPlaces);
    m_palette->setFixedHeight(Cell * blocks);
    m_palette->update();
    showSelectedBlock();
    emit pictureCommandsEnabled();
}

void MapPage::BlockPaletteMouseMove(QMouseEvent* event)
{
    const int y = event->position().toPoint().y();
    if (y < 0 || y >= m_palette->height())
        return;
    emit statusText(paletteReadout(y / Cell, m_core.map.TilesetStart));
}

void MapPage::BlockPaletteMouseDown(QMouseEvent* event)
{
    const int y = event->position().toPoint().y();
    if (y < 0 || y >= m_palette->height())
        return;
    m_state.SelectedBlock = y / Cell + 1;
    showSelectedBlock();
}

void MapPage::showSelectedBlock()
{
    // Block number n is palette row n - 1; 0 and numbers past the palette frame nothing.
    const int row = m_state.SelectedBlock - 1;
    m_palette->setSelectedRow(row >= 0 && row < BlockPlaces ? row : -1);
}

// --- Map view --------------------------------------------------------------

void MapPage::LoadMap()
{
    // A record the buffer cannot hold leaves the bytes of the previous map.
    if (!m_state.readMap(m_core.rom, m_core.map))
        return;
    UpdateMap();
}

void MapPage::UpdateMap()
{
    m_renderer->setGrid(gridOn());
    MapBox->mapChanged();
}

void MapPage::SaveMap()
{
    m_state.writeMap(m_core.rom);
}

int MapPage::cellAt(QPoint cell) const
{
    const int w = m_renderer->columns(), h = m_renderer->rows();
    if (cell.x() < 0 || cell.y() < 0 || cell.x() >= w || cell.y() >= h)
        return -1;
    return cell.y() * w + cell.x();
}

void MapPage::MapBoxMouseMove(QPoint at)
{
    const int cell = cellAt(at);
    if (cell < 0)
        return;
    m_state.CursorCell = cell;
    const int byte = m_state.cellHasByte(cell) ? m_state.MapBytes[size_t(cell)] : 0;
    emit statusText(mapCellReadout(at.x(), at.y(), byte, qint64(m_core.map.MapStart) + cell));
    if (m_state.Painting && m_state.paintCell(cell, m_state.SelectedBlock))
        MapBox->updateCell(at.x(), at.y());
}

void MapPage::MapBoxMouseDown(QPoint at, Qt::MouseButton button)
{
    // The cell comes from the press itself: a press need not follow a move.
    const int cell = cellAt(at);
    if (button == Qt::LeftButton) {
        m_state.Painting = true;
        if (cell < 0)
            return;
        m_state.CursorCell = cell;
        if (m_state.paintCell(cell, m_state.SelectedBlock))
            MapBox->updateCell(at.x(), at.y());
    } else if (button == Qt::RightButton || button == Qt::MiddleButton) {
        if (cell < 0)
            return;
        m_state.CursorCell = cell;
        const int byte = m_state.cellHasByte(cell) ? m_state.MapBytes[size_t(cell)] : 0;
        ScrollBox2->verticalScrollBar()->setValue(byte * Cell - Cell);
        m_state.SelectedBlock = byte;
        showSelectedBlock();
    }
}

void MapPage::MapBoxMouseUp()
{
    m_state.Painting = false;
}

void MapPage::Grid1Click()
{
    // The action has already changed its check mark.
    const bool on = gridOn();
    QString error;
    if (!m_core.catalogue.CrittersIni.writeBool(QStringLiteral("Settings"), QStringLiteral("Grid"), on, &error)) {
        m_prompts.error(error);
        return;
    }
    if (m_viewEnabled) {
        UpdateMap();
        UpdateBlockPalette();
    }
}

void MapPage::clearMap()
{
    setViewEnabled(false);
    m_state.Painting = false;
    MapBox->mapChanged();
    m_palette->image().fill(Qt::black);
    m_palette->setFixedSize(0, 0);
    m_palette->update();
    ScrollBox2->verticalScrollBar()->setValue(0);
}
