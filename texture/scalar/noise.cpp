#include "texture/scalar/noise.h"

#include "support/detail/scalar_arithmetic.h"
#include "texture/scalar/node_type.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tex {

namespace {

// The inline lerp: seven per value.
using detail::lerp;

int periodInRange(int size)
{
    if (size < 1)
        return 1;
    if (size > 256)
        return 256;
    return size;
}

// Coordinates smaller than this in magnitude have a floor that a 64-bit int
// holds. Every double from there on is an integer and a multiple of 2^11,
// so of 256, and so of every lattice period: its cell is that of 0.
constexpr double int64Range = 0x1p63;

// floor(v) as a 64-bit int, with v - floor(v) in `fraction`; no library
// call. Only for |v| < int64Range.
inline std::int64_t splitFloor(double v, double& fraction)
{
    std::int64_t i = static_cast<std::int64_t>(v);
    double d = static_cast<double>(i);
    if (v < d) {
        --i;
        d -= 1;
    }
    fraction = v - d;
    return i;
}

inline double fade(double t)
{
    return t * t * t * (10 - t * (15 - 6 * t));
}

// The gradient term of a corner is (+-p) + (+-q), p and q two of the
// corner's offsets (dx, dy, dz): p is dx when h < 8, else dy; q is dy when
// h < 4, dx when h is 12 or 14, else dz; bit 0 of h negates p and bit 1
// negates q. Evaluation gathers all twelve signed offsets once,
//   {fx, -fx, fx - 1, -(fx - 1), fy, ..., -(fz - 1)},
// and looks up where the corner's +-p and +-q lie among them instead of
// branching on the hash (whose bits are a coin toss).
int signedOffset(int corner, int axis, bool negated)
{
    const int farSide = (corner >> axis) & 1;
    return axis * 4 + farSide * 2 + (negated ? 1 : 0);
}

// Corner (a, b, c) is number a | b << 1 | c << 2; its hash is perm[i] with
// i = perm[perm[X_a] + Y_b] + Z_c, and terms[corner][0 or 1][i] say where its
// +-p and +-q lie among the offsets.
template <int corner>
inline double grad(const std::uint8_t (*terms)[2][512], std::size_t i, const double* offsets)
{
    return offsets[terms[corner][0][i]] + offsets[terms[corner][1][i]];
}

// The raw noise in the cell whose corner is (X, Y, Z), at offsets (fx, fy,
// fz) from it, on the lattice of `perm` wrapped by `mask`. The mask reads
// only the low bits of the corner, which the unsigned types keep: the
// corner and its neighbour wrap instead of overflowing.
[[gnu::always_inline]] inline double cellNoise(const std::uint8_t* perm, const std::uint8_t (*terms)[2][512], int mask,
                                               unsigned X, unsigned Y, unsigned Z, double fx, double fy, double fz)
{
    // The wrapped coordinates and hashes are held at pointer width, so that
    // they index the tables without a widening step.
    const unsigned m = static_cast<unsigned>(mask);
    const std::size_t X0 = X & m;
    const std::size_t X1 = (X + 1) & m;
    const std::size_t Y0 = Y & m;
    const std::size_t Y1 = (Y + 1) & m;
    const std::size_t Z0 = Z & m;
    const std::size_t Z1 = (Z + 1) & m;

    const double u = fade(fx);
    const double v = fade(fy);
    const double w = fade(fz);

    const double gx = fx - 1;
    const double gy = fy - 1;
    const double gz = fz - 1;
    const double offsets[12] = {fx, -fx, gx, -gx, fy, -fy, gy, -gy, fz, -fz, gz, -gz};

    const std::size_t a0 = perm[perm[X0] + Y0];
    const std::size_t a1 = perm[perm[X0] + Y1];
    const std::size_t b0 = perm[perm[X1] + Y0];
    const std::size_t b1 = perm[perm[X1] + Y1];

    const double g000 = grad<0>(terms, a0 + Z0, offsets);
    const double g100 = grad<1>(terms, b0 + Z0, offsets);
    const double g010 = grad<2>(terms, a1 + Z0, offsets);
    const double g110 = grad<3>(terms, b1 + Z0, offsets);
    const double g001 = grad<4>(terms, a0 + Z1, offsets);
    const double g101 = grad<5>(terms, b0 + Z1, offsets);
    const double g011 = grad<6>(terms, a1 + Z1, offsets);
    const double g111 = grad<7>(terms, b1 + Z1, offsets);

    return lerp(lerp(lerp(g000, g100, u), lerp(g010, g110, u), v),
                lerp(lerp(g001, g101, u), lerp(g011, g111, u), v), w);
}

// The lattice corner below v (its low bits) and v's offset from it, for a
// finite v of any magnitude.
inline unsigned splitAnyFloor(double v, double& fraction)
{
    if (std::fabs(v) < int64Range)
        return static_cast<unsigned>(splitFloor(v, fraction));
    fraction = 0.0;
    return 0;
}

// The raw noise at a point with a coordinate of 2^63 or more in magnitude,
// or one that is not a number: 0 where a coordinate is NaN or infinite (as
// at a lattice point). Out of line, so that the common path stays small.
[[gnu::noinline]] double farLatticeNoise(const std::uint8_t* perm, const std::uint8_t (*terms)[2][512], int mask,
                                         double x, double y, double z)
{
    if (!(std::isfinite(x) && std::isfinite(y) && std::isfinite(z)))
        return 0.0;
    double fx;
    double fy;
    double fz;
    const unsigned X = splitAnyFloor(x, fx);
    const unsigned Y = splitAnyFloor(y, fy);
    const unsigned Z = splitAnyFloor(z, fz);
    return cellNoise(perm, terms, mask, X, Y, Z, fx, fy, fz);
}

// The raw noise at (x, y, z) on the lattice of `perm` wrapped by `mask`.
[[gnu::always_inline]] inline double latticeNoise(const std::uint8_t* perm, const std::uint8_t (*terms)[2][512], int mask, double x, double y, double z)
{
    // One test for all three: the sum is at least each magnitude, and NaN
    // when any coordinate is.
    if (__builtin_expect(!(std::fabs(x) + std::fabs(y) + std::fabs(z) < int64Range), 0))
        return farLatticeNoise(perm, terms, mask, x, y, z);
    double fx;
    double fy;
    double fz;
    const auto X = static_cast<unsigned>(splitFloor(x, fx));
    const auto Y = static_cast<unsigned>(splitFloor(y, fy));
    const auto Z = static_cast<unsigned>(splitFloor(z, fz));
    return cellNoise(perm, terms, mask, X, Y, Z, fx, fy, fz);
}

} // namespace

