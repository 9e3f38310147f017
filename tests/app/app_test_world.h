#pragma once

#include "app/world_view.h"
#include "shape/super_formula.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <functional>
#include <vector>

// The world view with its resize hook opened up for tests, and a count of
// the frames it draws.
class TestWorld : public WorldView {
public:
    using WorldView::WorldView;
    using WorldView::renderer;
    using WorldView::resizeGL;

    int frames = 0;

protected:
    void drawFrame() override
    {
        ++frames;
        WorldView::drawFrame();
    }
};

// Shows `world` at the given size and waits until it has drawn a frame.
inline bool showAt(TestWorld& world, int width, int height)
{
    world.resize(width, height);
    world.show();
    if (!QTest::qWaitForWindowExposed(&world))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (world.frames == 0 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return world.frames > 0 && world.width() == width && world.height() == height;
}

// Draws the frame a change has made due, at once, as a grab does; repaint()
// may leave it to the next composition of the window.
inline void drawPendingFrame(WorldView& world)
{
    world.grabFramebuffer();
}

// A shape that stays where it is put: a unit circle of one colour, no rim,
// a tiny eye and no motion.
inline SuperFormula stillDisc(double x, double y, float r, float g, float b)
{
    SuperFormula s(1, 1, 4, 2, 2, 2, 0);
    for (int k : {0, 1}) {
        s.colour[k][0] = r;
        s.colour[k][1] = g;
        s.colour[k][2] = b;
        s.colour[k][3] = 1;
    }
    s.border = 0;
    s.eye = 0.01;
    s.speed = 0;
    s.wander = 0;
    s.rotspeed = 0;
    s.position = {x, y};
    return s;
}

// Where each creature of the world is held: the same list while the
// population does not change.
inline std::vector<const SuperFormula*> shapesOf(const WorldView& world)
{
    std::vector<const SuperFormula*> held;
    for (const SuperFormula& creature : world.world().creatures())
        held.push_back(&creature);
    return held;
}
