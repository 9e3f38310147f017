#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QOffscreenSurface>
#include <QOpenGLContext>

#include <functional>

// Runs the event loop until `done` holds or `milliseconds` have passed;
// returns whether it holds.
inline bool waitUntil(const std::function<bool()>& done, int milliseconds = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// A GL context of its own on an offscreen surface, optionally sharing the
// display-list namespace of `share`.
class ScratchContext {
public:
    explicit ScratchContext(QOpenGLContext* share = nullptr)
    {
        if (share) {
            context.setFormat(share->format());
            context.setShareContext(share);
            surface.setFormat(share->format());
        }
        surface.create();
        context.create();
    }

    bool makeCurrent() { return context.makeCurrent(&surface); }
    bool sharesWith(QOpenGLContext* other) { return QOpenGLContext::areSharing(&context, other); }

private:
    QOffscreenSurface surface;
    QOpenGLContext context;
};
