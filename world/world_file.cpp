#include "world/world_file.h"

#include "shape/shape_file.h"
#include "world/world.h"

static_assert(int(BreedingMode::random) == 0 && int(BreedingMode::mutate) == 1 && int(BreedingMode::manyKids) == 2,
              "world files name the breeding modes by these numbers");

bool writeWorldFile(const QString& path, const World& world, QString& error)
{
    QJsonObject document;
    std::vector<const SuperFormula*> creatures;
    creatures.reserve(world.size());
    for (const SuperFormula& creature : world.creatures())
        creatures.push_back(&creature);
    return worldToDocument(world.mutationRate(), world.mode(), world.nextId(), creatures, document, error)
        && writeFormatDocument(path, document, error);
}

bool readWorldFile(const QString& path, WorldRecord& record, QString& error)
{
    const QJsonObject document = readFormatDocument(path, error);
    return !document.isEmpty() && worldFromDocument(document, World::populationBound, record, error);
}
