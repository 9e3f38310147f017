// Colour functions over runs of points give, at every dispatch level, exactly
// the bits of colour() at each point.

#include "support/colour_spline.h"
#include "tests/texture/run_points.h"
#include "texture/colour/colour_map.h"
#include "texture/colour/flagstone.h"
#include "texture/scalar/noise.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tex;

namespace {

void expectSameColour(const Colour& run, const Colour& one, const std::string& where)
{
    ASSERT_EQ(bitsOf(run.r), bitsOf(one.r)) << where;
    ASSERT_EQ(bitsOf(run.g), bitsOf(one.g)) << where;
    ASSERT_EQ(bitsOf(run.b), bitsOf(one.b)) << where;
    ASSERT_EQ(bitsOf(run.a), bitsOf(one.a)) << where;
}

class ColourRuns : public AtEveryLevel {};

TEST_P(ColourRuns, SplineLookupsMatchEvaluateAtEveryPosition)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // The world background's stops; stops out of order and a segment of no
    // width (outside the contract, answered all the same); a narrow span
    // beside a colour near the largest double, whose tangent overflows
    // and whose curve turns NaN; one stop; none.
    std::vector<std::vector<double>> tables = {
        {0.0, 0.5, 0.2, 0.4, 0.1, 0.4, 0.5, 0.2, 0.4, 0.1, 0.95, 0.8, 0.6, 0.2, 0.1, 1.0, 0.5, 0.2, 0.4, 0.1},
        {0.5, 1, 0, 0, 1, 0.2, 0, 1, 0, 1, 0.2, 0, 0, 1, 1, 0.9, 1, 1, 1, 0, 0.7, 0.3, 0.3, 0.3, 0.3},
        {0.0, 0, 0, 0, 0, 0.5, 1.7e308, 0, 0, 1, 0.5 + 1e-16, 0, 1, 0, 1, 1.0, -1.7e308, 1, 1, 1},
        {0.25, 0.1, 0.2, 0.3, 0.4},
        {},
    };
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> spread(-0.5, 1.5);
    // Long splines, where the segment is found by bisection and neighbouring
    // lanes fall in different segments: 300 stops in order, and 100 in a
    // shuffled order (the first stop above a position, wherever it lies).
    std::uniform_real_distribution<double> component(-0.2, 1.2);
    std::vector<double> ordered, shuffled;
    for (int k = 0; k < 300; ++k)
        for (double value : {k / 299.0, component(gen), component(gen), component(gen), component(gen)})
            ordered.push_back(value);
    for (int k = 0; k < 100; ++k)
        for (double value : {spread(gen), component(gen), component(gen), component(gen), component(gen)})
            shuffled.push_back(value);
    tables.push_back(ordered);
    tables.push_back(shuffled);
    std::vector<double> positions = {-inf, inf, nan, -0.0, 0.0, 0.2, 0.4, 0.5, 0.7, 0.9, 0.95, 0.97, 1.0, 1e300};
    for (std::size_t k = 0; k < ordered.size(); k += 5)
        positions.push_back(ordered[k]);
    for (int i = 0; i < 300; ++i)
        positions.push_back(spread(gen));
    for (const std::vector<double>& table : tables) {
        ColourSpline spline;
        spline.setStops(table.data(), int(table.size() / 5));
        for (auto [start, length] : stretches(positions.size())) {
            std::vector<Colour> colours(length, Colour(0, 0, 0, 0));
            spline.evaluateRun(&positions[start], colours.data(), length);
            for (std::size_t i = 0; i < length; ++i)
                expectSameColour(colours[i], spline.evaluate(positions[start + i]),
                                 std::to_string(table.size() / 5) + " stops at " + std::to_string(positions[start + i]));
        }
    }
}

template <typename Function>
void expectRunsMatchColours(Function& function, const PointRun& run, const std::string& what)
{
    for (auto [start, length] : stretches(run.size())) {
        std::vector<Colour> colours(length, Colour(0, 0, 0, 0));
        function.colours(&run.x[start], &run.y[start], &run.z[start], colours.data(), length);
        for (std::size_t i = 0; i < length; ++i) {
            const std::size_t p = start + i;
            expectSameColour(colours[i], function.colour(run.x[p], run.y[p], run.z[p]),
                             what + " at (" + std::to_string(run.x[p]) + ", " + std::to_string(run.y[p]) + ", " +
                                 std::to_string(run.z[p]) + ")");
        }
    }
}

TEST_P(ColourRuns, ColourMapAndFlagstoneMatchColourAtEveryPoint)
{
    const PointRun run = identityPoints(29, 256);
    Noise noise(7, 16);
    noise.setParameter("contrast", 2.5);
    ColourMap map;
    const double stops[] = {0.0, 0.5, 0.2, 0.4, 0.1, 0.4, 0.5, 0.2, 0.4, 0.1,
                            0.95, 0.8, 0.6, 0.2, 0.1, 1.0, 0.5, 0.2, 0.4, 0.1};
    map.spline()->setStops(stops, 4);
    expectRunsMatchColours(map, run, "ColourMap without input");
    map.setInput(&noise, 0);
    expectRunsMatchColours(map, run, "ColourMap over noise");

    Flagstone flagstone(17, 23);
    expectRunsMatchColours(flagstone, run, "Flagstone");
}

INSTANTIATE_AT_EVERY_LEVEL(ColourRuns);

} // namespace
