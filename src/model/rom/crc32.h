#pragma once

#include <QByteArray>
#include <QtGlobal>

// The CRC-32 of `bytes` as zlib computes it (the checksum BPS patches carry).
quint32 crc32Of(const QByteArray& bytes);
