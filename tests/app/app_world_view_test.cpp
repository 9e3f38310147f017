#include "app_test_world.h"

#include "shape/shape_random.h"
#include "tests/editor/editor_test_support.h"

#include <QImage>
#include <QTimer>

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <ctime>
#include <memory>

TEST(WorldView, StartsWithTwentyShapesNoTimerRateHalfAndModeRandom)
{
    TestWorld world;
    EXPECT_EQ(20u, world.world().creatures().size());
    EXPECT_EQ(nullptr, world.tickTimer());
    EXPECT_EQ(0.5, world.world().mutationRate());
    EXPECT_TRUE(BreedingMode::random == world.world().mode());
    EXPECT_EQ(Qt::WhatsThisCursor, world.cursor().shape());
    EXPECT_EQ(QSize(800, 800), world.sizeHint());
    EXPECT_EQ(QSize(200, 200), world.minimumSizeHint());
}

TEST(WorldView, ViewsMadeInTheSameSecondShareTheirFirstPopulation)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t before = std::time(nullptr);
        TestWorld first;
        TestWorld second;
        if (std::time(nullptr) != before)
            continue;
        const auto a = shapesOf(first);
        const auto b = shapesOf(second);
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) {
            for (int p = 0; p < 9; ++p)
                EXPECT_EQ(a[i]->param(p), b[i]->param(p));
            EXPECT_EQ(a[i]->position.x, b[i]->position.x);
            EXPECT_EQ(a[i]->heading.y, b[i]->heading.y);
            EXPECT_EQ(a[i]->colour[2][3], b[i]->colour[2][3]);
        }
        // And the population is the generator's: seeded from the time.
        seedShapeRandom(unsigned(before));
        std::unique_ptr<SuperFormula> expected(randomSuperFormula());
        EXPECT_EQ(expected->a, a[0]->a);
        EXPECT_EQ(expected->position.y, a[0]->position.y);
        return;
    }
    FAIL() << "the clock kept moving on";
}

TEST(WorldView, TheModeSetsTheCursor)
{
    TestWorld world;
    world.world().setMode(BreedingMode::mutate);
    EXPECT_EQ(Qt::UpArrowCursor, world.cursor().shape());
    world.world().setMode(BreedingMode::manyKids);
    EXPECT_EQ(Qt::SizeAllCursor, world.cursor().shape());
    world.world().setMode(BreedingMode::random);
    EXPECT_EQ(Qt::WhatsThisCursor, world.cursor().shape());
}

TEST(WorldView, TimerIsCreatedOnceThenToggled)
{
    TestWorld world;
    const int timersBefore = world.findChildren<QTimer*>().size();
    world.toggleTicking();
    QTimer* timer = world.tickTimer();
    ASSERT_NE(nullptr, timer);
    EXPECT_EQ(&world, timer->parent());
    EXPECT_TRUE(timer->isActive());
    EXPECT_FALSE(timer->isSingleShot());
    EXPECT_EQ(5, timer->interval());

    world.toggleTicking();
    EXPECT_EQ(timer, world.tickTimer());
    EXPECT_FALSE(timer->isActive());
    // Stopped: nothing moves.
    const double angle = world.world().creatures().front().angle;
    QTest::qWait(50);
    EXPECT_EQ(angle, world.world().creatures().front().angle);

    world.toggleTicking();
    EXPECT_EQ(timer, world.tickTimer());
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(5, timer->interval());
    EXPECT_EQ(timersBefore + 1, world.findChildren<QTimer*>().size());
    // Running: the ticks reach the shapes.
    EXPECT_TRUE(waitUntil([&] { return world.world().creatures().front().angle != angle; }));
}

