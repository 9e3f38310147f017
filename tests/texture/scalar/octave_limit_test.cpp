// Octave counts are honoured as far as they can change a value: the sum
// ends early with exactly the value of every octave summed, and any count,
// INT_MAX included, ends in bounded time.

#include "texture/scalar/fbm.h"
#include "texture/scalar/noise.h"
#include "texture/scalar/turbulence.h"

#include "tests/texture/scalar/probe_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tex;

namespace {

const int most = std::numeric_limits<int>::max();

// The plain loop over every octave: the sum of term(p) * weight.
template <typename Term>
double everyOctave(int octaves, double lacunarity, double x, double y, double z, Term term)
{
    double sum = 0.0;
    double weight = 1.0;
    for (int octave = 0; octave < octaves; ++octave) {
        sum = sum + term(x, y, z) * weight;
        x = x * lacunarity;
        y = y * lacunarity;
        z = z * lacunarity;
        weight = weight / lacunarity;
    }
    return sum;
}

struct Point {
    double x, y, z;
};

const Point points[] = {
    {0.3, 0.7, 1.1}, {-5.5, 2.25, 0.125}, {17.03, -3.9, 8.6}, {1e-300, 2e-300, 0.0},
    {0.0, 0.0, 0.0}, {1e6 + 0.3, -2.2, 0.9}, {3e-9, 0.5, -7.75},
};

// An FBM over noise and a turbulence beside the plain loops that sum every
// octave of the same terms.
struct Sums {
    Sums() { fbm.setInput(&noise, 0); }

    void set(int octaves, double lacunarity, double contrast)
    {
        for (FractalSum* field : {static_cast<FractalSum*>(&fbm), static_cast<FractalSum*>(&turbulence)}) {
            field->setIntParameter("octaves", octaves);
            field->setParameter("lacunarity", lacunarity);
            field->setParameter("contrast", contrast);
        }
    }

    // Both fields at every point equal the contrast stage of the plain loop
    // over `every` octaves.
    void expectEveryOctave(int every, double lacunarity)
    {
        for (const Point& p : points) {
            const double fbmSum = everyOctave(every, lacunarity, p.x, p.y, p.z,
                                              [&](double x, double y, double z) { return noise.value(x, y, z); });
            ASSERT_EQ(fbm.value(p.x, p.y, p.z), fbm.applyContrast(fbmSum * 0.5)) << "FBM at " << p.x;
            const double turbulenceSum = everyOctave(every, lacunarity, p.x, p.y, p.z, [&](double x, double y, double z) {
                return std::fabs(source.noise(x, y, z));
            });
            ASSERT_EQ(turbulence.value(p.x, p.y, p.z), turbulence.applyContrast(turbulenceSum))
                << "Turbulence at " << p.x;
        }
    }

    Noise noise{12, 16};
    FBM fbm;
    Turbulence turbulence{12, 1};
    Noise source{12, 256};
};

// FBM over a constant 0.5, asked for every octave there is; the input
// records each point it is asked for.
struct HalfFbm {
    HalfFbm()
    {
        fbm.setInput(&half, 0);
        fbm.setIntParameter("octaves", most);
    }

