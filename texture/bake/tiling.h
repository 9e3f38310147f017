#pragma once

#include "texture/bake/grid.h"

namespace tex {

// A grid cut into `columns` × `rows` tiles, numbered row by row from 0:
// tile i is column i % columns of tile row i / columns. The cuts lie at
// c × width / columns and r × height / rows, rounded down, so the tiles
// cover the grid exactly once, without overlap, and their sides differ by
// at most one sample. As every sample depends on its row and column alone
// (see Grid), the tiles baked apart and put side by side are the whole
// bake.
struct Tiling {
    int columns;
    int rows;

    int count() const { return columns * rows; }
    // True when every tile of a width × height grid holds a sample
    // (1 <= columns <= width, 1 <= rows <= height) and the tiles can be
    // counted in an int.
    bool fits(int width, int height) const;
    // Tile `index` of a width × height grid, 0 <= index < count(), for a
    // tiling that fits it.
    Region tile(int width, int height, int index) const;
};

} // namespace tex
