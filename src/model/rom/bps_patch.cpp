#include "model/rom/bps_patch.h"

#include "base/work_progress.h"
#include "model/rom/crc32.h"
#include "model/rom/rom_image.h"

#include <QCoreApplication>

#include <cstring>
#include <vector>

namespace {

const QByteArray Magic = QByteArrayLiteral("BPS1");
constexpr qint64 FooterSize = 12;

enum Action { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

// A run of one repeated byte shorter than this is stored as it is.
constexpr qint64 MinRepeat = 4;
// Fewer matching bytes inside new data are stored with it.
constexpr qint64 MinSourceRun = 3;
// Target bytes built between two progress reports.
constexpr qint64 ProgressStep = 256 * 1024;

QString tr(const char* text) { return QCoreApplication::translate("BpsPatch", text); }

// Each byte holds seven bits, lowest first; the top bit ends the number. Each
// continuation also adds one, so that every number has a single spelling.
void putNumber(QByteArray& out, quint64 value)
{
    for (;;) {
        const quint8 low = value & 0x7F;
        value >>= 7;
        if (value == 0) {
            out.append(char(0x80 | low));
            return;
        }
        out.append(char(low));
        --value;
    }
}

void putLittleEndian32(QByteArray& out, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

quint32 littleEndian32(const char* at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | quint8(at[i]);
    return value;
}

void putAction(QByteArray& out, Action action, qint64 length)
{
    putNumber(out, quint64(length - 1) << 2 | action);
}

// Reads the patch's numbers and bytes without ever reaching past `end`.
class Reader {
public:
    Reader(const QByteArray& bytes, qint64 end) : m_data(bytes.constData()), m_end(end) {}

    qint64 pos() const { return m_pos; }
    qint64 left() const { return m_end - m_pos; }
    void skip(qint64 n) { m_pos += n; }
    const char* here() const { return m_data + m_pos; }

    // False at the end or for a number beyond 2^48, which no image needs.
    bool number(qint64& value)
    {
        quint64 result = 0;
        quint64 shift = 1;
        for (;;) {
            if (m_pos >= m_end || shift > (quint64(1) << 42))
                return false;
            const quint8 byte = quint8(m_data[m_pos++]);
            result += (byte & 0x7F) * shift;
            if (byte & 0x80)
                break;
            shift <<= 7;
            result += shift;
        }
        value = qint64(result);
        return true;
    }

private:
    const char* m_data;
    qint64 m_end;
    qint64 m_pos = 0;
};

struct Header {
    qint64 sourceSize = 0;
    qint64 targetSize = 0;
    qint64 metadataAt = 0;
    qint64 metadataSize = 0;
};

enum class PatchChecksum { Checked, Unchecked };

// The header of a patch whose magic is sound and, when asked for, its own checksum.
std::optional<Header> readHeader(const QByteArray& patch, Reader& in, PatchChecksum checksum)
{
    if (patch.size() < Magic.size() + FooterSize || !patch.startsWith(Magic))
        return std::nullopt;
    const qint64 body = patch.size() - 4;
    if (checksum == PatchChecksum::Checked
        && crc32Of(QByteArray::fromRawData(patch.constData(), body)) != littleEndian32(patch.constData() + body))
        return std::nullopt;
    in.skip(Magic.size());
    Header header;
    if (!in.number(header.sourceSize) || !in.number(header.targetSize) || !in.number(header.metadataSize)
        || header.metadataSize > in.left())
        return std::nullopt;
    header.metadataAt = in.pos();
    in.skip(header.metadataSize);
    return header;
}

PatchResult refused(const QString& why) { return {std::nullopt, why}; }

// Runs the actions after the header: the target of `targetSize` bytes they
// build from `source`, or why they cannot. Reads and copies from the source
// take its bytes as they are, so the same actions replay onto a changed source.
PatchResult runActions(const QByteArray& source, Reader& in, qint64 targetSize, WorkProgress* progress = nullptr)
{
    const QString damaged = tr("This BPS patch is damaged.");
    const QString pastEnd = tr("This BPS patch is damaged: its actions run past its end.");
    QByteArray target(targetSize, '\0');
    char* t = target.data();
    const char* s = source.constData();
    qint64 at = 0;
    qint64 sourceFrom = 0;
    qint64 targetFrom = 0;
    ProgressSteps steps(progress, targetSize, ProgressStep);
    while (in.left() > 0) {
        if (!steps.at(at))
            return refused(tr("Stopped before the patch was applied."));
        qint64 word = 0;
        if (!in.number(word))
            return refused(pastEnd);
        const qint64 length = (word >> 2) + 1;
        if (length > targetSize - at)
            return refused(damaged);
        switch (Action(word & 3)) {
        case SourceRead:
            if (at + length > source.size())
                return refused(damaged);
            std::memcpy(t + at, s + at, size_t(length));
            break;
        case TargetRead:
            if (length > in.left())
                return refused(pastEnd);
            std::memcpy(t + at, in.here(), size_t(length));
            in.skip(length);
            break;
        case SourceCopy:
        case TargetCopy: {
            qint64 step = 0;
            if (!in.number(step))
                return refused(pastEnd);
            const qint64 move = step & 1 ? -(step >> 1) : step >> 1;
            if (Action(word & 3) == SourceCopy) {
                sourceFrom += move;
                if (sourceFrom < 0 || sourceFrom > source.size() - length)
                    return refused(damaged);
                std::memcpy(t + at, s + sourceFrom, size_t(length));
                sourceFrom += length;
            } else {
                targetFrom += move;
                // Only bytes already written may be copied; the runs may overlap.
                if (targetFrom < 0 || targetFrom >= at)
                    return refused(damaged);
                for (qint64 k = 0; k < length; ++k)
                    t[at + k] = t[targetFrom + k];
                targetFrom += length;
            }
            break;
        }
        }
        at += length;
    }
    if (at != targetSize)
        return refused(damaged);
    steps.end();
    return {target, {}};
}

} // namespace

namespace {

void putStep(QByteArray& out, qint64 step)
{
    putNumber(out, quint64(step < 0 ? -step : step) << 1 | (step < 0 ? 1 : 0));
}

// The actions of a patch that copies runs from anywhere in the source and
// from the new data of the target written so far.
//
// Blocks of BlockSize bytes at every stride-th offset of the source, and at
// every TargetStrideFactor x stride-th offset of the target's new data as it
// is written, are kept in hash tables of a few MiB at most (the stride grows
// with the image so that they do). Target offsets look their next BlockSize
// bytes up, and a hit is checked and stretched both ways. After a while
// without a match (data that is new) only every step-th offset is looked up,
// the step growing to MaxStep: new data costs little more than its copy into
// the patch. The step is odd and the strides powers of two, so the offsets
// looked up meet every shift of an indexed block: a shared run of stride x
// step + BlockSize - 1 bytes holds a block that is found, and is stretched
// back to where it starts. The same offset, a run of one byte and the move of
// the last source copy are tried first at each offset, without a table; the
// tables are made only when one is needed, so a patch of bytes changed in
// place never makes them.
class MovedDataWriter {
public:
    MovedDataWriter(const QByteArray& source, const QByteArray& target, QByteArray& out)
        : m_s(source.constData()), m_t(target.constData()), m_sourceSize(source.size()),
          m_targetSize(target.size()), m_out(out)
    {
        // Block numbers stay below MaxBlocks, so that the tables stay small
        // even for the largest image.
        const qint64 largest = qMax(m_sourceSize, m_targetSize);
        while ((largest + m_stride - 1) / m_stride >= MaxBlocks)
            m_stride *= 2;
    }

