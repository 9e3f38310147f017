#include "world/world_history.h"

#include "shape/shape_random.h"
#include "support/random.h"
#include "world/world_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <memory>

namespace {

SuperFormula randomCreature()
{
    const std::unique_ptr<SuperFormula> creature(randomSuperFormula());
    return *creature;
}

// The world's file, as the program writes it.
QByteArray fileOf(const World& world, const QTemporaryDir& folder)
{
    const QString path = folder.filePath("world.json");
    QString error;
    EXPECT_TRUE(writeWorldFile(path, world, error)) << error.toStdString();
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// A point on a creature half the time, anywhere in the world otherwise.
std::pair<double, double> somePoint(const World& world, tex::Random& random)
{
    if (world.size() > 0 && random.nextInt(0, 2) == 0) {
        const SuperFormula& creature = world.creatures()[std::size_t(random.nextInt(0, int(world.size())))];
        return {creature.position.x, creature.position.y};
    }
    return {random.nextDouble() * 10 - 5, random.nextDouble() * 10 - 5};
}

// One of the world's changes, drawn from `random`.
void randomAction(WorldHistory& history, const World& world, tex::Random& random)
{
    const int pick = random.nextInt(0, 200);
    const auto [x, y] = somePoint(world, random);
    if (pick < 80)
        history.clickAt(x, y);
    else if (pick < 140)
        history.removeAt(x, y);
    else if (pick < 160)
        history.insert(randomCreature());
    else if (pick < 175)
        history.setMutationRate(random.nextInt(0, 201) / 100.0);
    else if (pick < 195)
        history.setMode(BreedingMode(random.nextInt(0, 3)));
    else if (pick < 198)
        history.removeAll();
    else {
        // An opened world brings its own ids, its next id far beyond ours.
        Population opened;
        const std::uint64_t firstId = world.nextId() + 1000;
        for (int n = random.nextInt(0, 30); n > 0; --n) {
            opened.push_back(randomCreature());
            opened.back().lineage = {firstId + opened.size(), SuperFormula::noParent, 0};
        }
        history.open(std::move(opened), firstId + 100, random.nextInt(0, 201) / 100.0,
                     BreedingMode(random.nextInt(0, 3)));
    }
}

} // namespace

// 10,000 random changes, undone one by one, leave the world's file as it
// was at the start, byte for byte, and as it was halfway when undone to
// there; redone, they give the end's file again.
TEST(WorldHistory, UndoAndRedoOfTenThousandChangesRestoreTheFilesByteForByte)
{
    QTemporaryDir folder;
    seedShapeRandom(11);
    World world;
    for (int i = 0; i < 20; ++i)
        world.add(randomCreature());
    QUndoStack stack;
    WorldHistory history(world, stack);
    tex::Random random(5);

    const QByteArray start = fileOf(world, folder);
    QByteArray half;
    int halfIndex = 0;
    for (int action = 0; action < 10000; ++action) {
        randomAction(history, world, random);
        if (action == 4999) {
            half = fileOf(world, folder);
            halfIndex = stack.index();
        }
    }
    const QByteArray end = fileOf(world, folder);
    // Most actions change the world; the rest (a click on nothing, a mode
    // already set) leave no step.
    ASSERT_GT(stack.count(), 6000);
    ASSERT_NE(end, start);

    while (stack.index() > halfIndex)
        stack.undo();
    EXPECT_EQ(fileOf(world, folder), half);
    while (stack.canUndo())
        stack.undo();
    EXPECT_EQ(stack.index(), 0);
    EXPECT_EQ(fileOf(world, folder), start);
    while (stack.canRedo())
        stack.redo();
    EXPECT_EQ(fileOf(world, folder), end);
}

// Undo names the change; slider moves merge into one step; the world's
// handler hears every undo and redo.
TEST(WorldHistory, StepsAreNamedAndRateMovesMerge)
{
    seedShapeRandom(3);
    World world;
    int changes = 0;
    world.setChangeHandler([&](World::Change) { ++changes; });
    QUndoStack stack;
    WorldHistory history(world, stack);
    world.add(randomCreature());
    stack.clear();
    const SuperFormula& only = world.creatures()[0];

    history.setMutationRate(0.6);
    history.setMutationRate(0.7);
    history.setMutationRate(0.8);
    EXPECT_EQ(stack.count(), 1);
    EXPECT_EQ(stack.undoText(), "Change mutation rate");
    ASSERT_TRUE(history.removeAt(only.position.x, only.position.y));
    EXPECT_EQ(stack.undoText(), "Remove creature");
    EXPECT_FALSE(history.removeAt(0, 0));
    EXPECT_EQ(stack.count(), 2);

    changes = 0;
    stack.undo();
    EXPECT_EQ(world.size(), 1u);
    stack.undo();
    EXPECT_EQ(world.mutationRate(), 0.5);
    EXPECT_EQ(changes, 2);
    stack.redo();
    EXPECT_EQ(world.mutationRate(), 0.8);
}
