#include "model/map/png_writer.h"

#include "model/map/deflate_band.h"

#include <QThreadPool>
#include <QtEndian>

#include <deque>
#include <zlib.h>

namespace {
// 2835 dots a metre: 72 dpi, the resolution every picture file is written at.
constexpr quint32 DotsPerMeter = 2835;
// Bands deflated ahead of the one written next, per thread of the pool.
constexpr int AheadPerThread = 2;
} // namespace

struct PngRowState {
    const AppendBytes* append = nullptr;
    QThreadPool* pool = nullptr;
    quint32 width = 0;
    quint32 height = 0;
    quint32 written = 0;
    qsizetype rowBytes = 0;      // a filter byte and the pixels
    int bandRows = 0;
    QByteArray band;             // rows of the band being filled
    QByteArray dictionary;       // the last bytes of the band before it
    std::deque<std::unique_ptr<DeflateBand>> waiting;
    quint32 adler = 1;           // of every band written so far
    bool headerWritten = false;
    bool failed = false;

    bool chunk(const char* type, const QByteArray& data);
    void submit(bool last);
    bool writeFront();
};

bool PngRowState::chunk(const char* type, const QByteArray& data)
{
    if (failed)
        return false;
    uchar length[4];
    qToBigEndian(quint32(data.size()), length);
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size()));
    uchar check[4];
    qToBigEndian(quint32(crc), check);
    failed = !(*append)(reinterpret_cast<const char*>(length), 4) || !(*append)(type, 4)
        || !(*append)(data.constData(), data.size()) || !(*append)(reinterpret_cast<const char*>(check), 4);
    return !failed;
}

// Hands the filled band to the pool (or deflates it now) and starts the next.
void PngRowState::submit(bool last)
{
    auto job = std::make_unique<DeflateBand>(band, dictionary, last);
    dictionary = band.right(DeflateBand::WindowBytes);
    band.clear();
    if (pool)
        pool->start(job.get());
    else
        job->run();
    waiting.push_back(std::move(job));
}

// Writes the oldest band as an IDAT chunk once it is deflated: the zlib
// header before the first band, the combined check value after the last.
bool PngRowState::writeFront()
{
    std::unique_ptr<DeflateBand> job = std::move(waiting.front());
    waiting.pop_front();
    job->wait(pool);
    if (!job->deflated())
        failed = true;
    QByteArray data;
    if (!headerWritten)
        data.append("\x78\x9c", 2);   // deflate, 32 KiB window, level 6
    headerWritten = true;
    data += job->output();
    adler = quint32(adler32_combine(adler, job->adler(), z_off_t(job->inputSize())));
    if (job->isLast()) {
        uchar sum[4];
        qToBigEndian(adler, sum);
        data.append(reinterpret_cast<const char*>(sum), 4);
    }
    return chunk("IDAT", data);
}

PngRowWriter::PngRowWriter(int width, int height, const AppendBytes& append, QThreadPool* pool)
    : m_state(new PngRowState)
{
    PngRowState* s = m_state.get();
    s->append = &append;
    s->pool = pool;
    // PNG counts rows and columns in 31 bits; a picture of no pixels is no file.
    s->failed = width <= 0 || height <= 0 || qint64(width) * 3 + 1 > (qint64(1) << 30);
    if (s->failed)
        return;
    s->width = quint32(width);
    s->height = quint32(height);
    s->rowBytes = qsizetype(width) * 3 + 1;
    s->bandRows = int(qMax<qint64>(1, (PngRowWriter::BandBytes + s->rowBytes - 1) / s->rowBytes));

    s->failed = !append("\x89PNG\r\n\x1a\n", 8);
    QByteArray header(13, '\0');
    qToBigEndian(s->width, header.data());
    qToBigEndian(s->height, header.data() + 4);
    header[8] = 8;   // bits a sample
    header[9] = 2;   // RGB; compression, filter and interlace 0
    s->chunk("IHDR", header);
    QByteArray density(9, '\0');
    qToBigEndian(DotsPerMeter, density.data());
    qToBigEndian(DotsPerMeter, density.data() + 4);
    density[8] = 1;  // a metre
    s->chunk("pHYs", density);
}

PngRowWriter::~PngRowWriter()
{
    // Bands still with the pool refer to nothing of ours but their own bytes;
    // they are waited for so that none outlives the writer.
    for (const std::unique_ptr<DeflateBand>& job : m_state->waiting)
        job->wait(m_state->pool);
}

bool PngRowWriter::writeRows(const uchar* first, qsizetype stride, int rows)
{
    PngRowState* s = m_state.get();
    if (s->failed || !first || rows < 0 || qint64(s->written) + rows > qint64(s->height)) {
        s->failed = true;
        return false;
    }
    const int ahead = s->pool ? AheadPerThread * qMax(1, s->pool->maxThreadCount()) : 0;
    for (int y = 0; y < rows && !s->failed; ++y) {
        if (s->band.isEmpty())
            s->band.reserve(s->rowBytes * s->bandRows);
        s->band.append('\0');   // filter: none
        s->band.append(reinterpret_cast<const char*>(first + qsizetype(y) * stride), s->rowBytes - 1);
        ++s->written;
        const bool last = s->written == s->height;
        if (last || s->band.size() >= s->rowBytes * s->bandRows)
            s->submit(last);
        while (!s->failed && qsizetype(s->waiting.size()) > ahead)
            s->writeFront();
    }
    return !s->failed;
}

bool PngRowWriter::finish()
{
    PngRowState* s = m_state.get();
    if (s->failed || s->written != s->height) {
        s->failed = true;
        return false;
    }
    while (!s->failed && !s->waiting.empty())
        s->writeFront();
    s->chunk("IEND", QByteArray());
    return !s->failed;
}
