#include "tests/breeder/gallery_graphs.h"
#include "tests/breeder/texbake_pixels.h"

#include "breeder/background_bake.h"
#include "breeder/breeder_window.h"
#include "breeder/litter.h"
#include "breeder/preview_tile.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr int patience = 60000;

std::vector<std::string> textsOf(const BreederWindow& window)
{
    std::vector<std::string> texts;
    for (const breeder::BredGraph& graph : window.litter())
        texts.push_back(graph.text);
    return texts;
}

bool allPreviewsIn(const BreederWindow& window)
{
    for (int place = 0; place < breeder::litterSize; ++place)
        if (window.preview(place).isNull())
            return false;
    return true;
}

// The preview the window should show for `graph`: its output over the
// background's square at the preview's size.
QImage expectedPreview(const breeder::BredGraph& graph)
{
    const int side = BreederWindow::previewSide;
    std::vector<std::uint8_t> pixels(std::size_t(side) * side * 3);
    const tex::Grid grid = tex::Grid::flat(side, side, 16.0, 0.0, 0.0, 0.0);
    const tex::GraphNode& output = graph.graph->output();
    if (output.colour)
        tex::bakePixels(*output.colour, grid, tex::Channels::RGB, pixels.data());
    else
        tex::bakePixels(*output.field, grid, tex::Channels::RGB, pixels.data());
    QImage image(side, side, QImage::Format_RGB888);
    for (int row = 0; row < side; ++row)
        std::memcpy(image.scanLine(row), pixels.data() + std::size_t(row) * side * 3, std::size_t(side) * 3);
    return image;
}

void clickPreview(BreederWindow& window, int place)
{
    QList<PreviewTile*> tiles = window.findChildren<PreviewTile*>();
    ASSERT_EQ(tiles.size(), breeder::litterSize);
    QTest::mousePress(tiles[place], Qt::LeftButton);
}

} // namespace

TEST(BreederWindow, ShowsTheLitterAsItsBakesComeIn)
{
    BreederWindow window(galleryGraph("world_background"), 0.5, 9u);
    window.show();
    QTRY_VERIFY_WITH_TIMEOUT(allPreviewsIn(window), patience);
    for (int place = 0; place < breeder::litterSize; ++place)
        EXPECT_TRUE(window.preview(place) == expectedPreview(window.litter()[place])) << place;
}

// A click breeds at once from the preview clicked; stale bakes never land
// in the new litter; Undo and redo move between whole litters, and the
// generator moves with them, so that the same click after an Undo breeds
// the same litter again.
TEST(BreederWindow, ClicksBreedAndUndoTakesThemBack)
{
    BreederWindow window(galleryGraph("marble_turbulence"), 0.5, 21u);
    window.show();
    const std::vector<std::string> first = textsOf(window);

    clickPreview(window, 2);
    const std::vector<std::string> second = textsOf(window);
    EXPECT_EQ(second[breeder::parentPlace], first[2]);
    clickPreview(window, 7);
    const std::vector<std::string> third = textsOf(window);
    EXPECT_EQ(third[breeder::parentPlace], second[7]);
    EXPECT_EQ(window.undoStack().count(), 2);

    QTRY_VERIFY_WITH_TIMEOUT(allPreviewsIn(window), patience);
    for (int place = 0; place < breeder::litterSize; ++place)
        EXPECT_TRUE(window.preview(place) == expectedPreview(window.litter()[place])) << place;

    window.undoStack().undo();
    EXPECT_EQ(textsOf(window), second);
    window.undoStack().undo();
    EXPECT_EQ(textsOf(window), first);
    EXPECT_FALSE(window.undoStack().canUndo());
    window.undoStack().redo();
    window.undoStack().redo();
    EXPECT_EQ(textsOf(window), third);

    window.undoStack().undo();
    clickPreview(window, 7);
    EXPECT_EQ(textsOf(window), third);

    // Another window with the same seed and clicks breeds the same graphs.
    BreederWindow twin(galleryGraph("marble_turbulence"), 0.5, 21u);
    EXPECT_EQ(textsOf(twin), first);
    clickPreview(twin, 2);
    clickPreview(twin, 7);
    EXPECT_EQ(textsOf(twin), third);
}

TEST(BreederWindow, TheRateSetsHowFarMutantsGo)
{
    BreederWindow window(galleryGraph("planet"), 0.5, 4u);
    window.setMutationRate(0.0);
    clickPreview(window, breeder::parentPlace);
    for (const std::string& text : textsOf(window))
        EXPECT_EQ(text, window.parentGraph().text);
}

// "Save graph…" writes a file texbake bakes to the pixels the background
// baker makes of the graph "Use as background" hands over.
TEST(BreederWindow, TheSavedGraphBakesAsTheBackgroundItGives)
{
    BreederWindow window(galleryGraph("world_background"), 1.0, 5u);
    clickPreview(window, 0);
    clickPreview(window, 3);
    std::string given;
    QObject::connect(&window, &BreederWindow::useAsBackground, [&given](const std::string& text) { given = text; });
    QList<QPushButton*> buttons = window.findChildren<QPushButton*>();
    const auto use = std::find_if(buttons.begin(), buttons.end(),
                                  [](QPushButton* b) { return b->text() == "Use as background"; });
    ASSERT_NE(use, buttons.end());
    QTest::mousePress(*use, Qt::LeftButton);
    EXPECT_EQ(given, window.parentGraph().text);

    QTemporaryDir folder;
    const QString path = folder.filePath("bred.json");
    ASSERT_TRUE(window.saveGraph(path, true));
    EXPECT_FALSE(window.saveGraph(folder.filePath("missing/bred.json"), true));
    if (!haveTexbake())
        GTEST_SKIP() << "texbake is not built";
    BackgroundBake bake;
    bake.bake(given, "given");
    QTRY_VERIFY_WITH_TIMEOUT(!bake.image().isNull(), patience);
    EXPECT_TRUE(bake.image() == texbakePixels(path));
}
