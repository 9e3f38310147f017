#include "tests/app/app_test_world.h"
#include "tests/breeder/texbake_pixels.h"

#include "app/window.h"
#include "app/world_view.h"
#include "breeder/background_bake.h"
#include "breeder/breeder_window.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

constexpr int patience = 60000;

const QString mossy = QStringLiteral("../../docs/gallery/mossy_flagstone.json");

QString statusOf(Window& window)
{
    return window.statusBar()->currentMessage();
}

// Waits for the window's background bake to end.
bool bakeEnds(Window& window)
{
    return QTest::qWaitFor([&] { return !window.backgroundBake().busy(); }, patience);
}

// The mean red, green and blue of `image`.
std::array<double, 3> meanColour(const QImage& image)
{
    std::array<double, 3> sum{};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            sum[0] += qRed(pixel);
            sum[1] += qGreen(pixel);
            sum[2] += qBlue(pixel);
        }
    for (double& channel : sum)
        channel /= double(image.width()) * image.height();
    return sum;
}

double distance(const std::array<double, 3>& a, const std::array<double, 3>& b)
{
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

} // namespace

// A graph file opened as the background is what the frames' texture holds,
// texel for texel as texbake bakes it over the background's grid.
TEST(WorldBackground, AGraphFileBecomesTheTextureTexbakeBakes)
{
    if (!haveTexbake())
        GTEST_SKIP() << "texbake is not built";
    Window window(3);
    window.togglePause();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    WorldView& view = *window.worldView();
    ASSERT_TRUE(settled(view));
    const QImage frameBefore = view.squareFrame();
    const QImage before = view.backgroundTexture();
    ASSERT_EQ(before.size(), QSize(512, 512));
    const std::string defaultGraph = window.backgroundGraph().text;

    QString error;
    ASSERT_TRUE(window.openBackground(mossy, error)) << error.toStdString();
    EXPECT_TRUE(window.backgroundBake().busy());
    // The old background stays while the new one bakes.
    EXPECT_EQ(window.backgroundGraph().text, defaultGraph);
    ASSERT_TRUE(bakeEnds(window));
    EXPECT_TRUE(statusOf(window).contains("mossy_flagstone.json")) << statusOf(window).toStdString();
    EXPECT_NE(window.backgroundGraph().text, defaultGraph);

    // The paused world shows the new background in a frame of its own, the
    // texture covering the last frame: around the creatures, the frame's
    // colours are the new texture's.
    ASSERT_TRUE(settled(view));
    const QImage frameAfter = view.squareFrame();
    const QImage baked = texbakePixels(mossy);
    const std::array<double, 3> target = meanColour(baked);
    EXPECT_LT(distance(meanColour(frameAfter), target), 0.25 * distance(meanColour(frameBefore), target));
    EXPECT_TRUE(view.backgroundTexture() == baked);

    // The bake is a step of the world's history: undone, the default comes
    // back with the very texels it had (its noise is seeded from the clock:
    // baked again in another second, it would differ); redone, the graph's.
    QUndoStack& history = view.history();
    EXPECT_EQ(history.undoText(), "Change background");
    EXPECT_EQ(history.count(), 1);
    EXPECT_TRUE(window.hasUnsavedChanges());
    history.undo();
    EXPECT_EQ(window.backgroundGraph().text, defaultGraph);
    EXPECT_TRUE(view.backgroundTexture() == before);
    EXPECT_FALSE(window.hasUnsavedChanges());
    history.redo();
    EXPECT_TRUE(view.backgroundTexture() == baked);
}

// A file that cannot be read fails at once; a graph the reader or the cost
// bound refuses is said in the status bar and a message box, and the
// background, its texture and its graph stay.
TEST(WorldBackground, ARefusedGraphKeepsTheBackground)
{
    Window window(3);
    window.show();
    const QImage before = window.worldView()->backgroundTexture();
    const std::string graph = window.backgroundGraph().text;

    QString error;
    EXPECT_FALSE(window.openBackground("no/such/graph.json", error));
    EXPECT_FALSE(error.isEmpty());

    QTemporaryDir folder;
    const QString costly = folder.filePath("costly.json");
    {
        // Four FBMs of 16 octaves in a row cost far beyond the bound.
        std::string nodes = R"({"id": "f0", "type": "Noise", "seed": 3, "size": 16})";
        for (int d = 1; d <= 4; ++d)
            nodes += ", {\"id\": \"f" + std::to_string(d) + "\", \"type\": \"FBM\", \"inputs\": [\"f"
                + std::to_string(d - 1) + "\"], \"parameters\": {\"octaves\": 16}}";
        QFile file(costly);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((R"({"format": "texbake-graph", "version": 1, "nodes": [)" + nodes + R"(], "output": "f4"})")
                       .c_str());
    }
    ASSERT_TRUE(window.openBackground(costly, error)) << error.toStdString();
    QTRY_VERIFY_WITH_TIMEOUT(statusOf(window).startsWith("The background stays"), patience);
    EXPECT_TRUE(statusOf(window).contains("costly.json")) << statusOf(window).toStdString();
    EXPECT_TRUE(statusOf(window).contains("cost")) << statusOf(window).toStdString();
    QMessageBox* box = window.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->text().contains("costly.json"));
    box->close();

    EXPECT_EQ(window.backgroundGraph().text, graph);
    EXPECT_TRUE(window.worldView()->backgroundTexture() == before);
}

// World ▸ Breed background… breeds from the background's graph with the
// window's seed and rate, follows the rate slider, and its "Use as
// background" bakes the chosen graph into the world.
TEST(WorldBackground, TheBreederBreedsTheBackgroundAndSetsIt)
{
    Window window(5);
    QSlider* rate = window.findChild<QSlider*>();
    ASSERT_NE(rate, nullptr);
    rate->setValue(150);
    BreederWindow* breeder = window.breedBackground();
    ASSERT_NE(breeder, nullptr);
    EXPECT_EQ(window.breedBackground(), breeder);
    EXPECT_EQ(breeder->parentGraph().text, window.backgroundGraph().text);

    // The same seed and rate, the same clicks: the same litters.
    BreederWindow twin(window.backgroundGraph(), 1.5, 5);
    ASSERT_EQ(breeder->litter().size(), twin.litter().size());
    for (std::size_t i = 0; i < twin.litter().size(); ++i)
        EXPECT_EQ(breeder->litter()[i].text, twin.litter()[i].text) << i;
    rate->setValue(40);
    twin.setMutationRate(0.4);
    breeder->choose(2);
    twin.choose(2);
    for (std::size_t i = 0; i < twin.litter().size(); ++i)
        EXPECT_EQ(breeder->litter()[i].text, twin.litter()[i].text) << i;

    QPushButton* use = nullptr;
    for (QPushButton* button : breeder->findChildren<QPushButton*>())
        if (button->text() == "Use as background")
            use = button;
    ASSERT_NE(use, nullptr);
    const std::string chosen = breeder->parentGraph().text;
    QTest::mouseClick(use, Qt::LeftButton);
    ASSERT_TRUE(bakeEnds(window));
    EXPECT_EQ(window.backgroundGraph().text, chosen);
    EXPECT_TRUE(window.worldView()->backgroundTexture() == window.backgroundBake().image());

    // The breeder closes with the window.
    QTemporaryDir folder;
    QString error;
    ASSERT_TRUE(window.saveWorld(folder.filePath("world.json"), error)) << error.toStdString();
    QPointer<BreederWindow> open = breeder;
    ASSERT_TRUE(breeder->isVisible());
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(!open || !open->isVisible());
}
