#pragma once

// The kinds of write the editor makes, for the full-disk tests: each returns
// the message the editor reports (empty on success).
#include "base/ini_file.h"
#include "base/safe_write.h"
#include "model/map/bmp_writer.h"
#include "model/rom/rom_image.h"

#include <QImage>
#include <QtTest>

#include <functional>

using Writer = std::function<QString(const QString& path)>;

inline QString writeIni(const QString& path)
{
    QString error;
    IniFile ini(path);
    ini.writeBool(QStringLiteral("Settings"), QStringLiteral("Grid"), true, &error);
    return error;
}

inline QString writeRom(const QString& path)
{
    RomImage rom;
    rom.setBytes(QByteArray(300, '\x5A'));
    QString error;
    rom.saveToFile(path, &error);
    return error;
}

inline QString writePicture(const QString& path)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QString error;
    writeBmp24(path, image, &error);
    return error;
}

inline QString writeBytes(const QString& path)
{
    QString reason;
    return writeFileAtomically(path, QByteArray(500, 'm'), &reason) ? QString() : QStringLiteral("failed: ") + reason;
}

// The old file every write of the table tries to replace.
inline QByteArray oldContent() { return "[Settings]\r\nGrid=0\r\n" + QByteArray(180, ';'); }

// One row per kind of write: the file's name, the writer, and the message a
// failed write gives (%1: the path).
inline void addWriterRows()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Writer>("writer");
    QTest::addColumn<QString>("message");
    QTest::newRow("catalogue") << "Critters.ini" << Writer(writeIni) << "Unable to write to %1";
    QTest::newRow("rom") << "rom.gbc" << Writer(writeRom) << "Cannot create file %1";
    QTest::newRow("picture") << "map.DIB" << Writer(writePicture) << "Cannot create file %1";
    QTest::newRow("bytes") << "Alpha.map" << Writer(writeBytes) << "failed: No space left on device";
}
