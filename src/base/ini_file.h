#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>

// A catalogue (INI) file with the rules of the Windows private-profile
// functions, for which the catalogue files are written:
// - CRLF, LF and a lone CR each end a line; a UTF-8 byte-order mark is
//   skipped (and kept on write); a file with a UTF-16LE byte-order mark is
//   read as UTF-16; other bytes are UTF-8 when the file is valid UTF-8, else
//   one byte one character (ANSI);
// - section and key names match without regard to ASCII letter case, and
//   spaces and tabs around names and values are dropped, in the file and in
//   the names passed to a call alike;
// - a line whose first non-blank character is "[" and which holds a "]" is
//   a header; its name runs to the last "]". "[" without "]" is no header;
// - key lines before the first header form the section "";
// - the first matching section, and the first matching key in it, win;
// - a line without "=" is no key: it is not listed, and it hides a later key
//   of the same name;
// - a line whose first non-blank character is ";" is a comment;
// - a value in one matching pair of double or single quotes loses the pair.
// Opening only records the path: every read sees the file as it is at that
// moment. A parsed file is kept and read again only when its size or
// modification time changes (or, within two seconds of its last change, when
// its bytes do), so many reads in a row cost one parse. The parsed files are
// shared by every IniFile of the program; reads may come from several threads.
// A pinned copy (pinned()) reads the file as it was when pinned, without
// asking the file system again: a batch run over the whole catalogue reads one
// version of it, at the cost of a lookup per read.
// A write changes only the lines it must and keeps every other line byte for
// byte; the file is replaced atomically, and a failed write leaves it whole.
struct IniDocument;

class IniFile {
public:
    explicit IniFile(QString path = {}) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }

    // A copy whose reads all see the file as it is now, parsed once. A write
    // through the copy ends the pin: its later reads see the file again.
    IniFile pinned() const;

    // Values are read up to this many characters.
    static constexpr int MaxValueLength = 1023;

    QString readString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    qint32 readInteger(const QString& section, const QString& key, qint32 defaultValue = 0) const;
    bool readBool(const QString& section, const QString& key, bool defaultValue = false) const;
    // readString of each key in turn, the file looked at once for all of them
    // (a category of ten thousand maps is one read, not ten thousand).
    QStringList readStrings(const QString& section, const QStringList& keys) const;

    // Every named section header in file order, duplicates included.
    QStringList sections() const;
    // The keys of the first matching section, in file order.
    QStringList keys(const QString& section) const;
    bool hasSection(const QString& section) const;

    // On failure `error` receives "Unable to write to <path>" and the file is unchanged.
    bool writeString(const QString& section, const QString& key, const QString& value, QString* error = nullptr);
    bool writeInteger(const QString& section, const QString& key, qint32 value, QString* error = nullptr);
    bool writeBool(const QString& section, const QString& key, bool value, QString* error = nullptr);

    // Several keys of one section in one file replacement: all are written or
    // none (on failure the file is unchanged and `error` says so). Keys are
    // applied in order, as that many writeString calls would.
    using KeyValues = QList<QPair<QString, QString>>;
    bool writeStrings(const QString& section, const KeyValues& values, QString* error = nullptr);

    // Removes the first matching line of each key from the first matching
    // section, as writing no value does on Windows; the other lines stay
    // byte for byte. Keys the section lacks are no error.
    bool removeKeys(const QString& section, const QStringList& keys, QString* error = nullptr);

    // A file written with a UTF-16LE byte-order mark is written back as
    // UTF-16LE with the mark; one whose UTF-16 text cannot be decoded without
    // loss is not written at all (the write fails and the file stays as it is).

    // Forgets every parsed file (tests and benchmarks use it).
    static void dropCache();
    // The bytes the parsed files kept for reading take, their text included.
    static qint64 cacheBytes();

private:
    std::shared_ptr<const IniDocument> document() const;

    QString m_path;
    std::shared_ptr<const IniDocument> m_pinned;
};
