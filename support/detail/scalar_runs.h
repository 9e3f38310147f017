#pragma once

// The scalar functions over runs of values, for the library's own fields.
// Not installed.

#include <cstddef>

namespace tex::detail {

// out[i] = gain(g, t[i]) for n values, to the last bit; the logarithms that
// gain takes of g are taken once. out may be t.
void gainRun(double g, const double* t, double* out, std::size_t n);

} // namespace tex::detail
