#include "app_test_world.h"

#include "app/window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QAction* editAction(Window& window, const QString& startsWith)
{
    for (QAction* title : window.menuBar()->actions())
        if (title->text().remove('&') == "Edit")
            for (QAction* item : title->menu()->actions())
                if (item->text().startsWith(startsWith))
                    return item;
    return nullptr;
}

} // namespace

// Edit ▸ Undo names the step and takes it back, on the standard keys; the
// marker of unsaved changes follows the history back to the saved world;
// an undone rate moves the slider; an opened world is undone whole.
TEST(WorldUndo, TheEditMenuUndoesAndRedoesTheWorldsChanges)
{
    QTemporaryDir folder;
    Window window(4);
    window.togglePause();
    WorldView& view = *window.worldView();
    view.world().replace({stillDisc(0, 0, 1, 0, 0)});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QString error;
    ASSERT_TRUE(window.saveWorld(folder.filePath("one.json"), error)) << error.toStdString();
    ASSERT_FALSE(window.hasUnsavedChanges());

    QAction* undo = editAction(window, "Undo");
    QAction* redo = editAction(window, "Redo");
    ASSERT_NE(undo, nullptr);
    ASSERT_NE(redo, nullptr);
    EXPECT_FALSE(undo->isEnabled());

    const QRect square = view.square();
    QTest::mousePress(&view, Qt::RightButton, {}, square.center());
    ASSERT_EQ(view.world().size(), 0u);
    EXPECT_EQ(undo->text(), "Undo Remove creature");
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_TRUE(window.hasUnsavedChanges());

    QTest::keySequence(&window, QKeySequence::Undo);
    ASSERT_EQ(view.world().size(), 1u);
    EXPECT_EQ(view.world().creatures()[0].position.x, 0.0);
    EXPECT_FALSE(window.hasUnsavedChanges());
    EXPECT_EQ(redo->text(), "Redo Remove creature");

    QTest::keySequence(&window, QKeySequence::Redo);
    EXPECT_EQ(view.world().size(), 0u);
    EXPECT_TRUE(window.hasUnsavedChanges());

    QSlider* rate = window.findChild<QSlider*>();
    ASSERT_NE(rate, nullptr);
    rate->setValue(120);
    rate->setValue(130);
    EXPECT_EQ(undo->text(), "Undo Change mutation rate");
    undo->trigger();
    EXPECT_EQ(view.world().mutationRate(), 0.5);
    EXPECT_EQ(rate->value(), 50);
    EXPECT_EQ(undo->text(), "Undo Remove creature");

    // Opened: the world is its file's, unchanged; undone, the world before.
    ASSERT_TRUE(window.openWorld(folder.filePath("one.json"), error)) << error.toStdString();
    EXPECT_EQ(view.world().size(), 1u);
    EXPECT_FALSE(window.hasUnsavedChanges());
    EXPECT_EQ(undo->text(), "Undo Open world");
    undo->trigger();
    EXPECT_EQ(view.world().size(), 0u);
    EXPECT_TRUE(window.hasUnsavedChanges());
    redo->trigger();
    EXPECT_EQ(view.world().size(), 1u);
    EXPECT_FALSE(window.hasUnsavedChanges());
}
