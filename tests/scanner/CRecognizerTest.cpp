#include "scanner/CCommentRecognizer.h"
#include "scanner/CRecognizer.h"
#include "scanner/KeywordRecognizer.h"
#include "scanner/ScanBuffer.h"

#include "MemorySource.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Lex::CRecognizer;
using Lex::ScanBuffer;
using Lex::TableRecognizer;

struct Match {
    int result;
    int type;
    int len;
};

bool operator==(Match const& a, Match const& b)
{
    return a.result == b.result && a.type == b.type && a.len == b.len;
}

std::ostream& operator<<(std::ostream& os, Match const& m)
{
    return os << "{result " << m.result << ", type " << m.type << ", len " << m.len << "}";
}

Match const none = {0, 0, 0};

Match first(TableRecognizer const& t, std::string const& input)
{
    Lex::SB_String b(input.data(), input.size());
    b.reset();
    int expr = 0, len = 0;
    int result = t.recognize(&b, expr, len);
    if (result != 1)
        return {result, 0, 0};
    return {1, t.type_of(expr), len};
}

struct Case {
    TableRecognizer const* automaton;
    std::string input;
    Match expected;
};

void check(std::vector<Case> const& cases)
{
    for (Case const& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(c.expected, first(*c.automaton, c.input));
    }
}

TEST(CRecognizer, Numbers)
{
    TableRecognizer const* core = &CRecognizer::core_recognizer();
    check({
        {core, "0", {1, 120, 1}},
        {core, "0;", {1, 120, 1}},
        {core, "0x", {1, 120, 1}},       // then the identifier x
        {core, "00", {1, 55, 2}},
        {core, "08", {1, 55, 2}},
        {core, "0x1F", {1, 55, 4}},
        {core, "0X1fUL", {1, 55, 6}},
        {core, "0UL", {1, 55, 3}},
        {core, "0x1e+5", {1, 55, 4}},    // no exponent in hexadecimal
        {core, "0e5", {1, 55, 3}},       // e is a hexadecimal digit after 0
        {core, "0f", {1, 55, 2}},
        {core, "0e+5", {1, 44, 4}},
        {core, "08e-1", {1, 44, 5}},
        {core, "123", {1, 55, 3}},
        {core, "12abc", {1, 55, 2}},
        {core, "1e", {1, 55, 1}},
        {core, "1u", {1, 55, 2}},
        {core, "1ULL", {1, 55, 4}},
        {core, "1lu", {1, 55, 3}},
        {core, "42LUL", {1, 55, 5}},
        {core, "7LLU", {1, 55, 4}},
        {core, "7ULU", {1, 55, 3}},
        {core, "1.5e+3f", {1, 44, 7}},
        {core, "1.5E-3L", {1, 44, 7}},
        {core, "1e10", {1, 44, 4}},
        {core, "1f", {1, 44, 2}},
        {core, "1.", {1, 44, 2}},
        {core, "1.5", {1, 44, 3}},
        {core, ".5", {1, 44, 2}},
        {core, ".5e2f", {1, 44, 5}},
    });
}

TEST(CRecognizer, OperatorsAndPunctuators)
{
    TableRecognizer const* core = &CRecognizer::core_recognizer();
    check({
        {core, "->*", {1, 82, 3}},
        {core, "->", {1, 81, 2}},
        {core, "-", {1, 62, 1}},
        {core, "...", {1, 36, 3}},
        {core, "..", {1, 32, 1}},
        {core, ".*", {1, 33, 2}},
        {core, "<<=", {1, 61, 3}},
        {core, ">>=", {1, 91, 3}},
        {core, "::", {1, 21, 2}},
        {core, "|=", {1, 56, 2}},
        {core, "||", {1, 77, 2}},
        {core, "^=", {1, 119, 2}},
        {core, "@", {1, 7, 1}},
        {core, "(", {1, 73, 1}},
        {core, ",", {1, 22, 1}},
        {core, ")", {1, 18, 1}},
        {core, "$", none},
        {core, "`", none},
        {core, "#", none},
    });
}

