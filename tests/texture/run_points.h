#pragma once

// What the identity tests of the run kernels share: the dispatch levels as
// test parameters, bitwise comparison, and runs of points that reach every
// special case of the scalar code in some lane.

#include "support/simd/dispatch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace tex::simd {
inline void PrintTo(const Level& level, std::ostream* out)
{
    *out << level.name;
}
} // namespace tex::simd

// A test fixture parameterised by dispatch level: the kernels run at that
// level for the test's duration, and a level the processor lacks is skipped
// with its name.
class AtEveryLevel : public ::testing::TestWithParam<tex::simd::Level> {
protected:
    void SetUp() override
    {
        if (!tex::simd::supported(GetParam()))
            GTEST_SKIP() << "this processor lacks " << GetParam().name;
        forced = std::make_unique<tex::simd::ForcedLevel>(GetParam());
    }
    void TearDown() override { forced.reset(); }

private:
    std::unique_ptr<tex::simd::ForcedLevel> forced;
};

#define INSTANTIATE_AT_EVERY_LEVEL(Suite)                                                                         \
    INSTANTIATE_TEST_SUITE_P(Levels, Suite, ::testing::ValuesIn(tex::simd::builtLevels()),                        \
                             [](const ::testing::TestParamInfo<tex::simd::Level>& info) {                         \
                                 return std::string(info.param.name);                                             \
                             })

inline std::uint64_t bitsOf(double v)
{
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

// Coordinate arrays of a run.
struct PointRun {
    std::vector<double> x, y, z;

    std::size_t size() const { return x.size(); }
    void add(double px, double py, double pz)
    {
        x.push_back(px);
        y.push_back(py);
        z.push_back(pz);
    }
};

// Points for identity tests, in an order that puts every kind beside every
// other in some vector: scattered points over several periods of both signs;
// a row (shared y and z) that crosses cell faces and the period `period`,
// then far and non-finite x; a row through signed zeros; lattice points and
// negative zeros, every mix of +0, -0 and +-1 on the three axes among them;
// points a hair off cell faces; coordinates beyond the int range, at 2^52
// and 2^63 and near the largest double; and NaN and infinities on each axis.
inline PointRun identityPoints(unsigned seed, double period)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> wide(-3 * period, 3 * period);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    PointRun run;
    for (int i = 0; i < 300; ++i)
        run.add(wide(gen), wide(gen), wide(gen));
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double special[] = {2147483648.0 + 0.25, -2147483649.5, 0x1p52 + 1, -0x1p53, 0x1p63, -0x1p63 - 4096,
                              1e300, -1.7e308, nan, inf, -inf, 5e-324};
    // A row, y and z shared, on through far and non-finite x.
    for (int c = 0; c < 70; ++c)
        run.add(period - 2 + c * 0.0625, 0.375, -0.5);
    for (double s : special)
        run.add(s, 0.375, -0.5);
    for (double x : {-0.0, 0.0, 1.0, -1.0, 2.0, -0.0, 0.5})
        run.add(x, -0.0, -0.0);
    for (int i = 0; i < 40; ++i) {
        const double base = std::floor(wide(gen));
        run.add(base, base + 1, i % 2 ? -0.0 : base + 0.5);
    }
    const double lattice[] = {-0.0, 0.0, 1.0, -1.0};
    for (double a : lattice)
        for (double b : lattice)
            for (double c : lattice)
                run.add(a, b, c);
    // A hair inside or outside a cell face, where rounding decides visits.
    for (int i = 0; i < 40; ++i) {
        const double base = std::floor(wide(gen));
        const double hair = i % 2 ? 1e-13 : -1e-13;
        run.add(base + hair, base + 0.5 + unit(gen) * 0.1, base - hair);
    }
    for (double s : special) {
        run.add(s, unit(gen), unit(gen));
        run.add(unit(gen), s, unit(gen) * period);
        run.add(-unit(gen), 3.5, s);
        run.add(wide(gen), wide(gen), wide(gen));
    }
    return run;
}

// Stretches of a run whose lengths are not multiples of any lane count,
// starting at offsets that shift every point through every lane: (start,
// length) pairs that together cover the run several times.
inline std::vector<std::pair<std::size_t, std::size_t>> stretches(std::size_t size)
{
    std::vector<std::pair<std::size_t, std::size_t>> result;
    const std::size_t lengths[] = {1, 3, 7, 13, 29, 61, 131};
    for (std::size_t length : lengths)
        for (std::size_t start = length % 5; start + length <= size; start += length)
            result.push_back({start, length});
    result.push_back({0, size});
    return result;
}
