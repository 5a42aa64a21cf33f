#pragma once

#include <QSet>
#include <QString>

// Keeps the previous ROM file before a save replaces it: the first time in
// a run that a save replaces an existing file, its bytes are copied beside
// it as NAME.bak (replacing an older one); later saves of the same file in
// the same run keep no further copy, so the .bak file holds the image as it
// was before this run's first save.
class RomBackups {
public:
    enum class Outcome {
        NotNeeded, // no file to replace, or its first save in this run is past
        Kept,      // the previous file is now NAME.bak
        Failed,    // the copy could not be written; `error` says which file
    };

    // Call before writing `path`. On Failed the save must not go ahead:
    // `error` receives "Cannot create file <NAME.bak>".
    Outcome keepPrevious(const QString& path, QString* error = nullptr);

    static QString backupPath(const QString& path) { return path + QStringLiteral(".bak"); }
    // The status line shown once when a copy was kept.
    static QString keptMessage(const QString& path);

private:
    QSet<QString> m_kept; // absolute paths whose previous file was kept in this run
};
