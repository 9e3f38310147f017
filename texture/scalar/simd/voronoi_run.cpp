// Voronoi's nearest-points search over runs of points, bit for bit that of
// voronoi.cpp at each point.
//
// A chunk of points is searched together, cell position by cell position
// (the home cell, then the 26 neighbours in the search's order), so that:
// - consecutive points in one cell (along a grid row, dozens) form a group
//   that finds each of its cells once, and offers each feature point to
//   all of its points at once, a vector of lanes of points at a time;
// - the cells that the chunk's groups need at one position and that the
//   thread's cache lacks are seeded side by side, in one batch of lanes;
// - each point still decides, at each position, whether to visit that cell
//   from its own threshold at that moment, as the one-point search does.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "texture/scalar/simd/voronoi_run.cpp"
#include <hwy/foreach_target.h>

#include <hwy/highway.h>

#include "support/simd/lanes-inl.h"
#include "texture/scalar/detail/voronoi_run.h"
#include "texture/scalar/detail/voronoi_search.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

HWY_BEFORE_NAMESPACE();
namespace tex::HWY_NAMESPACE {

using detail::cellsSearched;

// Points searched together: enough that a position's uncached cells fill a
// batch of seeding lanes even where no two points share a cell.
constexpr std::size_t chunkPoints = 256;
// Room past the last point for a whole vector's loads.
constexpr std::size_t padded = chunkPoints + maxLanes;

// Consecutive points in one cell, and what they share.
struct Group {
    std::size_t begin, end;
    double corner[3];
    std::uint32_t hash[cellsSearched];
    // The cell at the current position, where the group visits it.
    const VoronoiCell* cell;
};

// A chunk's points and the state of their searches, per point: the point
// searched at, each cell's reach (the threshold at or below which the cell
// can offer the point nothing; see voronoi.cpp), the nearest squared
// distance and its point's identifier, and the two nearest squared
// distances.
struct Chunk {
    HWY_ALIGN double q[3][padded];
    HWY_ALIGN double corner[3][padded];
    HWY_ALIGN double reach[cellsSearched][padded];
    HWY_ALIGN double nearest[padded];
    HWY_ALIGN std::int64_t id[padded];
    HWY_ALIGN double first[padded];
    HWY_ALIGN double second[padded];
    bool finite[chunkPoints];
    Group groups[chunkPoints];
    std::size_t groupCount;
    // Cells seeded at the current position, and the groups that wait for them.
    VoronoiCell fresh[chunkPoints];
    std::size_t waiting[chunkPoints];
    VoronoiDraws draws;

