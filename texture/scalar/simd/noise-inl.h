// Gradient noise in vector lanes: Noise::noise at each lane's point, bit for
// bit, for kernels that evaluate noise over runs. Not installed.

#if defined(TEX_SCALAR_SIMD_NOISE_INL_H) == defined(HWY_TARGET_TOGGLE)
#ifdef TEX_SCALAR_SIMD_NOISE_INL_H
#undef TEX_SCALAR_SIMD_NOISE_INL_H
#else
#define TEX_SCALAR_SIMD_NOISE_INL_H
#endif

#include "support/simd/lanes-inl.h"
#include "texture/scalar/detail/noise_tables.h"

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
        : perm(tables.perm), terms(tables.terms), mask(tables.mask)
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
        // A point with a NaN or infinite coordinate is 0, as at a lattice
        // point; it is computed at the origin so that its table indices
        // stay in range. Along a grid row every lane shares a finite corner,
        // which settles it at once.
        Cell cell{hn::Floor(x), hn::Floor(y), hn::Floor(z), x, y, z};
        const DoubleMask shared = SameCell(cell, 0);
        const bool allFinite = (hn::AllTrue(d, shared) && std::isfinite(hn::GetLane(cell.cx)) &&
                                std::isfinite(hn::GetLane(cell.cy)) && std::isfinite(hn::GetLane(cell.cz))) ||
                               hn::AllTrue(d, Finite(x, y, z));
        DoubleMask finite = hn::FirstN(d, hn::Lanes(d));
        if (!allFinite) {
            finite = Finite(x, y, z);
            x = hn::IfThenElseZero(finite, x);
            y = hn::IfThenElseZero(finite, y);
            z = hn::IfThenElseZero(finite, z);
            cell = Cell{hn::Floor(x), hn::Floor(y), hn::Floor(z), x, y, z};
        }
        cell.fx = x - cell.cx;
        cell.fy = y - cell.cy;
        cell.fz = z - cell.cz;
        const DoubleVec n = Blend(cell, CornerTerms(cell, memo));
        return allFinite ? n : hn::IfThenElseZero(finite, n);
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

    // c modulo 256 for an integer double c: the low bits that every lattice
    // mask reads, as the scalar code reads them from the floor's int64 (and
    // 0 from 2^63 on, where every double is a multiple of 2^11). Exact: the
    // floor and the scalings by 256 are, and so is the difference of two
    // integers less than 256 apart.
    static HWY_INLINE std::int64_t Wrap(double c)
    {
        return static_cast<std::int64_t>(c - 256.0 * std::floor(c * (1.0 / 256.0)));
    }

    // The permutation index of each corner's hash for the cell at (cx, cy, cz).
    HWY_INLINE void HashCorners(double cx, double cy, double cz, CellMemo& memo) const
    {
        const std::int64_t m = mask;
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

    static HWY_INLINE DoubleVec Fade(DoubleVec t)
    {
        const Doubles d;
        return t * t * t * (hn::Set(d, 10.0) - t * (hn::Set(d, 15.0) - hn::Set(d, 6.0) * t));
    }

    static HWY_INLINE DoubleMask Finite(DoubleVec x, DoubleVec y, DoubleVec z)
    {
        return hn::And(hn::And(hn::IsFinite(x), hn::IsFinite(y)), hn::IsFinite(z));
    }

    // The lanes whose corner is that of lane `lane`.
    static HWY_INLINE DoubleMask SameCell(const Cell& cell, std::size_t lane)
    {
        const Doubles d;
        return hn::And(hn::And(cell.cx == hn::Set(d, hn::ExtractLane(cell.cx, lane)),
                               cell.cy == hn::Set(d, hn::ExtractLane(cell.cy, lane))),
                       cell.cz == hn::Set(d, hn::ExtractLane(cell.cz, lane)));
    }

    // The terms of every lane's corners, a cell at a time: all lanes in a
    // cell (along a grid row, every lane) read each corner's two terms from
    // the twelve signed offsets by the indices of the gradient-term table,
    // as the scalar code reads them.
    HWY_INLINE Corners CornerTerms(const Cell& cell, CellMemo& memo) const
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

        std::size_t lane = 0;
        DoubleMask here = SameCell(cell, lane);
        Hash(cell, lane, memo);
        Corners g{term(0), term(1), term(2), term(3), term(4), term(5), term(6), term(7)};
        DoubleMask rest = hn::AndNot(here, hn::FirstN(d, hn::Lanes(d)));
        while (!hn::AllFalse(d, rest)) {
            lane = static_cast<std::size_t>(hn::FindFirstTrue(d, rest));
            here = SameCell(cell, lane);
            Hash(cell, lane, memo);
            g = Corners{hn::IfThenElse(here, term(0), g.g000), hn::IfThenElse(here, term(1), g.g100),
                        hn::IfThenElse(here, term(2), g.g010), hn::IfThenElse(here, term(3), g.g110),
                        hn::IfThenElse(here, term(4), g.g001), hn::IfThenElse(here, term(5), g.g101),
                        hn::IfThenElse(here, term(6), g.g011), hn::IfThenElse(here, term(7), g.g111)};
            rest = hn::AndNot(here, rest);
        }
        return g;
    }

    // Makes `memo` hold lane `lane`'s cell.
    HWY_INLINE void Hash(const Cell& cell, std::size_t lane, CellMemo& memo) const
    {
        const double cx = hn::ExtractLane(cell.cx, lane);
        const double cy = hn::ExtractLane(cell.cy, lane);
        const double cz = hn::ExtractLane(cell.cz, lane);
        if (!(cx == memo.cx && cy == memo.cy && cz == memo.cz))
            HashCorners(cx, cy, cz, memo);
    }

    const std::uint8_t* perm;
    const std::uint8_t (*terms)[2][512];
    std::int64_t mask;
};

} // namespace tex::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#endif
