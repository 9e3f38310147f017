// The world's rules with no display and no GL context: breeding, removal,
// insertion, "nuke 'em", the bound and the change notifications.
#include "shape/shape_random.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

SuperFormula disc(double x, double y, double a = 1)
{
    SuperFormula creature(a, 1, 4, 2, 2, 2, 0);
    creature.position = {x, y};
    return creature;
}

// A world that counts its change notifications.
struct CountedWorld {
    CountedWorld()
    {
        world.setChangeHandler([this](World::Change change) {
            (change == World::Change::population ? populationChanges : settingsChanges)++;
        });
    }
    World world;
    int populationChanges = 0;
    int settingsChanges = 0;
};

std::vector<double> firstParameters(const World& world)
{
    std::vector<double> as;
    for (const SuperFormula& creature : world.creatures())
        as.push_back(creature.a);
    return as;
}

} // namespace

TEST(World, AHitIsStrictlyWithinOneUnitAndTakesTheFirstInOrder)
{
    World world;
    world.add(disc(0.5, 0, 1.1));
    world.add(disc(0, 0, 1.2));
    world.add(disc(3, 0, 1.3));
    EXPECT_EQ(0u, world.creatureAt(0.2, 0));
    EXPECT_EQ(1u, world.creatureAt(-0.6, 0));
    EXPECT_FALSE(world.creatureAt(2, 0)); // exactly one unit from the third
    EXPECT_FALSE(world.creatureAt(3, 1));
    EXPECT_EQ(2u, world.creatureAt(3, 0.999));

    // Removal takes the first hit, says what and where, and keeps the order.
    std::optional<World::Removal> removed = world.removeAt(0, 0);
    ASSERT_TRUE(removed);
    EXPECT_EQ(0u, removed->index);
    EXPECT_EQ(1.1, removed->creature.a);
    EXPECT_EQ((std::vector<double>{1.2, 1.3}), firstParameters(world));
    EXPECT_TRUE(world.removeAt(0, 0));
    EXPECT_FALSE(world.removeAt(0, 0));
    EXPECT_FALSE(world.removeIndex(1));
    EXPECT_EQ((std::vector<double>{1.3}), firstParameters(world));

    // Putting a removal back where it was undoes it.
    ASSERT_TRUE(world.insert(0, std::move(removed->creature)));
    EXPECT_EQ((std::vector<double>{1.1, 1.3}), firstParameters(world));
    ASSERT_TRUE(world.insert(99, disc(0, 0, 1.4)));
    EXPECT_EQ((std::vector<double>{1.1, 1.3, 1.4}), firstParameters(world));
}

TEST(World, AMoveKeepsTheBlinkWhereACopyOpensTheEye)
{
    World world;
    SuperFormula winking = disc(0, 0);
    winking.eyeClosed = true;
    winking.blinkTime = 0.25;
    world.add(std::move(winking));
    for (int i = 0; i < 40; ++i)
        world.add(disc(4, 4)); // the vector grows and moves its creatures
    EXPECT_TRUE(world.creatures()[0].eyeClosed);
    EXPECT_EQ(0.25, world.creatures()[0].blinkTime);
    const std::shared_ptr<const Population> snapshot = world.snapshot();
    EXPECT_TRUE((*snapshot)[0].eyeClosed);
    EXPECT_EQ(0.25, (*snapshot)[0].blinkTime);
    // The snapshot stays as it was while the world goes on.
    world.removeAll();
    EXPECT_EQ(41u, snapshot->size());
}

TEST(World, ClicksBreedByTheMode)
{
    CountedWorld counted;
    World& world = counted.world;
    world.add(disc(4, 4, 1.5));
    world.add(disc(-2, 2, 2.5));
    world.setMutationRate(0.5);

    // Random: one random creature centred on the click, on or off another.
    seedShapeRandom(3);
    std::unique_ptr<SuperFormula> expected(randomSuperFormula());
    seedShapeRandom(3);
    EXPECT_EQ(1, world.clickAt(-2, 2).added);
    ASSERT_EQ(3u, world.size());
    EXPECT_EQ(expected->a, world.creatures()[2].a);
    EXPECT_EQ(-2.0, world.creatures()[2].position.x);
    EXPECT_EQ(2.0, world.creatures()[2].position.y);

    // Many kids: five mutants of the first creature hit, near it, each its own.
    world.setMode(BreedingMode::manyKids);
    seedShapeRandom(9);
    std::unique_ptr<SuperFormula> firstKid(mutant(world.creatures()[1], 0.5));
    seedShapeRandom(9);
    const World::Bred bred = world.clickAt(-2, 2);
    EXPECT_EQ(5, bred.added);
    EXPECT_FALSE(bred.refused);
    ASSERT_EQ(8u, world.size());
    EXPECT_EQ(firstKid->a, world.creatures()[3].a);
    EXPECT_EQ(firstKid->position.x, world.creatures()[3].position.x);
    for (std::size_t i = 3; i < 8; ++i) {
        EXPECT_LE(std::fabs(world.creatures()[i].position.x + 2), 1);
        EXPECT_LE(std::fabs(world.creatures()[i].position.y - 2), 1);
    }
    EXPECT_NE(world.creatures()[3].a, world.creatures()[4].a);

    // Mutate at rate 0: one child with the parent's formula. Nothing where
    // nobody is, and no random number drawn for it.
    world.setMode(BreedingMode::mutate);
    world.setMutationRate(0);
    EXPECT_EQ(1, world.clickAt(4, 4).added);
    ASSERT_EQ(9u, world.size());
    for (int p = 0; p < 9; ++p)
        EXPECT_EQ(world.creatures()[0].param(p), world.creatures()[8].param(p)) << p;
    seedShapeRandom(5);
    const int next = shapeRandom();
    seedShapeRandom(5);
    const World::Bred missed = world.clickAt(0, -4);
    EXPECT_EQ(0, missed.added);
    EXPECT_FALSE(missed.refused);
    EXPECT_EQ(next, shapeRandom());
    EXPECT_EQ(9u, world.size());

    // One notification per change that happened; none for a miss or the
    // tick, nor for setting the mode it already has.
    EXPECT_EQ(2 + 3, counted.populationChanges);
    const int settings = counted.settingsChanges;
    world.setMode(BreedingMode::mutate);
    world.advance(0.005);
    EXPECT_EQ(settings, counted.settingsChanges);
    EXPECT_EQ(5, counted.populationChanges);
}

