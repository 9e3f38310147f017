#include "tests/texture/bake/bake_fields.h"
#include "tests/texture/gl/gl_context.h"

#include "texture/bake/memory_bake.h"
#include "texture/gl/texture_bake.h"
#include "texture/colour/colour_map.h"
#include "texture/scalar/noise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

using namespace tex;

namespace {

// Texels are stored by GL at 8 bits or better.
const double texelTolerance = 1.0 / 255;

// The bound texture's level 0 read back in `format` as floats.
std::vector<float> texels(GLenum format, int width, int height)
{
    std::vector<float> values(size_t(width) * height * (format == GL_RGBA ? 4 : 1));
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_FLOAT, values.data());
    return values;
}

double unit(double v)
{
    return std::min(1.0, std::max(0.0, v));
}

class BakeTextureTest : public GLContextTest {
protected:
    // The texture `name` is bound, is width × height with `format`, and has
    // linear filters, repeat wraps and no mipmaps.
    void expectBakedTexture(GLuint name, GLenum format, int width, int height)
    {
        ASSERT_NE(name, 0u);
        EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), GLint(name));
        EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), width);
        EXPECT_EQ(levelParameter(GL_TEXTURE_HEIGHT), height);
        EXPECT_EQ(levelParameter(GL_TEXTURE_INTERNAL_FORMAT), GLint(format));
        GLint value = -1;
        for (const GLenum filter : {GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER}) {
            glGetTexParameteriv(GL_TEXTURE_2D, filter, &value);
            EXPECT_EQ(value, GL_LINEAR);
        }
        for (const GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
            glGetTexParameteriv(GL_TEXTURE_2D, wrap, &value);
            EXPECT_EQ(value, GL_REPEAT);
        }
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
};

TEST_F(BakeTextureTest, ColourBakeStoresClampedColoursOnTheGrid)
{
    RecordingColour colour([](double x, double y, double) { return Colour(1.2 - x, 4 * y - 0.1, 0.5, 2.0 - 2 * x); });
    const GLuint name = bakeTexture(colour, 4, 2, 1.0, 0.0, 0.0, 0.0);
    expectBakedTexture(name, GL_RGBA, 4, 2);
    EXPECT_EQ(colour.points, gridPoints(4, 2, 0.25, 0, 0, 0));

    const std::vector<float> rgba = texels(GL_RGBA, 4, 2);
    // Texel 0 is (1.2, -0.1, 0.5, 2.0) clamped; row 0 comes first, at t = 0.
    EXPECT_NEAR(rgba[0], 1.0, texelTolerance);
    EXPECT_NEAR(rgba[1], 0.0, texelTolerance);
    EXPECT_NEAR(rgba[2], 0.5, texelTolerance);
    EXPECT_NEAR(rgba[3], 1.0, texelTolerance);
    for (size_t i = 0; i < colour.points.size(); ++i) {
        const SamplePoint& p = colour.points[i];
        const Colour expected = colour.result(p.x, p.y, p.z);
        SCOPED_TRACE(i);
        EXPECT_NEAR(rgba[4 * i], unit(expected.r), texelTolerance);
        EXPECT_NEAR(rgba[4 * i + 1], unit(expected.g), texelTolerance);
        EXPECT_NEAR(rgba[4 * i + 2], unit(expected.b), texelTolerance);
        EXPECT_NEAR(rgba[4 * i + 3], unit(expected.a), texelTolerance);
    }
    glDeleteTextures(1, &name);
}

