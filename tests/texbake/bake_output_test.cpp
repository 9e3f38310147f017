#include "tools/texbake/command.h"

#include "texture/texture_graph.h"

#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace texbake;

namespace {

const char* const noiseGraph = R"({"format": "texbake-graph", "version": 1,
    "nodes": [{"id": "n", "type": "Noise", "seed": 3, "size": 32, "parameters": {"contrast": 1.4}},
              {"id": "f", "type": "FBM", "inputs": ["n"], "parameters": {"octaves": 3}}],
    "output": "f"})";

// Colours beyond [0, 1] and alpha below 1, so that clamping and alpha show.
const char* const colourGraph = R"({"format": "texbake-graph", "version": 1,
    "nodes": [{"id": "n", "type": "Noise", "seed": 11, "size": 16},
              {"id": "map", "type": "ColourMap", "inputs": ["n"],
               "stops": [[0.0, 0.5, 0.2, 0.4, 0.1], [0.4, 0.5, 0.2, 0.4, 0.6],
                         [0.95, 0.8, 0.6, 0.2, 1.0], [1.0, 0.5, 0.2, 0.4, 0.1]]}],
    "output": "map"})";

tex::Graph readGraph(const char* text)
{
    tex::GraphError error;
    std::optional<tex::Graph> graph = tex::readGraph(text, error);
    EXPECT_TRUE(graph) << error.describe("graph");
    return std::move(*graph);
}

std::vector<unsigned char> bytesOf(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct PngImage {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = -1;
    // Every sample, 16-bit ones in native order.
    std::vector<std::uint16_t> samples;
};

PngImage readPng(const std::string& path)
{
    PngImage image;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return image;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<unsigned char> row;
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_user_limits(png, maxSide, maxSide);
        png_read_info(png, info);
        image.width = png_get_image_width(png, info);
        image.height = png_get_image_height(png, info);
        image.bitDepth = png_get_bit_depth(png, info);
        image.colourType = png_get_color_type(png, info);
        row.resize(png_get_rowbytes(png, info));
        for (png_uint_32 y = 0; y < image.height; ++y) {
            png_read_row(png, row.data(), nullptr);
            for (std::size_t i = 0; i < row.size(); i += image.bitDepth / 8)
                image.samples.push_back(image.bitDepth == 16 ? std::uint16_t(row[i] << 8 | row[i + 1]) : row[i]);
        }
        png_read_end(png, nullptr);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return image;
}

class BakeOutputTest : public ::testing::Test {
protected:
    std::string graphFile(const char* text)
    {
        const std::string path = dir.path("graph.json");
        std::ofstream(path) << text;
        return path;
    }

    Options options(const char* graph, const std::string& output)
    {
        Options o;
        o.graphPath = graphFile(graph);
        o.outputPath = dir.path(output);
        o.format = output.substr(output.size() - 3) == "png" ? ImageFormat::Png : ImageFormat::Ppm;
        o.quiet = true;
        return o;
    }

    int run(const Options& o)
    {
        std::ostringstream out;
        std::ostringstream err;
        const Interrupt none;
        const int status = runCommand(o, out, err, false, none);
        EXPECT_EQ(err.str(), "");
        return status;
    }

    // The output node of `graph` as the library bakes it.
    template <typename Sample>
    std::vector<std::uint16_t> bakedPixels(const char* graph, const Options& o, tex::Channels channels)
    {
        const tex::Graph g = readGraph(graph);
        const tex::Region region = o.bakedRegion();
        std::vector<Sample> pixels(std::size_t(region.width) * region.height * std::size_t(channels));
        const tex::BakeOptions bake{region, 1};
        const bool baked = g.output().field ? tex::bakePixels(*g.output().field, o.grid(), channels, pixels.data(), bake)
                                            : tex::bakePixels(*g.output().colour, o.grid(), channels, pixels.data(), bake);
        EXPECT_TRUE(baked);
        return std::vector<std::uint16_t>(pixels.begin(), pixels.end());
    }

    ScratchDir dir;
};

} // namespace

TEST_F(BakeOutputTest, EightBitPpmIsByteForByteTheLibrarysBakeImage)
{
    // 4096 columns of RGB make bands of 341 rows, so this bake streams three
    // bands, the last a short one.
    for (const char* graph : {noiseGraph, colourGraph}) {
        Options o = options(graph, "texbake.ppm");
        o.width = 4096;
        o.height = 700;
        o.extent = 40.0;
        o.origin = {-3.5, 1.25};
        o.z = 0.75;
        o.threads = 2;
        ASSERT_EQ(run(o), success);

        const tex::Graph g = readGraph(graph);
        const std::string library = dir.path("library.ppm");
        ASSERT_TRUE(g.output().field ? tex::bakeImage(library, *g.output().field, 4096, 700, 40.0, -3.5, 1.25, 0.75, 1)
                                     : tex::bakeImage(library, *g.output().colour, 4096, 700, 40.0, -3.5, 1.25, 0.75, 1));
        const std::vector<unsigned char> ours = bytesOf(o.outputPath);
        ASSERT_EQ(ours.size(), std::string("P6 4096 700 255\n").size() + std::size_t(4096) * 700 * 3);
        EXPECT_TRUE(ours == bytesOf(library));
    }
}

