#pragma once

#include "support/random.h"
#include "texture/scalar/basis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// The cellular field computed the plain way: the generator is reseeded with
// the cell hash and drawn from for every cell a query visits. Slow; kept as
// the yardstick that tex::Voronoi must match bit for bit.
class ReferenceVoronoi : public tex::Basis {
public:
    ReferenceVoronoi(int seed, int size, double density) : random(seed), mask(size - 1)
    {
        double limit[5];
        limit[0] = std::exp(-density);
        for (int i = 1; i < 5; ++i)
            limit[i] = limit[i - 1] * (1 + density / i);
        for (int j = 0; j < 256; ++j) {
            const float u = random.nextFloat();
            int k = 0;
            while (k < 5 && !(u < limit[k]))
                ++k;
            counts[j] = k;
        }
    }


    double nthDistance(double x, double y, double z, int n)
    {
        Search s(n);
        find(xscale * x, yscale * y, zscale * z, s);
        return std::sqrt(s.kept[n - 1]);
    }

    std::uint32_t nearestId(double x, double y, double z)
    {
        Search s(1);
        find(x, y, z, s);
        return s.id;
    }

    double distanceGap(double x, double y, double z)
    {
        Search s(2);
        find(x, y, z, s);
        return std::sqrt(s.kept[1]) - std::sqrt(s.kept[0]);
    }

protected:
    double formula(double x, double y, double z) const override
    {
        Search s(1);
        find(x, y, z, s);
        return std::sqrt(s.kept[0]);
    }

private:
    struct Search {
        explicit Search(int k) : kept(k, 999999.0) {}
        std::vector<double> kept;
        std::uint32_t id = 0;

        void offer(double d, std::uint32_t pointId)
        {
            if (!(d < kept.back()))
                return;
            const auto at = std::upper_bound(kept.begin(), kept.end(), d);
            if (at == kept.begin())
                id = pointId;
            kept.insert(at, d);
            kept.pop_back();
        }
    };

    void cell(int X, int Y, int Z, double qx, double qy, double qz, Search& s) const
    {
        const std::uint32_t h = std::uint32_t(X & mask) * 702395077u + std::uint32_t(Y & mask) * 915488749u
            + std::uint32_t(Z & mask) * 2120969693u;
        const int c = counts[h >> 24];
        random.seed(h);
        std::uint32_t previous = random.firstStateWord();
        for (int k = 1; k <= c; ++k) {
            const float first = random.nextFloat();
            const float second = random.nextFloat();
            const float third = random.nextFloat();
            const double dx = (double(X) + double(first)) - qx;
            const double dy = (double(Y) + double(second)) - qy;
            const double dz = (double(Z) + double(third)) - qz;
            const std::uint32_t current = random.firstStateWord();
            s.offer(dx * dx + dy * dy + dz * dz, previous + current);
            previous = current;
        }
    }

    void find(double qx, double qy, double qz, Search& s) const
    {
        const int X = int(std::floor(qx));
        const int Y = int(std::floor(qy));
        const int Z = int(std::floor(qz));
        const double f[3] = {qx - X, qy - Y, qz - Z};
        cell(X, Y, Z, qx, qy, qz, s);
        for (int i = -1; i <= 1; ++i)
            for (int j = -1; j <= 1; ++j)
                for (int k = -1; k <= 1; ++k) {
                    if (i == 0 && j == 0 && k == 0)
                        continue;
                    const int offset[3] = {i, j, k};
                    bool visit = false;
                    for (int a = 0; a < 3; ++a) {
                        const double face = offset[a] < 0 ? f[a] * f[a] : f[a] * f[a] + 1 - 2 * f[a];
                        if (offset[a] != 0 && face < s.kept.back())
                            visit = true;
                    }
                    if (visit)
                        cell(X + i, Y + j, Z + k, qx, qy, qz, s);
                }
    }

    // Reseeded for every cell a query visits.
    mutable tex::Random random;
    int mask;
    int counts[256];
};
