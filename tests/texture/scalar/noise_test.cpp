#include "texture/scalar/noise.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

using namespace tex;

namespace {

std::atomic<long> allocations{0};

} // namespace

// Counts every allocation of this test program, so that a test can show
// that evaluating noise allocates nothing.
void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

// The gradient term as defined: p is dx below 8, else dy; q is dy below 4,
// dx at 12 and 14, else dz; bits 0 and 1 negate them.
double definedGrad(int h, double dx, double dy, double dz)
{
    const int h4 = h & 15;
    const double p = h4 < 8 ? dx : dy;
    const double q = h4 < 4 ? dy : (h4 == 12 || h4 == 14 ? dx : dz);
    return ((h4 & 1) ? -p : p) + ((h4 & 2) ? -q : q);
}

// Gradient noise written straight from its definition, independent of the
// field's own code: floor from the library, wrap by modulo, branches on the
// hash, and the field's own permutation table.
double referenceNoise(const Noise& n, double x, double y, double z)
{
    const int size = n.latticeSize();
    const std::uint8_t* perm = n.permutation();
    const double fl[3] = {std::floor(x), std::floor(y), std::floor(z)};
    const double f[3] = {x - fl[0], y - fl[1], z - fl[2]};
    auto wrap = [size](double c) { return ((static_cast<long>(c) % size) + size) % size; };
    auto fade = [](double t) { return t * t * t * (10 - t * (15 - 6 * t)); };
    auto mix = [](double a, double b, double t) { return a + (b - a) * t; };

    double g[2][2][2];
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b)
            for (int c = 0; c < 2; ++c) {
                const int h = perm[perm[perm[wrap(fl[0] + a)] + wrap(fl[1] + b)] + wrap(fl[2] + c)];
                g[a][b][c] = definedGrad(h, f[0] - a, f[1] - b, f[2] - c);
            }
    const double u = fade(f[0]);
    const double v = fade(f[1]);
    const double w = fade(f[2]);
    return mix(mix(mix(g[0][0][0], g[1][0][0], u), mix(g[0][1][0], g[1][1][0], u), v),
               mix(mix(g[0][0][1], g[1][0][1], u), mix(g[0][1][1], g[1][1][1], u), v), w);
}

// Equal to the last bit, the sign of a zero included.
bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Scattered sample points from a fixed generator, some of them negative.
std::vector<std::array<double, 3>> samplePoints(int count, double range)
{
    Random r(2718);
    std::vector<std::array<double, 3>> points(count);
    for (auto& p : points)
        for (double& c : p)
            c = (r.nextDouble() * 2 - 1) * range;
    return points;
}

} // namespace

static_assert(!std::is_copy_constructible<Noise>::value, "a Noise owns its table and is not copied");

TEST(Noise, PermutationHoldsEveryByteOnceAndRepeats)
{
    for (int seed : {0, 1, 16, -7, 123456}) {
        const Noise n(seed, 16);
        const std::uint8_t* perm = n.permutation();
        int seen[256] = {};
        for (int i = 0; i < 256; ++i)
            ++seen[perm[i]];
        for (int i = 0; i < 256; ++i) {
            EXPECT_EQ(seen[i], 1) << "seed " << seed << " byte " << i;
            EXPECT_EQ(perm[256 + i], perm[i]);
        }
    }
}

TEST(Noise, PermutationIsTheSwapShuffleOfItsGenerator)
{
    // Built again with each draw forced through a single-precision store:
    // catches a compiler that drops the rounding of nextFloat.
    for (int seed : {3, 5489, -100}) {
        Random r(seed);
        std::uint8_t expected[256];
        for (int i = 0; i < 256; ++i)
            expected[i] = static_cast<std::uint8_t>(i);
        for (int j = 0; j < 256; ++j) {
            volatile float f = static_cast<float>(r.nextDouble());
            const int k = static_cast<int>(std::trunc(static_cast<double>(f) * 256.0)) % 256;
            std::swap(expected[j], expected[k]);
        }
        const Noise n(seed, 256);
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(n.permutation()[i], expected[i]) << "seed " << seed << " entry " << i;
    }
}

TEST(Noise, MatchesAnIndependentEvaluationBitForBit)
{
    const Noise n(42, 16);
    for (const auto& p : samplePoints(5000, 100))
        ASSERT_TRUE(sameBits(n.noise(p[0], p[1], p[2]), referenceNoise(n, p[0], p[1], p[2])))
            << p[0] << " " << p[1] << " " << p[2];

    const Noise wide(9, 256);
    for (const auto& p : samplePoints(2000, 1000))
        ASSERT_TRUE(sameBits(wide.noise(p[0], p[1], p[2]), referenceNoise(wide, p[0], p[1], p[2])));
}

TEST(Noise, ZeroOffsetsKeepTheSignOfTheDefinedSum)
{
    // Points on lattice planes and lines, where offsets and gradient terms
    // are zeros whose signs a careless dot product would change.
    const Noise n(6, 16);
    int checked = 0;
    for (int i = -8; i <= 8; ++i)
        for (int j = -8; j <= 8; ++j)
            for (double k : {0.0, 0.5, -3.0, 2.25}) {
                const double points[3][3] = {{i * 0.5, j * 0.5, k}, {double(i), j * 0.25, k}, {k, double(i), double(j)}};
                for (const auto& p : points) {
                    ASSERT_TRUE(sameBits(n.noise(p[0], p[1], p[2]), referenceNoise(n, p[0], p[1], p[2])))
                        << p[0] << " " << p[1] << " " << p[2];
                    ++checked;
                }
            }
    EXPECT_EQ(checked, 17 * 17 * 4 * 3);
}

