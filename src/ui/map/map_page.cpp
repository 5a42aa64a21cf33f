#include "ui/map/map_page.h"

#include "session/editor_session.h"
#include "model/map/map_readouts.h"
#include "model/map/map_renderer.h"
#include "model/map/palette_picture.h"
#include "ui/map/block_palette_box.h"
#include "ui/map/map_view.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>

namespace {
constexpr int Cell = BlockPictures::BlockPixels;     // 64
constexpr int PaletteBoxWidth = 85;
}

MapPage::MapPage(EditorSession& session, QWidget* parent)
    : QWidget(parent), m_session(session),
      m_renderer(std::make_unique<MapRenderer>(session.state().core.map, session.state().map,
                                               session.state().pictures))
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
    // The keyboard belongs to the map view, not to the boxes that scroll it
    // (keys the view leaves still reach them and scroll).
    ScrollBox1->setFocusPolicy(Qt::NoFocus);

    ScrollBox2 = new QScrollArea(this);
    ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
    ScrollBox2->setFixedWidth(PaletteBoxWidth);
    ScrollBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ScrollBox2->setFocusPolicy(Qt::NoFocus);
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
    connect(MapBox, &MapView::unitReleased, this, &MapPage::MapBoxMouseUp);
    // The stamp shown on the map follows the pointer out of the view and back.
    connect(MapBox, &MapView::pointerLeft, this, [this] {
        m_hover = QPoint(-1, -1);
        showPreview();
    });
    connect(m_palette, &ImageBox::mouseMoved, this, &MapPage::BlockPaletteMouseMove);
    connect(m_palette, &ImageBox::mousePressed, this, &MapPage::BlockPaletteMouseDown);
    m_palette->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_palette, &QWidget::customContextMenuRequested, this, &MapPage::BlockPaletteContextMenu);

    connect(&m_session, &EditorSession::mapPicked, this, &MapPage::showPickedMap);
    connect(&m_session, &EditorSession::mapDropped, this, &MapPage::clearMap);
    connect(&m_session, &EditorSession::cellChanged, this, &MapPage::showCell);
    connect(&m_session.stamp(), &BlockStamp::selectedBlockChanged, this, &MapPage::showSelectedBlock);
    connect(&m_session.stamp(), &BlockStamp::stampChanged, this, &MapPage::showPreview);
    connect(&m_session, &EditorSession::mapPictureChanged, this, [this] {
        if (!m_session.state().core.map.isMap())
            return;
        UpdateBlockPalette();
        UpdateMap();
    });

    setViewEnabled(false);
}

MapPage::~MapPage() = default;

QImage& MapPage::paletteImage() { return m_palette->image(); }

void MapPage::followZoom(ZoomSetting* zoom) { MapBox->followZoom(zoom); }

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
    endInteraction();
    UpdateBlockPalette();
    UpdateMap();
}

// --- Palette -------------------------------------------------------------

void MapPage::UpdateBlockPalette()
{
    const EditorState& state = m_session.state();
    m_palette->image() = composePalette(state.pictures, state.core.map.TilesetNumber, m_session.grid().on());
    const int blocks = qBound(0, state.core.map.TilesetBlocks, BlockPlaces);
    m_palette->setFixedHeight(Cell * blocks);
    m_palette->update();
    showSelectedBlock(m_session.stamp().selectedBlock());
}

void MapPage::showSelectedBlock(qint32 block)
{
    // Block number n is palette row n - 1; 0 and numbers past the palette frame nothing.
    m_palette->setSelectedRow(block >= 1 && block <= BlockPlaces ? int(block - 1) : -1);
}

void MapPage::BlockPaletteMouseMove(QMouseEvent* event)
{
    const int y = event->position().toPoint().y();
    if (y < 0 || y >= m_palette->height())
        return;
    emit statusText(paletteReadout(y / Cell, m_session.state().core.map.TilesetStart));
}

void MapPage::BlockPaletteContextMenu(QPoint at)
{
    if (at.y() < 0 || at.y() >= m_palette->height() || !m_session.state().core.map.isMap())
        return;
    const qint32 block = at.y() / Cell + 1;
    QMenu menu(this);
    QAction* find = menu.addAction(QStringLiteral("Find Uses"));
    find->setObjectName(QStringLiteral("FindUses1"));
    connect(find, &QAction::triggered, this, [this, block] { emit findUsesRequested(block); });
    menu.exec(m_palette->mapToGlobal(at));
}

void MapPage::BlockPaletteMouseDown(QMouseEvent* event)
{
    // A block is chosen to paint with: the keyboard goes back to the map.
    if (MapBox->isEnabled())
        MapBox->setFocus(Qt::MouseFocusReason);
    const int y = event->position().toPoint().y();
    if (y < 0 || y >= m_palette->height())
        return;
    m_session.stamp().setSelectedBlock(y / Cell + 1);
}

// --- Map view --------------------------------------------------------------

void MapPage::UpdateMap()
{
    m_renderer->setGrid(m_session.grid().on());
    MapBox->mapChanged();
}

