#include "model/map/png_writer.h"

#include "base/job_runner.h"
#include "model/map/deflate_band.h"

#include <QtEndian>

#include <zlib.h>

namespace {
// 2835 dots a metre: 72 dpi, the resolution every picture file is written at.
constexpr quint32 DotsPerMeter = 2835;
// Bands out at a time, per thread.
constexpr int AheadPerThread = 2;
} // namespace

struct PngRowState {
    const AppendBytes* append = nullptr;
    quint32 width = 0;
    quint32 height = 0;
    quint32 written = 0;
    qsizetype rowBytes = 0;      // a filter byte and the pixels
    int bandRows = 0;
    QByteArray band;             // rows of the band being filled
    QByteArray dictionary;       // the last bytes of the band before it
    quint32 adler = 1;           // of every band written so far
    bool headerWritten = false;
    bool failed = false;
    // Deflates the bands and hands them back in order; destroyed first, so
    // that no band still out outlives the state it writes into.
    std::unique_ptr<JobRunner> bands;

    bool chunk(const char* type, const QByteArray& data);
    void submit(bool last);
    void write(const DeflatedBand& band);
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

// Hands the filled band to the runner and starts the next. The runner writes
// the bands in the order they came, taking the oldest back first when too
// many are out.
void PngRowState::submit(bool last)
{
    const QByteArray input = band, primer = dictionary;
    dictionary = band.right(DeflatedBand::WindowBytes);
    band.clear();
    bands->add([this, input, primer, last](JobRunner::Job&) -> JobRunner::Handover {
        auto deflated = std::make_shared<DeflatedBand>(deflateBand(input, primer, last));
        return {[this, deflated] { write(*deflated); }};
    });
}

// Writes a deflated band as an IDAT chunk: the zlib header before the first
// band, the combined check value after the last.
void PngRowState::write(const DeflatedBand& deflated)
{
    if (!deflated.deflated)
        failed = true;
    QByteArray data;
    if (!headerWritten)
        data.append("\x78\x9c", 2);   // deflate, 32 KiB window, level 6
    headerWritten = true;
    data += deflated.output;
    adler = quint32(adler32_combine(adler, deflated.adler, z_off_t(deflated.inputSize)));
    if (deflated.last) {
        uchar sum[4];
        qToBigEndian(adler, sum);
        data.append(reinterpret_cast<const char*>(sum), 4);
    }
    chunk("IDAT", data);
}

PngRowWriter::PngRowWriter(int width, int height, const AppendBytes& append, int threads)
    : m_state(new PngRowState)
{
    PngRowState* s = m_state.get();
    s->append = &append;
    // One thread: every band deflated and written at once, here.
    s->bands = std::make_unique<JobRunner>(threads > 1 ? threads : 0, AheadPerThread * qMax(1, threads));
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

// The runner, destroyed first, waits for the bands still out and drops them.
PngRowWriter::~PngRowWriter() = default;

bool PngRowWriter::writeRows(const uchar* first, qsizetype stride, int rows)
{
    PngRowState* s = m_state.get();
    if (s->failed || !first || rows < 0 || qint64(s->written) + rows > qint64(s->height)) {
        s->failed = true;
        return false;
    }
    for (int y = 0; y < rows && !s->failed; ++y) {
        if (s->band.isEmpty())
            s->band.reserve(s->rowBytes * s->bandRows);
        s->band.append('\0');   // filter: none
        s->band.append(reinterpret_cast<const char*>(first + qsizetype(y) * stride), s->rowBytes - 1);
        ++s->written;
        const bool last = s->written == s->height;
        if (last || s->band.size() >= s->rowBytes * s->bandRows)
            s->submit(last);
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
    s->bands->finish();
    s->chunk("IEND", QByteArray());
    return !s->failed;
}
