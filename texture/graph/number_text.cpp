#include "texture/graph/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tex {

std::string numberText(double value)
{
    char text[32];
    // Whole numbers in full (10, not 1e+01), as long as that stays short.
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        std::snprintf(text, sizeof text, "%.0f", value);
        return text;
    }
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value)
            break;
    }
    return text;
}

} // namespace tex
