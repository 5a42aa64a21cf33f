#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Files for tests: a temporary program directory with catalogue files,
// tile pictures and small ROM images written by the test itself.
class TestDir {
public:
    TestDir();
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    // Writes `content` (taken as written, line ends included) to `name`.
    void write(const QString& name, const QByteArray& content) const;
    QByteArray read(const QString& name) const;
    // A ROM image of `size` bytes whose byte i is i mod 251 (so offsets are distinguishable).
    static QByteArray patternRom(qsizetype size);
    // Writes a 256 x 96 tile picture whose tile t is a solid colour tileColor(t).
    void writeTilePicture(const QString& name) const;
    static unsigned tileColor(int tile);

private:
    QTemporaryDir m_dir;
};
