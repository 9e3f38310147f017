#include "support/ppm_image.h"

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace tex {

namespace {

// Reads a decimal number the way "%d" accepts one (any white space, an
// optional '+', at least one digit) into `number`. Fails on a missing
// number, a '-' sign and values beyond int range; the caller gives up on
// the image then, so how far the stream was read does not matter.
bool readNumber(std::FILE* file, int& number)
{
    int c = std::getc(file);
    while (c != EOF && std::isspace(c))
        c = std::getc(file);
    if (c == '+')
        c = std::getc(file);
    if (c == EOF || !std::isdigit(c))
        return false;
    long long value = 0;
    while (c != EOF && std::isdigit(c)) {
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return false;
        c = std::getc(file);
    }
    if (c != EOF)
        std::ungetc(c, file);
    number = int(value);
    return true;
}


} // namespace

PPMImage::PPMImage(const std::string& filename) : filename(filename)
{
    std::FILE* file = std::fopen(filename.c_str(), "rb");
    if (file == nullptr)
        return;
    loaded = load(file);
    std::fclose(file);
}

PPMImage::PPMImage(std::FILE* file, const std::string& filename) : filename(filename)
{
    loaded = file != nullptr && load(file);
}

PPMImage::~PPMImage()
{
    std::free(pixels);
}

bool PPMImage::checkMagic(char a, char b)
{
    return a == 'P' && b == '6';
}

void PPMImage::skipComments(std::FILE* file)
{
    if (file == nullptr)
        return;
    for (;;) {
        const int c = std::getc(file);
        if (c == EOF)
            return;
        if (c == '#') {
            int d;
            do
                d = std::getc(file);
            while (d != EOF && d != '\n' && d != '\0');
        } else if (c != '\n') {
            std::ungetc(c, file);
            return;
        }
    }
}

bool PPMImage::load(std::FILE* file)
{
    skipComments(file);
    const int p = std::getc(file);
    const int six = std::getc(file);
    if (p == EOF || six == EOF || !checkMagic(char(p), char(six)))
        return false;

    int w = 0, h = 0, max = 0;
    skipComments(file);
    if (!readNumber(file, w) || !readNumber(file, h))
        return false;
    skipComments(file);
    // The one character after the maximum value ends the header.
    if (!readNumber(file, max) || std::getc(file) == EOF)
        return false;
    if (w < 1 || h < 1 || max < 1 || max > 65535)
        return false;

    const int sampleBytes = max > 255 ? 2 : 1;
    // Both factors are at most INT_MAX, so the pixel count cannot overflow;
    // the byte count is formed only once it is known to be within limits.
    const std::uint64_t pixelCount = std::uint64_t(w) * std::uint64_t(h);
    if (pixelCount > std::uint64_t(maxRasterBytes) / (3 * sampleBytes))
        return false;
    const std::size_t samples = std::size_t(pixelCount) * 3;

    unsigned char* raster = static_cast<unsigned char*>(std::malloc(samples * sampleBytes));
    if (raster == nullptr)
        return false;
    if (std::fread(raster, sampleBytes, samples, file) != samples) {
        std::free(raster);
        return false;
    }

    width = w;
    height = h;
    maxValue = max;
    bytesPerSample = sampleBytes;
    pixels = raster;
    return true;
}

} // namespace tex
