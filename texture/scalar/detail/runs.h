#pragma once

// Evaluation over runs of points, as the library's fields compose it. Not
// installed.

#include "support/colour.h"

#include <algorithm>
#include <cstddef>

namespace tex::detail {

// The most points a formula is handed at once (Basis::values scales its
// points a block of this many at a time), and the block in which the
// modifiers evaluate their inputs: long enough for Voronoi to seed the cells
// of a run's points side by side, short enough that a node's buffers (a few
// KiB) fit on a thread's stack.
constexpr std::size_t runBlock = 256;

// The block of points a fractal sum evaluates each octave of, shorter, as it
// keeps six arrays of them.
constexpr std::size_t octaveBlock = 64;

// Calls run(start, count) for consecutive blocks of n points, runBlock at
// the most, from the first.
template <typename Run>
void forEachBlock(std::size_t n, Run run)
{
    for (std::size_t start = 0; start < n; start += runBlock)
        run(start, std::min(runBlock, n - start));
}

// Room for a block of colours, which Colour, having no default constructor,
// cannot be declared as: each element's life begins when it is assigned.
union ColourBlock {
    ColourBlock() {}
    Colour colours[runBlock];
};

// Each run a node evaluates keeps blocks of points on its thread's stack
// while it evaluates its inputs' runs, so runs nest as deep as the graph.
// Past maxNesting levels a node evaluates its run a point at a time, which
// takes next to no stack, so that no depth of graph can overflow a thread's
// stack through runs.
class RunNesting {
public:
    static constexpr int maxNesting = 32;

    RunNesting();
    ~RunNesting();
    RunNesting(const RunNesting&) = delete;
    RunNesting& operator=(const RunNesting&) = delete;

    // Whether this run lies past maxNesting levels of runs on this thread.
    bool tooDeep() const;
};

// out[i] = scale * in[i] for n values, in vector lanes, bit for bit. out may
// be in.
void scaleRun(double scale, const double* in, double* out, std::size_t n);

// out[i] = Basis::applyContrast(scale * in[i]) at `contrast`, for n values,
// in vector lanes, bit for bit. out may be in.
void contrastRun(double contrast, double scale, const double* in, double* out, std::size_t n);

// One octave of a fractal sum over n points: sum[i] = sum[i] + term[i] *
// weight, then each point multiplied by the lacunarity, in vector lanes,
// bit for bit.
void octaveStep(double* sum, const double* term, double weight, double* x, double* y, double* z, double lacunarity,
                std::size_t n);

} // namespace tex::detail
