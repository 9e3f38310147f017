// Gradient noise in vector lanes: Noise::noise at each lane's point, bit for
// bit, for kernels that evaluate noise over runs. Not installed.

#if defined(TEX_SCALAR_SIMD_NOISE_INL_H) == defined(HWY_TARGET_TOGGLE)
#ifdef TEX_SCALAR_SIMD_NOISE_INL_H
#undef TEX_SCALAR_SIMD_NOISE_INL_H
#else
#define TEX_SCALAR_SIMD_NOISE_INL_H
#endif

#include "support/simd/lanes-inl.h"
#include "texture/scalar/simd/noise_tables.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

HWY_BEFORE_NAMESPACE();
namespace tex::HWY_NAMESPACE {

// The raw noise of one Noise, from its tables.
class LatticeNoise {
public:
    explicit LatticeNoise(const NoiseTables& tables)
        : perm(tables.perm), wide(tables.wide), terms(tables.terms), mask(hn::Set(Words(), tables.mask))
    {
    }

    // The last cell whose corners a run hashed, and where its corners' hashes
    // lie in the permutation table: the points of a grid row meet each cell
    // several vectors in a row, and need hash it only once.
    struct CellMemo {
        double cx = std::numeric_limits<double>::quiet_NaN();
        double cy = 0, cz = 0;
        // perm index of corner (a, b, c)'s hash, as number a | b << 1 | c << 2.
        std::size_t corner[8] = {};
    };

    HWY_INLINE DoubleVec operator()(DoubleVec x, DoubleVec y, DoubleVec z, CellMemo& memo) const
    {
        const Doubles d;
        // The lattice corner below each point, and the point's offsets from it.
        Cell cell{hn::Floor(x), hn::Floor(y), hn::Floor(z), x, y, z};
        const double cx = hn::GetLane(cell.cx);
        const double cy = hn::GetLane(cell.cy);
        const double cz = hn::GetLane(cell.cz);
        const DoubleMask shared = hn::And(hn::And(cell.cx == hn::Set(d, cx), cell.cy == hn::Set(d, cy)),
                                          cell.cz == hn::Set(d, cz));
        // A finite corner shared by all lanes makes every lane finite.
        if (hn::AllTrue(d, shared) && std::isfinite(cx) && std::isfinite(cy) && std::isfinite(cz)) {
            cell.fx = x - cell.cx;
            cell.fy = y - cell.cy;
            cell.fz = z - cell.cz;
            if (!(cx == memo.cx && cy == memo.cy && cz == memo.cz))
                HashCorners(cx, cy, cz, memo);
            return Blend(cell, SharedCorners(cell, memo));
        }

        // A point with a NaN or infinite coordinate is 0, as at a lattice
        // point; it is computed at the origin so that its table indices
        // stay in range.
        const DoubleMask finite = hn::And(hn::And(hn::IsFinite(x), hn::IsFinite(y)), hn::IsFinite(z));
        x = hn::IfThenElseZero(finite, x);
        y = hn::IfThenElseZero(finite, y);
        z = hn::IfThenElseZero(finite, z);
        cell.cx = hn::Floor(x);
        cell.cy = hn::Floor(y);
        cell.cz = hn::Floor(z);
        cell.fx = x - cell.cx;
        cell.fy = y - cell.cy;
        cell.fz = z - cell.cz;
        return hn::IfThenElseZero(finite, Blend(cell, GatheredCorners(cell)));
    }

private:
    // The lattice corners below some points (integers, as doubles) and the
    // points' offsets from them.
    struct Cell {
        DoubleVec cx, cy, cz;
        DoubleVec fx, fy, fz;
    };
    // The gradient terms of the eight corners, corner (a, b, c) as gabc.
    struct Corners {
        DoubleVec g000, g100, g010, g110, g001, g101, g011, g111;
    };

