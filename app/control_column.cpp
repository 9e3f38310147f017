#include "app/control_column.h"

#include "app/gl_widget.h"

#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

ControlColumn buildControlColumn(GLWidget* world)
{
    QSlider* slider = new QSlider(Qt::Vertical);
    slider->setRange(0, 200);
    slider->setSingleStep(1);
    slider->setTickInterval(10);
    slider->setTickPosition(QSlider::TicksBelow);
    // Connected first, so that setting 50 passes the rate on to the world.
    QObject::connect(slider, SIGNAL(valueChanged(int)), world, SLOT(mutationRate(int)));
    slider->setValue(50);

    struct Control {
        const char* text;
        const char* slot;
    };
    const Control controls[] = {
        {"mode random", SLOT(modeRandom())},
        {"mode mutate", SLOT(modeMutate())},
        {"mode manykids", SLOT(modeManyKids())},
        {"nuke 'em", SLOT(killAll())},
    };

    QWidget* column = new QWidget;
    QVBoxLayout* layout = new QVBoxLayout;
    layout->addWidget(slider);
    for (const Control& control : controls) {
        // Buttons act as soon as the mouse button goes down.
        QPushButton* button = new QPushButton(control.text);
        QObject::connect(button, SIGNAL(pressed()), world, control.slot);
        layout->addWidget(button);
    }
    column->setLayout(layout);
    return {column, slider};
}
