#pragma once

#include "breeder/bred_graph.h"

#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include <optional>
#include <string>

class BackgroundBake;
class BreederWindow;
class QSlider;
class WorldView;
struct WorldRecord;

// The main window: the world view on the left and the control column on the
// right, with the File and World menus above and a status bar below, which
// says what was opened, saved or exported and when the world is full. The
// title marks unsaved changes. It starts the world's tick once it is built;
// it does not show itself.
//
// The window keeps the world's file: opening, saving and exporting run
// through the functions below, which take a path and report failure in
// `error`; the menus add the file dialogs and message boxes.
class Window : public QMainWindow {
    Q_OBJECT

public:
    // `seed` seeds the world's random streams; without it, the clock does.
    explicit Window(std::optional<unsigned> seed = std::nullopt);

    WorldView* worldView() const { return world; }

    // Replaces the population, mutation rate and mode with those of the
    // world file at `path`; on failure the world stays as it was.
    bool openWorld(const QString& path, QString& error);
    // Takes a world read from `path` as the current one.
    void showWorld(const QString& path, WorldRecord record);
    // Writes the world to `path`, which becomes the world's file; a name
    // for a new file gets ".json" where it has no suffix (withDefaultSuffix).
    bool saveWorld(const QString& path, QString& error);
    // Writes the world view's square as the screen shows it to a PNG file;
    // likewise with ".png".
    bool exportPicture(const QString& path, QString& error);
    // Opens a viewer on the creature of a creature file, from which
    // "insert" puts it into the world.
    bool openCreature(const QString& path, QString& error);

    // Reads the graph file (texbake's format) at `path` and bakes it as the
    // world's background; false, with `error` set, when it cannot be read.
    // The bake's end comes later: see setBackgroundGraph.
    bool openBackground(const QString& path, QString& error);
    // Bakes the graph file `text` as the world's background, off the GUI
    // thread, its progress in the status bar; the old background stays
    // until the new one is ready. A graph the reader or the cost bound
    // refuses is named in a message, and the world keeps its background.
    // `source` names the graph in the messages.
    void setBackgroundGraph(const std::string& text, const QString& source);
    // The graph of the background shown: the default's until a bake ends.
    // A bake that ends is a step of the world's history ("Change
    // background"), which undo and redo move between.
    const breeder::BredGraph& backgroundGraph() const { return background.graph; }
    BackgroundBake& backgroundBake() const { return *baker; }
    // Opens the texture breeder on the background's graph (or raises the
    // one open), at the rate of the rate slider, which it follows; its
    // "Use as background" bakes the chosen graph as the background.
    BreederWindow* breedBackground();

    // The world's file: empty until one is opened or saved.
    const QString& worldPath() const { return path; }
    // Whether the population, rate or mode changed since the program
    // started or the last open or save; the title's marker shows it.
    bool hasUnsavedChanges() const { return isWindowModified(); }

    // Stops or restarts the world's tick; the title shows " (paused)".
    void togglePause();

protected:
    // With unsaved changes, asks whether to save them first (see
    // settleUnsavedChanges). Once closed, the viewers this window opened
    // stay open with "insert" refused, saying why.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void openWorldFromDialog();
    void openCreatureFromDialog();
    void saveWorldToFile();
    void saveWorldFromDialog();
    // Saves the world to its file, or where `ask` or it has none to one the
    // user names, offering Save As… after a failure; false unless saved.
    bool saveWorldOfferingSaveAs(bool ask);
    void exportPictureFromDialog();
    void openBackgroundFromDialog();
    // A graph and its pixels: null pixels for the default.
    struct Background {
        breeder::BredGraph graph;
        QImage image;
    };
    class BackgroundChanged;
    void backgroundBaked();
    void showBackground(const Background& shown);
    void quit();
    // With unsaved changes, whether or not the world has a file, asks
    // Save, Discard or Cancel. True when the changes may go: saved or
    // discarded; false when the user cancels, here or in a save's dialogs,
    // and the world stays as it was.
    bool settleUnsavedChanges();
    void showProblem(const QString& action, const QString& file, const QString& error);
    void updateTitle();
    // The hovered creature's lineage in the status bar, or none.
    void showHovered();

    WorldView* world;
    QSlider* rateSlider;
    QString path;
    std::optional<unsigned> seed;
    Background background;
    BackgroundBake* baker;
    // What the bake under way is of, for the status bar.
    QString bakeSource;
    // The lineage of the creature under the pointer (WorldView::hovered),
    // empty off every creature.
    QString hoveredLineage;
    QPointer<BreederWindow> breeder;
};
