#include "texture/scalar/detail/octave_run.h"
#include "texture/scalar/fbm.h"
#include "texture/scalar/turbulence.h"

#include <cmath>
#include <typeinfo>

namespace tex {

void FBM::valueRun(const double* x, const double* y, const double* z, double* out, std::size_t n)
{
    if (typeid(*this) != typeid(FBM) || !inputsReady()) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = value(x[i], y[i], z[i]);
        return;
    }
    Basis* field = input(0);
    octaveRun(x, y, z, out, n, 0.99, 0.5,
              [field](const double* px, const double* py, const double* pz, double* terms, std::size_t m) {
                  detail::fieldValues(*field, px, py, pz, terms, m);
              });
}

void Turbulence::valueRun(const double* x, const double* y, const double* z, double* out, std::size_t n)
{
    if (typeid(*this) != typeid(Turbulence)) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = value(x[i], y[i], z[i]);
        return;
    }
    octaveRun(x, y, z, out, n, Noise::bound, 1.0,
              [this](const double* px, const double* py, const double* pz, double* terms, std::size_t m) {
                  source.noiseRun(px, py, pz, terms, m);
                  for (std::size_t i = 0; i < m; ++i)
                      terms[i] = std::fabs(terms[i]);
              });
}

} // namespace tex
