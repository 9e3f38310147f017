// Run with QT_SCALE_FACTOR=2 (see tests/CMakeLists.txt): two device pixels
// to each widget pixel, as on a high-DPI screen.

#include "app_test_world.h"

#include <gtest/gtest.h>


#include <vector>

TEST(HighDpi, TheSquareDrawingAndClicksAreInDevicePixels)
{
    TestWorld world;
    world.world().removeAll();
    ASSERT_TRUE(showAt(world, 300, 200));
    ASSERT_EQ(2.0, world.devicePixelRatio());
    EXPECT_EQ(QRect(100, 0, 400, 400), world.square());
    EXPECT_EQ(QSize(400, 400), world.squareFrame().size());

    // Widget pixel (50, 0) is device pixel (100, 0), the square's corner.
    const struct {
        int x, y;
        double wx, wy;
    } clicks[] = {{50, 0, -5, -5}, {150, 100, 0, 0}, {250, 200, 5, 5}};
    for (const auto& c : clicks) {
        QTest::mousePress(&world, Qt::LeftButton, {}, QPoint(c.x, c.y));
        EXPECT_EQ(c.wx, world.world().creatures().back().position.x) << c.x;
        EXPECT_EQ(c.wy, world.world().creatures().back().position.y) << c.y;
    }
    QTest::mousePress(&world, Qt::LeftButton, {}, QPoint(49, 100));
    EXPECT_EQ(3u, world.world().creatures().size());

    // A shape at (5, 0) reaches the right edge of the 400-pixel square.
    world.world().removeAll();
    world.world().add(stillDisc(5, 0, 1, 0, 0));
    ASSERT_TRUE(settled(world));
    const QImage square = world.squareFrame();
    ASSERT_EQ(QSize(400, 400), square.size());
    EXPECT_EQ(qRgb(255, 0, 0), square.pixel(397, 200) | 0xff000000u);
    EXPECT_EQ(qRgb(255, 0, 0), square.pixel(385, 200) | 0xff000000u);
    // The widget paints the frame's pixels one for one onto the device's.
    const QImage painted = world.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(square.convertToFormat(QImage::Format_RGB32), painted.copy(world.square()));
}
