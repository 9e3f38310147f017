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
        world.killAll();
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
        ASSERT_EQ(++count, world.population().size());
        EXPECT_EQ(c.wx, world.population().back()->position.x) << c.px;
        EXPECT_EQ(c.wy, world.population().back()->position.y) << c.py;
    }
    // On top of another shape it still adds exactly one.
    press(Qt::LeftButton, 500, 400);
    EXPECT_EQ(count + 1, world.population().size());
}

TEST_F(Breeding, PressesOutsideTheSquareAreIgnored)
{
    world.addNewThing(stillDisc(-5, 0, 1, 0, 0));
    world.addNewThing(stillDisc(5, 0, 1, 0, 0));
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        press(button, 99, 400);
        press(button, 901, 400);
    }
    EXPECT_EQ(2u, world.population().size());
    EXPECT_TRUE(editors().empty());
    // Square side 400 at y0 = 100 when the view is taller than wide.
    world.resize(400, 600);
    QTest::qWait(20);
    press(Qt::LeftButton, 200, 99);
    press(Qt::LeftButton, 200, 501);
    EXPECT_EQ(2u, world.population().size());
    press(Qt::LeftButton, 200, 100);
    ASSERT_EQ(3u, world.population().size());
    EXPECT_EQ(0.0, world.population().back()->position.x);
    EXPECT_EQ(-5.0, world.population().back()->position.y);
}

TEST_F(Breeding, HitIsStrictlyWithinOneUnitAndTakesTheFirstInOrder)
{
    SuperFormula* first = stillDisc(0.5, 0, 1, 0, 0);
    SuperFormula* second = stillDisc(0, 0, 0, 1, 0);
    SuperFormula* edge = stillDisc(3, 0, 0, 0, 1);
    world.addNewThing(first);
    world.addNewThing(second);
    world.addNewThing(edge);
    EXPECT_EQ(first, world.shapeAt(0.2, 0));
    EXPECT_EQ(second, world.shapeAt(-0.6, 0));
    EXPECT_EQ(nullptr, world.shapeAt(2, 0)); // exactly one unit from `edge`
    EXPECT_EQ(nullptr, world.shapeAt(3, 1));
    EXPECT_EQ(edge, world.shapeAt(3, 0.999));
    EXPECT_EQ(nullptr, world.shapeAt(-4, -4));

    // Removal takes the first hit too.
    press(Qt::RightButton, 500, 400);
    ASSERT_EQ(2u, world.population().size());
    EXPECT_EQ(second, world.population().front());
    press(Qt::RightButton, 500, 400);
    EXPECT_EQ(1u, world.population().size());
    press(Qt::RightButton, 500, 400);
    EXPECT_EQ(1u, world.population().size());
    EXPECT_EQ(edge, world.population().front());
}

TEST_F(Breeding, ModeMutateAddsOneMutantOfTheShapeHit)
{
    SuperFormula* parent = stillDisc(1, 1, 1, 0, 0);
    world.addNewThing(parent);
    world.setMode(WorldView::ModeMutate);
    world.setMutationRate(0);
    press(Qt::LeftButton, 540, 440); // world (1, 1)
    ASSERT_EQ(2u, world.population().size());
    EXPECT_EQ(parent, world.population().front());
    const SuperFormula* child = world.population().back();
    EXPECT_NE(parent, child);
    for (int p = 0; p < 9; ++p)
        EXPECT_EQ(parent->param(p), const_cast<SuperFormula*>(child)->param(p));
    EXPECT_LE(std::fabs(child->position.x - 1), 1);
    press(Qt::LeftButton, 200, 200);
    EXPECT_EQ(2u, world.population().size());
}

TEST_F(Breeding, ModeManyKidsAddsFiveMutantsNearTheParentAndNothingInEmptySpace)
{
    world.addNewThing(stillDisc(4, 4, 0, 0, 1));
    SuperFormula* parent = stillDisc(-2, 2, 0, 1, 0);
    world.addNewThing(parent);
    world.setMode(WorldView::ModeManyKids);
    world.setMutationRate(50);
    seedShapeRandom(9);
    std::unique_ptr<SuperFormula> expectedFirst(mutant(*parent, 0.5));
    seedShapeRandom(9);
    press(Qt::LeftButton, 340, 560); // world (-2, 2)
    ASSERT_EQ(7u, world.population().size());
    auto shapes = shapesOf(world);
    EXPECT_EQ(parent, shapes[1]);
    shapes.erase(shapes.begin());
    EXPECT_EQ(expectedFirst->a, shapes[1]->a);
    EXPECT_EQ(expectedFirst->position.x, shapes[1]->position.x);
    for (size_t i = 1; i < 6; ++i) {
        EXPECT_LE(std::fabs(shapes[i]->position.x + 2), 1);
        EXPECT_LE(std::fabs(shapes[i]->position.y - 2), 1);
    }
    EXPECT_NE(shapes[1]->a, shapes[2]->a); // each child its own mutant

    press(Qt::LeftButton, 700, 200); // world (2.5, -2.5): nobody there
    EXPECT_EQ(7u, world.population().size());
}

