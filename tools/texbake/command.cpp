#include "tools/texbake/command.h"

#include "tools/texbake/bake_stream.h"
#include "tools/texbake/graph.h"
#include "tools/texbake/node_list.h"
#include "tools/texbake/png_output.h"
#include "tools/texbake/ppm_output.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>

namespace texbake {

namespace {

// The graph file's text; throws GraphError when it cannot be read.
std::string graphText(const std::string& path)
{
    if (path == "-")
        return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (file && text << file.rdbuf() && !file.bad())
        return text.str();
    throw GraphError("cannot read graph file " + path + (errno != 0 ? std::string(": ") + std::strerror(errno) : ""));
}

// PPM is always red, green, blue; PNG is grey for a scalar field and RGBA
// (or RGB) for a colour function.
tex::Channels channelsFor(const Options& options, NodeKind kind)
{
    if (options.format == ImageFormat::Ppm)
        return tex::Channels::RGB;
    if (kind == NodeKind::Field)
        return tex::Channels::Grey;
    return options.noAlpha ? tex::Channels::RGB : tex::Channels::RGBA;
}

std::unique_ptr<ImageSink> openSink(const Options& options, const tex::Region& region, tex::Channels channels)
{
    if (options.format == ImageFormat::Ppm)
        return std::make_unique<PpmOutput>(options.outputPath, region.width, region.height, options.depth);
    return std::make_unique<PngOutput>(options.outputPath, region.width, region.height, channels, options.depth);
}

std::string because(const ImageSink& sink)
{
    return sink.error().empty() ? std::string() : ": " + sink.error();
}

} // namespace

int runCommand(const Options& options, std::ostream& out, std::ostream& err, bool terminal,
               const std::function<int()>& interrupted)
{
    if (options.list) {
        printNodeList(out);
        return success;
    }

    const std::string source = options.graphPath == "-" ? "standard input" : options.graphPath;
    std::unique_ptr<Graph> graph;
    try {
        graph = std::make_unique<Graph>(readGraph(graphText(options.graphPath), source));
    } catch (const GraphError& error) {
        err << "texbake: " << error.what() << '\n';
        return usageError;
    }

    const Node& function = graph->output();
    const tex::Region region = options.bakedRegion();
    const BakeJob job{options.grid(), region, channelsFor(options, function.kind()), options.depth, options.threads};
    const std::unique_ptr<ImageSink> sink = openSink(options, region, job.channels);
    if (!sink->ready()) {
        err << "texbake: cannot create " << options.outputPath << because(*sink) << '\n';
        return writeFailed;
    }

    Progress progress(err, terminal && !options.quiet, static_cast<long long>(region.width) * region.height);
    const BakeResult result = bakeToSink(function, job, *sink, progress, [&] { return interrupted() != 0; });
    progress.finish();
    switch (result) {
    case BakeResult::Done:
        return success;
    case BakeResult::WriteFailed:
        err << "texbake: cannot write " << options.outputPath << because(*sink) << '\n';
        return writeFailed;
    case BakeResult::Stopped:
        break;
    }
    err << "texbake: interrupted; " << options.outputPath << " was not written\n";
    return 128 + interrupted();
}

} // namespace texbake
