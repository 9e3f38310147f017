#pragma once

#include "app/world_view.h"
#include "shape/super_formula.h"

#include <QString>

#include <memory>
#include <vector>

// A world as its file holds it (the format is described in
// shape/shape_file.h): the creatures plus two settings,
//   "mutationRate": 0 to 2, read to the hundredth as the slider sets it;
//   "mode": "random", "mutate" or "manykids".
struct WorldRecord {
    double mutationRate = 0.5;
    WorldView::Mode mode = WorldView::ModeRandom;
    std::vector<std::unique_ptr<SuperFormula>> creatures;
};

// Writes the world's shapes, rate and mode to `path` atomically.
bool writeWorldFile(const QString& path, const WorldView& world, QString& error);
// Reads a world of at most WorldView::populationCap creatures; on failure
// `record` is left untouched and `error` says why.
bool readWorldFile(const QString& path, WorldRecord& record, QString& error);
