#include "tools/texbake/png_output.h"

#include "tools/texbake/options.h"

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <zlib.h>

namespace texbake {

namespace {

// libpng reports errors by a long jump back to the setjmp of the call that
// failed; each call therefore has its own small function, with no objects
// that need destroying between the setjmp and the call.

bool startImage(png_structp png, png_infop info, std::FILE* out, int width, int height, int bitDepth,
                int colourType)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, out);
    // libpng refuses sides above 1,000,000 unless told otherwise.
    png_set_user_limits(png, png_uint_32(maxSide), png_uint_32(maxSide));
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Fixed choices, so that the bytes depend on the pixels alone. The Up
    // filter suits smooth fields. zlib's fastest level: on smooth fields its
    // usual level 6 runs five to eight times slower (some 6 MB/s against
    // 40) and outpaces the bake itself, for files only a third smaller.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, Z_BEST_SPEED);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_write_info(png, info);
    // PNG samples are big-endian; the bakes give native 16-bit integers.
    const std::uint16_t probe = 1;
    unsigned char first;
    std::memcpy(&first, &probe, 1);
    if (bitDepth == 16 && first == 1)
        png_set_swap(png);
    return true;
}

bool writeRow(png_structp png, const void* row)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_write_row(png, static_cast<png_const_bytep>(row));
    return true;
}

bool endImage(png_structp png, png_infop info)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_write_end(png, info);
    return true;
}

int colourTypeOf(tex::Channels channels)
{
    switch (channels) {
    case tex::Channels::Grey:
        return PNG_COLOR_TYPE_GRAY;
    case tex::Channels::RGB:
        return PNG_COLOR_TYPE_RGB;
    case tex::Channels::RGBA:
        break;
    }
    return PNG_COLOR_TYPE_RGBA;
}

} // namespace

PngOutput::PngOutput(const std::string& path, int width, int height, tex::Channels channels, Depth depth,
                     const std::atomic<bool>* cancel)
    : file(path), cancel(cancel), width(width), height(height), channels(channels), depth(depth)
{
    if (file.stream() == nullptr) {
        reason = errno != 0 ? std::strerror(errno) : "";
        return;
    }
    png = png_create_write_struct(PNG_LIBPNG_VER_STRING, this, onError, onWarning);
    info = png == nullptr ? nullptr : png_create_info_struct(png);
    started = info != nullptr
        && startImage(png, info, file.stream(), width, height, static_cast<int>(depth), colourTypeOf(channels));
    failed = !started;
}

PngOutput::~PngOutput()
{
    png_destroy_write_struct(png == nullptr ? nullptr : &png, info == nullptr ? nullptr : &info);
}

void PngOutput::onError(png_structp png, png_const_charp message)
{
    auto* self = static_cast<PngOutput*>(png_get_error_ptr(png));
    self->reason = message;
    png_longjmp(png, 1);
}

void PngOutput::onWarning(png_structp, png_const_charp) {}

bool PngOutput::writeSampleRows(const void* samples, int rows, Depth given)
{
    if (failed || given != depth || rows < 0 || rows > height - rowsWritten) {
        failed = true;
        return false;
    }
    const std::size_t rowBytes = std::size_t(width) * std::size_t(channels) * (depth == Depth::Eight ? 1 : 2);
    const auto* bytes = static_cast<const unsigned char*>(samples);
    errno = 0;
    for (int r = 0; r < rows && !failed; ++r) {
        // A row of the widest image takes a few milliseconds to compress.
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            failed = true;
            reason = "interrupted";
            break;
        }
        failed = !writeRow(png, bytes + std::size_t(r) * rowBytes);
    }
    if (failed && errno != 0)
        reason = std::strerror(errno);
    rowsWritten += rows;
    return !failed;
}

bool PngOutput::writeRows(const std::uint8_t* samples, int rows)
{
    return writeSampleRows(samples, rows, Depth::Eight);
}

bool PngOutput::writeRows(const std::uint16_t* samples, int rows)
{
    return writeSampleRows(samples, rows, Depth::Sixteen);
}

bool PngOutput::finish()
{
    errno = 0;
    if (failed || rowsWritten != height || !endImage(png, info) || !file.commit()) {
        if (reason.empty() && errno != 0)
            reason = std::strerror(errno);
        failed = true;
        return false;
    }
    return true;
}

} // namespace texbake