TEST(CRecognizer, LiteralsWhiteSpaceAndIdentifiers)
{
    TableRecognizer const* lit = &CRecognizer::string_recognizer();
    TableRecognizer const* white = &CRecognizer::whitespace_recognizer();
    TableRecognizer const* id = &CRecognizer::identifier_recognizer();
    check({
        {lit, "\"ab\" x", {1, 98, 4}},
        {lit, "L\"ab\"", {1, 98, 5}},
        {lit, "L'a'", {1, 15, 4}},
        {lit, "'\\''", {1, 15, 4}},
        {lit, "\"a\\\"b\"", {1, 98, 6}},
        // A literal ends on its line.
        {lit, "\"a\nb\"", none},
        {lit, "'\n'", none},
        {lit, std::string("\"\0\xff\"", 4), {1, 98, 4}},
        {lit, "\"", none},
        {lit, "\"abc", none},
        {lit, "''", none},
        {lit, "L", none},
        {white, " \t\n\f\rx", {1, 200, 5}},
        {white, "\v", none},
        {id, "_a1 b", {1, 50, 3}},
        {id, "a\xe9", {1, 50, 1}},
        {id, "9a", none},
        {id, "\xe9", none},
    });
}

TEST(CRecognizer, DirectivesMacroOperatorsAndWildcards)
{
    TableRecognizer const* pre = &CRecognizer::pre_dir_recognizer();
    TableRecognizer const* dir = &CRecognizer::dir_recognizer();
    TableRecognizer const* macro = &CRecognizer::pre_token_recognizer();
    TableRecognizer const* wild = &CRecognizer::wildcard_recognizer();
    check({
        {pre, "#  include <a.h>", {1, 13, 10}},
        {pre, "#import", {1, 13, 7}},
        {pre, "#include_next", {1, 14, 13}},
        {pre, " \t#\tdefine X", {1, 3, 10}},
        {pre, "#ifdefX", {1, 11, 6}},       // no word boundary
        {pre, "#warning", {1, 22, 8}},
        {pre, "#pragma", none},
        {pre, "x#define", none},
        {dir, "#pragma once", {1, 1, 7}},
        {dir, "#line 3", {1, 2, 5}},
        {dir, "#  ident", {1, 3, 8}},
        {dir, "# ", {1, 0, 2}},
        {dir, "#", {1, 0, 1}},
        {macro, "#x", {1, 500, 1}},
        {macro, "###", {1, 501, 2}},
        {wild, "\\and", {1, 300, 4}},
        {wild, "\\andx", {1, 300, 4}},
        {wild, "\\do-expression-list", {1, 317, 19}},
        {wild, "\\is-typedef", {1, 358, 11}},
        {wild, "\\do-", none},
        {wild, "and", none},
    });
}

template <class R>
Match keyword(std::string const& input)
{
    Lex::SB_String b(input.data(), input.size());
    b.reset();
    int type = 0, len = 0;
    int result = R().recognize(&b, type, len);
    return result == 1 ? Match{1, type, len} : Match{result, 0, 0};
}

TEST(KeywordRecognizer, WordsOfEachSetEndAtAWordBoundary)
{
    struct KeywordCase {
        Match (*recognize)(std::string const&);
        std::string input;
        Match expected;
    };
    auto c = &keyword<Lex::CKeywordRecognizer>;
    auto cc = &keyword<Lex::CCKeywordRecognizer>;
    auto fop = &keyword<Lex::FOPKeywordRecognizer>;
    auto aspect = &keyword<Lex::AspectKeywordRecognizer>;
    KeywordCase const cases[] = {
        {c, "int(", {1, 54, 3}},
        {c, "int", {1, 54, 3}},          // at the very end of the input
        {c, "int64", none},
        {c, "int_", none},
        {c, "int\xe9", {1, 54, 3}},      // a byte above 127 ends the word
        {c, "int\xff", {1, 54, 3}},
        {c, "__inline__ f", {1, 53, 10}},
        {c, "__inline__x", none},
        {c, "_Bool", {1, 9, 5}},
        {c, "__if_not_exists", {1, 126, 15}},
        {c, "and", none},
        {cc, "and", {1, 3, 3}},
        {cc, "bitor", {1, 76, 5}},
        {cc, "false", {1, 10, 5}},
        {cc, "throw;", {1, 104, 5}},
        {cc, "throws", none},
        {cc, "refines", none},
        {fop, "throws", {1, 104, 6}},
        {fop, "refines class", {1, 131, 7}},
        {fop, "import", {1, 139, 6}},
        {fop, "super.f", {1, 133, 5}},
        {aspect, "__unknown_t", {1, 130, 11}},
        {aspect, "pointcut", {1, 129, 8}},
        {aspect, "advice(", {1, 127, 6}},
        {aspect, "aspects", none},
    };
    for (KeywordCase const& k : cases) {
        SCOPED_TRACE(k.input);
        EXPECT_EQ(k.expected, k.recognize(k.input));
    }
}

struct Piece {
    int type;
    std::string text;
    bool operator==(Piece const& o) const { return type == o.type && text == o.text; }
};

