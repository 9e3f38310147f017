#include "shape/super_formula.h"

SuperFormula* mutant(const SuperFormula& parent, double rate)
{
    constexpr double pi = 3.14159265358979323846;
    const double lo = 1 - rate;
    const double hi = 1 + rate;

    const double inherited[6] = {parent.a, parent.b, parent.m, parent.n1, parent.n2, parent.n3};
    double formula[6];
    for (int i = 0; i < 6; ++i) {
        const double v = randomIn(lo, hi) * inherited[i];
        formula[i] = v < 0 ? 0 : v;
    }
    SuperFormula* child = new SuperFormula(formula[0], formula[1], formula[2], formula[3], formula[4],
                                           formula[5], 0);

    for (int c = 0; c < 3; ++c) {
        for (int k = 0; k < 4; ++k) {
            const double v = randomIn(lo, hi) * parent.colour[c][k];
            child->colour[c][k] = v >= 1 ? 1.0f : v <= 0 ? 0.0f : float(v);
        }
    }
    child->border = randomIn(lo, hi) * parent.border;
    child->rotspeed = randomIn(lo, hi) * parent.rotspeed;
    child->eye = randomIn(lo, hi) * parent.eye;
    child->wander = randomIn(lo, hi) * parent.wander;
    child->speed = randomIn(lo, hi) * parent.speed;
    child->position.x = parent.position.x + randomIn(-1, 1);
    child->position.y = parent.position.y + randomIn(-1, 1);
    child->turn(randomIn(0, 2 * pi));
    return child;
}
