#pragma once

#include "shape/super_formula.h"
#include "world/world.h"

#include <QJsonObject>
#include <QString>

#include <cstddef>
#include <memory>
#include <vector>

// A world as its file holds it (the format is described in
// shape/shape_file.h): the creatures plus two settings,
//   "mutationRate": 0 to 2, read to the hundredth as the slider sets it;
//   "mode": "random", "mutate" or "manykids", the breeding modes
//   (BreedingMode).
struct WorldRecord {
    double mutationRate = 0.5;
    BreedingMode mode = BreedingMode::random;
    std::vector<std::unique_ptr<SuperFormula>> creatures;
};

// The world's document: its settings and the records of `creatures`. False
// with `error` set when the mode has no name or a creature cannot be stored
// (shapeProblem).
bool worldToDocument(double mutationRate, BreedingMode mode, const std::vector<const SuperFormula*>& creatures,
                     QJsonObject& document, QString& error);
// The world a document describes, of at most `maxCreatures` creatures; on
// failure `record` is left untouched and `error` says why.
bool worldFromDocument(const QJsonObject& document, std::size_t maxCreatures, WorldRecord& record,
                       QString& error);
