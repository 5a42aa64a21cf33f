#pragma once

#include "session/rom_file_stamp.h"
#include "session/rom_lock.h"

#include <QString>
#include <optional>

class Prompts;

// The ROM file being edited as this editor last read or wrote it: the lock
// that says another Kartola has it open, and the stamp that tells when
// another program changed it on disk.
class RomFileWatch {
public:
    explicit RomFileWatch(Prompts& prompts) : m_prompts(prompts) {}

    // The ROM file just loaded is held by this editor (its lock in
    // `folder`); the user is warned when another editor holds it.
    void hold(const QString& folder, const QString& romPath);
    // The tag of this editor's own recovery copy: empty while it holds its
    // ROM file, else one of its own.
    QString owner() const { return m_lock.owner(); }
    // `bytes` were just read from or written to `path`.
    void fileIs(const QString& path, const QByteArray& bytes);
    // True once for each change of the file at `path` by another program
    // since it was read or written, however often it is looked at.
    bool changeNoticed(const QString& path);
    // Where Save Rom writes: `path` itself, or when another program changed
    // the file since, what the user answers (Overwrite: `path`, Save As...: a
    // file the user names, Cancel: nothing).
    std::optional<QString> saveTarget(const QString& path);

private:
    Prompts& m_prompts;
    RomLock m_lock;
    RomFileStamp m_stamp;   // the ROM file as last read or written
    QString m_noticed;      // its size and time when last looked at
};
