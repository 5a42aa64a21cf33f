#include "support/low_disk_space.h"

#include "base/safe_write.h"

#include <QFileDevice>

namespace {
qint64 g_room = -1;   // no limit while no LowDiskSpace exists
}

LowDiskSpace::LowDiskSpace(qint64 freeBytes) { g_room = qMax<qint64>(0, freeBytes); }
LowDiskSpace::~LowDiskSpace() { g_room = -1; }
qint64 LowDiskSpace::freeBytes() const { return g_room; }

// In place of base/safe_write_device.cpp.
bool putBytesOnDevice(QFileDevice& file, const QByteArray& bytes, QString* reason)
{
    const qint64 fits = g_room < 0 ? bytes.size() : qMin<qint64>(bytes.size(), g_room);
    if ((fits > 0 && file.write(bytes.constData(), fits) != fits) || !file.flush()) {
        *reason = file.errorString();
        return false;
    }
    if (g_room >= 0)
        g_room -= fits;
    if (fits < bytes.size()) {
        *reason = QStringLiteral("No space left on device");
        return false;
    }
    return true;
}
