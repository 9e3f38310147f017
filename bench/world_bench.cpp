// The world's frames and the input latency they leave. Needs a display: run
// it under xvfb-run.
//
// FrameCost: one frame of the world 800 pixels square, with 20, 600 and
// 10,000 creatures, drawn by each of the two off-screen targets a frame can
// have: target 0 is Qt's raster painter on a QImage (the creatures as
// polygons under radial gradients, the eye as three ellipses: the nearest
// the raster painter comes to the world's picture), target 1 the program's
// own, the creature renderer in an off-screen GL context (FrameDrawer),
// framebuffer read back included. frame_ms is the time per frame.
//
// InputLatency: a window of the world 800 pixels square and the control
// column, the world running on its timer, with 20, 80, 600, 2,000 and 10,000
// creatures. Another thread moves the X pointer (XWarpPointer on a
// connection of its own, so the move waits in the X queue as a user's
// would) from one control-column button onto another at random moments;
// the time until the button's repaint has been flushed to the screen is
// one sample. median_ms and p90_ms are over the samples, fps the frames that
// reached the window a second meanwhile. path 1 is the program: frames drawn
// off the GUI thread (the real Window); path 0 is the path before it:
// every tick draws its frame on the GUI thread into a QOpenGLWidget beside
// the buttons, so that Qt composes the whole window with GL, and input waits
// for the frame under way. Both paths run in the same process, one after
// the other, so that the ratio holds on a busy machine. The rows with 20
// viewers open (viewer windows beside the main one, each previewing a
// creature on its own tick) show what the viewers add.

#include "app/control_column.h"
#include "app/window.h"
#include "app/world_background.h"
#include "app/world_frame.h"
#include "app/world_view.h"
#include "editor/creature_editor.h"
#include "frames/frame_drawer.h"
#include "shape/creature_outline.h"
#include "shape/shape_random.h"
#include "shape/super_formula.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QOpenGLWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <random>
#include <thread>
#include <unordered_map>
#include <vector>

// The few Xlib calls the pointer mover makes, declared here: Xlib's header
// defines names (Window, None) that clash with Qt's.
extern "C" {
struct _XDisplay;
_XDisplay* XOpenDisplay(const char* name);
unsigned long XDefaultRootWindow(_XDisplay* display);
int XWarpPointer(_XDisplay* display, unsigned long source, unsigned long destination, int sourceX, int sourceY,
                 unsigned sourceWidth, unsigned sourceHeight, int x, int y);
int XFlush(_XDisplay* display);
int XCloseDisplay(_XDisplay* display);
}

namespace {

using Clock = std::chrono::steady_clock;

// `count` random creatures from seed 1.
Population seededCreatures(int count)
{
    seedShapeRandom(1);
    Population creatures;
    creatures.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<SuperFormula> creature(randomSuperFormula());
        creatures.push_back(std::move(*creature));
    }
    return creatures;
}

