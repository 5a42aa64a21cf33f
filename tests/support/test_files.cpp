#include "support/test_files.h"

#include <QFile>
#include <QImage>
#include <QPainter>

TestDir::TestDir()
{
    Q_ASSERT(m_dir.isValid());
}

void TestDir::write(const QString& name, const QByteArray& content) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write test file %s", qPrintable(file(name)));
    f.write(content);
}

QByteArray TestDir::read(const QString& name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QByteArray TestDir::patternRom(qsizetype size)
{
    QByteArray rom(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        rom[i] = char(i % 251);
    return rom;
}

unsigned TestDir::tileColor(int tile)
{
    // Distinct, fully opaque colours for the 96 tiles.
    return 0xFF000000u | (unsigned(tile * 37 % 256) << 16) | (unsigned(tile * 91 % 256) << 8) | unsigned(255 - tile);
}

void TestDir::writeTilePicture(const QString& name) const
{
    QImage image(256, 96, QImage::Format_RGB32);
    QPainter p(&image);
    for (int t = 0; t < 96; ++t)
        p.fillRect((t % 16) * 16, (t / 16) * 16, 16, 16, QColor::fromRgb(tileColor(t)));
    p.end();
    image.save(file(name), "BMP");
}
