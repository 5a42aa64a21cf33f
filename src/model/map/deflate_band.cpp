#include "model/map/deflate_band.h"

#include <zlib.h>

DeflatedBand deflateBand(const QByteArray& input, const QByteArray& dictionary, bool last)
{
    DeflatedBand band;
    band.inputSize = input.size();
    band.last = last;
    const auto* in = reinterpret_cast<const Bytef*>(input.constData());
    band.adler = quint32(adler32(1, in, uInt(input.size())));
    z_stream z{};
    // A negative window size: raw deflate, no header or check value of its own.
    if (deflateInit2(&z, DeflatedBand::Level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return band;
    bool ok = dictionary.isEmpty()
        || deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(dictionary.constData()),
                                uInt(dictionary.size())) == Z_OK;
    QByteArray& out = band.output;
    // The bound plus room for the sync flush's empty stored block.
    out.resize(qsizetype(deflateBound(&z, uLong(input.size()))) + 64);
    z.next_in = const_cast<Bytef*>(in);
    z.avail_in = uInt(input.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int flush = last ? Z_FINISH : Z_SYNC_FLUSH;
    while (ok) {
        const int result = deflate(&z, flush);
        const bool done = last ? result == Z_STREAM_END : result == Z_OK && z.avail_in == 0 && z.avail_out > 0;
        if (done)
            break;
        if (result != Z_OK && result != Z_BUF_ERROR) {
            ok = false;
            break;
        }
        const qsizetype used = out.size() - qsizetype(z.avail_out);
        out.resize(out.size() * 2);
        z.next_out = reinterpret_cast<Bytef*>(out.data()) + used;
        z.avail_out = uInt(out.size() - used);
    }
    out.resize(out.size() - qsizetype(z.avail_out));
    deflateEnd(&z);
    band.deflated = ok;
    return band;
}
