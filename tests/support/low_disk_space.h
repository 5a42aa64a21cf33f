#pragma once

#include <QtGlobal>

// A disk with little room, for the full-disk tests: while one exists, every
// checked write takes its bytes from its room, and a write that needs more
// than is left writes what fits and fails as on a full disk ("No space left
// on device"). A test program that uses it links kartola_test_low_disk_space,
// whose device step stands in for the program's own.
class LowDiskSpace {
public:
    explicit LowDiskSpace(qint64 freeBytes);
    ~LowDiskSpace();
    LowDiskSpace(const LowDiskSpace&) = delete;
    LowDiskSpace& operator=(const LowDiskSpace&) = delete;

    qint64 freeBytes() const;
};
