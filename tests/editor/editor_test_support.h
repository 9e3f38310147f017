#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QOffscreenSurface>
#include <QDialog>
#include <QOpenGLContext>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

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

// Fails the test on a dialog it did not expect, and closes that.
inline void rejectUnexpected(QWidget* modal)
{
    ADD_FAILURE() << "an unexpected " << modal->metaObject()->className();
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
}

// Answers the modal dialogs that come next in turn, each by its own step,
// polling as ModalAnswer does. A dialog beyond the last step, or of another
// kind than answerWith's, fails the test and is rejected, so that it
// cannot hang the test.
class ModalSequence {
public:
    using Step = std::function<void(QWidget*)>;

    explicit ModalSequence(std::vector<Step> steps, int patience = 5000) : steps(std::move(steps)), patience(patience)
    {
        clock.start();
        poll();
    }

    std::size_t answered = 0;

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        // One answered but not yet gone is no new dialog.
        if (modal && (last.isNull() || modal != last.data())) {
            last = modal;
            if (answered < steps.size())
                steps[answered++](modal);
            else
                rejectUnexpected(modal);
        }
        if (clock.elapsed() < patience)
            QTimer::singleShot(5, &guard, [this] { poll(); });
    }

    std::vector<Step> steps;
    int patience;
    QElapsedTimer clock;
    QPointer<QWidget> last;
    QObject guard;
};

template <typename Dialog>
ModalSequence::Step answerWith(std::function<void(Dialog*)> answer)
{
    return [answer](QWidget* modal) {
        if (auto* dialog = qobject_cast<Dialog*>(modal))
            answer(dialog);
        else
            rejectUnexpected(modal);
    };
}
