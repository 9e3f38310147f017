#pragma once

#include "shape/creature_renderer.h"

#include <QOpenGLWidget>
#include <QTimer>

#include <atomic>
#include <vector>
#include <optional>

class SuperFormula;

// What the world view and the creature preview share: a GL view of
// superformula creatures in the largest square centred in the widget, moved
// on by a tick timer of its own.
//
// - The square is measured in device pixels, so a high-DPI screen gets every
//   pixel it has; nothing is drawn beside it. The projection puts
//   -projectionHalfSide at the square's left and top edges and
//   +projectionHalfSide at its right and bottom ones (y points down); a press
//   maps to the view's world, -worldHalfSide to +worldHalfSide across.
// - The first toggleTicking() creates the tick timer and starts it; later
//   calls stop and restart it. Each tick advances the creatures by the tick
//   step and draws a frame at once.
// - The framebuffer keeps the last frame exactly. It is cleared once when it
//   is made (at the first show, at each resize), and a frame is drawn only
//   when one is due: at a tick, and after scheduleFrame(). Any other paint
//   (an expose, a grab) shows the frame as it is, so the screen, a grab and an
//   exported picture agree.
// - The creatures are drawn by the view's CreatureRenderer, which holds no GL
//   object: a creature may be changed, copied or destroyed without its
//   context, and the view draws the same in a new one (QOpenGLWidget makes
//   a new context when the widget moves to another window). A creature whose
//   outline the renderer evaluates apart from the frame shows once it is
//   ready: a stopped view then draws a frame of its own.
// - The context has the compatibility profile: the drawing is fixed-function
//   GL 1.1 and GLU.
class CreatureView : public QOpenGLWidget {
    Q_OBJECT

public:
    ~CreatureView() override;

    // One tick: advances the creatures by the tick step and, while the view
    // is shown, draws a frame at once. It reaches the screen when Qt next
    // composes the window: at most once a screen refresh, and the last
    // frame of a run of ticks always gets there.
    void tick();
    // Creates and starts the tick timer on the first call; stops it or
    // starts it again on each later one.
    void toggleTicking();
    // Null until the first toggleTicking().
    QTimer* tickTimer() const { return ticker; }
    bool isTicking() const;

    // The square the view draws into, in device pixels from the widget's
    // top-left corner.
    QRect square() const;
    // The world point under `position` (in widget coordinates), or none for
    // a position beside the square. The square's far edges belong to it.
    std::optional<QPointF> worldPointAt(const QPointF& position) const;
    // The square as the screen shows it, in device pixels.
    QImage squareFrame();

protected:
    CreatureView(double projectionHalfSide, double worldHalfSide, int tickInterval, double tickStep,
                 QWidget* parent);

    // Moves the view's creatures on by `step` time units.
    virtual void advance(double step) = 0;
    // Draws a frame into the square viewport, over the last one.
    virtual void drawFrame() = 0;
    // Has the next paint draw a frame, for a change that a stopped view
    // should show too.
    void scheduleFrame();

    // Smooth shading and blending by source alpha, which every creature
    // view draws with. Views that add state call this first.
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    // Draws the frame if one is due; otherwise the framebuffer already holds it.
    void paintGL() override;

    // Draws each creature at its position in the current modelview frame,
    // in one call.
    void drawCreatures(const std::vector<SuperFormula>& creatures);
    // Draws `creature` about the origin of the current frame; a picture waits
    // for its outline where a frame would leave it out until it is ready.
    void drawCreatureCentred(const SuperFormula& creature,
                             CreatureRenderer::Unready unready = CreatureRenderer::Unready::leaveOut);
    CreatureRenderer& renderer() { return creatureRenderer; }

private:
    // On the GUI thread, after outlines evaluated apart from the frames are
    // ready: a stopped view draws a frame to show them.
    void outlinesReady();
    // With the context current: clears a new framebuffer and draws the frame
    // if one is due. QOpenGLWidget sets a viewport over the whole widget
    // before each paint, so the square's is set again first.
    void drawDueFrame();
    void useSquareViewport(const QSize& device);
    // Has Qt compose the window with the frame drawn by a tick. Composing
    // costs about as much as drawing a frame of hundreds of creatures in
    // software GL, more often than the screen shows frames is wasted, and
    // ticks come every few milliseconds.
    void present();

    const double projectionHalfSide;
    const double worldHalfSide;
    const int tickInterval;
    const double tickStep;
    QTimer* ticker = nullptr;
    // Runs for a screen refresh after each composition a tick asked for.
    QTimer presentationPause;
    // A tick drew a frame during the pause.
    bool framePending = false;
    // The framebuffer was just made and holds nothing defined yet.
    bool framebufferIsNew = true;
    // The next paint draws a frame.
    bool frameDue = true;
    // outlinesReady() is on its way to the GUI thread. Declared before the
    // renderer, whose threads set it until they end.
    std::atomic<bool> outlinesReadyPosted{false};
    CreatureRenderer creatureRenderer;
};
