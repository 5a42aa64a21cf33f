#include "ui/main/tools_menu.h"

#include "ui/main/menu_bar_order.h"
#include "ui/main/menu_item.h"
#include "ui/map/map_view.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>


ToolsMenu::ToolsMenu(QMenuBar* bar, QAction* after, QMenu* edit, QWidget* window, MapPage& page, QObject* parent)
    : QObject(parent), m_page(page)
{
    Tools1 = new QMenu(QStringLiteral("Tools"), bar);
    Tools1->setObjectName(QStringLiteral("Tools1"));
    insertMenuAfter(bar, after, Tools1);

    struct Item {
        QAction** action;
        const char* name;
        const char* caption;
        const char* hint;
        Qt::Key key;
    };
    const Item items[] = {
        {&StampTool1, "StampTool1", "Stamp", "Paints the selected block or the stamp taken.", Qt::Key_B},
        {&SelectTool1, "SelectTool1", "Rectangle Select", "Selects a rectangle of blocks.", Qt::Key_R},
        {&FillTool1, "FillTool1", "Bucket Fill", "Fills the connected blocks of one kind.", Qt::Key_F},
        {&RectFillTool1, "RectFillTool1", "Rectangle Fill", "Fills a rectangle of blocks.", Qt::Key_P},
        {&SelectSameTool1, "SelectSameTool1", "Select Same", "Selects every cell of the clicked block.", Qt::Key_S},
        {&MagicWandTool1, "MagicWandTool1", "Magic Wand", "Selects the connected cells of the clicked block.",
         Qt::Key_W},
        {&FlipHorizontally1, "FlipHorizontally1", "Flip Stamp Horizontally", "Mirrors the stamp taken left to right.",
         Qt::Key_X},
        {&FlipVertically1, "FlipVertically1", "Flip Stamp Vertically", "Mirrors the stamp taken top to bottom.",
         Qt::Key_Y},
    };
    for (const Item& item : items) {
        // The stamp's flips stand apart from the tools.
        if (item.action == &FlipHorizontally1)
            Tools1->addSeparator();
        *item.action = addMenuItem(Tools1, item.name, QString::fromLatin1(item.caption), QString::fromLatin1(item.hint),
                               item.key);
        onMapViewOnly(*item.action);
    }
    m_tools = {StampTool1, SelectTool1, FillTool1, RectFillTool1, SelectSameTool1, MagicWandTool1};
    auto* group = new QActionGroup(this);
    const std::array<MapPage::Tool, 6> tools = {MapPage::Tool::Stamp,    MapPage::Tool::Select,
                                                MapPage::Tool::Fill,     MapPage::Tool::RectFill,
                                                MapPage::Tool::SelectSame, MapPage::Tool::MagicWand};
    for (size_t i = 0; i < m_tools.size(); ++i) {
        m_tools[i]->setCheckable(true);
        group->addAction(m_tools[i]);
        const MapPage::Tool tool = tools[i];
        connect(m_tools[i], &QAction::triggered, this, [this, tool] { m_page.setTool(tool); });
    }

    edit->addSeparator();
    Cut1 = addMenuItem(edit, "Cut1", QStringLiteral("Cut"), QStringLiteral("Copies the selection and clears it."),
                   QKeySequence::Cut);
    Copy1 = addMenuItem(edit, "Copy1", QStringLiteral("Copy"), QStringLiteral("Copies the selected blocks."),
                    QKeySequence::Copy);
    Paste1 = addMenuItem(edit, "Paste1", QStringLiteral("Paste"), QStringLiteral("Makes the copied blocks the stamp."),
                     QKeySequence::Paste);
    PasteInPlace1 = addMenuItem(edit, "PasteInPlace1", QStringLiteral("Paste in Place"),
                            QStringLiteral("Puts the copied blocks back where they were copied from."),
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    Delete1 = addMenuItem(edit, "Delete1", QStringLiteral("Delete"),
                      QStringLiteral("Fills the selection with the selected block."), QKeySequence::Delete);
    edit->addSeparator();
    SelectAll1 = addMenuItem(edit, "SelectAll1", QStringLiteral("Select All"), QStringLiteral("Selects the whole map."),
                         QKeySequence::SelectAll);
    SelectNone1 = addMenuItem(edit, "SelectNone1", QStringLiteral("Select None"), QStringLiteral("Drops the selection."),
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    Drop1 = new QAction(QStringLiteral("Drop Selection and Stamp"), window);
    Drop1->setObjectName(QStringLiteral("Drop1"));
    Drop1->setShortcut(Qt::Key_Escape);
    window->addAction(Drop1);

    onPage(Cut1, &MapPage::cut);
    onPage(Copy1, &MapPage::copy);
    onPage(Paste1, &MapPage::paste);
    onPage(PasteInPlace1, &MapPage::pasteInPlace);
    onPage(FlipHorizontally1, &MapPage::flipStampHorizontally);
    onPage(FlipVertically1, &MapPage::flipStampVertically);
    onPage(Delete1, &MapPage::deleteSelection);
    onPage(SelectAll1, &MapPage::selectAll);
    onPage(SelectNone1, &MapPage::selectNone);
    onPage(Drop1, &MapPage::dropSelectionAndStamp);

    connect(&page, &MapPage::toolChanged, this, &ToolsMenu::showTool);
    showTool(page.tool());
}

void ToolsMenu::onPage(QAction* action, void (MapPage::*command)())
{
    connect(action, &QAction::triggered, this, [this, command] {
        if (m_page.isVisible())
            (m_page.*command)();
    });
}

void ToolsMenu::onMapViewOnly(QAction* action)
{
    action->setShortcutContext(Qt::WidgetShortcut);
    m_page.MapBox->addAction(action);
}

void ToolsMenu::showTool(MapPage::Tool tool)
{
    m_tools[size_t(tool)]->setChecked(true);
}
