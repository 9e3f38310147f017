#include "tests/texture/gl/gl_context.h"

#include "support/ppm_image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace tex;

using namespace std::string_literals;

namespace {

std::unique_ptr<PPMImage> imageFrom(const std::string& bytes)
{
    std::FILE* file = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
    auto image = std::make_unique<PPMImage>(file, "memory");
    std::fclose(file);
    return image;
}

// The bound texture's level 0 as RGB bytes, rows packed tightly.
std::vector<unsigned char> rgbBytes(int width, int height)
{
    std::vector<unsigned char> bytes(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, bytes.data());
    return bytes;
}

using PPMTextureTest = GLContextTest;

TEST_F(PPMTextureTest, UploadsTheRasterAsStoredWithNearestFilters)
{
    // Three pixels a row: nine bytes, not a multiple of four.
    const std::string raster = "\x00\x01\x02\x10\x20\x30\xff\xfe\xfd\x0a\x80\x7f\x05\x06\x07\x40\x41\x42"s;
    const auto image = imageFrom("P6 3 2 255\n"s + raster);
    ASSERT_TRUE(image->loaded);
    glEnable(GL_TEXTURE_2D);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    const GLuint name = image->makeTexture();
    ASSERT_NE(name, 0u);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), GLint(name));
    EXPECT_EQ(integer(GL_UNPACK_ALIGNMENT), 1);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(textureParameter(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(textureParameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);

    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    // The file's first row is the texture's first row, at t = 0.
    EXPECT_EQ(rgbBytes(3, 2), std::vector<unsigned char>(raster.begin(), raster.end()));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glDeleteTextures(1, &name);
}

TEST_F(PPMTextureTest, SmallMaximumValueIsNotRescaled)
{
    const auto image = imageFrom("P6 1 1 15\n\x0f\x07\x00"s);
    ASSERT_TRUE(image->loaded);
    const GLuint name = image->makeTexture();
    EXPECT_EQ(rgbBytes(1, 1), (std::vector<unsigned char>{15, 7, 0}));
    glDeleteTextures(1, &name);
}

TEST_F(PPMTextureTest, SixteenBitSamplesUploadAsBigEndianValues)
{
    // Read as little-endian bytes these would come out as 1, 254, 52, 255, 0, 128.
    const std::string samples = "\xff\x00\x00\xff\x12\x34\x00\x00\xff\xff\x80\x00"s;
    const auto image = imageFrom("P6 2 1 65535\n"s + samples);
    ASSERT_TRUE(image->loaded);
    ASSERT_EQ(image->bytesPerSample, 2);

    for (const GLint callerSwap : {GL_FALSE, GL_TRUE}) {
        SCOPED_TRACE(callerSwap);
        glPixelStorei(GL_UNPACK_SWAP_BYTES, callerSwap);
        const GLuint name = image->makeTexture();
        ASSERT_NE(name, 0u);
        EXPECT_EQ(integer(GL_UNPACK_SWAP_BYTES), callerSwap);

        const std::vector<unsigned char> bytes = rgbBytes(2, 1);
        for (int i = 0; i < 6; ++i) {
            const int sample = (static_cast<unsigned char>(samples[2 * i]) << 8) | static_cast<unsigned char>(samples[2 * i + 1]);
            EXPECT_NEAR(bytes[i], sample * 255.0 / 65535.0, 1.0) << "sample " << i;
        }
        glDeleteTextures(1, &name);
    }
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
}

TEST_F(PPMTextureTest, ImageThatDidNotLoadGivesNoTextureAndTouchesNoState)
{
    const auto image = imageFrom("P6 4 2 255\n\x01\x02"s);
    ASSERT_FALSE(image->loaded);
    GLuint other = 0;
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, other);
    glEnable(GL_TEXTURE_2D);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    EXPECT_EQ(image->makeTexture(), 0u);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), GLint(other));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(integer(GL_UNPACK_ALIGNMENT), 4);
    glDeleteTextures(1, &other);
}

} // namespace
