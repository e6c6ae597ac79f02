#include "scanner/Token.h"
#include "scanner/Unit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Lex::LanguageID;
using Lex::Token;

std::string printed(Token const& t)
{
    std::ostringstream os;
    t.print(os);
    return os.str();
}

TEST(Token, TextChoice)
{
    struct Case {
        int type;
        LanguageID lang;
        char const* text;
        int stored_type;
        char const* stored_text;
    } const cases[] = {
        {50, Token::identifier_id, "counter", 50, "counter"},
        {3, Token::keyword_id, "and", 3, "&&"},
        {76, Token::keyword_id, "bitor", 76, "|"},
        {104, Token::keyword_id, "throws", 104, "throw"},
        {10, Token::keyword_id, "false", 10, "false"},
        {87, Token::keyword_id, "__restrict", 87, "__restrict"},
        {13, Token::pre_id, "#  include", 13, "#  include"},
        {1, Token::dir_id, "pragma", 1, "pragma"},
        {-2, nullptr, "$", -2, ""},
        {72, Token::cpp_id, nullptr, 72, "{"},
        {87, Token::keyword_id, nullptr, 87, ""},
        {50, Token::identifier_id, nullptr, 50, "<ID>"},
        {98, Token::cpp_id, "\"s\"", 98, "\"s\""},
        {200, Token::white_id, " \n ", 200, " \n "},
        {259, Token::comment_id, " note ", 259, " note "},
        {256, Token::comment_id, "// x", 256, "//"},
        {300, Token::wildcard_id, "\\and", 0, "\\and"},
        {358, Token::wildcard_id, "\\is-typedef", 0, "\\is-typedef"},
        {141, Token::cpp_id, "x", 141, ""},
        {0, Token::cpp_id, "x", 0, ""},
        {501, Token::macro_op_id, "##", 501, "##"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.type);
        Token t(c.type, c.lang, c.text);
        EXPECT_EQ(c.stored_type, t.type);
        EXPECT_STREQ(c.stored_text, t.text->text);
        EXPECT_TRUE(t.language == c.lang);
        EXPECT_EQ(c.lang == Token::comment_id ? 1 : 0, t.flags);
        EXPECT_EQ(nullptr, t.condition);
        EXPECT_EQ(nullptr, t.cont_lines);
        EXPECT_TRUE(t.location.empty());
    }
}

TEST(Token, TypeClamp)
{
    struct Case {
        int type, stored;
    } const cases[] = {
        {-5, 0},   {-4, -4},   {-1, -1},   {0, 0},     {1, 1},     {139, 139},
        {140, 140}, {141, 141}, {142, 0},   {199, 0},   {200, 200}, {201, 0},
        {255, 0},  {256, 256}, {259, 259}, {260, 0},   {300, 0},   {499, 0},
        {500, 500}, {501, 501}, {502, 0},  {-100000, 0},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(c.stored, Token(c.type, Token::cpp_id, "x").type);
        Token t(50, Token::identifier_id, "id");
        t.SetType(c.type);
        EXPECT_EQ(c.stored, t.type);
        EXPECT_STREQ("id", t.text->text); // SetType keeps the text
    }
}

TEST(Token, StaticTexts)
{
    struct Case {
        int type;
        char const* text;
    } const cases[] = {
        {1, "+="},      {17, "}"},           {56, "|="},       {76, "|"},
        {77, "||"},     {87, ""},            {94, ""},         {120, "0"},
        {123, ""},      {139, "import"},     {140, ""},        {200, "<white_space>"},
        {258, "*/"},    {300, "\\and"},      {316, "\\do-expression"},
        {358, "\\is-typedef"}, {359, ""},    {500, "#"},       {501, "##"},
        {502, ""},      {-1, ""},            {0, ""},
    };
    for (auto const& c : cases)
        EXPECT_STREQ(c.text, Token::get_static_text(c.type)) << c.type;
}

