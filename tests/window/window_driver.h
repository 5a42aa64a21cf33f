#pragma once

// The editor as the program starts it, on a real X display, driven the way a
// user drives it: mouse and keys go to the window the X server shows under the
// pointer or gives the keyboard to, and every check reads what is on screen.
// Widgets are looked up by name only to know where to point and what to read.
#include "session/user_settings.h"
#include "ui/main/editor_start.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <deque>
#include <functional>

class QComboBox;
class QMenu;
class QWindow;
class QWidget;

class WindowDriver : public QObject {
public:
    // Starts the editor on `rom` with `programDir` as the catalogue folder of a
    // plain start, private user settings and recovery folder, the real dialogs.
    WindowDriver(const QString& programDir, const QString& rom);
    ~WindowDriver();

    TMainForm& form() const { return *m_editor.form; }
    EditorState& state() const { return *m_editor.state; }
    bool started() const { return m_started; }

    // --- input ---
    // A click of `button` at `at` in `widget` (its centre by default); false
    // when that point of the widget cannot be seen, so cannot be clicked.
    bool click(QWidget* widget, QPoint at = QPoint(-1, -1), Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = {});
    // Press at `from`, move in steps to `to`, release there.
    bool drag(QWidget* widget, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton,
              Qt::KeyboardModifiers modifiers = {});
    bool hover(QWidget* widget, QPoint at);
    // A key to the window that has the keyboard; false when none has.
    bool key(int key, Qt::KeyboardModifiers modifiers = {});
    bool type(const QString& text);

    // --- the editor's steps ---
    // `entry` chosen from the list the box opens, with the mouse.
    bool choose(QComboBox* box, const QString& entry);
    // Category, then map, chosen from the choosers' lists.
    bool pick(const QString& category, const QString& map);
    bool clickTab(const QString& caption);
    // Opens the menu bar's `title` with the mouse; the menu shown, or null.
    QMenu* openMenu(const QString& title);
    // Clicks the item of `path` ("File", "Apply Patch...") with the mouse,
    // pointing at each submenu on the way.
    bool chooseMenu(const QStringList& path);
    // The same from the open menu `menu` on.
    bool chooseItem(QMenu* menu, const QStringList& path);
    // The centre of cell (column, row) in the map view, and a click there.
    QPoint cell(int column, int row) const;
    bool clickCell(int column, int row, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {});
    // A click on block `block`'s row of the palette.
    bool clickPalette(int block, Qt::MouseButton button = Qt::LeftButton);

    // --- dialogs ---
    // `handler` runs, from inside the dialog's own event loop, once the next
    // modal window that has the keyboard appears. Handlers run in order.
    void onDialog(std::function<void(QWidget* dialog)> handler);
    // The same for the next popup menu, opened where a click asked for one.
    void onPopup(std::function<void(QWidget* menu)> handler);
    // Waits until every handler has run; false on time-out or when a check
    // inside a handler failed.
    bool dialogsHandled(int timeoutMs = 10000);
    // Clicks the button captioned `caption` (mnemonic ignored) in `dialog`.
    bool clickButton(QWidget* dialog, const QString& caption);

    // --- what the user sees ---
    static QString focusName();              // the widget with the keyboard
    static QString activeName();             // the active window's class/object name
    QString title() const;                   // the title bar's text, "*" for unsaved
    QString status() const;
    QString toolChecked() const;             // the checked item of the Tools menu
    int cellByte(int column, int row) const; // the map shown's working copy

    // The clipboard's text.
    static QString clipboardText();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWindow* windowAt(QPoint global) const;
    bool visibleAt(QWidget* widget, QPoint at) const;
    void serveDialogs();
    // The window the first handler waits for, once it is there.
    QWidget* nextWindow();

    QTemporaryDir m_home;
    std::unique_ptr<UserSettings> m_settings;
    StartedEditor m_editor;
    bool m_started = false;
    QTimer m_dialogWatch;
    struct Handler {
        bool popup;
        std::function<void(QWidget*)> run;
    };
    std::deque<Handler> m_handlers;
    QPointer<QWidget> m_lastPopup;
    std::deque<QPointer<QWidget>> m_shownDialogs;   // modal windows in the order they showed
    bool m_serving = false;
};
