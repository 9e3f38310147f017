#include "texture/colour/colour_map.h"
#include "texture/scalar/detail/runs.h"

#include <algorithm>
#include <typeinfo>

namespace tex {

void ColourMap::colourRun(const double* x, const double* y, const double* z, Colour* out, std::size_t n) const
{
    if (typeid(*this) != typeid(ColourMap) || !inputsReady()) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = colour(x[i], y[i], z[i]);
        return;
    }
    // A map is evaluated at the top of a graph, so its block can be longer
    // than those of the fields below it.
    constexpr std::size_t block = 4 * detail::runBlock;
    double values[block];
    for (std::size_t start = 0; start < n; start += block) {
        const std::size_t count = std::min(block, n - start);
        detail::fieldValues(*input(0), x + start, y + start, z + start, values, count);
        colourSpline.evaluateRun(values, out + start, count);
    }
}

} // namespace tex
