#pragma once

#include "tools/texbake/image_sink.h"

#include "texture/texture.h"

namespace texbake {

// A binary PPM file through the library's PPMWriter: three samples a pixel,
// red, green, blue.
class PpmOutput : public ImageSink {
public:
    PpmOutput(const std::string& path, int width, int height, Depth depth);

    bool ready() const override { return started; }
    bool writeRows(const std::uint8_t* samples, int rows) override;
    bool writeRows(const std::uint16_t* samples, int rows) override;
    bool finish() override;
    std::string error() const override { return reason; }

private:
    // Keeps the first failure's system error, for error().
    bool noteFailure(bool written);

    tex::PPMWriter writer;
    bool started;
    std::string reason;
};

} // namespace texbake
