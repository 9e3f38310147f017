#pragma once

#include "app/gl_widget.h"
#include "shape/super_formula.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <functional>
#include <vector>

// The world view with its protected slots and hooks opened up for tests, and
// a count of its paints.
class TestWorld : public GLWidget {
public:
    using GLWidget::addNewThing;
    using GLWidget::killAll;
    using GLWidget::modeManyKids;
    using GLWidget::modeMutate;
    using GLWidget::modeRandom;
    using GLWidget::mutationRate;
    using GLWidget::resizeGL;
    using GLWidget::timer;
    using GLWidget::update;

    int paints = 0;

protected:
    void paintGL() override
    {
        ++paints;
        GLWidget::paintGL();
    }
};

// Shows `world` at the given size and waits until it has been painted.
inline bool showAt(TestWorld& world, int width, int height)
{
    world.resize(width, height);
    world.show();
    if (!QTest::qWaitForWindowExposed(&world))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (world.paints == 0 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return world.paints > 0 && world.width() == width && world.height() == height;
}

// A shape that stays where it is put: a unit circle of one colour, no rim,
// a tiny eye and no motion.
inline SuperFormula* stillDisc(double x, double y, float r, float g, float b)
{
    SuperFormula* s = new SuperFormula(1, 1, 4, 2, 2, 2, 0);
    for (int k : {0, 1}) {
        s->colour[k][0] = r;
        s->colour[k][1] = g;
        s->colour[k][2] = b;
        s->colour[k][3] = 1;
    }
    s->border = 0;
    s->eye = 0.01;
    s->speed = 0;
    s->wander = 0;
    s->rotspeed = 0;
    s->position = {x, y};
    return s;
}

inline std::vector<SuperFormula*> shapesOf(const GLWidget& world)
{
    return std::vector<SuperFormula*>(world.population().begin(), world.population().end());
}
