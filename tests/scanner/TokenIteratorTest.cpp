#include "scanner/TokenIterator.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Lex::List;
using Lex::Token;

// A list of one identifier token per character; tokens[i] is the i-th.
void Fill(List& list, char const* texts, Token** tokens)
{
    for (int i = 0; texts[i]; ++i) {
        char text[2] = {texts[i], '\0'};
        tokens[i] = new Token(Lex::TOK_ID, Token::identifier_id, text);
        list.append(tokens[i]);
    }
}

std::string Walk(TokenIterator it)
{
    std::string s;
    while (Token* t = it.Next())
        s += t->text->text;
    return s;
}

TEST(TokenIterator, Ranges)
{
    List list, other;
    Token* t[4];
    Token* o[1];
    Fill(list, "abcd", t);
    Fill(other, "x", o);

    struct Case { Token* first; Token* last; char const* walked; };
    Case const cases[] = {
        {t[0], t[2], "abc"},
        {t[1], nullptr, "bcd"},   // null last: to the end
        {t[2], t[0], "cd"},       // last before first is never met
        {t[1], t[1], "b"},        // last == first
        {t[0], o[0], ""},         // different lists
        {nullptr, t[1], ""},
    };
    for (Case const& c : cases) {
        EXPECT_EQ(c.walked, Walk(TokenIterator(c.first, c.last)));
        EXPECT_EQ(c.walked, TokenIterator::TokenListToString(c.first, c.last));
    }
    EXPECT_EQ("", Walk(TokenIterator()));
}

TEST(TokenIterator, GetLastAndDeleteLast)
{
    List list;
    Token* t[3];
    Fill(list, "abc", t);
    TokenIterator it(t[0], t[2]);
    EXPECT_EQ(nullptr, it.GetLast());
    it.Next();
    it.Next();
    EXPECT_EQ(t[1], it.GetLast());
    it.DeleteLast();
    EXPECT_EQ(nullptr, t[1]->list());
    EXPECT_EQ(t[2], t[0]->next());
    EXPECT_EQ(t[2], it.Next());
    EXPECT_EQ(nullptr, it.GetLast()); // current ran off the end
    delete t[1];
}

TEST(TokenIterator, JoinsTextsWithoutSeparators)
{
    List list;
    Token* a = new Token(Lex::TOK_ID, Token::identifier_id, "a");
    Token* blank = new Token(Lex::TOK_WHITESPACE, Token::white_id, " ");
    Token* b = new Token(Lex::TOK_ID, Token::identifier_id, "bb");
    list.append(a);
    list.append(blank);
    list.append(b);
    EXPECT_EQ("a bb", TokenIterator::TokenListToString(a, b));
}

TEST(CTokenVisitor, DispatchesByLanguageAndFlags)
{
    struct Recorder : CTokenVisitor {
        std::string calls;
        void OnPreParser(Token& t) override { calls += std::string("P") + t.text->text; }
        void OnComment(Token& t) override { calls += std::string("C") + t.text->text; }
        void OnLineBreak(Token&) override { calls += "L"; }
    };
    List list;
    Token* pre = new Token(Lex::TOK_ID, Token::pre_id, "define");
    Token* comment = new Token(Lex::TOK_ID, Token::identifier_id, "c");
    comment->flags |= Token::comment_flag;
    Token* blank = new Token(Lex::TOK_WHITESPACE, Token::white_id, " ");
    Token* newline = new Token(Lex::TOK_WHITESPACE, Token::white_id, "\n");
    for (Token* t : {pre, comment, blank, newline})
        list.append(t);

    Recorder recorder;
    recorder.Visit(*comment);
    EXPECT_EQ("CcL", recorder.calls);
    EXPECT_EQ(nullptr, recorder.iter);
    recorder.calls.clear();
    recorder.Visit(*pre);
    EXPECT_EQ("PdefineCcL", recorder.calls);
}

} // namespace
