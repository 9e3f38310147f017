#include "world/world.h"

#include <algorithm>
#include <iterator>
#include <memory>

void World::setMode(BreedingMode mode)
{
    if (mode == breedingMode)
        return;
    breedingMode = mode;
    settingsChanged();
}

void World::setMutationRate(double newRate)
{
    rate = newRate;
    settingsChanged();
}

std::optional<std::size_t> World::creatureAt(double x, double y) const
{
    for (std::size_t i = 0; i < population.size(); ++i) {
        const double dx = x - population[i].position.x;
        const double dy = y - population[i].position.y;
        if (dx * dx + dy * dy < 1)
            return i;
    }
    return std::nullopt;
}

const SuperFormula* World::creatureWithId(std::uint64_t id) const
{
    for (const SuperFormula& creature : population)
        if (creature.lineage.id == id)
            return &creature;
    return nullptr;
}

bool World::add(SuperFormula creature)
{
    // A new creature, whatever it was before.
    creature.lineage = {};
    return insert(population.size(), std::move(creature));
}

bool World::insert(std::size_t index, SuperFormula creature)
{
    if (full())
        return false;
    identify(creature);
    population.insert(population.begin() + std::ptrdiff_t(std::min(index, population.size())), std::move(creature));
    populationChanged();
    return true;
}

bool World::spawnAt(double x, double y)
{
    // Checked before drawing, so that a refused click uses no random numbers.
    if (full())
        return false;
    std::unique_ptr<SuperFormula> child(randomSuperFormula());
    child->position = {x, y};
    return add(std::move(*child));
}

int World::breedAt(double x, double y, int n)
{
    const std::optional<std::size_t> parent = creatureAt(x, y);
    if (!parent)
        return 0;
    int made = 0;
    while (made < n && !full()) {
        // The parent is read anew each time: appending may move it.
        std::unique_ptr<SuperFormula> child(mutant(population[*parent], rate));
        const SuperFormula::Lineage& family = population[*parent].lineage;
        child->lineage = {idsFrom++, family.id, family.generation + 1};
        population.push_back(std::move(*child));
        ++made;
    }
    if (made > 0)
        populationChanged();
    return made;
}

World::Bred World::clickAt(double x, double y)
{
    switch (breedingMode) {
    case BreedingMode::random: {
        const bool added = spawnAt(x, y);
        return {added ? 1 : 0, !added};
    }
    case BreedingMode::mutate:
    case BreedingMode::manyKids: {
        if (!creatureAt(x, y))
            return {};
        const int wanted = breedingMode == BreedingMode::mutate ? 1 : 5;
        const int added = breedAt(x, y, wanted);
        return {added, added < wanted};
    }
    }
    return {};
}

std::optional<World::Removal> World::removeAt(double x, double y)
{
    const std::optional<std::size_t> index = creatureAt(x, y);
    return index ? removeIndex(*index) : std::nullopt;
}

std::optional<World::Removal> World::removeIndex(std::size_t index)
{
    if (index >= population.size())
        return std::nullopt;
    Removal removal{index, std::move(population[index])};
    population.erase(population.begin() + std::ptrdiff_t(index));
    populationChanged();
    return removal;
}

Population World::removeAll()
{
    Population removed;
    removed.swap(population);
    populationChanged();
    return removed;
}

std::optional<Population> World::replace(Population creatures)
{
    if (creatures.size() > populationBound)
        return std::nullopt;
    for (SuperFormula& creature : creatures)
        identify(creature);
    creatures.swap(population);
    populationChanged();
    return creatures;
}

void World::advance(double step)
{
    for (SuperFormula& creature : population)
        creature.animate(step);
}

std::shared_ptr<const Population> World::snapshot() const
{
    auto copy = std::make_shared<Population>();
    copy->reserve(population.size());
    for (const SuperFormula& creature : population) {
        // A creature's copy opens its eye; the picture keeps it as it is.
        copy->push_back(creature);
        copy->back().eyeClosed = creature.eyeClosed;
        copy->back().blinkTime = creature.blinkTime;
    }
    return copy;
}

void World::identify(SuperFormula& creature)
{
    if (creature.lineage.id == 0)
        creature.lineage = {idsFrom++, SuperFormula::noParent, 0};
}

void World::populationChanged()
{
    if (changed)
        changed(Change::population);
}

void World::settingsChanged()
{
    if (changed)
        changed(Change::settings);
}
