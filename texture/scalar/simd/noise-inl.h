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

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

HWY_BEFORE_NAMESPACE();
namespace tex::HWY_NAMESPACE {

// Whether the processor gathers lanes from memory in one instruction (AVX2
// and AVX-512 do).
constexpr bool gathers = HWY_ARCH_X86 && HWY_TARGET <= HWY_AVX2;

// The raw noise of one Noise, from its tables.
class LatticeNoise {
public:
    explicit LatticeNoise(const NoiseTables& tables)
        : perm(tables.perm), wide(tables.wide), terms(tables.terms), mask(tables.mask)
    {
#if HWY_TARGET == HWY_AVX3_DL
        for (int quarter = 0; quarter < 4; ++quarter)
            table[quarter] = _mm512_loadu_si512(perm + 64 * quarter);
#endif
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
        Cell cell = Place(x, y, z);
        const DoubleMask shared = SameCell(cell, 0);
        const bool allFinite = (hn::AllTrue(d, shared) && std::isfinite(hn::GetLane(cell.cx)) &&
                                std::isfinite(hn::GetLane(cell.cy)) && std::isfinite(hn::GetLane(cell.cz))) ||
                               hn::AllTrue(d, Finite(x, y, z));
        DoubleMask finite = hn::FirstN(d, hn::Lanes(d));
        if (!allFinite) {
            finite = Finite(x, y, z);
            cell = Place(hn::IfThenElseZero(finite, x), hn::IfThenElseZero(finite, y), hn::IfThenElseZero(finite, z));
        }
        // Lanes that mostly lie in cells of their own (scattered points) have
        // their hashes gathered, where the processor gathers lanes.
        const DoubleMask here = allFinite ? shared : SameCell(cell, 0);
        const bool scattered = gathers && hn::CountTrue(d, here) < hn::Lanes(d) / 2;
        const DoubleVec n = Blend(cell, scattered ? GatheredCorners(cell) : CornerTerms(cell, here, memo));
        return allFinite ? n : hn::IfThenElseZero(finite, n);
    }

    // What the points of a grid row share when their y and z are the same
    // finite numbers: their cells' y and z, their offsets, fades and
    // offset rows (see CornerTerms), worked out once for the whole row.
    struct Row {
        explicit Row(double y, double z)
        {
            const Doubles d;
            py = hn::Set(d, y);
            pz = hn::Set(d, z);
            cy = LatticeFloor(py);
            cz = LatticeFloor(pz);
            fy = py - cy;
            fz = pz - cz;
            gy = fy - hn::Set(d, 1.0);
            gz = fz - hn::Set(d, 1.0);
            v = Fade(fy);
            t = Fade(fz);
            StoreOffsets(fy, 1, offsets);
            StoreOffsets(fz, 2, offsets);
        }

        // gy and gz are the offsets from the far corners, fy - 1 and fz - 1.
        DoubleVec py, pz, cy, cz, fy, fz, gy, gz, v, t;
        HWY_ALIGN double offsets[12][maxLanes];
    };

    // The corner hashes of a row's cells from `first` on, for runs along a
    // row whose points meet many cells: entry k of hashes[b | c << 1] is the
    // hash of corner (0, b, c) of cell first + k, which is also corner
    // (1, b, c) of cell first + k - 1. A vector whose lanes lie within as
    // many cells as it has lanes reads each corner's hashes from the strip
    // with one in-register lookup, with no branch on where its lanes lie.
    struct Strip {
        // The most cells a strip holds; a run meeting more takes the other
        // row path.
        static constexpr std::size_t maxCells = 256;
        double first = 0;
        // Index of the last cell of the run.
        double last = 0;
        HWY_ALIGN std::int64_t hashes[4][maxCells + 1 + maxLanes];
    };

    // Fills `strip` for the cells first to last of `row`, integers; false
    // when they are more than Strip::maxCells, or so far out that not every
    // integer between them is a double. The hashes are those that
    // HashCorners and GatheredCorners read, from the same tables.
    bool Fill(Strip& strip, const Row& row, double first, double last) const
    {
        if (!(std::fabs(first) < 0x1p52 && std::fabs(last) < 0x1p52 && last - first < double(Strip::maxCells)))
            return false;
        strip.first = first;
        strip.last = last - first;
        const std::int64_t m = mask;
        const std::int64_t Y = Wrap(hn::GetLane(row.cy));
        const std::int64_t Z = Wrap(hn::GetLane(row.cz));
        const std::int64_t Ys[2] = {Y & m, (Y + 1) & m};
        const std::int64_t Zs[2] = {Z & m, (Z + 1) & m};
        // The far corners of the last cell are the near ones of the next.
        const std::size_t count = static_cast<std::size_t>(last - first) + 2;
        for (std::size_t k = 0; k < count; ++k) {
            const std::int64_t a = perm[Wrap(first + double(k)) & m];
            for (int b = 0; b < 2; ++b) {
                const std::int64_t ab = perm[a + Ys[b]];
                strip.hashes[b][k] = wide[ab + Zs[0]];
                strip.hashes[b | 2][k] = wide[ab + Zs[1]];
            }
        }
        for (auto& hashes : strip.hashes)
            std::fill(hashes + count, hashes + count + maxLanes, std::int64_t{0});
        return true;
    }

