#pragma once

#include <QGLWidget>
#include <QPointer>

#include <list>
#include <memory>
#include <optional>
#include <vector>

class QTimer;
class SuperFormula;
class SuperViewBox;

// The world: a population of superformula shapes swimming over a slowly
// turning background in the square [-5, 5]^2 (y down), ticked every 5 ms.
// The view never clears, so moving shapes leave fading trails. Owns its
// shapes and releases their display lists in its own context.
class GLWidget : public QGLWidget {
    Q_OBJECT

public:
    enum Mode { ModeRandom = 0, ModeMutate = 1, ModeManyKids = 2 };

    // The most shapes the world holds. Every shape is drawn in every frame
    // by Mesa's software renderer here; up to this many the view still
    // answers input within 100 ms (see the README). Breeding, inserting and
    // opening a world stop at it.
    static constexpr std::size_t populationCap = 600;

    // Seeds the shape random streams with `seed`, or with the time in
    // seconds, and makes the first 20 shapes.
    explicit GLWidget(QWidget* parent = nullptr, std::optional<unsigned> seed = std::nullopt);
    ~GLWidget() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Stores the breeding mode and shows its cursor over the view.
    void setMode(int v);

    // The first shape within one world unit of (x, y), or null.
    SuperFormula* shapeAt(double x, double y) const;
    // Appends a new random shape centred on (x, y).
    void spawnAt(double x, double y);
    // Appends n mutants, at the current rate, of the shape at (x, y), if any;
    // as many as the cap leaves room for.
    void breedAt(double x, double y, int n);
    // Destroys the shape at (x, y), if any, releasing its list in this view.
    void removeAt(double x, double y);
    // Opens an editor window on a copy of the shape at (x, y), if any.
    void editAt(double x, double y);
    // Opens an editor window on `shape`, which it takes.
    void openEditor(SuperFormula* shape);
    // Destroys every shape and takes `shapes` as the population instead.
    // Over the cap, nothing changes and false is returned.
    bool replacePopulation(std::vector<std::unique_ptr<SuperFormula>> shapes);

    const std::list<SuperFormula*>& population() const { return things; }
    QTimer* tickTimer() const { return animationTimer; }
    bool isTicking() const;
    double mutationRateValue() const { return rate; }
    int modeValue() const { return mode; }
    // The editors this view opened that are still open; a closed editor
    // deletes itself and leaves no handle here.
    std::vector<SuperViewBox*> openEditors() const;

signals:
    // The user changed the population, the mutation rate or the mode: not
    // sent for the ticks' motion.
    void edited();
    // Shapes could not be added because the population is at the cap.
    void populationFull();

protected slots:
    // One animation tick; hides QWidget::update(), so a connection to
    // "update()" on a GLWidget reaches the tick.
    void update();
    // Creates and starts the 5 ms tick timer on the first call, then toggles it.
    void timer();
    void mutationRate(int value);
    // Appends sf to the population, which owns it from then on; null is ignored.
    void addNewThing(SuperFormula* sf);
    void killAll();
    void modeRandom();
    void modeMutate();
    void modeManyKids();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

private:
    // The main window starts the tick; the editor inserts shapes.
    friend class Window;
    friend class SuperViewBox;

    // Scales the modelview to world units and draws the population over
    // whatever the frame already holds.
    void drawThings();
    // Destroys every shape, releasing its list in this view's context.
    void destroyThings();
    // Appends `shape` if the cap allows; otherwise destroys it and sends populationFull().
    bool adopt(SuperFormula* shape);

    QTimer* animationTimer = nullptr;
    std::list<SuperFormula*> things;
    double rate = 0.5;
    int mode = ModeRandom;
    std::vector<QPointer<SuperViewBox>> editors;
};
