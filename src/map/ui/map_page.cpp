#include "map/ui/map_page.h"

#include "map/block_blit.h"
#include "map/block_composer.h"
#include "map/ui/image_box.h"
#include "map/map_readouts.h"
#include "widgets/drawing_surface.h"
#include "widgets/prompts.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>

namespace {
constexpr int Cell = BlockPictures::BlockPixels;     // 64
constexpr QSize DesignViewSize(403, 266);            // the map view before any map
constexpr int PaletteBoxWidth = 85;
}

MapPage::MapPage(EditorCore& core, MapState& state, BlockPictures& pictures, TilePicture& Pics,
                 Prompts& prompts, QProgressBar* Progress, QAction* Grid1, QWidget* parent)
    : QWidget(parent), m_core(core), m_state(state), m_pictures(pictures), m_pics(Pics),
      m_prompts(prompts), m_progress(Progress), m_grid(Grid1)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    MapBox = new DrawingSurface;
    MapBox->setObjectName(QStringLiteral("MapBox"));
    MapBox->setCursor(Qt::DragMoveCursor);
    MapBox->setSurfaceSize(DesignViewSize);
    ScrollBox1->setWidget(MapBox);

    ScrollBox2 = new QScrollArea(this);
    ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
    ScrollBox2->setFixedWidth(PaletteBoxWidth);
    ScrollBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_palette = new ImageBox;
    m_palette->setObjectName(QStringLiteral("BlockPalette"));
    m_palette->setCursor(Qt::PointingHandCursor);
    m_palette->image() = QImage(Cell, Cell * BlockPlaces, QImage::Format_RGB32);
    m_palette->image().fill(Qt::black);
    m_palette->setFixedSize(0, 0);
    BlockPalette = m_palette;
    ScrollBox2->setWidget(m_palette);

    layout->addWidget(ScrollBox1, 1);
    layout->addWidget(ScrollBox2);

    connect(MapBox, &DrawingSurface::mouseMoved, this, &MapPage::MapBoxMouseMove);
    connect(MapBox, &DrawingSurface::mousePressed, this, &MapPage::MapBoxMouseDown);
    connect(MapBox, &DrawingSurface::mouseReleased, this, &MapPage::MapBoxMouseUp);
    connect(m_palette, &ImageBox::mouseMoved, this, &MapPage::BlockPaletteMouseMove);
    connect(m_palette, &ImageBox::mousePressed, this, &MapPage::BlockPaletteMouseDown);

    setViewEnabled(false);
}

QImage& MapPage::paletteImage() { return m_palette->image(); }

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
    QImage scratch = BlockComposer::emptyBlock();
    std::array<quint8, BlockSize> tiles{};
    for (int r = 0; r <= blocks; ++r) {
        m_core.rom.readAt(qint64(map.TilesetStart) + qint64(BlockSize) * r, tiles.data(), BlockSize);
        BlockComposer::compose(scratch, m_pics, tiles);
        m_pictures.setPicture(t, r, scratch.copy());
        emit statusText(status);
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
}

// --- Map view --------------------------------------------------------------

void MapPage::LoadMap()
{
    // A record the buffer cannot hold leaves the bytes of the previous map.
    if (!m_state.readMap(m_core.rom, m_core.map))
        return;
    UpdateMap();
}

void MapPage::drawCell(int column, int row)
{
    const int cell = row * m_core.map.MapWidth + column;
    const int n = m_state.cellHasByte(cell) ? m_state.MapBytes[size_t(cell)] : 0;
    const int t = m_core.map.TilesetNumber;
    QImage& surface = MapBox->surface();
    const QRect target(Cell * column, Cell * row, Cell, Cell);
    // A cell without a picture is cleared, so it never shows a block it does not hold.
    if (n >= 1 && m_pictures.has(t, n - 1))
        blitImage(surface, target.topLeft(), m_pictures.picture(t, n - 1), QRect(0, 0, Cell, Cell));
    else
        fillBlack(surface, target);
    if (gridOn())
        drawFrame(surface, target);
}

void MapPage::UpdateMap()
{
    const int w = qMax(0, m_core.map.MapWidth), h = qMax(0, m_core.map.MapHeight);
    if (qint64(w) * h > MapBufferSize)
        return;
    MapBox->setSurfaceSize(QSize(w * Cell, h * Cell));
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y)
            drawCell(x, y);
    MapBox->present();
}

void MapPage::SaveMap()
{
    m_state.writeMap(m_core.rom);
}

int MapPage::cellAt(const QPoint& p) const
{
    const int w = m_core.map.MapWidth, h = m_core.map.MapHeight;
    if (p.x() < 0 || p.y() < 0 || p.x() >= Cell * w || p.y() >= Cell * h)
        return -1;
    return (p.y() / Cell) * w + p.x() / Cell;
}

void MapPage::MapBoxMouseMove(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const int cell = cellAt(p);
    if (cell < 0)
        return;
    const int column = p.x() / Cell, row = p.y() / Cell;
    m_state.CursorCell = cell;
    const int byte = m_state.cellHasByte(cell) ? m_state.MapBytes[size_t(cell)] : 0;
    emit statusText(mapCellReadout(column, row, byte, qint64(m_core.map.MapStart) + cell));
    if (m_state.Painting && m_state.paintCell(cell, m_state.SelectedBlock)) {
        drawCell(column, row);
        MapBox->present(QRect(Cell * column, Cell * row, Cell, Cell));
    }
}

void MapPage::MapBoxMouseDown(QMouseEvent* event)
{
    // The cell comes from the press itself: a press need not follow a move.
    const QPoint p = event->position().toPoint();
    const int cell = cellAt(p);
    if (event->button() == Qt::LeftButton) {
        m_state.Painting = true;
        if (cell < 0)
            return;
        m_state.CursorCell = cell;
        const int column = p.x() / Cell, row = p.y() / Cell;
        if (m_state.paintCell(cell, m_state.SelectedBlock)) {
            drawCell(column, row);
            MapBox->present(QRect(Cell * column, Cell * row, Cell, Cell));
        }
    } else if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) {
        if (cell < 0)
            return;
        m_state.CursorCell = cell;
        const int byte = m_state.cellHasByte(cell) ? m_state.MapBytes[size_t(cell)] : 0;
        ScrollBox2->verticalScrollBar()->setValue(byte * Cell - Cell);
        m_state.SelectedBlock = byte;
    }
}

void MapPage::MapBoxMouseUp(QMouseEvent*)
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
    MapBox->setSurfaceSize(DesignViewSize);
    MapBox->surface().fill(Qt::black);
    MapBox->present();
    m_palette->image().fill(Qt::black);
    m_palette->setFixedSize(0, 0);
    m_palette->update();
    ScrollBox2->verticalScrollBar()->setValue(0);
}
