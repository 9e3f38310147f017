#pragma once

namespace tex {

// A point of texture space.
struct Point {
    double x;
    double y;
    double z;
};

// A rectangle of a grid's samples: columns x .. x + width - 1 of rows
// y .. y + height - 1.
struct Region {
    int x;
    int y;
    int width;
    int height;
};

// The regular grid of points a bake samples, width columns by height rows.
// Every sample's point depends on its row and column alone, so any region of
// a grid, baked on its own or by any number of threads, gives exactly the
// samples of the same region in a bake of the whole grid.
class Grid {
public:
    enum class Kind { Flat, Sphere };

    // A square-celled grid in the plane z: step = extent / max(width,
    // height), and sample (row r, column c) is (x0 + c step, y0 + r step, z).
    // The longer side spans `extent`; the first sample lies exactly at the
    // origin and the last one step short of the far edge.
    static Grid flat(int width, int height, double extent, double x0, double y0, double z);

    // A latitude-by-longitude map of the sphere of `radius` about (cx, cy,
    // cz): sample (r, c) lies at polar angle θ = π r / height and azimuth
    // φ = 2π c / width, that is (cx + radius cos φ sin θ, cy + radius sin φ
    // sin θ, cz + radius cos θ). Row 0 is the pole (cx, cy, cz + radius); the
    // last row lies one row short of the opposite pole, and the columns join
    // up under wrapping.
    static Grid sphere(int width, int height, double radius, double cx, double cy, double cz);

    Kind kind() const { return shape; }
    int width() const { return columns; }
    int height() const { return rows; }

    // The whole grid as a region.
    Region whole() const { return Region{0, 0, columns, rows}; }
    // True when `region` has at least one sample and lies inside the grid.
    bool contains(const Region& region) const;

    // The points of `count` samples of row `row` from column `first` on,
    // into points[0 .. count - 1]. Rows and columns outside the grid follow
    // the same formula. A null `points` is left alone.
    void rowPoints(int row, int first, int count, Point* points) const;
    // The same points as coordinate arrays, x[0 .. count - 1] and so on: a
    // run for Basis::values and ColourBasis::colours. Null arrays are left
    // alone.
    void rowPoints(int row, int first, int count, double* x, double* y, double* z) const;
    // The point of one sample.
    Point point(int row, int column) const;

private:
    Grid(Kind shape, int columns, int rows, double size, double x, double y, double z);

    // Calls put(i, x, y, z) with the point of each of `count` samples of row
    // `row` from column `first` on.
    template <typename Put>
    void forEachPoint(int row, int first, int count, Put put) const;

    Kind shape;
    int columns;
    int rows;
    // Flat: extent, then the origin. Sphere: radius, then the centre.
    double size;
    double x;
    double y;
    double z;
};

} // namespace tex
