#include "frames/frame_drawer.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include <GL/glu.h>

#include <algorithm>
#include <atomic>

namespace {

QSurfaceFormat fixedFunctionFormat()
{
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    return format;
}

} // namespace

FrameDrawer::FrameDrawer(double projectionHalfSide, const float clearColour[4], std::function<GLuint()> setUp)
    : projectionHalfSide(projectionHalfSide)
    , setUp(std::move(setUp))
    , worker(new QObject)
{
    std::copy(clearColour, clearColour + 4, clear);
    qRegisterMetaType<FrameDrawer::Frame>();
    // The surface and the context are made here, on the GUI thread, as Qt
    // asks; the context then moves to the drawing thread for good.
    surface = std::make_unique<QOffscreenSurface>();
    surface->setFormat(fixedFunctionFormat());
    surface->create();
    context = new QOpenGLContext;
    context->setFormat(fixedFunctionFormat());
    context->create();
    worker->moveToThread(&thread);
    context->moveToThread(&thread);
    thread.setObjectName(QStringLiteral("frames"));
    thread.start();
}

FrameDrawer::~FrameDrawer()
{
    // Blocks until the frame under way, if any, is done.
    QMetaObject::invokeMethod(
        worker,
        [this] {
            if (context->makeCurrent(surface.get())) {
                // Its threads end first; their last handlers post to nothing.
                renderer.reset();
                framebuffer.reset();
                if (texture)
                    glDeleteTextures(1, &texture);
                context->doneCurrent();
            }
            delete context;
            // Deleted as the thread ends, once out of its own event.
            worker->deleteLater();
        },
        Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
}

void FrameDrawer::makeCurrent()
{
    context->makeCurrent(surface.get());
    if (initialised)
        return;
    initialised = true;
    renderer = std::make_unique<CreatureRenderer>();
    // Runs on the renderer's threads: one call at a time reaches the GUI
    // thread, and none once this drawer is gone.
    auto posted = std::make_shared<std::atomic<bool>>(false);
    renderer->setOutlineReadyHandler([this, posted] {
        if (!posted->exchange(true))
            QMetaObject::invokeMethod(
                this,
                [this, posted] {
                    *posted = false;
                    emit outlinesReady();
                },
                Qt::QueuedConnection);
    });
    glShadeModel(GL_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (setUp)
        texture = setUp();
}

bool FrameDrawer::draw(int side, Drawing drawing)
{
    if (inFlight || side <= 0)
        return false;
    inFlight = true;
    QMetaObject::invokeMethod(
        worker,
        [this, side, drawing = std::move(drawing)] {
            Frame frame = drawFrame(side, drawing);
            QMetaObject::invokeMethod(
                this,
                [this, frame = std::move(frame)] {
                    inFlight = false;
                    emit frameDrawn(frame);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    return true;
}

FrameDrawer::Frame FrameDrawer::drawNow(int side, const Drawing& drawing)
{
    Frame frame;
    if (side > 0)
        QMetaObject::invokeMethod(
            worker, [&] { frame = drawFrame(side, drawing); }, Qt::BlockingQueuedConnection);
    return frame;
}

FrameDrawer::Frame FrameDrawer::drawFrame(int side, const Drawing& drawing)
{
    makeCurrent();
    if (!framebuffer || framebuffer->width() != side) {
        // An opaque framebuffer: the frame is what the screen shows.
        framebuffer = std::make_unique<QOpenGLFramebufferObject>(side, side, QOpenGLFramebufferObject::NoAttachment,
                                                                 GLenum(GL_TEXTURE_2D), GLenum(GL_RGB8));
        framebuffer->bind();
        glClearColor(clear[0], clear[1], clear[2], clear[3]);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    framebuffer->bind();
    glViewport(0, 0, side, side);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Bottom +h, top -h: y grows down the picture, as in the widget.
    gluOrtho2D(-projectionHalfSide, projectionHalfSide, projectionHalfSide, -projectionHalfSide);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    Canvas canvas{*renderer, texture};
    drawing(canvas);
    return {framebuffer->toImage(), renderer->lastFrame()};
}

QImage FrameDrawer::render(const std::function<QImage(Canvas&)>& job)
{
    QImage picture;
    QMetaObject::invokeMethod(
        worker,
        [this, &job, &picture] {
            makeCurrent();
            Canvas canvas{*renderer, texture};
            picture = job(canvas);
            if (framebuffer)
                framebuffer->bind();
        },
        Qt::BlockingQueuedConnection);
    return picture;
}
