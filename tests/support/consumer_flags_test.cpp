// The public headers compiled the way a consumer may compile them: -O3
// -march=native in GNU mode with -ffp-contract=fast (see tests/CMakeLists.txt).
// Every figure below is the library's own, and each one changes in its last
// digits when a multiply and an add are fused: arithmetic that comes back
// inline into a public header, where this file's compiler could fuse it, fails
// here.

#include "support/colour.h"
#include "support/colour_spline.h"
#include "support/scalar.h"
#include "texture/scalar/basis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

using namespace tex;

namespace {

// `v`, unknown to the compiler: a figure folded while compiling is never
// fused, so every input below goes through here.
double hidden(double v)
{
    volatile double held = v;
    return held;
}

Colour hidden(double r, double g, double b, double a)
{
    return Colour(hidden(r), hidden(g), hidden(b), hidden(a));
}

// Exact figures: 17 significant digits tell every two doubles apart.
std::string figure(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::string figures(const Colour& c)
{
    return figure(c.r) + " " + figure(c.g) + " " + figure(c.b) + " " + figure(c.a);
}

// A field written by the consumer: its value passes the contrast stage.
class ConstantField : public Basis {
public:
    explicit ConstantField(double raw) : raw(raw) {}
    double raw;

protected:
    double formula(double, double, double) const override { return raw; }
};

TEST(ConsumerFlags, ScalarLerpIsNotFused)
{
    // Fused: 0.27999999999999997.
    EXPECT_EQ(figure(lerp(hidden(0.1), hidden(0.3), hidden(0.9))), "0.28000000000000003");
}

TEST(ConsumerFlags, ColourArithmeticIsNotFusedAcrossCalls)
{
    // A product and a sum from two operator calls; fused, every component
    // comes out one unit in the last place off.
    EXPECT_EQ(figures(hidden(0.1, 0.2, 0.6, 0.8) * hidden(0.3) + hidden(0.3, 0.6, 0.1, 0.45)),
              "0.32999999999999996 0.65999999999999992 0.28000000000000003 0.68999999999999995");
    EXPECT_EQ(figures(lerp(hidden(0.1, 0.3, 0.6, 0.7), hidden(0.7, 0.6, 0.9, 0.8), hidden(0.35))),
              "0.30999999999999994 0.40500000000000003 0.70500000000000007 0.73499999999999988");
}

TEST(ConsumerFlags, ContrastStageIsNotFused)
{
    ConstantField field(hidden(0.1));
    field.setParameter("contrast", hidden(0.1));
    // Fused: 0.46000000000000002.
    EXPECT_EQ(figure(field.value(0, 0, 0)), "0.45999999999999996");
    field.setParameter("contrast", hidden(0.7));
    // Fused: 0.22.
    EXPECT_EQ(figure(field.value(0, 0, 0)), "0.22000000000000003");
}

TEST(ConsumerFlags, SplineValuesAreTheLibrarys)
{
    const double stops[] = {
        0.0, 0.1, 0.2, 0.3, 0.4,
        0.3, 0.9, 0.1, 0.5, 0.7,
        1.0, 0.2, 0.8, 0.6, 1.0,
    };
    ColourSpline spline;
    spline.setStops(stops, 3);
    // Fused: r = 0.84936419753086434, g = 0.021101234567901191, a = 0.60274074074074069.
    EXPECT_EQ(figures(spline.evaluate(hidden(0.17))),
              "0.84936419753086445 0.021101234567901209 0.44907530864197531 0.6027407407407408");
    // Fused: g = 0.40000000000000019, b = 0.56964285714285712.
    EXPECT_EQ(figures(spline.evaluate(hidden(0.65))),
              "0.68749999999999989 0.40000000000000008 0.56964285714285701 0.87142857142857144");
}

// clamp and clampToUnit stay inline because they only compare: whatever the
// flags, NaN passes through and a zero keeps its sign.
TEST(ConsumerFlags, InlineComparisonsKeepTheirEdgeCases)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(clamp(hidden(0.01), hidden(0.99), hidden(nan))));
    Colour c = hidden(nan, -0.0, 1.5, -2.0);
    c.clampToUnit();
    EXPECT_TRUE(std::isnan(c.r));
    EXPECT_EQ(figure(c.g) + " " + figure(c.b) + " " + figure(c.a), "-0 1 0");
}

} // namespace
