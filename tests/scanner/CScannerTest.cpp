#include "scanner/CScanner.h"
#include "scanner/ErrorStream.h"
#include "scanner/FdSource.h"
#include "scanner/Token.h"
#include "scanner/Unit.h"

#include "MemorySource.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Lex::LanguageID;
using Lex::Token;

std::string const fixtures = std::string(MOSA_FIXTURES) + "/scanner/";
char const* const fixture_names[] = {"empty.h", "no_newline.h", "define.h", "u.h", "mixed.jak", "crlf.h"};

// A scanned token, as much of it as the tests look at.
struct Tok {
    int type;
    std::string text;
    LanguageID tag;
    int line;
    std::vector<int> cont;
};

bool operator==(Tok const& a, Tok const& b)
{
    return a.type == b.type && a.text == b.text && a.tag == b.tag && a.line == b.line && a.cont == b.cont;
}

std::ostream& operator<<(std::ostream& os, Tok const& t)
{
    os << t.type << " " << ::testing::PrintToString(t.text) << " [" << (t.tag.id() ? t.tag.id() : "none")
       << "] line " << t.line;
    for (int c : t.cont)
        os << " cont " << c;
    return os;
}

struct Switches {
    bool c = true, cpp = true, fop = true, aspect = true;
};

struct Scan {
    std::vector<Tok> tokens;
    std::string messages;
    bool aborted = false;
};

// Runs a scanner with the given keyword sets; fill calls one of its fill_unit.
template <class Fill>
Scan run(Fill fill, char const* unit_name = nullptr, Switches sw = Switches())
{
    std::ostringstream out;
    Lex::ErrorStream errors(out);
    Lex::CScanner scanner(errors);
    scanner.c_keywords(sw.c);
    scanner.cpp_keywords(sw.cpp);
    scanner.fop_keywords(sw.fop);
    scanner.aspect_keywords(sw.aspect);
    Lex::Unit unit;
    if (unit_name)
        unit.name(unit_name);
    fill(scanner, unit);

    Scan scan;
    for (Token* t = unit.first(); t; t = t->next()) {
        Tok tok{t->type, std::string(t->text->text, t->text->length), t->language, t->location.line(), {}};
        if (t->cont_lines)
            for (int i = 0; i < t->cont_lines->count(); ++i)
                tok.cont.push_back((*t->cont_lines)[i]);
        scan.tokens.push_back(tok);
    }
    scan.messages = out.str();
    scan.aborted = scanner.aborted();
    return scan;
}

Scan scan_string(std::string const& text, Switches sw = Switches())
{
    return run([&](Lex::CScanner& s, Lex::Unit& u) { s.fill_unit(text.c_str(), u); }, "s.h", sw);
}

Scan scan_source(Lex::Source& src, char const* unit_name = "s.h")
{
    return run([&](Lex::CScanner& s, Lex::Unit& u) { s.fill_unit(src, u); }, unit_name);
}

std::string read_file(std::string const& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Scan scan_fixture(char const* name, char const* unit_name = "s.h")
{
    int fd = ::open((fixtures + name).c_str(), O_RDONLY);
    EXPECT_GE(fd, 0) << name;
    Lex::FileSource src(fd);
    return scan_source(src, unit_name);
}

// Type, text and tag of the tokens that are not white space.
struct Sig {
    int type;
    std::string text;
    LanguageID tag;
};

bool operator==(Sig const& a, Sig const& b)
{
    return a.type == b.type && a.text == b.text && a.tag == b.tag;
}

std::ostream& operator<<(std::ostream& os, Sig const& s)
{
    return os << s.type << " " << ::testing::PrintToString(s.text) << " [" << (s.tag.id() ? s.tag.id() : "none")
              << "]";
}

std::vector<Sig> significant(Scan const& scan, bool keep_white = false)
{
    std::vector<Sig> out;
    for (Tok const& t : scan.tokens)
        if (keep_white || t.type != Lex::TOK_WHITESPACE)
            out.push_back({t.type, t.text, t.tag});
    return out;
}

LanguageID const id = Token::identifier_id;
LanguageID const kw = Token::keyword_id;
LanguageID const cpp = Token::cpp_id;
LanguageID const white = Token::white_id;
LanguageID const comment = Token::comment_id;
LanguageID const pre = Token::pre_id;
LanguageID const dir = Token::dir_id;
LanguageID const macro = Token::macro_op_id;
LanguageID const none;

struct Case {
    std::string input;
    std::vector<Sig> expected;
    bool keep_white;
    Switches sw;
};

void check(std::vector<Case> const& cases)
{
    for (Case const& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.input));
        Scan scan = scan_string(c.input, c.sw);
        EXPECT_EQ(c.expected, significant(scan, c.keep_white));
        EXPECT_FALSE(scan.aborted);
    }
}

