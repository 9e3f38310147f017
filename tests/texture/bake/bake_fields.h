#pragma once

#include "support/colour.h"
#include "texture/colour/colour_basis.h"
#include "texture/scalar/basis.h"

#include <functional>
#include <ostream>
#include <utility>
#include <vector>

struct SamplePoint {
    double x, y, z;
    bool operator==(const SamplePoint& o) const { return x == o.x && y == o.y && z == o.z; }
};

inline std::ostream& operator<<(std::ostream& out, const SamplePoint& p)
{
    return out << '(' << p.x << ", " << p.y << ", " << p.z << ')';
}

// A scalar field that records every point it is asked for and answers
// `result` there, through the contrast stage.
class RecordingField : public tex::Basis {
public:
    explicit RecordingField(std::function<double(double, double, double)> result = [](double, double, double) { return 0.5; })
        : result(std::move(result))
    {
    }

    mutable std::vector<SamplePoint> points;
    std::function<double(double, double, double)> result;

protected:
    double formula(double x, double y, double z) const override
    {
        points.push_back({x, y, z});
        return result(x, y, z);
    }
};

// The colour-function counterpart of RecordingField.
class RecordingColour : public tex::ColourBasis {
public:
    explicit RecordingColour(std::function<tex::Colour(double, double, double)> result = [](double, double, double) {
        return tex::Colour(0.5, 0.5, 0.5, 1.0);
    })
        : result(std::move(result))
    {
    }

    mutable std::vector<SamplePoint> points;
    std::function<tex::Colour(double, double, double)> result;

protected:
    tex::Colour formula(double x, double y, double z) const override
    {
        points.push_back({x, y, z});
        return result(x, y, z);
    }
};

// The points of a width × height flat grid with the given step, row by row.
inline std::vector<SamplePoint> gridPoints(int width, int height, double step, double x0, double y0, double z)
{
    std::vector<SamplePoint> points;
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            points.push_back({x0 + c * step, y0 + r * step, z});
    return points;
}
