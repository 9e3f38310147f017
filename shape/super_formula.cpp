#include "shape/super_formula.h"

#include "shape/creature_bounds.h"
#include "shape/shape_random.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

// trunc(10 m + 50), converted only once it is known to fit: NaN gives 0,
// and the count never exceeds maxSamples - 1, so that no outline has more
// than maxSamples points.
int samplesFromM(double m)
{
    const double count = std::trunc(10.0 * m + 50.0);
    if (std::isnan(count))
        return 0;
    if (count >= SuperFormula::maxSamples - 1)
        return SuperFormula::maxSamples - 1;
    if (count <= INT_MIN)
        return INT_MIN;
    return static_cast<int>(count);
}

} // namespace

SuperFormula::SuperFormula(double a, double b, double m, double n1, double n2, double n3, int samples)
    : a(a), b(b), m(m), n1(n1), n2(n2), n3(n3),
      samples(samples > 3 ? std::min(samples, maxSamples - 1) : samplesFromM(m)),
      angle(0.0), rotspeed(1.0),
      colour{{1.0f, 1.0f, 0.0f, 1.0f}, {1.0f, 0.3f, 0.0f, 1.0f}, {0.0f, 0.5f, 0.9f, 1.0f}},
      border(0.1), eye(1.0), speed(1.0), wander(0.1), heading{1.0, 0.0}, position{0.0, 0.0},
      blinkTime(1.0), eyeClosed(false)
{
}

SuperFormula::SuperFormula(const SuperFormula& source)
    : a(source.a), b(source.b), m(source.m), n1(source.n1), n2(source.n2), n3(source.n3),
      samples(source.samples), angle(source.angle), rotspeed(source.rotspeed),
      colour{{source.colour[0][0], source.colour[0][1], source.colour[0][2], source.colour[0][3]},
             {source.colour[1][0], source.colour[1][1], source.colour[1][2], source.colour[1][3]},
             {source.colour[2][0], source.colour[2][1], source.colour[2][2], source.colour[2][3]}},
      border(source.border), eye(source.eye), speed(source.speed), wander(source.wander),
      heading(source.heading), position(source.position), blinkTime(1.0), eyeClosed(false),
      lineage(source.lineage)
{
}

void SuperFormula::animate(double dt)
{
    // Folded into one turn by whole turns, which takes off exactly 360 per
    // turn at the sizes a step reaches; inside the turn the angle is the
    // plain sum.
    const FieldBounds& turnRange = boundsOf(CreatureField::angle);
    angle = wrap(angle + dt * rotspeed, turnRange.lo, turnRange.hi);

    double t = blinkTime - dt;
    if (t < 0) {
        eyeClosed = !eyeClosed;
        if (eyeClosed)
            t = 0.15;
        else
            t = tickRandom() / double(shapeRandomMax) + 2;
    }
    blinkTime = t;

    position.x += speed * heading.x * dt;
    position.y += speed * heading.y * dt;
    position.x = wrap(position.x, -6, 6);
    position.y = wrap(position.y, -6, 6);

    turn(dt * pi * wander * (2 * tickRandom() / double(shapeRandomMax) - 1));
    // Turning keeps the length but for rounding; should that ever carry it
    // out of its range, the heading is made a unit vector again.
    if (!isDirection(heading)) {
        const double length = std::hypot(heading.x, heading.y);
        heading = length > 0 && std::isfinite(length) ? Vector{heading.x / length, heading.y / length} : Vector{1, 0};
    }
}

void SuperFormula::turn(double angle)
{
    const double x = heading.x;
    const double y = heading.y;
    heading.x = x * std::cos(angle) + y * std::sin(angle);
    heading.y = -x * std::sin(angle) + y * std::cos(angle);
}

double wrap(double v, double lo, double hi)
{
    const double w = hi - lo;
    // A range that is empty, reversed or not finite cannot be folded into.
    if (!(w > 0) || !std::isfinite(w))
        return v;
    // A position that is no longer a number goes back to the middle rather
    // than being lost for good (or, for infinities, looping forever).
    if (!std::isfinite(v))
        return lo + w / 2;
    // Far outside, whole periods are taken off at once: stepping would take
    // ages, or never end once w is below v's precision.
    if (v < lo - 64 * w || v > hi + 64 * w)
        v = lo + std::fmod(v - lo, w);
    while (v < lo)
        v += w;
    while (v > hi)
        v -= w;
    return v;
}
