#include "ui/main/find_uses_window.h"

#include "session/editor_session.h"
#include "ui/main/go_to_map_window.h"
#include "ui/main/main_form.h"
#include "ui/map/map_page.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

FindUsesWindow::FindUsesWindow(TMainForm& form)
    : QWidget(&form, Qt::Dialog), m_form(form)
{
    setObjectName(QStringLiteral("FindUsesForm"));
    setWindowTitle(QStringLiteral("Find Uses"));
    resize(320, 360);
    auto* layout = new QVBoxLayout(this);
    Caption = new QLabel(this);
    Caption->setObjectName(QStringLiteral("Caption"));
    List = new QListWidget(this);
    List->setObjectName(QStringLiteral("List"));
    List->setUniformItemSizes(true);
    layout->addWidget(Caption);
    layout->addWidget(List, 1);
    connect(List, &QListWidget::activated, this, [this](const QModelIndex& index) { pickRow(index.row()); });
}

void FindUsesWindow::findUses(qint32 tileset, qint32 block)
{
    const EditorState& state = m_form.state;
    m_block = block;
    // The map shown is counted as it is on the screen, unsaved edits included.
    m_uses = block >= 0 && block <= 0xFF
                 ? findBlockUses(state.core.catalogue, state.core.rom, state.map, tileset, quint8(block))
                 : QList<BlockUse>();
    List->clear();
    for (const BlockUse& use : std::as_const(m_uses))
        List->addItem(QStringLiteral("%1 (%2)").arg(use.map).arg(use.count));
    Caption->setText(m_uses.isEmpty()
                         ? QStringLiteral("No map of tileset %1 uses block %2.").arg(tileset).arg(block)
                         : QStringLiteral("Maps of tileset %1 using block %2:").arg(tileset).arg(block));
    List->setCurrentRow(0);
    show();
    raise();
    activateWindow();
    List->setFocus();
}

void FindUsesWindow::pickRow(int row)
{
    if (row < 0 || row >= m_uses.size())
        return;
    const BlockUse use = m_uses[row];
    // The choosers' own pick: the same question first, the same refusals.
    m_form.pickMap(use.map, true);
    if (m_form.state.core.map.name != use.map)
        return;
    m_form.goToMap->showInChoosers({use.category, use.map});
    m_form.mapPage->selectSame(quint8(m_block));
}
