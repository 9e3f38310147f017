#include "texture/colour/c_darken.h"
#include "texture/colour/c_mixer.h"

#include "tests/texture/colour/probe_colour.h"
#include "tests/texture/scalar/probe_field.h"

#include <gtest/gtest.h>

using namespace tex;

namespace {

using Log = std::vector<std::string>;

TEST(CMixer, BecomesReadyWhenAllThreeInputsAreSet)
{
    ProbeField field(0.25);
    ProbeColour red(Colour(1, 0, 0, 1)), blue(Colour(0, 0, 1, 1));
    CMixer mixer;
    EXPECT_EQ(mixer.inputCount(), 1);
    EXPECT_EQ(mixer.colourInputCount(), 2);
    EXPECT_FALSE(mixer.inputsReady());
    mixer.setInput(&field, 0);
    mixer.setColourInput(&red, 0);
    EXPECT_FALSE(mixer.inputsReady());
    expectColour(mixer.colour(0, 0, 0), 0, 0, 0, 0);
    mixer.setColourInput(&blue, 2);
    mixer.setInput(&field, 1);
    EXPECT_FALSE(mixer.inputsReady());
    mixer.setColourInput(&blue, 1);
    EXPECT_TRUE(mixer.inputsReady());
    expectColour(mixer.colour(0, 0, 0), 0.75, 0, 0.25, 1);
    EXPECT_FALSE(mixer.hasSpline());
    EXPECT_TRUE(mixer.parameters().empty());
    EXPECT_EQ(mixer.getParameter("darken"), 0.0);
}

TEST(CMixer, EvaluatesTheFieldThenColourOneThenColourZero)
{
    Log log;
    ProbeField field(0.5, "field", &log);
    ProbeColour zero(Colour(1, 1, 1, 1), "colour0", &log), one(Colour(0, 0, 0, 0), "colour1", &log);
    CMixer mixer;
    mixer.setColourInput(&zero, 0);
    mixer.setColourInput(&one, 1);
    mixer.setInput(&field, 0);
    expectColour(mixer.colour(1, 2, 3), 0.5, 0.5, 0.5, 0.5);
    EXPECT_EQ(log, (Log{"field", "colour1", "colour0"}));
    EXPECT_EQ(field.points.back(), (std::array<double, 3>{1, 2, 3}));
}

TEST(CMixer, InputsAreBorrowed)
{
    bool fieldGone = false, colourGone = false;
    ProbeField field(0.5, "", nullptr, &fieldGone);
    ProbeColour colour(Colour(1, 1, 1, 1), "", nullptr, &colourGone);
    {
        CMixer mixer;
        mixer.setInput(&field, 0);
        mixer.setColourInput(&colour, 0);
        mixer.setColourInput(&colour, 1);
        CDarken darken;
        darken.setInput(&field, 0);
        darken.setColourInput(&colour, 0);
    }
    EXPECT_FALSE(fieldGone);
    EXPECT_FALSE(colourGone);
}

TEST(CDarken, HasTheSingleParameterDarken)
{
    CDarken darken;
    ASSERT_EQ(darken.parameters().size(), 1u);
    const ParameterInfo* info = darken.findParameter("darken");
    ASSERT_EQ(info, &darken.parameters()[0]);
    EXPECT_EQ(info->kind, 1);
    EXPECT_EQ(info->min.realValue, 0.0);
    EXPECT_EQ(info->max.realValue, 1.0);
    EXPECT_EQ(info->defaultValue.realValue, 0.5);
    EXPECT_EQ(darken.getParameter("darken"), 0.5);
    EXPECT_EQ(darken.getParameter("contrast"), 0.0);
    EXPECT_EQ(darken.findParameter("contrast"), nullptr);
    darken.setParameter("contrast", 3.0);
    EXPECT_EQ(darken.getParameter("contrast"), 0.0);
    darken.setIntParameter("darken", 1);
    EXPECT_EQ(darken.getParameter("darken"), 0.5);
    EXPECT_EQ(darken.getIntParameter("darken"), 0);
    EXPECT_EQ(ColourBasis::parameterList().size(), 0u);
}

TEST(CDarken, ScalesEveryComponentByTheDarkeningFactor)
{
    Log log;
    ProbeField field(0.2, "field", &log);
    ProbeColour white(Colour(1, 1, 1, 1), "colour", &log);
    CDarken darken;
    EXPECT_EQ(darken.inputCount(), 1);
    EXPECT_EQ(darken.colourInputCount(), 1);
    EXPECT_FALSE(darken.inputsReady());
    darken.setInput(&field, 0);
    darken.setColourInput(&white, 1);
    EXPECT_FALSE(darken.inputsReady());
    expectColour(darken.colour(0, 0, 0), 0, 0, 0, 0);
    darken.setColourInput(&white, 0);
    EXPECT_TRUE(darken.inputsReady());
    log.clear();
    expectColour(darken.colour(0, 0, 0), 0.6, 0.6, 0.6, 0.6);
    EXPECT_EQ(log, (Log{"field", "colour"}));
    darken.setParameter("darken", 0.0);
    expectColour(darken.colour(0, 0, 0), 1, 1, 1, 1);
    darken.setParameter("darken", 1.0);
    field.raw = 0.99;
    expectColour(darken.colour(0, 0, 0), 0.99, 0.99, 0.99, 0.99);
    darken.setParameter("darken", 2.0);
    EXPECT_EQ(darken.getParameter("darken"), 2.0);
    field.raw = 0.25;
    expectColour(darken.colour(0, 0, 0), -0.5, -0.5, -0.5, -0.5);
}

} // namespace
