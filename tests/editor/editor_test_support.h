#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QTimer>

#include <functional>

// Runs the event loop until `done` holds or `milliseconds` have passed;
// returns whether it holds. Objects deleted later (closed windows that
// delete themselves) go too, as they would in the application's loop.
inline bool waitUntil(const std::function<bool()>& done, int milliseconds = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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

// Answers the next modal dialog of class Dialog from inside its event loop:
// `answer` gets the dialog and must close it. Gives up after `patience`
// milliseconds; `seen` tells whether a dialog came.
template <typename Dialog>
class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(Dialog*)> answer, int patience = 3000)
        : answer(std::move(answer)), patience(patience)
    {
        clock.start();
        poll();
    }

    bool seen = false;

private:
    void poll()
    {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            seen = true;
            answer(dialog);
            return;
        }
        if (clock.elapsed() < patience)
            QTimer::singleShot(5, &guard, [this] { poll(); });
    }

    std::function<void(Dialog*)> answer;
    int patience;
    QElapsedTimer clock;
    // Cancels a pending poll when the answer goes out of scope.
    QObject guard;
};
