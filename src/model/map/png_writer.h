#pragma once

#include "base/safe_write.h"

#include <memory>

struct PngRowState;

// A PNG file written a band of rows at a time: 8-bit RGB (no alpha), 72 dots
// per inch, rows of packed red, green, blue bytes, no row filter.
//
// The image data is cut into bands of about a mebibyte of rows, and each band
// is deflated on its own (zlib level 6, primed with the last 32 KiB of the
// band before it, ended by a sync flush) as parallel gzip tools do; the bands
// join into one zlib stream whose check value is combined from theirs. With
// more than one thread the bands are deflated by a job runner of that many,
// a few at a time, and written in order; with one they are deflated here.
// The file's bytes depend only on the pixels, never on the threads.
class PngRowWriter {
public:
    // The file's bytes go to `append`, which must outlive the writer. The
    // bands are written from the thread that calls the writer.
    PngRowWriter(int width, int height, const AppendBytes& append, int threads = 1);
    ~PngRowWriter();
    PngRowWriter(const PngRowWriter&) = delete;
    PngRowWriter& operator=(const PngRowWriter&) = delete;

    // Writes `rows` rows, the first at `first` and each `stride` bytes after
    // the one before, as the next rows of the picture, from its top down.
    bool writeRows(const uchar* first, qsizetype stride, int rows);
    // Ends the file once every row is written. False when any step failed.
    bool finish();

    // Raw image bytes (a filter byte and the row) a band holds at least.
    static constexpr qsizetype BandBytes = qsizetype(1) << 20;

private:
    std::unique_ptr<PngRowState> m_state;
};
