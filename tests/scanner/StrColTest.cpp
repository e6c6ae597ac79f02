#include "scanner/StrCol.h"
#include "scanner/Token.h"
#include "scanner/Unit.h"

#include <gtest/gtest.h>

namespace {

using Lex::StrCol;

TEST(StrCol, DupCopiesAtMostLenBytes)
{
    char* a = StrCol::dup("abcdef", 3);
    EXPECT_STREQ("abc", a);
    char* b = StrCol::dup("ab", 5);
    EXPECT_STREQ("ab", b);
    char* c = StrCol::dup("xyz");
    EXPECT_STREQ("xyz", c);
    EXPECT_EQ(nullptr, StrCol::dup(nullptr));
    delete[] a;
    delete[] b;
    delete[] c;
}

TEST(StrCol, Spaces)
{
    EXPECT_TRUE(StrCol::onlySpaces(""));
    EXPECT_TRUE(StrCol::onlySpaces(" \n\t\f\v\b\r"));
    EXPECT_FALSE(StrCol::onlySpaces(nullptr));
    EXPECT_FALSE(StrCol::onlySpaces(" x "));
}

TEST(StrCol, EffectivelyDifferent)
{
    struct Case {
        char const* a;
        char const* b;
        bool different;
    } const cases[] = {
        {"int x", "int x", false},
        {"  int\t\n x  ", "int x", false},
        {"int  x", "int x", false},
        {"intx", "int x", true},
        {"int x", "int y", true},
        {"int x;", "int x", true},
        {"", "   ", false},
        {nullptr, "a", true},
        {"a", nullptr, true},
    };
    for (auto const& c : cases)
        EXPECT_EQ(c.different, StrCol::effectivelyDifferent(c.a, c.b))
            << (c.a ? c.a : "(null)") << " / " << (c.b ? c.b : "(null)");
}

TEST(StrCol, BuildString)
{
    EXPECT_EQ(nullptr, StrCol::buildString(nullptr));
    Lex::Unit unit;
    unit.append(new Lex::Token(50, Lex::Token::identifier_id, "int"));
    unit.append(new Lex::Token(200, Lex::Token::white_id, " "));
    unit.append(new Lex::Token(3, Lex::Token::keyword_id, "and"));
    char* s = StrCol::buildString(&unit);
    EXPECT_STREQ("int &&", s);
    delete[] s;
}

} // namespace
