#pragma once

#include "session/last_session.h"
#include "session/session_outcome.h"

#include <QHash>
#include <QStringList>
#include <QVariant>

#include <memory>

class QSettings;

// The user's own settings, kept apart from the catalogue: the emulator
// command, the checksums switch, the recent ROM files and the last session.
// Values read back are checked, since anyone may have edited the file.
class UserSettings {
public:
    // Settings that last as long as the object (windows made by tests).
    UserSettings();
    // Settings kept in the INI file `file`.
    explicit UserSettings(const QString& file);
    ~UserSettings();
    // The user's settings, where the system keeps those of programs.
    static std::unique_ptr<UserSettings> forUser();

    // The emulator command: a program and its arguments, %f for the image file.
    QString emulatorCommand() const;
    // Whether saves set both cartridge checksums.
    bool fixChecksums() const;
    // The memory bound of the scripts the window runs, in MiB.
    static constexpr int DefaultScriptMemoryMiB = 1024, MinScriptMemoryMiB = 64, MaxScriptMemoryMiB = 1024 * 1024;
    int scriptMemoryMiB() const;
    // Kept with the next setPreferences().
    void setScriptMemoryMiB(int mib);
    // The argument values a script was run with last, by its path.
    QStringList scriptArguments(const QString& path) const;
    void setScriptArguments(const QString& path, const QStringList& values);
    // Refused: not kept, with the message (the values hold for this run).
    SessionOutcome setPreferences(const QString& emulatorCommand, bool fixChecksums);

    static constexpr int MaxRecentFiles = 10;
    // The last ROM files opened, the latest first.
    QStringList recentFiles() const;
    void addRecentFile(const QString& path);
    void clearRecentFiles();

    // The catalogue folder that goes with a ROM (by romCatalogueKey()); empty: none kept.
    QString catalogueFolderFor(const QString& romKey) const;
    void setCatalogueFolderFor(const QString& romKey, const QString& folder);

    LastSession lastSession() const;
    void setLastSession(const LastSession& session);

private:
    QVariant value(const QString& key) const;
    void setValue(const QString& key, const QVariant& value);
    QString text(const QString& key) const;
    int number(const QString& key, int otherwise) const;

    std::unique_ptr<QSettings> m_file;
    QHash<QString, QVariant> m_memory;   // when there is no file
};
