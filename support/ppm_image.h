#pragma once

#include <cstdio>
#include <string>

namespace tex {

// A binary PPM ("P6") image, loaded when constructed. The header is the
// magic "P6", the width, the height and the maximum sample value, each
// number preceded by any white space; line feeds and '#' comment lines may
// stand before the magic, before the width and before the maximum value
// (see skipComments). Exactly one character after the maximum value is
// consumed; the raster follows it.
//
// An image loads only when its header is complete and sane (width and
// height at least 1, maximum value 1..65535, a raster of at most 1 GiB)
// and the whole raster is present. Otherwise `loaded` is false, the numeric
// fields are 0 and `pixels` is null. Either way `filename` is kept.
class PPMImage {
public:
    // The largest raster accepted, in bytes.
    static constexpr long long maxRasterBytes = 1LL << 30;

    // Opens and reads the named file.
    explicit PPMImage(const std::string& filename);
    // Reads from a stream already open for reading as raw bytes, starting at
    // its current position; the stream is left open. `filename` is only
    // recorded. A null stream loads nothing.
    PPMImage(std::FILE* file, const std::string& filename);
    ~PPMImage();
    PPMImage(const PPMImage&) = delete;
    PPMImage& operator=(const PPMImage&) = delete;

    // True exactly when a is 'P' and b is '6'.
    static bool checkMagic(char a, char b);
    // Skips line feeds and comments: a '#' starts a comment, which runs up
    // to and including the next line feed or NUL byte. Stops before any
    // other character (spaces, tabs and carriage returns included) or at
    // end of file. A null stream is left alone.
    static void skipComments(std::FILE* file);

    // Part of the GL layer of the library (texture_gl, texture/gl/): link it
    // to use this. GLuint is this unsigned int.
    //
    // Uploads the image into a new GL_TEXTURE_2D (RGB, NEAREST filters,
    // REPEAT wraps, no mipmaps) and returns its name, left bound. The file's
    // first row lies at t = 0. Samples go up as stored, not rescaled by
    // maxValue: one byte per sample as GL_UNSIGNED_BYTE, two (big-endian in
    // the file) as GL_UNSIGNED_SHORT. Sets GL_UNPACK_ALIGNMENT to 1, which
    // stays in force, and disables GL_TEXTURE_2D. Returns 0, touching no GL
    // state, when the image is not loaded or GL gives no name. Needs a
    // current GL context.
    unsigned int makeTexture();

    bool loaded = false;
    std::string filename;
    int width = 0;
    int height = 0;
    int maxValue = 0;
    // 1 when maxValue is at most 255, else 2.
    int bytesPerSample = 0;
    // width × height × 3 × bytesPerSample bytes exactly as stored in the
    // file; malloc'd, owned.
    unsigned char* pixels = nullptr;

private:
    bool load(std::FILE* file);
};

} // namespace tex
