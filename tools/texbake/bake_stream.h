#pragma once

#include "tools/texbake/image_sink.h"
#include "tools/texbake/node.h"
#include "tools/texbake/progress.h"

#include "texture/texture.h"

#include <functional>

namespace texbake {

// What to bake: the samples of `region` of `grid`, as pixels of `channels`
// at `depth`, the rows spread over `threads` threads (see tex::BakeOptions).
struct BakeJob {
    tex::Grid grid;
    tex::Region region;
    tex::Channels channels;
    Depth depth;
    int threads;
};

enum class BakeResult { Done, WriteFailed, Stopped };

// Bakes `function` (a node whose graph is wired) into `sink` in bands of
// rows, so that memory stays proportional to the region's width: each band
// is baked with tex::bakePixels and handed to the sink, and `progress`
// hears of it. Before each band `stop` is asked whether to give up
// (Stopped). The pixels are exactly those of one bakePixels call over the
// whole region. The sink is finished only when every band was written.
BakeResult bakeToSink(const Node& function, const BakeJob& job, ImageSink& sink, Progress& progress,
                      const std::function<bool()>& stop);

} // namespace texbake
