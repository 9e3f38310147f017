#include "shape/shape_file.h"
#include "shape/shape_random.h"
#include "shape/super_formula.h"
#include "record_bits.h"
#include "text_files.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>

namespace {

// A shape whose numbers are hard to write exactly: thirds, tenths, a
// subnormal, negative zero, a huge angle, colours that are not short
// decimals, a shut eye and a sample count that does not follow m.
std::unique_ptr<SuperFormula> awkwardShape()
{
    auto s = std::make_unique<SuperFormula>(1.0 / 3, 0.1, 7.123456789012345, 1e-310, 999.9999999999999, 2, 7);
    s->angle = 123456789.98765432;
    s->rotspeed = -0.0;
    s->colour[0][0] = 1.0f / 3;
    s->colour[1][2] = 0.1f;
    s->colour[2][3] = std::nextafter(1.0f, 0.0f);
    s->border = 0.30000000000000004;
    s->eye = 2.5e-8;
    s->speed = -1.75;
    s->wander = 9.87654321;
    s->heading = {std::cos(2.0), -std::sin(2.0)};
    s->position = {-6.999999999999999, 5.0000000000000009};
    s->blinkTime = 0.15;
    s->eyeClosed = true;
    return s;
}

// Every stored field of a and b, compared as bits.
::testing::AssertionResult sameRecord(const SuperFormula& a, const SuperFormula& b)
{
    if (const char* field = firstDifference(a, b))
        return ::testing::AssertionFailure() << field << " differs";
    return ::testing::AssertionSuccess();
}

QJsonObject recordOf(const SuperFormula& shape)
{
    // Through text, as a file would carry it.
    return QJsonDocument::fromJson(QJsonDocument(shapeToJson(shape)).toJson()).object();
}

} // namespace

TEST(ShapeFile, RecordsReadBackBitForBit)
{
    const auto shape = awkwardShape();
    QString error;
    const auto back = shapeFromJson(recordOf(*shape), error);
    ASSERT_TRUE(back) << error.toStdString();
    EXPECT_TRUE(sameRecord(*shape, *back));
    EXPECT_TRUE(std::signbit(back->rotspeed));

    // And through a creature file.
    QTemporaryDir dir;
    const QString path = dir.filePath("one.json");
    ASSERT_TRUE(writeShapeFile(path, *shape, error)) << error.toStdString();
    const auto fromFile = readShapeFile(path, error);
    ASSERT_TRUE(fromFile) << error.toStdString();
    EXPECT_TRUE(sameRecord(*shape, *fromFile));
    const QJsonObject top = QJsonDocument::fromJson(readText(path)).object();
    EXPECT_EQ("superformula-world", top["format"].toString());
    EXPECT_EQ(2, top["version"].toInt());
    EXPECT_EQ(1, top["creatures"].toArray().size());
}

TEST(ShapeFile, FaultyRecordsAreRefusedNamingTheField)
{
    const auto shape = awkwardShape();
    const QJsonObject good = recordOf(*shape);
    const char* keys[] = {"a", "b", "m", "n1", "n2", "n3", "samples", "angle", "rotspeed", "colours",
                          "border", "eye", "speed", "wander", "heading", "position", "blinkTime", "eyeClosed"};
    EXPECT_EQ(std::size(keys), std::size_t(good.size()));
    for (const char* key : keys) {
        QJsonObject missing = good;
        missing.remove(key);
        QString error;
        EXPECT_FALSE(shapeFromJson(missing, error)) << key;
        EXPECT_TRUE(error.contains(QString("\"%1\" is missing").arg(key))) << error.toStdString();
    }

    const struct {
        const char* key;
        QJsonValue value;
    } bad[] = {
        {"a", "3"},
        {"rotspeed", "-0.0"},
        {"eyeClosed", 1},
        {"samples", 2.5},
        {"samples", 1e12},
        {"samples", 100000},
        {"samples", -1},
        {"colours", QJsonArray{QJsonArray{1, 1, 1, 1}, QJsonArray{1, 1, 1, 1}}},
        {"colours", QJsonArray{QJsonArray{1, 1, 1}, QJsonArray{1, 1, 1, 1}, QJsonArray{1, 1, 1, 1}}},
        {"colours", QJsonArray{QJsonArray{1, 1, 1, 1.5}, QJsonArray{1, 1, 1, 1}, QJsonArray{1, 1, 1, 1}}},
        {"colours", QJsonArray{QJsonArray{1, 1, 1, -0.01}, QJsonArray{1, 1, 1, 1}, QJsonArray{1, 1, 1, 1}}},
        {"heading", QJsonArray{1}},
        {"heading", QJsonArray{0, 0}},
        {"heading", QJsonArray{1e6, 0}},
        {"position", QJsonArray{7.5, 0}},
        {"position", QJsonArray{0, -1e300}},
        {"position", 3},
        {"blinkTime", -0.5},
        {"blinkTime", 3.5},
        // Numbers that would overflow within seconds, or at the next breeding.
        {"rotspeed", 1e308},
        {"a", 1.7e308},
        {"a", -1},
        {"eye", 5000.5},
    };
    for (const auto& b : bad) {
        QJsonObject record = good;
        record[b.key] = b.value;
        QString error;
        EXPECT_FALSE(shapeFromJson(record, error)) << b.key;
        EXPECT_TRUE(error.contains(QString("\"%1\"").arg(b.key))) << error.toStdString();
    }
    QString error;
    EXPECT_FALSE(shapeFromJson(QJsonValue(3), error));
    EXPECT_FALSE(error.isEmpty());
    QJsonObject fast = good;
    fast["rotspeed"] = 1e308;
    shapeFromJson(fast, error);
    EXPECT_EQ("\"rotspeed\" lies outside -300000 to 300000", error.toStdString());

    // The edges the program reaches are kept.
    QJsonObject edge = good;
    edge["samples"] = SuperFormula::maxSamples - 1;
    edge["position"] = QJsonArray{-7, 7};
    edge["blinkTime"] = 3;
    edge["colours"] = QJsonArray{QJsonArray{0, 0, 0, 0}, QJsonArray{1, 1, 1, 1}, QJsonArray{0, 1, 0, 1}};
    edge["rotspeed"] = -3e5;
    edge["n3"] = 1e6;
    edge["angle"] = 1e300; // folded into one turn by the first step
    const auto kept = shapeFromJson(edge, error);
    ASSERT_TRUE(kept) << error.toStdString();
    EXPECT_EQ(1e300, kept->angle);
}

