#include "app/world_view.h"
#include "editor/creature_editor.h"
#include "editor/creature_preview.h"
#include "shape/creature_bounds.h"
#include "shape/shape_file.h"
#include "shape/super_formula.h"
#include "tests/editor/editor_test_support.h"

#include <QApplication>
#include <QBoxLayout>
#include <QColorDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

// a 3.14, b 2.99, m 4, n1 n2 n3 2, rotspeed -12.7, eye 1.5, border 0.25.
SuperFormula* sampleShape()
{
    SuperFormula* shape = new SuperFormula(3.14, 2.99, 4.0, 2.0, 2.0, 2.0, 0);
    shape->rotspeed = -12.7;
    shape->eye = 1.5;
    shape->border = 0.25;
    return shape;
}

// Whether the preview's square shows anything but its white clearing.
bool showsAShape(CreaturePreview& preview)
{
    const QImage square = preview.squareFrame().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < square.height(); ++y)
        for (int x = 0; x < square.width(); ++x)
            if (square.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

// An editor whose "insert" reaches `world`, if one is given.
std::unique_ptr<CreatureEditor> openEditor(SuperFormula* shape, WorldView* world = nullptr)
{
    auto editor = std::make_unique<CreatureEditor>(shape);
    if (world)
        QObject::connect(editor.get(), &CreatureEditor::inserted, world, &WorldView::addCopyOf);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    return editor;
}

// Answers the next modal colour dialog, noting the colour it opened with.
class DialogAnswer : public ModalAnswer<QColorDialog> {
public:
    explicit DialogAnswer(std::function<void(QColorDialog*)> answer, int patience = 3000)
        : ModalAnswer<QColorDialog>(
              [this, answer](QColorDialog* dialog) {
                  initial = dialog->currentColor();
                  answer(dialog);
              },
              patience)
    {
    }

    QColor initial;
};

void pressAndRelease(QPushButton* button)
{
    QTest::mousePress(button, Qt::LeftButton);
    QTest::mouseRelease(button, Qt::LeftButton);
}

bool shapesEqual(const SuperFormula& x, const SuperFormula& y)
{
    for (int i = 0; i < 9; ++i)
        if (x.param(i) != y.param(i))
            return false;
    for (int k = 0; k < 3; ++k)
        for (int c = 0; c < 4; ++c)
            if (x.colour[k][c] != y.colour[k][c])
                return false;
    return true;
}

} // namespace

TEST(EditorWindow, IsAShownTopLevelWindowWithARunningPreview)
{
    SuperFormula* shape = sampleShape();
    auto editor = openEditor(shape);
    EXPECT_TRUE(editor->isWindow());
    EXPECT_EQ(editor->parentWidget(), nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->windowTitle(), QString("SuperFormula Viewer"));

    CreaturePreview* preview = editor->previewWidget();
    EXPECT_EQ(preview->shape(), shape);
    EXPECT_TRUE(editor->isAncestorOf(preview));
    ASSERT_NE(preview->tickTimer(), nullptr);
    EXPECT_TRUE(preview->tickTimer()->isActive());
    EXPECT_EQ(preview->tickTimer()->interval(), 10);
    // The preview draws the shape in its own context.
    EXPECT_TRUE(waitUntil([&] { return showsAShape(*preview); }));
    EXPECT_TRUE(waitUntil([&] { return shape->angle != 0.0; }));
}

TEST(EditorWindow, LayoutIsPreviewAndInsertBesideRowsAndColourButtons)
{
    auto editor = openEditor(sampleShape());
    auto* columns = qobject_cast<QHBoxLayout*>(editor->layout());
    ASSERT_NE(columns, nullptr);
    ASSERT_EQ(columns->count(), 2);

    QWidget* left = columns->itemAt(0)->widget();
    QWidget* right = columns->itemAt(1)->widget();
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);

    auto* leftLayout = qobject_cast<QVBoxLayout*>(left->layout());
    ASSERT_NE(leftLayout, nullptr);
    ASSERT_EQ(leftLayout->count(), 2);
    EXPECT_EQ(leftLayout->itemAt(0)->widget(), editor->previewWidget());
    EXPECT_EQ(leftLayout->itemAt(1)->widget(), editor->insertButtonWidget());
    EXPECT_EQ(editor->insertButtonWidget()->text(), QString("insert"));

    auto* rightLayout = qobject_cast<QVBoxLayout*>(right->layout());
    ASSERT_NE(rightLayout, nullptr);
    ASSERT_EQ(rightLayout->count(), 12);
    for (int i = 0; i < 9; ++i) {
        QWidget* row = rightLayout->itemAt(i)->widget();
        ASSERT_NE(row, nullptr);
        auto* rowLayout = qobject_cast<QHBoxLayout*>(row->layout());
        ASSERT_NE(rowLayout, nullptr);
        ASSERT_EQ(rowLayout->count(), 2);
        EXPECT_EQ(rowLayout->itemAt(0)->widget(), editor->label(i));
        EXPECT_EQ(rowLayout->itemAt(1)->widget(), editor->slider(i));
        EXPECT_EQ(rowLayout->stretch(0), 0);
        EXPECT_EQ(rowLayout->stretch(1), 0);
    }
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(rightLayout->itemAt(9 + k)->widget(), editor->colourButton(k));
        EXPECT_EQ(editor->colourButton(k)->text(), QString("colour %1").arg(k));
    }
    for (int i = 0; i < rightLayout->count(); ++i)
        EXPECT_EQ(rightLayout->stretch(i), 0);
}

