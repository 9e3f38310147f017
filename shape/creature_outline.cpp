#include "shape/creature_outline.h"

#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr double pi = 3.14159265358979323846;

// The superformula at the outline's sample angles, with the same double
// operations as the world's display lists, so that every point has the
// same bits.
class OutlineEvaluator {
public:
    explicit OutlineEvaluator(const OutlineFormula& f)
        : k(0.25 * f.m), step(2 * pi / f.samples), ia(1 / f.a), ib(1 / f.b), e(1 / f.n1), n2(f.n2), n3(f.n3)
    {
    }

    double angle(int i) const { return step * i; }
    double radius(double phi) const
    {
        return 1 / std::pow(std::pow(std::fabs(ia * std::cos(k * phi)), n2)
                                + std::pow(std::fabs(ib * std::sin(k * phi)), n3),
                            e);
    }
    OutlinePoint point(int i) const
    {
        const double phi = angle(i);
        const double r = radius(phi);
        return {float(r * std::cos(phi)), float(r * std::sin(phi))};
    }

private:
    double k, step, ia, ib, e, n2, n3;
};

std::uint64_t bits(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

} // namespace

bool OutlineFormula::operator==(const OutlineFormula& other) const
{
    return bits(a) == bits(other.a) && bits(b) == bits(other.b) && bits(m) == bits(other.m)
           && bits(n1) == bits(other.n1) && bits(n2) == bits(other.n2) && bits(n3) == bits(other.n3)
           && samples == other.samples;
}

std::size_t OutlineFormulaHash::operator()(const OutlineFormula& f) const
{
    std::uint64_t h = std::uint64_t(std::uint32_t(f.samples));
    for (double v : {f.a, f.b, f.m, f.n1, f.n2, f.n3})
        h = (h ^ bits(v)) * 0x100000001b3ull + (h >> 29);
    return std::size_t(h);
}

OutlineMeasure measureOutline(const OutlineFormula& formula)
{
    if (formula.samples <= 0)
        return {false, 1.0, 0.0};
    const OutlineEvaluator outline(formula);
    double largest = 0;
    double perimeter = 0;
    bool finite = true;
    OutlinePoint previous{};
    for (int i = 0; i <= formula.samples; ++i) {
        const double phi = outline.angle(i);
        const double r = outline.radius(phi);
        const OutlinePoint p{float(r * std::cos(phi)), float(r * std::sin(phi))};
        finite = finite && std::isfinite(p.x) && std::isfinite(p.y);
        if (r > largest)
            largest = r;
        if (i > 0)
            perimeter += std::hypot(double(p.x) - previous.x, double(p.y) - previous.y);
        previous = p;
    }
    // Radii of 0, infinity or NaN give no body, and no non-finite scale
    // may reach GL.
    const bool drawable = finite && largest > 0 && std::isfinite(float(1 / largest));
    if (!drawable)
        return {false, 1.0, 0.0};
    return {true, 1 / largest, perimeter};
}

std::vector<OutlinePoint> outlinePoints(const OutlineFormula& formula, int stride)
{
    const OutlineEvaluator outline(formula);
    std::vector<OutlinePoint> points;
    points.reserve(std::size_t(formula.samples / stride) + 2);
    for (int i = 0; i < formula.samples; i += stride)
        points.push_back(outline.point(i));
    points.push_back(outline.point(formula.samples));
    return points;
}

int pointsForPerimeter(double perimeterPixels)
{
    // Not finite or too far to count: nothing to thin by.
    if (!(perimeterPixels < 1e9))
        return INT_MAX;
    const int points = int(std::ceil(2 * perimeterPixels));
    return points > minimumThinnedPoints ? points : minimumThinnedPoints;
}

int outlineStride(int samples, double perimeterPixels)
{
    const int allowed = pointsForPerimeter(perimeterPixels);
    if (samples < allowed)
        return 1;
    // ceil(samples / stride) + 1 points, no more than allowed.
    return (samples + allowed - 2) / (allowed - 1);
}

const OutlinePoint* discRimPoints()
{
    static const auto rim = [] {
        constexpr double step = 0.10471975511965977;
        std::array<OutlinePoint, discSteps + 1> points;
        for (int i = 0; i <= discSteps; ++i)
            points[i] = {float(std::cos(i * step)), float(std::sin(i * step))};
        return points;
    }();
    return rim.data();
}

int discStride(double radiusPixels)
{
    const int allowed = pointsForPerimeter(2 * pi * std::fabs(radiusPixels));
    for (int stride : {1, 2, 3, 4, 5, 6, 10, 12, 15, 20})
        if (discSteps / stride + 1 <= allowed)
            return stride;
    return 30;
}
