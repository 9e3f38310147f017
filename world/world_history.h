#pragma once

#include "world/world.h"

#include <QString>

class QUndoStack;

// The world's changes made undoable: each call makes the change with the
// world's own call and, when anything changed, pushes a command onto the
// stack that undoes and redoes it. Undo puts back exactly what the change
// took (the removed creatures as they were when removed, the old rate,
// mode or population, the ids new creatures took); redo replays what the
// change did, drawing no random numbers, so a redone breeding click brings
// back the same children.
//
// The commands address creatures by their places in the population. Every
// change to the world's population and settings must therefore go through
// one history, so that each command finds the world as it left it; the
// tick's motion (World::advance) moves creatures without reordering them
// and is no change here.
class WorldHistory {
public:
    WorldHistory(World& world, QUndoStack& stack);

    // A left click in the current mode (World::clickAt): "Add creature" or
    // "Breed creature(s)".
    World::Bred clickAt(double x, double y);
    // A right click (World::removeAt): "Remove creature". False when no
    // creature is there.
    bool removeAt(double x, double y);
    // An editor's "insert": appends a copy of `creature`, "Insert
    // creature"; false when the world is full.
    bool insert(const SuperFormula& creature);
    // "Nuke 'em": removes every creature.
    void removeAll();
    // "Change mutation rate": successive changes merge into one step.
    void setMutationRate(double rate);
    // "Change mode".
    void setMode(BreedingMode mode);
    // "Open world": the population (lineage and all), the next id, the rate
    // and the mode of a world file, as one step. False, changing nothing,
    // over the population bound.
    bool open(Population creatures, std::uint64_t nextId, double rate, BreedingMode mode);

private:
    World& world;
    QUndoStack& stack;
};
