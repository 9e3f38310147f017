#include "tools/texbake/options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>

namespace texbake {

namespace {

const char* const description =
    "Bakes a texture graph to a PNG or PPM image.\n"
    "The graph file is JSON (see docs/texbake.md, \"Graph files\"; texbake --list shows\n"
    "every node type with its inputs and parameters).";

const char* const footer =
    "Exit status: 0 when the image was written; 1 when the output could not be\n"
    "created or written; 2 for a bad option or a graph file that cannot be read or\n"
    "is not valid (nothing is written then); 128 + the signal when interrupted.\n"
    "An output file appears only when complete; an old file stays until then.";

// A number the bakes can use: finite, and above 0 where `positive`.
CLI::Validator realNumber(bool positive)
{
    return CLI::Validator(
        [positive](std::string& text) -> std::string {
            char* end = nullptr;
            const double value = std::strtod(text.c_str(), &end);
            if (end == text.c_str() || *end != '\0' || !std::isfinite(value))
                return "\"" + text + "\" is not a finite number";
            if (positive && !(value > 0.0))
                return text + " is not above 0";
            return std::string();
        },
        "");
}

std::string lowerExtension(const std::string& path)
{
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// The checks that involve more than one option.
void checkTogether(Options& options, const CLI::App& app)
{
    if (options.list) {
        if (!options.graphPath.empty() || !options.outputPath.empty())
            throw CLI::ValidationError("--list", "takes no graph and no output");
        return;
    }
    if (app.count("--markdown") > 0)
        throw CLI::ValidationError("--markdown", "applies to --list only");
    if (options.graphPath.empty())
        throw CLI::RequiredError("GRAPH");
    if (options.outputPath.empty())
        throw CLI::RequiredError("--output");
    // An image on a pipe cannot be taken back when the bake is interrupted
    // or fails; /dev/stdout is written in place for whoever accepts that.
    if (options.outputPath == "-")
        throw CLI::ValidationError("--output", "texbake writes image files, not standard output (\"-\"); "
                                               "to stream the image anyway, give /dev/stdout");

    if (app.count("--format") == 0) {
        const std::string extension = lowerExtension(options.outputPath);
        if (extension != "png" && extension != "ppm")
            throw CLI::ValidationError("--output", "cannot tell the format of \"" + options.outputPath
                                                       + "\": name it .png or .ppm, or give --format");
        options.format = extension == "png" ? ImageFormat::Png : ImageFormat::Ppm;
    }

    const bool sphere = options.shape == GridShape::Sphere;
    for (const char* flat : {"--extent", "--origin", "--z"})
        if (sphere && app.count(flat) > 0)
            throw CLI::ValidationError(flat, "applies to the flat grid only");
    for (const char* round : {"--radius", "--centre"})
        if (!sphere && app.count(round) > 0)
            throw CLI::ValidationError(round, "applies to the sphere grid only (--grid sphere)");

    if (options.tiling) {
        if (options.region)
            throw CLI::ValidationError("--tiles", "and --region exclude each other: a tile is a region");
        if (app.count("--tile") == 0)
            throw CLI::ValidationError("--tiles", "needs --tile, the tile to bake");
        const tex::Tiling& tiling = *options.tiling;
        if (!tiling.fits(options.width, options.height))
            throw CLI::ValidationError("--tiles", std::to_string(tiling.columns) + "x" + std::to_string(tiling.rows)
                                                      + " tiles do not fit the " + std::to_string(options.width)
                                                      + " x " + std::to_string(options.height) + " grid");
        if (options.tile >= tiling.count())
            throw CLI::ValidationError("--tile", std::to_string(options.tile) + " is not in 0.."
                                                     + std::to_string(tiling.count() - 1) + " (tiles counted row by "
                                                     + "row from 0)");
    } else if (app.count("--tile") > 0) {
        throw CLI::ValidationError("--tile", "needs --tiles COLSxROWS");
    }
    if (!options.manifestPath.empty() && options.outputPath == options.manifestPath)
        throw CLI::ValidationError("--manifest", "must not be the output image");

    if (options.region && !options.grid().contains(*options.region)) {
        const tex::Region& r = *options.region;
        throw CLI::ValidationError("--region", std::to_string(r.x) + " " + std::to_string(r.y) + " "
                                                   + std::to_string(r.width) + " " + std::to_string(r.height)
                                                   + " does not lie inside the " + std::to_string(options.width)
                                                   + " x " + std::to_string(options.height) + " grid");
    }
}

// CLI11's messages can span lines; texbake's errors are one line each.
std::string oneLine(std::string text)
{
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

} // namespace

tex::Grid Options::grid() const
{
    if (shape == GridShape::Sphere)
        return tex::Grid::sphere(width, height, radius, centre[0], centre[1], centre[2]);
    return tex::Grid::flat(width, height, extent, origin[0], origin[1], z);
}

tex::Region Options::bakedRegion() const
{
    if (tiling)
        return tiling->tile(width, height, tile);
    return region.value_or(tex::Region{0, 0, width, height});
}

namespace {

// "COLSxROWS", each a whole number of 1 or more.
std::optional<tex::Tiling> parseTiling(const std::string& text)
{
    const std::size_t cross = text.find('x');
    if (cross == std::string::npos || cross == 0 || cross + 1 == text.size())
        return std::nullopt;
    const auto number = [](const std::string& digits) -> int {
        if (digits.empty() || digits.size() > 9
            || !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
            return 0;
        return std::stoi(digits);
    };
    const tex::Tiling tiling{number(text.substr(0, cross)), number(text.substr(cross + 1))};
    if (tiling.columns < 1 || tiling.rows < 1)
        return std::nullopt;
    return tiling;
}

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    Options options;
    CLI::App app(description, "texbake");
    app.footer(footer);
    app.get_formatter()->column_width(34);
    // An option given twice takes its last value, so that scripts can
    // override the options they start from.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

    app.add_flag("--list", options.list, "Print every node type with its inputs and parameters, and exit");
    bool markdown = false;
    app.add_flag("--markdown", markdown, "With --list: print the Markdown tables of docs/texbake.md");
    app.add_option("graph", options.graphPath, "The graph file (JSON); - reads standard input")
        ->type_name("GRAPH");
    app.add_option("-o,--output", options.outputPath, "The image to write: .png or .ppm")->type_name("FILE");
    std::string format;
    app.add_option("--format", format, "By default from the output's name")
        ->check(CLI::IsMember({"png", "ppm"}).description(""))
        ->type_name("png|ppm");
    int depth = 8;
    app.add_option("--depth", depth, "Bits per sample")
        ->check(CLI::IsMember({8, 16}).description(""))
        ->type_name("8|16")
        ->capture_default_str();
    app.add_flag("--no-alpha", options.noAlpha, "Write a colour function's PNG as RGB, without alpha");

    std::string shape = "flat";
    app.add_option("--grid", shape, "Flat grid, or latitude by longitude of a sphere")
        ->check(CLI::IsMember({"flat", "sphere"}).description(""))
        ->type_name("flat|sphere")
        ->capture_default_str();
    app.add_option("--width", options.width, "Columns of the whole grid")
        ->check(CLI::Range(1, maxSide).description(""))
        ->type_name("N")
        ->capture_default_str();
    app.add_option("--height", options.height, "Rows of the whole grid")
        ->check(CLI::Range(1, maxSide).description(""))
        ->type_name("N")
        ->capture_default_str();
    app.add_option("--extent", options.extent, "Flat: texture-space length of the longer side")
        ->check(realNumber(true))
        ->type_name("E")
        ->capture_default_str();
    app.add_option("--origin", options.origin, "Flat: texture-space point of the first sample")
        ->check(realNumber(false))
        ->type_name("X Y")
        ->default_str("0 0");
    app.add_option("--z", options.z, "Flat: the grid's constant z")
        ->check(realNumber(false))
        ->type_name("Z")
        ->capture_default_str();
    app.add_option("--radius", options.radius, "Sphere: its radius")
        ->check(realNumber(true))
        ->type_name("R")
        ->capture_default_str();
    app.add_option("--centre", options.centre, "Sphere: its centre")
        ->check(realNumber(false))
        ->type_name("X Y Z")
        ->default_str("0 0 0");
    std::array<int, 4> region{};
    app.add_option("--region", region, "Bake only columns X..X+W-1 of rows Y..Y+H-1 of the grid")
        ->type_name("X Y W H");

    std::string tiles;
    app.add_option("--tiles", tiles, "Cut the grid into COLS x ROWS tiles, for --tile")->type_name("COLSxROWS");
    app.add_option("--tile", options.tile, "Bake only tile I of --tiles, counted row by row from 0")
        ->check(CLI::NonNegativeNumber.description(""))
        ->type_name("I");
    app.add_option("--manifest", options.manifestPath,
                   "Also write FILE: JSON of the whole bake with this image's region and SHA-256")
        ->type_name("FILE");

    app.add_option("--threads", options.threads, "Threads to bake with; 0: one per hardware thread")
        ->check(CLI::Range(0, tex::maxBakeThreads).description(""))
        ->type_name("N")
        ->capture_default_str();
    app.add_flag("-q,--quiet", options.quiet, "No progress bar");

    try {
        app.parse(argc, argv);
        if (!format.empty())
            options.format = format == "png" ? ImageFormat::Png : ImageFormat::Ppm;
        options.depth = depth == 8 ? Depth::Eight : Depth::Sixteen;
        options.listFormat = markdown ? ListFormat::Markdown : ListFormat::Text;
        options.shape = shape == "flat" ? GridShape::Flat : GridShape::Sphere;
        if (app.count("--region") > 0)
            options.region = tex::Region{region[0], region[1], region[2], region[3]};
        if (app.count("--tiles") > 0) {
            options.tiling = parseTiling(tiles);
            if (!options.tiling)
                throw CLI::ValidationError("--tiles", "\"" + tiles + "\" is not COLSxROWS, e.g. 4x2");
        }
        checkTogether(options, app);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
            return CommandLine{std::nullopt, app.exit(error, out, err)};
        err << "texbake: " << oneLine(error.what()) << " (texbake --help shows the options)\n";
        return CommandLine{std::nullopt, usageError};
    }
    return CommandLine{options, success};
}

} // namespace texbake