    void write()
    {
        qint64 at = 0;
        qint64 literal = 0;   // where the bytes not yet put in an action start
        qint64 misses = 0;    // offsets looked up since the last match
        while (at < m_targetSize) {
            indexTargetBelow(at);
            const Match match = bestAt(at, literal);
            if (match.length < MinMatch) {
                at += qMin<qint64>(MaxStep, 1 + 2 * (misses++ / MissesPerStep));
                prefetchSlots(at);
                continue;
            }
            misses = 0;
            putLiteral(literal, match.at);
            putMatch(match);
            at = match.at + match.length;
            literal = at;
            // Copied bytes are found where they were copied from: only new data is indexed.
            m_targetIndexed = qMax(m_targetIndexed, (at + targetStride() - 1) / targetStride() * targetStride());
        }
        putLiteral(literal, m_targetSize);
    }

private:
    static constexpr qint64 BlockSize = 8;
    static constexpr int MaxBlockBits = 20;
    static constexpr qint64 MaxBlocks = (qint64(1) << MaxBlockBits) - 1;   // all ones is None
    static constexpr int MaxTargetBits = 18;
    // New data is seldom repeated: the target's blocks are further apart.
    static constexpr qint64 TargetStrideFactor = 4;
    // A table entry: the block's number, and bits of its hash that tell most
    // misses without reading the image there.
    static constexpr int CheckBits = 32 - MaxBlockBits;
    static constexpr quint32 None = ~quint32(0);
    // A copy costs an action and a step, one to six bytes: shorter ones are stored.
    static constexpr qint64 MinMatch = 8;
    static constexpr qint64 MaxStep = 31;
    static constexpr qint64 MissesPerStep = 32;