TEST(EditorWindow, SlidersFollowTheParameterTable)
{
    auto editor = openEditor(sampleShape());
    const char* names[] = {"a", "b", "m", "n1", "n2", "n3", "rotspeed", "eye", "border"};
    const int ranges[9][2] = {{10, 100}, {10, 100}, {10, 200}, {1, 1000}, {1, 1000},
                              {1, 1000}, {-300, 300}, {0, 100}, {0, 100}};
    const int ticks[9] = {10, 10, 20, 100, 100, 100, 61, 11, 11};
    for (int i = 0; i < 9; ++i) {
        QSlider* slider = editor->slider(i);
        EXPECT_EQ(editor->label(i)->text(), QString(names[i]));
        EXPECT_EQ(slider->orientation(), Qt::Horizontal);
        EXPECT_EQ(slider->minimum(), ranges[i][0]) << i;
        EXPECT_EQ(slider->maximum(), ranges[i][1]) << i;
        EXPECT_EQ(slider->singleStep(), 1);
        EXPECT_EQ(slider->tickInterval(), ticks[i]) << i;
        EXPECT_EQ(slider->tickPosition(), QSlider::TicksBelow);
        EXPECT_TRUE(slider->hasTracking());
    }
}

TEST(EditorWindow, SlidersStartTruncatedTowardZeroWithoutTouchingTheShape)
{
    SuperFormula* shape = sampleShape();
    SuperFormula before(*shape);
    auto editor = openEditor(shape);
    // b: 29.9 gives 29, not the nearest 30; rotspeed: -12.7 gives -12, not -13.
    const int expected[9] = {31, 29, 40, 2, 2, 2, -12, 30, 25};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(editor->slider(i)->value(), expected[i]) << "slider " << i;
    EXPECT_TRUE(shapesEqual(*shape, before));
}

TEST(EditorWindow, ParametersBeyondTheRangeStayUntilTheirSliderMoves)
{
    SuperFormula* shape = sampleShape();
    shape->m = 25.0;
    shape->n1 = 1500.0;
    shape->n2 = 1e12; // past int's range
    shape->n3 = std::numeric_limits<double>::quiet_NaN();
    shape->rotspeed = -1e300;
    shape->eye = -3.0;
    auto editor = openEditor(shape);
    EXPECT_EQ(editor->slider(2)->value(), 200);
    EXPECT_EQ(editor->slider(3)->value(), 1000);
    EXPECT_EQ(editor->slider(4)->value(), 1000);
    EXPECT_EQ(editor->slider(5)->value(), 1); // left at the default, clamped
    EXPECT_EQ(editor->slider(6)->value(), -300);
    EXPECT_EQ(editor->slider(7)->value(), 0);
    EXPECT_EQ(shape->m, 25.0);
    EXPECT_EQ(shape->n1, 1500.0);
    EXPECT_EQ(shape->n2, 1e12);
    EXPECT_TRUE(std::isnan(shape->n3));

    editor->slider(3)->setValue(999);
    EXPECT_EQ(shape->n1, 999.0);
    EXPECT_EQ(shape->m, 25.0);
}

TEST(EditorWindow, MovingASliderSetsItsParameterInSteps)
{
    SuperFormula* shape = sampleShape();
    auto editor = openEditor(shape);
    editor->slider(0)->setValue(32);
    EXPECT_EQ(shape->a, 32 * 0.1);

    // Keyboard input on the real slider goes the same way.
    editor->slider(6)->setFocus();
    QTest::keyClick(editor->slider(6), Qt::Key_Right);
    EXPECT_EQ(editor->slider(6)->value(), -11);
    EXPECT_EQ(shape->rotspeed, -11.0);
}

