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
    QMimeData* data = regionMimeData(m_session.copyCells(m_selection));
    setRegionOrigin(*data, m_selection.topLeft());
    QGuiApplication::clipboard()->setMimeData(data);
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
    const SessionOutcome pasted = m_session.pasteInPlace(*region, *origin);
    if (pasted.isRefused())
        emit statusText(pasted.refusal);
}

void MapPage::flipStampHorizontally() { m_session.stamp().flip(true); }

void MapPage::flipStampVertically() { m_session.stamp().flip(false); }
