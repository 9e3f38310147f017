#include "editor/creature_editor.h"

#include "editor/creature_preview.h"
#include "editor/picture_file.h"
#include "editor/save_dialog.h"
#include "shape/shape_file.h"
#include "shape/super_formula.h"
#include "shape/whole_file.h"

#include <QFileDialog>
#include <QImage>
#include <QInputDialog>
#include <QMenuBar>
#include <QMessageBox>

namespace {

const SaveKind creatureFiles = {"Save creature", CreatureEditor::fileFilter, "json", "save"};

} // namespace

QMenuBar* CreatureEditor::buildMenus()
{
    QMenuBar* bar = new QMenuBar;
    QMenu* file = bar->addMenu(tr("&File"));
    file->addAction(tr("&Open creature…"), QKeySequence(tr("Ctrl+O")), this, &CreatureEditor::openCreatureFromDialog);
    file->addAction(tr("&Save creature…"), QKeySequence(tr("Ctrl+S")), this, &CreatureEditor::saveCreatureFromDialog);
    file->addSeparator();
    file->addAction(tr("&Export picture…"), QKeySequence(tr("Ctrl+E")), this,
                    &CreatureEditor::exportPictureFromDialog);
    file->addSeparator();
    file->addAction(tr("&Close"), QKeySequence(tr("Ctrl+W")), this, &QWidget::close);
    return bar;
}

bool CreatureEditor::saveCreature(const QString& path, QString& error) const
{
    const SuperFormula* shape = preview->shape();
    if (!shape) {
        error = tr("there is no creature to save");
        return false;
    }
    return writeShapeFile(withDefaultSuffix(path, QStringLiteral("json")), *shape, error);
}

bool CreatureEditor::openCreature(const QString& path, QString& error)
{
    std::unique_ptr<SuperFormula> shape = readShapeFile(path, error);
    if (!shape)
        return false;
    preview->replaceShape(shape.release());
    placeSliders();
    return true;
}

bool CreatureEditor::exportPicture(const QString& path, int side, QString& error)
{
    const QImage picture = preview->picture(side);
    if (picture.isNull()) {
        error = tr("there is no creature to draw, or no framebuffer of %1 pixels square").arg(side);
        return false;
    }
    return savePicture(withDefaultSuffix(path, QStringLiteral("png")), picture, error);
}

void CreatureEditor::openCreatureFromDialog()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Open creature"), QString(), tr(CreatureEditor::fileFilter));
    QString error;
    if (!path.isEmpty() && !openCreature(path, error))
        showProblem(tr("open"), path, error);
}

void CreatureEditor::saveCreatureFromDialog()
{
    saveOfferingSaveAs(this, creatureFiles, QString(), true,
                       [this](const QString& path, QString& error) { return saveCreature(path, error); });
}

void CreatureEditor::exportPictureFromDialog()
{
    bool chosen = false;
    const int side = QInputDialog::getInt(this, tr("Export picture"), tr("Side of the square picture, in pixels:"),
                                          512, 16, 4096, 16, &chosen);
    if (!chosen)
        return;
    saveOfferingSaveAs(this, pictureFiles, QString(), true,
                       [this, side](const QString& path, QString& error) { return exportPicture(path, side, error); });
}

void CreatureEditor::showProblem(const QString& action, const QString& file, const QString& error)
{
    QMessageBox::warning(this, tr("Could not %1").arg(action), tr("Could not %1 “%2”: %3.").arg(action, file, error));
}
