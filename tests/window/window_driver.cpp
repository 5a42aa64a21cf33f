#include "window/window_driver.h"

#include "ui/main/main_form.h"
#include "ui/main/tools_menu.h"
#include "ui/map/map_page.h"
#include "ui/map/map_view.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

namespace {

QString nameOf(const QObject* object)
{
    if (!object)
        return QStringLiteral("(none)");
    return object->objectName().isEmpty() ? QString::fromLatin1(object->metaObject()->className()) : object->objectName();
}

QString plain(QString caption) { return caption.remove(QLatin1Char('&')); }

QAction* actionCaptioned(const QWidget* owner, const QString& caption)
{
    for (QAction* action : owner->actions())
        if (plain(action->text()) == caption)
            return action;
    return nullptr;
}

bool shown(QWidget* window)
{
    return QTest::qWaitFor([window] { return window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed(); });
}

// Closes what a failed step left open, so the test can end.
void closeModalWindows()
{
    for (int guard = 0; guard < 8; ++guard) {
        QWidget* open = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::activeModalWidget();
        if (!open)
            return;
        if (auto* dialog = qobject_cast<QDialog*>(open))
            dialog->reject();
        else
            open->close();
        QCoreApplication::processEvents();
    }
}

} // namespace

WindowDriver::WindowDriver(const QString& programDir, const QString& rom)
{
    const QString recovery = m_home.filePath(QStringLiteral("recovery"));
    QDir().mkpath(recovery);
    m_settings = std::make_unique<UserSettings>(m_home.filePath(QStringLiteral("Kartola.ini")));
    m_editor = startEditor({rom, QString(), programDir, recovery}, *m_settings);
    m_started = QTest::qWaitForWindowActive(m_editor.form.get()) && m_editor.state->core.romLoaded();
    qApp->installEventFilter(this);
    m_dialogWatch.setInterval(10);
    connect(&m_dialogWatch, &QTimer::timeout, this, &WindowDriver::serveDialogs);
    m_dialogWatch.start();
}

WindowDriver::~WindowDriver()
{
    m_dialogWatch.stop();
    qApp->removeEventFilter(this);
    closeModalWindows();
}

bool WindowDriver::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->isWindow() && widget->isModal())
            m_shownDialogs.push_back(widget);
    }
    return false;
}

// --- input ---

QWindow* WindowDriver::windowAt(QPoint global) const
{
    // An open popup holds the pointer, as the X server's grab does.
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup->windowHandle();
    return QGuiApplication::topLevelAt(global);
}

bool WindowDriver::visibleAt(QWidget* widget, QPoint at) const
{
    return widget && widget->isVisible() && widget->visibleRegion().contains(at);
}

bool WindowDriver::click(QWidget* widget, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    if (widget && at == QPoint(-1, -1))
        at = widget->rect().center();
    if (!visibleAt(widget, at))
        return false;
    const QPoint global = widget->mapToGlobal(at);
    QWindow* window = windowAt(global);
    if (!window)
        return false;
    QTest::mouseMove(window, window->mapFromGlobal(global));
    QTest::mouseClick(window, button, modifiers, window->mapFromGlobal(global));
    return true;
}

bool WindowDriver::drag(QWidget* widget, QPoint from, QPoint to, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    if (!visibleAt(widget, from) || !visibleAt(widget, to))
        return false;
    QWindow* window = windowAt(widget->mapToGlobal(from));
    if (!window)
        return false;
    const auto local = [&](QPoint at) { return window->mapFromGlobal(widget->mapToGlobal(at)); };
    QTest::mouseMove(window, local(from));
    QTest::mousePress(window, button, modifiers, local(from));
    constexpr int Steps = 4;
    for (int i = 1; i <= Steps; ++i)
        QTest::mouseMove(window, local(from + (to - from) * i / Steps));
    QTest::mouseRelease(window, button, modifiers, local(to));
    return true;
}

bool WindowDriver::hover(QWidget* widget, QPoint at)
{
    if (!visibleAt(widget, at))
        return false;
    const QPoint global = widget->mapToGlobal(at);
    QWindow* window = windowAt(global);
    if (!window)
        return false;
    QTest::mouseMove(window, window->mapFromGlobal(global));
    return true;
}

bool WindowDriver::key(int key, Qt::KeyboardModifiers modifiers)
{
    QWindow* window = QGuiApplication::focusWindow();
    if (!window)
        return false;
    QTest::keyClick(window, Qt::Key(key), modifiers);
    return true;
}

bool WindowDriver::type(const QString& text)
{
    QWindow* window = QGuiApplication::focusWindow();
    if (!window)
        return false;
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
    return true;
}

// --- the editor's steps ---

bool WindowDriver::choose(QComboBox* box, const QString& entry)
{
    const int row = box->findText(entry);
    // The list opens from the arrow at the box's right end.
    if (row < 0 || !click(box, QPoint(box->width() - 6, box->height() / 2)))
        return false;
    QAbstractItemView* list = box->view();
    if (!shown(list->window()))
        return false;
    const QModelIndex index = list->model()->index(row, box->modelColumn());
    return click(list->viewport(), list->visualRect(index).center()) && QTest::qWaitFor([list] { return !list->isVisible(); });
}

