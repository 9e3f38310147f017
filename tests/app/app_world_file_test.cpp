#include "app_test_world.h"

#include "app/window.h"
#include "world/world_file.h"
#include "shape/shape_file.h"
#include "tests/editor/editor_test_support.h"
#include "tests/shape/text_files.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QSlider>
#include <QTemporaryDir>

#include <gtest/gtest.h>


#include <csignal>
#include <sys/resource.h>

namespace {

QSlider* rateSlider(Window& window)
{
    return window.findChild<QSlider*>();
}

// The stored records of the population, in order; JSON values compare
// doubles exactly and the format keeps the sign of zero.
std::vector<QJsonObject> records(const WorldView& world)
{
    std::vector<QJsonObject> out;
    for (const SuperFormula& creature : world.world().creatures())
        out.push_back(shapeToJson(creature));
    return out;
}

// The frame that shows the paused world as it is now.
QImage shownFrame(WorldView& world)
{
    waitUntil([&] { return !world.framePending(); }, 60000);
    return world.squareFrame();
}

// Pixels that differ by more than the background's turn between two frames
// makes.
int differingPixels(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            count += std::abs(qRed(p) - qRed(q)) > 6 || std::abs(qGreen(p) - qGreen(q)) > 6
                || std::abs(qBlue(p) - qBlue(q)) > 6;
        }
    return count;
}

QByteArray withCreatures(const QByteArray& worldText, int count)
{
    QJsonObject top = QJsonDocument::fromJson(worldText).object();
    QJsonObject one = top["creatures"].toArray().first().toObject();
    one["parent"] = QJsonValue::Null;
    one["generation"] = 0;
    QJsonArray many;
    for (int i = 0; i < count; ++i) {
        one["id"] = i + 1;
        many.append(one);
    }
    top["creatures"] = many;
    top["nextId"] = count + 1;
    return QJsonDocument(top).toJson(QJsonDocument::Compact);
}

// Holds the process to files of `bytes` bytes, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit limit = old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }

private:
    rlimit old;
};

} // namespace

TEST(WorldFile, SavedWorldOpensWithTheSameRecordsAndPixels)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("world.json");
    Window window(11);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.togglePause();
    WorldView* world = window.worldView();
    // Children, spins, blinks and travels, so that no record is fresh.
    world->world().breedAt(world->world().creatures().front().position.x, world->world().creatures().front().position.y, 5);
    for (int i = 0; i < 250; ++i)
        world->world().advance(0.005);
    rateSlider(window)->setValue(137);
    world->world().setMode(BreedingMode::manyKids);
    const auto saved = records(*world);
    const QImage before = shownFrame(*world);

    QString error;
    ASSERT_TRUE(window.saveWorld(path, error)) << error.toStdString();
    EXPECT_EQ(path, window.worldPath());
    EXPECT_FALSE(window.hasUnsavedChanges());

    world->world().replace({});
    world->world().spawnAt(1, 1);
    rateSlider(window)->setValue(3);
    world->world().setMode(BreedingMode::random);
    ASSERT_TRUE(window.hasUnsavedChanges());

    ASSERT_TRUE(window.openWorld(path, error)) << error.toStdString();
    EXPECT_EQ(saved, records(*world));
    EXPECT_EQ(1.37, world->world().mutationRate());
    EXPECT_EQ(137, rateSlider(window)->value());
    EXPECT_EQ(BreedingMode::manyKids, world->world().mode());
    EXPECT_EQ(Qt::SizeAllCursor, world->cursor().shape());
    EXPECT_FALSE(window.hasUnsavedChanges());
    const QImage after = shownFrame(*world);
    ASSERT_EQ(before.size(), after.size());
    EXPECT_LT(differingPixels(before, after), before.width() * before.height() / 100);
    QSet<QRgb> colours;
    for (int y = 0; y < after.height(); y += 7)
        for (int x = 0; x < after.width(); x += 7)
            colours.insert(after.pixel(x, y));
    EXPECT_GT(colours.size(), 100); // creatures over the background, not a blank frame

    const QJsonObject top = QJsonDocument::fromJson(readText(path)).object();
    EXPECT_EQ("superformula-world", top["format"].toString());
    EXPECT_EQ(2, top["version"].toInt());
    EXPECT_EQ("manykids", top["mode"].toString());
    EXPECT_EQ(25, top["creatures"].toArray().size());
}

