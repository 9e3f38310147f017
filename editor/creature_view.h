#pragma once

#include <QOpenGLWidget>
#include <QTimer>

#include <list>
#include <optional>
#include <unordered_set>

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
// - The creatures' GL resources belong to this view's context. The view builds
//   them at a creature's first draw and releases them, with its context
//   current, when a creature is destroyed through it, when the context goes
//   (QOpenGLWidget makes a new one when the widget moves to another window)
//   and with the view.
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

    // Draws each creature at its position in the current modelview frame.
    void drawCreatures(const std::list<SuperFormula*>& creatures);
    // Draws `creature` about the origin of the current frame.
    void drawCreatureCentred(SuperFormula& creature);
    // Releases the creature's GL resources in this view's context, then
    // destroys it. Null is ignored.
    void destroyCreature(SuperFormula* creature);

private:
    // Notes that `creature` gets GL resources in this context at its next draw.
    void track(SuperFormula& creature);
    // The context is going: every creature's resources go with it, and are
    // built again in the next context.
    void releaseAllInContext();
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
    // The creatures that hold GL resources in this view's context.
    std::unordered_set<SuperFormula*> holdingResources;
};