    // The corners' terms blended with the fade of the offsets: x first, then
    // y, then z.
    static HWY_INLINE DoubleVec Blend(const Cell& cell, const Corners& g)
    {
        const DoubleVec u = Fade(cell.fx);
        const DoubleVec v = Fade(cell.fy);
        const DoubleVec t = Fade(cell.fz);
        return Lerp(Lerp(Lerp(g.g000, g.g100, u), Lerp(g.g010, g.g110, u), v),
                    Lerp(Lerp(g.g001, g.g101, u), Lerp(g.g011, g.g111, u), v), t);
    }

    // c modulo 256 for an integer double c, as the scalar code takes the low
    // bits of the floor's int64 (and 0 from 2^63 on, where every double is
    // a multiple of 2^11).
    static HWY_INLINE std::int64_t Wrap(double c)
    {
        return static_cast<std::int64_t>(c - 256.0 * std::floor(c * (1.0 / 256.0)));
    }

    // The permutation index of each corner's hash for the cell at (cx, cy, cz).
    HWY_INLINE void HashCorners(double cx, double cy, double cz, CellMemo& memo) const
    {
        const std::int64_t m = hn::GetLane(mask);
        const std::int64_t X = Wrap(cx);
        const std::int64_t Y = Wrap(cy);
        const std::int64_t Z = Wrap(cz);
        const std::size_t X0 = X & m, X1 = (X + 1) & m;
        const std::size_t Y0 = Y & m, Y1 = (Y + 1) & m;
        const std::size_t Z0 = Z & m, Z1 = (Z + 1) & m;
        const std::size_t a0 = perm[perm[X0] + Y0];
        const std::size_t a1 = perm[perm[X0] + Y1];
        const std::size_t b0 = perm[perm[X1] + Y0];
        const std::size_t b1 = perm[perm[X1] + Y1];
        memo = CellMemo{cx, cy, cz, {a0 + Z0, b0 + Z0, a1 + Z0, b1 + Z0, a0 + Z1, b0 + Z1, a1 + Z1, b1 + Z1}};
    }

    // The same for every lane. Exact for every integer double: the floor and
    // the scalings by 256 are exact, and so is the difference of two
    // integers less than 256 apart.
    static HWY_INLINE WordVec Wrap(DoubleVec c)
    {
        const Doubles d;
        const Words w;
        const DoubleVec wrapped = c - hn::Set(d, 256.0) * hn::Floor(c * hn::Set(d, 1.0 / 256.0));
        // An integer below 2^52 added to 2^52 lies in the low mantissa bits.
        return hn::And(hn::BitCast(w, wrapped + hn::Set(d, 0x1p52)), hn::Set(w, 255));
    }

    static HWY_INLINE DoubleVec Fade(DoubleVec t)
    {
        const Doubles d;
        return t * t * t * (hn::Set(d, 10.0) - t * (hn::Set(d, 15.0) - hn::Set(d, 6.0) * t));
    }

    // Every lane in the same cell, as along the rows of a grid: each corner's
    // two terms are read from the twelve signed offsets by the indices of
    // the gradient-term table, as the scalar code reads them.
    HWY_INLINE Corners SharedCorners(const Cell& cell, const CellMemo& memo) const
    {
        const Doubles d;
        const DoubleVec one = hn::Set(d, 1.0);
        const DoubleVec axes[3] = {cell.fx, cell.fy, cell.fz};
        HWY_ALIGN double offsets[12][maxLanes];
        for (int axis = 0; axis < 3; ++axis) {
            const DoubleVec far = axes[axis] - one;
            hn::Store(axes[axis], d, offsets[4 * axis]);
            hn::Store(hn::Neg(axes[axis]), d, offsets[4 * axis + 1]);
            hn::Store(far, d, offsets[4 * axis + 2]);
            hn::Store(hn::Neg(far), d, offsets[4 * axis + 3]);
        }
        const auto term = [&](int corner) {
            const std::size_t i = memo.corner[corner];
            return hn::Load(d, offsets[terms[corner][0][i]]) + hn::Load(d, offsets[terms[corner][1][i]]);
        };
        return {term(0), term(1), term(2), term(3), term(4), term(5), term(6), term(7)};
    }

