#include "app/window.h"

#include "app/control_column.h"
#include "app/gl_widget.h"
#include "editor/super_view_box.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>

Window::Window(std::optional<unsigned> seed)
    : QWidget(nullptr, Qt::WindowFlags())
{
    world = new GLWidget(nullptr, seed);
    const ControlColumn column = buildControlColumn(world);
    rateSlider = column.rateSlider;

    QHBoxLayout* layout = new QHBoxLayout;
    layout->addWidget(world);
    layout->addWidget(column.widget);
    // The menus and the status line share the row above the layout's items.
    layout->setMenuBar(buildTopRow());
    setLayout(layout);

    connect(world, &GLWidget::edited, this, [this] {
        unsaved = true;
        if (world->population().size() < GLWidget::populationCap)
            status->clear();
    });
    connect(world, &GLWidget::populationFull, this, [this] {
        status->setText(tr("The world is full: it holds at most %1 creatures. Remove some with a right click "
                           "to breed again.")
                            .arg(GLWidget::populationCap));
    });

    world->timer();
    updateTitle();
}

QWidget* Window::buildTopRow()
{
    menus = buildMenus();
    status = new QLabel;
    QWidget* row = new QWidget;
    QHBoxLayout* rowLayout = new QHBoxLayout;
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->addWidget(menus);
    rowLayout->addWidget(status, 1, Qt::AlignRight);
    row->setLayout(rowLayout);
    return row;
}

QMenuBar* Window::buildMenus()
{
    QMenuBar* bar = new QMenuBar;
    QMenu* file = bar->addMenu(tr("&File"));
    file->addAction(tr("&Open world…"), this, &Window::openWorldFromDialog, QKeySequence(tr("Ctrl+O")));
    file->addAction(tr("Open &creature…"), this, &Window::openCreatureFromDialog, QKeySequence(tr("Ctrl+Shift+O")));
    file->addAction(tr("&Save world"), this, &Window::saveWorldToFile, QKeySequence(tr("Ctrl+S")));
    file->addAction(tr("Save world &as…"), this, &Window::saveWorldFromDialog, QKeySequence(tr("Ctrl+Shift+S")));
    file->addSeparator();
    file->addAction(tr("&Export picture…"), this, &Window::exportPictureFromDialog, QKeySequence(tr("Ctrl+E")));
    file->addSeparator();
    file->addAction(tr("&Quit"), this, &Window::quit, QKeySequence(tr("Ctrl+Q")));

    QMenu* worldMenu = bar->addMenu(tr("&World"));
    worldMenu->addAction(tr("&Pause"), this, &Window::togglePause, QKeySequence(Qt::Key_Space));
    return bar;
}

void Window::togglePause()
{
    world->timer();
    updateTitle();
}

void Window::updateTitle()
{
    const QString title = tr("Zidaza rod AroziVazirir!");
    setWindowTitle(world->isTicking() ? title : title + tr(" (paused)"));
}

void Window::closeEvent(QCloseEvent* event)
{
    if (settleUnsavedChanges())
        event->accept();
    else
        event->ignore();
}

void Window::quit()
{
    if (!close())
        return;
    // The program ends with its last window.
    for (SuperViewBox* editor : world->openEditors())
        editor->close();
}

bool Window::settleUnsavedChanges()
{
    if (path.isEmpty() || !unsaved)
        return true;
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, tr("Unsaved changes"),
                              tr("The world in “%1” has changed since it was saved. Save it?").arg(path),
                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Discard)
        return true;
    if (answer != QMessageBox::Save)
        return false;
    QString error;
    if (saveWorld(path, error))
        return true;
    showProblem(tr("save"), path, error);
    return false;
}

void Window::showProblem(const QString& action, const QString& file, const QString& error)
{
    QMessageBox::warning(this, tr("Could not %1").arg(action),
                         tr("Could not %1 “%2”: %3.").arg(action, file, error));
}