TEST(CScanner, NumbersOperatorsAndLiterals)
{
    check({
        {"0 00 08 0x1F 0X1fUL 0UL 1.5e+3f 1e10 1f",
         {{120, "0", cpp}, {55, "00", cpp}, {55, "08", cpp}, {55, "0x1F", cpp}, {55, "0X1fUL", cpp},
          {55, "0UL", cpp}, {44, "1.5e+3f", cpp}, {44, "1e10", cpp}, {44, "1f", cpp}}, false, {}},
        {"1e 12abc 0x",
         {{55, "1", cpp}, {50, "e", id}, {55, "12", cpp}, {50, "abc", id}, {120, "0", cpp}, {50, "x", id}},
         false, {}},
        {"a->*b...<<=..->",
         {{50, "a", id}, {82, "->*", cpp}, {50, "b", id}, {36, "...", cpp}, {61, "<<=", cpp},
          {32, ".", cpp}, {32, ".", cpp}, {81, "->", cpp}}, false, {}},
        {"L'a' L\"s\" L x", {{15, "L'a'", cpp}, {98, "L\"s\"", cpp}, {50, "L", id}, {50, "x", id}}, false, {}},
        // The tags of round brackets and commas come from the core automaton only.
        {"f(a,b) \"(,)\"",
         {{50, "f", id}, {73, "(", Token::open_id}, {50, "a", id}, {22, ",", Token::comma_id},
          {50, "b", id}, {18, ")", Token::close_id}, {98, "\"(,)\"", cpp}}, false, {}},
    });
}

TEST(CScanner, KeywordSetsOnAndOff)
{
    Switches all;
    Switches no_aspect;
    no_aspect.aspect = false;
    Switches c_only;
    c_only.cpp = c_only.fop = c_only.aspect = false;
    Switches nothing;
    nothing.c = nothing.cpp = nothing.fop = nothing.aspect = false;
    Switches aspect_only = nothing;
    aspect_only.aspect = true;
    check({
        // Alternative spellings and "throws" keep their spelling; the type
        // tells what they mean.
        {"int throws refines advice __unknown_t __inline__ and bitor not_eq true",
         {{54, "int", kw}, {104, "throws", kw}, {131, "refines", kw}, {127, "advice", kw},
          {130, "__unknown_t", kw}, {53, "__inline__", kw}, {3, "and", kw}, {76, "bitor", kw},
          {69, "not_eq", kw}, {10, "true", kw}}, false, all},
        {"advice pointcut throws", {{50, "advice", id}, {50, "pointcut", id}, {104, "throws", kw}}, false, no_aspect},
        {"int and class throws", {{54, "int", kw}, {50, "and", id}, {50, "class", id}, {50, "throws", id}}, false, c_only},
        {"int and", {{50, "int", id}, {50, "and", id}}, false, nothing},
        // The aspect set brings the C and C++ sets along, not the feature set.
        {"int class aspect throws",
         {{54, "int", kw}, {16, "class", kw}, {128, "aspect", kw}, {50, "throws", id}}, false, aspect_only},
        {"int64 int\xe9", {{50, "int64", id}, {54, "int", kw}, {-2, "\xe9", none}}, false, all},
    });
}

