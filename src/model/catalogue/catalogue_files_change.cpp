#include "model/catalogue/catalogue_files_change.h"
#include <algorithm>

#include "base/ini_file.h"
#include "base/safe_write.h"

#include <QFile>
#include <QFileInfo>

std::optional<QByteArray> CatalogueFilesChange::readFile(const QString& path)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

void CatalogueFilesChange::recordBefore(const QString& path)
{
    recordBefore(path, readFile(QFileInfo(path).absoluteFilePath()));
}

void CatalogueFilesChange::recordBefore(const QString& path, const std::optional<QByteArray>& before)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (const CatalogueFileText& f : m_files)
        if (f.path == absolute)
            return;
    m_files.append({absolute, before, std::nullopt});
}

void CatalogueFilesChange::recordAfter()
{
    for (CatalogueFileText& f : m_files)
        f.after = readFile(f.path);
}

bool CatalogueFilesChange::changed() const
{
    for (const CatalogueFileText& f : m_files)
        if (f.before != f.after)
            return true;
    return false;
}

namespace {

// Makes the file hold `text` (or not exist); nothing is written when it already does.
bool putText(const QString& path, const std::optional<QByteArray>& text)
{
    if (CatalogueFilesChange::readFile(path) == text)
        return true;
    const bool ok = text ? writeFileAtomically(path, *text) : QFile::remove(path);
    IniFile::dropCache();
    return ok;
}

} // namespace

bool CatalogueFilesChange::put(bool before, QString* error) const
{
    for (qsizetype i = 0; i < m_files.size(); ++i) {
        const CatalogueFileText& f = m_files[i];
        if (putText(f.path, before ? f.before : f.after))
            continue;
        if (error)
            *error = QStringLiteral("Unable to write to %1").arg(f.path);
        for (qsizetype j = 0; j < i; ++j)
            putText(m_files[j].path, before ? m_files[j].after : m_files[j].before);
        return false;
    }
    return true;
}

bool CatalogueFilesChange::keepBackups(QString* error) const
{
    for (const CatalogueFileText& f : m_files) {
        if (!f.before || f.before == f.after)
            continue;
        const QString bak = f.path + QStringLiteral(".bak");
        if (!writeFileAtomically(bak, *f.before)) {
            if (error)
                *error = QStringLiteral("Cannot create file %1").arg(bak);
            return false;
        }
    }
    return true;
}

CatalogueChangeCommand::CatalogueChangeCommand(const QString& text, CatalogueFilesChange change,
                                               std::function<void()> changed,
                                               std::function<void(const QString&)> failed)
    : QUndoCommand(text)
    , m_change(std::move(change))
    , m_changed(std::move(changed))
    , m_failed(std::move(failed))
{
}

void CatalogueChangeCommand::undo()
{
    QString error;
    const bool ok = m_change.restoreBefore(&error);
    done(ok, error);
}

void CatalogueChangeCommand::redo()
{
    QString error;
    const bool ok = m_change.restoreAfter(&error);
    done(ok, error);
}

void CatalogueChangeCommand::done(bool ok, const QString& error)
{
    if (!ok && m_failed)
        m_failed(error);
    if (m_changed)
        m_changed();
}
