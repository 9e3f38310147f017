#pragma once

#include "frames/creature_view.h"
#include "world/world.h"
#include "world/world_history.h"

#include <QImage>

#include <GL/gl.h>
#include <QPointer>
#include <QUndoStack>

#include <memory>

#include <optional>
#include <vector>

class CreatureEditor;

// The world on screen: draws its World over a slowly turning background,
// ticked every 5 ms, and turns clicks into the world's calls. Owns the world.
//
// A frame is drawn from a snapshot of the population taken at the tick, off
// the GUI thread (CreatureView). A tick's frame lays the background over the
// last frame at a tenth of its opacity, so moving creatures leave fading
// trails. A paused world draws a frame for every change, with the background
// covering the last frame: every creature present shows, and no removed one.
class WorldView : public CreatureView {
    Q_OBJECT

public:
    // Seeds the creature random streams with `seed`, or with the time in
    // seconds, and makes the first 20 creatures. The tick timer is not started.
    explicit WorldView(QWidget* parent = nullptr, std::optional<unsigned> seed = std::nullopt);
    ~WorldView() override;

    World& world() { return model; }
    const World& world() const { return model; }
    // The world's changes as undoable steps: every change made through the
    // view, its controls and its window goes through edits().
    WorldHistory& edits() { return changes; }
    QUndoStack& history() { return steps; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Opens an editor window on a copy of the creature at (x, y), if any.
    void editAt(double x, double y);
    // Opens an editor window on `creature`; its "insert" adds copies to
    // this world.
    void openEditor(const SuperFormula& creature);
    // Appends a copy of `creature`: what an editor's "insert" sends.
    void addCopyOf(const SuperFormula& creature);
    // The editors this view opened that are still open; a closed editor
    // deletes itself and leaves no handle here.
    std::vector<CreatureEditor*> openEditors() const;

    // The background's textures, touched only on the drawing thread: the
    // number of the background the frames use, the texture the set-up baked
    // (once another is shown) and the one that holds baked images.
    struct BackgroundTextures {
        int number = 0;
        GLuint baked = 0;
        GLuint image = 0;
    };

    // Shows `image` (RGBA8888, as BackgroundBake bakes it), or the default
    // background for a null one, as the turning background from the next
    // frame on, in the place and at the turn of the one before.
    void setBackground(const QImage& image);
    // The background texture as the frames use it, read back from the
    // drawing thread's context as RGBA8888, first line at t = 0.
    QImage backgroundTexture();

signals:
    // The population, the mutation rate or the mode changed: not sent for
    // the ticks' motion.
    void edited();
    // Creatures could not be added because the world is full.
    void populationFull();
    // The pointer came onto another creature, or off every one: its lineage
    // in words ("Creature 5: generation 3, child of creature 17"), or an
    // empty text.
    void hovered(const QString& lineage);

protected:
    // Left: what the breeding mode does; right: removes; any other: edits.
    void mousePressEvent(QMouseEvent* event) override;
    // The hovered creature is the first under the pointer (World::creatureAt).
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void advance(double step) override;
    // The background over the last frame, then every creature and the
    // hovered creature's ancestors' rings.
    FrameDrawer::Drawing frame(bool ticked) override;

private:
    // Shows the breeding mode's cursor over the view.
    void showModeCursor();
    // The world changed: a paused world draws a frame to show it, and
    // edited() is sent.
    void worldChanged(World::Change change);
    // Finds the creature under the pointer; when it is another than before,
    // says so (hovered()) and asks for a frame with its ancestors ringed.
    void updateHover();
    // Where the hovered creature's ancestors are: its parent, the parent's
    // parent and so on, as long as each is still in the world.
    std::vector<SuperFormula::Vector> ancestorPlaces() const;

    World model;
    QUndoStack steps;
    WorldHistory changes{model, steps};
    std::vector<QPointer<CreatureEditor>> editors;
    // The pointer's place in the world while it is over the view, and the
    // lineage of the creature under it (id 0: none).
    std::optional<QPointF> pointer;
    SuperFormula::Lineage hoveredLineage;
    // The background set last (null: the default), and its number (0: the
    // one the set-up baked).
    std::shared_ptr<const QImage> background;
    int backgroundNumber = 0;
    std::shared_ptr<BackgroundTextures> backgroundTextures = std::make_shared<BackgroundTextures>();
};
