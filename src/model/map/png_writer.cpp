#include "model/map/png_writer.h"

#include <png.h>

namespace {
// 2835 dots a metre: 72 dpi, the resolution every picture file is written at.
constexpr png_uint_32 DotsPerMeter = 2835;
// Measured on the 100 x 100 block bench map (bench_pictures): zlib level 6
// with no row filter writes in about half the time of Qt's writer (level 6,
// every filter tried on every row) and a file a quarter smaller, since rows
// of repeated 64-pixel blocks match best unfiltered. Lower levels were faster
// still but gave files 45 % (level 5) to 120 % (level 1) larger.
constexpr int ZlibLevel = 6;
constexpr int RowFilter = PNG_FILTER_NONE;
} // namespace

// libpng reports its own errors (bad arguments, no memory) by longjmp back to
// the setjmp of the call that failed; the functions that call libpng hold no
// object with a destructor for that reason.
struct PngRowState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const AppendBytes* append = nullptr;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    png_uint_32 written = 0;
    bool failed = false;
};

namespace {

void appendBytes(png_structp png, png_bytep data, size_t size)
{
    auto* state = static_cast<PngRowState*>(png_get_io_ptr(png));
    if (!state->failed && !(*state->append)(reinterpret_cast<const char*>(data), qint64(size)))
        state->failed = true;
}

void noFlush(png_structp) {}

[[noreturn]] void jumpBack(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void noWarning(png_structp, png_const_charp) {}

bool startFile(PngRowState* s)
{
    if (setjmp(png_jmpbuf(s->png)))
        return false;
    png_set_write_fn(s->png, s, appendBytes, noFlush);
    png_set_IHDR(s->png, s->info, s->width, s->height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(s->png, s->info, DotsPerMeter, DotsPerMeter, PNG_RESOLUTION_METER);
    png_set_compression_level(s->png, ZlibLevel);
    png_set_filter(s->png, PNG_FILTER_TYPE_BASE, RowFilter);
    png_write_info(s->png, s->info);
    return !s->failed;
}

bool writeRow(PngRowState* s, const uchar* row)
{
    if (setjmp(png_jmpbuf(s->png)))
        return false;
    png_write_row(s->png, row);
    return !s->failed;
}

bool endFile(PngRowState* s)
{
    if (setjmp(png_jmpbuf(s->png)))
        return false;
    png_write_end(s->png, nullptr);
    return !s->failed;
}

} // namespace

PngRowWriter::PngRowWriter(int width, int height, const AppendBytes& append) : m_state(new PngRowState)
{
    PngRowState* s = m_state.get();
    s->append = &append;
    // PNG counts rows and columns in 31 bits; a picture of no pixels is no file.
    s->failed = width <= 0 || height <= 0;
    s->width = png_uint_32(qMax(0, width));
    s->height = png_uint_32(qMax(0, height));
    if (s->failed)
        return;
    s->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpBack, noWarning);
    s->info = s->png ? png_create_info_struct(s->png) : nullptr;
    s->failed = !s->info || !startFile(s);
}

PngRowWriter::~PngRowWriter()
{
    if (m_state->png)
        png_destroy_write_struct(&m_state->png, &m_state->info);
}

bool PngRowWriter::writeRows(const uchar* first, qsizetype stride, int rows)
{
    PngRowState* s = m_state.get();
    if (s->failed || !first || rows < 0 || qint64(s->written) + rows > qint64(s->height)) {
        s->failed = true;
        return false;
    }
    for (int y = 0; y < rows && !s->failed; ++y)
        s->failed = !writeRow(s, first + qsizetype(y) * stride);
    s->written += png_uint_32(rows);
    return !s->failed;
}

bool PngRowWriter::finish()
{
    PngRowState* s = m_state.get();
    if (!s->failed && s->written == s->height)
        s->failed = !endFile(s);
    else
        s->failed = true;
    return !s->failed;
}