// Runs the event loop until `done`, or for at most a minute.
template <typename Done>
bool waitFor(Done done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

// --- FrameCost ---------------------------------------------------------

// The world drawn with Qt's raster painter: the background texture turned
// and laid over the last frame at a tenth of its opacity, each creature's
// rim and fill as polygons under radial gradients, its eye as three discs.
class RasterWorld {
public:
    explicit RasterWorld(int side)
        : frame(side, side, QImage::Format_RGB32)
        , texture(512, 512, QImage::Format_ARGB32_Premultiplied)
    {
        frame.fill(QColor::fromRgbF(worldClearColour[0], worldClearColour[1], worldClearColour[2]));
        std::mt19937 random(1);
        for (int y = 0; y < texture.height(); ++y)
            for (int x = 0; x < texture.width(); ++x)
                texture.setPixel(x, y, qPremultiply(qRgba(int(random() % 80) + 127, 51, 102, 26)));
    }

    void draw(const Population& creatures)
    {
        QPainter painter(&frame);
        const double side = frame.width();
        turn += 0.01;
        QBrush background(texture);
        background.setTransform(QTransform().rotate(turn).scale(side / 512, side / 512));
        painter.fillRect(frame.rect(), background);
        // World units to pixels, y down.
        painter.translate(side / 2, side / 2);
        painter.scale(side / 10, side / 10);
        painter.setPen(Qt::NoPen);
        for (const SuperFormula& creature : creatures)
            drawCreature(painter, creature);
    }

    QImage frame;

private:
    const QPolygonF& outline(const SuperFormula& c)
    {
        const OutlineFormula formula{c.a, c.b, c.m, c.n1, c.n2, c.n3, c.samples};
        auto [entry, added] = outlines.try_emplace(formula);
        if (added) {
            const Outline evaluated = evaluateOutline(formula);
            for (const OutlinePoint& p : evaluated.points)
                entry->second.append(QPointF(p.x * evaluated.fitScale, p.y * evaluated.fitScale));
        }
        return entry->second;
    }

    static QColor colour(const float c[4]) { return QColor::fromRgbF(c[0], c[1], c[2], c[3]); }

    void drawCreature(QPainter& painter, const SuperFormula& c)
    {
        painter.save();
        painter.translate(c.position.x, c.position.y);
        painter.save();
        painter.rotate(c.angle);
        const QPolygonF& body = outline(c);
        QRadialGradient rim(0, 0, 1);
        rim.setColorAt(0, Qt::transparent);
        rim.setColorAt(1, Qt::black);
        painter.setBrush(rim);
        painter.drawPolygon(body);
        painter.scale(1 - c.border, 1 - c.border);
        QRadialGradient fill(0, 0, 1);
        fill.setColorAt(0, colour(c.colour[1]));
        fill.setColorAt(1, colour(c.colour[0]));
        painter.setBrush(fill);
        painter.drawPolygon(body);
        painter.restore();
        const double eye = 0.3 * c.eye;
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(), eye, eye);
        painter.setBrush(colour(c.colour[2]));
        painter.drawEllipse(QPointF(), 0.6 * eye, 0.6 * eye);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QPointF(), 0.3 * eye, 0.3 * eye);
        painter.restore();
    }

    QImage texture;
    double turn = 0;
    std::unordered_map<OutlineFormula, QPolygonF, OutlineFormulaHash> outlines;
};

