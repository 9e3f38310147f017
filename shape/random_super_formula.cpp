#include "shape/super_formula.h"

#include "shape/shape_random.h"

double randomIn(double lo, double hi)
{
    return lo + (shapeRandom() / double(shapeRandomMax)) * (hi - lo);
}

SuperFormula* randomSuperFormula()
{
    constexpr double pi = 3.14159265358979323846;
    // Each argument is drawn in its own statement: the draws must happen in
    // parameter order, which argument evaluation order does not guarantee.
    const double a = randomIn(1, 3);
    const double b = randomIn(1, 3);
    const double m = randomIn(1, 10);
    const double n1 = randomIn(1, 1000);
    const double n2 = randomIn(1, 1000);
    const double n3 = randomIn(1, 1000);
    SuperFormula* shape = new SuperFormula(a, b, m, n1, n2, n3, 0);
    for (auto& colour : shape->colour)
        for (float& component : colour)
            component = float(randomIn(0, 1));
    shape->border = randomIn(0, 0.3);
    shape->rotspeed = randomIn(-10, 10);
    shape->eye = randomIn(0.5, 3);
    shape->wander = randomIn(0.9, 10);
    shape->speed = randomIn(0, 2);
    shape->position.x = randomIn(-6, 6);
    shape->position.y = randomIn(-6, 6);
    shape->turn(randomIn(0, 2 * pi));
    return shape;
}
