// The catalogue: what it says of each node type is what the type's class
// does, so that graph files, texbake --list and docs/texbake.md can rely on it.
#include "texture/texture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace tex;

TEST(Catalogue, EveryTypeAgreesWithTheObjectsItBuilds)
{
    std::set<std::string> names;
    for (const NodeType* type : nodeTypes()) {
        SCOPED_TRACE(type->name);
        EXPECT_TRUE(names.insert(type->name).second) << "listed twice";
        EXPECT_EQ(findNodeType(type->name), type);
        EXPECT_NE(std::string(type->description), "");

        std::unique_ptr<Basis> field;
        std::unique_ptr<ColourBasis> colour;
        if (type->kind == NodeKind::Field) {
            ASSERT_TRUE(type->makeField != nullptr && type->makeColour == nullptr);
            field = type->makeField(type->defaultArguments());
        } else {
            ASSERT_TRUE(type->makeColour != nullptr && type->makeField == nullptr);
            colour = type->makeColour(type->defaultArguments());
        }
        const Parameterised& built = field ? static_cast<const Parameterised&>(*field) : *colour;
        // The catalogue's list is the object's own parameters().
        EXPECT_EQ(type->parameters, &built.parameters());
        for (const ParameterInfo& info : *type->parameters) {
            EXPECT_NE(info.description, "") << info.name;
            if (info.kind == ParameterInfo::realKind)
                EXPECT_EQ(built.getParameter(info.name), info.defaultValue.realValue) << info.name;
            else
                EXPECT_EQ(built.getIntParameter(info.name), info.defaultValue.intValue) << info.name;
        }

        EXPECT_EQ(type->inputCount(NodeKind::Field), field ? field->inputCount() : colour->inputCount());
        EXPECT_EQ(type->inputCount(NodeKind::Colour), field ? 0 : colour->colourInputCount());
        EXPECT_EQ(type->stops, colour && colour->hasSpline());
        for (std::size_t i = 0; i < type->inputs.size(); ++i) {
            EXPECT_NE(std::string(type->inputs[i].description), "");
            const bool colourBeforeScalar =
                i > 0 && type->inputs[i - 1].kind == NodeKind::Colour && type->inputs[i].kind == NodeKind::Field;
            EXPECT_FALSE(colourBeforeScalar) << "scalar inputs come first";
        }
        for (const ArgumentInfo& argument : type->arguments)
            EXPECT_NE(std::string(argument.description), "") << argument.name;
        if (const char* repeatedBy = type->cost().repeatedBy) {
            ASSERT_NE(type->findParameter(repeatedBy), nullptr);
            EXPECT_EQ(type->findParameter(repeatedBy)->kind, ParameterInfo::integerKind);
        }
        EXPECT_EQ(type->cost().perStopStep > 0, type->stops) << "a colour lookup is priced by its stops";
        EXPECT_GT(type->cost().own, 0) << "every node evaluated costs, inner ones too";
    }
    EXPECT_EQ(nodeTypes().size(), 17u);
    EXPECT_EQ(findNodeType("noise"), nullptr);
}