    static Chunk& ofThisThread()
    {
        thread_local const std::unique_ptr<Chunk> chunk = std::make_unique<Chunk>();
        return *chunk;
    }
};

// Loads the chunk's points, scaled, places them on the lattice, works out
// every cell's reach for each and gathers the points into groups.
void Prepare(const detail::VoronoiRunField& field, Chunk& c, const double* x, const double* y, const double* z,
             std::size_t count)
{
    const Doubles d;
    const std::size_t lanes = hn::Lanes(d);
    const double* coordinates[3] = {x, y, z};
    for (int axis = 0; axis < 3; ++axis) {
        std::fill(c.q[axis] + count, c.q[axis] + padded, 0.0);
        const DoubleVec scale = hn::Set(d, field.scale[axis]);
        ForEachValue(coordinates[axis], c.q[axis], count, [&](DoubleVec v) TEX_INLINE_LAMBDA { return scale * v; });
    }
    const DoubleVec nothing = hn::Set(d, detail::nothingFound);
    for (std::size_t i = 0; i < count; i += lanes) {
        hn::Store(nothing, d, c.nearest + i);
        hn::Store(hn::Zero(Words()), Words(), c.id + i);
        hn::Store(nothing, d, c.first + i);
        hn::Store(nothing, d, c.second + i);
    }
    for (std::size_t i = 0; i < count; ++i)
        c.finite[i] = std::isfinite(c.q[0][i]) && std::isfinite(c.q[1][i]) && std::isfinite(c.q[2][i]);

    const DoubleVec lowest = hn::Set(d, -2147483648.0);
    const DoubleVec highest = hn::Set(d, 2147483647.0);
    const DoubleVec one = hn::Set(d, 1.0);
    const DoubleVec two = hn::Set(d, 2.0);
    const DoubleVec infinity = hn::Set(d, std::numeric_limits<double>::infinity());
    for (std::size_t i = 0; i < count; i += lanes) {
        DoubleVec p[3], corner[3];
        DoubleMask inRange = hn::FirstN(d, lanes);
        for (int axis = 0; axis < 3; ++axis) {
            p[axis] = hn::Load(d, c.q[axis] + i);
            corner[axis] = hn::Floor(p[axis]);
            inRange = hn::And(inRange, hn::And(corner[axis] >= lowest, corner[axis] <= highest));
        }
        if (!hn::AllTrue(d, inRange)) {
            // Beyond the int range (or not finite): placed one by one.
            for (std::size_t j = i; j < std::min(i + lanes, count); ++j) {
                if (!c.finite[j])
                    continue;
                for (int axis = 0; axis < 3; ++axis) {
                    const detail::QueryAxis placed = detail::queryAxis(c.q[axis][j], field.size);
                    c.q[axis][j] = placed.p;
                    c.corner[axis][j] = placed.corner;
                }
            }
            for (int axis = 0; axis < 3; ++axis) {
                hn::Store(hn::IfThenElse(inRange, corner[axis], hn::Load(d, c.corner[axis] + i)), d, c.corner[axis] + i);
                p[axis] = hn::Load(d, c.q[axis] + i);
                corner[axis] = hn::Load(d, c.corner[axis] + i);
            }
        } else {
            for (int axis = 0; axis < 3; ++axis)
                hn::Store(corner[axis], d, c.corner[axis] + i);
        }

        // Per axis and offset -1, 0, +1: the squared distance to the face
        // shared with that neighbour, and a lower bound of the squared
        // offset to any point of it.
        DoubleVec face[3][3], bound[3][3];
        for (int axis = 0; axis < 3; ++axis) {
            const DoubleVec f = p[axis] - corner[axis];
            const DoubleVec g = (corner[axis] + one) - p[axis];
            face[axis][0] = f * f;
            face[axis][1] = infinity;
            face[axis][2] = f * f + one - two * f;
            bound[axis][0] = f * f;
            bound[axis][1] = hn::Zero(d);
            bound[axis][2] = g * g;
        }
        for (int a = 0; a < 3; ++a) {
            for (int b = 0; b < 3; ++b) {
                const DoubleVec faceXY = hn::Min(face[0][a], face[1][b]);
                const DoubleVec boundXY = bound[0][a] + bound[1][b];
                for (int l = 0; l < 3; ++l)
                    hn::Store(hn::Max(hn::Min(faceXY, face[2][l]), boundXY + bound[2][l]), d,
                              c.reach[9 * a + 3 * b + l] + i);
            }
        }
    }

    c.groupCount = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!c.finite[i])
            continue;
        if (c.groupCount > 0) {
            Group& last = c.groups[c.groupCount - 1];
            if (last.end == i && last.corner[0] == c.corner[0][i] && last.corner[1] == c.corner[1][i] &&
                last.corner[2] == c.corner[2][i]) {
                ++last.end;
                continue;
            }
        }
        Group& group = c.groups[c.groupCount++];
        group.begin = i;
        group.end = i + 1;
        std::uint32_t axisHash[3][3];
        for (int axis = 0; axis < 3; ++axis) {
            group.corner[axis] = c.corner[axis][i];
            for (int o = 0; o < 3; ++o)
                axisHash[axis][o] = detail::axisHash(group.corner[axis], o - 1, field.mask, axis);
        }
        for (int m = 0; m < cellsSearched; ++m) {
            const auto& o = detail::offsetIndex[m];
            group.hash[m] = axisHash[0][o[0]] + axisHash[1][o[1]] + axisHash[2][o[2]];
        }
    }
}

// Whether any point of the group visits cell m: whether the cell's reach
// lies below the point's threshold in one of the searches.
template <bool kNearest, bool kPair>
HWY_INLINE bool MayHold(const Chunk& c, const Group& group, int m)
{
    const Doubles d;
    const std::size_t lanes = hn::Lanes(d);
    for (std::size_t i = group.begin; i < group.end; i += lanes) {
        const DoubleVec reach = hn::LoadU(d, c.reach[m] + i);
        DoubleMask visits = hn::FirstN(d, group.end - i);
        if (kNearest && kPair)
            visits = hn::And(visits, hn::Or(reach < hn::LoadU(d, c.nearest + i), reach < hn::LoadU(d, c.second + i)));
        else if (kNearest)
            visits = hn::And(visits, reach < hn::LoadU(d, c.nearest + i));
        else
            visits = hn::And(visits, reach < hn::LoadU(d, c.second + i));
        if (!hn::AllFalse(d, visits))
            return true;
    }
    return false;
}