TEST(EditorWindow, EverySliderSetsItsParameter)
{
    SuperFormula* shape = sampleShape();
    auto editor = openEditor(shape);
    for (int i = 0; i < 9; ++i) {
        QSlider* slider = editor->slider(i);
        const int target = slider->value() == slider->maximum() ? slider->minimum() : slider->value() + 1;
        slider->setValue(target);
        EXPECT_EQ(shape->param(i), target * boundsOf(paramField(i)).slider.step) << "slider " << i;
    }
}

TEST(EditorWindow, AcceptingTheColourDialogUnchangedTruncatesEachByte)
{
    SuperFormula* shape = sampleShape();
    const float start[4] = {1.0f, 0.5f, 0.25f, 0.999f};
    for (int c = 0; c < 4; ++c)
        shape->colour[1][c] = start[c];
    auto editor = openEditor(shape);

    DialogAnswer answer([](QColorDialog* dialog) {
        EXPECT_TRUE(dialog->testOption(QColorDialog::ShowAlphaChannel));
        EXPECT_TRUE(dialog->isModal());
        dialog->accept();
    });
    // The button acts on the press, before any release.
    QTest::mousePress(editor->colourButton(1), Qt::LeftButton);
    ASSERT_TRUE(answer.seen);
    EXPECT_EQ(answer.initial, QColor(255, 127, 63, 254));
    EXPECT_EQ(shape->colour[1][0], 1.0f);
    EXPECT_EQ(shape->colour[1][1], 127 / 255.0f);
    EXPECT_EQ(shape->colour[1][2], 63 / 255.0f);
    EXPECT_EQ(shape->colour[1][3], 254 / 255.0f);
    QTest::mouseRelease(editor->colourButton(1), Qt::LeftButton);

    // A second round trip keeps the bytes: no drift on repeated accepts.
    DialogAnswer again([](QColorDialog* dialog) { dialog->accept(); });
    pressAndRelease(editor->colourButton(1));
    ASSERT_TRUE(again.seen);
    EXPECT_EQ(again.initial, QColor(255, 127, 63, 254));
    EXPECT_EQ(shape->colour[1][1], 127 / 255.0f);
}

TEST(EditorWindow, ChosenColourAndAlphaReachOnlyThatColour)
{
    SuperFormula* shape = sampleShape();
    SuperFormula before(*shape);
    auto editor = openEditor(shape);
    DialogAnswer answer([](QColorDialog* dialog) {
        dialog->setCurrentColor(QColor(10, 20, 30, 40));
        dialog->accept();
    });
    pressAndRelease(editor->colourButton(2));
    ASSERT_TRUE(answer.seen);
    EXPECT_EQ(shape->colour[2][0], 10 / 255.0f);
    EXPECT_EQ(shape->colour[2][1], 20 / 255.0f);
    EXPECT_EQ(shape->colour[2][2], 30 / 255.0f);
    EXPECT_EQ(shape->colour[2][3], 40 / 255.0f);
    for (int k = 0; k < 2; ++k)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(shape->colour[k][c], before.colour[k][c]);
}

TEST(EditorWindow, CancellingTheColourDialogChangesNothing)
{
    SuperFormula* shape = sampleShape();
    SuperFormula before(*shape);
    auto editor = openEditor(shape);
    DialogAnswer answer([](QColorDialog* dialog) {
        dialog->setCurrentColor(QColor(10, 20, 30, 40));
        dialog->reject();
    });
    pressAndRelease(editor->colourButton(0));
    ASSERT_TRUE(answer.seen);
    EXPECT_TRUE(shapesEqual(*shape, before));
}

