#include "app_test_world.h"
#include "app/world_background.h"

#include "draw_calls.h"
#include "reference_drawing.h"
#include "shape/creature_outline.h"
#include "shape/shape_random.h"
#include "tests/editor/editor_test_support.h"

#include <QImage>

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <memory>

namespace {

// The world view, which can draw its next frames as the world was drawn
// before its renderer: the background quad in immediate mode, a display
// list and an immediate-mode eye per creature.
class ComparedWorld : public TestWorld {
public:
    using TestWorld::TestWorld;
    ~ComparedWorld() override
    {
        makeCurrent();
        reference.release();
    }

    // From a background turned as for the first frame again: its texture is
    // this view's, baked from a seed of the time it was made.
    void drawAsBefore()
    {
        makeCurrent();
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        asBefore = true;
    }

protected:
    void drawFrame() override
    {
        if (!asBefore) {
            TestWorld::drawFrame();
            return;
        }
        ++frames;
        reference.drawWorldFrame(backgroundTexture(), world().creatures());
    }

private:
    bool asBefore = false;
    ReferenceRenderer reference;
};

// Random creatures of seed 21, turned anywhere, every third with its eye
// shut, and pupils at least five pixels in radius in an 800-pixel world,
// which no thinning touches.
Population seededCreatures(int count)
{
    seedShapeRandom(21);
    Population creatures;
    for (int i = 0; i < count; ++i) {
        SuperFormula* c = randomSuperFormula();
        c->angle = randomIn(-180, 180);
        c->eyeClosed = i % 3 == 0;
        const double fit = evaluateOutline({c->a, c->b, c->m, c->n1, c->n2, c->n3, c->samples}).fitScale;
        c->eye = std::max(c->eye, 5 / (0.09 * 80 * fit));
        creatures.push_back(std::move(*c));
        delete c;
    }
    return creatures;
}

int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

} // namespace

// Through the real view: its first frame over the clear colour, background
// and all, is the reference drawing's, and costs two draw calls.
TEST(WorldDrawing, SeededWorldFrameIsTheReferenceFramePixelForPixel)
{
    ComparedWorld world(nullptr, 21);
    ASSERT_TRUE(world.world().replace(seededCreatures(80)));
    resetDrawCalls();
    ASSERT_TRUE(showAt(world, 800, 800));
    const DrawCalls calls = drawCallsSoFar();
    ASSERT_EQ(1, world.frames);
    EXPECT_EQ(80u, world.renderer().lastFrame().creatures);
    // The background and the whole population: one call each, nothing in
    // immediate mode.
    EXPECT_EQ(1, calls.arrays);
    EXPECT_EQ(1, calls.elements);
    EXPECT_EQ(0, calls.begins + calls.lists);
    const QImage drawn = world.squareFrame();

    // One column wider, the framebuffer is new and cleared, and the square
    // where it was.
    world.drawAsBefore();
    world.resize(801, 800);
    ASSERT_TRUE(waitUntil([&] { return world.frames == 2; }));
    EXPECT_EQ(0, differingPixels(drawn, world.squareFrame()));
}

// A creature whose outline is evaluated apart from the frames is left out
// until it is ready; a stopped world then draws a frame of its own.
TEST(WorldDrawing, PausedWorldShowsACreatureOnceItsOutlineIsReady)
{
    TestWorld world;
    world.world().removeAll();
    ASSERT_TRUE(showAt(world, 400, 400));
    SuperFormula dense = stillDisc(0, 0, 0, 1, 0);
    dense.samples = SuperFormula::maxSamples - 1;
    dense.eye = 1;
    world.world().add(dense);
    drawPendingFrame(world);
    EXPECT_EQ(1u, world.renderer().lastFrame().leftOut);
    const int frames = world.frames;

    ASSERT_TRUE(waitUntil([&] { return world.renderer().lastFrame().creatures == 1; }));
    EXPECT_EQ(frames + 1, world.frames);
    const QImage shown = world.squareFrame();
    EXPECT_EQ(qRgb(0, 0, 0), shown.pixel(200, 200) | 0xff000000u);  // the pupil
    EXPECT_EQ(0, qRed(shown.pixel(200 + 25, 200)));                  // the green body
    EXPECT_GT(qGreen(shown.pixel(200 + 25, 200)), 200);
}
