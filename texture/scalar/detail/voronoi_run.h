#pragma once

// Voronoi's search over runs of points, as Voronoi's run members call it.
// Not installed.

#include <cstddef>
#include <cstdint>

namespace tex::detail {

// What the search reads of a Voronoi: its count table, mask and size, and
// the factors its points are scaled by (1 for the unscaled queries).
struct VoronoiRunField {
    const std::uint8_t* counts;
    std::uint32_t mask;
    std::int32_t size;
    double scale[3];
};

// What the search writes for each point; null where it is not wanted.
// `distance` and `id` come from a search for the nearest point (as value and
// nearestId), `gap` from a search for the two nearest (as distanceGap).
struct VoronoiRunResults {
    double* distance;
    std::uint32_t* id;
    double* gap;
};

// The searches at each of n points, bit for bit those of one point at a
// time, in vector lanes; the cells that points need are drawn side by side.
void voronoiSearchRun(const VoronoiRunField& field, const double* x, const double* y, const double* z,
                      std::size_t n, const VoronoiRunResults& results);

} // namespace tex::detail
