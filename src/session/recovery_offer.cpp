#include "session/recovery_offer.h"

#include "session/editor_session.h"
#include "session/recovery_file.h"
#include "session/recovery_keeper.h"
#include "session/whole_image_change.h"
#include "model/rom/bps_patch.h"
#include "model/rom/crc32.h"
#include "base/prompts.h"
#include "base/safe_write.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

void RecoveryOffer::offer()
{
    RecoveryKeeper& keeper = m_session.recovery();
    Prompts& prompts = m_session.prompts();
    const EditorCore& core = m_session.state().core;
    const QString path = keeper.filePath();
    if (path.isEmpty() || !QFile::exists(path))
        return;
    const QString name = QFileInfo(core.RomFileName).fileName();
    const std::optional<QByteArray> file = RecoveryFile::read(path);
    const std::optional<RecoveryInfo> info = file ? RecoveryFile::readInfo(*file) : std::nullopt;
    if (!info) {
        const QString aside = keeper.setAside();
        prompts.error(QStringLiteral("The recovery file of %1 cannot be read; it is kept as %2.")
                      .arg(name, aside.isEmpty() ? path : aside));
        return;
    }
    const QByteArray& onDisk = core.rom.bytes();
    const bool changedOnDisk = onDisk.size() != info->romSize || crc32Of(onDisk) != info->romCrc;
    QString question = QStringLiteral("Kartola was closed without saving changes to %1 (saved %2).")
                           .arg(name, QLocale().toString(info->saved.toLocalTime(), QLocale::ShortFormat));
    if (changedOnDisk)
        question += QStringLiteral(" %1 has changed on disk since: the restored image will be saved to a file you name.")
                        .arg(name);
    question += QStringLiteral(" Restore them?");
    if (!prompts.ask(Prompts::Kind::Confirmation, question)) {
        keeper.setAside();
        return;
    }
    if (changedOnDisk) {
        const std::optional<QByteArray> image = replayBpsOnto(onDisk, *file);
        if (image)
            saveRecoveredAs(*image);
        else
            prompts.error(QStringLiteral("The changes cannot be put on %1 as it is now; they are kept as %2.")
                          .arg(name, keeper.setAside()));
        return;
    }
    const RecoveredImage restored = RecoveryFile::apply(onDisk, *file);
    if (!restored.image) {
        prompts.error(QStringLiteral("The recovery file of %1 cannot be restored (%2); it is kept as %3.")
                      .arg(name, restored.error, keeper.setAside()));
        return;
    }
    restore(*restored.image, info->mapName);
}

void RecoveryOffer::restore(const QByteArray& image, const QString& mapName)
{
    // The map first, from the image as it is on disk: nothing is unsaved yet,
    // so it asks nothing. The replacement then picks it again from the
    // restored image, with every check of a pick.
    if (!mapName.isEmpty())
        m_session.pickMap(mapName);
    m_session.wholeImage().replace(QStringLiteral("Restore Unsaved Changes"), image);
    m_session.recovery().writeNow();
}

void RecoveryOffer::saveRecoveredAs(const QByteArray& image)
{
    RecoveryKeeper& keeper = m_session.recovery();
    Prompts& prompts = m_session.prompts();
    const QString romFile = m_session.state().core.RomFileName;
    Prompts::FileRequest request;
    request.title = QStringLiteral("Save the restored image");
    request.filter = QStringLiteral("GameBoy roms (*.GB),(*.GBC)|*.GB;*.GBC|All files (*.*)|*.*");
    request.defaultSuffix = QFileInfo(romFile).suffix();
    request.initialName = QFileInfo(romFile).completeBaseName() + QStringLiteral(".recovered.")
                          + request.defaultSuffix;
    const std::optional<QString> path = prompts.saveFile(request);
    if (!path) {
        keeper.setAside();
        return;
    }
    QString reason;
    if (!writeFileAtomically(*path, image, &reason)) {
        prompts.error(QStringLiteral("Cannot create file %1").arg(*path));
        keeper.setAside();
        return;
    }
    keeper.remove();
    emit m_session.statusText(QStringLiteral("Saved %1.").arg(QFileInfo(*path).fileName()));
    // Saved over the ROM file itself: the image shown is that file now.
    if (QFileInfo(*path) == QFileInfo(romFile))
        m_session.loadRom(*path);
}