    // The noise at points (x, y, z) of `row` through the hashes of `strip`;
    // a vector whose lanes lie outside the strip or further apart than it
    // has lanes takes the other row path.
    HWY_INLINE DoubleVec operator()(DoubleVec x, Row& row, const Strip& strip, CellMemo& memo) const
    {
        const Doubles d;
        const Words w;
        const DoubleVec cx = LatticeFloor(x);
        const double cx0 = hn::GetLane(cx);
        const double k0 = cx0 - strip.first;
        const DoubleVec from = cx - hn::Set(d, cx0);
        // NaN and infinite lanes fail these tests.
        if (!(k0 >= 0 && k0 <= strip.last &&
              hn::AllTrue(d, hn::And(from >= hn::Zero(d), from < hn::Set(d, double(hn::Lanes(d)))))))
            return (*this)(x, row, memo);
        // Each lane's cell after lane 0's, as an integer in the low bits.
        const auto lane = hn::IndicesFromVec(w, hn::And(hn::BitCast(w, from + hn::Set(d, 0x1p52)), hn::Set(w, 255)));
        const std::size_t at = static_cast<std::size_t>(k0);
        const auto near = [&](int bc) { return hn::TableLookupLanes(hn::LoadU(w, strip.hashes[bc] + at), lane); };
        const auto far = [&](int bc) { return hn::TableLookupLanes(hn::LoadU(w, strip.hashes[bc] + at + 1), lane); };
        const DoubleVec fx = x - cx;
        const DoubleVec gx = fx - hn::Set(d, 1.0);
        const Corners g{Grad(near(0), fx, row.fy, row.fz), Grad(far(0), gx, row.fy, row.fz),
                        Grad(near(1), fx, row.gy, row.fz), Grad(far(1), gx, row.gy, row.fz),
                        Grad(near(2), fx, row.fy, row.gz), Grad(far(2), gx, row.fy, row.gz),
                        Grad(near(3), fx, row.gy, row.gz), Grad(far(3), gx, row.gy, row.gz)};
        return Blend(g, Fade(fx), row.v, row.t);
    }

    // The noise at points (x, y, z) of `row`: the same operations as at any
    // points, those that depend on y and z alone taken from the row.
    HWY_INLINE DoubleVec operator()(DoubleVec x, Row& row, CellMemo& memo) const
    {
        const Doubles d;
        if (!hn::AllTrue(d, hn::IsFinite(x)))
            return (*this)(x, row.py, row.pz, memo);
        const DoubleVec cx = LatticeFloor(x);
        const Cell cell{cx, row.cy, row.cz, x - cx, row.fy, row.fz};
        const DoubleMask here = cx == hn::Set(d, hn::GetLane(cx));
        const bool scattered = gathers && hn::CountTrue(d, here) < hn::Lanes(d) / 2;
        if (scattered)
            return Blend(GatheredCorners(cell), Fade(cell.fx), row.v, row.t);
        StoreOffsets(cell.fx, 0, row.offsets);
        return Blend(TermsFrom(row.offsets, cell, here, memo), Fade(cell.fx), row.v, row.t);
    }

private:
    // The lattice corners below some points (integers, as doubles) and the
    // points' offsets from them.
    struct Cell {
        DoubleVec cx, cy, cz;
        DoubleVec fx, fy, fz;
    };
    static HWY_INLINE Cell Place(DoubleVec x, DoubleVec y, DoubleVec z)
    {
        const DoubleVec cx = LatticeFloor(x), cy = LatticeFloor(y), cz = LatticeFloor(z);
        return {cx, cy, cz, x - cx, y - cy, z - cz};
    }

    // floor(v) as the scalar code takes it, from a 64-bit integer: +0 where
    // v is -0, so that the offset v - floor(v) is -0 there, as it is in the
    // scalar code, and not +0. Adding +0 changes no other floor.
    static HWY_INLINE DoubleVec LatticeFloor(DoubleVec v)
    {
        return hn::Floor(v) + hn::Zero(Doubles());
    }

