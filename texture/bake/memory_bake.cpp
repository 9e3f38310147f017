#include "texture/bake/memory_bake.h"

#include "support/colour.h"
#include "texture/bake/detail/texel_runs.h"
#include "texture/colour/colour_basis.h"
#include "texture/scalar/basis.h"
#include "texture/scalar/detail/runs.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <limits>
#include <thread>
#include <vector>

namespace tex {

namespace {

// A thread is started only for at least this many samples: below that,
// starting it costs more than it saves.
constexpr long long samplesPerThread = 4096;

// The rows of a bake are handed out in this many bunches a thread.
constexpr int bunchesPerThread = 16;

// Each thread evaluates its samples in runs along a row (see Basis::values):
// runs start at firstRun samples and double, up to maxRun, while one takes
// less than quickRun; one that takes longer than slowRun halves them. So
// cheap graphs are evaluated in long runs, and the cancel flag, read
// between runs, is still read every few milliseconds for the costliest:
// where the samples' price is known, no run is priced above runBudget (a
// sample a run at the price bound), so neither the first runs nor runs
// that grew long over cheap parts of the grid hold it up.
constexpr int firstRun = 4;
constexpr int maxRun = static_cast<int>(detail::runBlock);
constexpr auto quickRun = std::chrono::microseconds(500);
constexpr auto slowRun = std::chrono::milliseconds(4);

int threadsFor(int requested, const Region& region)
{
    long long threads = requested >= 1 ? requested : std::thread::hardware_concurrency();
    const long long samples = static_cast<long long>(region.width) * region.height;
    threads = std::min({threads, samples / samplesPerThread, static_cast<long long>(region.height),
                        static_cast<long long>(maxBakeThreads)});
    return static_cast<int>(std::max(threads, 1LL));
}

// What an unset BakeOptions::cancel reads.
const std::atomic<bool> neverCancelled{false};

// Calls put(index, x, y, z, count) for runs of samples that together cover
// `region` once, x, y and z holding the points of `count` neighbouring
// samples of one row and index the first one's place among the region's
// samples, counted row by row from 0, until `cancel` reads true; false when
// it did, before the last run. The rows are handed out to the threads, the
// calling thread among them, in bunches of neighbouring rows: several
// bunches a thread, so that slow ones do not hold up the rest, and
// neighbouring rows together, so that what a thread keeps of one row
// (Voronoi's cells) serves the next. Each sample's point and index depend
// on its row and column alone, and each value on its point alone, so the
// output does not depend on which thread takes which row, nor on how rows
// are cut into runs.
template <typename Put>
bool forEachRun(const Grid& grid, const Region& region, const BakeOptions& options, Put put)
{
    const int threads = threadsFor(options.threads, region);
    const int bunchRows = (region.height - 1) / (bunchesPerThread * threads) + 1;
    const std::atomic<bool>& cancel = options.cancel != nullptr ? *options.cancel : neverCancelled;
    std::atomic<int> nextBunch{0};
    std::atomic<bool> stopped{false};
    const auto work = [&] {
        double x[maxRun], y[maxRun], z[maxRun];
        const int longest = longestRun(options);
        int run = std::min(firstRun, longest);
        for (int first = nextBunch++ * bunchRows; first < region.height; first = nextBunch++ * bunchRows) {
            const int last = std::min(region.height, first + bunchRows);
            for (int row = first; row < last; ++row) {
                const std::size_t rowStart = std::size_t(row) * std::size_t(region.width);
                for (int column = 0; column < region.width;) {
                    if (cancel.load(std::memory_order_relaxed)) {
                        stopped = true;
                        return;
                    }
                    const int count = std::min(run, region.width - column);
                    grid.rowPoints(region.y + row, region.x + column, count, x, y, z);
                    const auto start = std::chrono::steady_clock::now();
                    put(rowStart + std::size_t(column), x, y, z, std::size_t(count));
                    const auto took = std::chrono::steady_clock::now() - start;
                    if (took < quickRun)
                        run = std::min(2 * run, longest);
                    else if (took > slowRun)
                        run = std::max(run / 2, 1);
                    column += count;
                }
            }
        }
    };

    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) {
        // Where no further thread can be started, the ones there are share
        // the rows.
        try {
            helpers.emplace_back(work);
        } catch (...) {
            break;
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
    return !stopped;
}

// clamp(0, 1, v) × the largest sample, truncated toward zero. Written so that
// NaN, which clamp passes through, gives 0 instead of an undefined
// conversion.
template <typename Sample>
Sample fromUnit(double v)
{
    constexpr Sample largest = std::numeric_limits<Sample>::max();
    if (!(v > 0.0))
        return 0;
    if (v > 1.0)
        return largest;
    return static_cast<Sample>(v * largest);
}

template <typename Sample>
bool bakeScalarPixels(const Basis& f, const Grid& grid, Channels channels, Sample* out, const BakeOptions& options)
{
    const Region region = options.region.value_or(grid.whole());
    if (!out || !grid.contains(region))
        return false;
    const int perPixel = static_cast<int>(channels);
    return forEachRun(grid, region, options,
                      [&f, out, perPixel](std::size_t index, const double* x, const double* y, const double* z,
                                          std::size_t count) {
                          double values[maxRun];
                          f.values(x, y, z, values, count);
                          for (std::size_t i = 0; i < count; ++i) {
                              const Sample grey = fromUnit<Sample>(values[i]);
                              Sample* pixel = out + perPixel * (index + i);
                              switch (perPixel) {
                              case 4:
                                  pixel[3] = std::numeric_limits<Sample>::max();
                                  [[fallthrough]];
                              case 3:
                                  pixel[2] = grey;
                                  pixel[1] = grey;
                                  [[fallthrough]];
                              default:
                                  pixel[0] = grey;
                              }
                          }
                      });
}

template <typename Sample>
bool bakeColourPixels(const ColourBasis& f, const Grid& grid, Channels channels, Sample* out,
                      const BakeOptions& options)
{
    const Region region = options.region.value_or(grid.whole());
    if (!out || channels == Channels::Grey || !grid.contains(region))
        return false;
    const bool alpha = channels == Channels::RGBA;
    const int perPixel = static_cast<int>(channels);
    return forEachRun(grid, region, options,
                      [&f, out, alpha, perPixel](std::size_t index, const double* x, const double* y,
                                                 const double* z, std::size_t count) {
                          detail::ColourBlock block;
                          Colour* colours = block.colours;
                          f.colours(x, y, z, colours, count);
                          for (std::size_t i = 0; i < count; ++i) {
                              Colour& colour = colours[i];
                              colour.clampToUnit();
                              Sample* pixel = out + perPixel * (index + i);
                              pixel[0] = fromUnit<Sample>(colour.r);
                              pixel[1] = fromUnit<Sample>(colour.g);
                              pixel[2] = fromUnit<Sample>(colour.b);
                              if (alpha)
                                  pixel[3] = fromUnit<Sample>(colour.a);
                          }
                      });
}

} // namespace

int longestRun(const BakeOptions& options)
{
    if (options.samplePrice == 0)
        return maxRun;
    return int(std::clamp<std::uint64_t>(runBudget / options.samplePrice, 1, maxRun));
}

int bakeThreadCount(const Grid& grid, const BakeOptions& options)
{
    return threadsFor(options.threads, options.region.value_or(grid.whole()));
}

bool bakeFloats(const Basis& f, const Grid& grid, float* out, const BakeOptions& options)
{
    const Region region = options.region.value_or(grid.whole());
    if (!out || !grid.contains(region))
        return false;
    return forEachRun(grid, region, options,
                      [&f, out](std::size_t index, const double* x, const double* y, const double* z,
                                std::size_t count) {
                          double values[maxRun];
                          f.values(x, y, z, values, count);
                          for (std::size_t i = 0; i < count; ++i)
                              out[index + i] = float(values[i]);
                      });
}

bool bakeValues(const Basis& f, const Grid& grid, double* out, const BakeOptions& options)
{
    const Region region = options.region.value_or(grid.whole());
    if (!out || !grid.contains(region))
        return false;
    return forEachRun(grid, region, options,
                      [&f, out](std::size_t index, const double* x, const double* y, const double* z,
                                std::size_t count) { f.values(x, y, z, out + index, count); });
}

bool bakeFloats(const ColourBasis& f, const Grid& grid, float* out, const BakeOptions& options)
{
    const Region region = options.region.value_or(grid.whole());
    if (!out || !grid.contains(region))
        return false;
    return forEachRun(grid, region, options,
                      [&f, out](std::size_t index, const double* x, const double* y, const double* z,
                                std::size_t count) {
                          detail::ColourBlock block;
                          f.colours(x, y, z, block.colours, count);
                          detail::colourTexels(block.colours, out + 4 * index, count);
                      });
}

bool bakePixels(const Basis& f, const Grid& grid, Channels channels, std::uint8_t* out, const BakeOptions& options)
{
    return bakeScalarPixels(f, grid, channels, out, options);
}

bool bakePixels(const ColourBasis& f, const Grid& grid, Channels channels, std::uint8_t* out,
                const BakeOptions& options)
{
    return bakeColourPixels(f, grid, channels, out, options);
}

bool bakePixels(const Basis& f, const Grid& grid, Channels channels, std::uint16_t* out, const BakeOptions& options)
{
    return bakeScalarPixels(f, grid, channels, out, options);
}

bool bakePixels(const ColourBasis& f, const Grid& grid, Channels channels, std::uint16_t* out,
                const BakeOptions& options)
{
    return bakeColourPixels(f, grid, channels, out, options);
}

} // namespace tex
