// Every scalar field and colour function of the library answers every
// input: NaN and infinite coordinates, parameters and spline stops give a
// value in [0.01, 0.99], and a colour without a NaN component.

#include "texture/colour/c_darken.h"
#include "texture/colour/c_mixer.h"
#include "texture/colour/colour_map.h"
#include "texture/colour/flagstone.h"
#include "texture/colour/marble.h"
#include "texture/scalar/b_darken.h"
#include "texture/scalar/b_gainer.h"
#include "texture/scalar/b_lerper.h"
#include "texture/scalar/b_perturber.h"
#include "texture/scalar/b_scaler.h"
#include "texture/scalar/b_stepper.h"
#include "texture/scalar/checker.h"
#include "texture/scalar/fbm.h"
#include "texture/scalar/noise.h"
#include "texture/scalar/sphere.h"
#include "texture/scalar/turbulence.h"
#include "texture/scalar/voronoi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

using namespace tex;

namespace {

const double nan = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();
const double unsound[] = {nan, inf, -inf};

const double backgroundStops[] = {
    0.0,  0.5, 0.2, 0.4, 0.1,
    0.4,  0.5, 0.2, 0.4, 0.1,
    0.95, 0.8, 0.6, 0.2, 0.1,
    1.0,  0.5, 0.2, 0.4, 0.1,
};

struct Point {
    double x, y, z;
};

// Ordinary, far and unsound points.
const Point points[] = {
    {0.3, 0.7, 1.1}, {-5.5, 2.25, 0.125}, {1e300, -3e9, 0x1p62},
    {nan, 0.5, 0.5}, {0.5, inf, 0.5},     {0.5, 0.5, -inf},       {nan, inf, -inf},
};

bool inRange(double v)
{
    return v >= 0.01 && v <= 0.99;
}

bool hasNaN(const Colour& c)
{
    return std::isnan(c.r) || std::isnan(c.g) || std::isnan(c.b) || std::isnan(c.a);
}

// One object of every scalar-field class and every colour-function class,
// their inputs wired to two noise fields and two colour maps.
struct Library {
    Library()
    {
        fields.push_back(std::make_unique<Noise>(5, 16));
        fields.push_back(std::make_unique<FBM>());
        fields.push_back(std::make_unique<Turbulence>(6, 8));
        fields.push_back(std::make_unique<Voronoi>(7, 16, 1.5));
        fields.push_back(std::make_unique<Sphere>());
        fields.push_back(std::make_unique<Checker>());
        fields.push_back(std::make_unique<BPerturber>());
        fields.push_back(std::make_unique<BLerper>());
        fields.push_back(std::make_unique<BDarken>());
        fields.push_back(std::make_unique<BScaler>());
        fields.push_back(std::make_unique<BGainer>());
        fields.push_back(std::make_unique<BStepper>());
        for (auto& field : fields)
            for (int i = 0; i < field->inputCount(); ++i)
                field->setInput(i == 0 ? &a : &b, i);

        for (ColourMap* map : {&red, &blue}) {
            map->setInput(map == &red ? &a : &b, 0);
            map->spline()->setStops(backgroundStops, 4);
        }
        colours.push_back(std::make_unique<ColourMap>());
        colours.push_back(std::make_unique<Marble>());
        colours.push_back(std::make_unique<Flagstone>(8, 9));
        colours.push_back(std::make_unique<CMixer>());
        colours.push_back(std::make_unique<CDarken>());
        for (auto& colour : colours) {
            if (colour->inputCount() > 0)
                colour->setInput(&a, 0);
            for (int i = 0; i < colour->colourInputCount(); ++i)
                colour->setColourInput(i == 0 ? &red : &blue, i);
            if (colour->hasSpline())
                colour->spline()->setStops(backgroundStops, 4);
        }
    }