// Offers the first `count` points of `cell` (a cached record may hold more),
// number m around the group's corner, to each of the group's points that
// visits it: every point, for the home cell.
template <bool kNearest, bool kPair>
HWY_INLINE void Offer(Chunk& c, const Group& group, int m, const VoronoiCell& cell, int count, bool home)
{
    const Doubles d;
    const Words w;
    const std::size_t lanes = hn::Lanes(d);
    // The unmasked cell: the wrap affects only which points a cell gets.
    const auto& o = detail::offsetIndex[m];
    const double cellX = group.corner[0] + (o[0] - 1);
    const double cellY = group.corner[1] + (o[1] - 1);
    const double cellZ = group.corner[2] + (o[2] - 1);
    for (std::size_t i = group.begin; i < group.end; i += lanes) {
        const DoubleMask valid = hn::FirstN(d, group.end - i);
        const DoubleVec qx = hn::LoadU(d, c.q[0] + i);
        const DoubleVec qy = hn::LoadU(d, c.q[1] + i);
        const DoubleVec qz = hn::LoadU(d, c.q[2] + i);
        const DoubleVec reach = hn::LoadU(d, c.reach[m] + i);
        DoubleVec nearest = hn::LoadU(d, c.nearest + i);
        WordVec id = hn::LoadU(w, c.id + i);
        DoubleVec first = hn::LoadU(d, c.first + i);
        DoubleVec second = hn::LoadU(d, c.second + i);
        // Each search decides from its threshold before the cell's points.
        const DoubleMask visitNearest = home ? valid : hn::And(valid, reach < nearest);
        const DoubleMask visitPair = home ? valid : hn::And(valid, reach < second);
        if ((!kNearest || hn::AllFalse(d, visitNearest)) && (!kPair || hn::AllFalse(d, visitPair)))
            continue;
        for (int k = 0; k < count; ++k) {
            const DoubleVec dx = hn::Set(d, cellX + double(cell.offset[k][0])) - qx;
            const DoubleVec dy = hn::Set(d, cellY + double(cell.offset[k][1])) - qy;
            const DoubleVec dz = hn::Set(d, cellZ + double(cell.offset[k][2])) - qz;
            const DoubleVec distance = dx * dx + dy * dy + dz * dz;
            if (kNearest) {
                const DoubleMask enters = hn::And(visitNearest, distance < nearest);
                nearest = hn::IfThenElse(enters, distance, nearest);
                const std::int64_t pointId = k == 0 ? cell.firstId : cell.laterId;
                id = hn::IfThenElse(hn::RebindMask(w, enters), hn::Set(w, pointId), id);
            }
            if (kPair) {
                // After any equal distance: the point offered first keeps its place.
                const DoubleMask enters = hn::And(visitPair, distance < second);
                const DoubleMask leads = first > distance;
                second = hn::IfThenElse(enters, hn::IfThenElse(leads, first, distance), second);
                first = hn::IfThenElse(hn::And(enters, leads), distance, first);
            }
        }
        if (kNearest) {
            hn::StoreU(nearest, d, c.nearest + i);
            hn::StoreU(id, w, c.id + i);
        }
        if (kPair) {
            hn::StoreU(first, d, c.first + i);
            hn::StoreU(second, d, c.second + i);
        }
    }
}

template <bool kNearest, bool kPair>
void SearchChunk(const detail::VoronoiRunField& field, Chunk& c)
{
    detail::CellCache& cache = detail::CellCache::ofThisThread();
    for (int position = 0; position < cellsSearched; ++position) {
        const int m = detail::searchOrder[position];
        const bool home = position == 0;
        // Which groups visit the cell, and which of those cells are not
        // cached (looked up together, so that the lookups overlap).
        std::size_t visitingCount = 0;
        for (std::size_t g = 0; g < c.groupCount; ++g) {
            Group& group = c.groups[g];
            group.cell = nullptr;
            const std::uint32_t hash = group.hash[m];
            if (field.counts[hash >> 24] == 0 || (!home && !MayHold<kNearest, kPair>(c, group, m)))
                continue;
            cache.prefetch(hash);
            c.waiting[visitingCount++] = g;
        }
        std::size_t waitingCount = 0;
        for (std::size_t i = 0; i < visitingCount; ++i) {
            Group& group = c.groups[c.waiting[i]];
            const std::uint32_t hash = group.hash[m];
            group.cell = cache.find(hash, field.counts[hash >> 24]);
            if (!group.cell)
                c.waiting[waitingCount++] = c.waiting[i];
        }
        // Those are seeded side by side; they enter the cache only after
        // every group has been offered its cell, so that no cached cell a
        // group holds is replaced meanwhile.
        for (std::size_t begin = 0; begin < waitingCount; begin += VoronoiDraws::maxCells) {
            const std::size_t cells = std::min<std::size_t>(VoronoiDraws::maxCells, waitingCount - begin);
            std::uint32_t hashes[VoronoiDraws::maxCells];
            int outputs = 0;
            for (std::size_t i = 0; i < cells; ++i) {
                hashes[i] = c.groups[c.waiting[begin + i]].hash[m];
                outputs = std::max(outputs, 6 * field.counts[hashes[i] >> 24]);
            }
            c.draws.draw(hashes, int(cells), outputs);
            for (std::size_t i = 0; i < cells; ++i) {
                VoronoiCell& cell = c.fresh[begin + i];
                cell.generate(hashes[i], field.counts[hashes[i] >> 24], c.draws, int(i));
                c.groups[c.waiting[begin + i]].cell = &cell;
            }
        }
        for (std::size_t g = 0; g < c.groupCount; ++g) {
            const Group& group = c.groups[g];
            if (group.cell)
                Offer<kNearest, kPair>(c, group, m, *group.cell, field.counts[group.hash[m] >> 24], home);
        }
        for (std::size_t i = 0; i < waitingCount; ++i)
            cache.store(c.fresh[i]);
    }
}

