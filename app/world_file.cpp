#include "app/world_file.h"

#include "app/world_view.h"
#include "shape/shape_file.h"

static_assert(WorldView::ModeRandom == 0 && WorldView::ModeMutate == 1 && WorldView::ModeManyKids == 2,
              "world files name the breeding modes by these numbers");

bool writeWorldFile(const QString& path, const WorldView& world, QString& error)
{
    QJsonObject document;
    const std::vector<const SuperFormula*> shapes(world.population().begin(), world.population().end());
    return worldToDocument(world.mutationRateValue(), world.modeValue(), shapes, document, error)
        && writeFormatDocument(path, document, error);
}

bool readWorldFile(const QString& path, WorldRecord& record, QString& error)
{
    const QJsonObject document = readFormatDocument(path, error);
    return !document.isEmpty() && worldFromDocument(document, WorldView::openedPopulationCap, record, error);
}