    Noise a{3, 16};
    Noise b{4, 16};
    ColourMap red;
    ColourMap blue;
    std::vector<std::unique_ptr<Basis>> fields;
    std::vector<std::unique_ptr<ColourBasis>> colours;
};

template <typename T>
std::string nameOf(const T& object)
{
    return typeid(object).name();
}

TEST(UnsoundInput, TheContrastStageMapsNaNToTheMiddle)
{
    Noise n(1, 16);
    EXPECT_EQ(n.applyContrast(nan), 0.5);
    EXPECT_EQ(n.applyContrast(inf), 0.99);
    EXPECT_EQ(n.applyContrast(-inf), 0.01);
    n.setParameter("contrast", 0.0);
    EXPECT_EQ(n.applyContrast(inf), 0.5);
    n.setParameter("contrast", inf);
    EXPECT_EQ(n.applyContrast(0.5), 0.5);
    EXPECT_EQ(n.applyContrast(0.5001), 0.99);
    n.setParameter("contrast", nan);
    for (double v : {0.0, 0.3, 1.0, inf})
        EXPECT_EQ(n.applyContrast(v), 0.5) << v;
    n.setParameter("contrast", 2.0);
    EXPECT_EQ(n.applyContrast(0.3), (0.3 - 0.5) * 2.0 + 0.5);
}

TEST(UnsoundInput, EveryFieldAnswersNaNAndInfiniteCoordinatesInRange)
{
    Library library;
    for (auto& field : library.fields)
        for (const Point& p : points) {
            const double v = field->value(p.x, p.y, p.z);
            EXPECT_TRUE(inRange(v)) << nameOf(*field) << " at " << p.x << " " << p.y << " " << p.z << ": " << v;
        }

    // What the simple fields give at a point that is not finite.
    Noise noise(1, 16);
    Checker checker;
    Sphere sphere;
    Turbulence turbulence(1, 8);
    for (double c : unsound) {
        EXPECT_EQ(noise.noise(c, 0.5, 0.5), 0.0) << c;
        EXPECT_EQ(noise.value(0.5, c, 0.5), 0.5) << c;
        EXPECT_EQ(checker.value(1.5, 0.5, c), 0.01) << c;
        EXPECT_EQ(sphere.value(c, 0.5, 0.5), 0.01) << c;
        EXPECT_EQ(turbulence.value(0.5, 0.5, c), 0.01) << c;
    }
    // An infinite scale makes a coordinate of 0 NaN.
    checker.setParameter("xscale", inf);
    EXPECT_EQ(checker.value(0.0, 1.5, 0.5), 0.01);
}

TEST(UnsoundInput, EveryColourFunctionAnswersNaNAndInfiniteCoordinatesWithoutNaN)
{
    Library library;
    for (auto& colour : library.colours)
        for (const Point& p : points)
            EXPECT_FALSE(hasNaN(colour->colour(p.x, p.y, p.z)))
                << nameOf(*colour) << " at " << p.x << " " << p.y << " " << p.z;

    // Marble's lookup of a push from a point that is not finite is NaN (or
    // inf - floor(inf)): the first stop's colour.
    Marble& marble = static_cast<Marble&>(*library.colours[1]);
    for (double x : unsound) {
        const Colour c = marble.colour(x, 0.5, 0.5);
        EXPECT_EQ(c.r, 0.5) << x;
        EXPECT_EQ(c.a, 0.1) << x;
    }
}

TEST(UnsoundInput, EveryRealParameterOfEveryClassAnswersNaNAndInfinities)
{
    Library library;
    for (auto& field : library.fields)
        for (const ParameterInfo& parameter : field->parameters()) {
            if (parameter.kind != 1)
                continue;
            for (double bad : unsound) {
                field->setParameter(parameter.name, bad);
                for (const Point& p : points) {
                    const double v = field->value(p.x, p.y, p.z);
                    ASSERT_TRUE(inRange(v)) << nameOf(*field) << " " << parameter.name << " = " << bad << " at "
                                            << p.x << " " << p.y << " " << p.z << ": " << v;
                }
            }
            field->setParameter(parameter.name, parameter.defaultValue.realValue);
        }

    for (auto& colour : library.colours)
        for (const ParameterInfo& parameter : colour->parameters())
            for (double bad : unsound) {
                colour->setParameter(parameter.name, bad);
                for (const Point& p : points)
                    ASSERT_FALSE(hasNaN(colour->colour(p.x, p.y, p.z)))
                        << nameOf(*colour) << " " << parameter.name << " = " << bad << " at " << p.x;
            }

    // A NaN darken passes the colour as darken 0 does; an infinite one keeps
    // a component of 0 at 0.
    CDarken darken;
    Noise grey(2, 16);
    darken.setInput(&grey, 0);
    darken.setColourInput(&library.red, 0);
    darken.setParameter("darken", nan);
    const Colour plain = library.red.colour(0.3, 0.7, 1.1);
    const Colour same = darken.colour(0.3, 0.7, 1.1);
    EXPECT_EQ(same.r, plain.r);
    EXPECT_EQ(same.a, plain.a);
}

TEST(UnsoundInput, NaNSplinePositionsGiveTheFirstStopsColour)
{
    // No field hands a colour map a NaN, as the contrast stage maps NaN to
    // 0.5; the spline is asked directly.
    ColourSpline spline;
    const double stops[] = {0.0, 0.1, 0.2, 0.3, 0.4, 1.0, 0.9, 0.8, 0.7, 0.6};
    spline.setStops(stops, 2);
    const Colour c = spline.evaluate(nan);
    EXPECT_EQ(c.r, 0.1);
    EXPECT_EQ(c.a, 0.4);
}

TEST(UnsoundInput, NaNAndInfiniteStopsGiveNoNaN)
{
    Library library;
    const double unsoundStops[] = {
        nan, 0.5, 0.2, 0.4, 0.1,
        0.0, 0.5, nan, 0.4, 0.1,
        0.4, inf, 0.2, -inf, 0.1,
        inf, 0.8, 0.6, 0.2, 0.1,
        1.0, 0.5, 0.2, 0.4, nan,
    };
    library.red.spline()->setStops(unsoundStops, 5);
    library.blue.spline()->setStops(unsoundStops, 5);
    for (auto& colour : library.colours) {
        if (colour->hasSpline())
            colour->spline()->setStops(unsoundStops, 5);
        for (const Point& p : points)
            EXPECT_FALSE(hasNaN(colour->colour(p.x, p.y, p.z))) << nameOf(*colour) << " at " << p.x;
    }
}

} // namespace
