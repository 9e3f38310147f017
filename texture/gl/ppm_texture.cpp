#include "support/ppm_image.h"

#include <GL/gl.h>

#include <cstdint>
#include <cstring>
#include <type_traits>

namespace tex {

static_assert(std::is_same<GLuint, unsigned int>::value, "PPMImage::makeTexture returns a GLuint");

namespace {

bool littleEndianHost()
{
    const std::uint16_t one = 1;
    unsigned char first;
    std::memcpy(&first, &one, 1);
    return first == 1;
}

} // namespace

unsigned int PPMImage::makeTexture()
{
    if (!loaded)
        return 0;
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0)
        return 0;

    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    if (bytesPerSample == 1) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    } else {
        // The file stores 16-bit samples big-endian; let GL swap them on
        // little-endian hosts, then restore the caller's setting.
        GLint swapBytes = GL_FALSE;
        glGetIntegerv(GL_UNPACK_SWAP_BYTES, &swapBytes);
        glPixelStorei(GL_UNPACK_SWAP_BYTES, littleEndianHost() ? GL_TRUE : GL_FALSE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_SHORT, pixels);
        glPixelStorei(GL_UNPACK_SWAP_BYTES, swapBytes);
    }
    glDisable(GL_TEXTURE_2D);
    return name;
}

} // namespace tex
