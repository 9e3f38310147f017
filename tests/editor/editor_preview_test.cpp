#include "editor/creature_preview.h"
#include "shape/super_formula.h"
#include "tests/editor/editor_test_support.h"

#include <QImage>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

using ProbeView = CreaturePreview;

// The unit circle: a = b = 1, n1 = n2 = n3 = 2, m = 4.
SuperFormula* circle()
{
    return new SuperFormula(1, 1, 4, 2, 2, 2, 0);
}

std::unique_ptr<ProbeView> shownView(SuperFormula* shape, int width, int height)
{
    auto view = std::make_unique<ProbeView>(shape);
    view->resize(width, height);
    view->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    EXPECT_TRUE(waitUntil([&] { return view->framesShown() > 0 && !view->framePending(); }, 60000));
    return view;
}

bool allWhite(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) | 0xff000000u) != qRgb(255, 255, 255))
                return false;
    return true;
}

} // namespace

TEST(EditorPreview, SizeHintsAndNothingBeforeItsFirstTick)
{
    CreaturePreview view(nullptr);
    EXPECT_EQ(view.sizeHint(), QSize(400, 400));
    EXPECT_EQ(view.minimumSizeHint(), QSize(200, 200));
    EXPECT_EQ(view.shape(), nullptr);
    EXPECT_EQ(view.tickTimer(), nullptr);
    EXPECT_EQ(view.parentWidget(), nullptr);
}

// The next frame a tick draws.
QImage tickedFrame(ProbeView& view)
{
    EXPECT_TRUE(waitUntil([&] { return !view.framePending(); }, 60000));
    const int before = view.framesShown();
    view.tick();
    EXPECT_TRUE(waitUntil([&] { return view.framesShown() == before + 1; }, 60000));
    return view.squareFrame();
}

TEST(EditorPreview, NullShapeClearsToWhiteAndTicksStillDrawFrames)
{
    auto view = shownView(nullptr, 300, 200);
    EXPECT_TRUE(allWhite(view->squareFrame()));
    EXPECT_TRUE(allWhite(tickedFrame(*view)));
}

// Hidden, a ticking preview draws nothing; shown again, it draws at once.
TEST(EditorPreview, AHiddenPreviewDrawsNothing)
{
    SuperFormula* shape = circle();
    shape->rotspeed = 1.0;
    auto view = shownView(shape, 200, 200);
    view->hide();
    const int before = view->framesShown();
    for (int i = 0; i < 20; ++i)
        view->tick();
    QCoreApplication::processEvents();
    EXPECT_EQ(before, view->framesShown());
    EXPECT_NEAR(0.2, shape->angle, 1e-9); // the shape still moved on
    view->show();
    EXPECT_TRUE(waitUntil([&] { return view->framesShown() > before; }, 60000));
}

TEST(EditorPreview, TickAnimatesByOneHundredthAndDrawsAFrameAtOnce)
{
    SuperFormula* shape = circle();
    shape->rotspeed = 50.0;
    shape->speed = 0.0;
    auto view = shownView(shape, 200, 200);
    EXPECT_EQ(view->shape(), shape);
    EXPECT_EQ(shape->angle, 0.0);

    const QImage frame = tickedFrame(*view);
    EXPECT_EQ(shape->angle, 0.01 * 50.0);
    EXPECT_EQ(shape->blinkTime, 1.0 - 0.01);

    // The shape fills the square, centred: its middle is not the clear colour,
    // the corners are.
    EXPECT_NE(frame.pixel(100, 100) | 0xff000000u, qRgb(255, 255, 255));
    EXPECT_EQ(frame.pixel(2, 2) | 0xff000000u, qRgb(255, 255, 255));
    EXPECT_EQ(frame.pixel(197, 197) | 0xff000000u, qRgb(255, 255, 255));
}