TEST(World, RemoveAllReturnsEveryCreatureAndKeepsTheSettings)
{
    CountedWorld counted;
    World& world = counted.world;
    for (int i = 0; i < 3; ++i)
        world.add(disc(i, 0, 1 + i));
    world.setMode(BreedingMode::manyKids);
    world.setMutationRate(1.25);
    const Population removed = world.removeAll();
    ASSERT_EQ(3u, removed.size());
    EXPECT_EQ(3.0, removed[2].a);
    EXPECT_EQ(0u, world.size());
    EXPECT_EQ(BreedingMode::manyKids, world.mode());
    EXPECT_EQ(1.25, world.mutationRate());
    EXPECT_EQ(4, counted.populationChanges);
    const std::optional<Population> old = world.replace(Population(removed.begin(), removed.end()));
    ASSERT_TRUE(old);
    EXPECT_TRUE(old->empty());
    EXPECT_EQ(3u, world.size());
}

TEST(World, AtTheBoundAddingIsRefusedAndWhatFitsIsBred)
{
    CountedWorld counted;
    World& world = counted.world;
    Population crowd(World::populationBound - 3, disc(4, 4));
    crowd.push_back(disc(0, 0, 1.75));
    ASSERT_TRUE(world.replace(std::move(crowd)));
    EXPECT_FALSE(world.full());

    // Five kids asked for, room for two: two are made, and the rest refused.
    world.setMode(BreedingMode::manyKids);
    const int before = counted.populationChanges;
    const World::Bred bred = world.clickAt(0, 0);
    EXPECT_EQ(2, bred.added);
    EXPECT_TRUE(bred.refused);
    EXPECT_EQ(World::populationBound, world.size());
    EXPECT_TRUE(world.full());
    EXPECT_EQ(before + 1, counted.populationChanges);

    // Full: a random click draws no random number, and nothing is added.
    world.setMode(BreedingMode::random);
    seedShapeRandom(31);
    const int next = shapeRandom();
    seedShapeRandom(31);
    EXPECT_TRUE(world.clickAt(1, 1).refused);
    EXPECT_EQ(next, shapeRandom());
    EXPECT_FALSE(world.add(disc(1, 1)));
    EXPECT_FALSE(world.insert(0, disc(1, 1)));
    EXPECT_EQ(before + 1, counted.populationChanges);

    // A population past the bound is refused whole.
    EXPECT_FALSE(world.replace(Population(World::populationBound + 1, disc(0, 0, 1.5))));
    EXPECT_EQ(1.75, world.creatures()[World::populationBound - 3].a);

    // Room again after a removal.
    ASSERT_TRUE(world.removeAt(4, 4));
    EXPECT_EQ(1, world.clickAt(2, 2).added);
}

TEST(World, TheTickMovesEveryCreatureByTheStepAndNothingElse)
{
    CountedWorld counted;
    World& world = counted.world;
    seedShapeRandom(12);
    for (int i = 0; i < 5; ++i) {
        std::unique_ptr<SuperFormula> creature(randomSuperFormula());
        world.add(std::move(*creature));
    }
    const std::shared_ptr<const Population> before = world.snapshot();
    Population expected(before->begin(), before->end());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        expected[i].blinkTime = (*before)[i].blinkTime;
        expected[i].eyeClosed = (*before)[i].eyeClosed;
    }
    const int changes = counted.populationChanges;
    seedShapeRandom(77);
    for (SuperFormula& creature : expected)
        creature.animate(0.005);
    seedShapeRandom(77);
    world.advance(0.005);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].angle, world.creatures()[i].angle);
        EXPECT_EQ(expected[i].position.x, world.creatures()[i].position.x);
        EXPECT_EQ(expected[i].heading.y, world.creatures()[i].heading.y);
        EXPECT_EQ(expected[i].blinkTime, world.creatures()[i].blinkTime);
    }
    EXPECT_EQ(changes, counted.populationChanges);
}
