#include "texture/bake/tiling.h"

#include <limits>

namespace tex {

namespace {

// Where cut `i` of `parts` falls along `length` samples, in 64 bits so that
// no product overflows.
int cut(int length, int parts, int i)
{
    return static_cast<int>(static_cast<long long>(length) * i / parts);
}

} // namespace

bool Tiling::fits(int width, int height) const
{
    return columns >= 1 && rows >= 1 && columns <= width && rows <= height
        && static_cast<long long>(columns) * rows <= std::numeric_limits<int>::max();
}

Region Tiling::tile(int width, int height, int index) const
{
    const int column = index % columns;
    const int row = index / columns;
    const int x = cut(width, columns, column);
    const int y = cut(height, rows, row);
    return Region{x, y, cut(width, columns, column + 1) - x, cut(height, rows, row + 1) - y};
}

} // namespace tex
