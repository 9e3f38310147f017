#include "app_test_world.h"

#include "app/window.h"
#include "editor/creature_editor.h"
#include "editor/creature_preview.h"
#include "shape/shape_file.h"
#include "tests/editor/editor_test_support.h"

#include <QAction>
#include <QBoxLayout>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>


#include <gtest/gtest.h>

namespace {

QWidget* controlColumn(Window& window)
{
    return window.centralWidget()->layout()->itemAt(1)->widget();
}

QPushButton* button(Window& window, const QString& text)
{
    for (QPushButton* b : controlColumn(window)->findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

QAction* action(Window& window, const QString& menu, const QString& text)
{
    for (QAction* title : window.menuBar()->actions())
        if (title->text().remove('&') == menu)
            for (QAction* item : title->menu()->actions())
                if (item->text().remove('&') == text)
                    return item;
    return nullptr;
}

int creaturesIn(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return QJsonDocument::fromJson(file.readAll()).object()["creatures"].toArray().size();
}

// Shown and made the active window, which window shortcuts need; without
// a window manager nothing else activates it.
bool shownAndActive(Window& window)
{
    window.show();
    const bool exposed = QTest::qWaitForWindowExposed(&window);
    QApplication::setActiveWindow(&window);
    return exposed && QApplication::activeWindow() == &window;
}

} // namespace

TEST(MainWindow, TitleLayoutAndStartedTick)
{
    Window window;
    EXPECT_STREQ("Window", window.metaObject()->className());
    // "[*]" is where the title shows the marker of unsaved changes.
    EXPECT_EQ(QString("Zidaza rod AroziVazirir![*]"), window.windowTitle());
    EXPECT_EQ(nullptr, window.parentWidget());
    EXPECT_FALSE(window.isVisible());

    auto* layout = qobject_cast<QHBoxLayout*>(window.centralWidget()->layout());
    ASSERT_NE(nullptr, layout);
    ASSERT_EQ(2, layout->count());
    EXPECT_EQ(window.worldView(), layout->itemAt(0)->widget());
    EXPECT_EQ(window.centralWidget(), window.worldView()->parentWidget());
    EXPECT_EQ(0, layout->stretch(0));
    EXPECT_EQ(0, layout->stretch(1));

    WorldView* world = window.worldView();
    EXPECT_EQ(20u, world->world().creatures().size());
    ASSERT_NE(nullptr, world->tickTimer());
    EXPECT_TRUE(world->tickTimer()->isActive());
    EXPECT_EQ(5, world->tickTimer()->interval());
    EXPECT_EQ(0.5, world->world().mutationRate());
    EXPECT_EQ(BreedingMode::random, world->world().mode());
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
    EXPECT_EQ(0.0, window.worldView()->world().mutationRate());
    slider->setValue(200);
    EXPECT_EQ(2.0, window.worldView()->world().mutationRate());
    slider->setValue(37);
    EXPECT_EQ(0.37, window.worldView()->world().mutationRate());
}

TEST(MainWindow, ButtonsActOnPressBeforeRelease)
{
    Window window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    WorldView* world = window.worldView();

    QTest::mousePress(button(window, "mode manykids"), Qt::LeftButton);
    EXPECT_EQ(BreedingMode::manyKids, world->world().mode());
    EXPECT_EQ(Qt::SizeAllCursor, world->cursor().shape());
    QTest::mouseRelease(button(window, "mode manykids"), Qt::LeftButton);

    QTest::mousePress(button(window, "mode mutate"), Qt::LeftButton);
    EXPECT_EQ(BreedingMode::mutate, world->world().mode());
    EXPECT_EQ(Qt::UpArrowCursor, world->cursor().shape());
    QTest::mouseRelease(button(window, "mode mutate"), Qt::LeftButton);

    QTest::mousePress(button(window, "mode random"), Qt::LeftButton);
    EXPECT_EQ(BreedingMode::random, world->world().mode());
    EXPECT_EQ(Qt::WhatsThisCursor, world->cursor().shape());
    QTest::mouseRelease(button(window, "mode random"), Qt::LeftButton);

    ASSERT_FALSE(world->world().creatures().empty());
    QTest::mousePress(button(window, "nuke 'em"), Qt::LeftButton);
    EXPECT_TRUE(world->world().creatures().empty());
    QTest::mouseRelease(button(window, "nuke 'em"), Qt::LeftButton);
    EXPECT_TRUE(world->tickTimer()->isActive());
}

TEST(MainWindow, ShownWindowSizesFromTheHintsAndTicks)
{
    Window window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    WorldView* world = window.worldView();
    EXPECT_GE(world->width(), 200);
    EXPECT_GE(world->height(), 200);
    EXPECT_LT(controlColumn(window)->width(), world->width());
    const double angle = world->world().creatures().front().angle;
    EXPECT_TRUE(waitUntil([&] { return world->world().creatures().front().angle != angle; }));
}

TEST(MainWindow, MenusHoldTheFileActionsWithTheirStandardShortcuts)
{
    Window window;
    const struct {
        const char* menu;
        const char* text;
        const char* keys;
    } expected[] = {
        {"File", "Open world…", "Ctrl+O"},     {"File", "Open creature…", "Ctrl+Shift+O"},
        {"File", "Save world", "Ctrl+S"},
        {"File", "Save world as…", "Ctrl+Shift+S"}, {"File", "Export picture…", "Ctrl+E"},
        {"File", "Quit", "Ctrl+Q"},            {"World", "Pause", "Space"},
    };
    for (const auto& e : expected) {
        QAction* found = action(window, e.menu, e.text);
        ASSERT_NE(nullptr, found) << e.text;
        EXPECT_EQ(QKeySequence(e.keys), found->shortcut()) << e.text;
    }
    // The platform's own keys wherever it has them (a plain X11 session has
    // none for "save as", which keeps the key above).
    const struct {
        QKeySequence::StandardKey key;
        const char* text;
    } standard[] = {{QKeySequence::Open, "Open world…"},
                    {QKeySequence::Save, "Save world"},
                    {QKeySequence::SaveAs, "Save world as…"},
                    {QKeySequence::Quit, "Quit"}};
    for (const auto& s : standard) {
        if (!QKeySequence(s.key).isEmpty()) {
            EXPECT_EQ(QKeySequence(s.key), action(window, "File", s.text)->shortcut()) << s.text;
        }
    }
}

// Space reaches the pause even while a button has the focus, which would
// otherwise take it as a click ("nuke 'em" would empty the world).
TEST(MainWindow, SpacePausesAndResumesAndTheTitleSaysSo)
{
    Window window;
    ASSERT_TRUE(shownAndActive(window));
    WorldView* world = window.worldView();
    QPushButton* nuke = button(window, "nuke 'em");
    nuke->setFocus();
    QTest::keyClick(nuke, Qt::Key_Space);
    EXPECT_FALSE(world->tickTimer()->isActive());
    EXPECT_EQ(QString("Zidaza rod AroziVazirir! (paused)"), window.windowHandle()->title());
    EXPECT_EQ(20u, world->world().creatures().size());
    const double angle = world->world().creatures().front().angle;

    QTest::keyClick(nuke, Qt::Key_Space);
    EXPECT_TRUE(world->tickTimer()->isActive());
    EXPECT_EQ(5, world->tickTimer()->interval());
    EXPECT_EQ(QString("Zidaza rod AroziVazirir!"), window.windowHandle()->title());
    EXPECT_TRUE(waitUntil([&] { return world->world().creatures().front().angle != angle; }));
}

TEST(MainWindow, ClosingWithUnsavedChangesAsksAndCancelSaveAndDiscardDoAsTheySay)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("world.json");
    Window window(3);
    window.show();
    WorldView* world = window.worldView();

    // A world as the program starts it has nothing to lose: no question.
    {
        ModalAnswer<QMessageBox> none([](QMessageBox* box) { box->reject(); }, 200);
        EXPECT_TRUE(window.close());
        EXPECT_FALSE(none.seen);
    }
    window.show();
    world->world().spawnAt(0, 0);

    QString error;
    ASSERT_TRUE(window.saveWorld(path, error));
    window.show();
    EXPECT_TRUE(window.close()); // nothing changed since
    window.show();

    EXPECT_EQ(QString("Zidaza rod AroziVazirir!"), window.windowHandle()->title());
    world->world().spawnAt(1, 1);
    // The title marks the change.
    EXPECT_EQ(QString("Zidaza rod AroziVazirir!*"), window.windowHandle()->title());
    ModalAnswer<QMessageBox> cancel([&](QMessageBox* box) {
        EXPECT_TRUE(box->text().contains(path));
        box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(cancel.seen);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(21, creaturesIn(path));

    ModalAnswer<QMessageBox> save([](QMessageBox* box) { box->button(QMessageBox::Save)->click(); });
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(save.seen);
    EXPECT_EQ(22, creaturesIn(path));
    EXPECT_FALSE(window.hasUnsavedChanges());
    EXPECT_EQ(QString("Zidaza rod AroziVazirir!"), window.windowHandle()->title());

    window.show();
    world->world().spawnAt(2, 2);
    ModalAnswer<QMessageBox> discard([](QMessageBox* box) { box->button(QMessageBox::Discard)->click(); });
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(discard.seen);
    EXPECT_EQ(22, creaturesIn(path));
}

TEST(MainWindow, OpeningAFaultyWorldFromTheMenuShowsWhyAndChangesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("broken.json");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": "superformula-world", "version": 7, "creatures": []})");
    file.close();

    Window window;
    window.show();
    const auto before = shapesOf(*window.worldView());
    ModalAnswer<QFileDialog> choose([&](QFileDialog* dialog) {
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
    QString shown;
    ModalAnswer<QMessageBox> message([&](QMessageBox* box) {
        shown = box->text();
        box->accept();
    });
    action(window, "File", "Open world…")->trigger();
    EXPECT_TRUE(choose.seen);
    ASSERT_TRUE(message.seen);
    EXPECT_TRUE(shown.contains("broken.json")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("newer version")) << shown.toStdString();
    EXPECT_EQ(before, shapesOf(*window.worldView()));
    EXPECT_TRUE(window.worldPath().isEmpty());
}

TEST(MainWindow, ExportedPictureIsTheWorldSquareAsShown)
{
    QTemporaryDir dir;
    Window window;
    window.resize(1000, 700);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.togglePause();
    WorldView* world = window.worldView();
    Population shapes;
    shapes.push_back(stillDisc(0, 0, 1, 0, 0));
    shapes.push_back(stillDisc(-4, -4, 0, 1, 0));
    world->world().replace(std::move(shapes));
    ASSERT_TRUE(settled(*world));

    const QString path = dir.filePath("world.png");
    QString error;
    ASSERT_TRUE(window.exportPicture(path, error)) << error.toStdString();
    const QImage picture(path, "PNG");
    const int side = std::min(world->width(), world->height());
    ASSERT_EQ(QSize(side, side), picture.size());
    // Beside the creatures' tiny eyes.
    EXPECT_EQ(qRgb(255, 0, 0), picture.pixel(side / 2 + 8, side / 2));
    EXPECT_EQ(qRgb(0, 255, 0), picture.pixel(side / 10 + 8, side / 10));
    EXPECT_EQ(world->squareFrame().convertToFormat(QImage::Format_RGB32),
              picture.convertToFormat(QImage::Format_RGB32));

    EXPECT_FALSE(window.exportPicture(dir.filePath("no/folder/world.png"), error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(MainWindow, FullWorldSaysSoUntilThereIsRoomAgain)
{
    Window window;
    WorldView* world = window.worldView();
    ASSERT_TRUE(world->world().replace(Population(World::populationBound, stillDisc(-4, -4, 1, 0, 0))));
    EXPECT_FALSE(window.statusBar()->currentMessage().contains("full"));

    QTest::mousePress(world, Qt::LeftButton, {}, world->rect().center());
    EXPECT_EQ(World::populationBound, world->world().creatures().size());
    EXPECT_TRUE(window.statusBar()->currentMessage().contains(
        QString("The world is full: it holds at most %1 creatures").arg(World::populationBound)));
    world->world().removeAt(-4, -4);
    EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty());
}

TEST(MainWindow, KeptCreatureOpensInAViewerReadyToInsert)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.json");
    Window window;
    WorldView* world = window.worldView();
    const QJsonObject kept = shapeToJson(world->world().creatures().back());
    QString error;
    ASSERT_TRUE(writeShapeFile(path, world->world().creatures().back(), error));
    world->world().replace({});

    ASSERT_TRUE(window.openCreature(path, error)) << error.toStdString();
    ASSERT_EQ(1u, world->openEditors().size());
    CreatureEditor* editor = world->openEditors().front();
    EXPECT_EQ(kept, shapeToJson(*editor->previewWidget()->shape()));
    QTest::mousePress(editor->insertButtonWidget(), Qt::LeftButton);
    EXPECT_EQ(1u, world->world().creatures().size());
    delete editor;

    EXPECT_FALSE(window.openCreature(dir.filePath("absent.json"), error));
    EXPECT_TRUE(world->openEditors().empty());
}

TEST(MainWindow, QuitClosesTheWindowAndTheEditorsItOpened)
{
    Window window;
    window.show();
    WorldView* world = window.worldView();
    const SuperFormula& shape = world->world().creatures().front();
    world->editAt(shape.position.x, shape.position.y);
    QPointer<CreatureEditor> editor = world->openEditors().front();
    action(window, "File", "Quit")->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(waitUntil([&] { return editor.isNull(); }));
}

namespace {

QAbstractButton* buttonNamed(QMessageBox* box, const QString& text)
{
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text)
            return b;
    return nullptr;
}

ModalSequence::Step answerPrompt(QMessageBox::StandardButton answer, QString* text = nullptr)
{
    return answerWith<QMessageBox>([answer, text](QMessageBox* box) {
        if (text)
            *text = box->text();
        box->button(answer)->click();
    });
}

ModalSequence::Step chooseFile(const QString& path)
{
    return answerWith<QFileDialog>([path](QFileDialog* dialog) {
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
}

// Triggers the menu item, answering the dialogs it opens by `steps`; true
// when exactly those came.
bool triggerAnswering(Window& window, const QString& item, std::vector<ModalSequence::Step> steps)
{
    const std::size_t count = steps.size();
    ModalSequence answers(std::move(steps));
    action(window, "File", item)->trigger();
    return answers.answered == count;
}

} // namespace

// A world never saved has something to lose once it is bred in, though not
// from its creatures' swimming. Quit asks; Cancel keeps everything; Save
// asks for a file, whose typed name gets the suffix.
TEST(Documents, QuitAfterBreedingAsksAndSaveNamesAFileWithTheSuffix)
{
    QTemporaryDir dir;
    Window window(4);
    window.show();
    WorldView* world = window.worldView();
    const double angle = world->world().creatures().front().angle;
    ASSERT_TRUE(waitUntil([&] { return world->world().creatures().front().angle != angle; }));
    EXPECT_FALSE(window.hasUnsavedChanges());
    const SuperFormula& first = world->world().creatures().front();
    world->world().breedAt(first.position.x, first.position.y, 5);
    const auto bred = shapesOf(*world);

    QString question;
    EXPECT_TRUE(triggerAnswering(window, "Quit", {answerPrompt(QMessageBox::Cancel, &question)}));
    EXPECT_TRUE(question.contains("never been saved")) << question.toStdString();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(bred, shapesOf(*world));
    EXPECT_TRUE(window.hasUnsavedChanges());

    EXPECT_TRUE(triggerAnswering(window, "Quit", {answerPrompt(QMessageBox::Save), chooseFile(dir.filePath("bred"))}));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(dir.filePath("bred.json"), window.worldPath());
    EXPECT_EQ(25, creaturesIn(dir.filePath("bred.json")));
}

TEST(Documents, OpenOverAModifiedWorldAsksAndCancelKeepsIt)
{
    QTemporaryDir dir;
    const QString other = dir.filePath("other.json");
    Window window(7);
    window.show();
    WorldView* world = window.worldView();
    QString error;
    ASSERT_TRUE(window.saveWorld(other, error)) << error.toStdString();
    world->world().spawnAt(0, 0);
    const auto before = shapesOf(*world);

    // Only the question comes, no file dialog.
    EXPECT_TRUE(triggerAnswering(window, "Open world…", {answerPrompt(QMessageBox::Cancel)}));
    EXPECT_EQ(before, shapesOf(*world));
    EXPECT_TRUE(window.hasUnsavedChanges());

    EXPECT_TRUE(triggerAnswering(window, "Open world…", {answerPrompt(QMessageBox::Discard), chooseFile(other)}));
    EXPECT_EQ(20u, world->world().creatures().size());
    EXPECT_FALSE(window.hasUnsavedChanges());
}

// Save at the question promises to keep the world: a failed save offers
// Save As, and giving up leaves the window open with every change.
TEST(Documents, FailedSaveAtTheQuestionKeepsTheWorldAndOffersSaveAs)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("gone"));
    Window window(8);
    window.show();
    QString error;
    ASSERT_TRUE(window.saveWorld(dir.filePath("gone/world.json"), error)) << error.toStdString();
    window.worldView()->world().spawnAt(1, 1);
    ASSERT_TRUE(QDir(dir.filePath("gone")).removeRecursively());

    QString failure;
    const auto giveUp = answerWith<QMessageBox>([&](QMessageBox* box) {
        failure = buttonNamed(box, "Save As…") ? box->text() : QString();
        box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_TRUE(triggerAnswering(window, "Quit", {answerPrompt(QMessageBox::Save), giveUp}));
    EXPECT_TRUE(failure.contains("does not exist")) << failure.toStdString();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.hasUnsavedChanges());

    const auto saveAs = answerWith<QMessageBox>([](QMessageBox* box) { buttonNamed(box, "Save As…")->click(); });
    EXPECT_TRUE(triggerAnswering(window, "Quit",
                                 {answerPrompt(QMessageBox::Save), saveAs, chooseFile(dir.filePath("rescued"))}));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(21, creaturesIn(dir.filePath("rescued.json")));
}

// Emptying and inserting are changes too. Once the world has closed, it
// stops moving, and a viewer it opened stays, "insert" off and saying why, and its creature can
// still be saved; nothing it inserts goes into the closed world.
TEST(Documents, ClosedWorldTakesNoInsertAndItsViewersKeepTheirCreatures)
{
    QTemporaryDir dir;
    Window window(6);
    window.show();
    WorldView* world = window.worldView();
    world->world().removeAll();
    EXPECT_TRUE(window.hasUnsavedChanges());
    QString error;
    ASSERT_TRUE(window.saveWorld(dir.filePath("empty.json"), error)) << error.toStdString();
    world->openEditor(stillDisc(2, 2, 0, 1, 0));
    QPointer<CreatureEditor> editor = world->openEditors().front();
    QPushButton* insert = editor->insertButtonWidget();
    QTest::mousePress(insert, Qt::LeftButton);
    EXPECT_TRUE(window.hasUnsavedChanges());

    ASSERT_TRUE(world->isTicking());
    {
        ModalSequence discard({answerPrompt(QMessageBox::Discard)});
        EXPECT_TRUE(window.close());
        EXPECT_EQ(1u, discard.answered);
    }
    EXPECT_FALSE(world->isTicking());
    ASSERT_FALSE(editor.isNull());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_FALSE(insert->isEnabled());
    EXPECT_TRUE(editor->windowTitle().contains("the world has closed")) << editor->windowTitle().toStdString();
    EXPECT_TRUE(insert->toolTip().contains("Save creature")) << insert->toolTip().toStdString();
    // Not only the button: the editor no longer reaches the world at all.
    emit insert->pressed();
    EXPECT_EQ(1u, world->world().creatures().size());
    ASSERT_TRUE(editor->saveCreature(dir.filePath("kept.json"), error)) << error.toStdString();
    delete editor;
}

// A typed name gets the suffix, but a suffix of its own is kept, and so is
// the name of a file that exists: a world opened from "plain" saves to it.
TEST(Documents, NamesWithoutASuffixGetOneUnlessTheyNameAFile)
{
    QTemporaryDir dir;
    Window window(2);
    QString error;
    ASSERT_TRUE(window.exportPicture(dir.filePath("before"), error)) << error.toStdString();
    ASSERT_TRUE(window.saveWorld(dir.filePath("my.world"), error)) << error.toStdString();
    ASSERT_TRUE(QFile::copy(dir.filePath("my.world"), dir.filePath("plain")));
    ASSERT_TRUE(window.openWorld(dir.filePath("plain"), error)) << error.toStdString();
    ASSERT_TRUE(window.saveWorld(window.worldPath(), error)) << error.toStdString();
    EXPECT_EQ(dir.filePath("plain"), window.worldPath());
    EXPECT_EQ(QStringList({"before.png", "my.world", "plain"}), QDir(dir.path()).entryList(QDir::Files));
}