void MapPage::showCell(int cell)
{
    const int w = m_renderer->columns();
    if (w <= 0 || cell < 0)
        return;
    MapBox->updateCell(cell % w, cell / w);
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
    if (at != m_hover) {
        m_hover = at;
        showPreview();
    }
    if (m_drag != Drag::None)
        dragTo(at);
    const EditorState& state = m_session.state();
    // A stamp of several cells goes down wherever its corner lands, also
    // with the pointer off the map: what reaches the map is placed.
    if (m_painting && m_session.stamp().hasRegion() && at != m_lastStamp) {
        m_lastStamp = m_lastPainted = at;
        m_session.regions().placeStamp(at, m_selection);
    }
    const int cell = cellAt(at);
    if (cell < 0)
        return;
    m_cursorCell = cell;
    if (m_drag == Drag::None) {
        const int byte = state.map.cellHasByte(cell) ? state.map.MapBytes[size_t(cell)] : 0;
        emit statusText(mapCellReadout(at.x(), at.y(), byte, qint64(state.core.map.MapStart) + cell));
    }
    if (m_painting && !m_session.stamp().hasRegion()) {
        m_lastPainted = at;
        m_session.paintCell(cell);
    }
}

void MapPage::MapBoxMouseDown(QPoint at, Qt::MouseButton button)
{
    // The cell comes from the press itself: a press need not follow a move.
    const int cell = cellAt(at);
    const EditorState& state = m_session.state();
    if (button == Qt::LeftButton) {
        switch (m_tool) {
        case Tool::Stamp:
            m_session.beginStroke();
            m_painting = true;
            // Shift+click: a straight line from where the stamp last went down.
            if ((MapBox->pressModifiers() & Qt::ShiftModifier) && m_lastPainted.x() >= 0) {
                m_session.regions().placeStampLine(m_lastPainted, at);
                m_lastStamp = m_lastPainted = at;
                if (cell >= 0)
                    m_cursorCell = cell;
                return;
            }
            if (m_session.stamp().hasRegion()) {
                m_lastStamp = m_lastPainted = at;
                m_session.regions().placeStamp(at, m_selection);
                return;
            }
            if (cell < 0)
                return;
            m_cursorCell = cell;
            m_lastPainted = at;
            m_session.paintCell(cell);
            return;
        case Tool::Fill:
            if (cell >= 0)
                m_session.regions().bucketFill(at, m_selection);
            return;
        case Tool::SelectSame:
        case Tool::MagicWand: {
            if (cell < 0)
                return;
            const MapGrid grid = m_session.regions().mapGrid();
            selectCells(m_tool == Tool::SelectSame ? sameBlockCells(grid, grid.at(at)) : connectedCells(grid, at));
            return;
        }
        case Tool::Select:
        case Tool::RectFill:
            if (cell < 0)
                return;
            m_drag = m_tool == Tool::Select ? Drag::Select : Drag::RectFill;
            m_dragStart = at;
            dragTo(at);
            return;
        }
    } else if (button == Qt::RightButton || button == Qt::MiddleButton) {
        if (cell < 0)
            return;
        m_cursorCell = cell;
        const int byte = state.map.cellHasByte(cell) ? state.map.MapBytes[size_t(cell)] : 0;
        ScrollBox2->verticalScrollBar()->setValue(byte * Cell - Cell);
        m_session.stamp().setSelectedBlock(byte);
        // Dragged on, the right button takes the cells it covers as the stamp.
        if (button == Qt::RightButton && m_drag == Drag::None) {
            m_drag = Drag::Capture;
            m_dragStart = m_dragNow = at;
        }
    }
}

void MapPage::dragTo(QPoint cell)
{
    const QRect map(0, 0, m_renderer->columns(), m_renderer->rows());
    m_dragNow = QPoint(qBound(0, cell.x(), qMax(0, map.width() - 1)), qBound(0, cell.y(), qMax(0, map.height() - 1)));
    const QRect rect = dragRect();
    // A right button held still on one cell is a pick-up, and shows no frame.
    if (m_drag != Drag::Capture || rect.width() * rect.height() > 1)
        MapBox->setFrame(rect);
    emit statusText(QStringLiteral("Size: %1 x %2").arg(rect.width()).arg(rect.height()));
}

void MapPage::MapBoxMouseUp(QPoint at, Qt::MouseButton button)
{
    if (button == Qt::LeftButton || m_painting) {
        m_painting = false;
        m_session.endStroke();
        m_lastStamp = QPoint(-1, -1);
    }
    const Drag drag = m_drag;
    const bool ends = (drag == Drag::Capture) == (button == Qt::RightButton);
    if (drag == Drag::None || !ends)
        return;
    dragTo(at);
    m_drag = Drag::None;
    const QRect rect = dragRect();
    MapBox->setFrame(QRect());
    if (drag == Drag::Select) {
        selectCells(CellMask::fromRect(m_renderer->columns(), m_renderer->rows(), rect));
    } else if (drag == Drag::RectFill) {
        m_session.regions().fillRect(rect, m_selection);
    } else if (rect.width() * rect.height() > 1) {
        m_session.stamp().setRegion(
            m_session.regions().copyCells(CellMask::fromRect(m_renderer->columns(), m_renderer->rows(), rect)));
        setTool(Tool::Stamp);
    }
}

void MapPage::endInteraction()
{
    // Another map, or none, other cells: the selection, any drag and stroke end here.
    m_drag = Drag::None;
    m_painting = false;
    m_cursorCell = 0;
    m_lastPainted = QPoint(-1, -1);
    setSelection(CellMask());
    MapBox->clearPreview();
}

void MapPage::clearMap()
{
    endInteraction();
    setViewEnabled(false);
    MapBox->setStatusTip(QString());
    MapBox->mapChanged();
    m_palette->image().fill(Qt::black);
    m_palette->setFixedSize(0, 0);
    m_palette->update();
    ScrollBox2->verticalScrollBar()->setValue(0);
}
