#pragma once

#include <string>

namespace tex {

class Basis;
class ColourBasis;

// The largest raster an image bake writes: 1 TiB of pixel bytes.
constexpr long long maxImageBakeBytes = 1LL << 40;

// The scalar field `f` over the flat grid (see Grid::flat) into a grey PPM
// file `filename`: each pixel's red, green and blue are clamp(0, 1, value) ×
// 255 truncated. Sample row 0, at y = y0, is the file's first row.
//
// The image is baked and written in bands of rows, so memory stays
// proportional to the width, and the rows are spread over `threads` threads
// as for the memory bakes (0: one per hardware thread; 1: the calling thread
// alone). The file is replaced whole or not at all (see AtomicFile).
//
// Returns whether the whole file was written and put in place; false, with
// nothing evaluated and no file created, for a width or height below 1 or a
// raster beyond maxImageBakeBytes; false, with no partial file left and any
// old file unchanged, when the file cannot be created or written.
bool bakeImage(const std::string& filename, const Basis& f, int width, int height, double extent, double x0,
               double y0, double z, int threads = 0);
// The colour function `f` over the flat grid into an RGB PPM file, as above:
// each colour clamped to [0, 1], alpha dropped.
bool bakeImage(const std::string& filename, const ColourBasis& f, int width, int height, double extent,
               double x0, double y0, double z, int threads = 0);

} // namespace tex
