#pragma once

#include "shape/super_formula.h"
#include "world/world.h"

#include <QJsonObject>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// A world as its file holds it (the format is described in
// shape/shape_file.h): the creatures plus three settings,
//   "mutationRate": 0 to 2, read to the hundredth as the slider sets it;
//   "mode": "random", "mutate" or "manykids", the breeding modes
//   (BreedingMode);
//   "nextId": the id the next new creature gets (from version 2 on);
// and in each creature's record, from version 2 on, its lineage
// (SuperFormula::Lineage): "id" (a whole number from 1 up to maxLineageId,
// unique in the file and below "nextId"), "parent" (null, or the id of a
// parent born before it: a smaller one) and "generation" (a whole number, 0
// exactly when there is no parent). A version 1 file has no lineage: its
// creatures are read with ids 1, 2, 3… in file order, no parent and
// generation 0.
struct WorldRecord {
    double mutationRate = 0.5;
    BreedingMode mode = BreedingMode::random;
    std::uint64_t nextId = 1;
    std::vector<std::unique_ptr<SuperFormula>> creatures;
};

// The largest id and generation a file holds: the largest whole number a
// JSON number keeps exactly.
constexpr std::uint64_t maxLineageId = std::uint64_t(1) << 53;

// The world's document: its settings and the records of `creatures` with
// their lineage. False with `error` set when the mode has no name or a
// creature cannot be stored (shapeProblem).
bool worldToDocument(double mutationRate, BreedingMode mode, std::uint64_t nextId,
                     const std::vector<const SuperFormula*>& creatures, QJsonObject& document, QString& error);
// The world a document describes, of at most `maxCreatures` creatures; on
// failure `record` is left untouched and `error` says why.
bool worldFromDocument(const QJsonObject& document, std::size_t maxCreatures, WorldRecord& record,
                       QString& error);
