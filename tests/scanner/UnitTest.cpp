#include "scanner/StrCol.h"
#include "scanner/Unit.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using Lex::Token;
using Lex::Unit;

Token* add(Unit& u, char const* text, char const* file = nullptr, int line = 0)
{
    Token* t = new Token(50, Token::identifier_id, text);
    if (file)
        t->location.setup(Lex::Filename(file), line);
    u.append(*t);
    return t;
}

TEST(Unit, PrintsLineDirectivesWhereLinesJump)
{
    Unit u;
    u.name("u.h");
    add(u, "a", "u.h", 1);
    add(u, " ", "u.h", 1);
    add(u, "b", "u.h", 2);
    add(u, "c", "u.h", 5);
    add(u, "d", "v.h", 5);
    add(u, "e");
    add(u, "f", "v.h", 9);

    std::ostringstream plain;
    u.print(plain);
    EXPECT_EQ("a bcdef", plain.str());

    u.print_source_file = true;
    u.print_line_directives = true;
    std::ostringstream os;
    u.print(os);
    EXPECT_EQ("//SourceFile: \"u.h\"\n"
              "#line 1 \"u.h\"\n"
              "a b\n"
              "#line 5 \"u.h\"\n"
              "c\n"
              "#line 5 \"v.h\"\n"
              "de\n"
              "#line 9 \"v.h\"\n"
              "f",
              os.str());
}

TEST(Unit, PrintsRanges)
{
    Unit u;
    add(u, "a");
    Token* b = add(u, "b");
    Token* c = add(u, "c");
    add(u, "d");
    std::ostringstream upTo, range;
    u.print(upTo, c);
    u.print(range, b, c);
    EXPECT_EQ("abc", upTo.str());
    EXPECT_EQ("bc", range.str());
}

TEST(Unit, NamesAndDuplicate)
{
    Unit u;
    EXPECT_EQ(nullptr, u.name());
    u.name("first.h");
    EXPECT_STREQ("first.h", u.name(u.name())); // renaming to its own name
    u.destName("out.h");
    u.mtime = 42;
    add(u, "x", "first.h", 3);
    add(u, "y");
    EXPECT_FALSE(u.isFile());
    EXPECT_FALSE(u.isMacroExp());

    Unit* copy = u.duplicate();
    EXPECT_EQ(nullptr, copy->list());
    EXPECT_STREQ("first.h", copy->name());
    EXPECT_NE(u.name(), copy->name());
    EXPECT_STREQ("out.h", copy->destName());
    EXPECT_EQ(42, copy->mtime);
    ASSERT_NE(nullptr, copy->first());
    EXPECT_NE(u.first(), copy->first());
    EXPECT_EQ(u.first()->text, copy->first()->text);
    EXPECT_EQ(3, copy->first()->location.line());
    EXPECT_EQ(copy, copy->first()->list());
    char* s = Lex::StrCol::buildString(copy);
    EXPECT_STREQ("xy", s);
    delete[] s;
    delete copy;

    u.name(nullptr);
    EXPECT_EQ(nullptr, u.name());
}

} // namespace