TEST(Token, HasStaticText)
{
    Token id(50, Token::identifier_id, "x");
    EXPECT_FALSE(id.has_static_text());    // own type
    EXPECT_TRUE(id.has_static_text(72));
    EXPECT_FALSE(id.has_static_text(259));
    Token pre(72, Token::pre_id, "x");
    EXPECT_FALSE(pre.has_static_text(72)); // pre_id and dir_id keep their text
}

TEST(Token, CopyAndDuplicate)
{
    Lex::Unit unit;
    Token* orig = new Token(259, Token::comment_id, "ab\\\ncd");
    unit.append(*orig);
    orig->location.setup(Lex::Filename("a.h"), 4);
    orig->cont_lines = new Lex::Array<int>;
    orig->cont_lines->append(2);
    char flag = 1;
    orig->condition = &flag;

    Token copy(*orig);
    Token* dup = orig->duplicate();
    for (Token const* t : std::initializer_list<Token const*>{&copy, dup}) {
        EXPECT_EQ(nullptr, t->list());
        EXPECT_EQ(nullptr, t->next());
        EXPECT_EQ(nullptr, t->prev());
        EXPECT_EQ(nullptr, t->condition);
        EXPECT_EQ(orig->type, t->type);
        EXPECT_EQ(orig->text, t->text);
        EXPECT_TRUE(orig->language == t->language);
        EXPECT_EQ(1, t->flags);
        EXPECT_TRUE(t->location == orig->location);
        ASSERT_NE(nullptr, t->cont_lines);
        EXPECT_NE(orig->cont_lines, t->cont_lines);
        EXPECT_EQ(1, t->cont_lines->count());
        EXPECT_EQ(2, (*t->cont_lines)[0]);
    }
    delete dup;
}

TEST(Token, PrintWithContinuationsAndCarriageReturns)
{
    struct Case {
        char const* text;
        std::vector<int> cont; // empty: no cont_lines
        char const* out;
    } const cases[] = {
        // Each continuation is written back with its backslash.
        {"abcd", {2}, "ab\\\ncd"},
        {"abcd", {1, 1}, "a\\\nb\\\ncd"},
        {"abcd", {4}, "abcd\\\n"},
        // Lengths beyond the text stop at its end.
        {"ab", {5}, "ab\\\n"},
        {"ab", {1, 3, 2}, "a\\\nb\\\n\\\n"},
        // Carriage returns are written as they were read.
        {"a\rb\r", {2}, "a\r\\\nb\r"},
        {"a\r\nb", {}, "a\r\nb"},
        {"\r\r", {}, "\r\r"},
        {"plain", {}, "plain"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.text);
        Token t(259, Token::comment_id, c.text);
        if (!c.cont.empty()) {
            t.cont_lines = new Lex::Array<int>;
            for (int n : c.cont)
                t.cont_lines->append(n);
        }
        EXPECT_EQ(c.out, printed(t));
    }

    std::string longText;
    for (int i = 0; i < 3000; ++i)
        longText += (i % 7 == 0) ? '\r' : char('a' + i % 26);
    EXPECT_EQ(longText, printed(Token(259, Token::comment_id, longText.c_str())));
}

TEST(Token, LineBreaks)
{
    EXPECT_EQ(0, Token(200, Token::white_id, " ").get_line_breaks());
    EXPECT_EQ(2, Token(200, Token::white_id, "\n \r\n").get_line_breaks());
}

std::string texts(Lex::Unit const& u)
{
    std::string s;
    for (Token* t = u.first(); t; t = t->next())
        s += t->text->text;
    return s;
}

