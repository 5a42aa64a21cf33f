#pragma once

#include <QString>
#include <QStringList>

// A catalogue (INI) file with the rules of the Windows private-profile
// functions, for which the catalogue files are written:
// - CRLF, LF and a lone CR each end a line;
// - section and key names match without regard to letter case, and spaces
//   and tabs around names and values are dropped;
// - the first matching section, and the first matching key in it, win;
// - a line whose first non-blank character is ";" is a comment;
// - a value in one matching pair of double or single quotes loses the pair.
// Opening only records the path: every read and write goes to the file as it
// is at that moment. A write changes only the line it must and keeps every
// other line byte for byte; the file is replaced atomically.
class IniFile {
public:
    explicit IniFile(QString path = {}) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }

    // Values are read up to this many characters.
    static constexpr int MaxValueLength = 1023;

    QString readString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    qint32 readInteger(const QString& section, const QString& key, qint32 defaultValue = 0) const;
    bool readBool(const QString& section, const QString& key, bool defaultValue = false) const;

    // Every section header in file order, duplicates included.
    QStringList sections() const;
    // The keys of the first matching section, in file order.
    QStringList keys(const QString& section) const;
    bool hasSection(const QString& section) const;

    // On failure `error` receives "Unable to write to <path>" and the file is unchanged.
    bool writeString(const QString& section, const QString& key, const QString& value, QString* error = nullptr);
    bool writeInteger(const QString& section, const QString& key, qint32 value, QString* error = nullptr);
    bool writeBool(const QString& section, const QString& key, bool value, QString* error = nullptr);

private:
    QString m_path;
};
