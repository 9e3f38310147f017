#include "app/gl_widget.h"

#include "editor/super_view_box.h"
#include "shape/super_formula.h"

#include <QMouseEvent>

#include <algorithm>

void GLWidget::mutationRate(int value)
{
    rate = value / 100.0;
    emit edited();
}

void GLWidget::modeRandom()
{
    setMode(ModeRandom);
}

void GLWidget::modeMutate()
{
    setMode(ModeMutate);
}

void GLWidget::modeManyKids()
{
    setMode(ModeManyKids);
}

void GLWidget::killAll()
{
    destroyThings();
    emit edited();
}

void GLWidget::destroyThings()
{
    makeCurrent();
    for (SuperFormula* thing : things) {
        thing->deleteList();
        delete thing;
    }
    things.clear();
}

bool GLWidget::replacePopulation(std::vector<std::unique_ptr<SuperFormula>> shapes)
{
    if (shapes.size() > populationCap)
        return false;
    destroyThings();
    for (auto& shape : shapes)
        things.push_back(shape.release());
    emit edited();
    return true;
}

bool GLWidget::adopt(SuperFormula* shape)
{
    if (things.size() >= populationCap) {
        // Shapes handed over have no display list yet.
        delete shape;
        emit populationFull();
        return false;
    }
    things.push_back(shape);
    return true;
}

void GLWidget::mousePressEvent(QMouseEvent* event)
{
    // The square the view draws into (see resizeGL); presses beside it are
    // ignored, its far edges included.
    const int w = width();
    const int h = height();
    const int s = qMin(w, h);
    const int x0 = (w - s) / 2;
    const int y0 = (h - s) / 2;
    const int px = event->x();
    const int py = event->y();
    if (px < x0 || px > x0 + s || py < y0 || py > y0 + s)
        return;
    const double wx = (double(px - x0) / s - 0.5) * 10;
    const double wy = (double(py - y0) / s - 0.5) * 10;

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

SuperFormula* GLWidget::shapeAt(double x, double y) const
{
    for (SuperFormula* thing : things) {
        const double dx = x - thing->position.x;
        const double dy = y - thing->position.y;
        if (dx * dx + dy * dy < 1)
            return thing;
    }
    return nullptr;
}

void GLWidget::spawnAt(double x, double y)
{
    // Checked before drawing, so that a refused click uses no random numbers.
    if (things.size() >= populationCap) {
        emit populationFull();
        return;
    }
    SuperFormula* child = randomSuperFormula();
    child->position = {x, y};
    things.push_back(child);
    emit edited();
}

void GLWidget::breedAt(double x, double y, int n)
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
        emit edited();
}

void GLWidget::removeAt(double x, double y)
{
    SuperFormula* thing = shapeAt(x, y);
    if (!thing)
        return;
    things.remove(thing);
    makeCurrent();
    thing->deleteList();
    delete thing;
    emit edited();
}

void GLWidget::editAt(double x, double y)
{
    SuperFormula* thing = shapeAt(x, y);
    if (thing)
        openEditor(new SuperFormula(*thing));
}

void GLWidget::openEditor(SuperFormula* shape)
{
    // The editor owns the shape and shows itself; it has no parent, so it
    // outlives this view, and deletes itself when closed.
    editors.erase(std::remove_if(editors.begin(), editors.end(),
                                 [](const QPointer<SuperViewBox>& editor) { return editor.isNull(); }),
                  editors.end());
    editors.emplace_back(new SuperViewBox(shape, this));
}

std::vector<SuperViewBox*> GLWidget::openEditors() const
{
    std::vector<SuperViewBox*> open;
    for (const QPointer<SuperViewBox>& editor : editors)
        if (editor)
            open.push_back(editor);
    return open;
}
