#include "world/world.h"

#include "shape/shape_file.h"
#include "shape/shape_random.h"
#include "world/world_file.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

SuperFormula randomCreature()
{
    const std::unique_ptr<SuperFormula> creature(randomSuperFormula());
    return *creature;
}

void expectLineage(const SuperFormula& creature, std::uint64_t id, std::uint64_t parent, std::uint64_t generation)
{
    EXPECT_EQ(creature.lineage.id, id);
    EXPECT_EQ(creature.lineage.parent, parent);
    EXPECT_EQ(creature.lineage.generation, generation);
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// A world whose file holds every kind of lineage: creatures without a
// parent, children, a grandchild whose grandparent is gone.
World bredWorld()
{
    seedShapeRandom(9);
    World world;
    world.add(randomCreature());
    world.add(randomCreature());
    const SuperFormula::Vector first = world.creatures()[0].position;
    world.breedAt(first.x, first.y, 2);
    world.removeIndex(0);
    world.removeIndex(0);
    const SuperFormula::Vector child = world.creatures()[0].position;
    world.breedAt(child.x, child.y, 1);
    return world;
}

QString pathIn(const QTemporaryDir& folder, const char* name)
{
    return folder.filePath(QLatin1String(name));
}

} // namespace

// New creatures take the world's next id; a mutant names the creature it
// was bred from and comes one generation after it, whatever happened to the
// ids in between.
TEST(WorldLineage, AddedCreaturesStartLinesAndMutantsContinueThem)
{
    seedShapeRandom(7);
    World world;
    ASSERT_TRUE(world.add(randomCreature()));
    ASSERT_TRUE(world.spawnAt(4, 4));
    expectLineage(world.creatures()[0], 1, SuperFormula::noParent, 0);
    expectLineage(world.creatures()[1], 2, SuperFormula::noParent, 0);

    const SuperFormula::Vector first = world.creatures()[0].position;
    ASSERT_EQ(world.breedAt(first.x, first.y, 2), 2);
    expectLineage(world.creatures()[2], 3, 1, 1);
    expectLineage(world.creatures()[3], 4, 1, 1);

    // With its parent gone, creature 4 breeds from wherever it is.
    world.removeIndex(0);
    world.removeIndex(1);
    world.removeIndex(0);
    ASSERT_EQ(world.size(), 1u);
    const SuperFormula::Vector child = world.creatures()[0].position;
    ASSERT_EQ(world.breedAt(child.x, child.y, 1), 1);
    expectLineage(world.creatures()[1], 5, 4, 2);
    EXPECT_EQ(world.nextId(), 6u);
    // A removed creature's id is not given again; a re-inserted one keeps it.
    std::optional<World::Removal> removed = world.removeIndex(0);
    ASSERT_TRUE(world.insert(0, std::move(removed->creature)));
    expectLineage(world.creatures()[0], 4, 1, 1);
    ASSERT_TRUE(world.add(world.creatures()[1]));
    expectLineage(world.creatures()[2], 6, SuperFormula::noParent, 0);
    EXPECT_EQ(world.creatureWithId(5), &world.creatures()[1]);
    EXPECT_EQ(world.creatureWithId(1), nullptr);
    // A shape from outside any world gets the next id on entering one.
    world.replace({randomCreature()});
    expectLineage(world.creatures()[0], 7, SuperFormula::noParent, 0);
    ASSERT_TRUE(world.insert(0, randomCreature()));
    expectLineage(world.creatures()[0], 8, SuperFormula::noParent, 0);
}

// The file keeps the lineage and the next id; what the program reads it
// writes again byte for byte.
TEST(WorldLineage, FilesKeepTheLineageByteForByte)
{
    QTemporaryDir folder;
    const World world = bredWorld();
    QString error;
    ASSERT_TRUE(writeWorldFile(pathIn(folder, "a.json"), world, error)) << error.toStdString();
    WorldRecord record;
    ASSERT_TRUE(readWorldFile(pathIn(folder, "a.json"), record, error)) << error.toStdString();
    ASSERT_EQ(record.creatures.size(), 3u);
    expectLineage(*record.creatures[0], 3, 1, 1);
    expectLineage(*record.creatures[1], 4, 1, 1);
    expectLineage(*record.creatures[2], 5, 3, 2);
    EXPECT_EQ(record.nextId, 6u);

    World again;
    Population creatures;
    for (auto& creature : record.creatures)
        creatures.push_back(std::move(*creature));
    again.replace(std::move(creatures));
    again.setNextId(record.nextId);
    again.setMutationRate(world.mutationRate());
    ASSERT_TRUE(writeWorldFile(pathIn(folder, "b.json"), again, error)) << error.toStdString();
    EXPECT_EQ(bytesOf(pathIn(folder, "b.json")), bytesOf(pathIn(folder, "a.json")));
    const QJsonObject top = QJsonDocument::fromJson(bytesOf(pathIn(folder, "a.json"))).object();
    EXPECT_EQ(top.value("version").toInt(), 2);
    EXPECT_TRUE(top.value("creatures").toArray()[0].toObject().value("parent").isDouble());
}

