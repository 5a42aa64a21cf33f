#include "map/ui/map_page.h"

#include "app/editor_session.h"
#include "map/map_picture.h"
#include "map/map_readouts.h"
#include "map/palette_picture.h"
#include "map/ui/image_box.h"
#include "widgets/drawing_surface.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>

namespace {
constexpr int Cell = BlockPictures::BlockPixels;     // 64
constexpr QSize DesignViewSize(403, 266);            // the map view before any map
constexpr int PaletteBoxWidth = 85;
}

MapPage::MapPage(EditorSession& session, QWidget* parent) : QWidget(parent), m_session(session)
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

    connect(&m_session, &EditorSession::mapPicked, this, &MapPage::showPickedMap);
    connect(&m_session, &EditorSession::mapDropped, this, &MapPage::clearMap);
    connect(&m_session, &EditorSession::cellChanged, this, &MapPage::showCell);
    connect(&m_session, &EditorSession::mapPictureChanged, this, [this] {
        if (!m_session.state().core.map.isMap())
            return;
        UpdateBlockPalette();
        UpdateMap();
    });

    setViewEnabled(false);
}

QImage& MapPage::paletteImage() { return m_palette->image(); }

void MapPage::setViewEnabled(bool enabled)
{
    MapBox->setEnabled(enabled);
}

void MapPage::showPickedMap()
{
    const EditorState& state = m_session.state();
    if (state.pictures.built(state.core.map.TilesetNumber)) {
        m_palette->setFixedWidth(Cell);
        setViewEnabled(true);
    }
    MapBox->setStatusTip(state.core.map.comment);
    UpdateBlockPalette();
    UpdateMap();
}

// --- Palette -------------------------------------------------------------

void MapPage::UpdateBlockPalette()
{
    const EditorState& state = m_session.state();
    m_palette->image() = composePalette(state.pictures, state.core.map.TilesetNumber, m_session.grid());
    const int blocks = qBound(0, state.core.map.TilesetBlocks, BlockPlaces);
    m_palette->setFixedHeight(Cell * blocks);
    m_palette->update();
}

void MapPage::BlockPaletteMouseMove(QMouseEvent* event)
{
    const int y = event->position().toPoint().y();
    if (y < 0 || y >= m_palette->height())
        return;
    emit statusText(paletteReadout(y / Cell, m_session.state().core.map.TilesetStart));
}

void MapPage::BlockPaletteMouseDown(QMouseEvent* event)
{
    const int y = event->position().toPoint().y();
    if (y < 0 || y >= m_palette->height())
        return;
    m_session.setSelectedBlock(y / Cell + 1);
}

// --- Map view --------------------------------------------------------------

void MapPage::drawCell(int column, int row)
{
    const EditorState& state = m_session.state();
    drawMapCell(MapBox->surface(), state.core.map, state.map, state.pictures, column, row, m_session.grid());
}

void MapPage::UpdateMap()
{
    const MapRecord& map = m_session.state().core.map;
    const int w = qMax(0, map.MapWidth), h = qMax(0, map.MapHeight);
    if (qint64(w) * h > MapBufferSize)
        return;
    MapBox->setSurfaceSize(QSize(w * Cell, h * Cell));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            drawCell(x, y);
    MapBox->present();
}

void MapPage::showCell(int cell)
{
    const int w = m_session.state().core.map.MapWidth;
    if (w <= 0 || cell < 0)
        return;
    const int column = cell % w, row = cell / w;
    drawCell(column, row);
    MapBox->present(QRect(Cell * column, Cell * row, Cell, Cell));
}

int MapPage::cellAt(const QPoint& p) const
{
    const MapRecord& map = m_session.state().core.map;
    const qint64 w = map.MapWidth, h = map.MapHeight;
    if (p.x() < 0 || p.y() < 0 || p.x() >= Cell * w || p.y() >= Cell * h)
        return -1;
    return int((p.y() / Cell) * w + p.x() / Cell);
}

void MapPage::MapBoxMouseMove(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const int cell = cellAt(p);
    if (cell < 0)
        return;
    EditorState& state = m_session.state();
    state.map.CursorCell = cell;
    const int byte = state.map.cellHasByte(cell) ? state.map.MapBytes[size_t(cell)] : 0;
    emit statusText(mapCellReadout(p.x() / Cell, p.y() / Cell, byte, qint64(state.core.map.MapStart) + cell));
    if (state.map.Painting)
        m_session.paintCell(cell);
}

void MapPage::MapBoxMouseDown(QMouseEvent* event)
{
    // The cell comes from the press itself: a press need not follow a move.
    const QPoint p = event->position().toPoint();
    const int cell = cellAt(p);
    EditorState& state = m_session.state();
    if (event->button() == Qt::LeftButton) {
        m_session.beginStroke();
        if (cell < 0)
            return;
        state.map.CursorCell = cell;
        m_session.paintCell(cell);
    } else if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) {
        if (cell < 0)
            return;
        state.map.CursorCell = cell;
        const int byte = state.map.cellHasByte(cell) ? state.map.MapBytes[size_t(cell)] : 0;
        ScrollBox2->verticalScrollBar()->setValue(byte * Cell - Cell);
        m_session.setSelectedBlock(byte);
    }
}

void MapPage::MapBoxMouseUp(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton || m_session.state().map.Painting)
        m_session.endStroke();
}

void MapPage::clearMap()
{
    setViewEnabled(false);
    MapBox->setStatusTip(QString());
    MapBox->setSurfaceSize(DesignViewSize);
    MapBox->surface().fill(Qt::black);
    MapBox->present();
    m_palette->image().fill(Qt::black);
    m_palette->setFixedSize(0, 0);
    m_palette->update();
    ScrollBox2->verticalScrollBar()->setValue(0);
}