    // Lanes in different cells: the hashes gathered lane by lane, each
    // corner's terms picked by the bits of its hash.
    HWY_INLINE Corners GatheredCorners(const Cell& cell) const
    {
        const Doubles d;
        const Words w;
        const WordVec one = hn::Set(w, 1);
        const WordVec X = Wrap(cell.cx);
        const WordVec Y = Wrap(cell.cy);
        const WordVec Z = Wrap(cell.cz);
        const WordVec X0 = hn::And(X, mask);
        const WordVec X1 = hn::And(X + one, mask);
        const WordVec Y0 = hn::And(Y, mask);
        const WordVec Y1 = hn::And(Y + one, mask);
        const WordVec Z0 = hn::And(Z, mask);
        const WordVec Z1 = hn::And(Z + one, mask);
        const WordVec a = hn::GatherIndex(w, wide, X0);
        const WordVec b = hn::GatherIndex(w, wide, X1);
        const WordVec a0 = hn::GatherIndex(w, wide, a + Y0);
        const WordVec a1 = hn::GatherIndex(w, wide, a + Y1);
        const WordVec b0 = hn::GatherIndex(w, wide, b + Y0);
        const WordVec b1 = hn::GatherIndex(w, wide, b + Y1);
        const DoubleVec fx = cell.fx, fy = cell.fy, fz = cell.fz;
        const DoubleVec gx = fx - hn::Set(d, 1.0);
        const DoubleVec gy = fy - hn::Set(d, 1.0);
        const DoubleVec gz = fz - hn::Set(d, 1.0);
        return {Grad(hn::GatherIndex(w, wide, a0 + Z0), fx, fy, fz),
                Grad(hn::GatherIndex(w, wide, b0 + Z0), gx, fy, fz),
                Grad(hn::GatherIndex(w, wide, a1 + Z0), fx, gy, fz),
                Grad(hn::GatherIndex(w, wide, b1 + Z0), gx, gy, fz),
                Grad(hn::GatherIndex(w, wide, a0 + Z1), fx, fy, gz),
                Grad(hn::GatherIndex(w, wide, b0 + Z1), gx, fy, gz),
                Grad(hn::GatherIndex(w, wide, a1 + Z1), fx, gy, gz),
                Grad(hn::GatherIndex(w, wide, b1 + Z1), gx, gy, gz)};
    }

    // The gradient term of corner hash h at offsets (dx, dy, dz): with h4 the
    // low four bits, p is dx when h4 < 8, else dy; q is dy when h4 < 4, dx
    // when h4 is 12 or 14, else dz; bit 0 negates p and bit 1 negates q.
    static HWY_INLINE DoubleVec Grad(WordVec h, DoubleVec dx, DoubleVec dy, DoubleVec dz)
    {
        const Doubles d;
        const Words w;
        const WordVec h4 = hn::And(h, hn::Set(w, 15));
        const DoubleMask pIsX = hn::RebindMask(d, h4 < hn::Set(w, 8));
        const DoubleMask qIsY = hn::RebindMask(d, h4 < hn::Set(w, 4));
        const DoubleMask qIsX = hn::RebindMask(d, hn::Or(h4, hn::Set(w, 2)) == hn::Set(w, 14));
        const DoubleVec p = hn::IfThenElse(pIsX, dx, dy);
        const DoubleVec q = hn::IfThenElse(qIsY, dy, hn::IfThenElse(qIsX, dx, dz));
        // Negation flips the sign bit, nothing else.
        const DoubleVec pSign = hn::BitCast(d, hn::ShiftLeft<63>(h4));
        const DoubleVec qSign = hn::BitCast(d, hn::ShiftLeft<62>(hn::And(h4, hn::Set(w, 2))));
        return hn::Xor(p, pSign) + hn::Xor(q, qSign);
    }

    const std::uint8_t* perm;
    const std::int64_t* wide;
    const std::uint8_t (*terms)[2][512];
    WordVec mask;
};

} // namespace tex::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#endif
