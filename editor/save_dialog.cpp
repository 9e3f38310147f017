#include "editor/save_dialog.h"

#include "shape/whole_file.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

QString askSavePath(QWidget* parent, const SaveKind& kind, const QString& start)
{
    QFileDialog dialog(parent, QFileDialog::tr(kind.title), start, QFileDialog::tr(kind.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromLatin1(kind.suffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return withDefaultSuffix(dialog.selectedFiles().constFirst(), QString::fromLatin1(kind.suffix));
}

bool saveOfferingSaveAs(QWidget* parent, const SaveKind& kind, const QString& path, bool ask,
                        const std::function<bool(const QString& path, QString& error)>& save)
{
    QString target = path;
    for (;;) {
        if (ask || target.isEmpty())
            target = askSavePath(parent, kind, target);
        if (target.isEmpty())
            return false;
        QString error;
        if (save(target, error))
            return true;

        const QString verb = QMessageBox::tr(kind.verb);
        QMessageBox box(QMessageBox::Warning, QMessageBox::tr("Could not %1").arg(verb),
                        QMessageBox::tr("Could not %1 “%2”: %3.").arg(verb, target, error), QMessageBox::Cancel,
                        parent);
        box.setInformativeText(QMessageBox::tr("Any file of that name is as it was. Save As… writes to another "
                                               "file instead."));
        QPushButton* saveAs = box.addButton(QMessageBox::tr("Save As…"), QMessageBox::AcceptRole);
        box.setDefaultButton(saveAs);
        box.exec();
        if (box.clickedButton() != saveAs)
            return false;
        ask = true;
    }
}
