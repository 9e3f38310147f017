// ParameterTable: one declaration per parameter gives the list entry, the
// member's start value and the by-name access. And every texture function of
// the library starts each parameter at the default its list publishes.
#include "texture/scalar/parameter_table.h"
#include "texture/texture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tex;

namespace {

// A field built the way the library's classes are, with one entry of each
// kind and one named like a Basis parameter, and three inputs.
class TableField : public Basis {
public:
    TableField() : Basis(3)
    {
        static const ParameterTable table(Basis::parameterTable(), {
            ParameterTable::integer("count", -4, 4, 3, &TableField::count),
            ParameterTable::real("contrast", 0.0, 1.0, 0.25, &TableField::ownContrast),
            ParameterTable::real("level", 0.0, 1.0, 0.75, &TableField::level),
        });
        useParameters(table);
    }

    std::int32_t count;
    double ownContrast;
    double level;

protected:
    double formula(double, double, double) const override { return level; }
};

TEST(ParameterTable, OwnEntriesFollowTheBaseListAndStartAtTheirDefaults)
{
    TableField field;
    std::vector<std::string> names;
    for (const ParameterInfo& info : field.parameters())
        names.push_back(info.name);
    EXPECT_EQ(names, (std::vector<std::string>{"contrast", "xscale", "yscale", "zscale", "count", "contrast", "level"}));
    EXPECT_EQ(field.parameters()[4].kind, ParameterInfo::integerKind);
    EXPECT_EQ(field.parameters()[4].min.intValue, -4);
    EXPECT_EQ(Basis::parameterList().size(), 4u);
    EXPECT_EQ(&TableField().parameters(), &field.parameters()) << "one program-wide list";

    EXPECT_EQ(field.count, 3);
    EXPECT_EQ(field.ownContrast, 0.25);
    EXPECT_EQ(field.level, 0.75);
    EXPECT_EQ(field.getParameter("xscale"), 1.0);
}

TEST(ParameterTable, NamesGoToOwnEntriesFirstThenTheBaseByKind)
{
    TableField field;
    // The own "contrast" shadows the Basis one for reading and writing;
    // findParameter still answers the first entry of the list.
    EXPECT_EQ(field.getParameter("contrast"), 0.25);
    field.setParameter("contrast", 0.5);
    EXPECT_EQ(field.ownContrast, 0.5);
    TableField input;
    for (int i = 0; i < 3; ++i)
        field.setInput(&input, i);
    EXPECT_EQ(field.value(0, 0, 0), 0.75) << "the Basis contrast stays 1";
    EXPECT_EQ(field.findParameter("contrast"), &field.parameters()[0]);

    field.setParameter("xscale", 2.0);
    field.setIntParameter("count", -7);
    EXPECT_EQ(field.getParameter("xscale"), 2.0);
    EXPECT_EQ(field.count, -7) << "stored although below min";

    // The other kind's operations neither write nor read a parameter.
    field.setParameter("count", 1.0);
    field.setIntParameter("level", 1);
    EXPECT_EQ(field.count, -7);
    EXPECT_EQ(field.level, 0.75);
    EXPECT_EQ(field.getParameter("count"), 0.0);
    EXPECT_EQ(field.getIntParameter("level"), 0);
    EXPECT_EQ(field.getParameter("Level"), 0.0);
}

TEST(ParameterTable, BasisHoldsAsManyInputsAsItIsGiven)
{
    TableField field, input;
    EXPECT_EQ(field.inputCount(), 3);
    field.setInput(&input, 0);
    field.setInput(&input, 2);
    field.setInput(&input, 3);
    field.setInput(&input, -1);
    EXPECT_FALSE(field.inputsReady());
    field.setInput(&input, 1);
    EXPECT_TRUE(field.inputsReady());
    field.setInput(nullptr, 2);
    EXPECT_FALSE(field.inputsReady());
}

// Each entry of parameters() is read by the getter of its kind as its
// default, written and read back through the setter of its kind, and left
// alone by the other kind's.
void expectDefaultsAndRouting(Parameterised& object)
{
    for (const ParameterInfo& info : object.parameters()) {
        SCOPED_TRACE(info.name);
        if (info.kind == ParameterInfo::realKind) {
            EXPECT_EQ(object.getParameter(info.name), info.defaultValue.realValue);
            object.setIntParameter(info.name, 7);
            EXPECT_EQ(object.getIntParameter(info.name), 0);
            object.setParameter(info.name, 0.375);
            EXPECT_EQ(object.getParameter(info.name), 0.375);
        } else {
            EXPECT_EQ(object.getIntParameter(info.name), info.defaultValue.intValue);
            object.setParameter(info.name, 7.0);
            EXPECT_EQ(object.getParameter(info.name), 0.0);
            object.setIntParameter(info.name, 5);
            EXPECT_EQ(object.getIntParameter(info.name), 5);
        }
    }
}

TEST(LibraryParameters, EveryClassStartsAtTheDefaultsItPublishes)
{
    Noise noise(1, 16);
    FBM fbm;
    Turbulence turbulence(1, 8); // its octaves come from the argument, here the default
    Voronoi voronoi(1, 16, 1.5);
    Sphere sphere;
    Checker checker;
    BPerturber perturber;
    BLerper lerper;
    BDarken bdarken;
    BScaler scaler;
    BGainer gainer;
    BStepper stepper;
    ColourMap map;
    Marble marble;
    Flagstone flagstone(1, 2);
    CMixer mixer;
    CDarken cdarken;
    Parameterised* objects[] = {&noise, &fbm, &turbulence, &voronoi, &sphere, &checker, &perturber, &lerper, &bdarken,
                                &scaler, &gainer, &stepper, &map, &marble, &flagstone, &mixer, &cdarken};
    std::size_t entries = 0;
    for (Parameterised* object : objects) {
        expectDefaultsAndRouting(*object);
        entries += object->parameters().size();
    }
    EXPECT_EQ(entries, 12 * 4 + 2 * 2 + 3 + 1 + 1 + 3 + 1 + 1 + 1u);
}

} // namespace

TEST(ParameterTable, AnEntryFoundOnceLeadsStraightToItsMember)
{
    TableField field;
    TableField input;
    for (int i = 0; i < 3; ++i)
        field.setInput(&input, i);
    ParameterValue value{};
    // By its entry even the Basis "contrast", which the own one hides from
    // every lookup by name.
    value.realValue = 2.0;
    EXPECT_TRUE(field.setParameterValue(field.parameters()[0], value));
    EXPECT_EQ(field.getParameter("contrast"), 0.25);
    EXPECT_EQ(field.value(0, 0, 0), 0.99) << "(0.75 - 0.5) * 2 + 0.5, clamped";
    value.realValue = 0.5;
    EXPECT_TRUE(field.setParameterValue(field.parameters()[5], value));
    EXPECT_EQ(field.ownContrast, 0.5);
    value.intValue = -7;
    EXPECT_TRUE(field.setParameterValue(field.parameters()[4], value));
    EXPECT_EQ(field.count, -7);

    // A descriptor that is not an entry of the object's list changes nothing.
    const ParameterInfo copy = field.parameters()[6];
    value.realValue = 0.125;
    EXPECT_FALSE(field.setParameterValue(copy, value));
    EXPECT_FALSE(field.setParameterValue(Basis::parameterList()[1], value));
    EXPECT_EQ(field.level, 0.75);
    EXPECT_EQ(field.getParameter("xscale"), 1.0);
}
