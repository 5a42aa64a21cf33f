#include "model/rom/cartridge_header.h"

namespace CartridgeHeader {

namespace {

quint8 byteAt(const QByteArray& image, qint64 offset)
{
    return quint8(image.at(qsizetype(offset)));
}

quint8 headerChecksum(const QByteArray& image)
{
    quint8 x = 0;
    for (qint64 i = ChecksummedStart; i < HeaderChecksumOffset; ++i)
        x = quint8(x - byteAt(image, i) - 1);
    return x;
}

quint16 globalChecksum(const QByteArray& image)
{
    quint32 sum = 0;
    const auto* bytes = reinterpret_cast<const quint8*>(image.constData());
    for (qsizetype i = 0; i < image.size(); ++i)
        sum += bytes[i];
    sum -= byteAt(image, GlobalChecksumOffset) + byteAt(image, GlobalChecksumOffset + 1);
    return quint16(sum);
}

} // namespace

std::optional<Checksums> checksums(const QByteArray& image)
{
    if (image.size() < HeaderEnd)
        return std::nullopt;
    Checksums result;
    result.storedHeader = byteAt(image, HeaderChecksumOffset);
    result.header = headerChecksum(image);
    result.storedGlobal = quint16(byteAt(image, GlobalChecksumOffset) << 8 | byteAt(image, GlobalChecksumOffset + 1));
    result.global = globalChecksum(image);
    return result;
}

bool setChecksums(QByteArray& image)
{
    if (image.size() < HeaderEnd)
        return false;
    image[qsizetype(HeaderChecksumOffset)] = char(headerChecksum(image));
    const quint16 sum = globalChecksum(image);
    image[qsizetype(GlobalChecksumOffset)] = char(sum >> 8);
    image[qsizetype(GlobalChecksumOffset + 1)] = char(sum & 0xFF);
    return true;
}

} // namespace CartridgeHeader
