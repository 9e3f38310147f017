#include "app/window.h"

#include "app/world_view.h"
#include "world/world_file.h"
#include "editor/creature_editor.h"
#include "editor/picture_file.h"
#include "editor/save_dialog.h"
#include "shape/shape_file.h"
#include "shape/super_formula.h"
#include "shape/whole_file.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QSlider>
#include <QStatusBar>


namespace {

const char* const worldFilter = "Worlds (*.json);;All files (*)";
const char* const graphFilter = "Graphs (*.json);;All files (*)";
// A graph file larger than this is no graph a background needs.
constexpr qint64 maxGraphBytes = 16 << 20;
const SaveKind worldFiles = {"Save world as", worldFilter, "json", "save"};

} // namespace

bool Window::openWorld(const QString& file, QString& error)
{
    WorldRecord record;
    if (!readWorldFile(file, record, error))
        return false;
    showWorld(file, std::move(record));
    return true;
}

void Window::showWorld(const QString& file, WorldRecord record)
{
    const std::size_t count = record.creatures.size();
    Population creatures;
    creatures.reserve(count);
    for (std::unique_ptr<SuperFormula>& creature : record.creatures)
        creatures.push_back(std::move(*creature));
    world->edits().open(std::move(creatures), record.nextId, record.mutationRate, record.mode);
    path = file;
    world->history().setClean();
    setWindowModified(false);
    statusBar()->showMessage(tr("Opened “%1”: %2 creatures.").arg(QFileInfo(file).fileName()).arg(count));
}

bool Window::saveWorld(const QString& file, QString& error)
{
    const QString target = withDefaultSuffix(file, QStringLiteral("json"));
    if (!writeWorldFile(target, world->world(), error))
        return false;
    path = target;
    world->history().setClean();
    setWindowModified(false);
    statusBar()->showMessage(tr("Saved “%1”.").arg(QFileInfo(target).fileName()));
    return true;
}

bool Window::exportPicture(const QString& file, QString& error)
{
    const QString target = withDefaultSuffix(file, QStringLiteral("png"));
    // Beside the square the frame holds nothing of the world.
    const QImage square = world->squareFrame();
    if (!savePicture(target, square, error))
        return false;
    statusBar()->showMessage(tr("Exported “%1”.").arg(QFileInfo(target).fileName()));
    return true;
}

bool Window::openCreature(const QString& file, QString& error)
{
    const std::unique_ptr<SuperFormula> creature = readShapeFile(file, error);
    if (!creature)
        return false;
    world->openEditor(*creature);
    return true;
}

bool Window::openBackground(const QString& file, QString& error)
{
    QByteArray bytes;
    if (!readWholeFile(file, maxGraphBytes, bytes, error))
        return false;
    setBackgroundGraph(bytes.toStdString(), QFileInfo(file).fileName());
    return true;
}

void Window::openBackgroundFromDialog()
{
    const QString file = QFileDialog::getOpenFileName(this, tr("Background"), QString(), tr(graphFilter));
    QString error;
    if (!file.isEmpty() && !openBackground(file, error))
        showProblem(tr("open"), file, error);
}

void Window::openWorldFromDialog()
{
    if (!settleUnsavedChanges())
        return;
    const QString file = QFileDialog::getOpenFileName(this, tr("Open world"), path, tr(worldFilter));
    QString error;
    if (!file.isEmpty() && !openWorld(file, error))
        showProblem(tr("open"), file, error);
}

void Window::openCreatureFromDialog()
{
    const QString file = QFileDialog::getOpenFileName(this, tr("Open creature"), QString(), tr(CreatureEditor::fileFilter));
    QString error;
    if (!file.isEmpty() && !openCreature(file, error))
        showProblem(tr("open"), file, error);
}

void Window::saveWorldToFile()
{
    saveWorldOfferingSaveAs(false);
}

void Window::saveWorldFromDialog()
{
    saveWorldOfferingSaveAs(true);
}

bool Window::saveWorldOfferingSaveAs(bool ask)
{
    return saveOfferingSaveAs(this, worldFiles, path, ask,
                              [this](const QString& file, QString& error) { return saveWorld(file, error); });
}

void Window::exportPictureFromDialog()
{
    saveOfferingSaveAs(this, pictureFiles, QString(), true,
                       [this](const QString& file, QString& error) { return exportPicture(file, error); });
}
