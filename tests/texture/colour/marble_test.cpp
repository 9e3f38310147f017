#include "texture/colour/marble.h"

#include "tests/texture/colour/probe_colour.h"
#include "tests/texture/scalar/probe_field.h"

#include <gtest/gtest.h>

using namespace tex;

namespace {

// The world background's stops.
const double stops[] = {
    0.0, 0.5, 0.2, 0.4, 0.1,
    0.4, 0.5, 0.2, 0.4, 0.1,
    0.95, 0.8, 0.6, 0.2, 0.1,
    1.0, 0.5, 0.2, 0.4, 0.1,
};

TEST(Marble, PushesTheLookupAlongX)
{
    ProbeField half(0.5);
    Marble marble;
    marble.setInput(&half, 0);
    marble.spline()->setStops(stops, 4);
    expectColour(marble.colour(0.75, 0.0, 0.0), 0.4537, 0.1383, 0.4308, 0.1, 5e-5);
    expectColour(marble.colour(0.5, 3.0, 2.0), 0.5, 0.2, 0.4, 0.1);
    expectColour(marble.colour(-2.0, 0.0, 0.0), 0.5, 0.2, 0.4, 0.1);
    expectColour(marble.colour(-0.3, 0.0, 0.0), 0.4605, 0.1474, 0.4263, 0.1, 5e-5);
    // 3.75 + 0.5 wraps to 0.25 like 0.75 + 0.5.
    const Colour wrapped = marble.colour(3.75, 0.0, 0.0);
    const Colour once = marble.colour(0.75, 0.0, 0.0);
    expectColour(wrapped, once.r, once.g, once.b, once.a);
}

TEST(Marble, PassesTheUnscaledPointToItsInput)
{
    ProbeField input(0.3);
    input.setParameter("xscale", 5.0);
    Marble marble;
    marble.setInput(&input, 0);
    marble.spline()->setStops(stops, 4);
    marble.colour(1.5, -2.0, 4.0);
    // The input's own xscale applies, once.
    EXPECT_EQ(input.points.back(), (std::array<double, 3>{5 * 1.5, -2.0, 4.0}));
}

TEST(Marble, IsWiredLikeAColourMap)
{
    Marble marble;
    EXPECT_EQ(marble.inputCount(), 1);
    EXPECT_EQ(marble.colourInputCount(), 0);
    EXPECT_TRUE(marble.hasSpline());
    ASSERT_NE(marble.spline(), nullptr);
    EXPECT_TRUE(marble.spline()->stops().empty());
    EXPECT_FALSE(marble.inputsReady());
    marble.spline()->setStops(stops, 4);
    expectColour(marble.colour(0.5, 0.5, 0.5), 0, 0, 0, 0);
    EXPECT_TRUE(marble.parameters().empty());
    EXPECT_EQ(marble.getParameter("contrast"), 0.0);
    bool destroyed = false;
    auto* input = new ProbeField(0.5, "", nullptr, &destroyed);
    auto* owner = new Marble;
    owner->setInput(input, 1);
    EXPECT_FALSE(owner->inputsReady());
    owner->setInput(input, 0);
    EXPECT_TRUE(owner->inputsReady());
    delete static_cast<ColourBasis*>(owner);
    EXPECT_FALSE(destroyed);
    delete input;
}

} // namespace
