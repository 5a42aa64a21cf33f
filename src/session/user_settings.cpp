#include "session/user_settings.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QSettings>

namespace {
const QString EmulatorKey = QStringLiteral("Preferences/EmulatorCommand");
const QString ChecksumsKey = QStringLiteral("Preferences/FixChecksumsOnSave");
const QString ScriptMemoryKey = QStringLiteral("Preferences/ScriptMemoryMiB");
const QString ScriptArgumentsGroup = QStringLiteral("ScriptArguments/");
const QString RecentKey = QStringLiteral("RecentFiles");
const QString RomKey = QStringLiteral("LastSession/Rom");
const QString CatalogueKey = QStringLiteral("LastSession/Catalogue");
const QString CategoryKey = QStringLiteral("LastSession/Category");
const QString MapKey = QStringLiteral("LastSession/Map");
const QString PageKey = QStringLiteral("LastSession/Page");
const QString ZoomKey = QStringLiteral("LastSession/Zoom");
const QString GeometryKey = QStringLiteral("LastSession/Geometry");
}

UserSettings::UserSettings() = default;

UserSettings::UserSettings(const QString& file) : m_file(std::make_unique<QSettings>(file, QSettings::IniFormat)) {}

UserSettings::~UserSettings() = default;

std::unique_ptr<UserSettings> UserSettings::forUser()
{
    const QSettings place(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kartola"),
                          QStringLiteral("Kartola"));
    return std::make_unique<UserSettings>(place.fileName());
}

QVariant UserSettings::value(const QString& key) const
{
    return m_file ? m_file->value(key) : m_memory.value(key);
}

void UserSettings::setValue(const QString& key, const QVariant& value)
{
    if (m_file)
        m_file->setValue(key, value);
    else
        m_memory.insert(key, value);
}

QString UserSettings::text(const QString& key) const
{
    const QVariant v = value(key);
    return v.typeId() == QMetaType::QString ? v.toString() : QString();
}

int UserSettings::number(const QString& key, int otherwise) const
{
    bool ok = false;
    const int n = value(key).toInt(&ok);
    return ok ? n : otherwise;
}

QString UserSettings::emulatorCommand() const
{
    return text(EmulatorKey);
}

bool UserSettings::fixChecksums() const
{
    return text(ChecksumsKey) == QLatin1String("true");
}

int UserSettings::scriptMemoryMiB() const
{
    const int mib = number(ScriptMemoryKey, DefaultScriptMemoryMiB);
    return mib >= MinScriptMemoryMiB && mib <= MaxScriptMemoryMiB ? mib : DefaultScriptMemoryMiB;
}

void UserSettings::setScriptMemoryMiB(int mib)
{
    setValue(ScriptMemoryKey, qBound(MinScriptMemoryMiB, mib, MaxScriptMemoryMiB));
}

namespace {
// A key for a script's path that holds no separator of the settings file.
QString scriptKey(const QString& path)
{
    return ScriptArgumentsGroup
           + QString::fromLatin1(QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex());
}
} // namespace

QStringList UserSettings::scriptArguments(const QString& path) const
{
    return value(scriptKey(path)).toStringList();
}

void UserSettings::setScriptArguments(const QString& path, const QStringList& values)
{
    setValue(scriptKey(path), values);
    if (m_file)
        m_file->sync();
}

SessionOutcome UserSettings::setPreferences(const QString& emulatorCommand, bool fixChecksums)
{
    setValue(EmulatorKey, emulatorCommand);
    setValue(ChecksumsKey, fixChecksums ? QStringLiteral("true") : QStringLiteral("false"));
    if (!m_file)
        return SessionOutcome::done();
    m_file->sync();
    if (m_file->status() != QSettings::NoError)
        return SessionOutcome::refused(QStringLiteral("Unable to write to %1").arg(m_file->fileName()));
    return SessionOutcome::done();
}

QStringList UserSettings::recentFiles() const
{
    QStringList files;
    for (const QString& path : value(RecentKey).toStringList()) {
        if (!path.isEmpty() && !files.contains(path))
            files << path;
        if (files.size() == MaxRecentFiles)
            break;
    }
    return files;
}

void UserSettings::addRecentFile(const QString& path)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(file);
    files.prepend(file);
    setValue(RecentKey, QStringList(files.mid(0, MaxRecentFiles)));
}

void UserSettings::clearRecentFiles()
{
    setValue(RecentKey, QStringList());
}

QString UserSettings::catalogueFolderFor(const QString& romKey) const
{
    return romKey.isEmpty() ? QString() : text(QStringLiteral("CatalogueFolders/") + romKey);
}

void UserSettings::setCatalogueFolderFor(const QString& romKey, const QString& folder)
{
    if (!romKey.isEmpty())
        setValue(QStringLiteral("CatalogueFolders/") + romKey, folder);
}

LastSession UserSettings::lastSession() const
{
    LastSession session;
    session.rom = text(RomKey);
    session.catalogue = text(CatalogueKey);
    session.category = text(CategoryKey);
    session.map = text(MapKey);
    session.page = number(PageKey, -1);
    session.zoom = number(ZoomKey, 0);
    session.geometry = value(GeometryKey).toByteArray();
    return session;
}

void UserSettings::setLastSession(const LastSession& session)
{
    setValue(RomKey, session.rom);
    setValue(CatalogueKey, session.catalogue);
    setValue(CategoryKey, session.category);
    setValue(MapKey, session.map);
    setValue(PageKey, session.page);
    setValue(ZoomKey, session.zoom);
    setValue(GeometryKey, session.geometry);
}
