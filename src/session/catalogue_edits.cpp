#include "session/catalogue_edits.h"

#include "base/prompts.h"
#include "session/catalogue_folder.h"
#include "session/editor_session.h"

#include <QDir>

CatalogueEdits::CatalogueEdits(EditorSession& session, QObject* parent) : QObject(parent), m_session(session) {}

SessionOutcome CatalogueEdits::apply(const QString& text, const std::function<CatalogueWrite()>& write,
                                     const QString& pickAfter)
{
    if (m_session.state().core.rom.size() == 0)
        return SessionOutcome::refused(QStringLiteral("You haven't loaded rom! Please load rom first."));
    const SessionOutcome writable = ensureWritable();
    if (!writable.isDone())
        return writable;
    const std::optional<bool> keep = m_session.wholeImage().askKeepWorkingCopies();
    if (!keep)
        return SessionOutcome::declined();
    if (*keep) {
        m_session.writeWorkingCopies();
        m_session.wholeImage().writtenOutsideHistory();
    }
    const CatalogueWrite written = write();
    if (!written.ok()) {
        if (!*keep)
            m_session.wholeImage().pickAgain(); // the working copies the answer dropped
        return SessionOutcome::refused(written.refusal);
    }
    // The entry goes on the history of the map shown afterwards.
    m_session.wholeImage().pickAgain();
    if (!pickAfter.isEmpty() && pickAfter != m_session.state().core.map.name)
        m_session.pickMap(pickAfter, true);
    auto changed = [this] {
        m_session.wholeImage().pickAgain();
        emit catalogueChanged();
    };
    auto failed = [this](const QString& error) { m_session.prompts().error(error); };
    m_session.undoStack().push(new CatalogueChangeCommand(text, written.change, changed, failed));
    return SessionOutcome::done();
}

SessionOutcome CatalogueEdits::ensureWritable()
{
    const QString folder = m_session.state().core.catalogue.programDir;
    if (CatalogueFolder::isWritable(folder))
        return SessionOutcome::done();
    const QString copy = CatalogueFolder::ownCopyPath(CatalogueFolder::romKey(m_session.state().core.rom.bytes()));
    const Prompts::Answer answer = m_session.prompts().message(
        Prompts::Kind::Confirmation,
        QStringLiteral("The catalogue folder %1 cannot be written. Copy it to %2 and make the change there?")
            .arg(QDir::toNativeSeparators(folder), QDir::toNativeSeparators(copy)),
        Prompts::Buttons::YesNo);
    if (answer != Prompts::Answer::Yes)
        return SessionOutcome::declined();
    QString error;
    if (!CatalogueFolder::copyFolder(folder, copy, &error))
        return SessionOutcome::refused(error);
    const SessionOutcome switched = CatalogueFolder::switchTo(m_session, copy);
    if (switched.isDone())
        emit folderCopied(copy);
    return switched;
}
