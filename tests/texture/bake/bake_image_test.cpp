#include "tests/texture/bake/bake_fields.h"

#include "texture/bake/image_bake.h"
#include "support/ppm_image.h"

#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace tex;

namespace {

class BakeImageTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir.path(name); }

    static std::vector<unsigned char> pixelsOf(const PPMImage& image)
    {
        return std::vector<unsigned char>(image.pixels, image.pixels + size_t(image.width) * image.height * 3);
    }

    ScratchDir dir;
};

TEST_F(BakeImageTest, StepComesFromTheLongerSide)
{
    RecordingField wide;
    ASSERT_TRUE(bakeImage(path("wide.ppm"), wide, 4, 2, 1.0, 0.0, 0.0, 0.0));
    EXPECT_EQ(wide.points, (std::vector<SamplePoint>{{0, 0, 0}, {0.25, 0, 0}, {0.5, 0, 0}, {0.75, 0, 0},
                                                     {0, 0.25, 0}, {0.25, 0.25, 0}, {0.5, 0.25, 0}, {0.75, 0.25, 0}}));

    RecordingColour tall;
    ASSERT_TRUE(bakeImage(path("tall.ppm"), tall, 2, 4, 1.0, 0.0, 0.0, 0.0));
    EXPECT_EQ(tall.points, (std::vector<SamplePoint>{{0, 0, 0}, {0.25, 0, 0}, {0, 0.25, 0}, {0.25, 0.25, 0},
                                                     {0, 0.5, 0}, {0.25, 0.5, 0}, {0, 0.75, 0}, {0.25, 0.75, 0}}));
}

TEST_F(BakeImageTest, GridStartsExactlyAtTheOrigin)
{
    RecordingField field;
    ASSERT_TRUE(bakeImage(path("o.ppm"), field, 3, 5, 2.0, -1.5, 2.25, 7.0));
    EXPECT_EQ(field.points, gridPoints(3, 5, 2.0 / 5, -1.5, 2.25, 7.0));
    EXPECT_EQ(field.points.front(), (SamplePoint{-1.5, 2.25, 7.0}));
}

TEST_F(BakeImageTest, ScalarValuesBecomeTruncatedGreyBytes)
{
    // Raw values before the field's contrast stage, which takes them into
    // [0.01, 0.99] (NaN to 0.5): 0.01 × 255 = 2.55, 0.99 × 255 = 252.45.
    const std::vector<double> values = {0.0, 0.999, 1.0, 0.5, 0.3, -0.3, 1.7,
                                        std::numeric_limits<double>::quiet_NaN()};
    const std::vector<unsigned char> bytes = {2, 252, 252, 127, 76, 2, 252, 127};
    RecordingField field([&values](double x, double, double) { return values[size_t(x)]; });
    ASSERT_TRUE(bakeImage(path("grey.ppm"), field, int(values.size()), 1, double(values.size()), 0, 0, 0));

    const PPMImage image(path("grey.ppm"));
    ASSERT_TRUE(image.loaded);
    ASSERT_EQ(image.width, int(values.size()));
    ASSERT_EQ(image.height, 1);
    const std::vector<unsigned char> pixels = pixelsOf(image);
    for (size_t i = 0; i < values.size(); ++i) {
        SCOPED_TRACE(values[i]);
        EXPECT_EQ(pixels[3 * i], bytes[i]);
        EXPECT_EQ(pixels[3 * i + 1], bytes[i]);
        EXPECT_EQ(pixels[3 * i + 2], bytes[i]);
    }
}

TEST_F(BakeImageTest, ColoursAreClampedTruncatedAndLoseAlpha)
{
    RecordingColour colour([](double x, double, double) {
        return x == 0 ? Colour(1.2, -0.1, 0.5, 2.0) : Colour(0.999, 1.0 / 255, 0.25, 0.0);
    });
    ASSERT_TRUE(bakeImage(path("rgb.ppm"), colour, 2, 1, 2.0, 0, 0, 0));
    const PPMImage image(path("rgb.ppm"));
    ASSERT_TRUE(image.loaded);
    EXPECT_EQ(pixelsOf(image), (std::vector<unsigned char>{255, 0, 127, 254, 1, 63}));
}

TEST_F(BakeImageTest, FirstFileRowIsTheRowAtY0)
{
    RecordingField field([](double, double y, double) { return y == 0.0 ? 1.0 : 0.0; });
    ASSERT_TRUE(bakeImage(path("rows.ppm"), field, 2, 3, 3.0, 0, 0, 0));
    const PPMImage image(path("rows.ppm"));
    ASSERT_TRUE(image.loaded);
    EXPECT_EQ(pixelsOf(image), (std::vector<unsigned char>{252, 252, 252, 252, 252, 252, 2, 2, 2, 2, 2, 2,
                                                           2, 2, 2, 2, 2, 2}));
}

TEST_F(BakeImageTest, ReportsFilesThatCannotBeWritten)
{
    RecordingField field;
    RecordingColour colour;
    EXPECT_FALSE(bakeImage(path("missing/dir.ppm"), field, 2, 2, 1, 0, 0, 0));
    EXPECT_FALSE(bakeImage(path("missing/dir.ppm"), colour, 2, 2, 1, 0, 0, 0));
    // Every sample is still evaluated, as the bake does not know in advance.
    EXPECT_EQ(field.points.size(), 4u);
}

TEST_F(BakeImageTest, EmptyOrNegativeSizesWriteNothing)
{
    RecordingField field;
    RecordingColour colour;
    for (const auto& size : std::vector<std::pair<int, int>>{{0, 4}, {4, 0}, {-1, 4}, {4, -3}, {0, 0}}) {
        EXPECT_FALSE(bakeImage(path("empty.ppm"), field, size.first, size.second, 1, 0, 0, 0));
        EXPECT_FALSE(bakeImage(path("empty.ppm"), colour, size.first, size.second, 1, 0, 0, 0));
    }
    EXPECT_TRUE(field.points.empty());
    EXPECT_TRUE(colour.points.empty());
    EXPECT_FALSE(std::filesystem::exists(path("empty.ppm")));
}

} // namespace
