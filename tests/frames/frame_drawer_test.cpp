// The drawing thread on its own: the framebuffer it keeps, the frames it
// refuses while busy, and snapshots drawn while the world goes on changing.
#include "frames/frame_drawer.h"
#include "shape/shape_random.h"
#include "world/world.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const float clearColour[4] = {0.5f, 0.1f, 0.3f, 0.8f};

// Runs the event loop until `done`, or fails after a minute.
template <typename Done>
bool waitFor(Done done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// The frames a drawer delivers, in order.
struct Delivered {
    explicit Delivered(FrameDrawer& drawer)
    {
        QObject::connect(&drawer, &FrameDrawer::frameDrawn,
                         [this](const FrameDrawer::Frame& frame) { frames.push_back(frame); });
    }
    std::vector<FrameDrawer::Frame> frames;
};

bool everyPixelIs(const QImage& image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) | 0xff000000u) != colour)
                return false;
    return true;
}

} // namespace

TEST(FrameDrawer, EachNewFramebufferStartsFromTheClearColourAndKeepsTheLastFrame)
{
    FrameDrawer drawer(0.5, clearColour);
    Delivered delivered(drawer);
    const QRgb cleared = qRgb(128, 26, 76);
    ASSERT_TRUE(drawer.draw(40, [](FrameDrawer::Canvas&) {}));
    ASSERT_TRUE(waitFor([&] { return delivered.frames.size() == 1; }));
    EXPECT_EQ(QSize(40, 40), delivered.frames[0].image.size());
    EXPECT_TRUE(everyPixelIs(delivered.frames[0].image, cleared));

    // Half the square painted white; the next frame draws nothing over it
    // and still shows it: the framebuffer is kept between frames.
    ASSERT_TRUE(drawer.draw(40, [](FrameDrawer::Canvas&) {
        glColor4f(1, 1, 1, 1);
        glRectf(-0.5f, -0.5f, 0.0f, 0.5f);
    }));
    ASSERT_TRUE(waitFor([&] { return !drawer.busy(); }));
    ASSERT_TRUE(drawer.draw(40, [](FrameDrawer::Canvas&) {}));
    ASSERT_TRUE(waitFor([&] { return delivered.frames.size() == 3; }));
    const QImage kept = delivered.frames[2].image;
    EXPECT_EQ(qRgb(255, 255, 255), kept.pixel(5, 20) | 0xff000000u);   // left half: y is down, x is not turned
    EXPECT_EQ(cleared, kept.pixel(35, 20) | 0xff000000u);

    // Another size: a new framebuffer, cleared again.
    ASSERT_TRUE(drawer.draw(24, [](FrameDrawer::Canvas&) {}));
    ASSERT_TRUE(waitFor([&] { return delivered.frames.size() == 4; }));
    EXPECT_EQ(QSize(24, 24), delivered.frames[3].image.size());
    EXPECT_TRUE(everyPixelIs(delivered.frames[3].image, cleared));
}

TEST(FrameDrawer, AFrameAskedForWhileOneIsDrawnIsRefused)
{
    FrameDrawer drawer(0.5, clearColour);
    Delivered delivered(drawer);
    std::atomic<int> drawn{0};
    ASSERT_TRUE(drawer.draw(16, [&](FrameDrawer::Canvas&) { ++drawn; }));
    // Until the frame reaches this thread the drawer is busy, however soon
    // the drawing thread finishes it.
    EXPECT_TRUE(drawer.busy());
    EXPECT_FALSE(drawer.draw(16, [&](FrameDrawer::Canvas&) { ++drawn; }));
    EXPECT_FALSE(drawer.draw(0, [&](FrameDrawer::Canvas&) { ++drawn; }));
    ASSERT_TRUE(waitFor([&] { return !drawer.busy(); }));
    EXPECT_EQ(1u, delivered.frames.size());
    EXPECT_EQ(1, drawn.load());
}

// The drawing thread draws snapshots while this thread breeds, removes and
// ticks the world as fast as it can. Each frame shows the population of
// the snapshot it was given, whole. Run under ThreadSanitizer too.
TEST(FrameDrawer, SnapshotsAreDrawnWhileTheWorldChanges)
{
    FrameDrawer drawer(0.5, clearColour);
    Delivered delivered(drawer);
    World world;
    seedShapeRandom(5);
    std::vector<std::size_t> sizes;
    int changes = 0;
    while (delivered.frames.size() < 12) {
        if (!drawer.busy()) {
            std::shared_ptr<const Population> snapshot = world.snapshot();
            sizes.push_back(snapshot->size());
            drawer.draw(64, [snapshot](FrameDrawer::Canvas& canvas) {
                glScaled(0.1, 0.1, 0.1);
                canvas.renderer.beginFrame();
                for (const SuperFormula& creature : *snapshot)
                    canvas.renderer.add(creature);
                canvas.renderer.finishFrame(CreatureRenderer::Unready::waitFor);
            });
        }
        // Changes between and during frames.
        if (world.size() < 200)
            world.spawnAt(randomIn(-5, 5), randomIn(-5, 5));
        if (++changes % 3 == 0)
            world.removeIndex(0);
        world.advance(0.005);
        QCoreApplication::processEvents();
    }
    ASSERT_GE(sizes.size(), 12u);
    for (std::size_t i = 0; i < delivered.frames.size(); ++i)
        EXPECT_EQ(sizes[i], delivered.frames[i].counts.creatures) << "frame " << i;
}
