#pragma once

#include "shape/super_formula.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// What a left click on the world does: adds a random creature, or one or
// five mutants of the creature under it. The numbers are those the world
// files name ("random", "mutate", "manykids").
enum class BreedingMode { random = 0, mutate = 1, manyKids = 2 };

// The creatures of a world, in population order: a click takes the first one
// under it, and each is drawn over the ones before it.
using Population = std::vector<SuperFormula>;

// The world: a population of creatures in the square [-5, 5]^2 (y down), the
// breeding mode and the mutation rate, with the rules that change them. It
// knows nothing of drawing: a view draws snapshots of it and turns clicks
// into calls of it.
//
// Every call that changes the population or a setting tells the change
// handler once, after the change; the tick's motion (advance()) does not.
// The calls that add or remove creatures say what they added or removed,
// so that each change can be undone by its inverse (insert(), removeAt()).
class World {
public:
    // The most creatures the world holds, and the most a world file may hold:
    // breeding and inserting stop at it, and a file with more is refused.
    // Set from the resident size measured at this population (see
    // docs/world-frames.md): the program holds about 0.65 GB with 10,000
    // bred creatures, 0.4 GB with 10,000 of the largest sample count.
    static constexpr std::size_t populationBound = 10000;

    // What changed, for the change handler.
    enum class Change { population, settings };
    void setChangeHandler(std::function<void(Change)> handler) { changed = std::move(handler); }

    const Population& creatures() const { return population; }
    std::size_t size() const { return population.size(); }
    bool full() const { return population.size() >= populationBound; }

    BreedingMode mode() const { return breedingMode; }
    void setMode(BreedingMode mode);
    // The mutation rate, 0 to 2, as the slider sets it in hundredths.
    double mutationRate() const { return rate; }
    void setMutationRate(double rate);

    // The index of the first creature within one world unit of (x, y).
    std::optional<std::size_t> creatureAt(double x, double y) const;

    // The id the next new creature gets: every id in the world lies below
    // it. Set only to put back a world as it was (an opened file, an undo).
    std::uint64_t nextId() const { return idsFrom; }
    void setNextId(std::uint64_t id) { idsFrom = id; }
    // The creature with lineage id `id`, if it is in the world.
    const SuperFormula* creatureWithId(std::uint64_t id) const;

    // Appends `creature` at the end of the population as a new creature of
    // generation 0 with no parent and the next id, unless the world is full;
    // true when it was added.
    bool add(SuperFormula creature);
    // Puts `creature` at `index` (clamped to the end), lineage and all,
    // unless the world is full: the inverse of a removal. A creature from
    // outside any world (id 0) is given the next id, as every creature
    // the world holds has one.
    bool insert(std::size_t index, SuperFormula creature);
    // Appends a new random creature centred on (x, y) (as add()); false,
    // drawing no random numbers, when the world is full.
    bool spawnAt(double x, double y);
    // Appends up to n mutants, at the mutation rate, of the creature at
    // (x, y), as many as the bound leaves room for; returns how many. Each
    // gets the next id, the parent's id and the generation after it.
    // Nothing is bred beside every creature.
    int breedAt(double x, double y, int n);
    // What a left click at (x, y) does in the current mode: the creatures it
    // appended, and whether the bound stopped it.
    struct Bred {
        int added = 0;
        bool refused = false;
    };
    Bred clickAt(double x, double y);

    // A creature taken out of the population, and where it was.
    struct Removal {
        std::size_t index;
        SuperFormula creature;
    };
    // Removes the first creature at (x, y), if any.
    std::optional<Removal> removeAt(double x, double y);
    // Removes the creature at `index`, if there is one.
    std::optional<Removal> removeIndex(std::size_t index);
    // "Nuke 'em": removes every creature and returns them, in order.
    Population removeAll();
    // Takes `creatures` as the population, lineage and all (those with id 0
    // given the next id, as by insert()), returning the old one; over the
    // bound nothing changes and none is returned. The next id is otherwise
    // the caller's to set.
    std::optional<Population> replace(Population creatures);

    // The tick's motion: every creature advances by `step` time units.
    void advance(double step);

    // The population as it is now, to draw apart from the world while it
    // goes on changing. Unlike a creature's copy, each keeps its blink.
    std::shared_ptr<const Population> snapshot() const;

private:
    void populationChanged();
    void settingsChanged();
    // Gives `creature` the next id, without a parent, if it has no id.
    void identify(SuperFormula& creature);

    Population population;
    BreedingMode breedingMode = BreedingMode::random;
    double rate = 0.5;
    std::uint64_t idsFrom = 1;
    std::function<void(Change)> changed;
};
