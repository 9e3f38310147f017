// Wiring refuses what value() could not follow: a connection that closes a
// cycle, through scalar and colour inputs alike, whatever the depth.
#include "texture/colour/c_darken.h"
#include "texture/colour/c_mixer.h"
#include "texture/scalar/b_gainer.h"
#include "texture/scalar/b_lerper.h"
#include "texture/scalar/fbm.h"
#include "texture/scalar/noise.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tex;

namespace {

TEST(Wiring, AFieldIsNotItsOwnInput)
{
    FBM fbm;
    EXPECT_FALSE(fbm.setInput(&fbm, 0));
    EXPECT_FALSE(fbm.inputsReady());
    EXPECT_EQ(fbm.value(0.3, 0.4, 0.5), 0.01);

    // Refused over an earlier input, which stays.
    Noise noise(1, 16);
    ASSERT_TRUE(fbm.setInput(&noise, 0));
    const double before = fbm.value(0.3, 0.4, 0.5);
    EXPECT_FALSE(fbm.setInput(&fbm, 0));
    EXPECT_EQ(fbm.value(0.3, 0.4, 0.5), before);
}

TEST(Wiring, ALongerCycleIsRefusedAndSharedInputsAreNot)
{
    Noise noise(3, 16);
    BGainer a, b, c;
    ASSERT_TRUE(a.setInput(&b, 0));
    ASSERT_TRUE(b.setInput(&c, 0));
    ASSERT_TRUE(c.setInput(&noise, 0));
    const double before = a.value(1.3, 2.7, 0.2);
    EXPECT_FALSE(c.setInput(&a, 0));
    EXPECT_EQ(a.value(1.3, 2.7, 0.2), before) << "c keeps the noise";

    // One field under both inputs of another is no cycle.
    BLerper lerper;
    EXPECT_TRUE(lerper.setInput(&a, 0));
    EXPECT_TRUE(lerper.setInput(&b, 1));
    EXPECT_FALSE(c.setInput(&lerper, 0));

    // Once a lets go of b, b may take a, and then a may not take b back.
    ASSERT_TRUE(a.setInput(nullptr, 0));
    EXPECT_TRUE(b.setInput(&a, 0));
    EXPECT_FALSE(a.setInput(&b, 0));
    EXPECT_TRUE(a.setInput(&c, 0));
}

TEST(Wiring, ACycleThroughAGraphTooDeepToRecurseIsRefused)
{
    // Closing a chain means walking all of it, deeper than any recursion
    // could go on the stack.
    std::vector<BGainer> chain(300000);
    for (size_t i = 0; i + 1 < chain.size(); ++i)
        ASSERT_TRUE(chain[i].setInput(&chain[i + 1], 0));
    EXPECT_FALSE(chain.back().setInput(&chain.front(), 0));
    EXPECT_FALSE(chain.back().inputsReady());
}

TEST(Wiring, ColourCyclesAreRefusedToo)
{
    Noise noise(1, 16);
    CDarken darken;
    EXPECT_FALSE(darken.setColourInput(&darken, 0));

    CMixer mixer;
    ASSERT_TRUE(darken.setColourInput(&mixer, 0));
    ASSERT_TRUE(darken.setInput(&noise, 0));
    EXPECT_FALSE(mixer.setColourInput(&darken, 1));
    EXPECT_FALSE(mixer.setColourInput(&darken, 0));

    // A scalar input never leads back to a colour function.
    EXPECT_TRUE(mixer.setInput(&noise, 0));
    EXPECT_FALSE(mixer.setColourInput(&mixer, 2)) << "no such index";
}

} // namespace
