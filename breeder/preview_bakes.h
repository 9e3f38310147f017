#pragma once

#include "texture/texture_graph.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace breeder {

// Bakes of a litter's previews on worker threads of their own, one preview
// a thread at a time, so that previews come out one by one as they finish
// and the thread that asks for them never waits. Each preview is the
// graph's output over `grid` as 8-bit RGB pixels (tex::bakePixels, a scalar
// output in grey), the same samples as any other bake of that grid.
//
// A new litter cancels the bakes of the one before: those not started are
// dropped, those running stop within a run (tex::BakeOptions::cancel) and
// report nothing. A bake that ends just as the next litter is asked for may
// still report; its litter number tells the receiver to drop it.
// Destroying the bakes cancels them all and waits for the workers to end.
class PreviewBakes {
public:
    // Called on a worker thread with the litter's number (as bake()
    // returned it), the preview's index among its graphs, and its pixels.
    using Ready = std::function<void(int litter, int index, std::vector<std::uint8_t> pixels)>;

    // `threads` workers (at least 1).
    PreviewBakes(const tex::Grid& grid, int threads, Ready ready);
    ~PreviewBakes();
    PreviewBakes(const PreviewBakes&) = delete;
    PreviewBakes& operator=(const PreviewBakes&) = delete;

    // Cancels every earlier bake and queues one for each graph, in order.
    // Returns the litter's number, one more than the last.
    int bake(const std::vector<std::shared_ptr<const tex::Graph>>& graphs);

    const tex::Grid& grid() const { return previewGrid; }

private:
    struct Job {
        int litter;
        int index;
        std::shared_ptr<const tex::Graph> graph;
        std::shared_ptr<std::atomic<bool>> cancel;
    };

    void work();
    bool run(const Job& job, std::vector<std::uint8_t>& pixels) const;

    const tex::Grid previewGrid;
    const Ready ready;
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Job> queue;
    std::shared_ptr<std::atomic<bool>> cancel;
    int litters = 0;
    bool stopping = false;
    std::vector<std::thread> workers;
};

} // namespace breeder