TEST(CScanner, DirectiveLines)
{
    check({
        {"#  include <a.h>\n",
         {{13, "#  include", pre}, {200, " ", white}, {58, "<", cpp}, {50, "a", id}, {32, ".", cpp},
          {50, "h", id}, {49, ">", cpp}, {200, "\n", white}}, true, {}},
        // Every token of a pragma line, its newline included, is tagged as directive.
        {"#pragma once\nx",
         {{1, "#pragma", dir}, {200, " ", dir}, {50, "once", dir}, {200, "\n", dir}, {50, "x", id}}, true, {}},
        {"# \n", {{0, "# ", dir}, {200, "\n", dir}}, true, {}},
        {"  #line 3 $", {{2, "  #line", dir}, {55, "3", dir}, {-2, "$", dir}}, false, {}},
        // On a preprocessor line "#" and "##" are macro operators; tags stay.
        {"#define S(x) #x ## y\n#x",
         {{3, "#define", pre}, {50, "S", id}, {73, "(", Token::open_id}, {50, "x", id},
          {18, ")", Token::close_id}, {500, "#", macro}, {50, "x", id}, {501, "##", macro}, {50, "y", id},
          {0, "#", dir}, {50, "x", dir}}, false, {}},
        // Elsewhere a "#" is no token.
        {"a # b", {{50, "a", id}, {-2, "#", none}, {50, "b", id}}, false, {}},
        {"/* c */ #ifdef X", {{257, "/*", comment}, {259, " c ", comment}, {258, "*/", comment},
                              {11, " #ifdef", pre}, {50, "X", id}}, false, {}},
    });
}

TEST(CScanner, CommentPieces)
{
    check({
        {"/* x */", {{257, "/*", comment}, {259, " x ", comment}, {258, "*/", comment}}, true, {}},
        {"/**/", {{257, "/*", comment}, {258, "*/", comment}}, true, {}},
        {"//\nx", {{256, "//", comment}, {200, "\n", white}, {50, "x", id}}, true, {}},
        {"// a $\n", {{256, "//", comment}, {259, " a $", comment}, {200, "\n", white}}, true, {}},
        {"/* a\n b */", {{257, "/*", comment}, {259, " a\n", comment}, {259, " b ", comment}, {258, "*/", comment}},
         true, {}},
        // Left open at the end of the input: the scan ends normally.
        {"x /* open", {{50, "x", id}, {200, " ", white}, {257, "/*", comment}, {259, " open", comment}}, true, {}},
        {"/* open\n", {{257, "/*", comment}, {259, " open\n", comment}}, true, {}},
        {"/* open*", {{257, "/*", comment}, {259, " open*", comment}}, true, {}},
    });
    Scan open = scan_string("x /* open");
    EXPECT_EQ("", open.messages);
}

TEST(CScanner, LinesAndContinuations)
{
    // A token carries the line it ends on: a newline token the next line.
    Scan scan = scan_string("a;\nb\\\ncd\n\n/* x\ny */ z");
    std::vector<Tok> const expected = {
        {50, "a", id, 1, {}}, {92, ";", cpp, 1, {}}, {200, "\n", white, 2, {}},
        {50, "bcd", id, 3, {1}}, {200, "\n\n", white, 5, {}},
        {257, "/*", comment, 5, {}}, {259, " x\n", comment, 6, {}}, {259, "y ", comment, 6, {}},
        {258, "*/", comment, 6, {}}, {200, " ", white, 6, {}}, {50, "z", id, 6, {}},
    };
    EXPECT_EQ(expected, scan.tokens);

    struct LineCase {
        std::string input;
        std::vector<Tok> expected;
    };
    LineCase const cases[] = {
        {"int\\\n", {{54, "int", kw, 2, {3}}}},
        {"ab\\\r\ncd", {{50, "abcd", id, 2, {2}}}},
        // Only continuations: the bytes stay in the unit as white space.
        {"\\\n\\\n", {{200, "", white, 3, {0, 0}}}},
        {"\\\nx", {{50, "x", id, 2, {0}}}},
        // An unknown byte keeps the continuation behind it.
        {"$\\\nx", {{-2, "$", none, 2, {1}}, {50, "x", id, 2, {}}}},
    };
    for (LineCase const& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.input));
        EXPECT_EQ(c.expected, scan_string(c.input).tokens);
    }
}

