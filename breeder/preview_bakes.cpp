#include "breeder/preview_bakes.h"

#include <algorithm>

namespace breeder {

PreviewBakes::PreviewBakes(const tex::Grid& grid, int threads, Ready ready)
    : previewGrid(grid), ready(std::move(ready)), cancel(std::make_shared<std::atomic<bool>>(false))
{
    for (int t = 0; t < std::max(threads, 1); ++t)
        workers.emplace_back([this] { work(); });
}

PreviewBakes::~PreviewBakes()
{
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
        cancel->store(true);
        queue.clear();
    }
    wake.notify_all();
    for (std::thread& worker : workers)
        worker.join();
}

int PreviewBakes::bake(const std::vector<std::shared_ptr<const tex::Graph>>& graphs)
{
    int litter;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        cancel->store(true);
        cancel = std::make_shared<std::atomic<bool>>(false);
        queue.clear();
        litter = ++litters;
        for (std::size_t i = 0; i < graphs.size(); ++i)
            queue.push_back(Job{litter, int(i), graphs[i], cancel});
    }
    wake.notify_all();
    return litter;
}

void PreviewBakes::work()
{
    std::vector<std::uint8_t> pixels;
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [this] { return stopping || !queue.empty(); });
            if (stopping)
                return;
            job = std::move(queue.front());
            queue.pop_front();
        }
        if (run(job, pixels))
            ready(job.litter, job.index, std::move(pixels));
    }
}

bool PreviewBakes::run(const Job& job, std::vector<std::uint8_t>& pixels) const
{
    pixels.assign(std::size_t(previewGrid.width()) * std::size_t(previewGrid.height()) * 3, 0);
    tex::BakeOptions options;
    options.threads = 1;
    options.cancel = job.cancel.get();
    const tex::GraphNode& output = job.graph->output();
    if (output.colour)
        return tex::bakePixels(*output.colour, previewGrid, tex::Channels::RGB, pixels.data(), options);
    return tex::bakePixels(*output.field, previewGrid, tex::Channels::RGB, pixels.data(), options);
}

} // namespace breeder
