#include "texture/scalar/noise.h"

#include "support/scalar.h"

namespace {

int periodInRange(int size)
{
    if (size < 1)
        return 1;
    if (size > 256)
        return 256;
    return size;
}

// floor(v) as an int, without the library call.
inline int floorToInt(double v)
{
    const int i = static_cast<int>(v);
    return v < i ? i - 1 : i;
}

inline double fade(double t)
{
    return t * t * t * (10 - t * (15 - 6 * t));
}

// The dot product of (dx, dy, dz) with gradient h & 15 of the cube-edge set.
inline double grad(int h, double dx, double dy, double dz)
{
    const int h4 = h & 15;
    const double p = h4 < 8 ? dx : dy;
    const double q = h4 < 4 ? dy : (h4 == 12 || h4 == 14 ? dx : dz);
    return ((h4 & 1) ? -p : p) + ((h4 & 2) ? -q : q);
}

} // namespace

Noise::Noise(int seed, int size) : size(periodInRange(size)), mask(this->size - 1), random(seed)
{
    buildPermutation();
}

Noise::Noise(int size) : size(periodInRange(size)), mask(this->size - 1)
{
    buildPermutation();
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
}

double Noise::noise(double x, double y, double z) const
{
    const int X = floorToInt(x);
    const int Y = floorToInt(y);
    const int Z = floorToInt(z);
    const double fx = x - X;
    const double fy = y - Y;
    const double fz = z - Z;

    const int X0 = X & mask;
    const int X1 = (X + 1) & mask;
    const int Y0 = Y & mask;
    const int Y1 = (Y + 1) & mask;
    const int Z0 = Z & mask;
    const int Z1 = (Z + 1) & mask;

    const double u = fade(fx);
    const double v = fade(fy);
    const double w = fade(fz);

    const int a0 = perm[perm[X0] + Y0];
    const int a1 = perm[perm[X0] + Y1];
    const int b0 = perm[perm[X1] + Y0];
    const int b1 = perm[perm[X1] + Y1];

    const double g000 = grad(perm[a0 + Z0], fx, fy, fz);
    const double g100 = grad(perm[b0 + Z0], fx - 1, fy, fz);
    const double g010 = grad(perm[a1 + Z0], fx, fy - 1, fz);
    const double g110 = grad(perm[b1 + Z0], fx - 1, fy - 1, fz);
    const double g001 = grad(perm[a0 + Z1], fx, fy, fz - 1);
    const double g101 = grad(perm[b0 + Z1], fx - 1, fy, fz - 1);
    const double g011 = grad(perm[a1 + Z1], fx, fy - 1, fz - 1);
    const double g111 = grad(perm[b1 + Z1], fx - 1, fy - 1, fz - 1);

    return lerp(lerp(lerp(g000, g100, u), lerp(g010, g110, u), v),
                lerp(lerp(g001, g101, u), lerp(g011, g111, u), v), w);
}

double Noise::value(double x, double y, double z)
{
    const double n = noise(xscale * x, yscale * y, zscale * z);
    return applyContrast((n + 1) * 0.5);
}
