#include "app/window.h"

#include "app/control_column.h"
#include "app/world_background.h"
#include "app/world_view.h"
#include "breeder/background_bake.h"
#include "breeder/background_graph.h"
#include "breeder/breeder_window.h"
#include "editor/creature_editor.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QSlider>
#include <QStatusBar>
#include <QUndoStack>

#include <cmath>

namespace {

// The platform's key for `key`, or `fallback` where it has none.
QKeySequence standardKey(QKeySequence::StandardKey key, const char* fallback)
{
    const QKeySequence keys(key);
    return keys.isEmpty() ? QKeySequence(fallback) : keys;
}

} // namespace

Window::Window(std::optional<unsigned> seed)
    : QMainWindow(nullptr, Qt::WindowFlags())
    , seed(seed)
    , background{breeder::noiseBackground(1, backgroundStops, 4), QImage()}
    , baker(new BackgroundBake(BackgroundBake::backgroundGrid(), this))
{
    world = new WorldView(nullptr, seed);
    const ControlColumn column = buildControlColumn(world);
    rateSlider = column.rateSlider;

    QWidget* central = new QWidget;
    QHBoxLayout* layout = new QHBoxLayout;
    layout->addWidget(world);
    layout->addWidget(column.widget);
    central->setLayout(layout);
    setCentralWidget(central);
    buildMenus();
    // Made now: made at the first message, it would take its height from the
    // world view then.
    statusBar();

    // The marker of unsaved changes: every change sets it, and the history
    // clears it when it comes back, by undo or redo, to where the world was
    // last opened or saved (or to the start). The world's handler hears a
    // step's change before the history moves, so the history has the last
    // word.
    connect(&world->history(), &QUndoStack::cleanChanged, this, [this](bool clean) { setWindowModified(!clean); });
    connect(world, &WorldView::edited, this, [this] {
        setWindowModified(true);
        // An undone or redone rate moves the slider; the slider's own moves
        // find the world at their value already.
        const int hundredths = int(std::lround(world->world().mutationRate() * 100));
        if (rateSlider->value() != hundredths)
            rateSlider->setValue(hundredths);
        if (!world->world().full())
            showHovered();
    });
    connect(world, &WorldView::hovered, this, [this](const QString& lineage) {
        // Another message stays until the pointer comes onto a creature.
        const bool shown = statusBar()->currentMessage() == hoveredLineage;
        hoveredLineage = lineage;
        if (!lineage.isEmpty() || shown)
            showHovered();
    });
    connect(world, &WorldView::populationFull, this, [this] {
        statusBar()->showMessage(tr("The world is full: it holds at most %1 creatures. Remove some with a right "
                                    "click to breed again.")
                                     .arg(World::populationBound));
    });

    connect(baker, &BackgroundBake::progressed, this, [this](int percent) {
        statusBar()->showMessage(tr("Baking the background from “%1”: %2%").arg(bakeSource).arg(percent));
    });
    connect(baker, &BackgroundBake::baked, this, &Window::backgroundBaked);
    connect(baker, &BackgroundBake::refused, this, [this](const QString& message) {
        statusBar()->showMessage(tr("The background stays: %1").arg(message));
        // Not modal: the bake ends while the world goes on.
        QMessageBox* box = new QMessageBox(QMessageBox::Warning, tr("Could not use the background"),
                                           tr("The background stays as it was. %1").arg(message), QMessageBox::Ok,
                                           this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    });

    world->toggleTicking();
    updateTitle();
}

void Window::buildMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open world…"), standardKey(QKeySequence::Open, "Ctrl+O"), this,
                    &Window::openWorldFromDialog);
    file->addAction(tr("Open &creature…"), QKeySequence(tr("Ctrl+Shift+O")), this, &Window::openCreatureFromDialog);
    file->addAction(tr("&Save world"), standardKey(QKeySequence::Save, "Ctrl+S"), this, &Window::saveWorldToFile);
    file->addAction(tr("Save world &as…"), standardKey(QKeySequence::SaveAs, "Ctrl+Shift+S"), this,
                    &Window::saveWorldFromDialog);
    file->addSeparator();
    file->addAction(tr("&Export picture…"), QKeySequence(tr("Ctrl+E")), this, &Window::exportPictureFromDialog);
    file->addSeparator();
    file->addAction(tr("&Quit"), standardKey(QKeySequence::Quit, "Ctrl+Q"), this, &Window::quit);

    // "Undo Remove creature": Qt names the step after the action.
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* undo = world->history().createUndoAction(this);
    undo->setShortcuts(QKeySequence::Undo);
    edit->addAction(undo);
    QAction* redo = world->history().createRedoAction(this);
    redo->setShortcuts(QKeySequence::Redo);
    edit->addAction(redo);

    QMenu* worldMenu = menuBar()->addMenu(tr("&World"));
    worldMenu->addAction(tr("&Pause"), QKeySequence(Qt::Key_Space), this, &Window::togglePause);
    worldMenu->addSeparator();
    worldMenu->addAction(tr("&Background…"), this, &Window::openBackgroundFromDialog);
    worldMenu->addAction(tr("B&reed background…"), this, &Window::breedBackground);
}

