// The map page's tools, selection and clipboard commands.
#include "ui/map/map_page.h"

#include "session/editor_session.h"
#include "model/map/map_renderer.h"
#include "model/map/region_origin.h"
#include "ui/map/map_view.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void MapPage::setTool(Tool tool)
{
    if (tool == m_tool)
        return;
    m_tool = tool;
    showPreview();
    emit toolChanged(tool);
}

void MapPage::setSelection(const CellMask& cells)
{
    m_selection = cells;
    MapBox->setOutline(m_selection);
}

void MapPage::selectCells(const CellMask& cells)
{
    const Qt::KeyboardModifiers modifiers = MapBox->pressModifiers();
    CellMask selection = m_selection.width() == cells.width() && m_selection.height() == cells.height()
                             ? m_selection
                             : CellMask(cells.width(), cells.height());
    if (modifiers & Qt::ControlModifier)
        selection.combine(cells, CellMask::Combine::Subtract);
    else if (modifiers & Qt::ShiftModifier)
        selection.combine(cells, CellMask::Combine::Add);
    else
        selection = cells;
    setSelection(selection);
    const QRect bounds = selection.bounds();
    emit statusText(QStringLiteral("Selected %1 blocks in %2 x %3.").arg(selection.count()).arg(bounds.width()).arg(bounds.height()));
}

void MapPage::selectSame(quint8 block) { setSelection(sameBlockCells(m_session.regions().mapGrid(), block)); }

void MapPage::selectAll()
{
    setSelection(CellMask::fromRect(m_renderer->columns(), m_renderer->rows(), QRect(0, 0, m_renderer->columns(), m_renderer->rows())));
}

void MapPage::selectNone() { setSelection(CellMask()); }

void MapPage::dropSelectionAndStamp()
{
    m_session.stamp().dropRegion();
    selectNone();
}

void MapPage::showPreview()
{
    // Only a stamp of several cells follows the pointer, and only as the stamp tool.
    const EditorState& state = m_session.state();
    if (m_tool != Tool::Stamp || !m_session.stamp().hasRegion() || m_hover.x() < 0 || !state.core.map.isMap()) {
        MapBox->clearPreview();
        return;
    }
    MapBox->setPreview(m_session.stamp().stamp(state.core.map.TilesetNumber), m_hover, &state.pictures, state.core.map.TilesetNumber);
}

void MapPage::copy()
{
    if (m_selection.isEmpty())
        return;
    QMimeData* data = regionMimeData(m_session.regions().copyCells(m_selection));
    setRegionOrigin(*data, selection().topLeft());
    QGuiApplication::clipboard()->setMimeData(data);
    emit statusText(QStringLiteral("Copied %1 x %2 blocks.").arg(selection().width()).arg(selection().height()));
}

void MapPage::cut()
{
    if (m_selection.isEmpty())
        return;
    copy();
    m_session.regions().clearCells(m_selection);
}

void MapPage::paste()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const SessionOutcome pasted = data ? m_session.stamp().paste(*data, m_session.state().core.map.TilesetNumber)
                                       : SessionOutcome::refused(QStringLiteral("The clipboard holds no blocks."));
    if (pasted.isRefused()) {
        emit statusText(pasted.refusal);
        return;
    }
    setTool(Tool::Stamp);
    showPreview();
}

void MapPage::deleteSelection()
{
    if (!m_selection.isEmpty())
        m_session.regions().clearCells(m_selection);
}

void MapPage::pasteInPlace()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QString error = QStringLiteral("The clipboard holds no blocks.");
    const std::optional<BlockRegion> region = data ? regionFromMimeData(*data, &error) : std::nullopt;
    if (!region) {
        emit statusText(error);
        return;
    }
    const std::optional<QPoint> origin = regionOrigin(*data);
    if (!origin) {
        emit statusText(QStringLiteral("The blocks on the clipboard do not say where they were copied from."));
        return;
    }
    const SessionOutcome pasted = m_session.regions().pasteInPlace(*region, *origin);
    if (pasted.isRefused())
        emit statusText(pasted.refusal);
}

void MapPage::flipStampHorizontally() { m_session.stamp().flip(true); }

void MapPage::flipStampVertically() { m_session.stamp().flip(false); }
