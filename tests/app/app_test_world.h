#pragma once

#include "app/world_view.h"
#include "shape/super_formula.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>

#include <functional>
#include <vector>

using TestWorld = WorldView;

// Waits until `view` has shown a frame that it drew after every change so
// far: no frame is being drawn and none is owed.
inline bool settled(const CreatureView& view)
{
    QElapsedTimer clock;
    clock.start();
    while (view.framePending() && clock.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return !view.framePending();
}

// Shows `world` at the given size and waits until it shows a frame of it.
inline bool showAt(WorldView& world, int width, int height)
{
    world.resize(width, height);
    world.show();
    if (!QTest::qWaitForWindowExposed(&world))
        return false;
    QElapsedTimer clock;
    clock.start();
    while ((world.squareFrame().size() != world.square().size() || world.framePending()) && clock.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return world.squareFrame().size() == world.square().size() && world.width() == width
        && world.height() == height;
}

// The pixel of `frame` (a world's square) at the world point (wx, wy).
inline QRgb pixelAtWorld(const QImage& frame, double wx, double wy)
{
    const int side = frame.width();
    const int px = std::min(side - 1, int((wx / 10 + 0.5) * side));
    const int py = std::min(side - 1, int((wy / 10 + 0.5) * side));
    return frame.pixel(px, py) | 0xff000000u;
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
