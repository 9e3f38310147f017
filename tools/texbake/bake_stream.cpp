#include "tools/texbake/bake_stream.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace texbake {

namespace {

// Bytes of pixels baked before they are handed on.
constexpr long long bandBytes = 4 << 20;

bool cancelled(const BakeJob& job)
{
    return job.cancel != nullptr && job.cancel->load();
}

template <typename Sample>
BakeResult bakeBands(const tex::GraphNode& function, const BakeJob& job, ImageSink& sink, Progress& progress)
{
    const tex::Region& region = job.region;
    const long long rowSamples = static_cast<long long>(region.width) * static_cast<int>(job.channels);
    const long long rowBytes = rowSamples * static_cast<long long>(sizeof(Sample));
    const int bandRows = static_cast<int>(std::clamp(bandBytes / rowBytes, 1LL, static_cast<long long>(region.height)));
    std::vector<Sample> band(static_cast<std::size_t>(rowSamples) * std::size_t(bandRows));

    for (int row = 0; row < region.height; row += bandRows) {
        const int rows = std::min(bandRows, region.height - row);
        const tex::BakeOptions options{tex::Region{region.x, region.y + row, region.width, rows}, job.threads,
                                       job.cancel, job.samplePrice};
        const bool baked = function.field
            ? tex::bakePixels(*function.field, job.grid, job.channels, band.data(), options)
            : tex::bakePixels(*function.colour, job.grid, job.channels, band.data(), options);
        if (cancelled(job))
            return BakeResult::Stopped;
        if (!baked)
            return BakeResult::WriteFailed;
        // A sink may give up a band within a row when cancelled.
        const bool written = sink.writeRows(band.data(), rows);
        if (cancelled(job))
            return BakeResult::Stopped;
        if (!written)
            return BakeResult::WriteFailed;
        progress.advance(static_cast<long long>(region.width) * rows);
    }
    return sink.finish() ? BakeResult::Done : BakeResult::WriteFailed;
}

} // namespace

BakeResult bakeToSink(const tex::GraphNode& function, const BakeJob& job, ImageSink& sink, Progress& progress)
{
    if (job.depth == Depth::Eight)
        return bakeBands<std::uint8_t>(function, job, sink, progress);
    return bakeBands<std::uint16_t>(function, job, sink, progress);
}

} // namespace texbake
