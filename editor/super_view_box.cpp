#include "editor/super_view_box.h"

#include "editor/super_view.h"
#include "shape/super_formula.h"

#include <QColor>
#include <QColorDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Puts `slider` at the position standing for `value` in steps of `step`,
// truncated toward zero. A value beyond the slider's range leaves it at the
// nearer end; the comparison is made before the conversion to int so that
// values past int's range (reachable by mutating a shape over and over) stay
// defined. A NaN leaves the slider where it is.
void placeSlider(QSlider* slider, double value, double step)
{
    const double steps = value / step;
    if (std::isnan(steps))
        return;
    if (steps >= slider->maximum())
        slider->setValue(slider->maximum());
    else if (steps <= slider->minimum())
        slider->setValue(slider->minimum());
    else
        slider->setValue(static_cast<int>(steps));
}

// A shape colour as the dialog's packed colour: each component times 255,
// truncated toward zero.
QRgb toRgba(const float colour[4])
{
    return QColor(static_cast<int>(colour[0] * 255), static_cast<int>(colour[1] * 255),
                  static_cast<int>(colour[2] * 255), static_cast<int>(colour[3] * 255))
        .rgba();
}

void fromRgba(QRgb rgba, float colour[4])
{
    colour[0] = qRed(rgba) / 255.0f;
    colour[1] = qGreen(rgba) / 255.0f;
    colour[2] = qBlue(rgba) / 255.0f;
    colour[3] = qAlpha(rgba) / 255.0f;
}

} // namespace

SuperViewBox::SuperViewBox(SuperFormula* shape, QObject* world)
    : QWidget(nullptr, Qt::WindowFlags())
    , world(world)
{
    preview = new SuperView(shape, nullptr);

    insertButton = new QPushButton(QStringLiteral("insert"));
    connect(insertButton, &QPushButton::pressed, this, &SuperViewBox::insert);

    for (int i = 0; i < 9; ++i) {
        QSlider* slider = new QSlider(Qt::Horizontal);
        slider->setRange(paramSliderRange[i][0], paramSliderRange[i][1]);
        slider->setSingleStep(1);
        slider->setTickInterval((slider->maximum() - slider->minimum()) / 10 + 1);
        slider->setTickPosition(QSlider::TicksBelow);
        sliders[i] = slider;
        labels[i] = new QLabel(QString::fromStdString(paramName(i)));
    }
    placeSliders();
    connect(sliders[0], &QSlider::valueChanged, this, &SuperViewBox::setParam0);
    connect(sliders[1], &QSlider::valueChanged, this, &SuperViewBox::setParam1);
    connect(sliders[2], &QSlider::valueChanged, this, &SuperViewBox::setParam2);
    connect(sliders[3], &QSlider::valueChanged, this, &SuperViewBox::setParam3);
    connect(sliders[4], &QSlider::valueChanged, this, &SuperViewBox::setParam4);
    connect(sliders[5], &QSlider::valueChanged, this, &SuperViewBox::setParam5);
    connect(sliders[6], &QSlider::valueChanged, this, &SuperViewBox::setParam6);
    connect(sliders[7], &QSlider::valueChanged, this, &SuperViewBox::setParam7);
    connect(sliders[8], &QSlider::valueChanged, this, &SuperViewBox::setParam8);

    for (int k = 0; k < 3; ++k)
        colourButtons[k] = new QPushButton(QStringLiteral("colour %1").arg(k));
    connect(colourButtons[0], &QPushButton::pressed, this, &SuperViewBox::setColour0);
    connect(colourButtons[1], &QPushButton::pressed, this, &SuperViewBox::setColour1);
    connect(colourButtons[2], &QPushButton::pressed, this, &SuperViewBox::setColour2);

    QWidget* left = new QWidget;
    QVBoxLayout* leftLayout = new QVBoxLayout;
    leftLayout->addWidget(preview);
    leftLayout->addWidget(insertButton);
    left->setLayout(leftLayout);

    QWidget* right = new QWidget;
    QVBoxLayout* rightLayout = new QVBoxLayout;
    for (int i = 0; i < 9; ++i) {
        QWidget* row = new QWidget;
        QHBoxLayout* rowLayout = new QHBoxLayout;
        rowLayout->addWidget(labels[i]);
        rowLayout->addWidget(sliders[i]);
        row->setLayout(rowLayout);
        rightLayout->addWidget(row);
    }
    for (QPushButton* button : colourButtons)
        rightLayout->addWidget(button);
    right->setLayout(rightLayout);

    QHBoxLayout* columns = new QHBoxLayout;
    columns->addWidget(left);
    columns->addWidget(right);
    // Above the columns, not among them.
    menus = buildMenus();
    columns->setMenuBar(menus);
    setLayout(columns);

    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("SuperFormula Viewer"));
    show();
    preview->timer();
}

SuperViewBox::~SuperViewBox()
{
    delete insertButton;
    for (QSlider* slider : sliders)
        delete slider;
    for (QPushButton* button : colourButtons)
        delete button;
    delete preview;
}

void SuperViewBox::placeSliders()
{
    SuperFormula* shape = preview->shape();
    if (!shape)
        return;
    for (int i = 0; i < 9; ++i) {
        const QSignalBlocker quiet(sliders[i]);
        placeSlider(sliders[i], shape->param(i), paramStep[i]);
    }
}

void SuperViewBox::setParam0(int p)
{
    setParam(0, p);
}

void SuperViewBox::setParam1(int p)
{
    setParam(1, p);
}

void SuperViewBox::setParam2(int p)
{
    setParam(2, p);
}

void SuperViewBox::setParam3(int p)
{
    setParam(3, p);
}

void SuperViewBox::setParam4(int p)
{
    setParam(4, p);
}

void SuperViewBox::setParam5(int p)
{
    setParam(5, p);
}

void SuperViewBox::setParam6(int p)
{
    setParam(6, p);
}

void SuperViewBox::setParam7(int p)
{
    setParam(7, p);
}

void SuperViewBox::setParam8(int p)
{
    setParam(8, p);
}

void SuperViewBox::setParam(int i, int p)
{
    if (SuperFormula* shape = preview->shape())
        shape->setParamSteps(i, p);
}

void SuperViewBox::insert()
{
    SuperFormula* shape = preview->shape();
    if (!world || !shape)
        return;
    shape->position.x = 0.0;
    shape->position.y = 0.0;
    SuperFormula* copy = new SuperFormula(*shape);
    // A world without the slot never took the copy.
    if (!QMetaObject::invokeMethod(world, "addNewThing", Qt::DirectConnection, Q_ARG(SuperFormula*, copy)))
        delete copy;
}

void SuperViewBox::setColour0()
{
    setColour(0);
}

void SuperViewBox::setColour1()
{
    setColour(1);
}

void SuperViewBox::setColour2()
{
    setColour(2);
}

void SuperViewBox::setColour(int k)
{
    SuperFormula* shape = preview->shape();
    if (!shape)
        return;
    // Modal, with a nested event loop: the previews and the world keep ticking.
    const QColor chosen = QColorDialog::getColor(QColor::fromRgba(toRgba(shape->colour[k])), nullptr,
                                                 QString(), QColorDialog::ShowAlphaChannel);
    if (!chosen.isValid())
        return;
    shape->listValid = false;
    fromRgba(chosen.rgba(), shape->colour[k]);
}