std::ostream& operator<<(std::ostream& os, Piece const& p)
{
    return os << p.type << ":\"" << p.text << "\"";
}

// Comment pieces from the start of the input until the recognizer finds none.
std::vector<Piece> comment_pieces(std::string const& input, int& mode)
{
    Lex::SB_String b(input.data(), input.size());
    b.reset();
    Lex::CCommentRecognizer comments;
    std::vector<Piece> pieces;
    int type = 0, len = 0;
    while (b.state() == ScanBuffer::has_more && comments.recognize(&b, type, len) == 1) {
        pieces.push_back({type, std::string(b.token(), static_cast<size_t>(len))});
        b.accept(len);
    }
    mode = comments.mode;
    return pieces;
}

TEST(CCommentRecognizer, SplitsCommentsIntoPieces)
{
    struct CommentCase {
        std::string input;
        std::vector<Piece> pieces;
        int mode_after;
    };
    CommentCase const cases[] = {
        {"/* x */", {{257, "/*"}, {259, " x "}, {258, "*/"}}, 0},
        {"/**/", {{257, "/*"}, {258, "*/"}}, 0},
        {"/* ab\n cd */x", {{257, "/*"}, {259, " ab\n"}, {259, " cd "}, {258, "*/"}}, 0},
        {"/***/", {{257, "/*"}, {259, "*"}, {258, "*/"}}, 0},
        {"/* a**/", {{257, "/*"}, {259, " a"}, {259, "*"}, {258, "*/"}}, 0},
        {"/* a*b/ */", {{257, "/*"}, {259, " a*b/ "}, {258, "*/"}}, 0},
        {"/*/ x */", {{257, "/*"}, {259, "/ x "}, {258, "*/"}}, 0},
        {"/*\n\n*/", {{257, "/*"}, {259, "\n"}, {259, "\n"}, {258, "*/"}}, 0},
        {std::string("/* \0\xff */", 8), {{257, "/*"}, {259, std::string(" \0\xff ", 4)}, {258, "*/"}}, 0},
        {"// a\nb", {{256, "//"}, {259, " a"}}, 0},
        {"//\n", {{256, "//"}}, 0},
        {std::string("// \0\xff", 5), {{256, "//"}, {259, std::string(" \0\xff", 3)}}, 0},
        {"/ x", {}, 0},
        // Left open by the end of the input: the rest of its line is one piece.
        {"/* open", {{257, "/*"}, {259, " open"}}, 2},
        {"/* open\n", {{257, "/*"}, {259, " open\n"}}, 2},
        {"/* open*", {{257, "/*"}, {259, " open*"}}, 2},
        {"/* open**", {{257, "/*"}, {259, " open**"}}, 2},
        {"/*\n*", {{257, "/*"}, {259, "\n"}, {259, "*"}}, 2},
        {"/*", {{257, "/*"}}, 2},
    };
    for (CommentCase const& c : cases) {
        SCOPED_TRACE(c.input);
        int mode = -1;
        EXPECT_EQ(c.pieces, comment_pieces(c.input, mode));
        EXPECT_EQ(c.mode_after, mode);
    }
}

// A cascade reduced to what round trips need: every recognizer in turn
// through the filter chain, an unrecognized byte as a piece of its own.
class PieceScanner : public CRecognizer {
public:
    // The raw texts of the pieces; stops at the end or on a buffer error.
    std::vector<std::string> pieces(ScanBuffer& b)
    {
        setup(b);
        std::vector<std::string> out;
        TableRecognizer const* automata[] = {
            &pre_dir_recognizer(), &dir_recognizer(), &whitespace_recognizer(), &string_recognizer(),
            &pre_token_recognizer(), &wildcard_recognizer(), &core_recognizer(),
        };
        size_t guard = 0;
        while (cont_lines.state() == ScanBuffer::has_more) {
            if (++guard > 100000) {
                ADD_FAILURE() << "no progress";
                break;
            }
            int type = 0, len = 0;
            int result = comment_recognizer.recognize(&cont_lines, type, len);
            for (TableRecognizer const* t : automata) {
                if (result != 0)
                    break;
                cont_lines.retry();
                result = t->recognize(&cont_lines, type, len);
            }
            if (result == 0) {
                cont_lines.retry();
                result = c_keyword_recognizer.recognize(&cont_lines, type, len);
            }
            if (result == 0) {
                cont_lines.retry();
                result = fop_keyword_recognizer.recognize(&cont_lines, type, len);
            }
            if (result == 0) {
                cont_lines.retry();
                result = identifier_recognizer().recognize(&cont_lines, type, len);
            }
            if (result < 0)
                break;
            if (result == 0) {
                cont_lines.retry();
                cont_lines.next();
                len = cont_lines.len();
            }
            EXPECT_GT(len, 0);
            out.push_back(std::string(cont_lines.token(), static_cast<size_t>(len)));
            cont_lines.accept(len);
        }
        // An input made only of continuations ends before any piece.
        if (cont_lines.len() > 0)
            out.push_back(std::string(cont_lines.token(), static_cast<size_t>(cont_lines.len())));
        return out;
    }
};

