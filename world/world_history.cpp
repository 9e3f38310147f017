#include "world/world_history.h"

#include <QCoreApplication>
#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>
#include <utility>

namespace {

QString named(const char* source)
{
    return QCoreApplication::translate("WorldHistory", source);
}

// A command pushed after its change was made: the push's redo() does
// nothing, later ones replay it.
class MadeChange : public QUndoCommand {
public:
    MadeChange(World& world, const QString& name) : QUndoCommand(name), world(world) {}

    void redo() final
    {
        if (made)
            made = false;
        else
            replay();
    }

protected:
    virtual void replay() = 0;

    World& world;

private:
    bool made = true;
};

// Creatures appended at `first` and after, by a click or an insert, with
// the ids they took: undo gives the ids back, so that the world's next id is
// as it was.
class Added : public MadeChange {
public:
    Added(World& world, const QString& name, std::size_t first, std::size_t count, std::uint64_t idsBefore)
        : MadeChange(world, name), first(first), count(count), idsBefore(idsBefore), idsAfter(world.nextId())
    {
    }

    void undo() override
    {
        // Taken from the end, so that each keeps its place until taken.
        creatures.reserve(count);
        for (std::size_t i = count; i-- > 0;)
            creatures.push_back(std::move(world.removeIndex(first + i)->creature));
        std::reverse(creatures.begin(), creatures.end());
        world.setNextId(idsBefore);
    }

protected:
    void replay() override
    {
        for (std::size_t i = 0; i < count; ++i)
            world.insert(first + i, std::move(creatures[i]));
        creatures.clear();
        world.setNextId(idsAfter);
    }

private:
    const std::size_t first;
    const std::size_t count;
    const std::uint64_t idsBefore;
    const std::uint64_t idsAfter;
    // While undone: the creatures, as they were when taken.
    Population creatures;
};

class Removed : public MadeChange {
public:
    Removed(World& world, World::Removal removal)
        : MadeChange(world, named("Remove creature")), index(removal.index), creature(std::move(removal.creature))
    {
    }

    void undo() override { world.insert(index, std::move(creature)); }

protected:
    void replay() override { creature = std::move(world.removeIndex(index)->creature); }

private:
    const std::size_t index;
    // The creature as it was when last removed.
    SuperFormula creature;
};

// The population and its next id swapped for others: "nuke 'em" and opened
// worlds. Undo and redo each swap the two.
class Replaced : public MadeChange {
public:
    Replaced(World& world, const QString& name, Population other, std::uint64_t otherNextId)
        : MadeChange(world, name), other(std::move(other)), otherNextId(otherNextId)
    {
    }

    void undo() override { swap(); }

protected:
    void replay() override { swap(); }

private:
    void swap()
    {
        other = std::move(*world.replace(std::move(other)));
        const std::uint64_t nextId = world.nextId();
        world.setNextId(otherNextId);
        otherNextId = nextId;
    }

    Population other;
    std::uint64_t otherNextId;
};

class RateChanged : public MadeChange {
public:
    RateChanged(World& world, double before, double after)
        : MadeChange(world, named("Change mutation rate")), before(before), after(after)
    {
    }

    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override
    {
        after = static_cast<const RateChanged*>(other)->after;
        return true;
    }
    void undo() override { world.setMutationRate(before); }

protected:
    void replay() override { world.setMutationRate(after); }

private:
    const double before;
    double after;
};

class ModeChanged : public MadeChange {
public:
    ModeChanged(World& world, BreedingMode before, BreedingMode after)
        : MadeChange(world, named("Change mode")), before(before), after(after)
    {
    }

    void undo() override { world.setMode(before); }

protected:
    void replay() override { world.setMode(after); }

private:
    const BreedingMode before;
    const BreedingMode after;
};

} // namespace

WorldHistory::WorldHistory(World& world, QUndoStack& stack) : world(world), stack(stack) {}

World::Bred WorldHistory::clickAt(double x, double y)
{
    const std::size_t first = world.size();
    const std::uint64_t idsBefore = world.nextId();
    const BreedingMode mode = world.mode();
    const World::Bred bred = world.clickAt(x, y);
    if (bred.added > 0) {
        const QString name = mode == BreedingMode::random ? named("Add creature")
            : bred.added == 1                            ? named("Breed creature")
                                                         : named("Breed creatures");
        stack.push(new Added(world, name, first, std::size_t(bred.added), idsBefore));
    }
    return bred;
}

bool WorldHistory::removeAt(double x, double y)
{
    std::optional<World::Removal> removal = world.removeAt(x, y);
    if (!removal)
        return false;
    stack.push(new Removed(world, std::move(*removal)));
    return true;
}

bool WorldHistory::insert(const SuperFormula& creature)
{
    const std::uint64_t idsBefore = world.nextId();
    if (!world.add(creature))
        return false;
    stack.push(new Added(world, named("Insert creature"), world.size() - 1, 1, idsBefore));
    return true;
}

void WorldHistory::removeAll()
{
    Population removed = world.removeAll();
    if (!removed.empty())
        stack.push(new Replaced(world, named("Nuke 'em"), std::move(removed), world.nextId()));
}

void WorldHistory::setMutationRate(double rate)
{
    const double before = world.mutationRate();
    if (rate == before)
        return;
    world.setMutationRate(rate);
    stack.push(new RateChanged(world, before, rate));
}

void WorldHistory::setMode(BreedingMode mode)
{
    const BreedingMode before = world.mode();
    if (mode == before)
        return;
    world.setMode(mode);
    stack.push(new ModeChanged(world, before, mode));
}

bool WorldHistory::open(Population creatures, std::uint64_t nextId, double rate, BreedingMode mode)
{
    std::optional<Population> old = world.replace(std::move(creatures));
    if (!old)
        return false;
    const std::uint64_t oldNextId = world.nextId();
    world.setNextId(nextId);
    stack.beginMacro(named("Open world"));
    stack.push(new Replaced(world, named("Open world"), std::move(*old), oldNextId));
    setMutationRate(rate);
    setMode(mode);
    stack.endMacro();
    return true;
}