TEST(WorldFile, EveryKindOfBadFileIsRefusedAndTheWorldStaysAsItWas)
{
    QTemporaryDir dir;
    Window window(5);
    WorldView* world = window.worldView();
    QString error;
    const QString goodPath = dir.filePath("good.json");
    ASSERT_TRUE(window.saveWorld(goodPath, error));
    const QByteArray good = readText(goodPath);
    world->world().spawnAt(0, 0);
    rateSlider(window)->setValue(80);
    const auto population = shapesOf(*world);
    const auto before = records(*world);

    auto edited = [&](const std::function<void(QJsonObject&)>& change) {
        QJsonObject top = QJsonDocument::fromJson(good).object();
        change(top);
        return QJsonDocument(top).toJson();
    };
    auto creatureEdited = [&](const char* key, const QJsonValue& value) {
        return edited([&](QJsonObject& top) {
            QJsonArray creatures = top["creatures"].toArray();
            QJsonObject first = creatures[3].toObject();
            if (value.isUndefined())
                first.remove(key);
            else
                first[key] = value;
            creatures[3] = first;
            top["creatures"] = creatures;
        });
    };
    const QByteArray huge = withCreatures(good, 30000);
    ASSERT_GT(huge.size(), maxFileBytes);

    const struct {
        const char* name;
        QByteArray text;
        const char* says;
    } cases[] = {
        {"not JSON", "a world, honestly", "not JSON"},
        {"truncated", good.left(good.size() - 40), "cut short"},
        {"other format", edited([](QJsonObject& t) { t["format"] = "paint"; }), "\"paint\""},
        {"newer version", edited([](QJsonObject& t) { t["version"] = 3; }), "newer version"},
        {"no rate", edited([](QJsonObject& t) { t.remove("mutationRate"); }), "\"mutationRate\" is missing"},
        {"no speed", creatureEdited("speed", QJsonValue::Undefined), "creature 4: the field \"speed\" is missing"},
        {"rate as text", edited([](QJsonObject& t) { t["mutationRate"] = "fast"; }), "\"mutationRate\""},
        {"eye as text", creatureEdited("eyeClosed", "yes"), "creature 4: \"eyeClosed\""},
        // Plain JSON reading would let the last of two keys win, silently.
        {"format twice", QByteArray(good).replace("\"format\": ", "\"format\": \"superformula-world\", \"format\": "),
         "key \"format\" appears twice at the top level"},
        {"rotspeed twice", QByteArray(good).replace("\"rotspeed\": ", "\"rotspeed\": 1, \"rotspeed\": "),
         "key \"rotspeed\" appears twice in creature 1"},
        {"NaN", QByteArray(good).replace("\"mutationRate\": 0.5", "\"mutationRate\": NaN"), "not JSON"},
        {"infinite", QByteArray(good).replace("\"mutationRate\": 0.5", "\"mutationRate\": 1e400"), "not JSON"},
        {"absurd rate", edited([](QJsonObject& t) { t["mutationRate"] = 5; }), "\"mutationRate\""},
        {"absurd samples", creatureEdited("samples", 1e9), "creature 4: \"samples\""},
        {"over the cap", withCreatures(good, int(World::populationBound) + 1), "more than the"},
        {"huge", huge, "larger than 16 MiB"},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString(c.name) + ".json");
        writeText(path, c.text);
        error.clear();
        EXPECT_FALSE(window.openWorld(path, error)) << c.name;
        EXPECT_TRUE(error.contains(c.says)) << c.name << ": " << error.toStdString();
        EXPECT_EQ(population, shapesOf(*world)) << c.name;
        EXPECT_EQ(0.8, world->world().mutationRate()) << c.name;
        EXPECT_EQ(goodPath, window.worldPath()) << c.name;
        EXPECT_TRUE(window.hasUnsavedChanges()) << c.name;
    }
    EXPECT_FALSE(window.openWorld(dir.filePath("absent.json"), error));
    EXPECT_EQ(before, records(*world));

    // A world as large as one could grow before the breeding cap was
    // lowered still opens, but breeds nothing more while over the cap.
    writeText(dir.filePath("full.json"), withCreatures(good, int(World::populationBound)));
    EXPECT_TRUE(window.openWorld(dir.filePath("full.json"), error)) << error.toStdString();
    EXPECT_EQ(World::populationBound, world->world().creatures().size());
    world->world().spawnAt(2, 2);
    EXPECT_EQ(World::populationBound, world->world().creatures().size());
}

TEST(WorldFile, FailedSaveReportsItAndLeavesTheOldFileIntact)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("world.json");
    Window window(9);
    QString error;
    ASSERT_TRUE(window.saveWorld(path, error));
    const QByteArray old = readText(path);
    window.worldView()->world().spawnAt(2, 2);

    EXPECT_FALSE(window.saveWorld(dir.filePath("no/such/folder/world.json"), error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(path, window.worldPath());
    EXPECT_TRUE(window.hasUnsavedChanges());

    // The disk fills up halfway through the new file.
    error.clear();
    {
        FileSizeLimit full(1024);
        EXPECT_FALSE(window.saveWorld(path, error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(old, readText(path));
    EXPECT_TRUE(window.hasUnsavedChanges());
    EXPECT_EQ(QStringList{"world.json"}, QDir(dir.path()).entryList(QDir::Files));

    // A creature whose numbers have run out of range cannot be stored.
    std::optional<World::Removal> last = window.worldView()->world().removeIndex(20);
    last->creature.wander = std::numeric_limits<double>::infinity();
    window.worldView()->world().add(std::move(last->creature));
    EXPECT_FALSE(window.saveWorld(path, error));
    EXPECT_TRUE(error.contains("creature 21 cannot be stored: \"wander\"")) << error.toStdString();
    EXPECT_EQ(old, readText(path));
}
