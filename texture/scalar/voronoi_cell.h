#pragma once

#include "texture/scalar/voronoi_draws.h"

#include <cstdint>

namespace tex {

// The feature points of one Voronoi cell, as a function of the cell hash h
// alone: exactly what a Random reseeded with h hands out, without running
// the whole generator (see VoronoiDraws). A cell of c points takes 3c
// nextFloat draws, that is 6c <= 30 outputs of the first regeneration, so no
// second regeneration ever happens. The first state word after that
// regeneration (r below) is the untempered output 0.
struct VoronoiCell {
    static constexpr int maxPoints = 5;
    static_assert(6 * maxPoints <= VoronoiDraws::maxOutputs, "a full cell's draws fit");

    // The hash this record was generated for; meaningful when count > 0.
    std::uint32_t hash = 0;
    // Number of points, 0 to maxPoints; 0 marks an empty record.
    int count = 0;
    // Identifier of point 1: h + r.
    std::uint32_t firstId = 0;
    // Identifier of every later point: 2r.
    std::uint32_t laterId = 0;
    // Point k lies at (X + offset[k][0], Y + offset[k][1], Z + offset[k][2])
    // for the unmasked cell coordinates; each offset is a nextFloat draw, in
    // [0, 1].
    float offset[maxPoints][3] = {};

    // Fills the record for hash h with `count` points (clamped to 0..maxPoints).
    void generate(std::uint32_t h, int count);
    // The same from outputs already drawn: `draws` holds those of h as cell
    // number `cell`, at least 6 * count of them.
    void generate(std::uint32_t h, int count, const VoronoiDraws& draws, int cell);
};

} // namespace tex
