#include "app_test_world.h"

#include "app/window.h"

#include <QBoxLayout>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QWidget* controlColumn(Window& window)
{
    return window.layout()->itemAt(1)->widget();
}

QPushButton* button(Window& window, const QString& text)
{
    for (QPushButton* b : controlColumn(window)->findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

} // namespace

TEST(MainWindow, TitleLayoutAndStartedTick)
{
    Window window;
    EXPECT_STREQ("Window", window.metaObject()->className());
    EXPECT_EQ(QString("Zidaza rod AroziVazirir!"), window.windowTitle());
    EXPECT_EQ(nullptr, window.parentWidget());
    EXPECT_FALSE(window.isVisible());

    auto* layout = qobject_cast<QHBoxLayout*>(window.layout());
    ASSERT_NE(nullptr, layout);
    ASSERT_EQ(2, layout->count());
    EXPECT_EQ(window.worldView(), layout->itemAt(0)->widget());
    EXPECT_EQ(&window, window.worldView()->parentWidget());
    EXPECT_EQ(0, layout->stretch(0));
    EXPECT_EQ(0, layout->stretch(1));

    GLWidget* world = window.worldView();
    EXPECT_EQ(20u, world->population().size());
    ASSERT_NE(nullptr, world->tickTimer());
    EXPECT_TRUE(world->tickTimer()->isActive());
    EXPECT_EQ(5, world->tickTimer()->interval());
    EXPECT_EQ(0.5, world->mutationRateValue());
    EXPECT_EQ(GLWidget::ModeRandom, world->modeValue());
}

TEST(MainWindow, ControlColumnHoldsTheSliderThenFourButtons)
{
    Window window;
    QWidget* column = controlColumn(window);
    auto* layout = qobject_cast<QVBoxLayout*>(column->layout());
    ASSERT_NE(nullptr, layout);
    ASSERT_EQ(5, layout->count());

    auto* slider = qobject_cast<QSlider*>(layout->itemAt(0)->widget());
    ASSERT_NE(nullptr, slider);
    EXPECT_EQ(Qt::Vertical, slider->orientation());
    EXPECT_EQ(0, slider->minimum());
    EXPECT_EQ(200, slider->maximum());
    EXPECT_EQ(1, slider->singleStep());
    EXPECT_EQ(10, slider->tickInterval());
    EXPECT_EQ(QSlider::TicksBelow, slider->tickPosition());
    EXPECT_EQ(50, slider->value());

    const char* texts[] = {"mode random", "mode mutate", "mode manykids", "nuke 'em"};
    for (int i = 0; i < 4; ++i) {
        auto* b = qobject_cast<QPushButton*>(layout->itemAt(i + 1)->widget());
        ASSERT_NE(nullptr, b);
        EXPECT_EQ(QString(texts[i]), b->text());
        EXPECT_EQ(0, layout->stretch(i + 1));
    }
}

TEST(MainWindow, SliderSetsTheMutationRate)
{
    Window window;
    QSlider* slider = controlColumn(window)->findChild<QSlider*>();
    ASSERT_NE(nullptr, slider);
    slider->setValue(0);
    EXPECT_EQ(0.0, window.worldView()->mutationRateValue());
    slider->setValue(200);
    EXPECT_EQ(2.0, window.worldView()->mutationRateValue());
    slider->setValue(37);
    EXPECT_EQ(0.37, window.worldView()->mutationRateValue());
}

TEST(MainWindow, ButtonsActOnPressBeforeRelease)
{
    Window window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    GLWidget* world = window.worldView();

    QTest::mousePress(button(window, "mode manykids"), Qt::LeftButton);
    EXPECT_EQ(GLWidget::ModeManyKids, world->modeValue());
    EXPECT_EQ(Qt::SizeAllCursor, world->cursor().shape());
    QTest::mouseRelease(button(window, "mode manykids"), Qt::LeftButton);

    QTest::mousePress(button(window, "mode mutate"), Qt::LeftButton);
    EXPECT_EQ(GLWidget::ModeMutate, world->modeValue());
    EXPECT_EQ(Qt::UpArrowCursor, world->cursor().shape());
    QTest::mouseRelease(button(window, "mode mutate"), Qt::LeftButton);

    QTest::mousePress(button(window, "mode random"), Qt::LeftButton);
    EXPECT_EQ(GLWidget::ModeRandom, world->modeValue());
    EXPECT_EQ(Qt::WhatsThisCursor, world->cursor().shape());
    QTest::mouseRelease(button(window, "mode random"), Qt::LeftButton);

    ASSERT_FALSE(world->population().empty());
    QTest::mousePress(button(window, "nuke 'em"), Qt::LeftButton);
    EXPECT_TRUE(world->population().empty());
    QTest::mouseRelease(button(window, "nuke 'em"), Qt::LeftButton);
    EXPECT_TRUE(world->tickTimer()->isActive());
}

TEST(MainWindow, ShownWindowSizesFromTheHintsAndTicks)
{
    Window window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    GLWidget* world = window.worldView();
    EXPECT_GE(world->width(), 200);
    EXPECT_GE(world->height(), 200);
    EXPECT_LT(window.layout()->itemAt(1)->widget()->width(), world->width());
    const double angle = world->population().front()->angle;
    QTest::qWait(60);
    EXPECT_NE(angle, world->population().front()->angle);
}
