#include "texture/bake/grid.h"

#include <algorithm>
#include <cmath>

namespace tex {

namespace {

const double pi = 3.14159265358979323846;

} // namespace

Grid::Grid(Kind shape, int columns, int rows, double size, double x, double y, double z)
    : shape(shape), columns(columns), rows(rows), size(size), x(x), y(y), z(z)
{
}

template <typename Put>
void Grid::forEachPoint(int row, int first, int count, Put put) const
{
    if (shape == Kind::Flat) {
        const double step = size / std::max(columns, rows);
        const double py = y + row * step;
        for (int i = 0; i < count; ++i) {
            const double column = double(first) + i;
            put(i, x + column * step, py, z);
        }
        return;
    }
    const double theta = pi * row / rows;
    const double sinTheta = std::sin(theta);
    const double pz = z + size * std::cos(theta);
    for (int i = 0; i < count; ++i) {
        const double column = double(first) + i;
        const double phi = 2 * pi * column / columns;
        put(i, x + size * std::cos(phi) * sinTheta, y + size * std::sin(phi) * sinTheta, pz);
    }
}

Grid Grid::flat(int width, int height, double extent, double x0, double y0, double z)
{
    return Grid(Kind::Flat, width, height, extent, x0, y0, z);
}

Grid Grid::sphere(int width, int height, double radius, double cx, double cy, double cz)
{
    return Grid(Kind::Sphere, width, height, radius, cx, cy, cz);
}

bool Grid::contains(const Region& region) const
{
    // Compared as differences, so that no sum can overflow.
    return region.width >= 1 && region.height >= 1 && region.x >= 0 && region.y >= 0
        && region.x <= columns - region.width && region.y <= rows - region.height;
}

void Grid::rowPoints(int row, int first, int count, Point* points) const
{
    if (!points)
        return;
    forEachPoint(row, first, count, [points](int i, double x, double y, double z) { points[i] = Point{x, y, z}; });
}

void Grid::rowPoints(int row, int first, int count, double* x, double* y, double* z) const
{
    if (!x || !y || !z)
        return;
    forEachPoint(row, first, count, [x, y, z](int i, double px, double py, double pz) {
        x[i] = px;
        y[i] = py;
        z[i] = pz;
    });
}

Point Grid::point(int row, int column) const
{
    Point p;
    rowPoints(row, column, 1, &p);
    return p;
}

} // namespace tex
