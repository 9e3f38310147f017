#include "shape/creature_outline.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>

namespace {

constexpr double pi = 3.14159265358979323846;

// No thinned shape has fewer points than this.
constexpr int fewestPoints = 8;

// The superformula at the outline's sample angles, with the same double
// operations as the world's display lists, so that every point has the
// same bits.
class OutlineEvaluator {
public:
    explicit OutlineEvaluator(const OutlineFormula& f)
        : k(0.25 * f.m), step(2 * pi / f.samples), ia(1 / f.a), ib(1 / f.b), e(1 / f.n1), n2(f.n2), n3(f.n3)
    {
    }

    double radius(double phi) const
    {
        return 1 / std::pow(std::pow(std::fabs(ia * std::cos(k * phi)), n2)
                                + std::pow(std::fabs(ib * std::sin(k * phi)), n3),
                            e);
    }
    // Point i, with its radius in `r`.
    OutlinePoint point(int i, double& r) const
    {
        const double phi = step * i;
        r = radius(phi);
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

namespace {

// Douglas-Peucker ranks: each point's distance from the chord of the span
// it splits, no more than the rank of the point that split off that span,
// so that the points ranked above a tolerance are the simplification to it.
// Spans whose points all lie within `finest` of their chord are not split
// further: their points rank 0.
std::vector<float> douglasPeuckerRanks(const std::vector<OutlinePoint>& points, double finest)
{
    const float infinite = std::numeric_limits<float>::infinity();
    std::vector<float> ranks(points.size(), 0.0f);
    ranks.front() = ranks.back() = infinite;
    struct Span {
        std::size_t first, last;
        float rank;
    };
    std::vector<Span> spans{{0, points.size() - 1, infinite}};
    while (!spans.empty()) {
        const Span span = spans.back();
        spans.pop_back();
        if (span.last - span.first < 2)
            continue;
        // The squared distance of each point from the chord, a segment.
        const OutlinePoint a = points[span.first];
        const double abx = double(points[span.last].x) - a.x;
        const double aby = double(points[span.last].y) - a.y;
        const double length2 = abx * abx + aby * aby;
        const double inverse = length2 > 0 ? 1 / length2 : 0;
        std::size_t farthest = span.first + 1;
        double distance2 = -1;
        for (std::size_t i = span.first + 1; i < span.last; ++i) {
            const double apx = double(points[i].x) - a.x;
            const double apy = double(points[i].y) - a.y;
            const double t = std::clamp((apx * abx + apy * aby) * inverse, 0.0, 1.0);
            const double dx = apx - t * abx;
            const double dy = apy - t * aby;
            const double d2 = dx * dx + dy * dy;
            if (d2 > distance2) {
                distance2 = d2;
                farthest = i;
            }
        }
        const double distance = std::sqrt(distance2);
        if (distance <= finest)
            continue;
        const float rank = std::min(float(distance), span.rank);
        ranks[farthest] = rank;
        spans.push_back({span.first, farthest, rank});
        spans.push_back({farthest, span.last, rank});
    }
    return ranks;
}

} // namespace

Outline evaluateOutline(const OutlineFormula& formula)
{
    Outline outline;
    if (formula.samples <= 0)
        return outline;
    const OutlineEvaluator evaluator(formula);
    std::vector<OutlinePoint> points;
    points.reserve(std::size_t(formula.samples) + 1);
    double largest = 0;
    for (int i = 0; i <= formula.samples; ++i) {
        double r;
        const OutlinePoint p = evaluator.point(i, r);
        // Radii of 0, infinity or NaN, or points beyond a float, give no
        // body: no non-finite vertex or scale may reach GL.
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return outline;
        if (r > largest)
            largest = r;
        points.push_back(p);
    }
    if (!(largest > 0) || !std::isfinite(float(1 / largest)))
        return outline;

    outline.drawable = true;
    outline.fitScale = 1 / largest;
    for (std::size_t i = 1; i < points.size(); ++i)
        outline.perimeter += std::hypot(double(points[i].x) - points[i - 1].x, double(points[i].y) - points[i - 1].y);
    // No screen tells apart outlines a ten-thousandth of their size apart.
    const double finest = largest * 1e-4;
    outline.whole = formula.samples < wholeOutlineLimit;
    std::vector<float> ranks = douglasPeuckerRanks(points, outline.whole ? 0.0 : finest);
    if (outline.whole) {
        outline.points = std::move(points);
        outline.ranks = std::move(ranks);
        return outline;
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (ranks[i] > 0) {
            outline.points.push_back(points[i]);
            outline.ranks.push_back(ranks[i]);
        }
    }
    return outline;
}

std::vector<OutlinePoint> outlinePoints(const OutlineFormula& formula)
{
    const OutlineEvaluator evaluator(formula);
    std::vector<OutlinePoint> points;
    points.reserve(std::size_t(formula.samples) + 1);
    double r;
    for (int i = 0; i <= formula.samples; ++i)
        points.push_back(evaluator.point(i, r));
    return points;
}

bool outlineThinned(int samples, double perimeterPixels)
{
    return samples + 1 > perimeterPixels;
}

int thinnedOutlinePoints(double perimeterPixels)
{
    if (!(perimeterPixels < INT_MAX))
        return INT_MAX;
    return std::max(fewestPoints, int(std::ceil(perimeterPixels)));
}

std::vector<OutlinePoint> simplifiedOutline(const Outline& outline, double tolerance, int mostPoints)
{
    const std::size_t above = std::size_t(
        std::count_if(outline.ranks.begin(), outline.ranks.end(), [&](float rank) { return rank > tolerance; }));
    const std::size_t fewest = std::min(std::size_t(fewestPoints), outline.points.size());
    const std::size_t wanted = std::clamp(above, fewest, std::max(fewest, std::size_t(std::max(mostPoints, 0))));
    // The `wanted` best ranked points, in order around the outline: those
    // above the tolerance, or when they are too few or too many, those
    // above the rank of the wanted-th best and the first of those at it.
    float cut = float(tolerance);
    std::size_t tiesKept = 0;
    if (wanted != above) {
        std::vector<float> best(outline.ranks);
        std::nth_element(best.begin(), best.begin() + std::ptrdiff_t(wanted - 1), best.end(), std::greater<float>());
        cut = best[wanted - 1];
        tiesKept = wanted - std::size_t(std::count_if(best.begin(), best.end(), [&](float r) { return r > cut; }));
    }
    std::vector<OutlinePoint> points;
    points.reserve(wanted);
    for (std::size_t i = 0; i < outline.points.size(); ++i) {
        if (outline.ranks[i] > cut) {
            points.push_back(outline.points[i]);
        } else if (outline.ranks[i] == cut && tiesKept > 0) {
            points.push_back(outline.points[i]);
            --tiesKept;
        }
    }
    return points;
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
    constexpr double pointsPerPixel = 2.0;
    const double allowed = std::max(double(fewestPoints), pointsPerPixel * 2 * pi * std::fabs(radiusPixels));
    // The divisors of 60 whose rim keeps at least a hexagon.
    for (int stride : {1, 2, 3, 4, 5, 6})
        if (discSteps / stride + 1 <= allowed)
            return stride;
    return 10;
}