    ProbeField half{0.5};
    FBM fbm;
};

TEST(OctaveLimit, ListedRangesGiveTheValueOfEveryOctaveSummed)
{
    Sums sums;
    Random r(3);
    for (int round = 0; round < 400; ++round) {
        const int octaves = static_cast<int>(r.nextDouble() * 18) - 1;
        const double lacunarity = 0.01 + r.nextDouble() * 3.99;
        const double contrast = r.nextDouble() * 10;
        sums.set(octaves, lacunarity, contrast);
        SCOPED_TRACE(testing::Message() << octaves << " octaves, lacunarity " << lacunarity << ", contrast " << contrast);
        sums.expectEveryOctave(octaves, lacunarity);
        if (HasFatalFailure())
            return;
    }
}

TEST(OctaveLimit, AnyCountGivesTheValueOfEveryOctaveThatCanChangeIt)
{
    // With a lacunarity of magnitude 1.5 or more every weight from octave
    // 1838 on is 0, so 2100 octaves are every octave there is.
    Sums sums;
    for (double lacunarity : {2.0, 3.0, -2.0, 1.5, 4.0})
        for (double contrast : {1.0, 3.0, -2.0, 0.3})
            for (int octaves : {40, 60, 1075, 1100, 5000, most}) {
                sums.set(octaves, lacunarity, contrast);
                SCOPED_TRACE(testing::Message() << octaves << " octaves, lacunarity " << lacunarity << ", contrast "
                                                << contrast);
                sums.expectEveryOctave(std::min(octaves, 2100), lacunarity);
                if (HasFatalFailure())
                    return;
            }
}

TEST(OctaveLimit, TheSumEndsOnceNoFurtherTermCanChangeIt)
{
    // Weights 2^-k of 0.5: the sum reaches 1 after 54 terms, and from then
    // on no term moves it; the end is noticed at octave 56.
    HalfFbm sum;
    EXPECT_EQ(sum.fbm.value(0.3, 0.7, 1.1), 0.5);
    EXPECT_EQ(sum.half.points.size(), 56u);
}

TEST(OctaveLimit, TheSumEndsOnceTheContrastStageHasReachedItsEnd)
{
    // Lacunarity 1 and below: the sum only grows, and 0.5 times it passes
    // 0.99 after four terms of 0.5 (weight 1), or three (weights 1, 2, 4);
    // the end is noticed at octave 16, the first one past the listed most.
    HalfFbm sum;
    sum.fbm.setParameter("lacunarity", 1.0);
    EXPECT_EQ(sum.fbm.value(1, 2, 3), 0.99);
    EXPECT_EQ(sum.half.points.size(), 16u);

    sum.half.points.clear();
    sum.fbm.setParameter("lacunarity", 0.5);
    sum.fbm.setParameter("contrast", -1.0);
    EXPECT_EQ(sum.fbm.value(1, 2, 3), 0.01);
    EXPECT_EQ(sum.half.points.size(), 16u);
}

TEST(OctaveLimit, AConstantContrastStageSumsNoOctaveBeyondTheListed)
{
    HalfFbm sum;
    for (double lacunarity : {1.0, -0.5})
        for (double contrast : {0.0, std::nan("")}) {
            sum.half.points.clear();
            sum.fbm.setParameter("lacunarity", lacunarity);
            sum.fbm.setParameter("contrast", contrast);
            EXPECT_EQ(sum.fbm.value(1, 2, 3), 0.5);
            EXPECT_EQ(sum.half.points.size(), 16u);
        }
}

TEST(OctaveLimit, WhereNothingElseEndsTheSumItStopsAtTheMostOctaves)
{
    // Lacunarity 1 at a contrast that the growing sum never takes to an end.
    HalfFbm sum;
    sum.fbm.setParameter("lacunarity", 1.0);
    sum.fbm.setParameter("contrast", 1e-12);
    const double total = FractalSum::maxOctaves * 0.5;
    EXPECT_EQ(sum.fbm.value(1, 2, 3), sum.fbm.applyContrast(total * 0.5));
    EXPECT_EQ(sum.half.points.size(), static_cast<size_t>(FractalSum::maxOctaves));

    // At the origin every term of turbulence is 0; these weights stay finite.
    Turbulence turbulence(4, most);
    for (double lacunarity : {1.0, 1.0001, -1.0}) {
        turbulence.setParameter("lacunarity", lacunarity);
        EXPECT_EQ(turbulence.value(0, 0, 0), 0.01) << lacunarity;
    }
}

TEST(OctaveLimit, BelowLacunarityOneAnInfiniteSumEndsWhereEveryOctaveWouldGiveNaN)
{
    // At lacunarity 0.5 the weight overflows at octave 1024, and the sum
    // turns infinite, or has long reached the end of the contrast stage.
    // Summed on, it would meet terms of 0 once the point has shrunk to the
    // lattice origin, and 0 × inf is NaN, which the contrast stage makes
    // 0.5; the sum ends at the end of the range instead.
    Sums sums;
    const Point p = points[0];
    const double every = everyOctave(2048, 0.5, p.x, p.y, p.z, [&](double x, double y, double z) {
        return std::fabs(sums.source.noise(x, y, z));
    });
    EXPECT_TRUE(std::isnan(every));
    for (double contrast : {1.0, 1e-9, -1.0}) {
        sums.set(2048, 0.5, contrast);
        EXPECT_EQ(sums.turbulence.value(p.x, p.y, p.z), contrast > 0 ? 0.99 : 0.01) << contrast;
    }
}

TEST(OctaveLimit, EveryLacunarityEndsInRange)
{
    // Lacunarities outside the listed range too, at the largest count.
    const double inf = std::numeric_limits<double>::infinity();
    Sums sums;
    for (double lacunarity : {0.0, -0.0, std::nan(""), inf, -inf, -1.0, -0.5, 1.0, 0.5, 1e-300, 1e300, 1 + 0x1p-52})
        for (double contrast : {1.0, 1e-9}) {
            sums.set(most, lacunarity, contrast);
            for (const Point& p : points)
                for (Basis* field : {static_cast<Basis*>(&sums.fbm), static_cast<Basis*>(&sums.turbulence)}) {
                    const double v = field->value(p.x, p.y, p.z);
                    ASSERT_TRUE(v >= 0.01 && v <= 0.99) << lacunarity << " " << contrast << " at " << p.x << ": " << v;
                }
        }
}

} // namespace
