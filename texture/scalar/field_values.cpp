#include "texture/scalar/detail/runs.h"
#include "texture/scalar/fbm.h"
#include "texture/scalar/noise.h"
#include "texture/scalar/turbulence.h"
#include "texture/scalar/voronoi.h"

#include <typeinfo>

namespace tex {

// The fields with a run kernel are known by their exact class: a class
// derived from one may change its formula, and is evaluated through value().
void detail::fieldValues(const Basis& field, const double* x, const double* y, const double* z, double* out,
                         std::size_t n)
{
    const std::type_info& type = typeid(field);
    if (type == typeid(Noise)) {
        static_cast<const Noise&>(field).valueRun(x, y, z, out, n);
    } else if (type == typeid(FBM)) {
        static_cast<const FBM&>(field).valueRun(x, y, z, out, n);
    } else if (type == typeid(Turbulence)) {
        static_cast<const Turbulence&>(field).valueRun(x, y, z, out, n);
    } else if (type == typeid(Voronoi)) {
        static_cast<const Voronoi&>(field).valueRun(x, y, z, out, n);
    } else {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = field.value(x[i], y[i], z[i]);
    }
}

} // namespace tex
