#include "scanner/KeywordRecognizer.h"
#include "scanner/ScanBuffer.h"
#include "scanner/StateGraph.h"
#include "scanner/TableRecognizer.h"

#include "MemorySource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The comment-start automaton written out as tables by hand: "//" and "/*".
Lex::TableRecognizer hand_made_comment_start()
{
    Lex::TableRecognizer t;
    t.map[' '] = 0;
    t.map['/'] = 1;
    t.map['*'] = 2;
    t.start = 2;
    t.states = {{1, 0, 0, 0}, {1, 0, 1, 0}, {0, 0, 0, -1}, {0, 0, 0, 0}};
    t.next = {3, 0, 1};
    t.control = {2, 3, 3};
    t.n = 3;
    t.expr_map = {256, 257};
    return t;
}

int run(Lex::TableRecognizer const& t, std::string const& input, int& type, int& len)
{
    Lex::SB_String b(input.data(), input.size());
    b.reset();
    int expr = -7;
    int result = t.recognize(&b, expr, len);
    type = result == 1 ? t.type_of(expr) : 0;
    return result;
}

TEST(TableRecognizer, FollowsTheCombVector)
{
    Lex::TableRecognizer t = hand_made_comment_start();
    int type = 0, len = 0;
    EXPECT_EQ(1, run(t, "/*x", type, len));
    EXPECT_EQ(257, type);
    EXPECT_EQ(2, len);
    EXPECT_EQ(1, run(t, "//", type, len));
    EXPECT_EQ(256, type);
    EXPECT_EQ(0, run(t, "/ *", type, len));
    EXPECT_EQ(0, run(t, "x", type, len));
    EXPECT_EQ(0, run(t, "", type, len));
}

TEST(TableRecognizer, KindTwoReportsTheLengthAtTheLastMark)
{
    // "a" then any number of "b": the match reaches only up to the last "a".
    Lex::StateGraph g;
    int start = g.add_state();
    int a = g.add_state(Lex::TableState::accepting, 0, true);
    int b = g.add_state(Lex::TableState::accepting_to_mark, 1);
    g.edge(start, 'a', a);
    g.edge(a, 'a', a);
    g.edge(a, 'b', b);
    g.edge(b, 'b', b);
    g.edge(b, 'a', a);
    Lex::TableRecognizer t = g.pack(start, {10, 11});
    int type = 0, len = 0;
    EXPECT_EQ(1, run(t, "aabbb", type, len));
    EXPECT_EQ(11, type);
    EXPECT_EQ(2, len);
    EXPECT_EQ(1, run(t, "abab", type, len));
    EXPECT_EQ(3, len);
    EXPECT_EQ(1, run(t, "aa", type, len));
    EXPECT_EQ(10, type);
    EXPECT_EQ(2, len);
}

TEST(TableRecognizer, ABufferInItsErrorStateGivesMinusOne)
{
    MemorySource src("int");
    src.failing_at(0);
    Lex::SB_WholeFile b;
    b.load(src, src.size());
    int expr = 0, len = 0;
    EXPECT_EQ(-1, hand_made_comment_start().recognize(&b, expr, len));
    Lex::CKeywordRecognizer keywords;
    EXPECT_EQ(-1, keywords.recognize(&b, expr, len));
}

} // namespace