void FrameCost(benchmark::State& state)
{
    constexpr int side = 800;
    World world;
    world.replace(seededCreatures(int(state.range(0))));
    if (state.range(1) == 0) {
        RasterWorld raster(side);
        raster.draw(world.creatures());
        for (auto _ : state) {
            world.advance(0.005);
            raster.draw(world.creatures());
            benchmark::DoNotOptimize(raster.frame.constBits());
        }
    } else {
        FrameDrawer drawer(0.5, worldClearColour, setUpBackground);
        drawer.drawNow(side, worldFrame(world.snapshot(), true));
        for (auto _ : state) {
            world.advance(0.005);
            const FrameDrawer::Frame frame = drawer.drawNow(side, worldFrame(world.snapshot(), true));
            benchmark::DoNotOptimize(frame.image.constBits());
        }
    }
    state.counters["frame_ms"] =
        benchmark::Counter(double(state.iterations()) * 1e-3, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(FrameCost)
    ->ArgNames({"creatures", "target"})
    ->ArgsProduct({{20, 600, 10000}, {0, 1}})
    ->MinTime(1.0)->UseRealTime()->Unit(benchmark::kMillisecond);

// --- InputLatency ------------------------------------------------------

// The world as it was drawn before: each tick draws its frame at once on
// the GUI thread in a QOpenGLWidget and has Qt compose the window at most
// once a screen refresh; a paint that comes between frames shows the
// framebuffer as it is.
class GuiThreadWorld : public QOpenGLWidget {
public:
    explicit GuiThreadWorld(Population creatures)
    {
        QSurfaceFormat fixedFunction = format();
        fixedFunction.setProfile(QSurfaceFormat::CompatibilityProfile);
        setFormat(fixedFunction);
        setUpdateBehavior(QOpenGLWidget::PartialUpdate);
        world.replace(std::move(creatures));
        pause.setSingleShot(true);
        QObject::connect(&pause, &QTimer::timeout, [this] {
            if (framePending) {
                framePending = false;
                present();
            }
        });
        QObject::connect(&ticker, &QTimer::timeout, [this] { tick(); });
    }

    QSize sizeHint() const override { return QSize(800, 800); }
    void start() { ticker.start(5); }
    void stop() { ticker.stop(); }

    int frames = 0;

protected:
    void initializeGL() override
    {
        glShadeModel(GL_SMOOTH);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glClearColor(worldClearColour[0], worldClearColour[1], worldClearColour[2], worldClearColour[3]);
        glClear(GL_COLOR_BUFFER_BIT);
        background = setUpBackground();
    }

    void paintGL() override {}

private:
    void tick()
    {
        world.advance(0.005);
        if (!isVisible() || !isValid())
            return;
        makeCurrent();
        const QSize device = size() * devicePixelRatio();
        const int side = std::min(device.width(), device.height());
        glViewport((device.width() - side) / 2, (device.height() - side) / 2, side, side);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-0.5, 0.5, 0.5, -0.5, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        FrameDrawer::Canvas canvas{renderer, background};
        worldFrame(world.snapshot(), true)(canvas);
        ++frames;
        present();
    }

    void present()
    {
        if (pause.isActive()) {
            framePending = true;
            return;
        }
        update();
        pause.start(16);
    }

    World world;
    CreatureRenderer renderer;
    GLuint background = 0;
    QTimer ticker;
    QTimer pause;
    bool framePending = false;
};

// The old path's window: the world beside a column of the same controls.
class GuiThreadWindow : public QWidget {
public:
    explicit GuiThreadWindow(Population creatures)
        : world(new GuiThreadWorld(std::move(creatures)))
    {
        QHBoxLayout* layout = new QHBoxLayout(this);
        layout->addWidget(world);
        QVBoxLayout* column = new QVBoxLayout;
        QSlider* slider = new QSlider(Qt::Vertical);
        slider->setRange(0, 200);
        column->addWidget(slider);
        for (const char* text : {"mode random", "mode mutate", "mode manykids", "nuke 'em"})
            column->addWidget(new QPushButton(text));
        layout->addLayout(column);
    }

    GuiThreadWorld* world;
};

// Watches two buttons: the moment each repaint of one, and the flush of
// the window that follows in the same turn of the event loop, are done.
class RepaintWatch : public QObject {
public:
    RepaintWatch(QObject* first, QObject* second)
        : buttons{first, second}
    {
    }

    std::atomic<Clock::rep> flushedAt[2] = {{0}, {0}};

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        for (int k = 0; k < 2; ++k)
            if (object == buttons[k] && event->type() == QEvent::Paint)
                // Posted: runs once the repaint manager has flushed the window.
                QMetaObject::invokeMethod(
                    this, [this, k] { flushedAt[k] = Clock::now().time_since_epoch().count(); },
                    Qt::QueuedConnection);
        return false;
    }

private:
    QObject* buttons[2];
};

// Moves the X pointer from `away` onto `first`, then between the centres of
// `first` and `second`, at random moments, from a thread and an X
// connection of its own, while this thread runs the event loop; the latency
// of each move from one button onto the other, from the move to the flush
// after the button's repaint, in milliseconds.
std::vector<double> hoverLatencies(QWidget* away, QPushButton* first, QPushButton* second, int samples)
{
    const QPoint points[2] = {first->mapToGlobal(first->rect().center()), second->mapToGlobal(second->rect().center())};
    const QPoint start = away->mapToGlobal(away->rect().center());
    RepaintWatch watch(first, second);
    qApp->installEventFilter(&watch);
    std::vector<double> latencies;
    std::atomic<bool> finished{false};

    std::thread mover([&] {
        _XDisplay* display = XOpenDisplay(nullptr);
        if (display) {
            XWarpPointer(display, 0, XDefaultRootWindow(display), 0, 0, 0, 0, start.x(), start.y());
            XFlush(display);
        }
        std::mt19937 random(7);
        // The first move only puts the pointer on a button.
        for (int i = 0; i <= samples && display; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20 + random() % 40));
            const int next = i % 2;
            const Clock::time_point moved = Clock::now();
            XWarpPointer(display, 0, XDefaultRootWindow(display), 0, 0, 0, 0, points[next].x(), points[next].y());
            XFlush(display);
            // The next move waits for this one's repaint to reach the screen.
            while (watch.flushedAt[next] < moved.time_since_epoch().count() && Clock::now() - moved < std::chrono::minutes(1))
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            const Clock::rep flushed = watch.flushedAt[next];
            if (i > 0 && flushed >= moved.time_since_epoch().count())
                latencies.push_back(std::chrono::duration<double, std::milli>(Clock::duration(flushed) - moved.time_since_epoch()).count());
        }
        if (display)
            XCloseDisplay(display);
        finished = true;
    });
    while (!finished)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    mover.join();
    qApp->removeEventFilter(&watch);
    return latencies;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(p * double(values.size())))];
}

