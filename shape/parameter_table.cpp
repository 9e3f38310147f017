#include "shape/super_formula.h"

#include "shape/creature_bounds.h"

double& SuperFormula::param(int i)
{
    switch (i) {
    case 0: return a;
    case 1: return b;
    case 2: return m;
    case 3: return n1;
    case 4: return n2;
    case 5: return n3;
    case 6: return rotspeed;
    case 7: return eye;
    default: return border;
    }
}

void SuperFormula::setParamSteps(int i, int steps)
{
    // Indices outside the table are ignored rather than read past its end.
    if (i < 0 || i > 8)
        return;
    const FieldBounds& bounds = boundsOf(paramField(i));
    param(i) = bounds.clamp(steps * bounds.slider.step);
}

std::string paramName(int i)
{
    return boundsOf(paramField(i)).name;
}
