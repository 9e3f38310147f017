#include "texture/scalar/basis.h"
#include "texture/scalar/noise.h"

#include <gtest/gtest.h>

#include <type_traits>

using namespace tex;

namespace {

// A field whose raw result is whatever the test sets.
class ConstantField : public Basis {
public:
    double raw = 0.5;

protected:
    double formula(double, double, double) const override { return raw; }
};

// A field with an input and parameters of its own, built the way derived
// fields are: its list extends the Basis list, its operations compare their
// own names first and pass the rest to Basis.
class DerivedField : public Basis {
public:
    DerivedField() : Basis(1) { parameterList(); }

    static const ParameterList& parameterList()
    {
        static const ParameterList list = extend(Basis::parameterList(), {
            ParameterInfo::integer("octaves", 1, 16, 8),
            ParameterInfo::real("lacunarity", 0.0, 10.0, 2.0),
        });
        return list;
    }
    const ParameterList& parameters() const override { return parameterList(); }

    void setParameter(const std::string& name, double v) override
    {
        if (name == "lacunarity")
            lacunarity = v;
        else
            Basis::setParameter(name, v);
    }
    void setIntParameter(const std::string& name, int v) override
    {
        if (name == "octaves")
            octaves = v;
        else
            Basis::setIntParameter(name, v);
    }
    double getParameter(const std::string& name) const override
    {
        return name == "lacunarity" ? lacunarity : Basis::getParameter(name);
    }
    int getIntParameter(const std::string& name) const override
    {
        return name == "octaves" ? octaves : Basis::getIntParameter(name);
    }

    int octaves = 8;
    double lacunarity = 2.0;

protected:
    double formula(double x, double y, double z) const override { return input(0)->value(x, y, z); }
};

} // namespace

static_assert(!std::is_copy_constructible<Basis>::value, "fields are not copied");
static_assert(!std::is_copy_assignable<Basis>::value, "fields are not copied");
static_assert(std::has_virtual_destructor<Basis>::value, "fields are destroyed through Basis");

TEST(Basis, ListHoldsTheFourCommonParameters)
{
    const ParameterList& list = Basis::parameterList();
    ASSERT_EQ(list.size(), 4u);
    const char* names[] = {"contrast", "xscale", "yscale", "zscale"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list[i].name, names[i]);
        EXPECT_EQ(list[i].kind, 1);
        EXPECT_EQ(list[i].min.realValue, 0.0);
        EXPECT_EQ(list[i].max.realValue, 10.0);
        EXPECT_EQ(list[i].defaultValue.realValue, 1.0);
    }
    ConstantField field;
    EXPECT_EQ(&field.parameters(), &Basis::parameterList());
    EXPECT_EQ(field.findParameter("zscale"), &list[3]);
    EXPECT_EQ(field.findParameter("octaves"), nullptr);
}

TEST(Basis, NewFieldsStartAtOneAndStoreValuesUnchecked)
{
    ConstantField field;
    for (const char* name : {"contrast", "xscale", "yscale", "zscale"})
        EXPECT_EQ(field.getParameter(name), 1.0) << name;

    field.setParameter("contrast", 50.0);
    field.setParameter("xscale", -2.0);
    field.setParameter("yscale", 3.0);
    field.setParameter("zscale", 4.0);
    EXPECT_EQ(field.getParameter("contrast"), 50.0);
    EXPECT_EQ(field.getParameter("xscale"), -2.0);
    EXPECT_EQ(field.getParameter("yscale"), 3.0);
    EXPECT_EQ(field.getParameter("zscale"), 4.0);
}

TEST(Basis, UnknownNamesAreIgnoredAndReadAsZero)
{
    ConstantField field;
    field.setParameter("XScale", 5.0);
    field.setParameter("xscale ", 5.0);
    EXPECT_EQ(field.getParameter("xscale"), 1.0);
    EXPECT_EQ(field.getParameter("XScale"), 0.0);
    EXPECT_EQ(field.findParameter("XScale"), nullptr);

    field.setIntParameter("contrast", 7);
    EXPECT_EQ(field.getParameter("contrast"), 1.0);
    EXPECT_EQ(field.getIntParameter("contrast"), 0);
}