TEST(CScanner, FixturesOfEdgeCases)
{
    Scan empty = scan_fixture("empty.h");
    EXPECT_TRUE(empty.tokens.empty());
    EXPECT_EQ("", empty.messages);
    EXPECT_FALSE(empty.aborted);

    // The last line has no newline; a keyword at the very end is a keyword.
    Scan last = scan_fixture("no_newline.h");
    ASSERT_FALSE(last.tokens.empty());
    EXPECT_EQ((Tok{88, "return", kw, 2, {}}), last.tokens.back());
    EXPECT_EQ(6u, last.tokens.size());

    // "#define" is one token, the white space around the continuation is one
    // token, and the continued definition stays one preprocessor line.
    Scan def = scan_fixture("define.h");
    ASSERT_GE(def.tokens.size(), 11u);
    EXPECT_EQ((Tok{3, "#define", pre, 1, {}}), def.tokens[0]);
    EXPECT_EQ((Tok{200, "   ", white, 2, {1}}), def.tokens[9]);
    EXPECT_EQ((Tok{73, "(", Token::open_id, 2, {}}), def.tokens[10]);
    std::vector<Tok> ops;
    for (Tok const& t : def.tokens)
        if (t.tag == macro)
            ops.push_back(t);
    EXPECT_EQ((std::vector<Tok>{{500, "#", macro, 3, {}}, {501, "##", macro, 4, {}}}), ops);
    EXPECT_EQ((Tok{200, "\n", white, 6, {}}), def.tokens.back());
    EXPECT_EQ("", def.messages);

    // Carriage returns stay in the white space; a continuation may end in one.
    Scan crlf = scan_fixture("crlf.h");
    ASSERT_EQ(18u, crlf.tokens.size());
    EXPECT_EQ((Tok{200, "\r\n", white, 2, {}}), crlf.tokens[4]);
    EXPECT_EQ((Tok{200, "  ", white, 3, {1}}), crlf.tokens[12]);
    EXPECT_EQ((Tok{78, "+", cpp, 3, {}}), crlf.tokens[13]);
}

TEST(CScanner, UnknownByteIsReportedAndKept)
{
    Scan scan = scan_fixture("u.h", "u.h");
    EXPECT_EQ("u.h:1: error: Unknown token\n", scan.messages);
    EXPECT_EQ((std::vector<Sig>{{50, "a", id}, {-2, "$", none}, {50, "b", id}}), significant(scan));
    EXPECT_FALSE(scan.aborted);

    // Without a unit name the messages name the unit as anonymous.
    Scan anonymous = run([](Lex::CScanner& s, Lex::Unit& u) { s.fill_unit("\n`", u); });
    EXPECT_EQ("<anonymous unit>:2: error: Unknown token\n", anonymous.messages);
}

TEST(CScanner, PipeGivesTheTokensOfTheWholeFile)
{
    for (char const* name : fixture_names) {
        SCOPED_TRACE(name);
        std::string const content = read_file(fixtures + name);
        int fds[2];
        ASSERT_EQ(0, ::pipe(fds));
        ASSERT_EQ(static_cast<ssize_t>(content.size()), ::write(fds[1], content.data(), content.size()));
        ::close(fds[1]);
        Lex::FileSource pipe(fds[0]);
        ASSERT_LT(pipe.size(), 1); // read byte by byte
        Scan piped = scan_source(pipe);
        Scan whole = scan_fixture(name);
        EXPECT_EQ(whole.tokens, piped.tokens);
        EXPECT_EQ(whole.messages, piped.messages);
    }
}

TEST(CScanner, LoadFailuresLeaveTheUnitEmptyAndAbortTheScan)
{
    struct FailCase {
        char const* what;
        MemorySource src;
        std::string messages;
    };
    FailCase cases[] = {
        {"read error", MemorySource("int x;").failing_at(0), "error: can't load input file\n"},
        {"file shrank", MemorySource("int x;").reporting_size(10), "error: can't load input file\n"},
    };
    for (FailCase& c : cases) {
        SCOPED_TRACE(c.what);
        Scan scan = scan_source(c.src);
        EXPECT_TRUE(scan.tokens.empty());
        EXPECT_EQ(c.messages + "error: Error while scanning tokens\n", scan.messages);
        EXPECT_TRUE(scan.aborted);
    }

    // A descriptor that cannot be read (a folder) fails the same way.
    Lex::FileSource folder(::open(fixtures.c_str(), O_RDONLY));
    Scan scan = scan_source(folder);
    EXPECT_TRUE(scan.tokens.empty());
    EXPECT_NE(std::string::npos, scan.messages.find("error: Error while scanning tokens\n"));
    EXPECT_TRUE(scan.aborted);
}