TEST(ShapeFile, UnstorableShapeFailsToSaveAndLeavesTheFileAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.json");
    const auto shape = awkwardShape();
    QString error;
    ASSERT_TRUE(writeShapeFile(path, *shape, error));
    const QByteArray before = readText(path);

    for (double broken : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        SuperFormula faulty(*shape);
        faulty.speed = broken;
        error.clear();
        EXPECT_FALSE(writeShapeFile(path, faulty, error));
        EXPECT_TRUE(error.contains("\"speed\" is not a finite number")) << error.toStdString();
        EXPECT_EQ(before, readText(path));
    }
    EXPECT_FALSE(writeShapeFile(dir.filePath("no/such/folder/x.json"), *shape, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(QStringList{"kept.json"}, QDir(dir.path()).entryList(QDir::Files));
}

TEST(ShapeFile, DocumentsThatAreNotOursAreRefused)
{
    QTemporaryDir dir;
    const auto shape = awkwardShape();
    QString error;
    const QString good = dir.filePath("good.json");
    ASSERT_TRUE(writeShapeFile(good, *shape, error));
    const QByteArray text = readText(good);

    const struct {
        const char* name;
        QByteArray text;
        const char* says;
    } cases[] = {
        {"empty", "", "not JSON"},
        {"text", "hello, world", "not JSON"},
        {"array", "[1, 2, 3]", "no \"format\""},
        {"other format", QByteArray(text).replace("superformula-world", "spreadsheet"), "\"spreadsheet\" file"},
        {"odd version", QByteArray(text).replace("\"version\": 2", "\"version\": \"2\""), "\"version\""},
        {"no creatures", QByteArray(text).replace("\"creatures\"", "\"beasts\""), "\"creatures\" is missing"},
        {"two", QByteArray(text).replace("\"creatures\": [", "\"creatures\": [{},"), "2 creatures"},
        {"none", R"({"format": "superformula-world", "version": 1, "creatures": []})", "no creature"},
        {"bad record", QByteArray(text).replace("\"eye\": 2.5e-08", "\"eye\": [0]"), "creature 1: \"eye\""},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(c.name);
        writeText(path, c.text);
        error.clear();
        EXPECT_FALSE(readShapeFile(path, error)) << c.name;
        EXPECT_TRUE(error.contains(c.says)) << c.name << ": " << error.toStdString();
    }
    EXPECT_FALSE(readShapeFile(dir.filePath("missing.json"), error));
    EXPECT_FALSE(error.isEmpty());

    // A file past the size cap is refused unread, valid or not.
    const QString huge = dir.filePath("huge.json");
    writeText(huge, text + QByteArray(maxFileBytes, ' '));
    EXPECT_FALSE(readShapeFile(huge, error));
    EXPECT_TRUE(error.contains("larger than 16 MiB")) << error.toStdString();
    writeText(huge, text + QByteArray(maxFileBytes - text.size(), ' '));
    EXPECT_TRUE(readShapeFile(huge, error)) << error.toStdString();
}

TEST(ShapeRandom, TicksDoNotDisturbTheBreedingStream)
{
    seedShapeRandom(2024);
    const std::unique_ptr<SuperFormula> first(randomSuperFormula());
    seedShapeRandom(2024);
    SuperFormula swimmer(1, 1, 4, 2, 2, 2, 0);
    for (int i = 0; i < 1000; ++i)
        swimmer.animate(0.005);
    std::rand();
    const std::unique_ptr<SuperFormula> second(randomSuperFormula());
    EXPECT_TRUE(sameRecord(*first, *second));

    // Breeding, in turn, leaves the ticks' stream alone.
    seedShapeRandom(5);
    const int tick = tickRandom();
    seedShapeRandom(5);
    for (int i = 0; i < 50; ++i)
        shapeRandom();
    EXPECT_EQ(tick, tickRandom());
}

TEST(ShapeRandom, BreedingStreamIsTheCLibrarySequenceForEverySeed)
{
    for (unsigned seed : {0u, 1u, 2147483647u, 2147483648u, 3000000000u, 4294967295u}) {
        seedShapeRandom(seed);
        std::vector<int> fromRand;
        for (int i = 0; i < 500; ++i)
            fromRand.push_back(tickRandom());
        seedShapeRandom(seed);
        for (int i = 0; i < 500; ++i)
            ASSERT_EQ(fromRand[i], shapeRandom()) << seed << " draw " << i;
    }
    // A stream object is independent of the process-wide ones.
    ShapeRandomStream own(42);
    seedShapeRandom(42);
    const int expected = shapeRandom();
    seedShapeRandom(7);
    EXPECT_EQ(expected, own.next());
}
