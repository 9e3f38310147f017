#include "world/world_file.h"
#include "shape/creature_bounds.h"
#include "shape/shape_file.h"
#include "shape/shape_random.h"
#include "tests/shape/record_bits.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;

// A creature with every number drawn from its field's range, at one of its
// ends a fifth of the time; the angle, which a file may hold at any size,
// from far beyond one turn.
std::unique_ptr<SuperFormula> creatureWithin(std::mt19937_64& random)
{
    auto draw = [&](CreatureField field) {
        const FieldBounds& bounds = boundsOf(field);
        const double lo = bounds.wraps ? -1e6 : bounds.lo;
        const double hi = bounds.wraps ? 1e6 : bounds.hi;
        switch (random() % 10) {
        case 0: return lo;
        case 1: return hi;
        default: return std::uniform_real_distribution<double>(lo, hi)(random);
        }
    };
    using F = CreatureField;
    auto s = std::make_unique<SuperFormula>(draw(F::a), draw(F::b), draw(F::m), draw(F::n1), draw(F::n2),
                                            draw(F::n3), 0);
    s->samples = int(draw(F::samples));
    s->angle = draw(F::angle);
    s->rotspeed = draw(F::rotspeed);
    for (auto& colour : s->colour)
        for (float& component : colour)
            component = float(draw(F::colours));
    s->border = draw(F::border);
    s->eye = draw(F::eye);
    s->speed = draw(F::speed);
    s->wander = draw(F::wander);
    const double direction = std::uniform_real_distribution<double>(0, 2 * pi)(random);
    const double length = draw(F::heading);
    s->heading = {length * std::cos(direction), length * std::sin(direction)};
    s->position = {draw(F::position), draw(F::position)};
    s->blinkTime = draw(F::blinkTime);
    s->eyeClosed = random() % 2 == 0;
    return s;
}

} // namespace

// Worlds of creatures anywhere within the ranges, bred from at every rate
// the slider gives and animated at the world's and the preview's steps for
// 10,000 steps: every creature stays storable throughout, and the world
// saved at the end opens to the same numbers, bit for bit.
TEST(WorldValues, RandomWorldsStayWithinTheRangesAndSaveBitForBit)
{
    std::mt19937_64 random(20240617);
    seedShapeRandom(17);
    std::vector<std::unique_ptr<SuperFormula>> world;
    for (int i = 0; i < 40; ++i)
        world.push_back(creatureWithin(random));
    // A rate the slider gives, in hundredths, its ends often.
    auto rate = [&] { return random() % 4 == 0 ? double(random() % 2) * 2 : double(random() % 201) / 100; };

    for (int step = 0; step < 10000; ++step) {
        const std::size_t pick = random() % world.size();
        switch (random() % 10) {
        case 0:
            if (world.size() < 80)
                world.emplace_back(mutant(*world[pick], rate()));
            break;
        case 1:
            for (int child = 0; child < 5 && world.size() < 80; ++child)
                world.emplace_back(mutant(*world[pick], rate()));
            break;
        case 2:
            if (world.size() < 80)
                world.emplace_back(randomSuperFormula());
            break;
        case 3:
            if (world.size() > 1)
                world.erase(world.begin() + std::ptrdiff_t(pick));
            break;
        default: {
            const double dt = random() % 2 == 0 ? 0.005 : 0.01;
            for (auto& creature : world)
                creature->animate(dt);
        }
        }
        for (std::size_t i = 0; i < world.size(); ++i)
            ASSERT_EQ("", shapeProblem(*world[i]).toStdString()) << "step " << step << ", creature " << i;
    }

    std::vector<const SuperFormula*> creatures;
    for (const auto& creature : world) {
        creature->lineage = {creatures.size() + 1, SuperFormula::noParent, 0};
        creatures.push_back(creature.get());
        ASSERT_LE(std::fabs(creature->angle), 180.0);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("world.json");
    QJsonObject document;
    QString error;
    ASSERT_TRUE(worldToDocument(1.37, BreedingMode::manyKids, creatures.size() + 1, creatures, document, error)) << error.toStdString();
    ASSERT_TRUE(writeFormatDocument(path, document, error)) << error.toStdString();
    WorldRecord opened;
    ASSERT_TRUE(readWorldFile(path, opened, error)) << error.toStdString();
    EXPECT_EQ(1.37, opened.mutationRate);
    EXPECT_EQ(BreedingMode::manyKids, opened.mode);
    ASSERT_EQ(world.size(), opened.creatures.size());
    for (std::size_t i = 0; i < world.size(); ++i) {
        const char* field = firstDifference(*world[i], *opened.creatures[i]);
        EXPECT_EQ(nullptr, field) << "creature " << i << ": " << field;
    }
}
