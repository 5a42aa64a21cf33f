#include "model/rom/ips_patch.h"

#include "base/work_progress.h"
#include "model/rom/rom_image.h"

#include <QCoreApplication>

#include <cstring>

namespace {

const QByteArray Header = QByteArrayLiteral("PATCH");
const QByteArray Footer = QByteArrayLiteral("EOF");
constexpr qint64 MaxImage = qint64(1) << 24;
constexpr qint64 MaxRecord = 0xFFFF;
// A record starting here would read as "EOF".
constexpr qint64 FooterOffset = 0x454F46;
// Shorter runs of one byte cost less as plain data than as a run record.
constexpr qint64 MinRun = 9;
// How many bytes a patch may write in all for each of its own bytes, beyond
// the size of the largest image.
constexpr qint64 MaxWrittenPerPatchByte = 4;
// Patch bytes read between two progress reports.
constexpr qint64 ProgressStep = 64 * 1024;

QString tr(const char* text) { return QCoreApplication::translate("IpsPatch", text); }

void putBigEndian(QByteArray& out, qint64 value, int bytes)
{
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xFF));
}

qint64 bigEndian(const char* at, int bytes)
{
    qint64 value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | quint8(at[i]);
    return value;
}

// How many bytes from `at` (at most `limit`) equal the byte at `at`.
qint64 runLength(const char* data, qint64 at, qint64 limit)
{
    qint64 n = 1;
    while (n < limit && data[at + n] == data[at])
        ++n;
    return n;
}

// Records that write target[begin, end).
void writeSpan(QByteArray& out, const QByteArray& target, qint64 begin, qint64 end)
{
    const char* data = target.constData();
    qint64 pos = begin;
    while (pos < end) {
        qint64 start = pos;
        bool literalOnly = false;
        if (start == FooterOffset) {
            // Start one byte earlier, rewriting the target's own byte there.
            --start;
            literalOnly = true;
        }
        const qint64 room = qMin(end - start, MaxRecord);
        if (!literalOnly) {
            const qint64 run = runLength(data, start, room);
            if (run >= MinRun) {
                putBigEndian(out, start, 3);
                putBigEndian(out, 0, 2);
                putBigEndian(out, run, 2);
                out.append(data[start]);
                pos = start + run;
                continue;
            }
        }
        // Plain data up to the end, the record limit, or a run worth its own record.
        const qint64 least = qMin(room, pos + 1 - start);
        qint64 length = least;
        qint64 same = 1;
        while (length < room) {
            same = data[start + length] == data[start + length - 1] ? same + 1 : 1;
            if (same >= MinRun) {
                length = qMax(least, length - (same - 1));
                break;
            }
            ++length;
        }
        putBigEndian(out, start, 3);
        putBigEndian(out, length, 2);
        out.append(data + start, length);
        pos = start + length;
    }
}

PatchResult refused(const QString& why) { return {std::nullopt, why}; }

} // namespace

PatchResult makeIpsPatch(const QByteArray& source, const QByteArray& target)
{
    if (source.size() > MaxImage || target.size() > MaxImage)
        return refused(tr("An IPS patch cannot hold an image over 16 MiB; choose BPS."));
    QByteArray out = Header;
    const qint64 common = qMin(source.size(), target.size());
    const char* a = source.constData();
    const char* b = target.constData();
    qint64 i = 0;
    while (i < common) {
        if (a[i] == b[i]) {
            ++i;
            continue;
        }
        // A few equal bytes between two changes cost less than a new record.
        qint64 end = i + 1;
        qint64 equal = 0;
        while (end + equal < common && equal <= 5) {
            if (a[end + equal] == b[end + equal]) {
                ++equal;
            } else {
                end += equal + 1;
                equal = 0;
            }
        }
        writeSpan(out, target, i, end);
        i = end;
    }
    if (target.size() > source.size())
        writeSpan(out, target, source.size(), target.size());
    out.append(Footer);
    if (target.size() < source.size())
        putBigEndian(out, target.size(), 3);
    return {out, {}};
}

PatchResult applyIpsPatch(const QByteArray& source, const QByteArray& patch, WorkProgress* progress)
{
    if (!patch.startsWith(Header))
        return refused(tr("This file is not an IPS patch."));
    const QString pastEnd = tr("This IPS patch is damaged: its records run past its end.");
    const char* p = patch.constData();
    const qint64 n = patch.size();
    QByteArray image = source;
    qint64 at = Header.size();
    // Run records write far more than they take: the work a patch may cause
    // in all is bounded by the largest image, or a few times its own size.
    const qint64 maxWritten = qMax(RomImage::MaxSize, MaxWrittenPerPatchByte * n);
    qint64 written = 0;
    ProgressSteps steps(progress, n, ProgressStep);
    for (;;) {
        if (!steps.at(at))
            return refused(tr("Stopped before the patch was applied."));
        if (n - at >= 3 && bigEndian(p + at, 3) == FooterOffset) {
            at += 3;
            break;
        }
        if (n - at < 5)
            return refused(pastEnd);
        const qint64 offset = bigEndian(p + at, 3);
        qint64 length = bigEndian(p + at + 3, 2);
        at += 5;
        const bool run = length == 0;
        if (run) {
            if (n - at < 3)
                return refused(pastEnd);
            length = bigEndian(p + at, 2);
            at += 3;
        } else if (n - at < length) {
            return refused(pastEnd);
        }
        const qint64 end = offset + length;
        if (end > MaxImage)
            return refused(tr("This IPS patch is damaged: a record at 0x%1 reaches past 16 MiB.")
                               .arg(QStringLiteral("%1").arg(offset, 6, 16, QLatin1Char('0')).toUpper()));
        written += length;
        if (written > maxWritten)
            return refused(tr("This IPS patch writes more than %1 MiB in all; it is refused.")
                               .arg(maxWritten >> 20));
        if (length > 0 && end > image.size())
            image.append(QByteArray(end - image.size(), '\0'));
        if (run) {
            std::memset(image.data() + offset, p[at - 1], size_t(length));
        } else {
            std::memcpy(image.data() + offset, p + at, size_t(length));
            at += length;
        }
    }
    if (n - at == 3) {
        const qint64 size = bigEndian(p + at, 3);
        if (size < image.size())
            image.truncate(size);
    } else if (n != at) {
        return refused(tr("This IPS patch is damaged: it has stray bytes after its end."));
    }
    steps.end();
    return {image, {}};
}
