#include "app/world_view.h"

#include "editor/creature_editor.h"
#include "shape/super_formula.h"

#include <QMouseEvent>

#include <algorithm>

void WorldView::setMutationRate(int hundredths)
{
    rate = hundredths / 100.0;
    emit edited();
}

void WorldView::killAll()
{
    destroyThings();
    populationChanged();
}

void WorldView::destroyThings()
{
    for (SuperFormula* thing : things)
        delete thing;
    things.clear();
}

bool WorldView::replacePopulation(std::vector<std::unique_ptr<SuperFormula>> shapes)
{
    if (shapes.size() > openedPopulationCap)
        return false;
    destroyThings();
    for (auto& shape : shapes)
        things.push_back(shape.release());
    populationChanged();
    return true;
}

bool WorldView::adopt(SuperFormula* shape)
{
    if (things.size() >= populationCap) {
        delete shape;
        emit populationFull();
        return false;
    }
    things.push_back(shape);
    return true;
}

void WorldView::mousePressEvent(QMouseEvent* event)
{
    // Presses beside the square the view draws into are ignored.
    const std::optional<QPointF> point = worldPointAt(event->position());
    if (!point)
        return;
    const double wx = point->x();
    const double wy = point->y();

    switch (event->button()) {
    case Qt::RightButton:
        removeAt(wx, wy);
        break;
    case Qt::LeftButton:
        if (mode == ModeRandom)
            spawnAt(wx, wy);
        else if (mode == ModeMutate)
            breedAt(wx, wy, 1);
        else if (mode == ModeManyKids)
            breedAt(wx, wy, 5);
        break;
    default:
        editAt(wx, wy);
        break;
    }
}

SuperFormula* WorldView::shapeAt(double x, double y) const
{
    for (SuperFormula* thing : things) {
        const double dx = x - thing->position.x;
        const double dy = y - thing->position.y;
        if (dx * dx + dy * dy < 1)
            return thing;
    }
    return nullptr;
}

void WorldView::spawnAt(double x, double y)
{
    // Checked before drawing, so that a refused click uses no random numbers.
    if (things.size() >= populationCap) {
        emit populationFull();
        return;
    }
    SuperFormula* child = randomSuperFormula();
    child->position = {x, y};
    things.push_back(child);
    populationChanged();
}

void WorldView::breedAt(double x, double y, int n)
{
    SuperFormula* parent = shapeAt(x, y);
    if (!parent)
        return;
    int made = 0;
    while (made < n && things.size() < populationCap) {
        things.push_back(mutant(*parent, rate));
        ++made;
    }
    if (made < n)
        emit populationFull();
    if (made > 0)
        populationChanged();
}

void WorldView::removeAt(double x, double y)
{
    SuperFormula* thing = shapeAt(x, y);
    if (!thing)
        return;
    things.remove(thing);
    delete thing;
    populationChanged();
}

void WorldView::editAt(double x, double y)
{
    SuperFormula* thing = shapeAt(x, y);
    if (thing)
        openEditor(new SuperFormula(*thing));
}

void WorldView::openEditor(SuperFormula* shape)
{
    // The editor owns the shape and shows itself; it has no parent, so it
    // outlives this view, and deletes itself when closed.
    editors.erase(std::remove_if(editors.begin(), editors.end(),
                                 [](const QPointer<CreatureEditor>& editor) { return editor.isNull(); }),
                  editors.end());
    CreatureEditor* editor = new CreatureEditor(shape);
    connect(editor, &CreatureEditor::inserted, this, &WorldView::addCopyOf);
    editors.emplace_back(editor);
}

std::vector<CreatureEditor*> WorldView::openEditors() const
{
    std::vector<CreatureEditor*> open;
    for (const QPointer<CreatureEditor>& editor : editors)
        if (editor)
            open.push_back(editor);
    return open;
}
