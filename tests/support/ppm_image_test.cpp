#include "support/ppm_image.h"
#include "support/write_ppm.h"

#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace tex;

using namespace std::string_literals;

namespace {

class PPMFileTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir.path(name); }

    // Writes `bytes` verbatim to a file named `name` and returns its path.
    std::string fileWith(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(path(name), std::ios::binary);
        out << bytes;
        return path(name);
    }

    static std::string contents(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static std::string pixelBytes(const PPMImage& image)
    {
        const size_t size = size_t(image.width) * image.height * 3 * image.bytesPerSample;
        return std::string(reinterpret_cast<const char*>(image.pixels), size);
    }

    static void expectNotLoaded(const PPMImage& image)
    {
        EXPECT_FALSE(image.loaded);
        EXPECT_EQ(image.width, 0);
        EXPECT_EQ(image.height, 0);
        EXPECT_EQ(image.maxValue, 0);
        EXPECT_EQ(image.bytesPerSample, 0);
        EXPECT_EQ(image.pixels, nullptr);
    }

    ScratchDir dir;
};

// 24 raster bytes for a 4 × 2 image, a line feed among them.
const std::string raster24 = "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10\x11\x12\x13\x14\x15\x16\x17\xff"s;

TEST_F(PPMFileTest, WriterProducesTheExactHeaderAndRaster)
{
    const std::vector<unsigned char> pixels(raster24.begin(), raster24.end());
    ASSERT_TRUE(writePPM(pixels.data(), 4, 2, path("out.ppm")));
    const std::string file = contents(path("out.ppm"));
    ASSERT_EQ(file.size(), 11u + 24u);
    EXPECT_EQ(file.substr(0, 11), "P6 4 2 255\n");
    EXPECT_EQ(file.substr(11), raster24);
}

TEST_F(PPMFileTest, WrittenFileReadsBackUnchanged)
{
    std::vector<unsigned char> pixels(5 * 3 * 3);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<unsigned char>(i * 37);
    pixels[0] = 10;
    pixels[44] = 10;
    ASSERT_TRUE(writePPM(pixels.data(), 5, 3, path("round.ppm")));

    const PPMImage image(path("round.ppm"));
    ASSERT_TRUE(image.loaded);
    EXPECT_EQ(image.filename, path("round.ppm"));
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(image.maxValue, 255);
    EXPECT_EQ(image.bytesPerSample, 1);
    EXPECT_EQ(pixelBytes(image), std::string(pixels.begin(), pixels.end()));
}

TEST_F(PPMFileTest, WriterReportsFilesItCannotWriteWhole)
{
    const unsigned char pixels[3] = {1, 2, 3};
    EXPECT_FALSE(writePPM(pixels, 1, 1, path("no-such-dir/out.ppm")));
    // /dev/full accepts the open and the buffered write; the flush at close fails.
    EXPECT_FALSE(writePPM(pixels, 1, 1, "/dev/full"));
}

TEST_F(PPMFileTest, WriterRefusesEmptyOrNegativeSizesWithoutCreatingAFile)
{
    const unsigned char pixels[3] = {1, 2, 3};
    EXPECT_FALSE(writePPM(pixels, 0, 1, path("a.ppm")));
    EXPECT_FALSE(writePPM(pixels, 1, -1, path("a.ppm")));
    EXPECT_FALSE(writePPM(nullptr, 1, 1, path("a.ppm")));
    EXPECT_FALSE(std::filesystem::exists(path("a.ppm")));
}

TEST_F(PPMFileTest, CommentLinesBetweenHeaderFields)
{
    const PPMImage image(fileWith("c.ppm", "P6\n# a comment\n4 2\n255\n" + raster24));
    ASSERT_TRUE(image.loaded);
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(pixelBytes(image), raster24);

    const PPMImage leading(fileWith("l.ppm", "# first\n\n#second\0P6\n#w\n#h\n1 1\n#max\n#\n255\n\x01\x02\x03"s));
    ASSERT_TRUE(leading.loaded);
    EXPECT_EQ(pixelBytes(leading), "\x01\x02\x03");
}

