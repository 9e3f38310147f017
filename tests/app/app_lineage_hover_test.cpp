#include "app_test_world.h"

#include "app/window.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QStatusBar>

#include <gtest/gtest.h>

namespace {

// How many pixels of the square around the world point (wx, wy), 1.5 world
// units each way, differ between two frames.
int changedAround(const QImage& before, const QImage& after, double wx, double wy)
{
    const int side = before.width();
    const auto pixel = [side](double w) { return std::clamp(int((w / 10 + 0.5) * side), 0, side - 1); };
    int changed = 0;
    for (int y = pixel(wy - 1.5); y <= pixel(wy + 1.5); ++y)
        for (int x = pixel(wx - 1.5); x <= pixel(wx + 1.5); ++x)
            changed += before.pixel(x, y) != after.pixel(x, y);
    return changed;
}

void moveTo(WorldView& world, double wx, double wy)
{
    const QRect square = world.square();
    const QPointF at(square.left() + (wx / 10 + 0.5) * square.width(), square.top() + (wy / 10 + 0.5) * square.height());
    QMouseEvent move(QEvent::MouseMove, at, world.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&world, &move);
}

SuperFormula member(double x, double y, SuperFormula::Lineage lineage)
{
    SuperFormula creature = stillDisc(x, y, 0.2f, 0.3f, 0.9f);
    creature.lineage = lineage;
    return creature;
}

} // namespace

// Hovering a creature names its lineage and rings its ancestors still in
// the world, and only them, for as long as it is hovered.
TEST(LineageHover, TheHoveredCreaturesAncestorsAreRingedAndItsLineageNamed)
{
    TestWorld world;
    Population family;
    family.push_back(member(-3, -3, {1, SuperFormula::noParent, 0})); // grandparent
    family.push_back(member(3, -3, {2, SuperFormula::noParent, 0}));  // unrelated
    family.push_back(member(-3, 3, {4, 1, 1}));                       // parent
    family.push_back(member(3, 3, {6, 4, 2}));                        // the child
    world.world().replace(std::move(family));
    world.world().setNextId(7);
    // One colour everywhere: the turning background leaves frames alike.
    QImage plain(64, 64, QImage::Format_RGBA8888);
    plain.fill(qRgb(40, 30, 20));
    world.setBackground(plain);
    ASSERT_TRUE(showAt(world, 400, 400));
    ASSERT_TRUE(settled(world));
    const QImage unhovered = world.squareFrame();
    QSignalSpy hovered(&world, &WorldView::hovered);

    moveTo(world, 3.2, 3);
    ASSERT_EQ(hovered.count(), 1);
    EXPECT_EQ(hovered.last().at(0).toString(), "Creature 6: generation 2, child of creature 4");
    ASSERT_TRUE(settled(world));
    const QImage child = world.squareFrame();
    EXPECT_GT(changedAround(unhovered, child, -3, -3), 20);
    EXPECT_GT(changedAround(unhovered, child, -3, 3), 20);
    EXPECT_EQ(changedAround(unhovered, child, 3, -3), 0);
    EXPECT_EQ(changedAround(unhovered, child, 3, 3), 0);

    // A move over the same creature says nothing new.
    moveTo(world, 3, 3.1);
    EXPECT_EQ(hovered.count(), 1);

    // A creature without a parent rings nothing.
    moveTo(world, 3, -3);
    ASSERT_EQ(hovered.count(), 2);
    EXPECT_EQ(hovered.last().at(0).toString(), "Creature 2: generation 0, no parent");
    ASSERT_TRUE(settled(world));
    EXPECT_EQ(world.squareFrame(), unhovered);

    // Back on the child, then off every creature: the rings go.
    moveTo(world, 3, 3);
    ASSERT_TRUE(settled(world));
    EXPECT_GT(changedAround(unhovered, world.squareFrame(), -3, -3), 20);
    moveTo(world, 0, 0);
    ASSERT_EQ(hovered.count(), 4);
    EXPECT_EQ(hovered.last().at(0).toString(), QString());
    ASSERT_TRUE(settled(world));
    EXPECT_EQ(world.squareFrame(), unhovered);

    // With the parent gone, the chain of ancestors the child names ends.
    moveTo(world, 3, 3);
    world.world().removeIndex(2);
    ASSERT_TRUE(settled(world));
    const QImage orphan = world.squareFrame();
    EXPECT_EQ(changedAround(unhovered, orphan, -3, -3), 0);
}

// The window shows the hovered lineage in its status bar; a message of its
// own stays until the pointer comes onto a creature, and leaving a creature
// clears only the lineage.
TEST(LineageHover, TheStatusBarNamesTheHoveredLineage)
{
    Window window(4);
    window.togglePause();
    WorldView& view = *window.worldView();
    view.world().replace({member(2, 2, {3, 1, 1})});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QStatusBar* bar = window.statusBar();

    moveTo(view, 2, 2);
    EXPECT_EQ(bar->currentMessage(), "Creature 3: generation 1, child of creature 1");
    moveTo(view, -2, -2);
    EXPECT_EQ(bar->currentMessage(), QString());

    bar->showMessage("Saved “a.json”.");
    moveTo(view, 2, 2);
    moveTo(view, -2, -2);
    EXPECT_EQ(bar->currentMessage(), QString());
    bar->showMessage("Saved “a.json”.");
    moveTo(view, -3, -2);
    EXPECT_EQ(bar->currentMessage(), "Saved “a.json”.");
}
