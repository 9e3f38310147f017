#include "shape/creature_bounds.h"

#include <cmath>

static_assert([] {
    for (std::size_t i = 0; i < creatureBounds.size(); ++i)
        if (std::size_t(creatureBounds[i].field) != i)
            return false;
    return true;
}(), "creatureBounds is in the order of CreatureField");

static_assert([] {
    for (const FieldBounds& bounds : creatureBounds)
        if (bounds.slider.step != 0 && !(bounds.lo <= bounds.slider.lo && bounds.slider.hi <= bounds.hi))
            return false;
    return true;
}(), "the editor's sliders lie within their fields' ranges");

CreatureField paramField(int i)
{
    constexpr CreatureField fields[] = {CreatureField::a,  CreatureField::b,  CreatureField::m,
                                        CreatureField::n1, CreatureField::n2, CreatureField::n3,
                                        CreatureField::rotspeed, CreatureField::eye};
    return i >= 0 && i < 8 ? fields[i] : CreatureField::border;
}

FieldValues fieldValues(const SuperFormula& s, CreatureField field)
{
    switch (field) {
    case CreatureField::samples:
        return {{double(s.samples)}, 1};
    case CreatureField::angle:
        return {{s.angle}, 1};
    case CreatureField::colours: {
        FieldValues colours{{}, 12};
        for (int k = 0; k < 12; ++k)
            colours.values[k] = s.colour[k / 4][k % 4];
        return colours;
    }
    case CreatureField::speed:
        return {{s.speed}, 1};
    case CreatureField::wander:
        return {{s.wander}, 1};
    case CreatureField::heading:
        return {{s.heading.x, s.heading.y}, 2};
    case CreatureField::position:
        return {{s.position.x, s.position.y}, 2};
    case CreatureField::blinkTime:
        return {{s.blinkTime}, 1};
    default:
        break;
    }
    // a, b, m, n1, n2, n3, rotspeed, eye and border are the parameters.
    for (int i = 0; i < 9; ++i)
        if (paramField(i) == field)
            return {{s.param(i)}, 1};
    return {{}, 0};
}

bool isDirection(const SuperFormula::Vector& heading)
{
    return boundsOf(CreatureField::heading).contains(std::hypot(heading.x, heading.y));
}