TEST(Noise, IsZeroAtLatticePoints)
{
    Noise n(5, 16);
    for (int x = -20; x <= 20; x += 3)
        for (int y = -20; y <= 20; y += 5)
            for (int z = -20; z <= 20; z += 7) {
                EXPECT_EQ(n.noise(x, y, z), 0.0);
                EXPECT_EQ(n.value(x, y, z), 0.5);
            }
}

TEST(Noise, RepeatsWithItsSizeOnEveryAxis)
{
    // Points on a 2^-20 grid, so that shifting them by a period is exact.
    auto points = samplePoints(300, 40);
    for (auto& p : points)
        for (double& c : p)
            c = std::ldexp(std::round(std::ldexp(c, 20)), -20);
    for (int size : {1, 2, 16, 256}) {
        const Noise n(77, size);
        for (const auto& p : points) {
            const double here = n.noise(p[0], p[1], p[2]);
            EXPECT_EQ(n.noise(p[0] + size, p[1], p[2]), here);
            EXPECT_EQ(n.noise(p[0], p[1] - size, p[2]), here);
            EXPECT_EQ(n.noise(p[0], p[1], p[2] + 3 * size), here);
        }
    }
    // A sample inside [0, 16) and its copy far out on the negative side.
    const Noise n(77, 16);
    EXPECT_EQ(n.noise(0.25, 0.5, 0.75), n.noise(0.25 - 160, 0.5, 0.75 - 32));
}

TEST(Noise, SameSeedSameFieldOtherSeedOtherField)
{
    Noise a(2024, 16);
    Noise b(2024, 16);
    Noise c(2025, 16);
    int differing = 0;
    for (const auto& p : samplePoints(200, 10)) {
        ASSERT_EQ(a.value(p[0], p[1], p[2]), b.value(p[0], p[1], p[2]));
        differing += a.value(p[0], p[1], p[2]) != c.value(p[0], p[1], p[2]) ? 1 : 0;
    }
    EXPECT_GT(differing, 150);
}

TEST(Noise, ClockSeededFieldsOfOneSecondAgree)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::time_t before = std::time(nullptr);
        Noise a(16);
        Noise b(16);
        const Noise seeded(static_cast<int>(before), 16);
        if (std::time(nullptr) != before)
            continue;
        for (int i = 0; i < 512; ++i) {
            ASSERT_EQ(a.permutation()[i], b.permutation()[i]);
            ASSERT_EQ(a.permutation()[i], seeded.permutation()[i]);
        }
        return;
    }
    FAIL() << "the clock kept ticking over";
}

TEST(Noise, ValueScalesThePointAndAppliesContrast)
{
    Noise n(8, 16);
    const double x = 1.37;
    const double y = -2.61;
    const double z = 5.09;
    EXPECT_EQ(n.value(x, y, z), n.applyContrast((n.noise(x, y, z) + 1) * 0.5));

    Noise scaled(8, 16);
    scaled.setParameter("xscale", 2);
    scaled.setParameter("yscale", 0.5);
    scaled.setParameter("zscale", 3);
    EXPECT_EQ(scaled.value(x, y, z), n.value(2 * x, 0.5 * y, 3 * z));

    scaled.setParameter("contrast", 4);
    EXPECT_EQ(scaled.value(x, y, z), scaled.applyContrast((n.noise(2 * x, 0.5 * y, 3 * z) + 1) * 0.5));
}

TEST(Noise, ValuesStayInTheContrastBand)
{
    Noise n(13, 16);
    n.setParameter("contrast", 8);
    bool sawLow = false;
    bool sawHigh = false;
    for (const auto& p : samplePoints(5000, 50)) {
        const double v = n.value(p[0], p[1], p[2]);
        ASSERT_GE(v, 0.01);
        ASSERT_LE(v, 0.99);
        sawLow = sawLow || v == 0.01;
        sawHigh = sawHigh || v == 0.99;
    }
    EXPECT_TRUE(sawLow);
    EXPECT_TRUE(sawHigh);
}

TEST(Noise, RawNoiseIsCentredAndBounded)
{
    const Noise n(21, 256);
    double sum = 0;
    const auto points = samplePoints(20000, 200);
    for (const auto& p : points) {
        const double v = n.noise(p[0], p[1], p[2]);
        ASSERT_LT(std::fabs(v), 1.5);
        sum += v;
    }
    EXPECT_NEAR(sum / points.size(), 0.0, 0.02);
}

TEST(Noise, SizesOutsideTheTableAreBroughtIntoRange)
{
    const Noise tiny(1, 0);
    const Noise negative(1, -40);
    const Noise huge(1, 100000);
    EXPECT_EQ(tiny.latticeSize(), 1);
    EXPECT_EQ(negative.latticeSize(), 1);
    EXPECT_EQ(huge.latticeSize(), 256);

    const Noise one(1, 1);
    const Noise full(1, 256);
    for (const auto& p : samplePoints(200, 1000)) {
        EXPECT_EQ(negative.noise(p[0], p[1], p[2]), one.noise(p[0], p[1], p[2]));
        EXPECT_EQ(huge.noise(p[0], p[1], p[2]), full.noise(p[0], p[1], p[2]));
    }
}

TEST(Noise, EvaluationAllocatesNothing)
{
    Noise n(1, 16);
    const auto points = samplePoints(1000, 100);
    double sum = 0;
    const long before = allocations.load();
    for (int round = 0; round < 10; ++round)
        for (const auto& p : points)
            sum += n.value(p[0], p[1], p[2]) + n.noise(p[0], p[1], p[2]);
    EXPECT_EQ(allocations.load() - before, 0);
    EXPECT_TRUE(std::isfinite(sum));
}
