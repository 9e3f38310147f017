#include "editor/creature_editor.h"

#include "editor/creature_preview.h"
#include "shape/creature_bounds.h"
#include "shape/super_formula.h"

#include <QColor>
#include <QColorDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaMethod>
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

CreatureEditor::CreatureEditor(SuperFormula* shape)
    : QWidget(nullptr, Qt::WindowFlags())
{
    preview = new CreaturePreview(shape, nullptr);

    insertButton = new QPushButton(QStringLiteral("insert"));
    connect(insertButton, &QPushButton::pressed, this, &CreatureEditor::insert);

    for (int i = 0; i < 9; ++i) {
        const SliderRange& range = boundsOf(paramField(i)).slider;
        QSlider* slider = new QSlider(Qt::Horizontal);
        slider->setRange(range.firstPosition(), range.lastPosition());
        slider->setSingleStep(1);
        slider->setTickInterval((slider->maximum() - slider->minimum()) / 10 + 1);
        slider->setTickPosition(QSlider::TicksBelow);
        sliders[i] = slider;
        labels[i] = new QLabel(QString::fromStdString(paramName(i)));
    }
    placeSliders();
    for (int i = 0; i < 9; ++i)
        connect(sliders[i], &QSlider::valueChanged, this, [this, i](int p) { setParam(i, p); });

    for (int k = 0; k < 3; ++k) {
        colourButtons[k] = new QPushButton(QStringLiteral("colour %1").arg(k));
        connect(colourButtons[k], &QPushButton::pressed, this, [this, k] { setColour(k); });
    }

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
    preview->toggleTicking();
}

CreatureEditor::~CreatureEditor()
{
    delete insertButton;
    for (QSlider* slider : sliders)
        delete slider;
    for (QPushButton* button : colourButtons)
        delete button;
    delete preview;
}

void CreatureEditor::placeSliders()
{
    SuperFormula* shape = preview->shape();
    if (!shape)
        return;
    for (int i = 0; i < 9; ++i) {
        const QSignalBlocker quiet(sliders[i]);
        placeSlider(sliders[i], shape->param(i), boundsOf(paramField(i)).slider.step);
    }
}

void CreatureEditor::setParam(int i, int p)
{
    if (SuperFormula* shape = preview->shape())
        shape->setParamSteps(i, p);
}

void CreatureEditor::insert()
{
    SuperFormula* shape = preview->shape();
    if (!shape || !isSignalConnected(QMetaMethod::fromSignal(&CreatureEditor::inserted)))
        return;
    shape->position.x = 0.0;
    shape->position.y = 0.0;
    emit inserted(*shape);
}

void CreatureEditor::refuseInsert(const QString& why)
{
    insertButton->setEnabled(false);
    insertButton->setToolTip(tr("“insert” is off: %1. File ▸ Save creature… keeps the creature.").arg(why));
    setWindowTitle(tr("SuperFormula Viewer — %1").arg(why));
}

void CreatureEditor::setColour(int k)
{
    SuperFormula* shape = preview->shape();
    if (!shape)
        return;
    // Modal, with a nested event loop: the previews and the world keep ticking.
    const QColor chosen = QColorDialog::getColor(QColor::fromRgba(toRgba(shape->colour[k])), nullptr,
                                                 QString(), QColorDialog::ShowAlphaChannel);
    if (!chosen.isValid())
        return;
    fromRgba(chosen.rgba(), shape->colour[k]);
}
