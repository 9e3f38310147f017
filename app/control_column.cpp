#include "app/control_column.h"

#include "app/world_view.h"

#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <functional>

ControlColumn buildControlColumn(WorldView* world)
{
    QSlider* slider = new QSlider(Qt::Vertical);
    slider->setRange(0, 200);
    slider->setSingleStep(1);
    slider->setTickInterval(10);
    slider->setTickPosition(QSlider::TicksBelow);
    // Connected first, so that setting 50 passes the rate on to the world.
    QObject::connect(slider, &QSlider::valueChanged, world,
                     [world](int hundredths) { world->edits().setMutationRate(hundredths / 100.0); });
    slider->setValue(50);

    struct Control {
        const char* text;
        std::function<void()> action;
    };
    const Control controls[] = {
        {"mode random", [world] { world->edits().setMode(BreedingMode::random); }},
        {"mode mutate", [world] { world->edits().setMode(BreedingMode::mutate); }},
        {"mode manykids", [world] { world->edits().setMode(BreedingMode::manyKids); }},
        {"nuke 'em", [world] { world->edits().removeAll(); }},
    };

    QWidget* column = new QWidget;
    QVBoxLayout* layout = new QVBoxLayout;
    layout->addWidget(slider);
    for (const Control& control : controls) {
        // Buttons act as soon as the mouse button goes down.
        QPushButton* button = new QPushButton(control.text);
        QObject::connect(button, &QPushButton::pressed, world, control.action);
        layout->addWidget(button);
    }
    column->setLayout(layout);
    return {column, slider};
}
