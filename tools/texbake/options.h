#pragma once

#include "tools/texbake/image_sink.h"

#include "texture/texture.h"

#include <array>
#include <optional>
#include <ostream>
#include <string>

namespace texbake {

// texbake's exit statuses.
enum ExitStatus {
    success = 0,
    // The output could not be created or written.
    writeFailed = 1,
    // A bad option, or a graph file that cannot be read or is not valid.
    usageError = 2,
};

enum class ImageFormat { Png, Ppm };
// What --list prints: text for a terminal, or the Markdown tables of docs/texbake.md.
enum class ListFormat { Text, Markdown };
enum class GridShape { Flat, Sphere };

// The largest width or height texbake bakes.
constexpr int maxSide = 1 << 20;

struct Options {
    bool list = false;
    ListFormat listFormat = ListFormat::Text;
    // "-" reads the graph from standard input.
    std::string graphPath;
    std::string outputPath;
    ImageFormat format = ImageFormat::Png;
    Depth depth = Depth::Eight;
    // Colour functions into PNG as RGB, dropping their alpha.
    bool noAlpha = false;

    GridShape shape = GridShape::Flat;
    int width = 512;
    int height = 512;
    double extent = 1.0;
    std::array<double, 2> origin{0.0, 0.0};
    double z = 0.0;
    double radius = 1.0;
    std::array<double, 3> centre{0.0, 0.0, 0.0};
    // The part of the grid to bake; the whole grid when absent.
    std::optional<tex::Region> region;
    // --tiles and --tile: bake tile `tile` of the grid cut by `tiling`.
    std::optional<tex::Tiling> tiling;
    int tile = 0;
    // Where to write the bake's manifest (see manifest.h); none when empty.
    std::string manifestPath;

    int threads = 0;
    bool quiet = false;

    tex::Grid grid() const;
    // The region, the tile, or else the whole grid.
    tex::Region bakedRegion() const;
};

// Options to run with, or the status to exit with at once (after --help,
// 0; after a bad option, usageError, its message printed on `err` as one
// line).
struct CommandLine {
    std::optional<Options> options;
    int exitStatus = success;
};

CommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace texbake
