#include "model/map/deflate_band.h"

#include <QThreadPool>

#include <zlib.h>

DeflateBand::DeflateBand(QByteArray input, QByteArray dictionary, bool last)
    : m_input(std::move(input)), m_inputSize(m_input.size()), m_dictionary(std::move(dictionary)), m_last(last)
{
    setAutoDelete(false);
}

void DeflateBand::run()
{
    const auto* in = reinterpret_cast<const Bytef*>(m_input.constData());
    m_adler = quint32(adler32(1, in, uInt(m_input.size())));
    z_stream z{};
    // A negative window size: raw deflate, no header or check value of its own.
    if (deflateInit2(&z, Level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        m_done.release();
        return;
    }
    bool ok = m_dictionary.isEmpty()
        || deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(m_dictionary.constData()),
                                uInt(m_dictionary.size())) == Z_OK;
    // The bound plus room for the sync flush's empty stored block.
    m_output.resize(qsizetype(deflateBound(&z, uLong(m_input.size()))) + 64);
    z.next_in = const_cast<Bytef*>(in);
    z.avail_in = uInt(m_input.size());
    z.next_out = reinterpret_cast<Bytef*>(m_output.data());
    z.avail_out = uInt(m_output.size());
    const int flush = m_last ? Z_FINISH : Z_SYNC_FLUSH;
    while (ok) {
        const int result = deflate(&z, flush);
        const bool done = m_last ? result == Z_STREAM_END : result == Z_OK && z.avail_in == 0 && z.avail_out > 0;
        if (done)
            break;
        if (result != Z_OK && result != Z_BUF_ERROR) {
            ok = false;
            break;
        }
        const qsizetype used = m_output.size() - qsizetype(z.avail_out);
        m_output.resize(m_output.size() * 2);
        z.next_out = reinterpret_cast<Bytef*>(m_output.data()) + used;
        z.avail_out = uInt(m_output.size() - used);
    }
    m_output.resize(m_output.size() - qsizetype(z.avail_out));
    deflateEnd(&z);
    m_deflated = ok;
    m_input.clear();
    m_dictionary.clear();
    m_input.squeeze();
    m_done.release();
}

void DeflateBand::wait(QThreadPool* pool)
{
    if (m_waited)
        return;
    m_waited = true;
    if (pool && pool->tryTake(this))
        run();
    m_done.acquire();
}
