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
    // Writes the world to `path`, which becomes the world's file.
    bool saveWorld(const QString& path, QString& error);
    // Writes the world view's square as the screen shows it to a PNG file.
    bool exportPicture(const QString& path, QString& error);
    // Opens a viewer on the creature of a creature file, from which
    // "insert" puts it into the world.
    bool openCreature(const QString& path, QString& error);

    // The world's file: empty until one is opened or saved.
    const QString& worldPath() const { return path; }
    // Whether the population, rate or mode changed since the last open or
    // save; the title's marker shows it.
    bool hasUnsavedChanges() const { return isWindowModified(); }

    // Stops or restarts the world's tick; the title shows " (paused)".
    void togglePause();

protected:
    // With unsaved changes to a world that has a file, asks whether to save.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void openWorldFromDialog();
    void openCreatureFromDialog();
    void saveWorldToFile();
    void saveWorldFromDialog();
    void exportPictureFromDialog();
    void quit();
    // Asks whether to save unsaved changes to the world's file; false when
    // the user cancels or the save fails.
    bool settleUnsavedChanges();
    void showProblem(const QString& action, const QString& file, const QString& error);
    void updateTitle();

    WorldView* world;
    QSlider* rateSlider;
    QString path;
};
