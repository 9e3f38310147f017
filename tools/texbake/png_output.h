#pragma once

#include "tools/texbake/image_sink.h"

#include "texture/texture.h"

#include <png.h>

#include <atomic>

namespace texbake {

// A PNG file through libpng: grey (one sample a pixel), RGB or RGBA, 8 or
// 16 bits a sample, no interlacing. The bytes depend on the pixels alone:
// one fixed filter and compression level, and no time or text chunks, so the
// same image always gives the same file (with the same zlib).
class PngOutput : public ImageSink {
public:
    // Where `cancel` is given, writeRows looks at it before each row and
    // fails once it reads true, so that a band is given up within a row.
    PngOutput(const std::string& path, int width, int height, tex::Channels channels, Depth depth,
              const std::atomic<bool>* cancel = nullptr);
    ~PngOutput() override;
    PngOutput(const PngOutput&) = delete;
    PngOutput& operator=(const PngOutput&) = delete;

    bool ready() const override { return started; }
    bool writeRows(const std::uint8_t* samples, int rows) override;
    bool writeRows(const std::uint16_t* samples, int rows) override;
    bool finish() override;
    std::string error() const override { return reason; }

private:
    bool writeSampleRows(const void* samples, int rows, Depth given);
    static void onError(png_structp png, png_const_charp message);
    static void onWarning(png_structp png, png_const_charp message);

    tex::AtomicFile file;
    const std::atomic<bool>* cancel;
    png_structp png = nullptr;
    png_infop info = nullptr;
    int width;
    int height;
    tex::Channels channels;
    Depth depth;
    int rowsWritten = 0;
    bool started = false;
    bool failed = false;
    std::string reason;
};

} // namespace texbake
