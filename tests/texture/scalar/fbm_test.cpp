#include "texture/scalar/fbm.h"

#include "tests/texture/scalar/probe_field.h"

#include <gtest/gtest.h>

using namespace tex;

namespace {

TEST(FBM, ConstantInputGivesTheWorkedFigure)
{
    ProbeField half(0.5);
    FBM fbm;
    fbm.setInput(&half, 0);
    EXPECT_EQ(fbm.value(0.3, 0.7, 1.1), 0.498046875);
}

TEST(FBM, SamplesEachOctaveAtAFinerScale)
{
    ProbeField input(0.5);
    FBM fbm;
    fbm.setInput(&input, 0);
    fbm.setParameter("xscale", 2.0);
    fbm.setParameter("zscale", 0.5);
    fbm.setIntParameter("octaves", 3);
    fbm.setParameter("lacunarity", 3.0);
    fbm.value(1.0, 1.0, 1.0);
    ASSERT_EQ(input.points.size(), 3u);
    EXPECT_EQ(input.points[0], (std::array<double, 3>{2.0, 1.0, 0.5}));
    EXPECT_EQ(input.points[1], (std::array<double, 3>{6.0, 3.0, 1.5}));
    EXPECT_EQ(input.points[2], (std::array<double, 3>{18.0, 9.0, 4.5}));
    // Weights 1, 1/3, 1/9 of 0.5, halved.
    EXPECT_EQ(fbm.value(1.0, 1.0, 1.0), (0.0 + 0.5 + 0.5 * (1.0 / 3.0) + 0.5 * (1.0 / 3.0 / 3.0)) * 0.5);
}

TEST(FBM, OneOctaveIsHalfTheInput)
{
    ProbeField input(0.8);
    FBM fbm;
    fbm.setInput(&input, 0);
    fbm.setIntParameter("octaves", 1);
    EXPECT_EQ(fbm.value(1, 2, 3), 0.4);
}

TEST(FBM, NoOctavesGiveTheBottomOfTheRange)
{
    ProbeField input(0.8);
    FBM fbm;
    fbm.setInput(&input, 0);
    for (int octaves : {0, -3}) {
        fbm.setIntParameter("octaves", octaves);
        EXPECT_EQ(fbm.value(1, 2, 3), 0.01);
    }
    EXPECT_TRUE(input.points.empty());
}

TEST(FBM, ParametersAreListedInOrderAndRoutedByKind)
{
    FBM fbm;
    const ParameterList& list = fbm.parameters();
    ASSERT_EQ(list.size(), 6u);
    const char* names[] = {"contrast", "xscale", "yscale", "zscale", "octaves", "lacunarity"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(list[i].name, names[i]);
    EXPECT_EQ(Basis::parameterList().size(), 4u);
    const ParameterInfo* octaves = fbm.findParameter("octaves");
    ASSERT_NE(octaves, nullptr);
    EXPECT_EQ(octaves->kind, 0);
    EXPECT_EQ(octaves->min.intValue, 1);
    EXPECT_EQ(octaves->max.intValue, 16);
    EXPECT_EQ(octaves->defaultValue.intValue, 8);
    const ParameterInfo* lacunarity = fbm.findParameter("lacunarity");
    ASSERT_NE(lacunarity, nullptr);
    EXPECT_EQ(lacunarity->kind, 1);
    EXPECT_EQ(lacunarity->min.realValue, 0.01);
    EXPECT_EQ(lacunarity->max.realValue, 4.0);

    EXPECT_EQ(fbm.getIntParameter("octaves"), 8);
    EXPECT_EQ(fbm.getParameter("lacunarity"), 2.0);
    fbm.setParameter("octaves", 3.0);
    EXPECT_EQ(fbm.getIntParameter("octaves"), 8);
    EXPECT_EQ(fbm.getParameter("octaves"), 0.0);
    fbm.setIntParameter("lacunarity", 3);
    EXPECT_EQ(fbm.getParameter("lacunarity"), 2.0);
    EXPECT_EQ(fbm.getIntParameter("lacunarity"), 0);
    fbm.setIntParameter("octaves", 3);
    fbm.setParameter("lacunarity", 40.0);
    fbm.setParameter("contrast", 2.5);
    EXPECT_EQ(fbm.getIntParameter("octaves"), 3);
    EXPECT_EQ(fbm.getParameter("lacunarity"), 40.0);
    EXPECT_EQ(fbm.getParameter("contrast"), 2.5);
    EXPECT_EQ(fbm.getParameter("Octaves"), 0.0);
}

TEST(FBM, TakesOneBorrowedInput)
{
    bool destroyed = false;
    auto* input = new ProbeField(0.5, "", nullptr, &destroyed);
    auto* fbm = new FBM;
    EXPECT_EQ(fbm->inputCount(), 1);
    EXPECT_FALSE(fbm->inputsReady());
    EXPECT_EQ(fbm->value(1, 1, 1), 0.01) << "a field without input stays at the bottom of its range";
    fbm->setInput(input, 1);
    EXPECT_FALSE(fbm->inputsReady());
    fbm->setInput(input, 0);
    EXPECT_TRUE(fbm->inputsReady());
    delete static_cast<Basis*>(fbm);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(input->value(0, 0, 0), 0.5);
    delete input;
}

} // namespace
