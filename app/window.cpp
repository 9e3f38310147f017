#include "app/window.h"

#include "app/control_column.h"
#include "app/gl_widget.h"

#include <QHBoxLayout>

Window::Window()
    : QWidget(nullptr, Qt::WindowFlags())
{
    world = new GLWidget;
    QWidget* column = buildControlColumn(world);

    QHBoxLayout* layout = new QHBoxLayout;
    layout->addWidget(world);
    layout->addWidget(column);
    setLayout(layout);

    setWindowTitle(tr("Zidaza rod AroziVazirir!"));
    world->timer();
}
