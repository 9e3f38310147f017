#include "app_test_world.h"

#include "editor/creature_editor.h"
#include "editor/creature_preview.h"
#include "shape/shape_random.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <memory>

namespace {

// A shown 1000 x 800 world (an 800-pixel square from x0 = 100) emptied of
// its random population.
class Breeding : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(showAt(world, 1000, 800));
        world.world().removeAll();
    }

    void press(Qt::MouseButton button, int x, int y) { QTest::mousePress(&world, button, {}, QPoint(x, y)); }

    TestWorld world;
};

std::vector<QWidget*> editors()
{
    std::vector<QWidget*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<CreatureEditor*>(w))
            found.push_back(w);
    return found;
}

} // namespace

TEST_F(Breeding, LeftClickInModeRandomSpawnsAtTheWorldPoint)
{
    const struct {
        int px, py;
        double wx, wy;
    } cases[] = {{100, 0, -5, -5}, {500, 400, 0, 0}, {900, 800, 5, 5}, {300, 600, -2.5, 2.5}};
    size_t count = 0;
    for (const auto& c : cases) {
        press(Qt::LeftButton, c.px, c.py);
        ASSERT_EQ(++count, world.world().creatures().size());
        EXPECT_EQ(c.wx, world.world().creatures().back().position.x) << c.px;
        EXPECT_EQ(c.wy, world.world().creatures().back().position.y) << c.py;
    }
    // On top of another shape it still adds exactly one.
    press(Qt::LeftButton, 500, 400);
    EXPECT_EQ(count + 1, world.world().creatures().size());
}

TEST_F(Breeding, PressesOutsideTheSquareAreIgnored)
{
    world.world().add(stillDisc(-5, 0, 1, 0, 0));
    world.world().add(stillDisc(5, 0, 1, 0, 0));
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        press(button, 99, 400);
        press(button, 901, 400);
    }
    EXPECT_EQ(2u, world.world().creatures().size());
    EXPECT_TRUE(editors().empty());
    // Square side 400 at y0 = 100 when the view is taller than wide.
    world.resize(400, 600);
    QTest::qWait(20);
    press(Qt::LeftButton, 200, 99);
    press(Qt::LeftButton, 200, 501);
    EXPECT_EQ(2u, world.world().creatures().size());
    press(Qt::LeftButton, 200, 100);
    ASSERT_EQ(3u, world.world().creatures().size());
    EXPECT_EQ(0.0, world.world().creatures().back().position.x);
    EXPECT_EQ(-5.0, world.world().creatures().back().position.y);
}

TEST_F(Breeding, ClicksBecomeTheWorldsCallsAtTheWorldPoint)
{
    world.world().add(stillDisc(0.5, 0, 1, 0, 0));
    world.world().add(stillDisc(0, 0, 0, 1, 0));
    world.world().add(stillDisc(1, 1, 0, 0, 1));
    // A right click removes the first creature hit.
    press(Qt::RightButton, 500, 400);
    ASSERT_EQ(2u, world.world().creatures().size());
    EXPECT_EQ(1.0f, world.world().creatures().front().colour[0][1]);
    // Mutate: one mutant of the creature at world (1, 1).
    world.world().setMode(BreedingMode::mutate);
    press(Qt::LeftButton, 580, 480); // world (1, 1)
    ASSERT_EQ(3u, world.world().creatures().size());
    EXPECT_LE(std::fabs(world.world().creatures().back().position.x - 1), 1);
    // Many kids: five.
    world.world().setMode(BreedingMode::manyKids);
    press(Qt::LeftButton, 580, 480);
    EXPECT_EQ(8u, world.world().creatures().size());
}

TEST_F(Breeding, OtherButtonOpensAnEditorOnACopy)
{
    SuperFormula shape = stillDisc(0, 0, 1, 0, 0);
    shape.a = 1.75;
    world.world().add(shape);
    press(Qt::MiddleButton, 620, 400); // world (1.5, 0): misses
    EXPECT_TRUE(editors().empty());
    press(Qt::MiddleButton, 500, 400);
    const auto opened = editors();
    ASSERT_EQ(1u, opened.size());
    QWidget* editor = opened.front();
    EXPECT_TRUE(editor->isWindow());
    EXPECT_EQ(nullptr, editor->parentWidget());
    EXPECT_EQ(QString("SuperFormula Viewer"), editor->windowTitle());
    EXPECT_TRUE(editor->isVisible());
    CreaturePreview* preview = editor->findChild<CreaturePreview*>();
    ASSERT_NE(nullptr, preview);
    ASSERT_NE(nullptr, preview->shape());
    EXPECT_EQ(1.75, preview->shape()->a);
    EXPECT_EQ(1u, world.world().creatures().size());
    // A second click opens a second, independent editor.
    press(Qt::MiddleButton, 500, 400);
    EXPECT_EQ(2u, editors().size());
    for (QWidget* w : editors())
        delete w;
}

TEST_F(Breeding, AFullWorldRefusesClicksAndInsertsAndSaysSo)
{
    Population crowd(World::populationBound - 1, stillDisc(4, 4, 0, 0, 1));
    crowd.push_back(stillDisc(0, 0, 1, 0, 0));
    ASSERT_TRUE(world.world().replace(std::move(crowd)));
    QSignalSpy full(&world, &WorldView::populationFull);
    QSignalSpy edited(&world, &WorldView::edited);

    press(Qt::LeftButton, 500, 400);
    world.addCopyOf(stillDisc(1, 1, 0, 1, 0));
    world.world().setMode(BreedingMode::manyKids);
    edited.clear();
    press(Qt::LeftButton, 500, 400);
    EXPECT_EQ(World::populationBound, world.world().creatures().size());
    EXPECT_EQ(3, full.count());
    EXPECT_EQ(0, edited.count());

    // A right click makes room, and an insert fills it.
    press(Qt::RightButton, 820, 720); // world (4, 4)
    EXPECT_EQ(1, edited.count());
    world.addCopyOf(stillDisc(1, 1, 0, 1, 0));
    EXPECT_EQ(World::populationBound, world.world().creatures().size());
    EXPECT_EQ(3, full.count());
    EXPECT_EQ(2, edited.count());
}