TEST_F(PPMFileTest, CommentsAreRecognisedOnlyAfterLineFeeds)
{
    // A space, tab or carriage return ends skipping, so the '#' is then read as a number.
    expectNotLoaded(PPMImage(fileWith("s.ppm", "P6 # comment\n1 1 255\n\x01\x02\x03")));
    expectNotLoaded(PPMImage(fileWith("t.ppm", "P6\t#c\n1 1 255\n\x01\x02\x03")));
    expectNotLoaded(PPMImage(fileWith("r.ppm", "P6\r#c\n1 1 255\n\x01\x02\x03")));
    expectNotLoaded(PPMImage(fileWith("m.ppm", " P6 1 1 255\n\x01\x02\x03")));
    // No comment may stand between width and height.
    expectNotLoaded(PPMImage(fileWith("b.ppm", "P6\n4\n#c\n2\n255\n" + raster24)));
}

TEST_F(PPMFileTest, AnyWhiteSpacePrecedesTheNumbers)
{
    const PPMImage image(fileWith("w.ppm", "P6\t\r\n 3\v\f2\n\n255\t" + raster24.substr(0, 18)));
    ASSERT_TRUE(image.loaded);
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(pixelBytes(image), raster24.substr(0, 18));

    const PPMImage signs(fileWith("p.ppm", "P6 +1 0001 +00255\n\x07\x08\x09"));
    ASSERT_TRUE(signs.loaded);
    EXPECT_EQ(signs.width, 1);
    EXPECT_EQ(signs.height, 1);
    EXPECT_EQ(signs.maxValue, 255);
}

TEST_F(PPMFileTest, OnlyOneCharacterAfterTheMaximumValueIsConsumed)
{
    const PPMImage image(fileWith("crlf.ppm", "P6\r\n1 1\r\n255\r\n\xff\x00"s));
    ASSERT_TRUE(image.loaded);
    EXPECT_EQ(pixelBytes(image), "\n\xff\x00"s);
}

TEST_F(PPMFileTest, PlainTextPixmapAndMissingFileKeepTheirNames)
{
    const std::string p3 = fileWith("p3.ppm", "P3 1 1 255\n0 0 0\n");
    const PPMImage plain(p3);
    expectNotLoaded(plain);
    EXPECT_EQ(plain.filename, p3);

    const PPMImage missing(path("missing.ppm"));
    expectNotLoaded(missing);
    EXPECT_EQ(missing.filename, path("missing.ppm"));
}

TEST_F(PPMFileTest, SixteenBitSamplesAreKeptAsStored)
{
    const std::string samples = "\xff\x00\x00\xff\x12\x34\x00\x00\x80\x00\xff\xff"s;
    const PPMImage image(fileWith("16.ppm", "P6 2 1 65535\n" + samples));
    ASSERT_TRUE(image.loaded);
    EXPECT_EQ(image.maxValue, 65535);
    EXPECT_EQ(image.bytesPerSample, 2);
    EXPECT_EQ(pixelBytes(image), samples);

    const PPMImage wide(fileWith("256.ppm", "P6 1 1 256\n\x01\x00\x00\x80\x00\x00"s));
    ASSERT_TRUE(wide.loaded);
    EXPECT_EQ(wide.bytesPerSample, 2);
    const PPMImage narrow(fileWith("1.ppm", "P6 1 1 1\n\x01\x00\x01"s));
    ASSERT_TRUE(narrow.loaded);
    EXPECT_EQ(narrow.bytesPerSample, 1);
}

