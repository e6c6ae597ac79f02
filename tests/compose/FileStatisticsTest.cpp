#include "compose/FileStatistics.h"

#include "scanner/CScanner.h"
#include "scanner/ErrorCollector.h"
#include "scanner/Token.h"
#include "scanner/Unit.h"

#include <gtest/gtest.h>

namespace {

struct Counted {
    int lines;
    int netto;
    int preproc;
    int comment;
    int blank;
};

// Feeds the scanned text through a counter bound to a total.
Counted Count(char const* text)
{
    Lex::Unit unit;
    unit.name("t.h");
    Lex::ErrorCollector errors;
    Lex::CScanner scanner(errors);
    scanner.fill_unit(text, unit);

    CodeStatistic before = FileStatistics::m_GlobalStat;
    int total = 0;
    {
        FileStatistics stats(&total);
        for (Lex::Token* t = unit.first(); t; t = t->next())
            stats.OnToken(*t);
    }
    CodeStatistic const& after = FileStatistics::m_GlobalStat;
    return Counted{total, after.m_Netto - before.m_Netto, after.m_Preproc - before.m_Preproc,
                   after.m_Comment - before.m_Comment, after.m_Blank - before.m_Blank};
}

} // namespace

TEST(FileStatistics, ClassifiesLines)
{
    struct Case {
        char const* text;
        Counted expected;
    } const cases[] = {
        {"", {0, 0, 0, 0, 0}},
        {"int a;\n\n\n", {1, 1, 0, 0, 2}},
        {"int a; // note\n", {1, 1, 0, 0, 0}},
        {"int a; /* note */\n", {1, 1, 0, 0, 0}},
        {"int a;", {1, 1, 0, 0, 0}},
        {"int a;\nint b;", {2, 2, 0, 0, 0}},
        {"/* note */\n", {0, 0, 0, 1, 0}},
        {"#include <x.h>\nint a;\n", {2, 1, 1, 0, 0}},
        {"#define N 1\n", {1, 0, 1, 0, 0}},
        {"#define N 1", {1, 0, 1, 0, 0}},
        {"#pragma once\n", {1, 0, 1, 0, 0}},
        {"#if X // c\n#endif\n", {2, 0, 2, 0, 0}},
        {"\n", {0, 0, 0, 0, 1}},
        {"   \n\t\n", {0, 0, 0, 0, 2}},
        // The scanner cuts a block comment at its line breaks: each line
        // of it alone is a comment line, after code a code line.
        {"/* a\n b */\n", {0, 0, 0, 2, 0}},
        {"int a; /* a\n b */ int b;\n", {2, 2, 0, 0, 0}},
    };
    for (Case const& c : cases) {
        Counted got = Count(c.text);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.expected.lines, got.lines);
        EXPECT_EQ(c.expected.netto, got.netto);
        EXPECT_EQ(c.expected.preproc, got.preproc);
        EXPECT_EQ(c.expected.comment, got.comment);
        EXPECT_EQ(c.expected.blank, got.blank);
    }
}

TEST(FileStatistics, NullTotalStillAddsToTheGlobalTotals)
{
    Lex::Token code(Lex::TOK_ID, Lex::Token::identifier_id, "a");
    Lex::Token lineEnd(Lex::TOK_WHITESPACE, Lex::Token::white_id, "\n\n\n");
    int before = FileStatistics::m_GlobalStat.m_Netto;
    int blank = FileStatistics::m_GlobalStat.m_Blank;
    {
        FileStatistics stats(nullptr);
        stats.OnToken(code);
        stats.OnToken(lineEnd);
        EXPECT_EQ(1, stats.GetLines());
    }
    EXPECT_EQ(before + 1, FileStatistics::m_GlobalStat.m_Netto);
    EXPECT_EQ(blank + 2, FileStatistics::m_GlobalStat.m_Blank);
}

TEST(FileStatistics, TotalsAccumulateAcrossCounters)
{
    Lex::Token code(Lex::TOK_ID, Lex::Token::identifier_id, "a");
    int total = 5;
    {
        FileStatistics stats(&total);
        stats.OnToken(code);
    }
    {
        FileStatistics stats(&total);
        stats.OnToken(code);
        stats.OnLastToken(); // closing twice counts the line once
    }
    EXPECT_EQ(7, total);
}