TEST(EditorWindow, InsertHandsIndependentCopiesAtTheOriginToTheWorld)
{
    WorldView world;
    const std::size_t population = world.world().creatures().size();
    SuperFormula* shape = sampleShape();
    shape->position = {2.5, -3.0};
    auto editor = openEditor(shape, &world);

    QTest::mousePress(editor->insertButtonWidget(), Qt::LeftButton);
    ASSERT_EQ(world.world().creatures().size(), population + 1);
    QTest::mouseRelease(editor->insertButtonWidget(), Qt::LeftButton);
    pressAndRelease(editor->insertButtonWidget());
    ASSERT_EQ(world.world().creatures().size(), population + 2);

    const SuperFormula* first = &*std::prev(world.world().creatures().end(), 2);
    const SuperFormula* second = &world.world().creatures().back();
    EXPECT_EQ(shape->position.x, 0.0);
    EXPECT_EQ(shape->position.y, 0.0);
    for (const SuperFormula* copy : {first, second}) {
        EXPECT_EQ(copy->position.x, 0.0);
        EXPECT_EQ(copy->position.y, 0.0);
        EXPECT_TRUE(shapesEqual(*copy, *shape));
    }

    SuperFormula snapshot(*first);
    editor->slider(0)->setValue(77);
    DialogAnswer answer([](QColorDialog* dialog) {
        dialog->setCurrentColor(QColor(1, 2, 3, 4));
        dialog->accept();
    });
    pressAndRelease(editor->colourButton(0));
    ASSERT_TRUE(answer.seen);
    EXPECT_EQ(shape->a, 77 * 0.1);
    EXPECT_TRUE(shapesEqual(*first, snapshot));
    EXPECT_TRUE(shapesEqual(*second, snapshot));
}

TEST(EditorWindow, InsertAfterTheWorldIsGoneDoesNothing)
{
    auto world = std::make_unique<WorldView>();
    SuperFormula* shape = sampleShape();
    // Standing still, so that the preview's ticks leave the position alone.
    shape->speed = 0;
    shape->position = {1.0, 1.0};
    auto editor = openEditor(shape, world.get());
    world.reset();
    pressAndRelease(editor->insertButtonWidget());
    EXPECT_EQ(shape->position.x, 1.0);
    EXPECT_EQ(shape->position.y, 1.0);
}

TEST(EditorWindow, NullShapeMakesEverySlotDoNothing)
{
    WorldView world;
    const std::size_t population = world.world().creatures().size();
    auto editor = openEditor(nullptr, &world);
    const int defaults[9] = {10, 10, 10, 1, 1, 1, 0, 0, 0};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(editor->slider(i)->value(), defaults[i]) << "slider " << i;

    for (int i = 0; i < 9; ++i)
        editor->slider(i)->setValue(editor->slider(i)->value() + 1);
    pressAndRelease(editor->insertButtonWidget());
    EXPECT_EQ(world.world().creatures().size(), population);

    DialogAnswer answer([](QColorDialog* dialog) { dialog->reject(); }, 300);
    for (int k = 0; k < 3; ++k)
        pressAndRelease(editor->colourButton(k));
    QTest::qWait(350);
    EXPECT_FALSE(answer.seen);
}

TEST(EditorWindow, EditorsOpenedOnOneWorldShapeAreIndependent)
{
    WorldView world;
    const SuperFormula* original = &world.world().creatures().front();
    SuperFormula snapshot(*original);
    const QWidgetList before = QApplication::topLevelWidgets();
    const QSet<QWidget*> existing(before.begin(), before.end());

    world.editAt(original->position.x, original->position.y);
    world.editAt(original->position.x, original->position.y);
    QList<CreatureEditor*> editors;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* editor = qobject_cast<CreatureEditor*>(widget); editor && !existing.contains(widget))
            editors.append(editor);
    ASSERT_EQ(editors.size(), 2);
    std::unique_ptr<CreatureEditor> one(editors[0]), two(editors[1]);

    SuperFormula* first = one->previewWidget()->shape();
    SuperFormula* second = two->previewWidget()->shape();
    ASSERT_NE(first, original);
    ASSERT_NE(second, original);
    ASSERT_NE(first, second);

    const int target = one->slider(3)->value() == 1 ? 2 : 1;
    one->slider(3)->setValue(target);
    EXPECT_EQ(first->n1, target * 1.0);
    EXPECT_TRUE(shapesEqual(*second, snapshot));
    EXPECT_TRUE(shapesEqual(*original, snapshot));
}

TEST(EditorWindow, DestructionRemovesItsWidgets)
{
    SuperFormula* shape = sampleShape();
    auto editor = openEditor(shape);

    QList<QPointer<QWidget>> parts = {editor->previewWidget(), editor->insertButtonWidget()};
    for (int i = 0; i < 9; ++i)
        parts << editor->slider(i) << editor->label(i);
    for (int k = 0; k < 3; ++k)
        parts << editor->colourButton(k);

    editor.reset();
    for (const QPointer<QWidget>& part : parts)
        EXPECT_TRUE(part.isNull());
}

