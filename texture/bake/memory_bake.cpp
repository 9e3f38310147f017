#include "texture/bake/memory_bake.h"

#include "support/colour.h"
#include "texture/colour/colour_basis.h"
#include "texture/scalar/basis.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <limits>
#include <thread>
#include <vector>

namespace tex {

namespace {

// A thread is started only for at least this many samples: below that,
// starting it costs more than it saves.
constexpr long long samplesPerThread = 4096;

// The rows of a bake are handed out in this many runs a thread.
constexpr int runsPerThread = 16;

// Points are made this many at a time, so that a row of any width needs no
// allocation.
constexpr int pointsAtOnce = 256;

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

// Calls put(index, point) for every sample of `region`, index counting the
// region's samples row by row from 0, until `cancel` reads true; false when
// it did, before the last sample. The rows are handed out to the threads,
// the calling thread among them, in runs of neighbouring rows: several runs
// a thread, so that slow runs do not hold up the rest, and neighbouring rows
// together, so that what a thread keeps of one row (Voronoi's cells) serves
// the next. Each sample's point and index depend on its row and column
// alone, so the output does not depend on which thread takes which row.
template <typename Put>
bool forEachSample(const Grid& grid, const Region& region, const BakeOptions& options, Put put)
{
    const int threads = threadsFor(options.threads, region);
    const int runRows = (region.height - 1) / (runsPerThread * threads) + 1;
    const std::atomic<bool>& cancel = options.cancel != nullptr ? *options.cancel : neverCancelled;
    std::atomic<int> nextRun{0};
    std::atomic<bool> stopped{false};
    const auto work = [&] {
        Point points[pointsAtOnce];
        for (int first = nextRun++ * runRows; first < region.height; first = nextRun++ * runRows) {
            const int last = std::min(region.height, first + runRows);
            for (int row = first; row < last; ++row) {
                const std::size_t rowStart = std::size_t(row) * std::size_t(region.width);
                for (int column = 0; column < region.width; column += pointsAtOnce) {
                    const int count = std::min(pointsAtOnce, region.width - column);
                    grid.rowPoints(region.y + row, region.x + column, count, points);
                    for (int i = 0; i < count; ++i) {
                        // One sample of a costly graph may take milliseconds.
                        if (cancel.load(std::memory_order_relaxed)) {
                            stopped = true;
                            return;
                        }
                        put(rowStart + std::size_t(column + i), points[i]);
                    }
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
    return forEachSample(grid, region, options, [&f, out, perPixel](std::size_t i, const Point& p) {
        const Sample grey = fromUnit<Sample>(f.value(p.x, p.y, p.z));
        Sample* pixel = out + perPixel * i;
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
    return forEachSample(grid, region, options, [&f, out, alpha, perPixel](std::size_t i, const Point& p) {
        Colour colour = f.colour(p.x, p.y, p.z);
        colour.clampToUnit();
        Sample* pixel = out + perPixel * i;
        pixel[0] = fromUnit<Sample>(colour.r);
        pixel[1] = fromUnit<Sample>(colour.g);
        pixel[2] = fromUnit<Sample>(colour.b);
        if (alpha)
            pixel[3] = fromUnit<Sample>(colour.a);
    });
}

} // namespace

int bakeThreadCount(const Grid& grid, const BakeOptions& options)
{
    return threadsFor(options.threads, options.region.value_or(grid.whole()));
}

bool bakeFloats(const Basis& f, const Grid& grid, float* out, const BakeOptions& options)
{
    const Region region = options.region.value_or(grid.whole());
    if (!out || !grid.contains(region))
        return false;
    return forEachSample(grid, region, options,
                         [&f, out](std::size_t i, const Point& p) { out[i] = float(f.value(p.x, p.y, p.z)); });
}

bool bakeFloats(const ColourBasis& f, const Grid& grid, float* out, const BakeOptions& options)
{
    const Region region = options.region.value_or(grid.whole());
    if (!out || !grid.contains(region))
        return false;
    return forEachSample(grid, region, options, [&f, out](std::size_t i, const Point& p) {
        Colour colour = f.colour(p.x, p.y, p.z);
        colour.clampToUnit();
        float* texel = out + 4 * i;
        texel[0] = float(colour.r);
        texel[1] = float(colour.g);
        texel[2] = float(colour.b);
        texel[3] = float(colour.a);
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
