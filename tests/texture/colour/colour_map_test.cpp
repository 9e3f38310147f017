#include "texture/colour/colour_map.h"
#include "texture/scalar/noise.h"

#include <gtest/gtest.h>

#include <type_traits>

using namespace tex;

namespace {

// A scalar field with the same value everywhere, before the contrast stage.
class ConstantField : public Basis {
public:
    explicit ConstantField(double raw) : raw(raw) {}
    double raw;

protected:
    double formula(double, double, double) const override { return raw; }
};

// A colour function that overrides none of the wiring operations.
class PlainColour : public ColourBasis {
protected:
    Colour formula(double, double, double) const override { return Colour(1, 0, 0, 1); }
};

const double backgroundStops[] = {
    0.0,  0.5, 0.2, 0.4, 0.1,
    0.4,  0.5, 0.2, 0.4, 0.1,
    0.95, 0.8, 0.6, 0.2, 0.1,
    1.0,  0.5, 0.2, 0.4, 0.1,
};

} // namespace

static_assert(!std::is_copy_constructible<ColourMap>::value, "a colour map is not copied");
static_assert(std::has_virtual_destructor<ColourBasis>::value, "colour functions die through ColourBasis");

TEST(ColourMap, NewMapHasNoInputAndAnEmptySpline)
{
    ColourMap map;
    EXPECT_FALSE(map.inputsReady());
    EXPECT_EQ(map.inputCount(), 1);
    EXPECT_EQ(map.colourInputCount(), 0);
    EXPECT_TRUE(map.hasSpline());
    ASSERT_NE(map.spline(), nullptr);
    EXPECT_TRUE(map.spline()->stops().empty());
    EXPECT_EQ(map.spline(), map.spline());
}

TEST(ColourMap, UnwiredMapGivesTransparentBlack)
{
    ColourMap map;
    map.spline()->setStops(backgroundStops, 4);
    const Colour c = map.colour(1, 2, 3);
    EXPECT_EQ(c.r, 0);
    EXPECT_EQ(c.g, 0);
    EXPECT_EQ(c.b, 0);
    EXPECT_EQ(c.a, 0);
}

TEST(ColourMap, OnlyInputZeroIsWired)
{
    ConstantField first(0.2);
    ConstantField second(0.95);
    ColourMap map;
    map.spline()->setStops(backgroundStops, 4);

    map.setInput(&first, 1);
    map.setInput(&first, -1);
    EXPECT_FALSE(map.inputsReady());
    map.setInput(&first, 0);
    EXPECT_TRUE(map.inputsReady());
    map.setInput(&second, 1);
    EXPECT_NEAR(map.colour(0, 0, 0).r, 0.4605, 0.00005);
    map.setInput(&second, 0);
    EXPECT_EQ(map.colour(0, 0, 0).r, 0.8);
    map.setInput(nullptr, 0);
    EXPECT_FALSE(map.inputsReady());
}

TEST(ColourMap, MapsTheFieldValueThroughTheSpline)
{
    ConstantField field(0.2);
    ColourMap map;
    map.setInput(&field, 0);
    map.spline()->setStops(backgroundStops, 4);
    for (double x : {-3.0, 0.0, 0.5, 100.0}) {
        const Colour c = map.colour(x, -x, 2 * x);
        EXPECT_NEAR(c.r, 0.4605, 0.00005);
        EXPECT_NEAR(c.g, 0.1474, 0.00005);
        EXPECT_NEAR(c.b, 0.4263, 0.00005);
        EXPECT_NEAR(c.a, 0.1, 0.00005);
    }

    // The result is not clamped, and the field's contrast stage runs first.
    field.raw = 0.97;
    EXPECT_NEAR(map.colour(0, 0, 0).r, 1.2704, 0.00005);
    field.raw = 2.0;
    const Colour top = map.colour(0, 0, 0);
    const Colour expected = map.spline()->evaluate(0.99);
    EXPECT_EQ(top.r, expected.r);
    EXPECT_EQ(top.b, expected.b);

    // New stops take effect at the next evaluation.
    const double flat[] = {0.0, 0.1, 0.1, 0.1, 0.1, 1.0, 0.1, 0.1, 0.1, 0.1};
    map.spline()->setStops(flat, 2);
    EXPECT_EQ(map.colour(0, 0, 0).g, 0.1);
}

TEST(ColourMap, OverNoiseMatchesTheSplineOfTheNoiseValue)
{
    Noise noise(16, 16);
    ColourMap map;
    map.setInput(&noise, 0);
    map.spline()->setStops(backgroundStops, 4);
    for (int i = 0; i < 100; ++i) {
        const double x = i * 0.173;
        const double y = i * -0.291;
        const double z = i * 0.057;
        const Colour c = map.colour(x, y, z);
        const Colour e = map.spline()->evaluate(noise.value(x, y, z));
        ASSERT_EQ(c.r, e.r);
        ASSERT_EQ(c.g, e.g);
        ASSERT_EQ(c.b, e.b);
        ASSERT_EQ(c.a, e.a);
    }
}

TEST(ColourMap, HasNoNamedParametersOrColourInputs)
{
    ColourMap map;
    PlainColour other;
    EXPECT_TRUE(map.parameters().empty());
    EXPECT_EQ(&map.parameters(), &ColourBasis::parameterList());
    map.setParameter("contrast", 3);
    map.setIntParameter("octaves", 3);
    EXPECT_EQ(map.getParameter("contrast"), 0.0);
    EXPECT_EQ(map.getIntParameter("octaves"), 0);
    EXPECT_EQ(map.findParameter("contrast"), nullptr);
    map.setColourInput(&other, 0);
    EXPECT_EQ(map.colourInputCount(), 0);
}

TEST(ColourMap, DestroyingTheMapLeavesItsInputAlive)
{
    Noise noise(3, 16);
    const double before = noise.value(0.3, 0.6, 0.9);
    {
        ColourBasis* map = new ColourMap;
        map->setInput(&noise, 0);
        map->spline()->setStops(backgroundStops, 4);
        map->colour(0.3, 0.6, 0.9);
        delete map;
    }
    EXPECT_EQ(noise.value(0.3, 0.6, 0.9), before);
}

TEST(ColourBasis, DefaultWiringIgnoresInputs)
{
    PlainColour plain;
    ConstantField field(0.5);
    ColourMap map;
    EXPECT_EQ(plain.inputCount(), 0);
    EXPECT_EQ(plain.colourInputCount(), 0);
    EXPECT_TRUE(plain.inputsReady());
    EXPECT_FALSE(plain.hasSpline());
    EXPECT_EQ(plain.spline(), nullptr);
    plain.setInput(&field, 0);
    plain.setColourInput(&map, 0);
    EXPECT_TRUE(plain.inputsReady());
    EXPECT_EQ(plain.colour(0, 0, 0).r, 1);
    EXPECT_EQ(plain.findParameter(""), nullptr);
}