TEST(EditorWindow, ClosedEditorLeavesNoObjectContextOrTimer)
{
    WorldView world;
    const SuperFormula* original = &world.world().creatures().front();
    world.editAt(original->position.x, original->position.y);
    ASSERT_EQ(world.openEditors().size(), 1u);
    QPointer<CreatureEditor> editor = world.openEditors().front();
    EXPECT_TRUE(editor->testAttribute(Qt::WA_DeleteOnClose));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.data()));
    QPointer<CreaturePreview> preview = editor->previewWidget();
    QPointer<QTimer> timer = preview->tickTimer();

    ASSERT_TRUE(editor->close());
    ASSERT_TRUE(waitUntil([&] { return editor.isNull(); }));
    EXPECT_TRUE(preview.isNull());
    EXPECT_TRUE(timer.isNull());
    EXPECT_TRUE(world.openEditors().empty());
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<CreatureEditor*>(widget), nullptr);
    EXPECT_EQ(&world.world().creatures().front(), original);
}

TEST(EditorWindow, CreatureIsKeptReopenedElsewhereAndInserted)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("designed.json");
    SuperFormula* designed = sampleShape();
    auto first = openEditor(designed);
    first->slider(0)->setValue(55);
    first->previewWidget()->toggleTicking(); // stopped, so the record holds still
    SuperFormula snapshot(*designed);
    const double blinkTime = designed->blinkTime;
    const bool eyeClosed = designed->eyeClosed;
    QString error;
    ASSERT_TRUE(first->saveCreature(path, error)) << error.toStdString();
    first.reset();

    WorldView world;
    world.world().replace({});
    auto second = openEditor(new SuperFormula(1, 1, 4, 2, 2, 2, 0), &world);
    second->previewWidget()->toggleTicking();
    ASSERT_TRUE(second->openCreature(path, error)) << error.toStdString();
    SuperFormula* opened = second->previewWidget()->shape();
    EXPECT_TRUE(shapesEqual(*opened, snapshot));
    EXPECT_EQ(opened->samples, snapshot.samples);
    EXPECT_EQ(opened->angle, snapshot.angle);
    EXPECT_EQ(opened->eyeClosed, eyeClosed);
    EXPECT_EQ(opened->blinkTime, blinkTime);
    EXPECT_EQ(second->slider(0)->value(), 55);
    EXPECT_EQ(second->slider(6)->value(), -12);
    // Placing the sliders wrote nothing back: -12.7 stays.
    EXPECT_EQ(opened->rotspeed, -12.7);

    pressAndRelease(second->insertButtonWidget());
    ASSERT_EQ(world.world().creatures().size(), 1u);
    EXPECT_TRUE(shapesEqual(world.world().creatures().front(), snapshot));
    // The preview draws the opened shape in its own context.
    second->previewWidget()->toggleTicking();
    EXPECT_TRUE(waitUntil([&] { return showsAShape(*second->previewWidget()); }));

    // Its picture, alone on transparency, at the size asked for.
    const QString picturePath = dir.filePath("designed.png");
    ASSERT_TRUE(second->exportPicture(picturePath, 48, error)) << error.toStdString();
    const QImage picture(picturePath);
    ASSERT_EQ(picture.size(), QSize(48, 48));
    EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(picture.pixel(24, 24)), 255);
    EXPECT_FALSE(second->exportPicture(dir.filePath("missing/folder/x.png"), 48, error));
}

TEST(EditorWindow, FaultyCreatureFileLeavesTheEditorAsItWas)
{
    QTemporaryDir dir;
    WorldView world;
    QString error;
    const QString worldOfTwenty = dir.filePath("world.json");
    {
        QJsonObject document;
        std::vector<const SuperFormula*> shapes;
        for (const SuperFormula& creature : world.world().creatures())
            shapes.push_back(&creature);
        ASSERT_TRUE(shapesToDocument(shapes, document, error));
        ASSERT_TRUE(writeFormatDocument(worldOfTwenty, document, error));
    }
    const QString notJson = dir.filePath("notes.json");
    QFile file(notJson);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"format\": \"superformula-world\", \"version\": 1, \"creatures\": [");
    file.close();

    SuperFormula* shape = sampleShape();
    auto editor = openEditor(shape, &world);
    for (const QString& path : {worldOfTwenty, notJson, dir.filePath("absent.json")}) {
        error.clear();
        EXPECT_FALSE(editor->openCreature(path, error)) << path.toStdString();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(editor->previewWidget()->shape(), shape);
    }
    EXPECT_FALSE(editor->saveCreature(dir.filePath("missing/folder/x.json"), error));
}