TEST_F(BakeTextureTest, ScalarBakeStoresLuminance)
{
    RecordingField field([](double x, double y, double) { return x - 0.5 + 2 * y; });
    const GLuint name = bakeTexture(field, 2, 4, 1.0, 0.0, 0.0, 0.0);
    expectBakedTexture(name, GL_LUMINANCE, 2, 4);
    EXPECT_EQ(field.points, (std::vector<SamplePoint>{{0, 0, 0}, {0.25, 0, 0}, {0, 0.25, 0}, {0.25, 0.25, 0},
                                                      {0, 0.5, 0}, {0.25, 0.5, 0}, {0, 0.75, 0}, {0.25, 0.75, 0}}));
    const std::vector<float> luminance = texels(GL_LUMINANCE, 2, 4);
    // Through the field's contrast stage.
    const std::vector<double> expected = {0.01, 0.01, 0.01, 0.25, 0.5, 0.75, 0.99, 0.99};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(luminance[i], expected[i], texelTolerance) << "texel " << i;
    glDeleteTextures(1, &name);
}

TEST_F(BakeTextureTest, FlatBakesHonourOriginAndPlane)
{
    RecordingField field;
    const GLuint name = bakeTexture(field, 5, 3, 10.0, 1.5, -2.0, 0.75);
    EXPECT_EQ(field.points, gridPoints(5, 3, 2.0, 1.5, -2.0, 0.75));
    glDeleteTextures(1, &name);
}

TEST_F(BakeTextureTest, SphereRowsRunFromThePoleAndColumnsRoundTheAxis)
{
    const double cx = 1, cy = -1, cz = 3, radius = 2;
    const int width = 8, height = 4;
    RecordingColour colour([](double, double, double z) { return Colour(z - 2, 0, 0, 1); });
    const GLuint name = bakeSphereTexture(colour, width, height, radius, cx, cy, cz);
    expectBakedTexture(name, GL_RGBA, width, height);
    ASSERT_EQ(colour.points.size(), size_t(width * height));

    for (int c = 0; c < width; ++c)
        EXPECT_EQ(colour.points[c], (SamplePoint{cx, cy, cz + radius})) << "column " << c;
    for (int r = 0; r < height; ++r) {
        // θ = π r / height, φ = 2π c / width: each angle has its own divisor.
        const double theta = M_PI * r / height;
        for (int c = 0; c < width; ++c) {
            const double phi = 2 * M_PI * c / width;
            const SamplePoint& p = colour.points[size_t(r) * width + c];
            SCOPED_TRACE(testing::Message() << "row " << r << " column " << c);
            EXPECT_NEAR(p.x, cx + radius * std::cos(phi) * std::sin(theta), 1e-12);
            EXPECT_NEAR(p.y, cy + radius * std::sin(phi) * std::sin(theta), 1e-12);
            EXPECT_NEAR(p.z, cz + radius * std::cos(theta), 1e-12);
        }
    }
    // The equator's column 2 is a quarter turn round; the last row stops short of the far pole.
    EXPECT_NEAR(colour.points[2 * width + 2].y, cy + radius, 1e-12);
    EXPECT_NEAR(colour.points[3 * width].z, cz - radius * std::sqrt(0.5), 1e-12);

    const std::vector<float> rgba = texels(GL_RGBA, width, height);
    for (int c = 0; c < width; ++c)
        EXPECT_NEAR(rgba[4 * c], 1.0, texelTolerance);
    glDeleteTextures(1, &name);

    RecordingField field([](double, double, double z) { return z / 10; });
    const GLuint scalar = bakeSphereTexture(field, 3, 2, 4.0, 0, 0, 0);
    expectBakedTexture(scalar, GL_LUMINANCE, 3, 2);
    const std::vector<float> luminance = texels(GL_LUMINANCE, 3, 2);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(field.points[c], (SamplePoint{0, 0, 4}));
        EXPECT_NEAR(luminance[c], 0.4, texelTolerance);
        EXPECT_NEAR(luminance[3 + c], 0.01, texelTolerance);
    }
    glDeleteTextures(1, &scalar);
}

