#pragma once

#include "tools/texbake/image_sink.h"
#include "tools/texbake/progress.h"

#include "texture/texture_graph.h"

#include <atomic>
#include <cstdint>

namespace texbake {

// What to bake: the samples of `region` of `grid`, as pixels of `channels`
// at `depth`, the rows spread over `threads` threads, until `cancel` (when
// set) reads true (see tex::BakeOptions).
struct BakeJob {
    tex::Grid grid;
    tex::Region region;
    tex::Channels channels;
    Depth depth;
    int threads;
    const std::atomic<bool>* cancel = nullptr;
    // What a sample is priced at (tex::Graph::cost()), which bounds the runs
    // of the bake (tex::BakeOptions::samplePrice); 0 when unknown.
    std::uint64_t samplePrice = 0;
};

enum class BakeResult { Done, WriteFailed, Stopped };

// Bakes `function` (a built node of a graph) into `sink` in bands of rows,
// so that memory stays proportional to the region's width: each band is
// baked with tex::bakePixels and handed to the sink, and `progress` hears of
// it. When job.cancel reads true the bake stops within a sample a thread
// (Stopped). The pixels are exactly those of one bakePixels call over the
// whole region. The sink is finished only when every band was written.
BakeResult bakeToSink(const tex::GraphNode& function, const BakeJob& job, ImageSink& sink, Progress& progress);

} // namespace texbake