TEST(CScanner, FileThatGrowsIsReadUpToItsSize)
{
    // The size is asked once; bytes beyond it are not read.
    MemorySource grown = MemorySource("int x; int y;").reporting_size(6).chunks_of(4);
    Scan scan = scan_source(grown);
    EXPECT_EQ((std::vector<Sig>{{54, "int", kw}, {50, "x", id}, {92, ";", cpp}}), significant(scan));
    EXPECT_EQ(6, grown.position());
    EXPECT_FALSE(scan.aborted);
}

TEST(CScanner, OverlongTokenFromAPipeAbortsTheScan)
{
    std::string text = "a \"" + std::string(2000, 'x') + "\" b";
    MemorySource src = MemorySource(text).reporting_size(-1);
    std::ostringstream out;
    Lex::ErrorStream errors(out);
    Lex::CScanner scanner(errors);
    Lex::Unit unit;
    scanner.fill_unit(src, unit);
    EXPECT_TRUE(scanner.aborted());
    EXPECT_EQ("error: Error while scanning tokens\n", out.str());
    ASSERT_NE(nullptr, unit.first());
    EXPECT_EQ(std::string("a"), unit.first()->text->text);

    // The next scan starts afresh.
    scanner.fill_unit("b", unit);
    EXPECT_FALSE(scanner.aborted());
}

// ---- Round trip

// The input as the recognizers see it: backslash-newline pairs removed.
std::string without_continuations(std::string const& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == '\n') {
            ++i;
            continue;
        }
        if (s[i] == '\\' && i + 2 < s.size() && s[i + 1] == '\r' && s[i + 2] == '\n') {
            i += 2;
            continue;
        }
        out += s[i];
    }
    return out;
}

// Checks that the token texts spell the input (continuations removed) and
// that each token's line is the line on which its raw text ends.
void expect_round_trip(std::string const& input, Scan const& scan)
{
    std::string const text = without_continuations(input);
    size_t pos = 0;
    int line = 1;
    for (Tok const& t : scan.tokens) {
        SCOPED_TRACE(::testing::PrintToString(t));
        size_t width = std::string::npos;
        if (text.compare(pos, t.text.size(), t.text) == 0)
            width = t.text.size();
        ASSERT_NE(std::string::npos, width) << "at " << pos << " of " << ::testing::PrintToString(text);
        pos += width;
        for (char c : t.text)
            line += c == '\n';
        line += static_cast<int>(t.cont.size());
        EXPECT_EQ(line, t.line);
        EXPECT_NE(0, static_cast<int>(width + t.cont.size())) << "empty token";
    }
    EXPECT_EQ(text.size(), pos);
}

std::vector<std::string> generated_inputs()
{
    std::vector<std::string> const fragments = {
        "/*", "*/", "//", "*", "/", "\\\n", "\\\r\n", "\\", "\n", "\r\n", " ", "\t", "\"", "'", "L",
        "\\\"", "#", "##", "# define", "#pragma", "0", "0x", "1e", "e+", ".", "...", "->*", "(", ",",
        ")", "int", "throws", "and", "not_eq", "compl", "__inline__", "refines", "advice", "x", "$",
        "`", "@", std::string(1, '\0'), "\xff", "\xe9",
    };
    std::vector<std::string> inputs;
    std::mt19937 random(1105);
    for (int i = 0; i < 500; ++i) {
        std::string input;
        int n = static_cast<int>(random() % 40);
        for (int k = 0; k < n; ++k)
            input += fragments[random() % fragments.size()];
        inputs.push_back(input);
    }
    return inputs;
}

TEST(CScanner, TokenTextsRebuildTheInput)
{
    std::vector<std::string> inputs;
    for (char const* name : fixture_names)
        inputs.push_back(read_file(fixtures + name));
    for (std::string const& g : generated_inputs())
        inputs.push_back(g);

    for (std::string const& input : inputs) {
        SCOPED_TRACE(::testing::PrintToString(input));
        MemorySource whole(input);
        Scan scan = scan_source(whole);
        EXPECT_FALSE(scan.aborted);
        expect_round_trip(input, scan);

        // Read byte by byte, the same tokens come out.
        MemorySource sequential = MemorySource(input).reporting_size(-1);
        EXPECT_EQ(scan.tokens, scan_source(sequential).tokens);
    }
}

} // namespace