    // The gradient terms of the eight corners, corner (a, b, c) as gabc.
    struct Corners {
        DoubleVec g000, g100, g010, g110, g001, g101, g011, g111;
    };

    // The corners' terms blended with the fade of the offsets: x first, then
    // y, then z.
    static HWY_INLINE DoubleVec Blend(const Cell& cell, const Corners& g)
    {
        return Blend(g, Fade(cell.fx), Fade(cell.fy), Fade(cell.fz));
    }
    // The same with the fades u, v and t of the offsets given.
    static HWY_INLINE DoubleVec Blend(const Corners& g, DoubleVec u, DoubleVec v, DoubleVec t)
    {
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
    HWY_INLINE Corners CornerTerms(const Cell& cell, DoubleMask here, CellMemo& memo) const
    {
        HWY_ALIGN double offsets[12][maxLanes];
        StoreOffsets(cell.fx, 0, offsets);
        StoreOffsets(cell.fy, 1, offsets);
        StoreOffsets(cell.fz, 2, offsets);
        return TermsFrom(offsets, cell, here, memo);
    }

    // The four signed offsets of one axis (f, -f, f - 1, 1 - f) into rows
    // 4 * axis to 4 * axis + 3 of `offsets`.
    static HWY_INLINE void StoreOffsets(DoubleVec f, int axis, double (*offsets)[maxLanes])
    {
        const Doubles d;
        const DoubleVec far = f - hn::Set(d, 1.0);
        hn::Store(f, d, offsets[4 * axis]);
        hn::Store(hn::Neg(f), d, offsets[4 * axis + 1]);
        hn::Store(far, d, offsets[4 * axis + 2]);
        hn::Store(hn::Neg(far), d, offsets[4 * axis + 3]);
    }

    // CornerTerms from the offsets stored for each axis.
    HWY_INLINE Corners TermsFrom(const double (*offsets)[maxLanes], const Cell& cell, DoubleMask here,
                                 CellMemo& memo) const
    {
        const Doubles d;
        const auto term = [&](int corner) {
            const std::size_t i = memo.corner[corner];
            return hn::Load(d, offsets[terms[corner][0][i]]) + hn::Load(d, offsets[terms[corner][1][i]]);
        };

        std::size_t lane = 0;
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

    // Each lane's hashes gathered from the permutation in 64-bit words (or,
    // with AVX-512 VBMI, looked up in registers), and each corner's terms
    // picked by the bits of its hash.
    HWY_INLINE Corners GatheredCorners(const Cell& cell) const
    {
        const Doubles d;
        const Words w;
        const WordVec one = hn::Set(w, 1);
        const WordVec m = hn::Set(w, mask);
        const WordVec X = Wrap(cell.cx), Y = Wrap(cell.cy), Z = Wrap(cell.cz);
        const WordVec X0 = hn::And(X, m), X1 = hn::And(X + one, m);
        const WordVec Y0 = hn::And(Y, m), Y1 = hn::And(Y + one, m);
        const WordVec Z0 = hn::And(Z, m), Z1 = hn::And(Z + one, m);
#if HWY_TARGET == HWY_AVX3_DL
        const DoubleVec fx = cell.fx, fy = cell.fy, fz = cell.fz;
        const DoubleVec gx = fx - hn::Set(d, 1.0), gy = fy - hn::Set(d, 1.0), gz = fz - hn::Set(d, 1.0);
        const PermutedHashes h(PermutedCorners(X0, X1, Y0, Y1, Z0, Z1));
        return {Grad(h.corner(0), fx, fy, fz), Grad(h.corner(1), gx, fy, fz),
                Grad(h.corner(2), fx, gy, fz), Grad(h.corner(3), gx, gy, fz),
                Grad(h.corner(4), fx, fy, gz), Grad(h.corner(5), gx, fy, gz),
                Grad(h.corner(6), fx, gy, gz), Grad(h.corner(7), gx, gy, gz)};
#else
        const WordVec a = hn::GatherIndex(w, wide, X0);
        const WordVec b = hn::GatherIndex(w, wide, X1);
        const WordVec a0 = hn::GatherIndex(w, wide, a + Y0);
        const WordVec a1 = hn::GatherIndex(w, wide, a + Y1);
        const WordVec b0 = hn::GatherIndex(w, wide, b + Y0);
        const WordVec b1 = hn::GatherIndex(w, wide, b + Y1);
        const DoubleVec fx = cell.fx, fy = cell.fy, fz = cell.fz;
        const DoubleVec gx = fx - hn::Set(d, 1.0), gy = fy - hn::Set(d, 1.0), gz = fz - hn::Set(d, 1.0);
        return {Grad(hn::GatherIndex(w, wide, a0 + Z0), fx, fy, fz), Grad(hn::GatherIndex(w, wide, b0 + Z0), gx, fy, fz),
                Grad(hn::GatherIndex(w, wide, a1 + Z0), fx, gy, fz), Grad(hn::GatherIndex(w, wide, b1 + Z0), gx, gy, fz),
                Grad(hn::GatherIndex(w, wide, a0 + Z1), fx, fy, gz), Grad(hn::GatherIndex(w, wide, b0 + Z1), gx, fy, gz),
                Grad(hn::GatherIndex(w, wide, a1 + Z1), fx, gy, gz), Grad(hn::GatherIndex(w, wide, b1 + Z1), gx, gy, gz)};
#endif
    }

#if HWY_TARGET == HWY_AVX3_DL
    // perm[i] at each byte lane i of `index` (0 to 255): the table's 256
    // bytes are four registers, and a lookup is two byte permutes over two
    // registers each, bit 7 of the index choosing between them.
    HWY_INLINE __m512i Permute(__m512i index) const
    {
        const __m512i low = _mm512_permutex2var_epi8(table[0], index, table[1]);
        const __m512i high = _mm512_permutex2var_epi8(table[2], index, table[3]);
        return _mm512_mask_blend_epi8(_mm512_movepi8_mask(index), low, high);
    }

    // The eight corners' hashes of eight lanes, as 64 bytes: byte 8 c + j is
    // corner c's hash in lane j.
    struct PermutedHashes {
        explicit PermutedHashes(__m512i bytes) : bytes(bytes) {}
        // Corner c's hashes, one a 64-bit lane: the low byte of lane j takes
        // byte 8 c + j, the other bytes are cleared.
        HWY_INLINE WordVec corner(int c) const
        {
            const __m512i from = _mm512_set_epi64(8 * c + 7, 8 * c + 6, 8 * c + 5, 8 * c + 4, 8 * c + 3, 8 * c + 2,
                                                  8 * c + 1, 8 * c);
            return WordVec{_mm512_maskz_permutexvar_epi8(0x0101010101010101ULL, from, bytes)};
        }
        __m512i bytes;
    };

    // The corners' hashes from the lattice coordinates (each below 256) of
    // eight lanes, the three levels of lookups done on bytes: a sum such as
    // perm[X0] + Y0 wraps at 256 in a byte, which the repeated half of
    // perm makes the same lookup.
    HWY_INLINE __m512i PermutedCorners(WordVec X0, WordVec X1, WordVec Y0, WordVec Y1, WordVec Z0,
                                       WordVec Z1) const
    {
        const auto bytes = [](WordVec v) { return _mm512_cvtepi64_epi8(v.raw); };
        // Level 1: perm[X0] in bytes 0-7, perm[X1] in 8-15.
        const __m128i a = _mm512_castsi512_si128(
            Permute(_mm512_zextsi128_si512(_mm_unpacklo_epi64(bytes(X0), bytes(X1)))));
        // Level 2: corner (a, b)'s row hash in bytes 8 (a | b << 1) + j.
        const __m128i y0 = bytes(Y0), y1 = bytes(Y1);
        const __m256i ab = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_add_epi8(a, _mm_unpacklo_epi64(y0, y0))), _mm_add_epi8(a, _mm_unpacklo_epi64(y1, y1)), 1);
        const __m256i rows = _mm512_castsi512_si256(Permute(_mm512_zextsi256_si512(ab)));
        // Level 3: corner (a, b, c)'s hash in bytes 8 (a | b << 1 | c << 2) + j.
        const __m256i z0 = _mm256_broadcastq_epi64(bytes(Z0)), z1 = _mm256_broadcastq_epi64(bytes(Z1));
        return Permute(_mm512_inserti64x4(_mm512_castsi256_si512(_mm256_add_epi8(rows, z0)), _mm256_add_epi8(rows, z1), 1));
    }
#endif

    // Wrap in every lane, the result as a 64-bit integer: an integer below
    // 2^52 added to 2^52 lies in the low mantissa bits.
    static HWY_INLINE WordVec Wrap(DoubleVec c)
    {
        const Doubles d;
        const Words w;
        const DoubleVec wrapped = c - hn::Set(d, 256.0) * hn::Floor(c * hn::Set(d, 1.0 / 256.0));
        return hn::And(hn::BitCast(w, wrapped + hn::Set(d, 0x1p52)), hn::Set(w, 255));
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
    const std::int64_t* wide;
    const std::uint8_t (*terms)[2][512];
    std::int64_t mask;
#if HWY_TARGET == HWY_AVX3_DL
    // perm[0 .. 255] in four registers.
    __m512i table[4];
#endif
};

} // namespace tex::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#endif
