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

// A preview that counts its contexts and frames and keeps a copy of each
// frame, read back as soon as it is drawn.
class ProbeView : public CreaturePreview {
public:
    using CreaturePreview::CreaturePreview;

    int frames = 0;
    int contexts = 0;
    QImage frame;

protected:
    void initializeGL() override
    {
        ++contexts;
        CreaturePreview::initializeGL();
    }

    void drawFrame() override
    {
        CreaturePreview::drawFrame();
        ++frames;
        frame = QImage(width(), height(), QImage::Format_RGBA8888);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width(), height(), GL_RGBA, GL_UNSIGNED_BYTE, frame.bits());
    }
};

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
    EXPECT_TRUE(waitUntil([&] { return view->frames > 0; }));
    return view;
}

bool allWhite(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgba(255, 255, 255, 255))
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

TEST(EditorPreview, InitialisesItsOwnContext)
{
    auto view = shownView(nullptr, 300, 300);
    view->makeCurrent();
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0], 1.0f);
    EXPECT_EQ(clear[1], 1.0f);
    EXPECT_EQ(clear[2], 1.0f);
    EXPECT_EQ(clear[3], 1.0f);
    GLint value = 0;
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));

    // A context for fixed-function drawing, shared with no other.
    EXPECT_NE(view->context()->format().profile(), QSurfaceFormat::CoreProfile);
    ScratchContext other;
    EXPECT_FALSE(other.sharesWith(view->context()));
}

TEST(EditorPreview, ViewportIsCentredSquareWithTruncatedHalves)
{
    struct Case {
        int width, height;
        GLint x, y, side;
    };
    const Case cases[] = {
        {300, 200, 50, 0, 200},
        {201, 300, 0, 49, 201},
        {250, 250, 0, 0, 250},
        {203, 200, 1, 0, 200},
    };
    for (const Case& c : cases) {
        auto view = shownView(nullptr, c.width, c.height);
        ASSERT_EQ(view->size(), QSize(c.width, c.height));
        view->makeCurrent();
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[0], c.x) << c.width << "x" << c.height;
        EXPECT_EQ(viewport[1], c.y) << c.width << "x" << c.height;
        EXPECT_EQ(viewport[2], c.side) << c.width << "x" << c.height;
        EXPECT_EQ(viewport[3], c.side) << c.width << "x" << c.height;
    }
}

TEST(EditorPreview, ProjectionPutsMinusOneAtTheTop)
{
    auto view = shownView(nullptr, 300, 200);
    view->makeCurrent();
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    // Column-major ortho(-1, 1, 1, -1): x kept; y flipped, so y = -1 is the
    // top edge and y = 1 the bottom edge; z negated.
    const GLdouble expected[16] = {1, 0, 0, 0, 0, -1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(projection[i], expected[i]) << "element " << i;
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST(EditorPreview, NullShapeClearsToWhiteAndTicksStillDrawFrames)
{
    auto view = shownView(nullptr, 300, 200);
    EXPECT_TRUE(allWhite(view->frame));
    const int before = view->frames;
    view->tick();
    // The frame is drawn inside the tick, not later from the event queue.
    EXPECT_EQ(view->frames, before + 1);
    EXPECT_TRUE(allWhite(view->frame));
}

TEST(EditorPreview, TickAnimatesByOneHundredthAndDrawsAFrameAtOnce)
{
    SuperFormula* shape = circle();
    shape->rotspeed = 50.0;
    shape->speed = 0.0;
    auto view = shownView(shape, 200, 200);
    EXPECT_EQ(view->shape(), shape);
    EXPECT_EQ(shape->angle, 0.0);

    const int before = view->frames;
    view->tick();
    EXPECT_EQ(view->frames, before + 1);
    EXPECT_EQ(shape->angle, 0.01 * 50.0);
    EXPECT_EQ(shape->blinkTime, 1.0 - 0.01);

    // The shape fills the square, centred: its middle is not the clear colour,
    // the corners are.
    const QImage& frame = view->frame;
    EXPECT_NE(frame.pixel(100, 100), qRgba(255, 255, 255, 255));
    EXPECT_EQ(frame.pixel(2, 2), qRgba(255, 255, 255, 255));
    EXPECT_EQ(frame.pixel(197, 197), qRgba(255, 255, 255, 255));
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

// QOpenGLWidget gives a widget moved to another window a new context: the
// shape is drawn in the new one as in the old.
TEST(EditorPreview, MovedToAnotherWindowDrawsItsShapeInTheNewContext)
{
    SuperFormula* shape = circle();
    auto view = shownView(shape, 200, 200);
    ASSERT_NE(view->frame.pixel(160, 100), qRgba(255, 255, 255, 255));

    QWidget window;
    window.resize(200, 200);
    view->setParent(&window);
    window.show();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_EQ(2, view->contexts);
    view->tick();
    EXPECT_NE(view->frame.pixel(160, 100), qRgba(255, 255, 255, 255));
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

    // The preview's own state is back: white clearing, the centred square.
    view->makeCurrent();
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0], 1.0f);
    EXPECT_EQ(clear[3], 1.0f);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 50);
    EXPECT_EQ(viewport[2], 200);
    GLint source = 0;
    glGetIntegerv(GL_BLEND_SRC_ALPHA, &source);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    view->tick();
    EXPECT_EQ(view->frame.pixel(150, 100), qRgba(0, 0, 0, 255));
    EXPECT_EQ(view->frame.pixel(2, 2), qRgba(255, 255, 255, 255));

    CreaturePreview empty(nullptr);
    EXPECT_TRUE(empty.picture(64).isNull());
}
