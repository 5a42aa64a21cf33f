#pragma once

#include <QByteArrayView>
#include <QString>

#include <vector>

// The finding of a section or a key in a parsed catalogue (INI) file: by the
// lookup tables of a file kept for reading, or by walking the lines of a file
// being edited; and how names compare and hash. Part of the INI layer behind
// base/ini_file.h.

struct IniDocument;

namespace Ini {

struct Line;

inline char foldByte(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

// Names match without regard to ASCII letter case only, as the recorded
// Windows answers show ("É" and "é" are different names). The bytes of the
// two names are in the same encoding, where ASCII bytes stand for themselves.
inline bool sameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (foldByte(a[i]) != foldByte(b[i]))
            return false;
    return true;
}

inline quint64 nameHash(qint64 header, QByteArrayView name)
{
    quint64 h = 14695981039346656037ull ^ (quint64(header + 2) * 0x9E3779B97F4A7C15ull);
    for (char c : name) {
        h ^= uchar(foldByte(c));
        h *= 1099511628211ull;
    }
    // The table takes its cell from the low bits: every bit of the name is mixed into them.
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return h;
}

// Line numbers in an open-addressed table (0 for a free cell, else the line
// number plus one), found by the hash of a name. A third of the cells stay
// free, so that a probe ends soon.
struct LineTable {
    std::vector<quint32> cells;

    void reserve(size_t count) { cells.assign(count + count / 2 + 1, 0); }
    size_t first(quint64 hash) const { return size_t((quint64(quint32(hash)) * cells.size()) >> 32); }
    size_t next(size_t i) const { return i + 1 == cells.size() ? 0 : i + 1; }

    // The first cell from `hash` on whose line `matches`, or the free cell where the probe stopped.
    template <typename Matches>
    quint32& probe(quint64 hash, const Matches& matches)
    {
        for (size_t i = first(hash);; i = next(i))
            if (cells[i] == 0 || matches(cells[i] - 1))
                return cells[i];
    }
    template <typename Matches>
    qsizetype find(quint64 hash, const Matches& matches) const
    {
        if (cells.empty())
            return -1;
        for (size_t i = first(hash);; i = next(i)) {
            if (cells[i] == 0)
                return -1;
            if (matches(cells[i] - 1))
                return qsizetype(cells[i] - 1);
        }
    }
};

// The lines of one section: the header (-1 for the section "" of the lines
// before the first header) and its body [begin, end).
struct Range {
    bool found = false;
    qsizetype header = -1;
    qsizetype begin = 0;
    qsizetype end = 0;
};

Range sectionFrom(const IniDocument& doc, qsizetype header);
Range findSection(const IniDocument& doc, const QString& section);
void index(IniDocument& doc);
Range findIndexedSection(const IniDocument& doc, const QString& section);
const Line* findKey(const IniDocument& doc, const QString& section, const QString& key);

} // namespace Ini
