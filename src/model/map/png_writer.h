#pragma once

#include "base/safe_write.h"

#include <memory>

struct PngRowState;

// A PNG file written a band of rows at a time through libpng: 8-bit RGB (no
// alpha), 72 dots per inch, rows of packed red, green, blue bytes.
class PngRowWriter {
public:
    // The file's bytes go to `append`, which must outlive the writer.
    PngRowWriter(int width, int height, const AppendBytes& append);
    ~PngRowWriter();
    PngRowWriter(const PngRowWriter&) = delete;
    PngRowWriter& operator=(const PngRowWriter&) = delete;

    // Writes `rows` rows, the first at `first` and each `stride` bytes after
    // the one before, as the next rows of the picture, from its top down.
    bool writeRows(const uchar* first, qsizetype stride, int rows);
    // Ends the file once every row is written. False when any step failed.
    bool finish();

private:
    std::unique_ptr<PngRowState> m_state;
};
