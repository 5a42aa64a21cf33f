// The device step of writeFileAtomically, alone in its file: the full-disk
// tests link one of their own in its place (tests/support/low_disk_space.cpp).
#include "base/safe_write.h"

#include <QFileDevice>

bool putBytesOnDevice(QFileDevice& file, const QByteArray& bytes, QString* reason)
{
    if ((!bytes.isEmpty() && file.write(bytes) != bytes.size()) || !file.flush()) {
        *reason = file.errorString();
        return false;
    }
    return true;
}