Noise::Noise(int seed, int size) : size(periodInRange(size)), mask(this->size - 1), random(seed)
{
    buildPermutation();
    buildGradientTerms();
}

Noise::Noise(int size) : size(periodInRange(size)), mask(this->size - 1)
{
    buildPermutation();
    buildGradientTerms();
}

void Noise::buildPermutation()
{
    for (int i = 0; i < 256; ++i)
        perm[i] = static_cast<std::uint8_t>(i);
    for (int j = 0; j < 256; ++j) {
        const float r = random.nextFloat();
        // r = 1.0 gives 256, whose low byte is 0.
        const int k = static_cast<int>(r * 256.0f) & 255;
        const std::uint8_t swapped = perm[j];
        perm[j] = perm[k];
        perm[k] = swapped;
    }
    for (int i = 0; i < 256; ++i)
        perm[256 + i] = perm[i];
    for (int i = 0; i < 512; ++i)
        wideTable[i] = perm[i];
}

void Noise::buildGradientTerms()
{
    for (int i = 0; i < 512; ++i) {
        const int h = perm[i] & 15;
        const int p = h < 8 ? 0 : 1;
        const int q = h < 4 ? 1 : (h == 12 || h == 14 ? 0 : 2);
        for (int corner = 0; corner < 8; ++corner) {
            gradientTerms[corner][0][i] = static_cast<std::uint8_t>(signedOffset(corner, p, h & 1));
            gradientTerms[corner][1][i] = static_cast<std::uint8_t>(signedOffset(corner, q, h & 2));
        }
    }
}

double Noise::noise(double x, double y, double z) const
{
    return latticeNoise(perm, gradientTerms, mask, x, y, z);
}

double Noise::formula(double x, double y, double z) const
{
    return (latticeNoise(perm, gradientTerms, mask, x, y, z) + 1) * 0.5;
}

const NodeType& Noise::nodeType()
{
    static const NodeType type =
        NodeType("Noise", "gradient noise on a lattice that repeats every `size` units", Basis::parameterList())
            .field([](const ArgumentValues& a) -> std::unique_ptr<Basis> {
                return std::make_unique<Noise>(int(a[0]), int(a[1]));
            })
            .argument(ArgumentInfo::seed("seed", "shuffles the lattice: the same seed, the same field"))
            .argument({"size", "the lattice period on every axis", ArgumentInfo::Kind::PowerOfTwo, 1, 256, 256})
            .costs({100});
    return type;
}

} // namespace tex
