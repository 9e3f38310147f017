#pragma once

#include "editor/creature_view.h"

#include <QPointer>

#include <list>
#include <memory>
#include <optional>
#include <vector>

class CreatureEditor;
class SuperFormula;

// The world: a population of superformula creatures swimming over a slowly
// turning background in the square [-5, 5]^2 (y down), ticked every 5 ms.
// Owns its creatures.
//
// Each frame is laid over the last, so moving creatures leave fading trails.
// A paused world draws a frame for every change to its population.
class WorldView : public CreatureView {
    Q_OBJECT

public:
    enum Mode { ModeRandom = 0, ModeMutate = 1, ModeManyKids = 2 };

    // The most shapes the world holds. Every shape is drawn in every frame,
    // and input waits for the frame being drawn: up to this many an 800
    // pixel window still answers input within 50 ms with Mesa's software
    // renderer on two cores (see the README). Breeding and inserting stop
    // at it.
    static constexpr std::size_t populationCap = 80;
    // The most shapes an opened world may hold: as many as a world could
    // grow to before the cap was measured, so that every world saved then
    // still opens. Such a world answers input more slowly, and breeds
    // again only once it is below populationCap.
    static constexpr std::size_t openedPopulationCap = 600;

    // Seeds the shape random streams with `seed`, or with the time in
    // seconds, and makes the first 20 shapes. The tick timer is not started.
    explicit WorldView(QWidget* parent = nullptr, std::optional<unsigned> seed = std::nullopt);
    ~WorldView() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Stores the breeding mode and shows its cursor over the view; a mode
    // other than the three keeps the cursor.
    void setMode(int v);
    // The slider's value: the mutation rate in hundredths.
    void setMutationRate(int hundredths);

    // The first shape within one world unit of (x, y), or null.
    SuperFormula* shapeAt(double x, double y) const;
    // Appends a new random shape centred on (x, y).
    void spawnAt(double x, double y);
    // Appends n mutants, at the current rate, of the shape at (x, y), if any;
    // as many as the cap leaves room for.
    void breedAt(double x, double y, int n);
    // Destroys the shape at (x, y), if any.
    void removeAt(double x, double y);
    // Opens an editor window on a copy of the shape at (x, y), if any.
    void editAt(double x, double y);
    // Opens an editor window on `shape`, which it takes; its "insert" adds
    // copies to this world.
    void openEditor(SuperFormula* shape);
    // Appends `shape`, which the world owns from then on; null is ignored.
    void addNewThing(SuperFormula* shape);
    // Appends a copy of `shape`: what an editor's "insert" sends.
    void addCopyOf(const SuperFormula& shape);
    // Destroys every shape; the timer, rate and mode are untouched.
    void killAll();
    // Destroys every shape and takes `shapes` as the population instead.
    // Over the cap, nothing changes and false is returned.
    bool replacePopulation(std::vector<std::unique_ptr<SuperFormula>> shapes);

    const std::list<SuperFormula*>& population() const { return things; }
    double mutationRateValue() const { return rate; }
    int modeValue() const { return mode; }
    // The editors this view opened that are still open; a closed editor
    // deletes itself and leaves no handle here.
    std::vector<CreatureEditor*> openEditors() const;

signals:
    // The user changed the population, the mutation rate or the mode: not
    // sent for the ticks' motion.
    void edited();
    // Shapes could not be added because the population is at the cap.
    void populationFull();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // The clear colour and the background's texture, besides the shared
    // creature drawing state.
    void initializeGL() override;
    void advance(double step) override;
    // The translucent background over the last frame, then every shape.
    void drawFrame() override;
    // The same frame with `shapes` in place of the population.
    void drawWorldOf(const std::list<SuperFormula*>& shapes);
    // The background's texture in this view's context; 0 until it is made.
    GLuint backgroundTexture() const { return background; }

private:
    // The population changed: a paused world draws one frame to show it, and
    // edited() is sent.
    void populationChanged();
    // Destroys every shape.
    void destroyThings();
    // Appends `shape` if the cap allows; otherwise destroys it and sends populationFull().
    bool adopt(SuperFormula* shape);

    std::list<SuperFormula*> things;
    double rate = 0.5;
    int mode = ModeRandom;
    std::vector<QPointer<CreatureEditor>> editors;
    // The background's texture in this view's context; 0 until it is made.
    GLuint background = 0;
};
