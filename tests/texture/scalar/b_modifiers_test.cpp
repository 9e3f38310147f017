// The six B modifiers: parameters, wiring, worked figures and input order.
#include "texture/scalar/b_darken.h"
#include "texture/scalar/b_gainer.h"
#include "texture/scalar/b_lerper.h"
#include "texture/scalar/b_perturber.h"
#include "texture/scalar/b_scaler.h"
#include "texture/scalar/b_stepper.h"

#include "tests/texture/scalar/probe_field.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tex;

namespace {

std::vector<std::string> names(const ParameterList& list)
{
    std::vector<std::string> result;
    for (const ParameterInfo& info : list)
        result.push_back(info.name);
    return result;
}

using Names = std::vector<std::string>;

TEST(BModifiers, ParameterListsAreInOrderWithTheirDefaults)
{
    EXPECT_EQ(names(BPerturber().parameters()), (Names{"contrast", "xscale", "yscale", "zscale", "xperturb", "yperturb", "zperturb"}));
    EXPECT_EQ(names(BLerper().parameters()), (Names{"contrast", "xscale", "yscale", "zscale", "amount"}));
    EXPECT_EQ(names(BDarken().parameters()), (Names{"contrast", "xscale", "yscale", "zscale", "amount"}));
    EXPECT_EQ(names(BScaler().parameters()), (Names{"contrast", "xscale", "yscale", "zscale", "x", "y", "z"}));
    EXPECT_EQ(names(BGainer().parameters()), (Names{"contrast", "xscale", "yscale", "zscale", "gain"}));
    EXPECT_EQ(names(BStepper().parameters()), (Names{"contrast", "xscale", "yscale", "zscale", "step"}));
    EXPECT_EQ(Basis::parameterList().size(), 4u);

    const ParameterInfo* perturb = BPerturber().findParameter("zperturb");
    ASSERT_NE(perturb, nullptr);
    EXPECT_EQ(perturb->kind, 1);
    EXPECT_EQ(perturb->min.realValue, -10.0);
    EXPECT_EQ(perturb->max.realValue, 10.0);
    EXPECT_EQ(perturb->defaultValue.realValue, 0.1);
    const ParameterInfo* x = BScaler().findParameter("x");
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->min.realValue, -5.0);
    EXPECT_EQ(x->defaultValue.realValue, 1.0);
    EXPECT_EQ(BGainer().findParameter("gain")->max.realValue, 1.0);

    EXPECT_EQ(BPerturber().getParameter("yperturb"), 0.1);
    EXPECT_EQ(BLerper().getParameter("amount"), 0.5);
    EXPECT_EQ(BDarken().getParameter("amount"), 0.5);
    EXPECT_EQ(BScaler().getParameter("z"), 1.0);
    EXPECT_EQ(BGainer().getParameter("gain"), 0.5);
    EXPECT_EQ(BStepper().getParameter("step"), 0.5);
    EXPECT_EQ(BStepper().getParameter("contrast"), 1.0);
}

TEST(BModifiers, OwnNamesFirstThenTheBasisOnes)
{
    BGainer gainer;
    EXPECT_EQ(gainer.getParameter("amount"), 0.0);
    gainer.setParameter("gain", 3.0);
    EXPECT_EQ(gainer.getParameter("gain"), 3.0) << "stored although above max";
    gainer.setIntParameter("gain", 0);
    EXPECT_EQ(gainer.getParameter("gain"), 3.0);
    EXPECT_EQ(gainer.getIntParameter("gain"), 0);
    gainer.setParameter("xscale", 4.0);
    EXPECT_EQ(gainer.getParameter("xscale"), 4.0);
    BScaler scaler;
    scaler.setParameter("y", -2.0);
    scaler.setParameter("X", 9.0);
    EXPECT_EQ(scaler.getParameter("y"), -2.0);
    EXPECT_EQ(scaler.getParameter("x"), 1.0);
    EXPECT_EQ(scaler.getParameter("X"), 0.0);
    BPerturber perturber;
    perturber.setParameter("xperturb", -7.5);
    EXPECT_EQ(perturber.getParameter("xperturb"), -7.5);
    EXPECT_EQ(perturber.getParameter("yperturb"), 0.1);
}

