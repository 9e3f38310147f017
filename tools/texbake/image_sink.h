#pragma once

#include <cstdint>
#include <string>

namespace texbake {

// Bits per sample of an output image.
enum class Depth { Eight = 8, Sixteen = 16 };

// An image file written row by row from the first row, the layout of its
// pixels (channels and depth) fixed when it is started. The file appears,
// complete, only when finish() succeeds; a failure at any point leaves no
// partial file and any old file unchanged.
class ImageSink {
public:
    virtual ~ImageSink() = default;

    // False when the file could not be started; error() says why.
    virtual bool ready() const = 0;
    // Appends `rows` rows of samples, no padding between rows. The overload
    // must match the depth. False once anything failed.
    virtual bool writeRows(const std::uint8_t* samples, int rows) = 0;
    virtual bool writeRows(const std::uint16_t* samples, int rows) = 0;
    // Puts the file in place: true exactly when every row was written.
    virtual bool finish() = 0;
    // What went wrong, for a message; empty when nothing is known.
    virtual std::string error() const { return std::string(); }
};

} // namespace texbake
