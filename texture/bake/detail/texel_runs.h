#pragma once

// Samples turned into texels over runs, as the bakes store them. Not
// installed.

#include "support/colour.h"

#include <cstddef>

namespace tex::detail {

// Each colour clamped to [0, 1] (clampToUnit) and stored as four floats,
// red, green, blue, alpha: texels[4 i .. 4 i + 3] from colours[i], for n
// colours, in vector lanes, bit for bit.
void colourTexels(const Colour* colours, float* texels, std::size_t n);

} // namespace tex::detail