// Writes the results of the chunk's `count` points.
void Finish(const Chunk& c, std::size_t count, const detail::VoronoiRunResults& results)
{
    const Doubles d;
    if (results.distance)
        ForEachValue(c.nearest, results.distance, count, [](DoubleVec v) TEX_INLINE_LAMBDA { return hn::Sqrt(v); });
    if (results.id)
        for (std::size_t i = 0; i < count; ++i)
            results.id[i] = static_cast<std::uint32_t>(c.id[i]);
    if (results.gap) {
        const std::size_t lanes = hn::Lanes(d);
        HWY_ALIGN double gap[padded];
        for (std::size_t i = 0; i < count; i += lanes)
            hn::Store(hn::Sqrt(hn::Load(d, c.second + i)) - hn::Sqrt(hn::Load(d, c.first + i)), d, gap + i);
        std::memcpy(results.gap, gap, count * sizeof(double));
    }
}

void VoronoiSearchRun(const detail::VoronoiRunField& field, const double* x, const double* y, const double* z,
                      std::size_t n, const detail::VoronoiRunResults& results)
{
    Chunk& c = Chunk::ofThisThread();
    const bool nearest = results.distance || results.id;
    const bool pair = results.gap;
    for (std::size_t start = 0; start < n; start += chunkPoints) {
        const std::size_t count = std::min(chunkPoints, n - start);
        Prepare(field, c, x + start, y + start, z + start, count);
        if (nearest && pair)
            SearchChunk<true, true>(field, c);
        else if (nearest)
            SearchChunk<true, false>(field, c);
        else if (pair)
            SearchChunk<false, true>(field, c);
        const detail::VoronoiRunResults here{results.distance ? results.distance + start : nullptr,
                                             results.id ? results.id + start : nullptr,
                                             results.gap ? results.gap + start : nullptr};
        Finish(c, count, here);
    }
}

} // namespace tex::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "texture/scalar/voronoi.h"

namespace tex {

HWY_EXPORT(VoronoiSearchRun);

void detail::voronoiSearchRun(const VoronoiRunField& field, const double* x, const double* y, const double* z,
                              std::size_t n, const VoronoiRunResults& results)
{
    HWY_DYNAMIC_DISPATCH(VoronoiSearchRun)(field, x, y, z, n, results);
}

void Voronoi::formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    if (!isExactly<Voronoi>())
        return Basis::formulaRun(x, y, z, out, n);
    const detail::VoronoiRunField field{counts, std::uint32_t(mask), size, {1.0, 1.0, 1.0}};
    detail::voronoiSearchRun(field, x, y, z, n, {out, nullptr, nullptr});
}

void Voronoi::nearestIdAndGapRun(const double* x, const double* y, const double* z, std::uint32_t* ids,
                                 double* gaps, std::size_t n) const
{
    if (!isExactly<Voronoi>()) {
        for (std::size_t i = 0; i < n; ++i) {
            ids[i] = nearestId(x[i], y[i], z[i]);
            gaps[i] = distanceGap(x[i], y[i], z[i]);
        }
        return;
    }
    const detail::VoronoiRunField field{counts, std::uint32_t(mask), size, {1.0, 1.0, 1.0}};
    detail::voronoiSearchRun(field, x, y, z, n, {nullptr, ids, gaps});
}

} // namespace tex
#endif
