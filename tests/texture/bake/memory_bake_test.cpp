#include "tests/support/scratch_dir.h"
#include "tests/texture/bake/bake_fields.h"

#include "support/ppm_image.h"
#include "texture/bake/image_bake.h"
#include "texture/bake/memory_bake.h"
#include "texture/colour/colour_map.h"
#include "texture/colour/marble.h"
#include "texture/scalar/noise.h"
#include "texture/scalar/turbulence.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

using namespace tex;

namespace {

const double backgroundStops[4][5] = {
    {0.0, 0.5, 0.2, 0.4, 0.1},
    {0.4, 0.5, 0.2, 0.4, 0.1},
    {0.95, 0.8, 0.6, 0.2, 0.1},
    {1.0, 0.5, 0.2, 0.4, 0.1},
};

// The world background's graph: noise of period 16 through the purple and
// ochre map, seeded.
struct Background {
    Background() : noise(7, 16)
    {
        map.setInput(&noise, 0);
        map.spline()->setStops(&backgroundStops[0][0], 4);
    }
    Noise noise;
    ColourMap map;
};

TEST(MemoryBake, FlatPixelsAreTheBytesOfTheImageBake)
{
    ScratchDir dir;
    Background background;
    const Grid grid = Grid::flat(96, 64, 6.0, -1.25, 0.5, 0.75);
    std::vector<std::uint8_t> pixels(96 * 64 * 3);
    ASSERT_TRUE(bakePixels(background.map, grid, Channels::RGB, pixels.data()));
    ASSERT_TRUE(bakeImage(dir.path("map.ppm"), background.map, 96, 64, 6.0, -1.25, 0.5, 0.75));

    const PPMImage image(dir.path("map.ppm"));
    ASSERT_TRUE(image.loaded);
    ASSERT_EQ(image.width, 96);
    ASSERT_EQ(image.height, 64);
    EXPECT_EQ(std::memcmp(image.pixels, pixels.data(), pixels.size()), 0);
}

TEST(MemoryBake, EveryThreadCountAndRegionGivesTheSameSamples)
{
    Noise noise(3, 256);
    Turbulence turbulence(5, 6);
    Marble marble;
    marble.setInput(&turbulence, 0);
    marble.spline()->setStops(&backgroundStops[0][0], 4);
    const Grid grid = Grid::flat(200, 150, 9.0, 0.0, 0.0, 0.5);

    std::vector<float> single(200 * 150 * 4);
    ASSERT_TRUE(bakeFloats(marble, grid, single.data(), BakeOptions{std::nullopt, 1}));
    for (int threads : {2, 3, 7}) {
        std::vector<float> spread(single.size());
        ASSERT_TRUE(bakeFloats(marble, grid, spread.data(), BakeOptions{std::nullopt, threads}));
        EXPECT_EQ(std::memcmp(spread.data(), single.data(), single.size() * sizeof(float)), 0) << threads;
    }

    // A region baked alone is the same rectangle of the whole bake.
    const Region part{37, 101, 50, 23};
    std::vector<float> region(part.width * part.height * 4);
    ASSERT_TRUE(bakeFloats(marble, grid, region.data(), BakeOptions{part, 3}));
    for (int r = 0; r < part.height; ++r)
        EXPECT_EQ(std::memcmp(&region[r * part.width * 4], &single[((part.y + r) * 200 + part.x) * 4],
                              part.width * 4 * sizeof(float)),
                  0)
            << "row " << r;
}

TEST(MemoryBake, SamplesBecomeFloatsAndEightOrSixteenBitPixels)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Raw values before the field's contrast stage, which takes them into
    // [0.01, 0.99] (NaN to 0.5).
    const std::vector<double> values = {0.0, 0.5, 1.0, 0.999, 0.3, 0.7, nan};
    RecordingField field([&values](double x, double, double) { return values[size_t(x)]; });
    const Grid row = Grid::flat(int(values.size()), 1, double(values.size()), 0, 0, 0);

    std::vector<float> floats(values.size());
    ASSERT_TRUE(bakeFloats(field, row, floats.data()));
    EXPECT_EQ(floats[0], 0.01f);
    EXPECT_EQ(floats[4], 0.3f);
    EXPECT_EQ(floats[5], 0.7f);
    EXPECT_EQ(floats[6], 0.5f);

