#pragma once

#include "shape/super_formula.h"

#include <array>
#include <cmath>
#include <cstddef>

// The numbers a creature holds, as its files name them.
enum class CreatureField {
    a,
    b,
    m,
    n1,
    n2,
    n3,
    samples,
    angle,
    rotspeed,
    colours,
    border,
    eye,
    speed,
    wander,
    heading,
    position,
    blinkTime,
};

// The editor's slider over a field: its positions stand for whole steps
// from lo to hi. A step of 0 means the field has no slider.
struct SliderRange {
    double lo = 0;
    double hi = 0;
    double step = 0;

    int firstPosition() const { return int(std::lround(lo / step)); }
    int lastPosition() const { return int(std::lround(hi / step)); }
};

// The range of one field. The file reader refuses a creature with a number
// outside it, mutation clamps into it, and the animation keeps within it,
// so that every creature the program holds can be saved at any time and
// nothing it computes from them becomes infinite or NaN.
struct FieldBounds {
    CreatureField field;
    const char* name;
    double lo;
    double hi;
    // For "angle": the range is one turn, into which the animation folds
    // the angle; a file may hold any finite angle.
    bool wraps = false;
    // What the editor offers, well inside the range.
    SliderRange slider = {};

    // False for NaN.
    bool contains(double v) const { return v >= lo && v <= hi; }
    // The nearest end for a value beyond the range; NaN becomes lo.
    double clamp(double v) const { return v > hi ? hi : v >= lo ? v : lo; }
};

// Every field's range, in the order of CreatureField, with the editor's
// slider where it has one. The ends lie a thousand times beyond the
// furthest value random creation or the sliders give (a and b 10, m 20,
// n1..n3 1000, rotspeed 300, eye 5, border 1, speed 2, wander 10), and on
// both sides of 0 where mutation can flip a sign. Each component of "colours" lies in its range, each coordinate of
// "position" (the world wraps creatures into -6..6, and a fresh mutant lies
// within 1 of its parent), and the length of "heading", a direction.
inline constexpr std::array<FieldBounds, 17> creatureBounds{{
    {CreatureField::a, "a", 0, 1e4, false, {1, 10, 0.1}},
    {CreatureField::b, "b", 0, 1e4, false, {1, 10, 0.1}},
    {CreatureField::m, "m", 0, 2e4, false, {1, 20, 0.1}},
    {CreatureField::n1, "n1", 0, 1e6, false, {1, 1000, 1}},
    {CreatureField::n2, "n2", 0, 1e6, false, {1, 1000, 1}},
    {CreatureField::n3, "n3", 0, 1e6, false, {1, 1000, 1}},
    {CreatureField::samples, "samples", 0, SuperFormula::maxSamples - 1},
    {CreatureField::angle, "angle", -180, 180, true},
    {CreatureField::rotspeed, "rotspeed", -3e5, 3e5, false, {-300, 300, 1}},
    {CreatureField::colours, "colours", 0, 1},
    {CreatureField::border, "border", -1e3, 1e3, false, {0, 1, 0.01}},
    {CreatureField::eye, "eye", -5e3, 5e3, false, {0, 5, 0.05}},
    {CreatureField::speed, "speed", -2e3, 2e3},
    {CreatureField::wander, "wander", -1e4, 1e4},
    {CreatureField::heading, "heading", 0.5, 2},
    {CreatureField::position, "position", -7, 7},
    {CreatureField::blinkTime, "blinkTime", 0, 3},
}};

constexpr const FieldBounds& boundsOf(CreatureField field)
{
    return creatureBounds[std::size_t(field)];
}

// The field behind parameter i of the parameter table (see
// SuperFormula::param): the fields with a slider in the editor.
CreatureField paramField(int i);

// The numbers of a field, in the order its file record holds them: one, a
// pair (x, y) or the twelve colour components.
struct FieldValues {
    double values[12];
    int count;

    const double* begin() const { return values; }
    const double* end() const { return values + count; }
};
FieldValues fieldValues(const SuperFormula& shape, CreatureField field);

// Whether a heading's length lies in the range of "heading". The reader and
// the animation ask the same question, so that they never disagree at the
// ends.
bool isDirection(const SuperFormula::Vector& heading);
