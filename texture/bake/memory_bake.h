#pragma once

#include "texture/bake/grid.h"

#include <atomic>
#include <cstdint>
#include <optional>

namespace tex {

class Basis;
class ColourBasis;

// Bakes into memory: a texture function sampled over a grid (see Grid) into
// a caller's buffer, row by row from the region's first row, each row from
// its first column, with no padding between rows. These are exactly the
// samples that the GL and file bakes use.
//
// What a sample becomes:
// - Floats. A scalar field's value narrowed to float, unclamped: one float a
//   sample. A colour function's colour clamped to [0, 1] (clampToUnit):
//   four floats a sample, red, green, blue, alpha.
// - 8-bit pixels. clamp(0, 1, value) × 255 truncated toward zero (so 1.0
//   gives 255, 0.5 gives 127, NaN gives 0), per component for colours.
// - 16-bit pixels. The same with 65535 in place of 255, as native integers.
// Pixel layouts: Grey is one sample a pixel, RGB three, RGBA four. A scalar
// field fills every colour channel with its grey and alpha with the largest
// sample; a colour function has no grey (the bake refuses it), and RGB drops
// its alpha.
//
// Threads. The rows are spread over `threads` threads (0 or less: one per
// hardware thread; 1: the calling thread alone; never more than
// maxBakeThreads). A bake of few samples uses fewer threads, as starting one
// costs more than it saves. The output is the
// same for every thread count. With more than one thread the function is
// evaluated from several threads at once: every texture function of this
// library allows that once its graph is wired; a function of your own must
// too, or be baked with one thread.
//
// A bake returns false, writing nothing and evaluating nothing, when `out`
// is null or the region is empty or not inside the grid. Otherwise it fills region.width ×
// region.height samples (times the floats or channels of each) and returns
// true.
//
// Evaluation. Each thread evaluates its rows in runs of neighbouring samples
// (Basis::values, ColourBasis::colours), from 4 up to 256 samples long as
// long as a run takes well under a millisecond, shorter where samples are
// costly; the samples are the same bits as value() or colour() at each
// point. Where BakeOptions::samplePrice is given (a graph's price,
// Graph::cost()), no run is longer than that price allows in a few
// milliseconds, the first one included.
//
// Cancelling. Where BakeOptions::cancel is set, every thread of the bake
// reads it before each run, and once it reads true the bake stops within
// one run a thread (a few milliseconds at most, however costly the
// samples) and returns false, having filled only part of the output: whole
// runs, each sample of which is final. A signal handler or another thread
// may set it at any time. With samplePrice given, a run is priced at
// runBudget at most, so the flag is read every few milliseconds even in the
// first run of a bake whose samples each cost the most a graph may.

enum class Channels { Grey = 1, RGB = 3, RGBA = 4 };

// The most threads a bake starts, whatever it is asked for: beyond the cores
// of any machine it runs on, more only add switching and memory.
constexpr int maxBakeThreads = 1024;

struct BakeOptions {
    // The part of the grid to bake; the whole grid when absent.
    std::optional<Region> region;
    // Threads to spread the rows over; see above.
    int threads = 0;
    // When set and true, the bake stops early and returns false; see above.
    const std::atomic<bool>* cancel = nullptr;
    // What one sample is priced at, in nanoseconds (Graph::cost()); 0 when
    // unknown.
    std::uint64_t samplePrice = 0;
};

// The most nanoseconds of priced samples one run of a bake holds, where the
// price is known.
constexpr std::uint64_t runBudget = 4000000;

// The samples the runs of a bake hold at most: runBudget / samplePrice,
// between 1 and 256; 256 where the price is unknown.
int longestRun(const BakeOptions& options);

// The threads a bake of `grid` with `options` runs on, the calling thread
// among them: 1 or more, at most maxBakeThreads.
int bakeThreadCount(const Grid& grid, const BakeOptions& options);

bool bakeFloats(const Basis& f, const Grid& grid, float* out, const BakeOptions& options = {});
// A scalar field's values as they are, one double a sample: the bits of
// value() at each sample's point.
bool bakeValues(const Basis& f, const Grid& grid, double* out, const BakeOptions& options = {});
bool bakeFloats(const ColourBasis& f, const Grid& grid, float* out, const BakeOptions& options = {});

bool bakePixels(const Basis& f, const Grid& grid, Channels channels, std::uint8_t* out,
                const BakeOptions& options = {});
bool bakePixels(const ColourBasis& f, const Grid& grid, Channels channels, std::uint8_t* out,
                const BakeOptions& options = {});
bool bakePixels(const Basis& f, const Grid& grid, Channels channels, std::uint16_t* out,
                const BakeOptions& options = {});
bool bakePixels(const ColourBasis& f, const Grid& grid, Channels channels, std::uint16_t* out,
                const BakeOptions& options = {});

} // namespace tex
