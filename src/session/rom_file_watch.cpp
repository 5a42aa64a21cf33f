#include "session/rom_file_watch.h"

#include "base/prompts.h"

#include <QFileInfo>

void RomFileWatch::hold(const QString& folder, const QString& romPath)
{
    qint64 holder = 0;
    if (m_lock.take(folder, romPath, &holder))
        return;
    const QString name = QFileInfo(romPath).fileName();
    // A lock that names no process: its holder is not known.
    m_prompts.message(Prompts::Kind::Warning,
                      holder > 0 ? QStringLiteral("%1 is open in another Kartola (process %2): saving in both loses "
                                                  "the changes of one of them.")
                                       .arg(name)
                                       .arg(holder)
                                 : QStringLiteral("%1 may be open in another Kartola: saving in both loses the "
                                                  "changes of one of them.")
                                       .arg(name));
}

void RomFileWatch::fileIs(const QString& path, const QByteArray& bytes)
{
    m_stamp = RomFileStamp::of(path, bytes);
    m_noticed = RomFileStamp::quickLook(path);
}

bool RomFileWatch::changeNoticed(const QString& path)
{
    const QString look = RomFileStamp::quickLook(path);
    if (look == m_noticed)
        return false;
    m_noticed = look;
    return m_stamp.changedOn(path);
}

std::optional<QString> RomFileWatch::saveTarget(const QString& path)
{
    if (!m_stamp.changedOn(path))
        return path;
    const Prompts::Answer answer = m_prompts.message(
        Prompts::Kind::Warning,
        QStringLiteral("%1 has been changed on disk by another program since it was loaded or saved. "
                       "Overwrite it, save the image to another file, or cancel?")
            .arg(QFileInfo(path).fileName()),
        Prompts::Buttons::OverwriteSaveAsCancel);
    // The user has been told of this change: coming back to the window does
    // not offer to load the file again for it.
    m_noticed = RomFileStamp::quickLook(path);
    if (answer == Prompts::Answer::Overwrite)
        return path;
    if (answer != Prompts::Answer::SaveAs)
        return std::nullopt;
    Prompts::FileRequest request;
    request.title = QStringLiteral("Save rom");
    request.filter = QStringLiteral("GameBoy roms (*.GB),(*.GBC)|*.GB;*.GBC|All files (*.*)|*.*");
    request.defaultSuffix = QFileInfo(path).suffix();
    return m_prompts.saveFile(request);
}
