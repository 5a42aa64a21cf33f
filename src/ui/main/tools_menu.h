#pragma once

#include "ui/map/map_page.h"

#include <QObject>
#include <array>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The "Tools" menu (Stamp, Rectangle Select, Bucket Fill, Rectangle Fill,
// one checked; the stamp's flips) and, at the end of the Edit menu, the clipboard and
// selection commands of the map page.
class ToolsMenu : public QObject {
    Q_OBJECT
public:
    // Adds the Tools menu to `bar` after `after` and the commands to `edit`;
    // Escape works anywhere in `window`.
    ToolsMenu(QMenuBar* bar, QAction* after, QMenu* edit, QWidget* window, MapPage& page, QObject* parent = nullptr);

    QMenu* Tools1 = nullptr;
    QAction* StampTool1 = nullptr;
    QAction* SelectTool1 = nullptr;
    QAction* FillTool1 = nullptr;
    QAction* RectFillTool1 = nullptr;
    QAction* SelectSameTool1 = nullptr;
    QAction* MagicWandTool1 = nullptr;
    QAction* FlipHorizontally1 = nullptr;
    QAction* FlipVertically1 = nullptr;
    QAction* Cut1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* PasteInPlace1 = nullptr;
    QAction* Delete1 = nullptr;
    QAction* SelectAll1 = nullptr;
    QAction* SelectNone1 = nullptr;
    QAction* Drop1 = nullptr;   // Escape, in no menu

private:
    void showTool(MapPage::Tool tool);
    // The commands act on the map page only while it is shown.
    void onPage(QAction* action, void (MapPage::*command)());
    // A single-letter key acts only while the map view has the keyboard, so
    // that the letter still reaches a text field or a chooser.
    void onMapViewOnly(QAction* action);

    MapPage& m_page;
    std::array<QAction*, 6> m_tools{};
};
