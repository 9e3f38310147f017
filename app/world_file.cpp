#include "app/world_file.h"

#include "shape/shape_file.h"
#include "shape/super_formula.h"

#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// Breeding modes by their number in WorldView::Mode.
const char* const modeNames[] = {"random", "mutate", "manykids"};

} // namespace

bool writeWorldFile(const QString& path, const WorldView& world, QString& error)
{
    const int mode = world.modeValue();
    if (mode < WorldView::ModeRandom || mode > WorldView::ModeManyKids) {
        error = QStringLiteral("the breeding mode %1 has no name in the file").arg(mode);
        return false;
    }
    QJsonObject document{{"mutationRate", world.mutationRateValue()}, {"mode", modeNames[mode]}};
    const std::vector<const SuperFormula*> shapes(world.population().begin(), world.population().end());
    return shapesToDocument(shapes, document, error) && writeFormatDocument(path, document, error);
}

bool readWorldFile(const QString& path, WorldRecord& record, QString& error)
{
    const QJsonObject document = readFormatDocument(path, error);
    if (document.isEmpty())
        return false;

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
    if (!shapesFromDocument(document, WorldView::populationCap, creatures, error))
        return false;

    // The slider sets the rate in hundredths.
    record.mutationRate = std::round(rate.toDouble() * 100) / 100;
    record.mode = static_cast<WorldView::Mode>(known - std::begin(modeNames));
    record.creatures = std::move(creatures);
    return true;
}
