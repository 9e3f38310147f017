#include "app/world_background.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int side = 512;

// The bound background texture as RGBA floats, row 0 first.
std::vector<float> backgroundTexels()
{
    std::vector<float> texels(side * side * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, texels.data());
    return texels;
}

float channel(const std::vector<float>& texels, int row, int column, int c)
{
    return texels[(row * side + column) * 4 + c];
}

// How far the texture matrix has turned the background, in degrees.
double textureTurn()
{
    GLfloat texture[16];
    glGetFloatv(GL_TEXTURE_MATRIX, texture);
    return std::atan2(texture[1], texture[0]) * 180 / M_PI;
}

// A compatibility-profile context current on an off-screen surface, as
// the world's drawing thread has, with the background set up in it.
class BackgroundContext {
public:
    BackgroundContext()
    {
        QSurfaceFormat format;
        format.setProfile(QSurfaceFormat::CompatibilityProfile);
        surface.setFormat(format);
        surface.create();
        context.setFormat(format);
        current = context.create() && context.makeCurrent(&surface);
        if (current)
            texture = setUpBackground();
    }
    ~BackgroundContext() { context.doneCurrent(); }

    bool current = false;
    GLuint texture = 0;

private:
    QOffscreenSurface surface;
    QOpenGLContext context;
};

} // namespace

TEST(WorldBackground, StopsArePurpleAndOchreAtATenthOpacity)
{
    const double expected[4][5] = {
        {0.0, 0.5, 0.2, 0.4, 0.1},
        {0.4, 0.5, 0.2, 0.4, 0.1},
        {0.95, 0.8, 0.6, 0.2, 0.1},
        {1.0, 0.5, 0.2, 0.4, 0.1},
    };
    for (int row = 0; row < 4; ++row)
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(expected[row][c], backgroundStops[row][c]) << row << ", " << c;
}

TEST(WorldBackground, SetUpLeavesAReplacingRepeatingTextureBound)
{
    BackgroundContext gl;
    ASSERT_TRUE(gl.current);

    GLint value = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_NE(0, value);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(GL_REPLACE, value);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(side, value);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &value);
    EXPECT_EQ(side, value);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(GL_REPEAT, value);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(GL_REPEAT, value);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(GL_LINEAR, value);
}

TEST(WorldBackground, EveryTexelHasAlphaOneTenthAndLiesInTheStopsColours)
{
    BackgroundContext gl;
    ASSERT_TRUE(gl.current);
    const std::vector<float> texels = backgroundTexels();
    const float alpha = channel(texels, 0, 0, 3);
    EXPECT_NEAR(0.1, alpha, 1.0 / 255);
    float lowestGreen = 1;
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column) {
            ASSERT_EQ(alpha, channel(texels, row, column, 3)) << row << ", " << column;
            lowestGreen = std::min(lowestGreen, channel(texels, row, column, 1));
        }
    // Over noise values the spline's green dips no lower than about 0.14.
    EXPECT_GT(lowestGreen, 0.1f);
}

// Column 511 is followed by column 0, and row 511 by row 0, as smoothly as
// any two neighbouring texels follow each other.
TEST(WorldBackground, TextureJoinsWithoutSeams)
{
    BackgroundContext gl;
    ASSERT_TRUE(gl.current);
    const std::vector<float> texels = backgroundTexels();
    float largestStep = 0;
    float largestSeam = 0;
    for (int a = 0; a < side; ++a)
        for (int b = 0; b < side; ++b)
            for (int c = 0; c < 3; ++c) {
                const int next = (b + 1) % side;
                const float across = std::fabs(channel(texels, a, b, c) - channel(texels, a, next, c));
                const float down = std::fabs(channel(texels, b, a, c) - channel(texels, next, a, c));
                if (next == 0)
                    largestSeam = std::max({largestSeam, across, down});
                else
                    largestStep = std::max({largestStep, across, down});
            }
    EXPECT_GT(largestStep, 0.0f);
    EXPECT_LE(largestSeam, largestStep);
}

// Each frame turns the background a hundredth of a degree further, covering
// or not, and leaves texturing off and blending on.
TEST(WorldBackground, EveryFrameTurnsTheTextureMatrixAndLeavesTexturingOff)
{
    BackgroundContext gl;
    ASSERT_TRUE(gl.current);
    glMatrixMode(GL_MODELVIEW);
    for (int i = 0; i < 50; ++i)
        drawBackground(gl.texture, i % 10 == 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(GL_MODELVIEW, mode);

    GLfloat texture[16];
    glGetFloatv(GL_TEXTURE_MATRIX, texture);
    EXPECT_NEAR(50 * 0.01, textureTurn(), 1e-4);
    EXPECT_NEAR(1.0, std::hypot(texture[0], texture[1]), 1e-5);
    EXPECT_EQ(0.0f, texture[12]);
    EXPECT_EQ(0.0f, texture[13]);
}
