#include "shape/creature_bounds.h"
#include "shape/super_formula.h"

SuperFormula* mutant(const SuperFormula& parent, double rate)
{
    constexpr double pi = 3.14159265358979323846;
    // The slider's range; the bounds below keep the child sound whatever
    // the rate, this keeps the factors what the slider would make.
    rate = rate > 2 ? 2 : rate >= 0 ? rate : 0;
    const double lo = 1 - rate;
    const double hi = 1 + rate;
    // Each inherited number scaled by its own factor and held in its field's
    // range, where repeated breeding would otherwise grow it without end.
    auto scaled = [&](CreatureField field, double v) { return boundsOf(field).clamp(randomIn(lo, hi) * v); };

    const CreatureField formulaFields[6] = {CreatureField::a,  CreatureField::b,  CreatureField::m,
                                            CreatureField::n1, CreatureField::n2, CreatureField::n3};
    double formula[6];
    for (int i = 0; i < 6; ++i)
        formula[i] = scaled(formulaFields[i], parent.param(i));
    SuperFormula* child = new SuperFormula(formula[0], formula[1], formula[2], formula[3], formula[4],
                                           formula[5], 0);

    // A colour scaled to 0 or below is 0 itself, never -0.
    for (int c = 0; c < 3; ++c)
        for (int k = 0; k < 4; ++k) {
            const double v = scaled(CreatureField::colours, parent.colour[c][k]);
            child->colour[c][k] = v > 0 ? float(v) : 0.0f;
        }
    child->border = scaled(CreatureField::border, parent.border);
    child->rotspeed = scaled(CreatureField::rotspeed, parent.rotspeed);
    child->eye = scaled(CreatureField::eye, parent.eye);
    child->wander = scaled(CreatureField::wander, parent.wander);
    child->speed = scaled(CreatureField::speed, parent.speed);
    const FieldBounds& position = boundsOf(CreatureField::position);
    child->position.x = position.clamp(parent.position.x + randomIn(-1, 1));
    child->position.y = position.clamp(parent.position.y + randomIn(-1, 1));
    child->turn(randomIn(0, 2 * pi));
    return child;
}
