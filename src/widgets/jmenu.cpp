#include "widgets/jmenu.h"

#include "widgets/jmenu_keys.h"
#include "widgets/jmenu_style.h"

#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace {

// A plain letter, digit or sign: what a menu takes as an item's letter.
bool isMenuLetter(const QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return text.size() == 1 && text[0].isPrint() && !text[0].isSpace();
}

} // namespace

// Shortcuts are looked up before the open menu sees its key, and a
// single-letter shortcut of the widget that keeps the keyboard meanwhile
// would take it. While one of the menus is open, or the bar has the keyboard,
// the letters are claimed for them.
class TJMenuLetterGuard : public QObject {
public:
    explicit TJMenuLetterGuard(TJMenu& menu) : QObject(&menu), m_menu(menu) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride && m_menu.hasKeyboard()
            && isMenuLetter(static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TJMenu& m_menu;
};

TJMenu::TJMenu(QMenuBar* menuBar, QObject* parent)
    : QObject(parent), m_menuBar(menuBar), m_painter(std::make_unique<TJMenuPainter>(*this))
{
}

bool TJMenu::hasKeyboard() const
{
    if (!m_ownerDrawn)
        return false;
    if (auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
        return isAttached(open);
    return m_menuBar && m_menuBar->hasFocus();
}

TJMenu::~TJMenu()
{
    detachAll();
}

void TJMenu::setStyle(TJMenuStyle style)
{
    m_style = style;
    updateOwnerDraw();
}

void TJMenu::setShowCheckMarks(bool show)
{
    if (show == m_showCheckMarks)
        return;
    m_showCheckMarks = show;
    relayout();
}

void TJMenu::setMinTextOffset(int offset)
{
    offset = qMax(0, offset);
    if (offset == m_minTextOffset)
        return;
    m_minTextOffset = offset;
    relayout();
}

void TJMenu::setImages(const QList<QIcon>& images)
{
    m_images = images;
    updateOwnerDraw();
}

TJMenuButtonStyle TJMenu::buttonStyle() const
{
    switch (m_style) {
    case msBtnLowered:
        return TJMenuButtonStyle::Lowered;
    case msBtnRaised:
        return TJMenuButtonStyle::Raised;
    case msStandard:
    case msOwnerDraw:
        break;
    }
    return TJMenuButtonStyle::None;
}

TJMenuMetrics TJMenu::metricsFor(const QWidget* widget) const
{
    return m_painter->metricsFor(widget);
}

void TJMenu::updateOwnerDraw()
{
    const bool wanted = m_menuBar && (m_style != msStandard || !m_images.isEmpty());
    if (wanted == m_ownerDrawn) {
        relayout();
        return;
    }
    m_ownerDrawn = wanted;
    if (wanted)
        attachAll();
    else
        detachAll();
}

void TJMenu::attachAll()
{
    // A menu bar that the platform shows outside the window cannot be drawn
    // here; it goes back into the window while this menu draws it.
    m_barWasNative = m_menuBar->isNativeMenuBar();
    if (m_barWasNative)
        m_menuBar->setNativeMenuBar(false);
    attach(m_menuBar);
    adoptSubmenus(m_menuBar);
    if (!m_letterGuard) {
        m_letterGuard = new TJMenuLetterGuard(*this);
        qApp->installEventFilter(m_letterGuard);
    }
}

void TJMenu::detachAll()
{
    delete std::exchange(m_letterGuard, nullptr);
    const QList<Attached> attached = std::exchange(m_attached, {});
    for (const Attached& entry : attached) {
        if (!entry.widget)
            continue;
        entry.widget->removeEventFilter(this);
        entry.widget->setStyle(entry.previousStyle.data());
    }
    if (m_barWasNative && m_menuBar)
        m_menuBar->setNativeMenuBar(true);
    m_barWasNative = false;
}

void TJMenu::attach(QWidget* widget)
{
    QStyle* previous = widget->style();
    m_attached.append({widget, previous == QApplication::style() ? nullptr : previous});
    widget->setStyle(m_painter.get());
    widget->installEventFilter(this);
}

void TJMenu::adoptMenu(QMenu* menu)
{
    if (!menu || isAttached(menu))
        return;
    attach(menu);
    adoptSubmenus(menu);
}

void TJMenu::adoptSubmenus(QWidget* widget)
{
    const auto actions = widget->actions();
    for (QAction* action : actions)
        adoptMenu(action->menu());
}

bool TJMenu::isAttached(const QWidget* widget) const
{
    for (const Attached& entry : m_attached)
        if (entry.widget == widget)
            return true;
    return false;
}

void TJMenu::relayout()
{
    if (!m_ownerDrawn)
        return;
    // Measures changed: let every menu lay its items out again.
    for (const Attached& entry : m_attached) {
        if (!entry.widget)
            continue;
        QEvent change(QEvent::StyleChange);
        QCoreApplication::sendEvent(entry.widget, &change);
        entry.widget->update();
    }
}

bool TJMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_ownerDrawn)
        return false;
    switch (event->type()) {
    case QEvent::ActionAdded:
    case QEvent::ActionChanged:
        // Menus added to the bar or to a menu later, or given to an item later.
        if (QAction* action = static_cast<QActionEvent*>(event)->action())
            adoptMenu(action->menu());
        break;
    case QEvent::Show:
        if (auto* widget = qobject_cast<QWidget*>(watched))
            adoptSubmenus(widget);
        break;
    case QEvent::KeyPress:
        if (auto* menu = qobject_cast<QMenu*>(watched))
            return menuCharacter(menu, static_cast<QKeyEvent*>(event));
        break;
    default:
        break;
    }
    return false;
}

bool TJMenu::menuCharacter(QMenu* menu, QKeyEvent* event)
{
    if (!isMenuLetter(event))
        return false;
    const QString text = event->text();

    QList<QAction*> actions;
    QList<TJMenuKeyItem> items;
    const auto all = menu->actions();
    for (QAction* action : all) {
        if (!action->isVisible() || action->isSeparator())
            continue;
        actions.append(action);
        items.append({action->text(), action->isEnabled()});
    }
    const TJMenuKeyAnswer answer =
        jmenuMenuCharacter(text[0], items, int(actions.indexOf(menu->activeAction())));
    switch (answer.kind) {
    case TJMenuKeyAnswer::Ignore:
        return false;
    case TJMenuKeyAnswer::Execute: {
        // Highlight the item and let the menu carry it out as on Return: it
        // closes the menus and triggers the item, or opens its submenu.
        menu->setActiveAction(actions[answer.index]);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(menu, &enter);
        return true;
    }
    case TJMenuKeyAnswer::Select:
        menu->setActiveAction(actions[answer.index]);
        return true;
    case TJMenuKeyAnswer::Close: {
        // Leave the menu altogether: the open menu and those it was opened from.
        const QPointer<QMenu> pressed(menu);
        for (int guard = 0; guard < 64; ++guard) {
            auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!open || !isAttached(open))
                break;
            open->close();
        }
        if (pressed && pressed->isVisible())
            pressed->close();
        return true;
    }
    }
    return false;
}