TEST_F(Breeding, UnknownModeLeftClickDoesNothing)
{
    world.addNewThing(stillDisc(0, 0, 1, 0, 0));
    world.setMode(5);
    press(Qt::LeftButton, 500, 400);
    EXPECT_EQ(1u, world.population().size());
}

TEST_F(Breeding, OtherButtonOpensAnEditorOnACopy)
{
    SuperFormula* shape = stillDisc(0, 0, 1, 0, 0);
    shape->a = 1.75;
    world.addNewThing(shape);
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
    EXPECT_NE(shape, preview->shape());
    EXPECT_EQ(1.75, preview->shape()->a);
    EXPECT_EQ(1u, world.population().size());
    // A second click opens a second, independent editor.
    press(Qt::MiddleButton, 500, 400);
    EXPECT_EQ(2u, editors().size());
    for (QWidget* w : editors())
        delete w;
}

TEST_F(Breeding, KillAllAndRemovalTakeCreaturesOut)
{
    for (int i = 0; i < 3; ++i)
        world.addNewThing(stillDisc(-3 + 3 * i, 0, 1, 0, 0));
    drawPendingFrame(world);
    const auto mine = shapesOf(world);

    // Right click removes the one under the pointer.
    press(Qt::RightButton, 740, 400); // world (3, 0)
    ASSERT_EQ(2u, world.population().size());
    EXPECT_EQ(mine[0], world.population().front());
    EXPECT_EQ(mine[1], world.population().back());

    world.killAll();
    EXPECT_TRUE(world.population().empty());

    // The world goes on empty, with its rate, mode and timer untouched.
    world.setMode(WorldView::ModeManyKids);
    world.toggleTicking();
    world.killAll();
    EXPECT_EQ(2, world.modeValue());
    EXPECT_TRUE(world.tickTimer()->isActive());
    world.tick();
}

TEST_F(Breeding, AtTheCapClicksAndInsertsAreRefusedAndSaySo)
{
    std::vector<std::unique_ptr<SuperFormula>> shapes;
    for (std::size_t i = 0; i + 3 < WorldView::populationCap; ++i)
        shapes.emplace_back(stillDisc(4, 4, 0, 0, 1));
    shapes.emplace_back(stillDisc(0, 0, 1, 0, 0));
    ASSERT_TRUE(world.replacePopulation(std::move(shapes)));
    QSignalSpy full(&world, &WorldView::populationFull);
    QSignalSpy edited(&world, &WorldView::edited);

    // Five kids asked for, room for two: two are made, and the rest refused.
    world.setMode(WorldView::ModeManyKids);
    edited.clear();
    press(Qt::LeftButton, 500, 400);
    EXPECT_EQ(WorldView::populationCap, world.population().size());
    EXPECT_EQ(1, full.count());
    EXPECT_EQ(1, edited.count());

    world.setMode(WorldView::ModeRandom);
    edited.clear();
    seedShapeRandom(31);
    const int nextDraw = shapeRandom();
    seedShapeRandom(31);
    press(Qt::LeftButton, 300, 300);
    world.addNewThing(stillDisc(1, 1, 0, 1, 0));
    EXPECT_EQ(WorldView::populationCap, world.population().size());
    EXPECT_EQ(3, full.count());
    EXPECT_EQ(0, edited.count());
    EXPECT_EQ(nextDraw, shapeRandom()); // the refused click drew nothing

    // Nor is a population past what a file may hold.
    std::vector<std::unique_ptr<SuperFormula>> tooMany;
    for (std::size_t i = 0; i <= WorldView::openedPopulationCap; ++i)
        tooMany.emplace_back(stillDisc(0, 0, 1, 1, 1));
    SuperFormula* first = world.population().front();
    EXPECT_FALSE(world.replacePopulation(std::move(tooMany)));
    EXPECT_EQ(first, world.population().front());

    press(Qt::RightButton, 820, 720); // world (4, 4): removes a blue one
    press(Qt::LeftButton, 300, 300);
    EXPECT_EQ(WorldView::populationCap, world.population().size());
    EXPECT_EQ(3, full.count());
}
