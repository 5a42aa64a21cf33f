#pragma once


#include <QObject>

#include <array>

class EditorSession;
class QAction;
class QMenu;

// The submenu "Visible Start Menu Options": eight entries of the game's start
// menu, each a three-byte call at a fixed offset. The ticks are a view of the
// ROM image: they are set from it after each load and after each change.
class StartMenuOptions : public QObject {
    Q_OBJECT
public:
    // Fills `VisibleMenuOptions1` with its eight items; OPTION1 is ticked
    // until the first LoadStartMenuOptions.
    // The ticks follow the session's image: a load, a toggle, an undo.
    StartMenuOptions(EditorSession& session, QMenu* VisibleMenuOptions1, QObject* parent = nullptr);

    // Sets each item's tick from the image. An item whose three bytes are not
    // inside the image is shown unticked and disabled.
    void LoadStartMenuOptions();
    // The click handler of all eight items. The item's tick as it was before
    // the click decides what is written: ticked hides the entry (00 00 00),
    // unticked shows it (CD 67 6C).
    void ALMANAC1Click(QAction* Sender);

    QAction* ALMANAC1 = nullptr;
    QAction* CRITTER1 = nullptr;
    QAction* PACK1 = nullptr;
    QAction* GADGET1 = nullptr;
    QAction* PLAYER1 = nullptr;
    QAction* SAVE1 = nullptr;
    QAction* OPTION1 = nullptr;
    QAction* EXIT2 = nullptr;

    // The eight items in menu order.
    const std::array<QAction*, 8>& items() const { return m_items; }

private:
    EditorSession& m_session;
    std::array<QAction*, 8> m_items{};
};
