#include "app/window.h"

#include "app/gl_widget.h"
#include "app/world_file.h"
#include "editor/picture_file.h"
#include "shape/shape_file.h"
#include "shape/super_formula.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QSlider>

#include <cmath>

namespace {

const char* const worldFilter = "Worlds (*.json);;All files (*)";

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
    world->replacePopulation(std::move(record.creatures));
    world->setMode(record.mode);
    rateSlider->setValue(int(std::lround(record.mutationRate * 100)));
    path = file;
    unsaved = false;
    status->setText(tr("Opened “%1”: %2 creatures.").arg(QFileInfo(file).fileName()).arg(count));
}

bool Window::saveWorld(const QString& file, QString& error)
{
    if (!writeWorldFile(file, *world, error))
        return false;
    path = file;
    unsaved = false;
    status->setText(tr("Saved “%1”.").arg(QFileInfo(file).fileName()));
    return true;
}

bool Window::exportPicture(const QString& file, QString& error)
{
    // The square the view draws into (see GLWidget::resizeGL): the frame
    // beside it holds nothing of the world. GL counts rows from the bottom.
    const QImage frame = world->grabFrameBuffer();
    const int side = std::min(frame.width(), frame.height());
    const int x0 = (frame.width() - side) / 2;
    const int bottom = (frame.height() - side) / 2;
    const QImage square = frame.copy(x0, frame.height() - bottom - side, side, side);

    if (!savePicture(file, square, error))
        return false;
    status->setText(tr("Exported “%1”.").arg(QFileInfo(file).fileName()));
    return true;
}

bool Window::openCreature(const QString& file, QString& error)
{
    std::unique_ptr<SuperFormula> shape = readShapeFile(file, error);
    if (!shape)
        return false;
    world->openEditor(shape.release());
    return true;
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
    const QString file = QFileDialog::getOpenFileName(this, tr("Open creature"), QString(), tr(worldFilter));
    QString error;
    if (!file.isEmpty() && !openCreature(file, error))
        showProblem(tr("open"), file, error);
}

void Window::saveWorldToFile()
{
    QString error;
    if (path.isEmpty())
        saveWorldFromDialog();
    else if (!saveWorld(path, error))
        showProblem(tr("save"), path, error);
}

void Window::saveWorldFromDialog()
{
    const QString file = QFileDialog::getSaveFileName(this, tr("Save world as"), path, tr(worldFilter));
    QString error;
    if (!file.isEmpty() && !saveWorld(file, error))
        showProblem(tr("save"), file, error);
}

void Window::exportPictureFromDialog()
{
    const QString file =
        QFileDialog::getSaveFileName(this, tr("Export picture"), QString(), tr("PNG pictures (*.png)"));
    QString error;
    if (!file.isEmpty() && !exportPicture(file, error))
        showProblem(tr("export"), file, error);
}
