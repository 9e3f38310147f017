#pragma once

#include <QGLWidget>
#include <list>

class QTimer;
class SuperFormula;

// The world: a population of superformula shapes swimming over a slowly
// turning background in the square [-5, 5]^2 (y down), ticked every 5 ms.
// The view never clears, so moving shapes leave fading trails. Owns its
// shapes and releases their display lists in its own context.
class GLWidget : public QGLWidget {
    Q_OBJECT

public:
    enum Mode { ModeRandom = 0, ModeMutate = 1, ModeManyKids = 2 };

    explicit GLWidget(QWidget* parent = nullptr);
    ~GLWidget() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Stores the breeding mode and shows its cursor over the view.
    void setMode(int v);

    // The first shape within one world unit of (x, y), or null.
    SuperFormula* shapeAt(double x, double y) const;
    // Appends a new random shape centred on (x, y).
    void spawnAt(double x, double y);
    // Appends n mutants, at the current rate, of the shape at (x, y), if any.
    void breedAt(double x, double y, int n);
    // Destroys the shape at (x, y), if any, releasing its list in this view.
    void removeAt(double x, double y);
    // Opens an editor window on a copy of the shape at (x, y), if any.
    void editAt(double x, double y);

    const std::list<SuperFormula*>& population() const { return things; }
    QTimer* tickTimer() const { return animationTimer; }
    double mutationRateValue() const { return rate; }
    int modeValue() const { return mode; }

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

    QTimer* animationTimer = nullptr;
    std::list<SuperFormula*> things;
    double rate = 0.5;
    int mode = ModeRandom;
};
