#pragma once

#include "texture/texture_graph.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <memory>
#include <string>

// The world's background baked from any graph file, off the GUI thread: the
// graph's output over the background's grid as 8-bit RGBA pixels, the same
// bytes texbake writes for that graph and grid. A bake reports its progress
// as it goes; the last finished bake stays until the next one finishes, so
// a view can keep drawing the old background meanwhile. A new bake cancels
// the one running, which then reports nothing.
class BackgroundBake : public QObject {
    Q_OBJECT

public:
    // The background's grid: 512 x 512 samples over [0, 16) x [0, 16) of the
    // plane z = 0, one period of a size-16 noise lattice.
    static tex::Grid backgroundGrid();

    explicit BackgroundBake(const tex::Grid& grid = backgroundGrid(), QObject* parent = nullptr);
    // Cancels the bake running and waits for it to stop.
    ~BackgroundBake() override;

    // Reads `text` as a graph file named `source` (for messages) and bakes
    // its output, on a thread of its own. A text that tex::readGraph refuses
    // (malformed, unknown types, over the cost bound) is refused with the
    // reader's message, and the last background stays.
    void bake(const std::string& text, const QString& source);

    // The last bake that finished: grid.width() x grid.height() pixels of
    // Format_RGBA8888, sample row 0 as the image's first line (a scalar
    // output in grey, alpha 255). Null until a bake finishes.
    const QImage& image() const { return finished; }
    // The graph file of image(), as the library writes it; empty until a
    // bake finishes.
    const std::string& graphText() const { return finishedText; }
    // Whether a bake is under way.
    bool busy() const { return running; }

signals:
    // The share of the bake done, 0 to 100, now and then.
    void progressed(int percent);
    // image() holds the new background.
    void baked();
    // The graph was refused; `message` says why, naming `source`.
    void refused(const QString& message);

private:
    // Posts `call` to the GUI thread, where it runs only if bake number
    // `number` is still the latest.
    template <typename Call>
    void report(int number, Call call);
    void run(int number, const std::string& text, const QString& source,
             const std::shared_ptr<std::atomic<bool>>& cancel);

    const tex::Grid grid;
    QImage finished;
    std::string finishedText;
    bool running = false;
    int bakes = 0;
    std::shared_ptr<std::atomic<bool>> cancel;
    // One bake at a time: a new one starts once the cancelled one stops.
    QThreadPool pool;
};