TEST_F(BakeTextureTest, EmptyOrNegativeSizesGiveNoTexture)
{
    GLuint before = 0;
    glGenTextures(1, &before);
    glBindTexture(GL_TEXTURE_2D, before);
    RecordingField field;
    RecordingColour colour;
    for (const auto& size : std::vector<std::pair<int, int>>{{0, 4}, {4, 0}, {-2, 4}, {4, -1}}) {
        EXPECT_EQ(bakeTexture(field, size.first, size.second, 1, 0, 0, 0), 0u);
        EXPECT_EQ(bakeTexture(colour, size.first, size.second, 1, 0, 0, 0), 0u);
        EXPECT_EQ(bakeSphereTexture(field, size.first, size.second, 1, 0, 0, 0), 0u);
        EXPECT_EQ(bakeSphereTexture(colour, size.first, size.second, 1, 0, 0, 0), 0u);
    }
    EXPECT_TRUE(field.points.empty());
    EXPECT_TRUE(colour.points.empty());
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), GLint(before));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glDeleteTextures(1, &before);
}

TEST_F(BakeTextureTest, ColourMapOverNoiseMatchesTexelByTexel)
{
    const double stops[] = {
        0.0, 0.5, 0.2, 0.4, 0.1, 0.4, 0.5, 0.2, 0.4, 0.1, 0.95, 0.8, 0.6, 0.2, 0.1, 1.0, 0.5, 0.2, 0.4, 0.1,
    };
    Noise noise(7, 16);
    ColourMap map;
    map.setInput(&noise, 0);
    map.spline()->setStops(stops, 4);
    const int size = 64;
    const GLuint name = bakeTexture(map, size, size, 16.0, 0.0, 0.0, 0.0);
    expectBakedTexture(name, GL_RGBA, size, size);

    const std::vector<float> rgba = texels(GL_RGBA, size, size);
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            Colour expected = map.colour(c * 0.25, r * 0.25, 0.0);
            expected.clampToUnit();
            const float* texel = &rgba[(size_t(r) * size + c) * 4];
            ASSERT_NEAR(texel[0], expected.r, texelTolerance) << r << ", " << c;
            ASSERT_NEAR(texel[1], expected.g, texelTolerance) << r << ", " << c;
            ASSERT_NEAR(texel[2], expected.b, texelTolerance) << r << ", " << c;
            ASSERT_NEAR(texel[3], 0.1, texelTolerance) << r << ", " << c;
        }
    }
    glDeleteTextures(1, &name);
}

TEST_F(BakeTextureTest, SphereTexelsAreTheMemoryBakesSamples)
{
    const double stops[] = {0.0, 1.0, 0.0, 0.0, 1.0, 0.5, 0.0, 1.0, 0.0, 0.5, 1.0, 0.0, 0.0, 1.0, 1.0};
    Noise noise(11, 16);
    ColourMap map;
    map.setInput(&noise, 0);
    map.spline()->setStops(stops, 3);
    const int width = 48;
    const int height = 24;
    std::vector<float> samples(size_t(width) * height * 4);
    ASSERT_TRUE(bakeFloats(map, Grid::sphere(width, height, 3.0, 0.5, -0.5, 2.0), samples.data()));

    const GLuint name = bakeSphereTexture(map, width, height, 3.0, 0.5, -0.5, 2.0);
    expectBakedTexture(name, GL_RGBA, width, height);
    // GL keeps these texels as bytes, rounding each float to the nearest.
    std::vector<std::uint8_t> stored(samples.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, stored.data());
    for (size_t i = 0; i < samples.size(); ++i)
        ASSERT_EQ(stored[i], std::lrint(samples[i] * 255.0f)) << "sample " << i;
    glDeleteTextures(1, &name);
}

TEST_F(BakeTextureTest, ImpossibleSizesGiveNoTexture)
{
    RecordingField field;
    RecordingColour colour;
    const int big = std::numeric_limits<int>::max();
    EXPECT_EQ(bakeTexture(field, big, big, 1, 0, 0, 0), 0u);
    EXPECT_EQ(bakeTexture(colour, big, 2, 1, 0, 0, 0), 0u);
    EXPECT_EQ(bakeSphereTexture(colour, 1 << 14, 1 << 14, 1, 0, 0, 0), 0u); // 4 GiB of floats
    EXPECT_TRUE(field.points.empty());
    EXPECT_TRUE(colour.points.empty());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace
