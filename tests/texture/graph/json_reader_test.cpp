// readJson: one strict reading for every JSON file the programs read. Bad
// text is refused with its place, and no text, however hostile, costs more
// than linear time and memory or exhausts the stack.
#include "texture/graph/json_reader.h"

#include <gtest/gtest.h>

#include <string>

using namespace tex;

namespace {

// The message `text` is refused with, or "accepted".
std::string refusal(const std::string& text, const JsonLimits& limits = {})
{
    nlohmann::json document;
    JsonError error;
    return readJson(text, limits, document, error) ? "accepted" : error.describe("f.json");
}

} // namespace

TEST(JsonReader, ReadsOneDocumentExactly)
{
    nlohmann::json document;
    JsonError error;
    ASSERT_TRUE(readJson(R"({"a": [1, -2, 18446744073709551615, 0.1, "x", true, null], "b": {}})", {}, document,
                         error));
    EXPECT_EQ(document.dump(), R"({"a":[1,-2,18446744073709551615,0.1,"x",true,null],"b":{}})");
    EXPECT_EQ(refusal("[1] [2]"), "f.json:1:5: syntax error while parsing value - unexpected '['; expected end of input");
    EXPECT_EQ(refusal("{\n  \"a\": 1,\n  \"b\": 2e400}"), "f.json:3:8: number overflow parsing '2e400'");
}

TEST(JsonReader, AKeyGivenTwiceIsPlacedByItsObject)
{
    EXPECT_EQ(refusal(R"({"a": 1, "a": 1})"), "f.json: top level: key \"a\" appears twice");
    EXPECT_EQ(refusal(R"({"list": [{}, {"x/y": {"k": 1, "j": [], "k": 2}}]})"),
              "f.json: /list/1/x~1y: key \"k\" appears twice");
    // The same key in sibling objects is no repeat.
    EXPECT_EQ(refusal(R"([{"k": 1}, {"k": 1}, {"k": {"k": 1}}])"), "accepted");
}

TEST(JsonReader, NestingAndSizeHaveLimits)
{
    const auto nested = [](int depth) { return std::string(std::size_t(depth), '[') + std::string(std::size_t(depth), ']'); };
    EXPECT_EQ(refusal(nested(64)), "accepted");
    EXPECT_EQ(refusal(nested(65)), "f.json: /0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/"
                                   "0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0: more than 64 arrays and objects "
                                   "nested in each other");
    EXPECT_EQ(refusal(R"({"a": [{"b": [[]]}]})", JsonLimits{1000, 4}), "f.json: /a/0/b/0: more than 4 arrays and objects "
                                                                        "nested in each other");
    // Deep enough to overflow any recursive parser's stack, or to make one
    // that keeps a pointer per open container quadratic: refused at once.
    EXPECT_EQ(refusal(std::string(1000000, '[')).substr(0, 12), "f.json: /0/0");
    EXPECT_EQ(refusal(R"({"version": )" + nested(100000) + "}").substr(0, 22), "f.json: /version/0/0/0");

    EXPECT_EQ(refusal("[1, 2]", JsonLimits{6, 64}), "accepted");
    EXPECT_EQ(refusal("[1, 2] ", JsonLimits{6, 64}), "f.json: 7 bytes, more than the 6 a text may hold");
}

TEST(JsonReader, MessagesStayShortAndOnOneLine)
{
    // The parser quotes the token it stopped at: here the rest of the text.
    const std::string message = refusal("[\"" + std::string(100000, 'x'));
    EXPECT_LT(message.size(), 300u);
    EXPECT_EQ(message.find('\n'), std::string::npos);
    EXPECT_EQ(message.substr(0, 50), "f.json:1:100003: syntax error while parsing value ");

    EXPECT_EQ(jsonValueText(nlohmann::json::parse("[[1], 2]")), "an array");
    EXPECT_EQ(jsonValueText(nlohmann::json::parse(R"({"a": 1})")), "an object");
    EXPECT_EQ(jsonValueText(std::string(100, 'y') + "\n"), "\"" + std::string(40, 'y') + "...\"");
    EXPECT_EQ(jsonValueText("a\nb"), "\"a\\nb\"");
    EXPECT_EQ(jsonValueText(-2.5e-300), "-2.5e-300");
}