TEST(Basis, ContrastStageClampsToTheUnitBand)
{
    ConstantField field;
    field.raw = 0;
    EXPECT_EQ(field.value(0, 0, 0), 0.01);
    field.raw = 1;
    EXPECT_EQ(field.value(0, 0, 0), 0.99);
    field.raw = 0.3;
    EXPECT_EQ(field.value(0, 0, 0), 0.3);
    field.raw = 0.99;
    EXPECT_EQ(field.value(0, 0, 0), 0.99);

    field.setParameter("contrast", 0);
    for (double raw : {-10.0, 0.0, 0.2, 1.0, 7.0}) {
        field.raw = raw;
        EXPECT_EQ(field.value(0, 0, 0), 0.5) << raw;
    }

    field.setParameter("contrast", -1);
    field.raw = 0.3;
    EXPECT_EQ(field.value(0, 0, 0), (0.3 - 0.5) * -1 + 0.5);
    field.raw = 0;
    EXPECT_EQ(field.value(0, 0, 0), 0.99);

    for (double c : {-3.0, 0.5, 2.0, 100.0}) {
        field.setParameter("contrast", c);
        field.raw = 0.5;
        EXPECT_EQ(field.value(0, 0, 0), 0.5) << c;
    }

    field.setParameter("contrast", 2);
    EXPECT_EQ(field.applyContrast(0.6), (0.6 - 0.5) * 2 + 0.5);
    EXPECT_EQ(field.applyContrast(0.8), 0.99);
    EXPECT_EQ(field.applyContrast(0.2), 0.01);
}

TEST(Basis, HasNoInputsByDefault)
{
    ConstantField field;
    ConstantField other;
    EXPECT_EQ(field.inputCount(), 0);
    EXPECT_TRUE(field.inputsReady());
    field.setInput(&other, 0);
    field.setInput(nullptr, -1);
    EXPECT_TRUE(field.inputsReady());
}

TEST(Basis, DerivedListExtendsTheBasisListWithoutTouchingIt)
{
    DerivedField derived;
    const ParameterList& list = derived.parameters();
    ASSERT_EQ(list.size(), 6u);
    const char* names[] = {"contrast", "xscale", "yscale", "zscale", "octaves", "lacunarity"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(list[i].name, names[i]);
    EXPECT_EQ(Basis::parameterList().size(), 4u);

    const ParameterInfo* octaves = derived.findParameter("octaves");
    ASSERT_NE(octaves, nullptr);
    EXPECT_EQ(octaves->kind, 0);
    EXPECT_EQ(octaves->min.intValue, 1);
    EXPECT_EQ(octaves->max.intValue, 16);
    EXPECT_EQ(octaves->defaultValue.intValue, 8);
    const ParameterInfo* zscale = derived.findParameter("zscale");
    ASSERT_NE(zscale, nullptr);
    EXPECT_EQ(zscale->kind, 1);
    EXPECT_EQ(zscale->defaultValue.realValue, 1.0);
}

TEST(Basis, DerivedOperationsFallBackToTheBase)
{
    DerivedField derived;
    derived.setParameter("xscale", 3.0);
    derived.setParameter("lacunarity", 2.5);
    derived.setIntParameter("octaves", 4);
    EXPECT_EQ(derived.getParameter("xscale"), 3.0);
    EXPECT_EQ(derived.getParameter("lacunarity"), 2.5);
    EXPECT_EQ(derived.getIntParameter("octaves"), 4);

    // Real through the integer path and the reverse: ignored, read as 0.
    derived.setIntParameter("lacunarity", 9);
    derived.setParameter("octaves", 9.0);
    EXPECT_EQ(derived.getParameter("lacunarity"), 2.5);
    EXPECT_EQ(derived.getIntParameter("octaves"), 4);
    EXPECT_EQ(derived.getIntParameter("lacunarity"), 0);
    EXPECT_EQ(derived.getParameter("octaves"), 0.0);
}

TEST(Basis, FieldWithoutItsInputGivesTheBottomOfItsRange)
{
    DerivedField derived;
    EXPECT_FALSE(derived.inputsReady());
    EXPECT_EQ(derived.value(1, 2, 3), 0.01);

    ConstantField constant;
    constant.raw = 0.25;
    derived.setInput(&constant, 1);
    EXPECT_FALSE(derived.inputsReady());
    derived.setInput(&constant, 0);
    EXPECT_TRUE(derived.inputsReady());
    EXPECT_EQ(derived.value(1, 2, 3), 0.25);
}

TEST(Basis, DestroyedThroughTheBasePointer)
{
    Basis* field = new Noise(1, 16);
    EXPECT_EQ(field->getParameter("contrast"), 1.0);
    EXPECT_EQ(&field->parameters(), &Basis::parameterList());
    delete field;
}
