#pragma once

#include <QString>

// The mark that an editor holds a ROM file: NAME.lock beside its recovery
// copy, holding the editor's process id and machine, written whole or not at
// all. A second editor on the same file finds it and is told; a mark left by
// a process that is gone is taken over. A mark that names no process holds
// the file until the machine has been started again since it was written. The recovery copy of the holder has the ROM file's own name;
// another editor's copy carries its owner tag, so neither writes over or
// removes the other's.
class RomLock {
public:
    RomLock();
    ~RomLock() { release(); }
    RomLock(const RomLock&) = delete;
    RomLock& operator=(const RomLock&) = delete;

    // Marks `romPath` as held by this editor, in `folder`. False when another
    // running editor holds it; `holder` then receives its process id.
    bool take(const QString& folder, const QString& romPath, qint64* holder = nullptr);
    // Removes the mark when this editor holds it.
    void release();
    bool holds() const { return !m_path.isEmpty(); }
    // Empty while holding the file (or with no folder); else a tag of this
    // editor alone, for the name of its recovery copy.
    QString owner() const { return m_tagged ? m_tag : QString(); }

    static QString lockPath(const QString& folder, const QString& romPath);
    // Whether the process `pid` of this machine runs.
    static bool processRuns(qint64 pid);

private:
    QString m_path;       // the lock file held, empty when none
    QString m_tag;
    bool m_tagged = false;
};
