#pragma once

#include "frames/frame_drawer.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

// What the world view and the creature preview share: a plain widget that
// shows frames of creatures, drawn on a thread of its own by a FrameDrawer,
// in the largest square centred in the widget, moved on by a tick timer of
// its own.
//
// - The square is measured in device pixels, so a high-DPI screen gets every
//   pixel it has; nothing is drawn beside it. The projection puts
//   -projectionHalfSide at the square's left and top edges and
//   +projectionHalfSide at its right and bottom ones (y points down); a press
//   maps to the view's world, -worldHalfSide to +worldHalfSide across.
// - The first toggleTicking() creates the tick timer and starts it; later
//   calls stop and restart it. Each tick advances the creatures by the tick
//   step and asks for a frame: a tick that comes while a frame is being drawn
//   draws none, and the next frame starts as soon as that one is shown, from
//   the creatures as the last tick left them.
// - A stopped view asks for a frame at each change (changed()), at a resize
//   and once outlines evaluated apart from the frames are ready; such a
//   frame waits for the one being drawn, if any, and shows the view as it is
//   then.
// - A view that is hidden, or whose window is not exposed, draws nothing,
//   and draws a frame when it shows again.
// - The widget paints the last frame as it is: the screen, a grab and an
//   exported picture (squareFrame()) are the same pixels.
class CreatureView : public QWidget {
    Q_OBJECT

public:
    ~CreatureView() override;

    // One tick: advances the creatures by the tick step and asks for a frame.
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
    // The last frame, as the screen shows it in the square, in device
    // pixels. A view that has shown no frame of its square's size yet draws
    // one first, and waits for it.
    QImage squareFrame();
    // What the renderer drew in the last frame shown.
    CreatureRenderer::FrameCounts lastFrame() const { return shown.counts; }
    // Frames shown so far.
    int framesShown() const { return shownCount; }
    // A frame is being drawn, or one is owed to show the view as it is.
    bool framePending() const { return drawer->busy() || frameOwed; }

signals:
    // A frame reached the widget: it paints it next.
    void frameShown();

protected:
    // `clearColour` fills the framebuffer when it is made; `setUp` runs once
    // in the drawing thread's context (see FrameDrawer).
    CreatureView(double projectionHalfSide, double worldHalfSide, int tickInterval, double tickStep,
                 const float clearColour[4], std::function<GLuint()> setUp, QWidget* parent);

    // Moves the view's creatures on by `step` time units.
    virtual void advance(double step) = 0;
    // The drawing of a frame of the view as it is now, holding all it needs
    // by value. `ticked` is true for a tick's frame and false for a frame
    // that shows a stopped view as it is.
    virtual FrameDrawer::Drawing frame(bool ticked) = 0;
    // The creatures changed: a stopped view asks for a frame to show it.
    void changed();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // Runs `job` on the drawing thread and waits for its picture.
    QImage render(const std::function<QImage(FrameDrawer::Canvas&)>& job) { return drawer->render(job); }

private:
    // Asks the drawer for a frame; one that cannot start now is left for
    // frameDrawn() when `mustShow`, and dropped otherwise.
    void requestFrame(bool ticked, bool mustShow);
    void frameDrawn(const FrameDrawer::Frame& frame);
    // Shown, and its window exposed: frames are worth drawing.
    bool onScreen() const;

    const double worldHalfSide;
    const int tickInterval;
    const double tickStep;
    QTimer* ticker = nullptr;
    // A frame that must show the view as it is waits for the drawer.
    bool frameOwed = true;
    // A tick came while a frame was being drawn, and drew none.
    bool tickMissed = false;
    FrameDrawer::Frame shown;
    int shownCount = 0;
    // Declared last: destroyed first, so that no frame is drawn or
    // delivered into a view half gone.
    std::unique_ptr<FrameDrawer> drawer;
};
