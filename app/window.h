#pragma once

#include <QWidget>

#include <optional>

class GLWidget;
class QLabel;
class QMenuBar;
class QSlider;
struct WorldRecord;

// The main window: the world view on the left, the control column on the
// right, and above them the menu bar (File and World menus) beside a
// status line. It starts the world's tick once it is built; it
// does not show itself.
//
// The window keeps the world's file: opening, saving and exporting run
// through the functions below, which take a path and report failure in
// `error`; the menus add the file dialogs and message boxes.
class Window : public QWidget {
    Q_OBJECT

public:
    // `seed` seeds the world's random streams; without it, the clock does.
    explicit Window(std::optional<unsigned> seed = std::nullopt);

    GLWidget* worldView() const { return world; }
    QMenuBar* menuBar() const { return menus; }
    QLabel* statusLine() const { return status; }

    // Replaces the population, mutation rate and mode with those of the
    // world file at `path`; on failure the world stays as it was.
    bool openWorld(const QString& path, QString& error);
    // Takes a world read from `path` as the current one.
    void showWorld(const QString& path, WorldRecord record);
    // Writes the world to `path`, which becomes the world's file.
    bool saveWorld(const QString& path, QString& error);
    // Writes the world view's square as it is now to a PNG file.
    bool exportPicture(const QString& path, QString& error);
    // Opens a viewer on the creature of a creature file, from which
    // "insert" puts it into the world.
    bool openCreature(const QString& path, QString& error);

    // The world's file: empty until one is opened or saved.
    const QString& worldPath() const { return path; }
    // Whether the population, rate or mode changed since the last open or save.
    bool hasUnsavedChanges() const { return unsaved; }

    // Stops or restarts the world's tick; the title shows " (paused)".
    void togglePause();

protected:
    // With unsaved changes to a world that has a file, asks whether to save.
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildTopRow();
    QMenuBar* buildMenus();
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

    GLWidget* world;
    QSlider* rateSlider;
    QMenuBar* menus;
    QLabel* status;
    QString path;
    bool unsaved = false;
};
