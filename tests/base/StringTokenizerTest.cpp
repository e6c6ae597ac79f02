#include "base/StrConvert.h"
#include "base/StringTokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Tokens(StringTokenizer& tokens)
{
    std::vector<std::string> result;
    while (tokens.HasMoreTokens())
        result.push_back(tokens.GetNextToken().GetBuffer());
    return result;
}

using Words = std::vector<std::string>;

TEST(StringTokenizer, CharacterMode)
{
    struct Case { char const* text; Words tokens; };
    Case const cases[] = {
        {"a//b", {"a", "", "b"}},
        {"/a/", {"a"}},
        {"/", {}},
        {"", {}},
        {"a", {"a"}},
        {"//a", {"", "a"}},
        {"a/b/", {"a", "b"}},
        {"a//", {"a", ""}},
    };
    for (Case const& c : cases) {
        StringTokenizer tokens(c.text, '/');
        EXPECT_EQ(c.tokens, Tokens(tokens)) << c.text;
        EXPECT_STREQ("", tokens.GetNextToken());
    }
}

TEST(StringTokenizer, SetMode)
{
    struct Case { char const* text; char const* set; Words tokens; };
    Case const cases[] = {
        {"::A::B", ":", {"A", "B"}},
        {"A::", ":", {"A"}},
        {":::", ":", {}},
        {"", ":", {}},
        {"  layer\tstatic  x ", " \t", {"layer", "static", "x"}},
        {"f(int a, char b)", "(), ", {"f", "int", "a", "char", "b"}},
    };
    for (Case const& c : cases) {
        StringTokenizer tokens(c.text, Str(c.set));
        EXPECT_EQ(c.tokens, Tokens(tokens)) << c.text;
    }
}

TEST(StringTokenizer, PointerTokensAndRemainder)
{
    StringTokenizer tokens("one/two/three", '/');
    char* token = nullptr;
    int length = 0;
    ASSERT_TRUE(tokens.GetNextToken(token, length));
    EXPECT_EQ("one", std::string(token, static_cast<size_t>(length)));
    EXPECT_STREQ("two/three", tokens.GetRemainingString());
    EXPECT_STREQ("two", tokens.GetNextToken());
    EXPECT_STREQ("three", tokens.GetRemainingString());
    EXPECT_STREQ("three", tokens.GetNextToken());
    EXPECT_FALSE(tokens.GetNextToken(token, length));
    EXPECT_STREQ("", tokens.GetRemainingString());

    tokens.SetString("again");
    EXPECT_EQ(Words{"again"}, Tokens(tokens));
}

TEST(StrConvert, ToStringArray)
{
    struct Case { char const* text; int start; bool trim; Words pieces; };
    Case const cases[] = {
        {",a,,b", 0, true, {"", "a", "", "b"}},
        {",a,,b,", 0, true, {"", "a", "", "b"}},
        {" x ,\ty\r\n", 0, true, {"x", "y"}},
        {" x , y", 0, false, {" x ", " y"}},
        {"abc", 0, true, {"abc"}},
        {"a,b,c", 2, true, {"a,b", "c"}},
        {"a,b", 9, true, {"a,b"}},
    };
    for (Case const& c : cases) {
        StringArray pieces;
        EXPECT_TRUE(StrConvert::ToStringArray(c.text, c.start, pieces, ',', c.trim));
        Words got;
        for (int i = 0; i < pieces.GetCount(); ++i)
            got.push_back(pieces[i].GetBuffer());
        EXPECT_EQ(c.pieces, got) << c.text;
    }
}

} // namespace
