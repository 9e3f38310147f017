// A null pointer handed to the support library is refused, never followed.
#include "tests/support/scratch_dir.h"

#include "support/colour_spline.h"
#include "support/ppm_image.h"
#include "support/ppm_writer.h"
#include "support/random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

using namespace tex;

TEST(NullPointers, AreRefusedLeavingNothingHalfDone)
{
    ColourSpline spline;
    const double stops[] = {0.0, 1, 0, 0, 1, 1.0, 0, 0, 1, 1};
    spline.setStops(stops, 2);
    spline.setStops(nullptr, 3);
    EXPECT_TRUE(spline.stops().empty());

    const PPMImage image(nullptr, "none");
    EXPECT_FALSE(image.loaded);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.filename, "none");
    PPMImage::skipComments(nullptr);

    // As the empty key: seeded from the single word 0.
    const std::uint32_t zero[] = {0};
    Random expected, nullKey;
    expected.seedArray(zero, 1);
    nullKey.seedArray(nullptr, 3);
    EXPECT_EQ(nullKey.nextUint32(), expected.nextUint32());

    // Rows without samples fail the file, which never appears.
    ScratchDir dir;
    PPMWriter writer(dir.path("rows.ppm"), 1, 2);
    const std::uint8_t row[3] = {1, 2, 3};
    ASSERT_TRUE(writer.writeRows(row, 1));
    EXPECT_FALSE(writer.writeRows(static_cast<const std::uint8_t*>(nullptr), 1));
    EXPECT_FALSE(writer.writeRows(row, 1));
    EXPECT_FALSE(writer.finish());
    EXPECT_FALSE(std::filesystem::exists(dir.path("rows.ppm")));
}
