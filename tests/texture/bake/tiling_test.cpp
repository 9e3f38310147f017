#include "texture/bake/grid.h"
#include "texture/bake/memory_bake.h"
#include "texture/bake/tiling.h"
#include "texture/scalar/b_perturber.h"
#include "texture/scalar/noise.h"
#include "texture/scalar/voronoi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <vector>

using namespace tex;

TEST(Tiling, CoversTheGridOnceWithSidesThatDifferByOneAtMost)
{
    for (const auto& [width, height, columns, rows] :
         std::vector<std::array<int, 4>>{{203, 150, 4, 3}, {7, 5, 7, 5}, {1, 1, 1, 1}, {1 << 20, 3, 3, 1}}) {
        const Tiling tiling{columns, rows};
        ASSERT_TRUE(tiling.fits(width, height));
        std::vector<int> covered(std::size_t(std::min(width, 4096)) * height, 0);
        int minWidth = INT_MAX, maxWidth = 0, minHeight = INT_MAX, maxHeight = 0;
        for (int i = 0; i < tiling.count(); ++i) {
            const Region r = tiling.tile(width, height, i);
            ASSERT_TRUE(Grid::flat(width, height, 1, 0, 0, 0).contains(r)) << i;
            // Row by row: tile i lies in tile row i / columns.
            EXPECT_EQ(r.y, (i / columns) * height / rows);
            minWidth = std::min(minWidth, r.width), maxWidth = std::max(maxWidth, r.width);
            minHeight = std::min(minHeight, r.height), maxHeight = std::max(maxHeight, r.height);
            for (int y = r.y; y < r.y + r.height; ++y)
                for (int x = r.x; x < std::min(r.x + r.width, 4096); ++x)
                    ++covered[std::size_t(y) * std::min(width, 4096) + x];
        }
        EXPECT_TRUE(std::all_of(covered.begin(), covered.end(), [](int n) { return n == 1; })) << width;
        EXPECT_LE(maxWidth - minWidth, 1);
        EXPECT_LE(maxHeight - minHeight, 1);
    }
    // The last cut lands on the far edge without overflowing.
    const Region last = Tiling{1 << 20, 1}.tile(1 << 20, 1, (1 << 20) - 1);
    EXPECT_EQ(last.x + last.width, 1 << 20);
}

TEST(Tiling, FitsOnlyWhereEveryTileHoldsASampleAndTheTilesCanBeCounted)
{
    EXPECT_FALSE((Tiling{0, 1}.fits(10, 10)));
    EXPECT_FALSE((Tiling{11, 1}.fits(10, 10)));
    EXPECT_FALSE((Tiling{1, 11}.fits(10, 10)));
    EXPECT_TRUE((Tiling{10, 10}.fits(10, 10)));
    EXPECT_FALSE((Tiling{1 << 20, 1 << 20}.fits(1 << 20, 1 << 20)));
    EXPECT_TRUE((Tiling{1 << 15, 1 << 15}.fits(1 << 20, 1 << 20)));
}

TEST(BakeValues, GivesTheBitsOfValueAtEverySampleOfARegion)
{
    Noise noise(3, 16);
    Voronoi cells(4, 2);
    BPerturber perturbed;
    perturbed.setInput(&noise, 0);
    perturbed.setInput(&cells, 1);
    const Grid grid = Grid::sphere(61, 37, 2.5, 0.5, -0.25, 1.0);
    const Region region{5, 3, 50, 30};
    std::vector<double> out(std::size_t(region.width) * region.height, -1.0);
    ASSERT_TRUE(bakeValues(perturbed, grid, out.data(), BakeOptions{region, 3}));
    for (int r = 0; r < region.height; ++r)
        for (int c = 0; c < region.width; ++c) {
            const Point p = grid.point(region.y + r, region.x + c);
            const double value = perturbed.value(p.x, p.y, p.z);
            ASSERT_EQ(std::memcmp(&out[std::size_t(r) * region.width + c], &value, sizeof value), 0) << r << " " << c;
        }
    std::vector<double> untouched(4, -1.0);
    EXPECT_FALSE(bakeValues(perturbed, grid, untouched.data(), BakeOptions{Region{60, 0, 2, 2}}));
    EXPECT_FALSE(bakeValues(perturbed, grid, nullptr));
    EXPECT_EQ(untouched, std::vector<double>(4, -1.0));
}
