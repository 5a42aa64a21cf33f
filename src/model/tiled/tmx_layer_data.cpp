#include "model/tiled/tmx_layer_data.h"

#include <zlib.h>

#include <climits>

namespace {

bool decodeCsv(const QString& text, qint64 count, std::vector<quint32>* cells, QString* error)
{
    cells->clear();
    cells->reserve(size_t(qBound<qint64>(0, count, text.size() / 2 + 1)));
    const QStringView view(text);
    qsizetype i = 0;
    while (i < view.size()) {
        while (i < view.size() && view.at(i).isSpace())
            ++i;
        if (i == view.size())
            break;
        qsizetype end = i;
        while (end < view.size() && view.at(end) != QLatin1Char(',') && !view.at(end).isSpace())
            ++end;
        bool number = false;
        const quint32 id = view.mid(i, end - i).toUInt(&number);
        if (!number) {
            *error = QStringLiteral("The layer data holds \"%1\", which is no tile id.").arg(view.mid(i, end - i));
            return false;
        }
        if (qint64(cells->size()) == count) {
            *error = QStringLiteral("The layer data holds more than %1 tile ids.").arg(count);
            return false;
        }
        cells->push_back(id);
        i = end;
        while (i < view.size() && view.at(i).isSpace())
            ++i;
        if (i < view.size() && view.at(i) == QLatin1Char(','))
            ++i;
    }
    if (qint64(cells->size()) != count) {
        *error = QStringLiteral("The layer data holds %1 tile ids, not %2.").arg(cells->size()).arg(count);
        return false;
    }
    return true;
}

// Inflates `packed` (zlib or gzip by `windowBits`) into exactly `size` bytes.
bool inflateExactly(const QByteArray& packed, int windowBits, qint64 size, QByteArray* out)
{
    if (packed.size() > qsizetype(UINT_MAX) || size > qint64(UINT_MAX))
        return false;
    out->resize(qsizetype(size));
    z_stream stream{};
    if (inflateInit2(&stream, windowBits) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    stream.avail_in = uInt(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out->data());
    stream.avail_out = uInt(size);
    // A stream that has not ended when `size` bytes are out is longer than the layer.
    const int result = inflate(&stream, Z_FINISH);
    const bool whole = result == Z_STREAM_END && stream.avail_out == 0;
    inflateEnd(&stream);
    return whole;
}

} // namespace

bool decodeLayerData(const QString& encoding, const QString& compression, const QString& text, qint64 count,
                     std::vector<quint32>* cells, QString* error)
{
    if (count < 0 || count > (qint64(1) << 26)) {
        *error = QStringLiteral("The layer of %1 cells is too large.").arg(count);
        return false;
    }
    if (encoding == QStringLiteral("csv")) {
        if (!compression.isEmpty()) {
            *error = QStringLiteral("CSV layer data cannot be compressed (\"%1\").").arg(compression);
            return false;
        }
        return decodeCsv(text, count, cells, error);
    }
    if (encoding != QStringLiteral("base64")) {
        *error =
            QStringLiteral("The layer data's encoding \"%1\" is not read; save it as CSV or Base64.").arg(encoding);
        return false;
    }
    const auto decoded =
        QByteArray::fromBase64Encoding(text.trimmed().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) {
        *error = QStringLiteral("The layer data is not valid Base64.");
        return false;
    }
    const qint64 size = count * 4;
    QByteArray raw;
    if (compression.isEmpty()) {
        raw = *decoded;
    } else if (compression == QStringLiteral("zlib") || compression == QStringLiteral("gzip")) {
        const int windowBits = compression == QStringLiteral("zlib") ? MAX_WBITS : MAX_WBITS + 16;
        if (!inflateExactly(*decoded, windowBits, size, &raw)) {
            *error = QStringLiteral("The layer data is not %1 data of %2 tile ids.").arg(compression).arg(count);
            return false;
        }
    } else {
        *error = QStringLiteral("The layer data's compression \"%1\" is not read; save it uncompressed, "
                                "with zlib or with gzip.")
                     .arg(compression);
        return false;
    }
    if (raw.size() != size) {
        *error = QStringLiteral("The layer data holds %1 bytes, not the %2 of %3 tile ids.")
                     .arg(raw.size())
                     .arg(size)
                     .arg(count);
        return false;
    }
    cells->resize(size_t(count));
    const auto* bytes = reinterpret_cast<const uchar*>(raw.constData());
    for (qint64 i = 0; i < count; ++i) {
        const uchar* p = bytes + i * 4;
        (*cells)[size_t(i)] = quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
    }
    return true;
}
