#include "tests/support/scratch_dir.h"
#include "tests/texture/bake/bake_fields.h"

#include "support/ppm_image.h"
#include "support/ppm_writer.h"
#include "support/write_ppm.h"
#include "texture/bake/image_bake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tex;

namespace {

std::string contents(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names of the directory's entries, sorted.
std::vector<std::string> entries(const std::string& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(PPMWriter, SixteenBitSamplesGoOutMostSignificantByteFirst)
{
    ScratchDir dir;
    const std::uint16_t row[6] = {0x0102, 0xA0B0, 0, 65535, 256, 1};
    PPMWriter writer(dir.path("wide.ppm"), 2, 1, PPMWriter::Depth::Sixteen);
    ASSERT_TRUE(writer.writeRows(row, 1));
    ASSERT_TRUE(writer.finish());
    EXPECT_EQ(contents(dir.path("wide.ppm")),
              std::string("P6 2 1 65535\n\x01\x02\xA0\xB0\x00\x00\xFF\xFF\x01\x00\x00\x01", 25));
    const PPMImage image(dir.path("wide.ppm"));
    ASSERT_TRUE(image.loaded);
    EXPECT_EQ(image.maxValue, 65535);
    EXPECT_EQ(image.bytesPerSample, 2);
}

TEST(PPMWriter, AnUnfinishedOrOverfullFileLeavesTheOldOneAndNoTrace)
{
    ScratchDir dir;
    const std::string target = dir.path("keep.ppm");
    std::ofstream(target, std::ios::binary) << "old bytes";
    ::chmod(target.c_str(), 0640);
    const std::uint8_t row[6] = {1, 2, 3, 4, 5, 6};
    {
        PPMWriter abandoned(target, 2, 2);
        ASSERT_TRUE(abandoned.writeRows(row, 1));
    }
    {
        PPMWriter overfull(target, 2, 1);
        ASSERT_TRUE(overfull.writeRows(row, 1));
        EXPECT_FALSE(overfull.writeRows(row, 1));
        EXPECT_FALSE(overfull.finish());
    }
    {
        PPMWriter wrongDepth(target, 1, 1, PPMWriter::Depth::Sixteen);
        EXPECT_FALSE(wrongDepth.writeRows(row, 1));
        EXPECT_FALSE(wrongDepth.finish());
    }
    EXPECT_EQ(contents(target), "old bytes");
    EXPECT_EQ(entries(dir.path("")), std::vector<std::string>{"keep.ppm"});

    // A complete file replaces the old one and keeps its permissions.
    PPMWriter complete(target, 2, 1);
    ASSERT_TRUE(complete.writeRows(row, 1));
    ASSERT_TRUE(complete.finish());
    EXPECT_EQ(contents(target), std::string("P6 2 1 255\n\x01\x02\x03\x04\x05\x06"));
    struct stat status;
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(dir.path("")), std::vector<std::string>{"keep.ppm"});
}

TEST(PPMWriter, AnImageBakeStoppedByTheFileSizeLimitLeavesTheOldFile)
{
    ScratchDir dir;
    const std::string target = dir.path("big.ppm");
    std::ofstream(target, std::ios::binary) << "old bytes";

    // Beyond the limit a write fails with EFBIG instead of killing the process.
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 100000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    RecordingField field;
    const bool baked = bakeImage(target, field, 1000, 1000, 1.0, 0, 0, 0, 1);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    EXPECT_FALSE(baked);
    EXPECT_EQ(contents(target), "old bytes");
    EXPECT_EQ(entries(dir.path("")), std::vector<std::string>{"big.ppm"});
}

TEST(PPMWriter, ImpossibleImageSizesAreRefusedBeforeAnyWork)
{
    ScratchDir dir;
    RecordingField field;
    RecordingColour colour;
    const int big = std::numeric_limits<int>::max();
    EXPECT_FALSE(bakeImage(dir.path("huge.ppm"), field, big, big, 1, 0, 0, 0));
    EXPECT_FALSE(bakeImage(dir.path("huge.ppm"), colour, big, 1 << 10, 1, 0, 0, 0));
    EXPECT_TRUE(field.points.empty());
    EXPECT_TRUE(colour.points.empty());
    EXPECT_TRUE(entries(dir.path("")).empty());
}

TEST(PPMWriter, ALinkIsFollowedAndKept)
{
    ScratchDir dir;
    std::filesystem::create_directory(dir.path("real"));
    const std::string real = dir.path("real/image.ppm");
    std::ofstream(real, std::ios::binary) << "old bytes";
    std::filesystem::create_symlink(real, dir.path("link.ppm"));
    const std::uint8_t pixel[3] = {7, 8, 9};
    ASSERT_TRUE(writePPM(pixel, 1, 1, dir.path("link.ppm")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path("link.ppm")));
    EXPECT_EQ(contents(real), std::string("P6 1 1 255\n\x07\x08\x09"));
    EXPECT_EQ(entries(dir.path("real")), std::vector<std::string>{"image.ppm"});
}

TEST(PPMWriter, ALinkToAPipeWritesIntoThePipe)
{
    // As /dev/stdout on a pipe: a link to /proc/self/fd/N, itself a link to
    // "pipe:[...]", which names no path.
    ScratchDir dir;
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::filesystem::create_symlink("/proc/self/fd/" + std::to_string(ends[1]), dir.path("stdout.ppm"));
    const std::uint8_t pixel[3] = {4, 5, 6};
    const bool written = writePPM(pixel, 1, 1, dir.path("stdout.ppm"));
    ::close(ends[1]);
    char bytes[64];
    const ssize_t got = ::read(ends[0], bytes, sizeof bytes);
    ::close(ends[0]);
    ASSERT_TRUE(written);
    ASSERT_GT(got, 0);
    EXPECT_EQ(std::string(bytes, std::size_t(got)), std::string("P6 1 1 255\n\x04\x05\x06"));
    EXPECT_EQ(entries(dir.path("")), std::vector<std::string>{"stdout.ppm"});
}

TEST(PPMWriter, ALinkToAFileNotThereYetIsWrittenBesideItsTargetOrNotAtAll)
{
    ScratchDir dir;
    std::filesystem::create_directory(dir.path("real"));
    std::filesystem::create_directory(dir.path("links"));
    // links/first.ppm -> second.ppm -> ../real/new.ppm, which is absent:
    // relative links, each from the folder that holds it.
    std::filesystem::create_symlink("second.ppm", dir.path("links/first.ppm"));
    std::filesystem::create_symlink("../real/new.ppm", dir.path("links/second.ppm"));
    const std::uint8_t pixel[3] = {1, 2, 3};
    {
        // Unfinished: nothing beside the links nor at the target.
        PPMWriter unfinished(dir.path("links/first.ppm"), 1, 1);
        ASSERT_TRUE(unfinished.writeRows(pixel, 1));
        EXPECT_EQ(entries(dir.path("real")).size(), 1u) << "the temporary file lies beside the target";
    }
    EXPECT_TRUE(entries(dir.path("real")).empty());
    EXPECT_EQ(entries(dir.path("links")), (std::vector<std::string>{"first.ppm", "second.ppm"}));

    ASSERT_TRUE(writePPM(pixel, 1, 1, dir.path("links/first.ppm")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path("links/first.ppm")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path("links/second.ppm")));
    EXPECT_EQ(contents(dir.path("real/new.ppm")), std::string("P6 1 1 255\n\x01\x02\x03"));
    EXPECT_EQ(entries(dir.path("real")), std::vector<std::string>{"new.ppm"});

    // Links in a loop are refused, and left as they are.
    std::filesystem::create_symlink("loop-b.ppm", dir.path("links/loop-a.ppm"));
    std::filesystem::create_symlink("loop-a.ppm", dir.path("links/loop-b.ppm"));
    AtomicFile loop(dir.path("links/loop-a.ppm"));
    EXPECT_EQ(loop.stream(), nullptr);
    EXPECT_EQ(loop.failure().step, AtomicFile::Failure::Step::create);
    EXPECT_EQ(loop.failure().error, ELOOP);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path("links/loop-a.ppm")));
    EXPECT_EQ(entries(dir.path("links")).size(), 4u);
}

} // namespace
