#include "app_test_world.h"

#include "shape/shape_random.h"
#include "tests/editor/editor_test_support.h"

#include <QImage>
#include <QTimer>

#include <gtest/gtest.h>


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

TEST(WorldView, TheSquareIsCentredAndAnOddSurplusOfHeightGoesAbove)
{
    TestWorld world;
    world.resize(900, 600);
    EXPECT_EQ(QRect(150, 0, 600, 600), world.square());
    world.resize(601, 800);
    EXPECT_EQ(QRect(0, 100, 601, 601), world.square());
    world.resize(250, 250);
    EXPECT_EQ(QRect(0, 0, 250, 250), world.square());
}

TEST(WorldView, TickAnimatesEveryCreatureByAFixedStepAndDrawsAFrame)
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
    const int frames = world.framesShown();
    world.tick();
    EXPECT_TRUE(waitUntil([&] { return world.framesShown() == frames + 1; }));
    const auto shapes = shapesOf(world);
    for (size_t i = 0; i < shapes.size(); ++i) {
        EXPECT_EQ(expected[i]->angle, shapes[i]->angle);
        EXPECT_EQ(expected[i]->position.x, shapes[i]->position.x);
        EXPECT_EQ(expected[i]->position.y, shapes[i]->position.y);
        EXPECT_EQ(expected[i]->heading.x, shapes[i]->heading.x);
        EXPECT_EQ(expected[i]->blinkTime, shapes[i]->blinkTime);
    }
}

TEST(WorldView, WorldSquareMapsWithYDown)
{
    TestWorld world;
    world.world().removeAll();
    world.world().add(stillDisc(0, -4.5, 0, 1, 0)); // near the top edge
    world.world().add(stillDisc(4.5, 0, 1, 0, 0));  // near the right edge
    ASSERT_TRUE(showAt(world, 300, 200));
    ASSERT_TRUE(settled(world));
    const QImage frame = world.squareFrame();
    ASSERT_EQ(QSize(200, 200), frame.size());
    EXPECT_EQ(qRgb(0, 255, 0), pixelAtWorld(frame, 0.5, -4.5));
    EXPECT_EQ(qRgb(255, 0, 0), pixelAtWorld(frame, 4.5, 0.5));
    EXPECT_NE(qRgb(0, 255, 0), pixelAtWorld(frame, 0.5, 4.5));
    EXPECT_NE(qRgb(255, 0, 0), pixelAtWorld(frame, -4.5, 0.5));
}
