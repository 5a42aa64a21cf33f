// The map page's tools, selection and clipboard commands.
#include "ui/map/map_page.h"

#include "session/editor_session.h"
#include "model/map/map_renderer.h"
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

void MapPage::setSelection(const QRect& cells)
{
    m_selection = cells.normalized() & QRect(0, 0, m_renderer->columns(), m_renderer->rows());
    if (m_drag == Drag::None)
        MapBox->setFrame(m_selection);
}

void MapPage::selectAll() { setSelection(QRect(0, 0, m_renderer->columns(), m_renderer->rows())); }

void MapPage::selectNone() { setSelection(QRect()); }

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
    QGuiApplication::clipboard()->setMimeData(regionMimeData(m_session.copyCells(m_selection)));
    emit statusText(QStringLiteral("Copied %1 x %2 blocks.").arg(m_selection.width()).arg(m_selection.height()));
}

void MapPage::cut()
{
    if (m_selection.isEmpty())
        return;
    copy();
    m_session.clearCells(m_selection);
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
        m_session.clearCells(m_selection);
}