void Window::setBackgroundGraph(const std::string& text, const QString& source)
{
    bakeSource = source;
    statusBar()->showMessage(tr("Baking the background from “%1”…").arg(source));
    baker->bake(text, source);
}

// A background baked in place of another: undo shows the one before, redo
// the new one again.
class Window::BackgroundChanged : public QUndoCommand {
public:
    BackgroundChanged(Window& window, Background before, Background after)
        : QUndoCommand(tr("Change background")), window(window), before(std::move(before)), after(std::move(after))
    {
    }

    void undo() override { window.showBackground(before); }
    void redo() override { window.showBackground(after); }

private:
    Window& window;
    const Background before;
    const Background after;
};

void Window::backgroundBaked()
{
    tex::GraphError error;
    // The baker's text is one the reader took already.
    std::optional<breeder::BredGraph> graph = breeder::readBredGraph(baker->graphText(), error);
    if (!graph)
        return;
    world->history().push(new BackgroundChanged(*this, background, {std::move(*graph), baker->image()}));
    statusBar()->showMessage(tr("The background is baked from “%1”.").arg(bakeSource));
}

void Window::showBackground(const Background& shown)
{
    background = shown;
    world->setBackground(shown.image);
}

BreederWindow* Window::breedBackground()
{
    if (!breeder) {
        breeder = new BreederWindow(background.graph, rateSlider->value() / 100.0, seed);
        // A window of its own that closes and goes with this one.
        breeder->setParent(this, Qt::Window);
        breeder->setAttribute(Qt::WA_DeleteOnClose);
        connect(rateSlider, &QSlider::valueChanged, breeder,
                [this](int value) { breeder->setMutationRate(value / 100.0); });
        connect(breeder, &BreederWindow::useAsBackground, this,
                [this](const std::string& text) { setBackgroundGraph(text, tr("the bred graph")); });
    }
    breeder->show();
    breeder->raise();
    breeder->activateWindow();
    return breeder;
}

void Window::togglePause()
{
    world->toggleTicking();
    updateTitle();
}

void Window::showHovered()
{
    if (hoveredLineage.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(hoveredLineage);
}

void Window::updateTitle()
{
    // [*] is where the title shows the marker of unsaved changes.
    const QString title = tr("Zidaza rod AroziVazirir![*]");
    setWindowTitle(world->isTicking() ? title : title + tr(" (paused)"));
}

void Window::closeEvent(QCloseEvent* event)
{
    if (!settleUnsavedChanges()) {
        event->ignore();
        return;
    }
    event->accept();
    // The breeder breeds for this world's background: it goes with it.
    if (breeder)
        breeder->close();
    // A world nobody sees has nothing to move for.
    if (world->isTicking())
        world->toggleTicking();
    // The viewers stay open, so that their creatures can still be saved, but
    // an "insert" would go into a world nobody sees any more.
    for (CreatureEditor* editor : world->openEditors()) {
        disconnect(editor, &CreatureEditor::inserted, world, nullptr);
        editor->refuseInsert(tr("the world has closed"));
    }
}

void Window::quit()
{
    if (!close())
        return;
    // The program ends with its last window.
    for (CreatureEditor* editor : world->openEditors())
        editor->close();
}

bool Window::settleUnsavedChanges()
{
    if (!isWindowModified())
        return true;
    const QString question = path.isEmpty()
        ? tr("The world has changes that have never been saved. Save them?")
        : tr("The world in “%1” has changed since it was saved. Save it?").arg(path);
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, tr("Unsaved changes"), question,
                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Discard)
        return true;
    return answer == QMessageBox::Save && saveWorldOfferingSaveAs(false);
}

void Window::showProblem(const QString& action, const QString& file, const QString& error)
{
    QMessageBox::warning(this, tr("Could not %1").arg(action),
                         tr("Could not %1 “%2”: %3.").arg(action, file, error));
}
