#include "app_test_world.h"

#include "app/command_line.h"
#include "app/window.h"
#include "shape/shape_file.h"
#include "tests/shape/text_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Watches calls that must not wait on a FIFO. Should one still be running
// after a generous time, the watchdog plays the other end (a reader that
// drains whatever comes, writers that open and close, giving end of file),
// so that a call that blocks fails the test instead of hanging it.
class FifoWatchdog {
public:
    explicit FifoWatchdog(const QString& fifo)
        : path(QFile::encodeName(fifo).toStdString()), thread([this] { watch(); })
    {
    }
    ~FifoWatchdog() { finish(); }

    // Ends the watch; true when nothing had to be released.
    bool finish()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            done = true;
        }
        wake.notify_all();
        if (thread.joinable())
            thread.join();
        return !fired;
    }

private:
    void watch()
    {
        std::unique_lock<std::mutex> lock(mutex);
        if (wake.wait_for(lock, std::chrono::seconds(30), [this] { return done; }))
            return;
        fired = true;
        const int drain = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
        char buffer[4096];
        while (!wake.wait_for(lock, std::chrono::milliseconds(10), [this] { return done; })) {
            const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0)
                ::close(writer);
            while (drain >= 0 && ::read(drain, buffer, sizeof buffer) > 0) {
            }
        }
        if (drain >= 0)
            ::close(drain);
    }

    const std::string path;
    std::mutex mutex;
    std::condition_variable wake;
    bool done = false;
    bool fired = false;
    std::thread thread;
};

// A small file system of its own, unmounted again however the test ends.
class SmallTmpfs {
public:
    SmallTmpfs(const QString& where, const char* size)
        : path(QFile::encodeName(where).toStdString()),
          mounted(::mount("tmpfs", path.c_str(), "tmpfs", 0, size) == 0), problem(std::strerror(errno))
    {
    }
    ~SmallTmpfs()
    {
        if (mounted)
            ::umount2(path.c_str(), MNT_DETACH);
    }

    const std::string path;
    const bool mounted;
    const std::string problem;
};

} // namespace

// Opening a FIFO used to block for good (the GUI froze; from the command
// line no window ever came). Now every way in refuses it at once, and the
// same for devices and folders.
TEST(FileSafety, AnythingButARegularFileIsRefusedAtOnce)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("world.json");
    ASSERT_EQ(0, ::mkfifo(QFile::encodeName(fifo).constData(), 0600));
    Window window(3);
    const auto population = shapesOf(*window.worldView());
    QString error;

    FifoWatchdog watchdog(fifo);
    EXPECT_FALSE(window.openWorld(fifo, error));
    EXPECT_EQ("it is a FIFO, not a regular file", error.toStdString());
    error.clear();
    EXPECT_FALSE(window.openCreature(fifo, error));
    EXPECT_EQ("it is a FIFO, not a regular file", error.toStdString());
    const CommandLine line = parseCommandLine({"superformula", fifo});
    EXPECT_EQ(2, line.exitStatus.value_or(0));
    EXPECT_TRUE(line.message.contains("a FIFO, not a regular file")) << line.message.toStdString();
    // Saving onto one would wait for a reader just the same.
    error.clear();
    EXPECT_FALSE(window.saveWorld(fifo, error));
    EXPECT_EQ("it is a FIFO, not a regular file", error.toStdString());
    EXPECT_TRUE(watchdog.finish()) << "a call waited on the FIFO";

    EXPECT_FALSE(window.openWorld("/dev/zero", error));
    EXPECT_EQ("it is a character device, not a regular file", error.toStdString());
    EXPECT_FALSE(window.openWorld(dir.path(), error));
    EXPECT_EQ("it is a directory, not a regular file", error.toStdString());
    EXPECT_EQ(population, shapesOf(*window.worldView()));
    EXPECT_TRUE(window.worldPath().isEmpty());
}

// A failed save keeps the old file and says why: a full disk by name, and a
// folder that takes no new file (saving writes its new file there before it
// replaces the old one) by the folder's name.
TEST(FileSafety, FailedSavesSayWhyAndKeepTheOldFile)
{
    QTemporaryDir dir;
    // Two pages: room for a creature file, not for a world of 20.
    SmallTmpfs disk(dir.path(), "size=8k");
    if (!disk.mounted)
        GTEST_SKIP() << "cannot mount a small tmpfs here (" << disk.problem << "); WorldFile.FailedSave... "
                     << "covers a failing write with a file size limit";
    const QString path = dir.filePath("world.json");
    Window window(8);
    QString error;
    ASSERT_TRUE(writeShapeFile(path, window.worldView()->world().creatures().front(), error)) << error.toStdString();
    const QByteArray old = readText(path);

    EXPECT_FALSE(window.saveWorld(path, error));
    EXPECT_EQ("No space left on device", error.toStdString());
    EXPECT_EQ(old, readText(path));
    EXPECT_EQ(QStringList{"world.json"}, QDir(dir.path()).entryList(QDir::Files));

    ASSERT_EQ(0, ::mount(nullptr, disk.path.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr));
    EXPECT_FALSE(writeShapeFile(path, window.worldView()->world().creatures().back(), error));
    EXPECT_EQ(QStringLiteral("the folder “%1” takes no new file (Read-only file system), and a save writes a new "
                             "file there before it replaces the old one")
                  .arg(dir.path())
                  .toStdString(),
              error.toStdString());
    EXPECT_EQ(old, readText(path));
}
