#include "texture/scalar/checker.h"

#include <cstdint>

namespace tex {

Checker::Checker() = default;

Checker::~Checker() = default;

double Checker::value(double x, double y, double z)
{
    // Only the parity matters; unsigned sums keep it without signed overflow.
    const auto tx = static_cast<std::uint32_t>(static_cast<std::int32_t>(xscale * x));
    const auto ty = static_cast<std::uint32_t>(static_cast<std::int32_t>(yscale * y));
    const auto tz = static_cast<std::uint32_t>(static_cast<std::int32_t>(zscale * z));
    const std::uint32_t raw = (((tx + ty) & 1u) + tz) & 1u;
    return applyContrast(raw);
}

} // namespace tex
