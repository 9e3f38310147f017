#pragma once

#include "support/atomic_file.h"

#include <cstdint>
#include <string>

namespace tex {

// Writes a binary PPM ("P6") image row by row, so that an image never has to
// be in memory whole. The header is "P6 <width> <height> <maximum>\n" with a
// maximum of 255 (one byte a sample) or 65535 (two bytes a sample, most
// significant first); rows follow from the first given, each pixel red,
// green, blue. The file appears, complete, only when finish() succeeds (see
// AtomicFile): a failure at any point leaves no partial file and any old file
// unchanged.
class PPMWriter {
public:
    enum class Depth { Eight, Sixteen };

    // Starts the file. Nothing is created for a width or height below 1;
    // every later call then fails.
    PPMWriter(const std::string& path, int width, int height, Depth depth = Depth::Eight);

    // Appends `rows` rows of width × 3 samples. The overload must match the
    // depth. False once anything failed, more rows than the height were
    // given or rows were given without samples (null).
    bool writeRows(const std::uint8_t* samples, int rows);
    bool writeRows(const std::uint16_t* samples, int rows);

    // Puts the file in place. True exactly when the header and every row
    // were written and the file is complete.
    bool finish();

private:
    bool reserveRows(const void* samples, int rows, Depth expected);

    AtomicFile file;
    int width;
    int height;
    Depth depth;
    int rowsWritten = 0;
    bool failed;
};

} // namespace tex
