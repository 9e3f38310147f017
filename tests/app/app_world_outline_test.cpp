#include "app_test_world.h"

#include "tests/editor/editor_test_support.h"

#include <gtest/gtest.h>

// A creature whose outline is evaluated apart from the frames is left out
// until it is ready; a paused world then draws a frame of its own.
TEST(WorldOutlines, PausedWorldShowsACreatureOnceItsOutlineIsReady)
{
    TestWorld world;
    world.world().removeAll();
    ASSERT_TRUE(showAt(world, 400, 400));
    SuperFormula dense = stillDisc(0, 0, 0, 1, 0);
    dense.samples = SuperFormula::maxSamples - 1;
    dense.eye = 1;
    world.world().add(dense);
    ASSERT_TRUE(waitUntil([&] { return world.lastFrame().creatures == 1; }, 60000));
    ASSERT_TRUE(settled(world));
    const QImage shown = world.squareFrame();
    EXPECT_EQ(qRgb(0, 0, 0), shown.pixel(200, 200) | 0xff000000u); // the pupil
    EXPECT_EQ(0, qRed(shown.pixel(200 + 25, 200)));                 // the green body
    EXPECT_GT(qGreen(shown.pixel(200 + 25, 200)), 200);
}