void InputLatency(benchmark::State& state)
{
    constexpr int samples = 24;
    const int creatures = int(state.range(0));
    std::vector<double> latencies;
    double fps = 0;
    for (auto _ : state) {
        if (state.range(1) == 1) {
            Window window(1);
            WorldView* view = window.worldView();
            view->world().replace(seededCreatures(creatures));
            window.show();
            // A new window takes at most two thirds of the screen: grown to
            // give the world its 800 pixels.
            if (!QTest::qWaitForWindowExposed(&window)) {
                state.SkipWithError("the window was never exposed");
                return;
            }
            window.resize(window.width() + std::max(0, 800 - view->width()),
                          window.height() + std::max(0, 800 - view->height()));
            if (!waitFor([&] { return view->square().width() >= 800; })) {
                state.SkipWithError("the world is not shown 800 pixels square");
                return;
            }
            const QList<QPushButton*> buttons = window.findChildren<QPushButton*>();
            // Viewers open beside the main window, each previewing a creature.
            for (int i = 0; i < state.range(2); ++i) {
                view->openEditor(view->world().creatures()[std::size_t(i)]);
                view->openEditors().back()->move(window.frameGeometry().right() + 20 + 10 * i, 10 * i);
            }
            const int before = view->framesShown();
            QElapsedTimer clock;
            clock.start();
            latencies = hoverLatencies(view, buttons[0], buttons[1], samples);
            fps = (view->framesShown() - before) * 1000.0 / double(clock.elapsed());
            for (CreatureEditor* editor : view->openEditors())
                delete editor;
        } else {
            GuiThreadWindow window(seededCreatures(creatures));
            window.show();
            if (!QTest::qWaitForWindowExposed(&window)) {
                state.SkipWithError("the window was never exposed");
                return;
            }
            window.resize(window.width() + std::max(0, 800 - window.world->width()),
                          window.height() + std::max(0, 800 - window.world->height()));
            if (!waitFor([&] { return std::min(window.world->width(), window.world->height()) >= 800; })) {
                state.SkipWithError("the world is not shown 800 pixels square");
                return;
            }
            window.world->start();
            const QList<QPushButton*> buttons = window.findChildren<QPushButton*>();
            const int before = window.world->frames;
            QElapsedTimer clock;
            clock.start();
            latencies = hoverLatencies(window.world, buttons[0], buttons[1], samples);
            fps = (window.world->frames - before) * 1000.0 / double(clock.elapsed());
            window.world->stop();
        }
    }
    state.counters["median_ms"] = percentile(latencies, 0.5);
    state.counters["p90_ms"] = percentile(latencies, 0.9);
    state.counters["fps"] = fps;
    state.counters["max_ms"] = percentile(latencies, 1.0);
    state.counters["samples"] = double(latencies.size());
}
BENCHMARK(InputLatency)
    ->ArgNames({"creatures", "path", "viewers"})
    ->ArgsProduct({{20, 80, 600, 2000, 10000}, {0, 1}, {0}})
    ->Args({80, 1, 20})
    ->Args({600, 1, 20})
    ->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