TEST(BModifiers, WiringFollowsTheInputIndices)
{
    ProbeField a(0.3), b(0.6);
    std::unique_ptr<Basis> pairs[] = {std::make_unique<BPerturber>(), std::make_unique<BLerper>(), std::make_unique<BDarken>()};
    for (auto& modifier : pairs) {
        EXPECT_EQ(modifier->inputCount(), 2);
        EXPECT_FALSE(modifier->inputsReady());
        EXPECT_EQ(modifier->value(1, 2, 3), 0.01) << "unwired modifiers stay at the bottom of their range";
        modifier->setInput(&a, 0);
        EXPECT_FALSE(modifier->inputsReady());
        EXPECT_EQ(modifier->value(1, 2, 3), 0.01);
        modifier->setInput(&b, 2);
        EXPECT_FALSE(modifier->inputsReady());
        modifier->setInput(&b, 1);
        EXPECT_TRUE(modifier->inputsReady());
    }
    std::unique_ptr<Basis> singles[] = {std::make_unique<BScaler>(), std::make_unique<BGainer>(), std::make_unique<BStepper>()};
    for (auto& modifier : singles) {
        EXPECT_EQ(modifier->inputCount(), 1);
        EXPECT_FALSE(modifier->inputsReady());
        EXPECT_EQ(modifier->value(1, 2, 3), 0.01);
        modifier->setInput(&a, 1);
        EXPECT_FALSE(modifier->inputsReady());
        modifier->setInput(&a, 0);
        EXPECT_TRUE(modifier->inputsReady());
    }
    BLerper lerper;
    lerper.setInput(&a, 0);
    lerper.setInput(&b, 1);
    lerper.setInput(&a, 2);
    EXPECT_DOUBLE_EQ(lerper.value(0, 0, 0), 0.45);
}

TEST(BModifiers, InputsAreBorrowed)
{
    bool destroyed0 = false, destroyed1 = false;
    ProbeField a(0.3, "", nullptr, &destroyed0), b(0.6, "", nullptr, &destroyed1);
    {
        BDarken darken;
        darken.setInput(&a, 0);
        darken.setInput(&b, 1);
        BStepper stepper;
        stepper.setInput(&a, 0);
    }
    EXPECT_FALSE(destroyed0);
    EXPECT_FALSE(destroyed1);
    EXPECT_EQ(a.value(0, 0, 0), 0.3);
}

TEST(BModifiers, InputsAreEvaluatedInTheirOrder)
{
    std::vector<std::string> log;
    ProbeField zero(0.3, "input0", &log), one(0.6, "input1", &log);
    BPerturber perturber;
    BLerper lerper;
    BDarken darken;
    for (Basis* modifier : {static_cast<Basis*>(&perturber), static_cast<Basis*>(&lerper), static_cast<Basis*>(&darken)}) {
        modifier->setInput(&zero, 0);
        modifier->setInput(&one, 1);
    }
    perturber.value(1, 1, 1);
    EXPECT_EQ(log, (Names{"input1", "input0"}));
    log.clear();
    lerper.value(1, 1, 1);
    EXPECT_EQ(log, (Names{"input1", "input0"}));
    log.clear();
    darken.value(1, 1, 1);
    EXPECT_EQ(log, (Names{"input0", "input1"}));
}

