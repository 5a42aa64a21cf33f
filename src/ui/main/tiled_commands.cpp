#include "ui/main/tiled_commands.h"

#include "base/job_runner.h"
#include "base/prompts.h"
#include "model/catalogue/catalogue.h"
#include "session/editor_session.h"
#include "session/test_play.h"
#include "session/tiled_image_change.h"
#include "session/tiled_link.h"
#include "ui/main/menu_item.h"

#include <QAction>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>

TiledCommands::TiledCommands(EditorSession& session, QMenu* file, QAction* before, QMenu* utilities,
                             QWidget* window, std::function<void()> openPreferences)
    : QObject(window), m_session(session), m_window(window), m_openPreferences(std::move(openPreferences))
{
    // A submenu of its own: the E key of the File menu stays Exit's alone.
    auto* menu = new QMenu(QStringLiteral("Tiled"), file);
    menu->setObjectName(QStringLiteral("Tiled1"));
    ExportToTiled1 = addMenuItem(menu, "ExportToTiled1", QStringLiteral("Export to Tiled..."),
                                 QStringLiteral("Write every map into a folder as Tiled maps."), {}, false);
    ImportFromTiled1 = addMenuItem(menu, "ImportFromTiled1", QStringLiteral("Import from Tiled..."),
                                   QStringLiteral("Put a map saved in Tiled back into the image."), {}, false);
    ImportFolderFromTiled1 =
        addMenuItem(menu, "ImportFolderFromTiled1", QStringLiteral("Import Folder from Tiled..."),
                    QStringLiteral("Put every map of a folder saved in Tiled back into the image."), {}, false);
    file->insertMenu(before, menu);
    file->insertSeparator(before);
    EditInTiled1 = addMenuItem(utilities, "EditInTiled1", QStringLiteral("Edit in Tiled"),
                               QStringLiteral("Edit the map shown in Tiled; each save there comes back here."), {},
                               false);
    for (QAction* action : {ExportToTiled1, ImportFromTiled1, ImportFolderFromTiled1, EditInTiled1})
        connect(&session, &EditorSession::romLoaded, action, [action] { action->setEnabled(true); });
    connect(ExportToTiled1, &QAction::triggered, this, &TiledCommands::ExportToTiled1Click);
    connect(ImportFromTiled1, &QAction::triggered, this, &TiledCommands::ImportFromTiled1Click);
    connect(ImportFolderFromTiled1, &QAction::triggered, this, &TiledCommands::ImportFolderFromTiled1Click);
    connect(EditInTiled1, &QAction::triggered, this, &TiledCommands::EditInTiled1Click);
    link = new TiledLink(session, this);
    m_export = new JobRunner(1, 1, this);
}

TiledCommands::~TiledCommands()
{
    delete m_export;
}

void TiledCommands::ExportToTiled1Click()
{
    const QString folder = QFileDialog::getExistingDirectory(m_window, QStringLiteral("Export to Tiled"));
    if (folder.isEmpty() || m_export->isRunning())
        return;
    // Written away from the window, from a copy of the image as Save Rom
    // would write it and the catalogue files as they are now.
    const QByteArray image = m_session.imageAsSaved();
    auto catalogue = std::make_shared<const Catalogue>(m_session.state().core.catalogue.pinned());
    ExportToTiled1->setEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    emit m_session.statusText(QStringLiteral("Writing maps for Tiled..."));
    m_export->add([this, image, catalogue, folder](JobRunner::Job&) -> JobRunner::Handover {
        QStringList lines;
        const SessionOutcome exported = exportEveryMap(*catalogue, image, folder, &lines);
        const auto ended = [this] {
            QGuiApplication::restoreOverrideCursor();
            ExportToTiled1->setEnabled(true);
        };
        return {[this, exported, ended] {
                    ended();
                    emit m_session.statusText(exported.note);
                    if (exported.isRefused())
                        m_session.prompts().error(exported.refusal);
                },
                ended};
    });
}

void TiledCommands::finishRunning()
{
    m_export->finish();
}

void TiledCommands::importFrom(const QString& fileOrFolder)
{
    const SessionOutcome imported = TiledImageChange(m_session).import(fileOrFolder);
    if (imported.isRefused())
        m_session.prompts().error(imported.refusal);
}

void TiledCommands::ImportFromTiled1Click()
{
    const std::optional<QString> file = m_session.prompts().openFile(
        {QStringLiteral("Import from Tiled"), QStringLiteral("Tiled maps (*.tmx)|*.tmx"), QString(), QString()});
    if (file)
        importFrom(*file);
}

void TiledCommands::ImportFolderFromTiled1Click()
{
    const QString folder = QFileDialog::getExistingDirectory(m_window, QStringLiteral("Import Folder from Tiled"));
    if (!folder.isEmpty())
        importFrom(folder);
}

void TiledCommands::EditInTiled1Click()
{
    const QString command = TiledLink::command();
    if (emulatorCall(command, QString()).program.isEmpty()) {
        m_openPreferences();
        return;
    }
    const SessionOutcome started = link->start(command);
    if (started.isRefused())
        m_session.prompts().error(started.refusal);
    else
        emit m_session.statusText(started.note);
}
