// The world background read from its graph file through texture_graph: the
// graph bakes exactly the pixels of the same functions wired by hand (the
// hash of main.cpp's background bake).
#include "texture/texture_graph.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: texture_graph_consumer GRAPH.json\n");
        return 2;
    }
    std::ifstream file(argv[1]);
    std::stringstream text;
    text << file.rdbuf();
    tex::GraphError error;
    const std::optional<tex::Graph> graph = tex::readGraph(text.str(), error);
    if (!graph || !graph->output().colour) {
        std::printf("graph not read: %s\n", error.describe(argv[1]).c_str());
        return 1;
    }
    std::vector<std::uint8_t> pixels(512 * 512 * 4);
    tex::BakeOptions options;
    options.threads = 2;
    tex::bakePixels(*graph->output().colour, tex::Grid::flat(512, 512, 16.0, 0, 0, 0), tex::Channels::RGBA,
                    pixels.data(), options);
    std::uint64_t h = 14695981039346656037ULL;
    for (const std::uint8_t byte : pixels) {
        h ^= byte;
        h *= 1099511628211ULL;
    }
    const bool same = h == 0xaffb45f09ff3bbabULL;
    std::printf("graph file's background RGBA pixels, FNV-1a %016llx%s\n", static_cast<unsigned long long>(h),
                same ? "" : "  expected affb45f09ff3bbab");
    return same ? 0 : 1;
}
