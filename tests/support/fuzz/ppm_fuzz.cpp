// libFuzzer entry: every input is read as a PPM file from memory.
#include "ppm_invariants.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

using namespace tex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // fmemopen refuses an empty buffer; an empty temporary file stands in.
    std::FILE* file = size > 0 ? fmemopen(const_cast<std::uint8_t*>(data), size, "rb") : std::tmpfile();
    if (file == nullptr)
        return 0;
    {
        const PPMImage image(file, "fuzz input");
        requireSoundImage(image);
    }
    std::fclose(file);
    return 0;
}
