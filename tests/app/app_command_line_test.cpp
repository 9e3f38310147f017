#include "app_test_world.h"

#include "app/command_line.h"
#include "app/window.h"
#include "shape/shape_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

namespace {

CommandLine parse(QStringList arguments)
{
    arguments.prepend("superformula");
    return parseCommandLine(arguments);
}

std::vector<QJsonObject> records(const WorldView& world)
{
    std::vector<QJsonObject> out;
    for (const SuperFormula& creature : world.world().creatures())
        out.push_back(shapeToJson(creature));
    return out;
}

// A few clicks' worth of breeding on a seeded world, emptied of its first
// population so that each click hits the creature meant, with `ticks`
// animation ticks before each click; the records that result.
std::vector<QJsonObject> bredWorld(unsigned seed, int ticks)
{
    WorldView world(nullptr, seed);
    world.world().replace({});
    auto tick = [&] {
        for (int i = 0; i < ticks; ++i)
            world.tick();
    };
    tick();
    world.world().spawnAt(1, 1);
    tick();
    world.world().breedAt(1, 1, 5);
    tick();
    world.world().breedAt(1.5, 1, 1);
    // The ticks moved the creatures; compare what breeding made.
    std::vector<QJsonObject> made = records(world);
    for (QJsonObject& record : made)
        for (const char* moving : {"angle", "heading", "position", "blinkTime", "eyeClosed"})
            record.remove(moving);
    return made;
}

} // namespace

TEST(CommandLine, SeedGivesTheSamePopulationAndTheSameBreedingTwice)
{
    const CommandLine line = parse({"--seed", "4242"});
    ASSERT_FALSE(line.exitStatus);
    ASSERT_EQ(4242u, line.seed.value());
    EXPECT_FALSE(line.world);

    const auto first = records(*Window(line.seed).worldView());
    const auto second = records(*Window(line.seed).worldView());
    ASSERT_EQ(20u, first.size());
    EXPECT_EQ(first, second);
    EXPECT_NE(first, records(*Window(4243u).worldView()));

    // However many ticks run between the clicks.
    const auto bred = bredWorld(4242, 0);
    EXPECT_EQ(7u, bred.size());
    EXPECT_EQ(bred, bredWorld(4242, 37));
    EXPECT_NE(bred, bredWorld(4241, 0));

    EXPECT_EQ(4294967295u, parse({"--seed=4294967295"}).seed.value());
    EXPECT_EQ(0u, parse({"--seed", "0"}).seed.value());
}

TEST(CommandLine, BadArgumentsAndUnreadableWorldsStopWithStatusTwo)
{
    QTemporaryDir dir;
    QFile notes(dir.filePath("notes.json"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("shopping list");
    notes.close();

    const struct {
        QStringList arguments;
        const char* says;
    } cases[] = {
        {{"--colour", "red"}, "Unknown option 'colour'"},
        {{"--seed"}, "Missing value after '--seed'"},
        {{"--seed", "abc"}, "--seed takes a whole number"},
        {{"--seed", "-1"}, "--seed takes a whole number"},
        {{"--seed", "4294967296"}, "--seed takes a whole number"},
        {{"a.json", "b.json"}, "Only one world file"},
        {{dir.filePath("absent.json")}, "absent.json"},
        {{notes.fileName()}, "not JSON"},
    };
    for (const auto& c : cases) {
        const CommandLine line = parse(c.arguments);
        ASSERT_TRUE(line.exitStatus) << c.says;
        EXPECT_EQ(2, *line.exitStatus) << c.says;
        EXPECT_TRUE(line.message.contains(c.says)) << line.message.toStdString();
        EXPECT_FALSE(line.world);
    }

    const CommandLine help = parse({"--help"});
    EXPECT_EQ(0, help.exitStatus.value_or(-1));
    EXPECT_TRUE(help.message.contains("--seed <N>")) << help.message.toStdString();
    EXPECT_TRUE(help.message.contains("WORLD.json"));
    EXPECT_EQ(0, parse({"--version"}).exitStatus.value_or(-1));
}

TEST(CommandLine, WorldFileIsReadBeforeAnyWindow)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("start.json");
    {
        Window source(77);
        source.worldView()->world().breedAt(source.worldView()->world().creatures().front().position.x,
                                    source.worldView()->world().creatures().front().position.y, 5);
        QString error;
        ASSERT_TRUE(source.saveWorld(path, error));
    }
    CommandLine line = parse({"--seed", "1", path});
    ASSERT_FALSE(line.exitStatus) << line.message.toStdString();
    ASSERT_TRUE(line.world);
    EXPECT_EQ(25u, line.world->creatures.size());
    EXPECT_EQ(path, line.worldPath);

    Window window(line.seed);
    window.showWorld(line.worldPath, std::move(*line.world));
    EXPECT_EQ(25u, window.worldView()->world().creatures().size());
    EXPECT_EQ(path, window.worldPath());
    EXPECT_FALSE(window.hasUnsavedChanges());
}

// The program itself: a bad argument ends it with status 2 and a message on
// its error output, before any window.
TEST(CommandLine, ProgramExitsWithStatusTwoOnABadArgument)
{
    const QString program = QCoreApplication::applicationDirPath() + "/superformula";
    ASSERT_TRUE(QFile::exists(program));
    for (const QStringList& arguments : {QStringList{"--seed", "x"}, QStringList{"/no/such/world.json"}}) {
        QProcess process;
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(QProcess::NormalExit, process.exitStatus());
        EXPECT_EQ(2, process.exitCode());
        EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
        EXPECT_FALSE(process.readAllStandardError().isEmpty());
    }
    QProcess version;
    version.start(program, {"--version"});
    ASSERT_TRUE(version.waitForFinished(20000));
    EXPECT_EQ(0, version.exitCode());
    EXPECT_TRUE(version.readAllStandardOutput().startsWith("superformula "));
}

// Help, version and a bad seed need no display.
TEST(CommandLine, AnswersWithoutADisplay)
{
    const QString program = QCoreApplication::applicationDirPath() + "/superformula";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    for (const auto& [arguments, status] : {std::pair{QStringList{"--help"}, 0}, std::pair{QStringList{"--version"}, 0},
                                            std::pair{QStringList{"--seed", "-1"}, 2}}) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(QProcess::NormalExit, process.exitStatus()) << arguments.join(' ').toStdString();
        EXPECT_EQ(status, process.exitCode()) << arguments.join(' ').toStdString();
    }
}
