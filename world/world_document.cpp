#include "world/world_document.h"

#include "shape/shape_file.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// Breeding modes by their number (BreedingMode).
const char* const modeNames[] = {"random", "mutate", "manykids"};

} // namespace

bool worldToDocument(double mutationRate, BreedingMode mode, const std::vector<const SuperFormula*>& creatures,
                     QJsonObject& document, QString& error)
{
    const int number = int(mode);
    if (number < 0 || number >= int(std::size(modeNames))) {
        error = QStringLiteral("the breeding mode %1 has no name in the file").arg(number);
        return false;
    }
    document = QJsonObject{{"mutationRate", mutationRate}, {"mode", modeNames[number]}};
    return shapesToDocument(creatures, document, error);
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

    // The slider sets the rate in hundredths.
    record.mutationRate = std::round(rate.toDouble() * 100) / 100;
    record.mode = BreedingMode(known - std::begin(modeNames));
    record.creatures = std::move(creatures);
    return true;
}