TEST(EditorPreview, TimerStartsStopsAndRestartsAtTenMilliseconds)
{
    ProbeView view(nullptr);
    EXPECT_EQ(view.tickTimer(), nullptr);

    view.toggleTicking();
    QTimer* timer = view.tickTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->parent(), &view);
    EXPECT_TRUE(timer->isActive());
    EXPECT_FALSE(timer->isSingleShot());
    EXPECT_EQ(timer->interval(), 10);

    view.toggleTicking();
    EXPECT_EQ(view.tickTimer(), timer);
    EXPECT_FALSE(timer->isActive());

    view.toggleTicking();
    EXPECT_EQ(view.tickTimer(), timer);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 10);
    EXPECT_EQ(view.findChildren<QTimer*>().size(), 1);
}

TEST(EditorPreview, TimerDrivesTheTick)
{
    SuperFormula* shape = circle();
    shape->rotspeed = 1.0;
    auto view = shownView(shape, 200, 200);
    view->toggleTicking();
    ASSERT_TRUE(waitUntil([&] { return shape->angle >= 0.05; }));

    view->toggleTicking();
    const double stopped = shape->angle;
    QTest::qWait(50);
    EXPECT_EQ(shape->angle, stopped);
}

// The frames are drawn apart from any window: a preview moved into
// another one goes on drawing its shape.
TEST(EditorPreview, MovedToAnotherWindowStillDrawsItsShape)
{
    SuperFormula* shape = circle();
    auto view = shownView(shape, 200, 200);
    ASSERT_NE(view->squareFrame().pixel(160, 100) | 0xff000000u, qRgb(255, 255, 255));

    QWidget window;
    window.resize(200, 200);
    view->setParent(&window);
    window.show();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_NE(tickedFrame(*view).pixel(160, 100) | 0xff000000u, qRgb(255, 255, 255));
    view.reset();
}

TEST(EditorPreview, DestroysAShapeThatWasNeverDrawnWithItsTimer)
{
    SuperFormula* shape = circle();
    auto view = std::make_unique<ProbeView>(shape);
    view->toggleTicking();
    QPointer<QTimer> timer = view->tickTimer();
    ASSERT_FALSE(timer.isNull());
    view.reset();
    EXPECT_TRUE(timer.isNull());
}

// A green disc with a black rim and pupil, drawn alone on a transparent
// square: the corners are clear, the fill and the pupil opaque, and the
// rim's alpha rises towards the outline as it does over the white preview.
TEST(EditorPreview, PictureIsTheShapeAloneOnATransparentSquare)
{
    SuperFormula* shape = circle();
    for (int k : {0, 1}) {
        shape->colour[k][0] = 0;
        shape->colour[k][1] = 1;
        shape->colour[k][2] = 0;
        shape->colour[k][3] = 1;
    }
    shape->border = 0.2;
    shape->eye = 0.5;
    auto view = shownView(shape, 300, 200);
    view->toggleTicking();

    const QImage picture = view->picture(200);
    ASSERT_EQ(picture.size(), QSize(200, 200));
    EXPECT_TRUE(picture.hasAlphaChannel());
    EXPECT_EQ(picture.pixel(2, 2), qRgba(0, 0, 0, 0));
    EXPECT_EQ(picture.pixel(197, 197), qRgba(0, 0, 0, 0));
    EXPECT_EQ(picture.pixel(100, 100), qRgba(0, 0, 0, 255));
    EXPECT_EQ(picture.pixel(165, 100), qRgba(0, 255, 0, 255));
    // Inside the rim the fill lies over the rim fan's translucent black.
    const QRgb rim = picture.pixel(185, 100);
    EXPECT_GT(qAlpha(rim), 200);
    EXPECT_LT(qGreen(rim), 255);

    // The preview's frames are as before: the shape on white.
    view->toggleTicking();
    const QImage frame = tickedFrame(*view);
    EXPECT_EQ(frame.pixel(100, 100) | 0xff000000u, qRgb(0, 0, 0));
    EXPECT_EQ(frame.pixel(2, 2) | 0xff000000u, qRgb(255, 255, 255));

    CreaturePreview empty(nullptr);
    EXPECT_TRUE(empty.picture(64).isNull());
}
