#include "tests/breeder/texbake_pixels.h"

#include "breeder/background_bake.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::string fileText(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll().toStdString();
}

// Noise under `depth` FBMs of 16 octaves each: one costs 16, two 256, three
// 4096 (the bound), four far beyond it.
std::string nestedFbm(int depth)
{
    std::string nodes = R"({"id": "f0", "type": "Noise", "seed": 3, "size": 16})";
    for (int d = 1; d <= depth; ++d)
        nodes += ", {\"id\": \"f" + std::to_string(d) + "\", \"type\": \"FBM\", \"inputs\": [\"f" + std::to_string(d - 1)
            + "\"], \"parameters\": {\"octaves\": 16}}";
    return R"({"format": "texbake-graph", "version": 1, "nodes": [)" + nodes + R"(], "output": "f)"
        + std::to_string(depth) + "\"}";
}

constexpr int patience = 60000;

} // namespace

TEST(BackgroundBake, BakesTheSamePixelsAsTexbake)
{
    if (!haveTexbake())
        GTEST_SKIP() << "texbake is not built";
    for (const char* name : {"world_background", "mossy_flagstone", "perturbed_fbm"}) {
        const QString path = QString("../../docs/gallery/%1.json").arg(name);
        BackgroundBake bake;
        QSignalSpy progress(&bake, &BackgroundBake::progressed);
        bake.bake(fileText(path), path);
        EXPECT_TRUE(bake.busy());
        QTRY_VERIFY_WITH_TIMEOUT(!bake.busy(), patience);
        const QImage expected = texbakePixels(path);
        ASSERT_EQ(bake.image().size(), QSize(512, 512)) << name;
        ASSERT_EQ(bake.image().format(), QImage::Format_RGBA8888);
        EXPECT_TRUE(bake.image() == expected) << name;
        // The progress climbs to 100 and arrives before the result.
        ASSERT_GE(progress.size(), 2);
        for (int i = 1; i < progress.size(); ++i)
            EXPECT_LT(progress[i - 1][0].toInt(), progress[i][0].toInt());
        EXPECT_EQ(progress.back()[0].toInt(), 100);
    }
}

TEST(BackgroundBake, RefusesWithAMessageAndKeepsTheLastBackground)
{
    BackgroundBake bake(tex::Grid::flat(64, 64, 16.0, 0.0, 0.0, 0.0));
    QSignalSpy refusals(&bake, &BackgroundBake::refused);
    QSignalSpy baked(&bake, &BackgroundBake::baked);
    bake.bake(nestedFbm(1), "good.json");
    QTRY_COMPARE_WITH_TIMEOUT(baked.size(), 1, patience);
    const QImage good = bake.image();
    const std::string goodText = bake.graphText();
    ASSERT_FALSE(good.isNull());

    bake.bake("{\"format\": \"texbake-graph\", \"version\": 1, \"nodes\": [", "broken.json");
    QTRY_COMPARE_WITH_TIMEOUT(refusals.size(), 1, patience);
    EXPECT_TRUE(refusals[0][0].toString().startsWith("broken.json:")) << refusals[0][0].toString().toStdString();

    bake.bake(nestedFbm(4), "costly.json");
    QTRY_COMPARE_WITH_TIMEOUT(refusals.size(), 2, patience);
    EXPECT_TRUE(refusals[1][0].toString().contains("cost")) << refusals[1][0].toString().toStdString();

    EXPECT_FALSE(bake.busy());
    EXPECT_EQ(baked.size(), 1);
    EXPECT_TRUE(bake.image() == good);
    EXPECT_EQ(bake.graphText(), goodText);
}

// A bake asked for while another runs cancels it: only the latest reports,
// and the old background stays until it is ready.
TEST(BackgroundBake, ANewBakeCancelsTheOneRunning)
{
    BackgroundBake bake;
    QSignalSpy baked(&bake, &BackgroundBake::baked);
    QSignalSpy refusals(&bake, &BackgroundBake::refused);
    bake.bake(nestedFbm(1), "first.json");
    QTRY_COMPARE_WITH_TIMEOUT(baked.size(), 1, patience);
    const QImage first = bake.image();

    bake.bake(nestedFbm(3), "slow.json");
    bake.bake("not json", "refused.json");
    bake.bake(nestedFbm(0), "last.json");
    EXPECT_TRUE(bake.image() == first);
    QTRY_COMPARE_WITH_TIMEOUT(baked.size(), 2, patience);
    QTest::qWait(50);
    EXPECT_EQ(baked.size(), 2);
    EXPECT_EQ(refusals.size(), 0);
    // The last graph is the only one without an FBM.
    EXPECT_EQ(bake.graphText().find("FBM"), std::string::npos);
    EXPECT_FALSE(bake.image() == first);
}

TEST(BackgroundBake, DestroyedWhileBakingStopsItsThread)
{
    auto bake = std::make_unique<BackgroundBake>();
    bake->bake(nestedFbm(3), "slow.json");
    QSignalSpy progress(bake.get(), &BackgroundBake::progressed);
    bake.reset();
    QTest::qWait(20);
    EXPECT_EQ(progress.size(), 0);
}
