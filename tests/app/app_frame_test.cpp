#include "app_test_world.h"

#include "app/window.h"
#include "tests/editor/editor_test_support.h"

#include <QImage>
#include <QScreen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Every pixel of `image` is the clear colour, (0.5, 0.1, 0.3), under one pass
// of the background at a tenth of its opacity: nothing undefined shows.
::testing::AssertionResult clearedUnderOnePass(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) < 126 || qRed(p) > 137 || qGreen(p) < 25 || qGreen(p) > 41 || qBlue(p) < 72 ||
                qBlue(p) > 81)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << qRed(p) << ", " << qGreen(p) << ", " << qBlue(p);
        }
    return ::testing::AssertionSuccess();
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

// Waits until the shown world of `window` has ticked twenty times or more:
// its shapes' blink clocks start at 1 and lose 0.005 a tick.
bool ranAWhile(Window& window)
{
    const World& world = window.worldView()->world();
    return waitUntil([&] { return world.creatures().front().blinkTime < 0.9; });
}

} // namespace

TEST(WorldFrame, EveryNewFramebufferStartsFromTheClearColour)
{
    TestWorld world;
    world.world().removeAll();
    ASSERT_TRUE(showAt(world, 200, 160));
    EXPECT_EQ(1, world.frames);
    EXPECT_TRUE(clearedUnderOnePass(world.squareFrame()));

    // A resize makes a framebuffer of the new size: cleared again, and one
    // frame over it.
    world.resize(260, 300);
    ASSERT_TRUE(waitUntil([&] { return world.frames == 2; }));
    const QImage square = world.squareFrame();
    EXPECT_EQ(QSize(260, 260), square.size());
    EXPECT_TRUE(clearedUnderOnePass(square));
}

// Pauses a running world: from then on only a change draws a frame. Exposes
// and paints show the frame as it is, and a click shows on the screen.
TEST(WorldFrame, PausedWorldKeepsItsFrameAndShowsAClick)
{
    Window window(7);
    window.resize(700, 500);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    WorldView* world = window.worldView();
    ASSERT_TRUE(ranAWhile(window));
    window.togglePause();
    const QImage paused = world->squareFrame().convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(waitUntil([&] { return onScreen(window) == paused; }));

    world->repaint();
    window.hide();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(waitUntil([&] { return onScreen(window) == paused; }));

    // A new creature at the click, its black pupil at the world point.
    const QRect square = world->square();
    const QPoint click = square.center();
    QTest::mousePress(world, Qt::LeftButton, {}, click);
    ASSERT_EQ(21u, world->world().creatures().size());
    ASSERT_TRUE(waitUntil([&] { return !(onScreen(window) == paused); }));
    const QImage shown = world->squareFrame().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(waitUntil([&] { return onScreen(window) == shown; }));
    EXPECT_EQ(qRgb(0, 0, 0), shown.pixel(click - square.topLeft()));
    // One frame, and no more while paused.
    QCoreApplication::processEvents();
    EXPECT_TRUE(shown == world->squareFrame().convertToFormat(QImage::Format_RGB32));
}

TEST(WorldFrame, ExportedPictureIsWhatTheScreenShows)
{
    QTemporaryDir dir;
    Window window(8);
    window.resize(640, 480);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(ranAWhile(window));
    window.togglePause();

    const QString path = dir.filePath("world.png");
    QString error;
    ASSERT_TRUE(window.exportPicture(path, error)) << error.toStdString();
    const QImage picture = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(window.worldView()->square().size(), picture.size());
    EXPECT_TRUE(waitUntil([&] { return onScreen(window) == picture; }));
}