// A version 1 file has no lineage: its creatures are numbered in file
// order, each without a parent, and fields of a later version are ignored.
TEST(WorldLineage, VersionOneFilesOpenWithFreshIds)
{
    seedShapeRandom(3);
    QJsonArray records;
    for (int i = 0; i < 3; ++i) {
        QJsonObject record = shapeToJson(randomCreature());
        record.insert("id", 40 - i);
        record.insert("parent", 2);
        records.append(record);
    }
    const QJsonObject version1{{"format", fileFormatName}, {"version", 1},   {"mutationRate", 0.25},
                               {"mode", "mutate"},         {"nextId", "x"}, {"creatures", records}};
    QString error;
    const QJsonObject document = parseFormatDocument(QJsonDocument(version1).toJson(), error);
    ASSERT_FALSE(document.isEmpty()) << error.toStdString();
    WorldRecord record;
    ASSERT_TRUE(worldFromDocument(document, World::populationBound, record, error)) << error.toStdString();
    ASSERT_EQ(record.creatures.size(), 3u);
    for (std::uint64_t i = 0; i < 3; ++i)
        expectLineage(*record.creatures[i], i + 1, SuperFormula::noParent, 0);
    EXPECT_EQ(record.nextId, 4u);
    EXPECT_EQ(record.mode, BreedingMode::mutate);
}

// Faulty lineage is refused with a sentence naming the creature, leaving
// the record untouched.
TEST(WorldLineage, FaultyLineageIsRefused)
{
    QTemporaryDir folder;
    QString error;
    ASSERT_TRUE(writeWorldFile(pathIn(folder, "a.json"), bredWorld(), error));
    const QJsonObject good = QJsonDocument::fromJson(bytesOf(pathIn(folder, "a.json"))).object();

    struct Case {
        const char* what;
        int creature; // -1: the top level
        const char* field;
        QJsonValue value;
        const char* message;
    };
    const Case cases[] = {
        {"a parent that is not a number", 2, "parent", "3", "creature 3: \"parent\" is neither null nor the id of a creature born before it"},
        {"a parent born after", 0, "parent", 4, "creature 1: \"parent\" is neither null nor the id of a creature born before it"},
        {"a parent of its own", 0, "parent", 3, "creature 1: \"parent\" is neither null nor the id of a creature born before it"},
        {"a duplicate id", 1, "id", 3, "creature 2: its \"id\" 3 is another creature's too"},
        {"id 0", 0, "id", 0, "creature 1: \"id\" is not a whole number from 1 to 9007199254740992"},
        {"a fractional id", 0, "id", 3.5, "creature 1: \"id\" is not a whole number from 1 to 9007199254740992"},
        {"an id beyond exact numbers", 2, "id", 9007199254740994.0, "creature 3: \"id\" is not a whole number from 1 to 9007199254740992"},
        {"a missing id", 0, "id", QJsonValue::Undefined, "creature 1: \"id\" is not a whole number from 1 to 9007199254740992"},
        {"a negative generation", 1, "generation", -1, "creature 2: \"generation\" is not a whole number from 0 to 9007199254740992"},
        {"generation 0 with a parent", 1, "generation", 0, "creature 2: \"generation\" is 0 without a parent and above 0 with one, not 0"},
        {"a generation without a parent", 1, "parent", QJsonValue::Null, "creature 2: \"generation\" is 0 without a parent and above 0 with one, not 1"},
        {"a next id taken", -1, "nextId", 5, "\"nextId\" is not a whole number above every creature's id, up to 9007199254740992"},
        {"no next id", -1, "nextId", QJsonValue::Undefined, "\"nextId\" is not a whole number above every creature's id, up to 9007199254740992"},
    };
    for (const Case& c : cases) {
        const auto edit = [&c](QJsonObject& object) {
            if (c.value.isUndefined())
                object.remove(QLatin1String(c.field));
            else
                object.insert(QLatin1String(c.field), c.value);
        };
        QJsonObject top = good;
        if (c.creature < 0) {
            edit(top);
        } else {
            QJsonArray records = top.value("creatures").toArray();
            QJsonObject record = records[c.creature].toObject();
            edit(record);
            records[c.creature] = record;
            top.insert("creatures", records);
        }
        const QJsonObject document = parseFormatDocument(QJsonDocument(top).toJson(), error);
        ASSERT_FALSE(document.isEmpty()) << c.what;
        WorldRecord record;
        record.nextId = 77;
        EXPECT_FALSE(worldFromDocument(document, World::populationBound, record, error)) << c.what;
        EXPECT_EQ(error.toStdString(), c.message) << c.what;
        EXPECT_TRUE(record.creatures.empty() && record.nextId == 77) << c.what;
    }
    // The good file itself reads.
    WorldRecord record;
    EXPECT_TRUE(worldFromDocument(parseFormatDocument(QJsonDocument(good).toJson(), error), World::populationBound,
                                  record, error))
        << error.toStdString();
}
