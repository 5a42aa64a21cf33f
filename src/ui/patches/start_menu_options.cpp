#include "ui/patches/start_menu_options.h"

#include "session/editor_session.h"
#include "model/patches/start_menu_patch.h"
#include "base/prompts.h"

#include <QAction>
#include <QMenu>

StartMenuOptions::StartMenuOptions(EditorSession& session, QMenu* VisibleMenuOptions1, QObject* parent)
    : QObject(parent), m_session(session)
{
    for (std::size_t i = 0; i < StartMenuEntries.size(); ++i) {
        const StartMenuEntry& entry = StartMenuEntries[i];
        QAction* item = VisibleMenuOptions1 ? VisibleMenuOptions1->addAction(QString::fromLatin1(entry.caption))
                                            : new QAction(QString::fromLatin1(entry.caption), this);
        item->setObjectName(QString::fromLatin1(entry.itemName));
        item->setCheckable(true);
        item->setData(QVariant::fromValue<qlonglong>(entry.offset));
        // Qt flips a checkable item's tick before `triggered`; put the tick
        // back so the handler sees it as it was before the click.
        connect(item, &QAction::triggered, this, [this, item](bool checkedNow) {
            item->setChecked(!checkedNow);
            ALMANAC1Click(item);
        });
        m_items[i] = item;
    }
    ALMANAC1 = m_items[0];
    CRITTER1 = m_items[1];
    PACK1 = m_items[2];
    GADGET1 = m_items[3];
    PLAYER1 = m_items[4];
    SAVE1 = m_items[5];
    OPTION1 = m_items[6];
    EXIT2 = m_items[7];
    OPTION1->setChecked(true);
    connect(&m_session, &EditorSession::romBytesChanged, this, &StartMenuOptions::LoadStartMenuOptions);
}

void StartMenuOptions::LoadStartMenuOptions()
{
    for (std::size_t i = 0; i < StartMenuEntries.size(); ++i) {
        const qint64 offset = StartMenuEntries[i].offset;
        const RomImage& rom = m_session.state().core.rom;
        m_items[i]->setEnabled(startMenuEntryInside(rom, offset));
        m_items[i]->setChecked(startMenuEntryShown(rom, offset));
    }
}

void StartMenuOptions::ALMANAC1Click(QAction* Sender)
{
    if (!Sender)
        return;
    bool known = false;
    const qint64 offset = Sender->data().toLongLong(&known);
    const bool show = !Sender->isChecked();
    if (known) {
        const QString text = (show ? QStringLiteral("Show ") : QStringLiteral("Hide ")) + Sender->text();
        const SessionOutcome set =
            m_session.editRom(text, [offset, show](RomImage& rom) { return setStartMenuEntry(rom, offset, show); });
        if (set.isRefused())
            m_session.prompts().error(set.refusal);
    }
    LoadStartMenuOptions();
}
