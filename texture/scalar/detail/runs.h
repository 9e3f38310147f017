#pragma once

// Evaluation over runs of points, as the library's fields compose it. Not
// installed.

#include <cstddef>

namespace tex {

class Basis;

namespace detail {

// How many points the fields that hold buffers for their inputs evaluate at
// a time: enough to keep the vector kernels busy, little enough that a deep
// graph's buffers (a few KiB a node) fit on a thread's stack.
constexpr std::size_t runBlock = 64;

// out[i] = Basis::applyContrast(scale * in[i]) at `contrast`, for n values,
// in vector lanes, bit for bit. out may be in.
void contrastRun(double contrast, double scale, const double* in, double* out, std::size_t n);

// One octave of a fractal sum over n points: sum[i] = sum[i] + term[i] *
// weight, then each point multiplied by the lacunarity, in vector lanes,
// bit for bit.
void octaveStep(double* sum, const double* term, double weight, double* x, double* y, double* z, double lacunarity,
                std::size_t n);

// out[i] = field.value(x[i], y[i], z[i]) for n points, over runs where the
// field's class has a run kernel, one point at a time where it has none.
void fieldValues(const Basis& field, const double* x, const double* y, const double* z, double* out, std::size_t n);

} // namespace detail
} // namespace tex