TEST_F(BakeOutputTest, PngHoldsTheBakedPixelsInItsLayout)
{
    struct Case {
        const char* graph;
        Depth depth;
        bool noAlpha;
        tex::Channels channels;
        int colourType;
    };
    const Case cases[] = {
        {noiseGraph, Depth::Eight, false, tex::Channels::Grey, PNG_COLOR_TYPE_GRAY},
        {noiseGraph, Depth::Sixteen, false, tex::Channels::Grey, PNG_COLOR_TYPE_GRAY},
        {colourGraph, Depth::Eight, false, tex::Channels::RGBA, PNG_COLOR_TYPE_RGBA},
        {colourGraph, Depth::Sixteen, false, tex::Channels::RGBA, PNG_COLOR_TYPE_RGBA},
        {colourGraph, Depth::Sixteen, true, tex::Channels::RGB, PNG_COLOR_TYPE_RGB},
    };
    for (const Case& c : cases) {
        Options o = options(c.graph, "out.png");
        o.width = 67;
        o.height = 45;
        o.extent = 5.0;
        o.depth = c.depth;
        o.noAlpha = c.noAlpha;
        ASSERT_EQ(run(o), success);

        const PngImage image = readPng(o.outputPath);
        EXPECT_EQ(image.width, 67u);
        EXPECT_EQ(image.height, 45u);
        EXPECT_EQ(image.bitDepth, static_cast<int>(c.depth));
        EXPECT_EQ(image.colourType, c.colourType);
        const std::vector<std::uint16_t> expected = c.depth == Depth::Eight
            ? bakedPixels<std::uint8_t>(c.graph, o, c.channels)
            : bakedPixels<std::uint16_t>(c.graph, o, c.channels);
        EXPECT_TRUE(image.samples == expected) << "depth " << int(c.depth) << ", channels " << int(c.channels);
    }
}

TEST_F(BakeOutputTest, ARegionIsThatPartOfTheWholeBake)
{
    Options whole = options(colourGraph, "whole.ppm");
    whole.shape = GridShape::Sphere;
    whole.width = 64;
    whole.height = 48;
    whole.radius = 3.0;
    whole.centre = {1.0, -2.0, 0.5};
    whole.depth = Depth::Sixteen;
    ASSERT_EQ(run(whole), success);
    const std::vector<unsigned char> all = bytesOf(whole.outputPath);
    const std::size_t header = std::string("P6 64 48 65535\n").size();

    const tex::Region regions[] = {{0, 0, 64, 48}, {5, 7, 30, 20}, {63, 47, 1, 1}, {0, 47, 64, 1}};
    for (const tex::Region& r : regions) {
        Options part = whole;
        part.outputPath = dir.path("part.ppm");
        part.region = r;
        ASSERT_EQ(run(part), success);
        const std::vector<unsigned char> bytes = bytesOf(part.outputPath);
        const std::string partHeader = "P6 " + std::to_string(r.width) + " " + std::to_string(r.height) + " 65535\n";
        ASSERT_EQ(bytes.size(), partHeader.size() + std::size_t(r.width) * r.height * 6);
        for (int row = 0; row < r.height; ++row) {
            const auto from = all.begin() + long(header + (std::size_t(r.y + row) * 64 + std::size_t(r.x)) * 6);
            const auto at = bytes.begin() + long(partHeader.size() + std::size_t(row) * r.width * 6);
            EXPECT_TRUE(std::equal(at, at + long(r.width) * 6, from)) << "row " << row << " of region " << r.x;
        }
    }
}

TEST_F(BakeOutputTest, PngSidesReachTheDocumentedMostAndAnyNameAFileMayHaveWorks)
{
    // 247 characters: the temporary file's name beside it would pass the
    // 255 a name may have, unless shortened.
    const std::string name = std::string(243, 'n') + ".png";
    Options o = options(noiseGraph, name);
    o.width = maxSide;
    o.height = 2;
    ASSERT_EQ(run(o), success);
    const PngImage image = readPng(o.outputPath);
    EXPECT_EQ(image.width, png_uint_32(maxSide));
    EXPECT_EQ(image.height, 2u);
    EXPECT_TRUE(image.samples == bakedPixels<std::uint8_t>(noiseGraph, o, tex::Channels::Grey));

    std::set<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(o.outputPath).parent_path()))
        files.insert(entry.path().filename().string());
    EXPECT_EQ(files, (std::set<std::string>{"graph.json", name}));
}