std::string joined(std::vector<std::string> const& pieces)
{
    std::string all;
    for (std::string const& p : pieces)
        all += p;
    return all;
}

// Inputs made of the fragments that trouble scanners most.
std::vector<std::string> awkward_inputs()
{
    std::vector<std::string> const fragments = {
        "/*", "*/", "//", "*", "/", "\\\n", "\\\r\n", "\\", "\n", "\r", " ", "\t",
        "\"", "'", "L", "\\\"", "#", "##", "# define", "0", "0x", "1e", "e+", ".",
        "...", "->*", "int", "throws", "__inline__", "and", "x", "$", "`", "@",
        std::string(1, '\0'), "\xff", "\xe9", "\\and", "\\do-",
    };
    std::vector<std::string> inputs = {
        "", "/*", "/* a*", "/* a\n", "\"", "'", "\\", "\\\r", "#", "L", "0x", "//",
        "int", "int\\\n", "\\\n", "a\\\nb", std::string(1, '\0'), "\xff",
    };
    std::mt19937 random(4711);
    for (int i = 0; i < 400; ++i) {
        std::string input;
        int n = static_cast<int>(random() % 30);
        for (int k = 0; k < n; ++k)
            input += fragments[random() % fragments.size()];
        inputs.push_back(input);
    }
    return inputs;
}

TEST(CRecognizer, EveryInputSplitsIntoPiecesThatRebuildIt)
{
    PieceScanner scanner;
    for (std::string const& input : awkward_inputs()) {
        SCOPED_TRACE(::testing::PrintToString(input));
        Lex::SB_String text(input.data(), input.size());
        std::vector<std::string> const pieces = scanner.pieces(text);
        EXPECT_EQ(input, joined(pieces));

        // A whole-file buffer holds exactly the input, so reading past it
        // shows under the address sanitizer; a pipe gives the same pieces.
        MemorySource file(input);
        Lex::SB_WholeFile whole;
        ASSERT_EQ(Lex::SB_WholeFile::loaded, whole.load(file, file.size()));
        EXPECT_EQ(pieces, scanner.pieces(whole));
        MemorySource pipe(input);
        pipe.chunks_of(1);
        Lex::SB_Sequential sequential(pipe);
        EXPECT_EQ(pieces, scanner.pieces(sequential));
    }
}

TEST(CRecognizer, AKeywordTakesTheContinuationBehindIt)
{
    PieceScanner scanner;
    std::string input = "int\\\n x";
    Lex::SB_String b(input.data(), input.size());
    EXPECT_EQ((std::vector<std::string>{"int\\\n", " ", "x"}), scanner.pieces(b));
    input = "in\\\nt x";
    Lex::SB_String c(input.data(), input.size());
    EXPECT_EQ((std::vector<std::string>{"in\\\nt", " ", "x"}), scanner.pieces(c));
}

TEST(CRecognizer, SetupStartsAtTheFirstLineAndSwitchesHaveTheirDefaults)
{
    PieceScanner scanner;
    EXPECT_TRUE(scanner.c_keywords());
    EXPECT_TRUE(scanner.cpp_keywords());
    EXPECT_TRUE(scanner.fop_keywords());
    EXPECT_FALSE(scanner.aspect_keywords());
    EXPECT_FALSE(scanner.wildcards());
    EXPECT_FALSE(scanner.pre_token_mode());
    scanner.aspect_keywords(true);
    EXPECT_TRUE(scanner.aspect_keywords());

    std::string const input = "a\nb\\\nc\nd";
    Lex::SB_String b(input.data(), input.size());
    scanner.pieces(b);
    long line = 0, column = 0;
    scanner.location(line, column);
    EXPECT_EQ(4, line);
    EXPECT_EQ(2, column);
    Lex::SB_String again(input.data(), 1);
    scanner.pieces(again);
    scanner.location(line, column);
    EXPECT_EQ(1, line);
    EXPECT_EQ(2, column);
}

} // namespace
