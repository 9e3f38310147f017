#include "tools/texbake/command.h"

#include "tools/texbake/bake_stream.h"
#include "tools/texbake/manifest.h"
#include "tools/texbake/node_list.h"
#include "tools/texbake/png_output.h"
#include "tools/texbake/ppm_output.h"

#include "texture/texture_graph.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace texbake {

namespace {

// A graph file's text, or why there is none.
struct GraphText {
    std::string text;
    // Empty when the text was read whole.
    std::string error;
    bool interrupted = false;
};

// How often a wait for standard input looks at the interrupt.
constexpr int waitMilliseconds = 50;

// Reads the graph file ("-": standard input) up to `maxBytes`. A signal
// ends the wait for more input at once: a handler that interrupts the read,
// or at the latest the next look at the interrupt.
GraphText readGraphText(const std::string& path, std::size_t maxBytes, const Interrupt& interrupt)
{
    GraphText result;
    const bool standardInput = path == "-";
    const int fd = standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.interrupted = errno == EINTR && interrupt.requested;
        result.error = "cannot read graph file " + path + ": " + std::strerror(errno);
        return result;
    }
    char buffer[65536];
    for (;;) {
        if (interrupt.requested) {
            result.interrupted = true;
            break;
        }
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, waitMilliseconds) <= 0)
            continue;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            result.error = "cannot read graph file " + path + ": " + std::strerror(errno);
            break;
        }
        result.text.append(buffer, std::size_t(got));
        if (result.text.size() > maxBytes) {
            result.error = (standardInput ? std::string("standard input") : path) + ": more than "
                + std::to_string(maxBytes) + " bytes, the most a graph file may hold";
            break;
        }
    }
    if (!standardInput)
        ::close(fd);
    return result;
}

// PPM is always red, green, blue; PNG is grey for a scalar field and RGBA
// (or RGB) for a colour function.
tex::Channels channelsFor(const Options& options, tex::NodeKind kind)
{
    if (options.format == ImageFormat::Ppm)
        return tex::Channels::RGB;
    if (kind == tex::NodeKind::Field)
        return tex::Channels::Grey;
    return options.noAlpha ? tex::Channels::RGB : tex::Channels::RGBA;
}

std::unique_ptr<ImageSink> openSink(const Options& options, const tex::Region& region, tex::Channels channels,
                                    const Interrupt& interrupt)
{
    if (options.format == ImageFormat::Ppm)
        return std::make_unique<PpmOutput>(options.outputPath, region.width, region.height, options.depth);
    return std::make_unique<PngOutput>(options.outputPath, region.width, region.height, channels, options.depth,
                                       &interrupt.requested);
}

std::string because(const ImageSink& sink)
{
    return sink.error().empty() ? std::string() : ": " + sink.error();
}

int interrupted(const Options& options, std::ostream& err, const Interrupt& interrupt)
{
    err << "texbake: interrupted; " << options.outputPath << " was not written\n";
    return 128 + interrupt.signal;
}

} // namespace

int runCommand(const Options& options, std::ostream& out, std::ostream& err, bool terminal,
               const Interrupt& interrupt)
{
    if (options.list) {
        printNodeList(out, options.listFormat);
        return success;
    }

    tex::GraphLimits limits;
    limits.cancel = &interrupt.requested;
    const GraphText text = readGraphText(options.graphPath, limits.json.maxBytes, interrupt);
    if (text.interrupted)
        return interrupted(options, err, interrupt);
    if (!text.error.empty()) {
        err << "texbake: " << text.error << '\n';
        return usageError;
    }
    tex::GraphError error;
    const std::optional<tex::Graph> graph = tex::readGraph(text.text, error, limits);
    if (interrupt.requested)
        return interrupted(options, err, interrupt);
    if (!graph) {
        err << "texbake: " << error.describe(options.graphPath == "-" ? "standard input" : options.graphPath) << '\n';
        return usageError;
    }

    const tex::GraphNode& function = graph->output();
    const tex::Region region = options.bakedRegion();
    const BakeJob job{options.grid(), region, channelsFor(options, function.type->kind), options.depth,
                      options.threads, &interrupt.requested, graph->cost()};
    const std::unique_ptr<ImageSink> sink = openSink(options, region, job.channels, interrupt);
    if (interrupt.requested)
        return interrupted(options, err, interrupt);
    if (!sink->ready()) {
        err << "texbake: cannot create " << options.outputPath << because(*sink) << '\n';
        return writeFailed;
    }

    Progress progress(err, terminal && !options.quiet, static_cast<long long>(region.width) * region.height);
    const BakeResult result = bakeToSink(function, job, *sink, progress);
    progress.finish();
    if (result == BakeResult::Done) {
        std::string why;
        if (!options.manifestPath.empty() && !writeManifest(options, *graph, job.channels, why)) {
            err << "texbake: " << why << '\n';
            return writeFailed;
        }
        return success;
    }
    // A signal that cut a write short is an interruption, not a failure.
    if (result == BakeResult::Stopped || interrupt.requested)
        return interrupted(options, err, interrupt);
    err << "texbake: cannot write " << options.outputPath << because(*sink) << '\n';
    return writeFailed;
}

} // namespace texbake