    struct Match {
        Action action = TargetRead;
        qint64 at = 0;       // in the target
        qint64 from = 0;     // in the source or target
        qint64 length = 0;
    };

    // Slots for `blocks` blocks, as a power of two.
    static int tableBits(qint64 blocks, int most)
    {
        int bits = 10;
        while (bits < most && (qint64(1) << bits) < blocks)
            ++bits;
        return bits;
    }

    static quint64 hash(const char* at)
    {
        quint64 word;
        std::memcpy(&word, at, sizeof word);
        return word * 0x9E3779B97F4A7C15ULL;
    }
    // Bits of the hash below those that pick the slot.
    static quint32 check(quint64 key) { return quint32(key >> 32) & ((1u << CheckBits) - 1); }
    quint32 entry(quint64 key, qint64 at) const { return check(key) << MaxBlockBits | quint32(at / m_stride); }
    static bool sameCheck(quint32 slot, quint64 key) { return slot != None && slot >> MaxBlockBits == check(key); }
    qint64 offsetOf(quint32 slot) const { return qint64(slot & MaxBlocks) * m_stride; }
    qint64 targetStride() const { return m_stride * TargetStrideFactor; }

    void makeTables()
    {
        if (m_tablesMade)
            return;
        m_tablesMade = true;
        const int sourceBits = tableBits(m_sourceSize / m_stride, MaxBlockBits);
        const int targetBits = tableBits(m_targetSize / targetStride(), MaxTargetBits);
        m_sourceTable.assign(size_t(1) << sourceBits, None);
        m_targetTable.assign(size_t(1) << targetBits, None);
        m_sourceShift = 64 - sourceBits;
        m_targetShift = 64 - targetBits;
        for (qint64 at = 0; at + BlockSize <= m_sourceSize; at += m_stride) {
            const quint64 key = hash(m_s + at);
            quint32& slot = m_sourceTable[size_t(key >> m_sourceShift)];
            if (slot == None)   // the first of equal blocks: earlier data tends to stay put
                slot = entry(key, at);
        }
    }

    // The next offset looked up is known while this one is: its slots, seldom
    // in the cache, are fetched meanwhile.
    void prefetchSlots(qint64 at) const
    {
#if defined(__GNUC__) || defined(__clang__)
        if (m_tablesMade && at + BlockSize <= m_targetSize) {
            const quint64 key = hash(m_t + at);
            __builtin_prefetch(&m_sourceTable[size_t(key >> m_sourceShift)]);
            __builtin_prefetch(&m_targetTable[size_t(key >> m_targetShift)]);
        }
#else
        Q_UNUSED(at);
#endif
    }

    void indexTargetBelow(qint64 at)
    {
        if (m_targetIndexed >= at || m_targetIndexed + BlockSize > m_targetSize)
            return;
        makeTables();
        for (; m_targetIndexed < at && m_targetIndexed + BlockSize <= m_targetSize; m_targetIndexed += targetStride()) {
            const quint64 key = hash(m_t + m_targetIndexed);
            m_targetTable[size_t(key >> m_targetShift)] = entry(key, m_targetIndexed);
        }
    }

