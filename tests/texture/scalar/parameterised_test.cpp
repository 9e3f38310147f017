#include "texture/scalar/parameterised.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace tex;

namespace {

// Reaches the protected helpers that every class builds on.
class Helpers : public Parameterised {
public:
    using Parameterised::extend;
    using Parameterised::findIn;
};

} // namespace

TEST(ParameterInfo, RealAndIntegerDescriptors)
{
    const ParameterInfo r = ParameterInfo::real("lacunarity", 0.5, 4.0, 2.0);
    EXPECT_EQ(r.name, "lacunarity");
    EXPECT_EQ(r.kind, 1);
    EXPECT_EQ(r.min.realValue, 0.5);
    EXPECT_EQ(r.max.realValue, 4.0);
    EXPECT_EQ(r.defaultValue.realValue, 2.0);

    const ParameterInfo i = ParameterInfo::integer("octaves", 1, 16, 8);
    EXPECT_EQ(i.name, "octaves");
    EXPECT_EQ(i.kind, 0);
    EXPECT_EQ(i.min.intValue, 1);
    EXPECT_EQ(i.max.intValue, 16);
    EXPECT_EQ(i.defaultValue.intValue, 8);
}

TEST(ParameterInfo, UnionMembersShareTheirStart)
{
    ParameterValue v;
    v.realValue = 0;
    v.intValue = -3;
    std::int32_t firstWord;
    std::memcpy(&firstWord, &v, sizeof firstWord);
    EXPECT_EQ(firstWord, -3);
    EXPECT_EQ(sizeof(ParameterValue), sizeof(double));
}

TEST(Parameterised, FindInMatchesWholeNamesExactly)
{
    const ParameterList list = {
        ParameterInfo::real("scale", 0, 1, 1),
        ParameterInfo::real("xscale", 0, 1, 1),
        ParameterInfo::integer("xscale", 0, 1, 1),
    };
    EXPECT_EQ(Helpers::findIn(list, "xscale"), &list[1]);
    EXPECT_EQ(Helpers::findIn(list, "scale"), &list[0]);
    EXPECT_EQ(Helpers::findIn(list, "XScale"), nullptr);
    EXPECT_EQ(Helpers::findIn(list, "xscal"), nullptr);
    EXPECT_EQ(Helpers::findIn(list, "xscalee"), nullptr);
    EXPECT_EQ(Helpers::findIn(list, std::string("xscale\0", 7)), nullptr);
    EXPECT_EQ(Helpers::findIn(list, ""), nullptr);
    EXPECT_EQ(Helpers::findIn(ParameterList(), "scale"), nullptr);
}

TEST(Parameterised, ExtendAppendsOwnEntriesAfterACopyOfTheBase)
{
    const ParameterList base = {
        ParameterInfo::real("a", 0, 1, 1),
        ParameterInfo::real("b", 0, 1, 1),
    };
    const ParameterList list = Helpers::extend(base, {
        ParameterInfo::integer("c", 1, 16, 8),
        ParameterInfo::real("d", 0, 4, 2),
    });
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].name, "a");
    EXPECT_EQ(list[1].name, "b");
    EXPECT_EQ(list[2].name, "c");
    EXPECT_EQ(list[3].name, "d");
    EXPECT_EQ(base.size(), 2u);
}