TEST_F(PPMFileTest, BrokenHeadersLeaveTheImageNotLoaded)
{
    const std::string pixel = "\x01\x02\x03\x04\x05\x06"s;
    const std::vector<std::string> headers = {
        "",
        "P",
        "P6",
        "p6 1 1 255\n",
        "P\n6 1 1 255\n",
        "P6 x 1 255\n",
        "P6 1\n",
        "P6 1 y 255\n",
        "P6 0 1 255\n",
        "P6 1 0 255\n",
        "P6 -1 1 255\n",
        "P6 1 -1 255\n",
        "P6 - 1 255\n",
        "P6 + 1 255\n",
        "P6 2147483648 1 255\n",
        "P6 1 99999999999999999999 255\n",
        "P6 2147483647 2147483647 255\n",
        "P6 32768 16385 255\n",
        "P6 16384 16384 65535\n",
        "P6 1 1\n",
        "P6 1 1 x\n",
        "P6 1 1 0\n",
        "P6 1 1 -255\n",
        "P6 1 1 65536\n",
        "P6 1 1 4294967551\n",
    };
    for (size_t i = 0; i < headers.size(); ++i) {
        SCOPED_TRACE(headers[i]);
        expectNotLoaded(PPMImage(fileWith("h" + std::to_string(i) + ".ppm", headers[i] + pixel)));
        expectNotLoaded(PPMImage(fileWith("e" + std::to_string(i) + ".ppm", headers[i])));
    }
}

TEST_F(PPMFileTest, RasterShorterThanPromisedIsNotLoaded)
{
    expectNotLoaded(PPMImage(fileWith("s8.ppm", "P6 4 2 255\n" + raster24.substr(0, 23))));
    expectNotLoaded(PPMImage(fileWith("s16.ppm", "P6 1 1 65535\n" + raster24.substr(0, 5))));
    expectNotLoaded(PPMImage(fileWith("none.ppm", "P6 4 2 255\n")));
    expectNotLoaded(PPMImage(fileWith("end.ppm", "P6 1 1 255")));

    const PPMImage longer(fileWith("long.ppm", "P6 4 2 255\n" + raster24 + "trailing"));
    ASSERT_TRUE(longer.loaded);
    EXPECT_EQ(pixelBytes(longer), raster24);
}

TEST_F(PPMFileTest, StreamConstructorReadsFromThePositionAndLeavesTheStreamOpen)
{
    std::FILE* file = std::fopen(fileWith("stream.ppm", "skip:P6 1 1 255\n\x01\x02\x03tail").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fseek(file, 5, SEEK_SET), 0);
    {
        const PPMImage image(file, "named");
        ASSERT_TRUE(image.loaded);
        EXPECT_EQ(image.filename, "named");
        EXPECT_EQ(pixelBytes(image), "\x01\x02\x03");
    }
    EXPECT_EQ(std::getc(file), 't');
    std::fclose(file);
}

TEST(PPMImageTest, CheckMagicAcceptsOnlyP6)
{
    EXPECT_TRUE(PPMImage::checkMagic('P', '6'));
    EXPECT_FALSE(PPMImage::checkMagic('P', '3'));
    EXPECT_FALSE(PPMImage::checkMagic('p', '6'));
    EXPECT_FALSE(PPMImage::checkMagic('6', 'P'));
    EXPECT_FALSE(PPMImage::checkMagic('P', '\0'));
}

TEST(PPMImageTest, SkipCommentsStopsBeforeTheFirstOtherCharacter)
{
    const std::string cases[][2] = {
        {"\n\n#one\n#two\0#three\nQ"s, "Q"},
        {"#no line feed before end of file", ""},
        {" #not a comment\n", " #not a comment\n"},
        {"\t#x", "\t#x"},
        {"\r\n#x\n", "\r\n#x\n"},
        {"\n#c\n \nZ", " \nZ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        std::FILE* file = fmemopen(const_cast<char*>(c[0].data()), c[0].size(), "rb");
        ASSERT_NE(file, nullptr);
        PPMImage::skipComments(file);
        std::string rest;
        for (int ch = std::getc(file); ch != EOF; ch = std::getc(file))
            rest += char(ch);
        EXPECT_EQ(rest, c[1]);
        std::fclose(file);
    }
}

} // namespace