TEST(BPerturber, DisplacesTheSampleByTheOtherField)
{
    ProbeField perturbed(0.7), perturbing(0.5);
    BPerturber perturber;
    perturber.setInput(&perturbed, 0);
    perturber.setInput(&perturbing, 1);
    perturber.setParameter("xscale", 2.0);
    perturber.setParameter("xperturb", 1.0);
    perturber.setParameter("yperturb", -2.0);
    EXPECT_EQ(perturber.value(1.0, 3.0, 5.0), 0.7);
    EXPECT_EQ(perturbing.points.back(), (std::array<double, 3>{2.0, 3.0, 5.0}));
    EXPECT_EQ(perturbed.points.back(), (std::array<double, 3>{2.5, 2.0, 5.05}));
    perturber.setParameter("xperturb", 0.0);
    perturber.setParameter("yperturb", 0.0);
    perturber.setParameter("zperturb", 0.0);
    perturber.value(1.0, 3.0, 5.0);
    EXPECT_EQ(perturbed.points.back(), (std::array<double, 3>{2.0, 3.0, 5.0}));
}

TEST(BLerper, BlendsByAmount)
{
    ProbeField a(0.2), b(0.8);
    BLerper lerper;
    lerper.setInput(&a, 0);
    lerper.setInput(&b, 1);
    EXPECT_EQ(lerper.value(0, 0, 0), 0.2 + (0.8 - 0.2) * 0.5);
    lerper.setParameter("amount", 0.0);
    EXPECT_EQ(lerper.value(0, 0, 0), 0.2);
    lerper.setParameter("amount", 1.0);
    EXPECT_EQ(lerper.value(0, 0, 0), 0.8);
    lerper.setParameter("amount", 0.25);
    lerper.setParameter("yscale", 3.0);
    EXPECT_EQ(lerper.value(1, 1, 1), 0.2 + (0.8 - 0.2) * 0.25);
    EXPECT_EQ(a.points.back(), (std::array<double, 3>{1.0, 3.0, 1.0}));
}

TEST(BDarken, DarkensByTheSecondField)
{
    ProbeField a(0.8), b(0.4);
    BDarken darken;
    darken.setInput(&a, 0);
    darken.setInput(&b, 1);
    EXPECT_DOUBLE_EQ(darken.value(0, 0, 0), 0.56);
    darken.setParameter("amount", 0.0);
    EXPECT_EQ(darken.value(0, 0, 0), 0.8);
    darken.setParameter("amount", 1.0);
    EXPECT_DOUBLE_EQ(darken.value(0, 0, 0), 0.32);
}

TEST(BScaler, SamplesAtTheStretchedPoint)
{
    ProbeField input(0.3);
    BScaler scaler;
    scaler.setInput(&input, 0);
    scaler.setParameter("x", 2.0);
    scaler.setParameter("xscale", 3.0);
    scaler.setParameter("z", -0.5);
    EXPECT_EQ(scaler.value(1.5, 2.0, 4.0), 0.3);
    EXPECT_EQ(input.points.back(), (std::array<double, 3>{9.0, 2.0, -2.0}));
}

TEST(BGainer, ReshapesWithTheGainCurve)
{
    ProbeField input(0.25);
    BGainer gainer;
    gainer.setInput(&input, 0);
    EXPECT_EQ(gainer.value(0, 0, 0), 0.25) << "gain 0.5 passes the input through";
    gainer.setParameter("gain", 0.25);
    EXPECT_DOUBLE_EQ(gainer.value(0, 0, 0), 0.375);
    input.raw = 0.5;
    EXPECT_EQ(gainer.value(0, 0, 0), 0.5);
}

TEST(BStepper, ThresholdsToTheEndsOfTheRange)
{
    ProbeField input(0.5);
    BStepper stepper;
    stepper.setInput(&input, 0);
    EXPECT_EQ(stepper.value(0, 0, 0), 0.99);
    input.raw = 0.49;
    EXPECT_EQ(stepper.value(0, 0, 0), 0.01);
    stepper.setParameter("contrast", 0.5);
    EXPECT_EQ(stepper.value(0, 0, 0), 0.25);
}

} // namespace
