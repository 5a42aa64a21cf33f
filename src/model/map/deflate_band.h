#pragma once

#include <QByteArray>

// One band of a zlib stream deflated on its own, as parallel gzip tools do:
// raw deflate at level 6 primed with the last 32 KiB of the band before it,
// ended by a sync flush (the last band by the stream's final block), so that
// the outputs of the bands in order form one deflate stream. The zlib header
// and the check value are the caller's: `adler` is this band's alone.
struct DeflatedBand {
    static constexpr int WindowBytes = 32 * 1024;
    static constexpr int Level = 6;

    QByteArray output;
    qsizetype inputSize = 0;
    quint32 adler = 1;
    bool last = false;
    bool deflated = false;
};

DeflatedBand deflateBand(const QByteArray& input, const QByteArray& dictionary, bool last);
