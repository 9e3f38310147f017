#include "support/write_ppm.h"

#include "support/ppm_writer.h"

namespace tex {

bool writePPM(const unsigned char* pixels, int width, int height, const std::string& filename)
{
    if (pixels == nullptr || width < 1 || height < 1)
        return false;
    PPMWriter writer(filename, width, height);
    return writer.writeRows(pixels, height) && writer.finish();
}

} // namespace tex