    std::vector<std::uint16_t> wide(values.size() * 4);
    ASSERT_TRUE(bakePixels(field, row, Channels::RGBA, wide.data()));
    // 0.01 × 65535 = 655.35, 0.99 × 65535 = 64879.65, 0.3 × 65535 = 19660.5.
    const std::vector<std::uint16_t> greys = {655, 32767, 64879, 64879, 19660, 45874, 32767};
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(wide[4 * i], greys[i]) << i;
        EXPECT_EQ(wide[4 * i + 2], greys[i]) << i;
        EXPECT_EQ(wide[4 * i + 3], 65535) << i; // a scalar field is opaque
    }

    std::vector<std::uint8_t> narrow(values.size());
    ASSERT_TRUE(bakePixels(field, row, Channels::Grey, narrow.data()));
    EXPECT_EQ(narrow, (std::vector<std::uint8_t>{2, 127, 252, 252, 76, 178, 127}));

    RecordingColour colour([](double, double, double) { return Colour(1.2, -0.1, 0.5, 0.25); });
    std::vector<std::uint16_t> rgba(4);
    ASSERT_TRUE(bakePixels(colour, Grid::flat(1, 1, 1, 0, 0, 0), Channels::RGBA, rgba.data()));
    EXPECT_EQ(rgba, (std::vector<std::uint16_t>{65535, 0, 32767, 16383}));
}

TEST(MemoryBake, RefusesRegionsOutsideTheGridGreyColoursAndNullBuffersWithoutEvaluating)
{
    RecordingField field;
    RecordingColour colour;
    const Grid grid = Grid::flat(10, 5, 1, 0, 0, 0);
    std::vector<std::uint8_t> out(200, 0xAB);
    const int big = std::numeric_limits<int>::max();
    for (const Region& region : {Region{0, 0, 0, 5}, Region{0, 0, 10, 0}, Region{-1, 0, 5, 5}, Region{6, 0, 5, 5},
                                 Region{0, 1, 10, 5}, Region{big, 0, 1, 1}, Region{5, 0, big, 1}}) {
        EXPECT_FALSE(bakePixels(field, grid, Channels::RGB, out.data(), BakeOptions{region, 1}));
        EXPECT_FALSE(bakePixels(colour, grid, Channels::RGBA, out.data(), BakeOptions{region, 1}));
    }
    EXPECT_FALSE(bakePixels(colour, grid, Channels::Grey, out.data()));
    EXPECT_FALSE(bakeFloats(field, Grid::flat(0, 4, 1, 0, 0, 0), reinterpret_cast<float*>(out.data())));
    EXPECT_FALSE(bakeFloats(colour, Grid::sphere(4, -1, 1, 0, 0, 0), reinterpret_cast<float*>(out.data())));
    EXPECT_FALSE(bakeFloats(field, grid, nullptr));
    EXPECT_FALSE(bakeFloats(colour, grid, nullptr));
    EXPECT_FALSE(bakePixels(field, grid, Channels::Grey, static_cast<std::uint8_t*>(nullptr)));
    EXPECT_FALSE(bakePixels(colour, grid, Channels::RGBA, static_cast<std::uint16_t*>(nullptr)));
    grid.rowPoints(0, 0, 10, nullptr);
    EXPECT_TRUE(field.points.empty());
    EXPECT_TRUE(colour.points.empty());
    EXPECT_EQ(out, std::vector<std::uint8_t>(200, 0xAB));
}

TEST(MemoryBake, SphereRowsStartAtThePoleAndColumnsGoRoundTheAxis)
{
    RecordingField field;
    const Grid grid = Grid::sphere(4, 2, 2.0, 1.0, -1.0, 0.5);
    std::vector<float> out(8);
    ASSERT_TRUE(bakeFloats(field, grid, out.data(), BakeOptions{std::nullopt, 1}));
    ASSERT_EQ(field.points.size(), 8u);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(field.points[c], (SamplePoint{1.0, -1.0, 2.5})) << c;
    // Row 1 lies on the equator (θ = π/2), column 1 a quarter turn round.
    const Point quarter = grid.point(1, 1);
    EXPECT_EQ(field.points[5], (SamplePoint{quarter.x, quarter.y, quarter.z}));
    EXPECT_NEAR(quarter.x, 1.0, 1e-15);
    EXPECT_DOUBLE_EQ(quarter.y, 1.0);
    EXPECT_NEAR(quarter.z, 0.5, 1e-15);
}

} // namespace