    // `from` in the source or target matched with the target at `at`,
    // stretched forward and back down to `literal`.
    Match stretch(Action action, qint64 at, qint64 from, qint64 literal) const
    {
        const char* base = action == TargetCopy ? m_t : m_s;
        const qint64 limit = qMin(m_targetSize - at, (action == TargetCopy ? m_targetSize : m_sourceSize) - from);
        constexpr qint64 Chunk = 64;
        qint64 length = 0;
        while (length + Chunk <= limit && std::memcmp(base + from + length, m_t + at + length, Chunk) == 0)
            length += Chunk;
        while (length < limit && base[from + length] == m_t[at + length])
            ++length;
        while (at > literal && from > 0 && base[from - 1] == m_t[at - 1]) {
            --at;
            --from;
            ++length;
        }
        return Match{action, at, from, length};
    }

    void consider(Match& best, Action action, qint64 at, qint64 from, qint64 literal) const
    {
        Match found = stretch(action, at, from, literal);
        if (action == SourceCopy && found.from == found.at)
            found.action = SourceRead;   // the same offset: no step to store
        if (found.length > best.length)
            best = found;
    }

    Match bestAt(qint64 at, qint64 literal)
    {
        constexpr qint64 Long = 4 * MinMatch;
        Match best;
        if (at < m_sourceSize && m_s[at] == m_t[at])
            consider(best, SourceRead, at, at, literal);
        if (at > 0 && m_t[at] == m_t[at - 1])
            consider(best, TargetCopy, at, at - 1, literal);
        // Moved data goes on at the same move after a changed byte.
        const qint64 moved = at + m_lastMove;
        if (m_lastMove != 0 && moved >= 0 && moved < m_sourceSize && m_s[moved] == m_t[at])
            consider(best, SourceCopy, at, moved, literal);
        if (best.length >= Long || at + BlockSize > m_targetSize)
            return best;
        // A byte changed in data that stays put: the same offset goes on after it.
        if (best.length == 0 && at + 1 + Long <= qMin(m_sourceSize, m_targetSize)
            && std::memcmp(m_s + at + 1, m_t + at + 1, Long) == 0)
            return best;
        makeTables();
        const quint64 key = hash(m_t + at);
        const quint32 source = m_sourceTable[size_t(key >> m_sourceShift)];
        if (sameCheck(source, key))
            consider(best, SourceCopy, at, offsetOf(source), literal);
        const quint32 target = m_targetTable[size_t(key >> m_targetShift)];
        if (sameCheck(target, key) && offsetOf(target) < at)
            consider(best, TargetCopy, at, offsetOf(target), literal);
        return best;
    }

    void putLiteral(qint64 from, qint64 to)
    {
        if (to <= from)
            return;
        putAction(m_out, TargetRead, to - from);
        m_out.append(m_t + from, to - from);
    }

    void putMatch(const Match& m)
    {
        putAction(m_out, m.action, m.length);
        if (m.action == SourceCopy) {
            putStep(m_out, m.from - m_sourceFrom);
            m_sourceFrom = m.from + m.length;
            m_lastMove = m.from - m.at;
        } else if (m.action == TargetCopy) {
            putStep(m_out, m.from - m_targetFrom);
            m_targetFrom = m.from + m.length;
        }
    }