TEST(WorldView, InitializeGLSetsClearColourShadingAndBlending)
{
    TestWorld world;
    ASSERT_TRUE(showAt(world, 300, 300));
    world.makeCurrent();
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(0.5f, clear[0]);
    EXPECT_FLOAT_EQ(0.1f, clear[1]);
    EXPECT_FLOAT_EQ(0.3f, clear[2]);
    EXPECT_FLOAT_EQ(0.8f, clear[3]);
    GLint value = 0;
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(GL_SMOOTH, value);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(GL_SRC_ALPHA, value);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(GL_ONE_MINUS_SRC_ALPHA, value);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

TEST(WorldView, ViewportIsTheCentredSquare)
{
    TestWorld world;
    ASSERT_TRUE(showAt(world, 900, 600));
    world.makeCurrent();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(150, viewport[0]);
    EXPECT_EQ(0, viewport[1]);
    EXPECT_EQ(600, viewport[2]);
    EXPECT_EQ(600, viewport[3]);

    world.resize(601, 800);
    QTest::qWait(50);
    world.makeCurrent();
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(0, viewport[0]);
    EXPECT_EQ(99, viewport[1]);
    EXPECT_EQ(601, viewport[2]);
    EXPECT_EQ(601, viewport[3]);

    // Straight through the hook: odd differences truncate, equal sides are
    // the width.
    world.resizeGL(400, 401);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ((std::vector<GLint>{0, 0, 400, 400}), std::vector<GLint>(viewport, viewport + 4));
    world.resizeGL(250, 250);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ((std::vector<GLint>{0, 0, 250, 250}), std::vector<GLint>(viewport, viewport + 4));
}

TEST(WorldView, ProjectionIsTheYDownOrthoSquareAndModelviewIsSelected)
{
    TestWorld world;
    ASSERT_TRUE(showAt(world, 400, 400));
    world.makeCurrent();
    world.resizeGL(400, 400);
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const GLdouble expected[16] = {2, 0, 0, 0, 0, -2, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_DOUBLE_EQ(expected[i], projection[i]) << i;
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(GL_MODELVIEW, matrixMode);
}

TEST(WorldView, PaintLeavesTheWorldScaleInTheModelview)
{
    TestWorld world;
    ASSERT_TRUE(showAt(world, 300, 300));
    world.repaint();
    world.makeCurrent();
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(i == 15 ? 1.0f : i % 5 == 0 ? 0.1f : 0.0f, modelview[i]) << i;
}

TEST(WorldView, TickAnimatesEveryShapeByAFixedStepAndDrawsAFrameAtOnce)
{
    TestWorld world;
    ASSERT_TRUE(showAt(world, 300, 300));
    std::vector<std::unique_ptr<SuperFormula>> expected;
    for (const SuperFormula& s : world.world().creatures()) {
        expected.emplace_back(new SuperFormula(s));
        expected.back()->blinkTime = s.blinkTime;
        expected.back()->eyeClosed = s.eyeClosed;
    }
    seedShapeRandom(555);
    for (auto& s : expected)
        s->animate(0.005);
    seedShapeRandom(555);
    const int frames = world.frames;
    world.tick();
    EXPECT_EQ(frames + 1, world.frames);
    const auto shapes = shapesOf(world);
    for (size_t i = 0; i < shapes.size(); ++i) {
        EXPECT_EQ(expected[i]->angle, shapes[i]->angle);
        EXPECT_EQ(expected[i]->position.x, shapes[i]->position.x);
        EXPECT_EQ(expected[i]->position.y, shapes[i]->position.y);
        EXPECT_EQ(expected[i]->heading.x, shapes[i]->heading.x);
        EXPECT_EQ(expected[i]->blinkTime, shapes[i]->blinkTime);
    }
}

namespace {

QRgb pixelAt(TestWorld& world, double wx, double wy)
{
    const QImage image = world.grabFramebuffer();
    const int side = std::min(image.width(), image.height());
    const int x0 = (image.width() - side) / 2;
    const int y0 = (image.height() - side) / 2;
    const int px = std::min(side - 1, int((wx / 10 + 0.5) * side));
    const int py = std::min(side - 1, int((wy / 10 + 0.5) * side));
    return image.pixel(x0 + px, y0 + py);
}

} // namespace

TEST(WorldView, NeverClearsSoMovedShapesLeaveFadingTrails)
{
    TestWorld world;
    ASSERT_TRUE(showAt(world, 200, 200));
    world.world().removeAll();
    world.makeCurrent();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    world.world().add(stillDisc(-3, 0, 1, 0, 0));
    world.tick();
    EXPECT_EQ(qRgb(255, 0, 0), pixelAt(world, -3, 0) | 0xff000000u);
    std::optional<World::Removal> moved = world.world().removeIndex(0);
    moved->creature.position = {3, 0};
    world.world().add(std::move(moved->creature));

    // Every frame lays the background over the last at a tenth of its
    // opacity: the old picture stays, a little paler each time. The
    // background's green is never below 0.14, so green rises in the trail.
    int lastRed = 256;
    int lastGreen = -1;
    for (int frame = 0; frame < 3; ++frame) {
        world.tick();
        EXPECT_EQ(qRgb(255, 0, 0), pixelAt(world, 3, 0) | 0xff000000u);
        const QRgb trail = pixelAt(world, -3, 0);
        EXPECT_GT(qRed(trail), 150) << frame;
        EXPECT_LE(qRed(trail), lastRed) << frame;
        EXPECT_GT(qGreen(trail), lastGreen) << frame;
        lastRed = qRed(trail);
        lastGreen = qGreen(trail);
    }
    // Where nothing was drawn the cleared blue fades the same way.
    EXPECT_GT(qBlue(pixelAt(world, 0, 3)), 150);

    for (int frame = 0; frame < 60; ++frame)
        world.tick();
    EXPECT_GT(qGreen(pixelAt(world, -3, 0)), 25);
    EXPECT_EQ(qRgb(255, 0, 0), pixelAt(world, 3, 0) | 0xff000000u);
}

TEST(WorldView, WorldSquareMapsWithYDown)
{
    TestWorld world;
    ASSERT_TRUE(showAt(world, 300, 200));
    world.world().removeAll();
    world.makeCurrent();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    world.world().add(stillDisc(0, -5, 0, 1, 0)); // top edge
    world.world().add(stillDisc(5, 0, 1, 0, 0));  // right edge
    const QImage image = world.grabFramebuffer();
    ASSERT_EQ(QSize(300, 200), image.size());
    EXPECT_EQ(qRgb(0, 255, 0), image.pixel(150, 2) | 0xff000000u);
    EXPECT_EQ(qRgb(255, 0, 0), image.pixel(247, 100) | 0xff000000u);
    // Elsewhere in the square only one pass of the background, at a tenth
    // of its opacity, lies over the black.
    for (const QPoint& p : {QPoint(150, 197), QPoint(52, 100)}) {
        const QRgb pixel = image.pixel(p);
        EXPECT_LE(qMax(qRed(pixel), qMax(qGreen(pixel), qBlue(pixel))), 26) << p.x();
    }
    // Nothing is drawn beside the square.
    EXPECT_EQ(qRgb(0, 0, 0), image.pixel(252, 100) | 0xff000000u);
    EXPECT_EQ(qRgb(0, 0, 0), image.pixel(47, 100) | 0xff000000u);
}
