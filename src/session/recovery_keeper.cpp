#include "session/recovery_keeper.h"

#include "session/editor_session.h"
#include "session/recovery_file.h"
#include "session/recovery_writer.h"
#include "model/rom/cartridge_header.h"
#include "model/rom/crc32.h"
#include "model/rom/rom_image.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
constexpr int WriteDelayMs = 1000;
}

RecoveryKeeper::RecoveryKeeper(EditorSession& session)
    : QObject(&session), m_session(session), m_writer(new RecoveryWriter(this))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(WriteDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::writeNow);
    // Said on this thread, when the writer's word arrives.
    connect(m_writer, &RecoveryWriter::failed, this, [this](const QString& path, const QString& reason) {
        emit m_session.statusText(
            QStringLiteral("Cannot write the recovery copy %1: %2").arg(QDir::toNativeSeparators(path), reason));
    });
}

QString RecoveryKeeper::standardFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .filePath(QStringLiteral("recovery"));
}

void RecoveryKeeper::setFolder(const QString& folder)
{
    m_folder = folder;
}

QString RecoveryKeeper::filePath() const
{
    const QString rom = m_session.state().core.RomFileName;
    if (m_folder.isEmpty() || rom.isEmpty())
        return {};
    return QDir(m_folder).filePath(RecoveryFile::fileNameFor(rom, m_session.recoveryOwner()));
}

void RecoveryKeeper::setOnDisk(const QByteArray& bytes)
{
    m_onDisk = bytes;
    m_onDiskCrc = crc32Of(bytes);
}

void RecoveryKeeper::changed()
{
    // Restarted only when not pending: a stream of changes writes once a second.
    if (!m_folder.isEmpty() && !m_timer.isActive())
        m_timer.start();
}

void RecoveryKeeper::writeNow()
{
    m_timer.stop();
    const QString path = filePath();
    if (path.isEmpty())
        return;
    const bool imageUnsaved = m_session.isModified();
    const EditorCore& core = m_session.state().core;
    if (!imageUnsaved && !core.map.isMap()) {
        remove();
        return;
    }
    RecoveryInfo info;
    info.romPath = QFileInfo(core.RomFileName).absoluteFilePath();
    info.romSize = m_onDisk.size();
    info.romCrc = m_onDiskCrc;
    info.catalogueFolder = core.catalogue.programDir;
    info.mapName = core.map.isMap() ? core.map.name : QString();
    info.saved = QDateTime::currentDateTimeUtc();
    // Here the image is only shared and the working copies copied (a few
    // kilobytes); the writer's thread writes them into an image of its own,
    // as imageAsSaved() does, and makes the patch.
    RecoveryWriter::Snapshot snapshot{path, m_onDisk, core.rom.bytes(), info, {}};
    snapshot.complete = [copies = m_session.workingCopies(), fixChecksums = m_session.fixChecksumsOnSave(),
                         imageUnsaved](QByteArray& image) {
        RomImage rom;
        if (imageUnsaved) {
            // Copied at once and let go: the window's image is shared no longer.
            rom.setBytes(QByteArray(image.constData(), image.size()));
            image = QByteArray();
        } else {
            rom.setBytes(image);
        }
        copies.writeInto(rom);
        // Nothing unsaved when the image is the file's and the working copies change nothing in it.
        if (!imageUnsaved && rom.bytes() == image)
            return false;
        image = rom.bytes();
        rom.clear();
        if (fixChecksums)
            CartridgeHeader::setChecksums(image);
        return true;
    };
    m_writer->write(std::move(snapshot));
}

void RecoveryKeeper::remove()
{
    m_timer.stop();
    const QString path = filePath();
    if (!path.isEmpty())
        m_writer->remove(path);
}

void RecoveryKeeper::settle()
{
    m_writer->settle();
}

QString RecoveryKeeper::setAside()
{
    m_timer.stop();
    m_writer->settle();
    const QString path = filePath();
    if (path.isEmpty() || !QFile::exists(path))
        return {};
    // An older file kept aside is not replaced.
    const QString name = QFileInfo(m_session.state().core.RomFileName).fileName();
    const QDir folder(m_folder);
    QString aside = folder.filePath(name + QStringLiteral(".recovered.bps"));
    for (int n = 2; QFile::exists(aside); ++n)
        aside = folder.filePath(QStringLiteral("%1.recovered-%2.bps").arg(name).arg(n));
    return QFile::rename(path, aside) ? aside : QString();
}
