#pragma once

#include "shape/super_formula.h"

#include <cstring>
#include <iterator>

// The first stored field (what a file record holds) in which a and b differ
// bit for bit, or null when they are the same.
inline const char* firstDifference(const SuperFormula& a, const SuperFormula& b)
{
    const char* names[] = {"a",   "b",     "m",      "n1",    "n2",      "n3",        "angle",      "rotspeed", "border",
                           "eye", "speed", "wander", "heading.x", "heading.y", "position.x", "position.y", "blinkTime"};
    const double x[] = {a.a, a.b, a.m, a.n1, a.n2, a.n3, a.angle, a.rotspeed, a.border, a.eye,
                        a.speed, a.wander, a.heading.x, a.heading.y, a.position.x, a.position.y, a.blinkTime};
    const double y[] = {b.a, b.b, b.m, b.n1, b.n2, b.n3, b.angle, b.rotspeed, b.border, b.eye,
                        b.speed, b.wander, b.heading.x, b.heading.y, b.position.x, b.position.y, b.blinkTime};
    static_assert(std::size(names) == std::size(x));
    for (std::size_t i = 0; i < std::size(x); ++i)
        if (std::memcmp(&x[i], &y[i], sizeof(double)) != 0)
            return names[i];
    if (std::memcmp(a.colour, b.colour, sizeof(a.colour)) != 0)
        return "colours";
    if (a.samples != b.samples)
        return "samples";
    if (a.eyeClosed != b.eyeClosed)
        return "eyeClosed";
    if (a.lineage.id != b.lineage.id || a.lineage.parent != b.lineage.parent
        || a.lineage.generation != b.lineage.generation)
        return "lineage";
    return nullptr;
}
