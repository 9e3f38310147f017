#pragma once

#include "shape/creature_renderer.h"

#include <QImage>
#include <QObject>
#include <QThread>

#include <GL/gl.h>

#include <functional>
#include <memory>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

// Draws a view's frames on a thread of its own, into the framebuffer of an
// off-screen GL context with the compatibility profile (the drawing is
// fixed-function GL 1.1 and GLU), and hands each finished frame to the GUI
// thread as an image. Made, used and destroyed on the GUI thread.
//
// - One frame at a time: draw() refuses a frame while one is being drawn, so
//   a late frame is dropped, never queued, and input never waits for one.
// - The framebuffer keeps the last frame, so a frame may lay itself over it.
//   It is made, and cleared to the clear colour, at the first frame and at
//   each change of size.
// - The frame's drawing runs on the drawing thread: it must hold what it
//   draws by value (a snapshot), never a reference into the GUI thread.
class FrameDrawer : public QObject {
    Q_OBJECT

public:
    // What a frame's drawing may use on the drawing thread, with the
    // context current, the framebuffer bound, the viewport over all of it,
    // the projection set and the modelview selected.
    struct Canvas {
        CreatureRenderer& renderer;
        // What the set-up returned: a view's texture, say. A drawing may
        // put another in its place for the drawings after it; the drawer
        // frees the one in place at its end, and the view the others.
        GLuint& texture;
    };
    using Drawing = std::function<void(Canvas&)>;

    // A finished frame: the framebuffer's pixels, opaque, and what the
    // renderer drew.
    struct Frame {
        QImage image;
        CreatureRenderer::FrameCounts counts;
    };

    // The projection puts -projectionHalfSide at the framebuffer's left and
    // top edges and +projectionHalfSide at its right and bottom ones (y
    // down). `setUp` runs once on the drawing thread, with the context
    // current, after the shared drawing state (smooth shading, blending by
    // source alpha) is set; what it returns is the canvas's texture.
    FrameDrawer(double projectionHalfSide, const float clearColour[4], std::function<GLuint()> setUp = nullptr);
    // Waits for the frame being drawn, then ends the thread and frees its
    // GL objects in their context.
    ~FrameDrawer() override;

    // Starts a frame `side` device pixels square unless one is being drawn
    // (then false, and nothing is done). frameDrawn() brings it.
    bool draw(int side, Drawing drawing);
    bool busy() const { return inFlight; }
    // Draws a frame as draw() does, after the one under way if any, and
    // waits for it: for a picture of a view that has shown none yet.
    Frame drawNow(int side, const Drawing& drawing);

    // Runs `job` on the drawing thread with the context current and waits
    // for its result: a picture drawn apart from the frames, into a
    // framebuffer of its own, or read from the canvas's texture. Not while
    // in a frame's drawing.
    QImage render(const std::function<QImage(Canvas&)>& job);

signals:
    void frameDrawn(const FrameDrawer::Frame& frame);
    // Outlines the renderer evaluated apart from the frames are ready: a
    // view that draws no frames of its own draws one to show them.
    void outlinesReady();

private:
    // On the drawing thread.
    Frame drawFrame(int side, const Drawing& drawing);
    void makeCurrent();

    const double projectionHalfSide;
    float clear[4];
    std::function<GLuint()> setUp;
    bool inFlight = false;

    QThread thread;
    // Lives on the drawing thread: jobs are posted to it.
    QObject* worker;
    std::unique_ptr<QOffscreenSurface> surface;
    // The rest is touched only on the drawing thread.
    QOpenGLContext* context = nullptr;
    bool initialised = false;
    GLuint texture = 0;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer;
    std::unique_ptr<CreatureRenderer> renderer;
};

Q_DECLARE_METATYPE(FrameDrawer::Frame)
