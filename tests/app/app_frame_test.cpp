// What the world's frames must show, whatever the driver: each creature's
// colours at its centre and the background elsewhere, trails that fade, a
// paused change shown as it is, and the screen, a grab and an export alike.
#include "app_test_world.h"

#include "app/window.h"
#include "tests/editor/editor_test_support.h"

#include <QImage>
#include <QScreen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Two pixels alike to within a few steps: the background turns a
// hundredth of a degree a frame.
bool alike(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 6 && std::abs(qGreen(a) - qGreen(b)) <= 6
        && std::abs(qBlue(a) - qBlue(b)) <= 6;
}

// Pixels of `frame` that no background and no blend with it can make: a
// colour channel at full strength while the others are near zero.
int pixelsOfPure(const QImage& frame, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb p = frame.pixel(x, y);
            if (std::abs(qRed(p) - qRed(colour)) < 40 && std::abs(qGreen(p) - qGreen(colour)) < 40
                && std::abs(qBlue(p) - qBlue(colour)) < 40)
                ++count;
        }
    return count;
}

// The world view's square as the screen shows it.
QImage onScreen(Window& window)
{
    WorldView* world = window.worldView();
    const QRect square = world->square();
    const QPoint corner = world->mapTo(&window, square.topLeft());
    return window.screen()
        ->grabWindow(window.winId(), corner.x(), corner.y(), square.width(), square.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// A paused world of three still discs, red, green and blue, overlapping in
// a row across the centre, shown 400 pixels square.
class PausedFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        world.world().removeAll();
        world.world().add(stillDisc(-0.6, 0, 1, 0, 0));
        world.world().add(stillDisc(0, 0, 0, 1, 0));
        world.world().add(stillDisc(0.6, 0, 0, 0, 1));
        ASSERT_TRUE(showAt(world, 400, 400));
        ASSERT_TRUE(settled(world));
    }

    TestWorld world;
};

const QRgb red = qRgb(255, 0, 0);
const QRgb green = qRgb(0, 255, 0);
const QRgb blue = qRgb(0, 0, 255);

} // namespace

TEST_F(PausedFrame, EachCreaturesColoursShowAtItsCentreAndTheBackgroundElsewhere)
{
    const QImage frame = world.squareFrame();
    // Each disc over the ones before it; away from its eye.
    EXPECT_EQ(red, pixelAtWorld(frame, -1.3, 0));
    EXPECT_EQ(green, pixelAtWorld(frame, -0.2, 0.8));
    EXPECT_EQ(blue, pixelAtWorld(frame, 1.3, 0));
    // Elsewhere the frame of the empty world: the background alone.
    world.world().removeAll();
    ASSERT_TRUE(settled(world));
    const QImage background = world.squareFrame();
    for (const QPointF& p : {QPointF(-4, -4), QPointF(3, 3), QPointF(0, 2), QPointF(4.9, -4.9)})
        EXPECT_TRUE(alike(pixelAtWorld(background, p.x(), p.y()), pixelAtWorld(frame, p.x(), p.y())))
            << p.x() << ", " << p.y();
    EXPECT_FALSE(alike(pixelAtWorld(background, -1.3, 0), red));
}

// Each right click removes the first creature under it, and the frame that
// follows holds none of its pixels: no trail of it stays in a paused world.
TEST_F(PausedFrame, EachRemovalShowsAtOnceWithNoneOfTheCreaturesPixelsLeft)
{
    const QPoint centre = world.rect().center();
    ASSERT_GT(pixelsOfPure(world.squareFrame(), red), 100);
    const QRgb order[3] = {red, green, blue};
    for (int click = 0; click < 3; ++click) {
        QTest::mousePress(&world, Qt::RightButton, {}, centre);
        ASSERT_EQ(std::size_t(2 - click), world.world().size());
        ASSERT_TRUE(settled(world));
        const QImage frame = world.squareFrame();
        for (int gone = 0; gone <= click; ++gone)
            EXPECT_EQ(0, pixelsOfPure(frame, order[gone])) << "click " << click;
        for (int left = click + 1; left < 3; ++left)
            EXPECT_GT(pixelsOfPure(frame, order[left]), 100) << "click " << click;
    }
}

// A running world's frames lay the background over the last at a tenth of
// its opacity: where a creature was, its colour fades frame by frame.
TEST_F(PausedFrame, TrailsOfARunningWorldFadeOverTenFrames)
{
    // A change in a running world shows at its next tick, over the last
    // frame: the timer is started and stopped again before any tick comes.
    world.toggleTicking();
    world.world().removeAll();
    world.toggleTicking();
    int lastRed = 255;
    int lastGreen = 0;
    for (int frame = 1; frame <= 10; ++frame) {
        const int shown = world.framesShown();
        world.tick();
        ASSERT_TRUE(waitUntil([&] { return world.framesShown() > shown; }, 60000));
        const QRgb trail = pixelAtWorld(world.squareFrame(), -1.3, 0);
        EXPECT_LT(qRed(trail), lastRed) << frame;
        EXPECT_GT(qGreen(trail), lastGreen) << frame;
        lastRed = qRed(trail);
        lastGreen = qGreen(trail);
        if (frame == 10) {
            // 0.9^10 of the way from red to the background: still a trail.
            EXPECT_GT(qRed(trail), 160);
            EXPECT_LT(qGreen(trail), 110);
        }
    }
}

TEST(WorldFrame, TheScreenAGrabAndTheExportedPictureAreTheSamePixels)
{
    QTemporaryDir dir;
    Window window(8);
    window.resize(640, 480);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    WorldView* world = window.worldView();
    ASSERT_TRUE(waitUntil([&] { return world->framesShown() > 20; }, 60000));
    window.togglePause();
    // A click while paused draws one frame that shows it.
    QTest::mousePress(world, Qt::LeftButton, {}, world->rect().center());
    ASSERT_TRUE(settled(*world));

    const QString path = dir.filePath("world.png");
    QString error;
    ASSERT_TRUE(window.exportPicture(path, error)) << error.toStdString();
    const QImage picture = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(world->square().size(), picture.size());
    EXPECT_EQ(world->squareFrame().convertToFormat(QImage::Format_RGB32), picture);
    const QImage grabbed = world->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(world->square());
    EXPECT_EQ(picture, grabbed);
    EXPECT_TRUE(waitUntil([&] { return onScreen(window) == picture; }));
}
