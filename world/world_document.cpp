#include "world/world_document.h"

#include "shape/shape_file.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <iterator>

namespace {

// Breeding modes by their number (BreedingMode).
const char* const modeNames[] = {"random", "mutate", "manykids"};

// `value` as a whole number from `lo` to maxLineageId.
bool readWhole(const QJsonValue& value, std::uint64_t lo, std::uint64_t& v)
{
    const double d = value.toDouble();
    if (!value.isDouble() || d != std::trunc(d) || !(d >= double(lo) && d <= double(maxLineageId)))
        return false;
    v = std::uint64_t(d);
    return true;
}

// Reads the lineage of every creature and the next id into `creatures` and
// `nextId`; false with `error` set at the first fault.
bool readLineage(const QJsonObject& document, std::vector<std::unique_ptr<SuperFormula>>& creatures,
                 std::uint64_t& nextId, QString& error)
{
    const QJsonArray records = document.value("creatures").toArray();
    std::unordered_set<std::uint64_t> ids;
    for (std::size_t i = 0; i < creatures.size(); ++i) {
        const QJsonObject record = records[int(i)].toObject();
        const auto fail = [&](const QString& problem) {
            error = QStringLiteral("creature %1: %2").arg(i + 1).arg(problem);
            return false;
        };
        SuperFormula::Lineage lineage;
        if (!readWhole(record.value("id"), 1, lineage.id))
            return fail(QStringLiteral("\"id\" is not a whole number from 1 to %1").arg(maxLineageId));
        if (!ids.insert(lineage.id).second)
            return fail(QStringLiteral("its \"id\" %1 is another creature's too").arg(lineage.id));
        const QJsonValue parent = record.value("parent");
        if (!parent.isNull() && !(readWhole(parent, 1, lineage.parent) && lineage.parent < lineage.id))
            return fail(QStringLiteral("\"parent\" is neither null nor the id of a creature born before it"));
        if (!readWhole(record.value("generation"), 0, lineage.generation))
            return fail(QStringLiteral("\"generation\" is not a whole number from 0 to %1").arg(maxLineageId));
        if ((lineage.generation == 0) != (lineage.parent == SuperFormula::noParent))
            return fail(QStringLiteral("\"generation\" is 0 without a parent and above 0 with one, not %1")
                            .arg(lineage.generation));
        creatures[i]->lineage = lineage;
    }
    const std::uint64_t highest = ids.empty() ? 0 : *std::max_element(ids.begin(), ids.end());
    if (!readWhole(document.value("nextId"), highest + 1, nextId)) {
        error = QStringLiteral("\"nextId\" is not a whole number above every creature's id, up to %1")
                    .arg(maxLineageId);
        return false;
    }
    return true;
}

} // namespace

bool worldToDocument(double mutationRate, BreedingMode mode, std::uint64_t nextId,
                     const std::vector<const SuperFormula*>& creatures, QJsonObject& document, QString& error)
{
    const int number = int(mode);
    if (number < 0 || number >= int(std::size(modeNames))) {
        error = QStringLiteral("the breeding mode %1 has no name in the file").arg(number);
        return false;
    }
    document = QJsonObject{{"mutationRate", mutationRate}, {"mode", modeNames[number]}, {"nextId", double(nextId)}};
    if (!shapesToDocument(creatures, document, error))
        return false;
    QJsonArray records = document.value("creatures").toArray();
    for (std::size_t i = 0; i < creatures.size(); ++i) {
        const SuperFormula::Lineage& lineage = creatures[i]->lineage;
        QJsonObject record = records[int(i)].toObject();
        record.insert("id", double(lineage.id));
        record.insert("parent", lineage.parent == SuperFormula::noParent ? QJsonValue() : double(lineage.parent));
        record.insert("generation", double(lineage.generation));
        records[int(i)] = record;
    }
    document.insert("creatures", records);
    return true;
}

bool worldFromDocument(const QJsonObject& document, std::size_t maxCreatures, WorldRecord& record, QString& error)
{
    const QJsonValue rate = document.value("mutationRate");
    if (!rate.isDouble() || !(rate.toDouble() >= 0 && rate.toDouble() <= 2)) {
        error = rate.isUndefined() ? QStringLiteral("the field \"mutationRate\" is missing (a creature file?)")
                                   : QStringLiteral("\"mutationRate\" is not a number from 0 to 2");
        return false;
    }
    const QString modeName = document.value("mode").toString();
    const auto known = std::find(std::begin(modeNames), std::end(modeNames), modeName);
    if (known == std::end(modeNames)) {
        error = QStringLiteral("\"mode\" is not \"random\", \"mutate\" or \"manykids\"");
        return false;
    }
    std::vector<std::unique_ptr<SuperFormula>> creatures;
    if (!shapesFromDocument(document, maxCreatures, creatures, error))
        return false;
    std::uint64_t nextId = creatures.size() + 1;
    if (document.value("version").toInt() >= 2) {
        if (!readLineage(document, creatures, nextId, error))
            return false;
    } else {
        for (std::size_t i = 0; i < creatures.size(); ++i)
            creatures[i]->lineage = {i + 1, SuperFormula::noParent, 0};
    }

    // The slider sets the rate in hundredths.
    record.mutationRate = std::round(rate.toDouble() * 100) / 100;
    record.mode = BreedingMode(known - std::begin(modeNames));
    record.nextId = nextId;
    record.creatures = std::move(creatures);
    return true;
}