TEST(Token, Editing)
{
    Lex::Unit unit;
    Token* a = new Token(50, Token::identifier_id, "a");
    Token* b = new Token(50, Token::identifier_id, "b");
    unit.append(*a);
    unit.append(*b);

    Token* x = new Token(50, Token::identifier_id, "x");
    EXPECT_EQ(x, &a->AddTokenBefore(*x));
    EXPECT_EQ(x, unit.first());
    EXPECT_EQ(nullptr, x->prev());

    Token* semi = b->AddTokenAfter(";", 92, Token::cpp_id);
    EXPECT_EQ(semi, unit.last());
    EXPECT_EQ(92, semi->type);

    Token* blank = b->AddWhitespaceBefore();
    EXPECT_EQ(200, blank->type);
    EXPECT_TRUE(blank->language == Token::white_id);
    EXPECT_EQ("xa b;", texts(unit));

    Token* y = new Token(50, Token::identifier_id, "y");
    a->AddTokenAfter(*y);
    EXPECT_EQ("xay b;", texts(unit));

    // Deleting unlinks; the token itself stays usable.
    a->delete_token();
    EXPECT_EQ("xy b;", texts(unit));
    EXPECT_EQ(nullptr, a->list());
    EXPECT_EQ(nullptr, a->next());
    EXPECT_STREQ("a", a->text->text);
    EXPECT_EQ(y, x->next());
    EXPECT_EQ(x, y->prev());

    // Editing a token in no list links nothing.
    Token z(50, Token::identifier_id, "z");
    EXPECT_EQ(&z, &a->AddTokenAfter(z));
    EXPECT_EQ(&z, &a->AddTokenBefore(z));
    EXPECT_EQ(nullptr, z.list());
    a->delete_token();
    delete a;
}

TEST(Token, DestroyedWhileLinkedLeavesItsList)
{
    Lex::Unit unit;
    Token* a = new Token(50, Token::identifier_id, "a");
    Token* b = new Token(50, Token::identifier_id, "b");
    Token* c = new Token(50, Token::identifier_id, "c");
    unit.append(*a);
    unit.append(*b);
    unit.append(*c);
    delete b;
    EXPECT_EQ("ac", texts(unit));
    EXPECT_EQ(c, a->next());
    EXPECT_EQ(a, c->prev());
    delete c;
    EXPECT_EQ(a, unit.last());
}

TEST(Token, TokensMadeAfterDeletionsAreWhole)
{
    std::vector<Token*> tokens;
    for (int i = 0; i < 10; ++i)
        tokens.push_back(new Token(50, Token::identifier_id, "a"));
    for (Token* t : tokens)
        delete t;
    for (int i = 0; i < 10; ++i) {
        Token* again = new Token(72, Token::cpp_id, nullptr);
        EXPECT_STREQ("{", again->text->text);
        EXPECT_EQ(nullptr, again->list());
        EXPECT_EQ(nullptr, again->cont_lines);
        delete again;
    }
}

TEST(TokenDeathTest, SanitizerReportsAReadOfADeletedToken)
{
    if (Token::recycles_blocks)
        GTEST_SKIP() << "freed tokens are recycled without the address sanitizer";
    Token* token = new Token(50, Token::identifier_id, "gone");
    delete token;
    Token* volatile dangling = token;
    EXPECT_DEATH(
        {
            volatile int type = dangling->type;
            (void)type;
        },
        "heap-use-after-free");
}

TEST(Token, ResetKeepsLocationAndAddsFlags)
{
    Token t(259, Token::comment_id, "c");
    t.location.setup(Lex::Filename("a.h"), 9);
    t.cont_lines = new Lex::Array<int>;
    t.reset(3, "and", Token::keyword_id);
    EXPECT_EQ(3, t.type);
    EXPECT_STREQ("&&", t.text->text);
    EXPECT_TRUE(t.language == Token::keyword_id);
    EXPECT_EQ(1, t.flags); // never cleared
    EXPECT_EQ(nullptr, t.cont_lines);
    EXPECT_EQ(9, t.location.line());
    t.reset(600, "w", Token::identifier_id);
    EXPECT_EQ(0, t.type);
    EXPECT_STREQ("", t.text->text);
}

} // namespace