    const char* m_s;
    const char* m_t;
    qint64 m_sourceSize;
    qint64 m_targetSize;
    QByteArray& m_out;
    qint64 m_stride = 16;
    bool m_tablesMade = false;
    int m_sourceShift = 54;
    int m_targetShift = 54;
    std::vector<quint32> m_sourceTable;
    std::vector<quint32> m_targetTable;
    qint64 m_targetIndexed = 0;
    qint64 m_sourceFrom = 0;
    qint64 m_targetFrom = 0;
    qint64 m_lastMove = 0;   // source offset less target offset of the last source copy
};

// The actions of a patch that reads the source only at the same offset.
void writeSameOffset(const QByteArray& source, const QByteArray& target, QByteArray& out)
{
    const char* s = source.constData();
    const char* t = target.constData();
    const qint64 targetSize = target.size();
    const qint64 common = qMin(source.size(), target.size());
    const auto matchesSource = [&](qint64 at) { return at < common && s[at] == t[at]; };
    // A match this short costs more in actions than it saves.
    const auto worthReading = [&](qint64 at) {
        return at + MinSourceRun <= common && std::memcmp(s + at, t + at, MinSourceRun) == 0;
    };
    // Whether target[at, at + MinRepeat) all repeat the byte before `at`.
    const auto repeats = [&](qint64 at) {
        if (at == 0 || targetSize - at < MinRepeat)
            return false;
        for (qint64 k = 0; k < MinRepeat; ++k)
            if (t[at + k] != t[at - 1])
                return false;
        return true;
    };

    qint64 at = 0;
    qint64 targetFrom = 0; // where the last target copy left off
    // A run never repeats a byte read from the source: replayed onto a source
    // changed since, it would spread that byte's new value over bytes written.
    bool afterSourceRead = false;
    while (at < targetSize) {
        qint64 end = at + 1;
        const bool sourceRead = matchesSource(at);
        if (sourceRead) {
            while (end + 8 <= common && std::memcmp(s + end, t + end, 8) == 0)
                end += 8;
            while (matchesSource(end))
                ++end;
            putAction(out, SourceRead, end - at);
        } else if (!afterSourceRead && repeats(at)) {
            while (end < targetSize && t[end] == t[at - 1] && !matchesSource(end))
                ++end;
            const qint64 from = at - 1;
            const qint64 step = from - targetFrom;
            putAction(out, TargetCopy, end - at);
            putStep(out, step);
            targetFrom = from + (end - at);
        } else {
            while (end < targetSize && !worthReading(end) && !repeats(end))
                ++end;
            putAction(out, TargetRead, end - at);
            out.append(t + at, end - at);
        }
        afterSourceRead = sourceRead;
        at = end;
    }
}

} // namespace

QByteArray makeBpsPatch(const QByteArray& source, const QByteArray& target, const QByteArray& metadata,
                        BpsSearch search)
{
    QByteArray out = Magic;
    putNumber(out, quint64(source.size()));
    putNumber(out, quint64(target.size()));
    putNumber(out, quint64(metadata.size()));
    out.append(metadata);
    if (search == BpsSearch::Anywhere)
        MovedDataWriter(source, target, out).write();
    else
        writeSameOffset(source, target, out);
    putLittleEndian32(out, crc32Of(source));
    putLittleEndian32(out, crc32Of(target));
    putLittleEndian32(out, crc32Of(out));
    return out;
}

PatchResult applyBpsPatch(const QByteArray& source, const QByteArray& patch, WorkProgress* progress)
{
    if (!patch.startsWith(Magic))
        return refused(tr("This file is not a BPS patch."));
    const qint64 footer = patch.size() - FooterSize;
    Reader in(patch, qMax<qint64>(footer, 0));
    const std::optional<Header> header = readHeader(patch, in, PatchChecksum::Checked);
    if (!header)
        return refused(tr("This BPS patch is damaged."));
    if (header->sourceSize != source.size() || littleEndian32(patch.constData() + footer) != crc32Of(source))
        return refused(tr("This patch was made for another image."));
    if (header->targetSize > RomImage::MaxSize)
        return refused(tr("The patched image would be larger than 64 MiB."));
    PatchResult result = runActions(source, in, header->targetSize, progress);
    if (result.image && crc32Of(*result.image) != littleEndian32(patch.constData() + footer + 4))
        return refused(tr("The patched image fails the patch's own checksum."));
    return result;
}

std::optional<QByteArray> replayBpsOnto(const QByteArray& source, const QByteArray& patch)
{
    Reader in(patch, qMax<qint64>(patch.size() - FooterSize, 0));
    const std::optional<Header> header = readHeader(patch, in, PatchChecksum::Unchecked);
    if (!header || header->targetSize > RomImage::MaxSize)
        return std::nullopt;
    return runActions(source, in, header->targetSize).image;
}

std::optional<QByteArray> bpsMetadata(const QByteArray& patch)
{
    Reader in(patch, qMax<qint64>(patch.size() - FooterSize, 0));
    const std::optional<Header> header = readHeader(patch, in, PatchChecksum::Checked);
    if (!header || header->metadataSize == 0)
        return std::nullopt;
    return patch.mid(header->metadataAt, header->metadataSize);
}
