#pragma once

#include <QMainWindow>

#include <optional>

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
    void quit();
    // With unsaved changes, whether or not the world has a file, asks
    // Save, Discard or Cancel. True when the changes may go: saved or
    // discarded; false when the user cancels, here or in a save's dialogs,
    // and the world stays as it was.
    bool settleUnsavedChanges();
    void showProblem(const QString& action, const QString& file, const QString& error);
    void updateTitle();

    WorldView* world;
    QSlider* rateSlider;
    QString path;
};