bool WindowDriver::pick(const QString& category, const QString& map)
{
    return choose(form().MainBox, category) && choose(form().SubBox, map)
           && QTest::qWaitFor([&] { return state().core.map.name == map; });
}

bool WindowDriver::clickTab(const QString& caption)
{
    QTabBar* bar = form().TabbedNotebook1->tabBar();
    for (int i = 0; i < bar->count(); ++i)
        if (plain(bar->tabText(i)) == caption)
            return click(bar, bar->tabRect(i).center()) && form().TabbedNotebook1->currentIndex() == i;
    return false;
}

QMenu* WindowDriver::openMenu(const QString& title)
{
    QMenuBar* bar = form().menuBar();
    QAction* item = actionCaptioned(bar, title);
    if (!item || !item->menu() || !click(bar, bar->actionGeometry(item).center()))
        return nullptr;
    return shown(item->menu()) ? item->menu() : nullptr;
}

bool WindowDriver::chooseMenu(const QStringList& path)
{
    QMenu* menu = openMenu(path.value(0));
    return menu && chooseItem(menu, path.mid(1));
}

bool WindowDriver::chooseItem(QMenu* menu, const QStringList& path)
{
    for (qsizetype i = 0; menu && i < path.size(); ++i) {
        QAction* item = actionCaptioned(menu, path[i]);
        if (!item || !item->isEnabled())
            return false;
        const QPoint at = menu->actionGeometry(item).center();
        if (i + 1 == path.size())
            return click(menu, at);
        // A submenu opens where the pointer rests.
        if (!hover(menu, at) || !item->menu() || !shown(item->menu()))
            return false;
        menu = item->menu();
    }
    return false;
}

QPoint WindowDriver::cell(int column, int row) const
{
    const int side = state().core.map.MapWidth > 0 ? form().mapPage->MapBox->width() / state().core.map.MapWidth : 0;
    return QPoint(column * side + side / 2, row * side + side / 2);
}

bool WindowDriver::clickCell(int column, int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    return click(form().mapPage->MapBox, cell(column, row), button, modifiers);
}

bool WindowDriver::clickPalette(int block, Qt::MouseButton button)
{
    QWidget* palette = form().mapPage->BlockPalette;
    const int side = palette->width();   // square blocks, one a row
    return click(palette, QPoint(side / 2, (block - 1) * side + side / 2), button);
}

// --- dialogs ---

void WindowDriver::onDialog(std::function<void(QWidget*)> handler)
{
    m_handlers.push_back({false, std::move(handler)});
}

void WindowDriver::onPopup(std::function<void(QWidget*)> handler)
{
    m_handlers.push_back({true, std::move(handler)});
}

QWidget* WindowDriver::nextWindow()
{
    if (m_handlers.front().popup) {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup || popup == m_lastPopup || !popup->windowHandle() || !popup->windowHandle()->isExposed())
            return nullptr;
        m_lastPopup = popup;
        return popup;
    }
    while (!m_shownDialogs.empty() && (!m_shownDialogs.front() || !m_shownDialogs.front()->isVisible()))
        m_shownDialogs.pop_front();
    // Seen, but not served before it has the keyboard.
    if (m_shownDialogs.empty() || !m_shownDialogs.front()->isActiveWindow())
        return nullptr;
    QWidget* dialog = m_shownDialogs.front();
    m_shownDialogs.pop_front();
    return dialog;
}

void WindowDriver::serveDialogs()
{
    if (m_serving || m_handlers.empty())
        return;
    QWidget* window = nextWindow();
    if (!window)
        return;
    m_serving = true;
    const Handler handler = std::move(m_handlers.front());
    m_handlers.pop_front();
    handler.run(window);
    if (QTest::currentTestFailed()) {
        // A failed check inside a dialog: leave it, and the ones after it.
        m_handlers.clear();
        closeModalWindows();
    }
    m_serving = false;
}

bool WindowDriver::dialogsHandled(int timeoutMs)
{
    if (QTest::qWaitFor([this] { return m_handlers.empty() && !m_serving; }, timeoutMs))
        return !QTest::currentTestFailed();   // a check inside a dialog failed
    m_handlers.clear();
    closeModalWindows();
    return false;
}

bool WindowDriver::clickButton(QWidget* dialog, const QString& caption)
{
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (plain(button->text()) == caption)
            return click(button);
    return false;
}

// --- what the user sees ---

QString WindowDriver::focusName() { return nameOf(QApplication::focusWidget()); }

QString WindowDriver::activeName() { return nameOf(QApplication::activeWindow()); }

QString WindowDriver::title() const
{
    QString text = form().windowTitle();
    return text.replace(QStringLiteral("[*]"), form().isWindowModified() ? QStringLiteral("*") : QString());
}

QString WindowDriver::status() const { return form().statusText(); }

QString WindowDriver::toolChecked() const
{
    for (QAction* tool : form().toolsMenu->Tools1->actions())
        if (tool->isChecked())
            return tool->text();
    return QString();
}

int WindowDriver::cellByte(int column, int row) const
{
    const size_t at = size_t(row) * size_t(state().core.map.MapWidth) + size_t(column);
    return at < state().map.MapBytes.size() ? int(state().map.MapBytes[at]) : -1;
}

QString WindowDriver::clipboardText() { return QGuiApplication::clipboard()->text(); }
