#include "support/write_ppm.h"

#include <cstddef>
#include <cstdio>

namespace tex {

bool writePPM(const unsigned char* pixels, int width, int height, const std::string& filename)
{
    if (pixels == nullptr || width < 1 || height < 1)
        return false;

    std::FILE* file = std::fopen(filename.c_str(), "wb");
    if (file == nullptr)
        return false;

    const std::size_t bytes = std::size_t(width) * std::size_t(height) * 3;
    bool written = std::fprintf(file, "P6 %d %d %d\n", width, height, 255) > 0;
    written = written && std::fwrite(pixels, 1, bytes, file) == bytes;
    // Close in every case; a failed close can mean buffered bytes were lost.
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

} // namespace tex