TEST(MemoryBake, ACancelledBakeStopsWithinARunAndSaysSo)
{
    std::atomic<bool> cancel{false};
    RecordingField field;
    field.result = [&](double, double, double) {
        if (field.points.size() == 300)
            cancel = true;
        return 0.5;
    };
    const Grid grid = Grid::flat(64, 64, 1, 0, 0, 0);
    std::vector<float> out(64 * 64, -1.0f);
    EXPECT_FALSE(bakeFloats(field, grid, out.data(), BakeOptions{std::nullopt, 1, &cancel}));
    // The run holding sample 300 (runs lie within a row) ends, and no other
    // starts: every sample evaluated is stored, and none after.
    const std::size_t evaluated = field.points.size();
    EXPECT_GT(evaluated, 300u);
    EXPECT_LE(evaluated, 320u);
    EXPECT_EQ(out[evaluated - 1], 0.5f);
    EXPECT_EQ(out[evaluated], -1.0f);

    // Cancelled before it starts: nothing is evaluated, on any thread.
    field.points.clear();
    std::vector<std::uint8_t> pixels(64 * 64);
    EXPECT_FALSE(bakePixels(field, grid, Channels::Grey, pixels.data(), BakeOptions{std::nullopt, 2, &cancel}));
    EXPECT_TRUE(field.points.empty());

    cancel = false;
    field.result = [](double, double, double) { return 0.5; };
    EXPECT_TRUE(bakePixels(field, grid, Channels::Grey, pixels.data(), BakeOptions{std::nullopt, 1, &cancel}));
    EXPECT_EQ(field.points.size(), 64u * 64u);
}

TEST(MemoryBake, ThePriceOfASampleBoundsEveryRunTheFirstIncluded)
{
    const auto options = [](std::uint64_t price) {
        BakeOptions o;
        o.samplePrice = price;
        return o;
    };
    EXPECT_EQ(longestRun(options(0)), 256);
    EXPECT_EQ(longestRun(options(1)), 256);
    EXPECT_EQ(longestRun(options(runBudget / 3)), 3);
    EXPECT_EQ(longestRun(options(runBudget)), 1);
    EXPECT_EQ(longestRun(options(std::numeric_limits<std::uint64_t>::max())), 1);

    // Cancelled during the first sample: the first run is all that is
    // evaluated, as long as the price allows (4 samples where it is unknown).
    for (const auto& [price, firstRun] : {std::pair<std::uint64_t, std::size_t>{0, 4}, {runBudget / 3, 3}, {runBudget, 1}}) {
        std::atomic<bool> cancel{false};
        RecordingField field;
        field.result = [&](double, double, double) {
            cancel = true;
            return 0.5;
        };
        BakeOptions o = options(price);
        o.threads = 1;
        o.cancel = &cancel;
        std::vector<float> out(64 * 64);
        EXPECT_FALSE(bakeFloats(field, Grid::flat(64, 64, 1, 0, 0, 0), out.data(), o));
        EXPECT_EQ(field.points.size(), firstRun) << "price " << price;
    }
}

TEST(MemoryBake, ThreadCountsAreCapped)
{
    const Grid huge = Grid::flat(1 << 20, 1 << 20, 1, 0, 0, 0);
    EXPECT_EQ(bakeThreadCount(huge, BakeOptions{std::nullopt, INT_MAX}), maxBakeThreads);
    EXPECT_EQ(bakeThreadCount(huge, BakeOptions{std::nullopt, maxBakeThreads - 1}), maxBakeThreads - 1);
    // Never more threads than rows, nor than 4096 samples each.
    EXPECT_EQ(bakeThreadCount(huge, BakeOptions{Region{0, 0, 1 << 20, 3}, INT_MAX}), 3);
    EXPECT_EQ(bakeThreadCount(Grid::flat(4096, 4096, 1, 0, 0, 0), BakeOptions{Region{0, 0, 4095, 3}, 8}), 2);
}
