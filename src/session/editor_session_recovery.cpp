// The recovery file of a ROM file just loaded: the question, and what Yes does.
#include "session/editor_session.h"

#include "model/rom/bps_patch.h"
#include "session/recovery_file.h"
#include "session/recovery_keeper.h"
#include "session/restore_image_command.h"
#include "model/map/tileset_build.h"
#include "model/rom/crc32.h"
#include "base/prompts.h"
#include "base/safe_write.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

void EditorSession::offerRecovery()
{
    const QString path = m_recovery->filePath();
    if (path.isEmpty() || !QFile::exists(path))
        return;
    const QString name = QFileInfo(m_state.core.RomFileName).fileName();
    const std::optional<QByteArray> file = RecoveryFile::read(path);
    const std::optional<RecoveryInfo> info = file ? RecoveryFile::readInfo(*file) : std::nullopt;
    if (!info) {
        const QString aside = m_recovery->setAside();
        m_prompts.error(QStringLiteral("The recovery file of %1 cannot be read; it is kept as %2.")
                            .arg(name, aside.isEmpty() ? path : aside));
        return;
    }
    const QByteArray& onDisk = m_state.core.rom.bytes();
    const bool changedOnDisk = onDisk.size() != info->romSize || crc32Of(onDisk) != info->romCrc;
    QString question = QStringLiteral("Kartola was closed without saving changes to %1 (saved %2).")
                           .arg(name, QLocale().toString(info->saved.toLocalTime(), QLocale::ShortFormat));
    if (changedOnDisk)
        question += QStringLiteral(" %1 has changed on disk since: the restored image will be saved to a file you name.")
                        .arg(name);
    question += QStringLiteral(" Restore them?");
    if (!m_prompts.ask(Prompts::Kind::Confirmation, question)) {
        m_recovery->setAside();
        return;
    }
    if (changedOnDisk) {
        const std::optional<QByteArray> image = replayBpsOnto(onDisk, *file);
        if (image)
            saveRecoveredAs(*image);
        else
            m_prompts.error(QStringLiteral("The changes cannot be put on %1 as it is now; they are kept as %2.")
                                .arg(name, m_recovery->setAside()));
        return;
    }
    const RecoveredImage restored = RecoveryFile::apply(onDisk, *file);
    if (!restored.image) {
        m_prompts.error(QStringLiteral("The recovery file of %1 cannot be restored (%2); it is kept as %3.")
                            .arg(name, restored.error, m_recovery->setAside()));
        return;
    }
    restoreImage(*restored.image, info->mapName);
}

void EditorSession::restoreImage(const QByteArray& image, const QString& mapName)
{
    // The map first, from the image as it is on disk: nothing is unsaved yet,
    // so it asks nothing, and its pick does not clear the restore's entry.
    if (!mapName.isEmpty())
        pickMap(mapName);
    push(new RestoreImageCommand(m_state.core.rom, image, [this] {
        if (m_state.core.map.isMap()) {
            m_state.pictures.clear();
            buildTileset(m_state.core.rom, m_state.core.map, m_state.Pics, m_state.pictures,
                         [this](int value, int maximum) { emit tilesetProgress(value, maximum); });
            QString ignored;
            readWorkingCopies(&ignored);
        }
        emit romBytesChanged();
        emit mapPictureChanged();
        emit encountersChanged();
    }));
    m_recovery->writeNow();
}

void EditorSession::saveRecoveredAs(const QByteArray& image)
{
    Prompts::FileRequest request;
    request.title = QStringLiteral("Save the restored image");
    request.filter = QStringLiteral("GameBoy roms (*.GB),(*.GBC)|*.GB;*.GBC|All files (*.*)|*.*");
    request.defaultSuffix = QFileInfo(m_state.core.RomFileName).suffix();
    request.initialName = QFileInfo(m_state.core.RomFileName).completeBaseName() + QStringLiteral(".recovered.")
                          + request.defaultSuffix;
    const std::optional<QString> path = m_prompts.saveFile(request);
    if (!path) {
        m_recovery->setAside();
        return;
    }
    QString reason;
    if (!writeFileAtomically(*path, image, &reason)) {
        m_prompts.error(QStringLiteral("Cannot create file %1").arg(*path));
        m_recovery->setAside();
        return;
    }
    m_recovery->remove();
    emit statusText(QStringLiteral("Saved %1.").arg(QFileInfo(*path).fileName()));
    // Saved over the ROM file itself: the image shown is that file now.
    if (QFileInfo(*path) == QFileInfo(m_state.core.RomFileName))
        loadRom(*path);
}
