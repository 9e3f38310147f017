#pragma once

#include "breeder/bred_graph.h"

namespace breeder {

// The world's default background as a graph file: a Noise of lattice size
// 16 and seed `seed` through a ColourMap with `rows` stops, each row
// position, red, green, blue, alpha. With the world's four stops it is the
// parent the breeder starts from. `rows` is 2 or more, the positions
// strictly ascending.
BredGraph noiseBackground(int seed, const double (*stops)[5], int rows);

} // namespace breeder
