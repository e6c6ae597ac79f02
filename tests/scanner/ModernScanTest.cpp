// Today's C++ literals, directive text and the byte-exact print-back of a
// module through the unit and through the tool's output files.
#include "scanner/CScanner.h"
#include "scanner/ErrorStream.h"
#include "scanner/Token.h"
#include "scanner/Unit.h"

#include "output/OutFile.h"

#include "../output/OptionGuard.h"
#include "../parser/Parsed.h"
#include "MemorySource.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Lex::Token;

// A token as these tests look at it: type and text.
struct Lexeme {
    int type;
    std::string text;
};

bool operator==(Lexeme const& a, Lexeme const& b)
{
    return a.type == b.type && a.text == b.text;
}

std::ostream& operator<<(std::ostream& os, Lexeme const& p)
{
    return os << p.type << " " << ::testing::PrintToString(p.text);
}

struct Scan {
    std::vector<Lexeme> lexemes; // without white space and comments
    std::string messages;
    std::string printed;       // the unit printed back
    Lex::Unit unit;
};

void ScanText(std::string const& text, Scan& scan)
{
    std::ostringstream messages;
    Lex::ErrorStream errors(messages);
    Lex::CScanner scanner(errors);
    scanner.aspect_keywords(true);
    scan.unit.name("m.h");
    MemorySource source(text); // NUL bytes included
    scanner.fill_unit(source, scan.unit);
    for (Token* t = scan.unit.first(); t; t = t->next())
        if (t->type != Lex::TOK_WHITESPACE && t->language != Token::comment_id)
            scan.lexemes.push_back({t->type, std::string(t->text->text, t->text->length)});
    scan.messages = messages.str();
    std::ostringstream printed;
    scan.unit.print(printed);
    scan.printed = printed.str();
}

int const id = Lex::TOK_ID;
int const str = Lex::TOK_STRING_VAL;
int const chr = Lex::TOK_CHAR_VAL;
int const num = Lex::TOK_INT_VAL;
int const flt = Lex::TOK_FLT_VAL;
int const semi = Lex::TOK_SEMI_COLON;

struct Case {
    std::string input;
    std::vector<Lexeme> expected;
    std::string messages;
};

void Check(std::vector<Case> const& cases)
{
    for (Case const& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.input));
        Scan scan;
        ScanText(c.input, scan);
        EXPECT_EQ(c.expected, scan.lexemes);
        EXPECT_EQ(c.messages, scan.messages);
        EXPECT_EQ(c.input, scan.printed);
    }
}

TEST(ModernScan, RawStringsAreOneLiteral)
{
    Check({
        {"R\"(a\"}b)\";", {{str, "R\"(a\"}b)\""}, {semi, ";"}}, ""},
        {"u8R\"x(a)\"b)x\" LR\"(l)\" uR\"(u)\" UR\"(U)\"",
         {{str, "u8R\"x(a)\"b)x\""}, {str, "LR\"(l)\""}, {str, "uR\"(u)\""}, {str, "UR\"(U)\""}}, ""},
        // Empty, with escapes that mean nothing, over several lines.
        {"R\"()\" R\"(\\)\" R\"--(a\n)-\"\n)--\"",
         {{str, "R\"()\""}, {str, "R\"(\\)\""}, {str, "R\"--(a\n)-\"\n)--\""}}, ""},
        // A name ending in R before a literal is a name.
        {"FOOR\"(x)\" uR", {{id, "FOOR"}, {str, "\"(x)\""}, {id, "uR"}}, ""},
        // A delimiter of 17 characters makes no raw string.
        {"R\"12345678901234567(x)12345678901234567\"",
         {{id, "R"}, {str, "\"12345678901234567(x)12345678901234567\""}}, ""},
        // The head of a raw string that is never closed is an unknown token
        // (the parser names it); the text after it is read as code.
        {"R\"(never closed\nx", {{Lex::TOK_UNKNOWN, "R\"("}, {id, "never"}, {id, "closed"}, {id, "x"}},
         "m.h:1: error: Unknown token\n"},
        {"u8R\"ab(x)\"; y", {{Lex::TOK_UNKNOWN, "u8R\"ab("}, {id, "x"}, {Lex::TOK_CLOSE_ROUND, ")"},
                               {Lex::TOK_UNKNOWN, "\""}, {semi, ";"}, {id, "y"}},
         "m.h:1: error: Unknown token\nm.h:1: error: Unknown token\n"},
    });
}

TEST(ModernScan, EncodingPrefixesAndDigitSeparators)
{
    Check({
        {"u8\"a\" u\"b\" U\"c\" L\"d\" u8'e' u'f' U'g' L'h'",
         {{str, "u8\"a\""}, {str, "u\"b\""}, {str, "U\"c\""}, {str, "L\"d\""},
          {chr, "u8'e'"}, {chr, "u'f'"}, {chr, "U'g'"}, {chr, "L'h'"}}, ""},
        {"1'000'000 0x1'0 0b1010'1010 0'7 1'000ULL",
         {{num, "1'000'000"}, {num, "0x1'0"}, {num, "0b1010'1010"}, {num, "0'7"}, {num, "1'000ULL"}}, ""},
        {"1'000.5'5e1'0f .5'5 1'0e+3 0x1.8p3 0x.8p-2L 0x1p1'0",
         {{flt, "1'000.5'5e1'0f"}, {flt, ".5'5"}, {flt, "1'0e+3"}, {flt, "0x1.8p3"}, {flt, "0x.8p-2L"},
          {flt, "0x1p1'0"}}, ""},
        // A separator stands between digits only: the quotes after it stay a
        // character literal.
        {"int a = 1'000; char c = 'x';",
         {{Lex::TOK_INT, "int"}, {id, "a"}, {Lex::TOK_ASSIGN, "="}, {num, "1'000"}, {semi, ";"},
          {Lex::TOK_CHAR, "char"}, {id, "c"}, {Lex::TOK_ASSIGN, "="}, {chr, "'x'"}, {semi, ";"}}, ""},
        {"f(1,'a') 1'a'", {{id, "f"}, {Lex::TOK_OPEN_ROUND, "("}, {num, "1"}, {Lex::TOK_COMMA, ","},
                           {chr, "'a'"}, {Lex::TOK_CLOSE_ROUND, ")"}, {num, "1"}, {chr, "'a'"}}, ""},
    });
}

TEST(ModernScan, RawStringsFromAPipeAreReadAsFromAFile)
{
    // A source of unknown size is read through a window of limited size: a
    // raw string that is never closed must not end the scan there.
    std::string filler;
    for (int i = 0; i < 60; ++i)
        filler += std::string(49, 'x') + "\n";
    std::string const text = "a = R\"(one)\";\nb = R\"(" + filler + "\n;\n";
    auto scan = [](Lex::Source& source, std::string& messages) {
        std::ostringstream out;
        Lex::ErrorStream errors(out);
        Lex::CScanner scanner(errors);
        Lex::Unit unit;
        scanner.fill_unit(source, unit);
        EXPECT_FALSE(scanner.aborted());
        messages = out.str();
        std::vector<std::string> texts;
        for (Token* t = unit.first(); t; t = t->next())
            texts.push_back(t->text->text);
        return texts;
    };
    MemorySource file(text);
    MemorySource pipe = MemorySource(text).reporting_size(-1);
    std::string from_file, from_pipe;
    std::vector<std::string> const tokens = scan(file, from_file);
    EXPECT_EQ(tokens, scan(pipe, from_pipe));
    EXPECT_EQ(from_file, from_pipe);
    ASSERT_GE(tokens.size(), 5u);
    EXPECT_EQ("R\"(one)\"", tokens[4]);
}

TEST(ModernScan, QuotesEndOnTheirLine)
{
    Check({
        // The apostrophe of a directive's text opens no literal that would
        // swallow the code after it.
        {"#error don't\n#warning it's \"odd\n#define Q '\nclass A {};\nchar c = 'x';\n",
         {{Lex::PRE_ERROR, "#error"}, {id, "don"}, {chr, "'"}, {id, "t"},
          {Lex::PRE_WARNING, "#warning"}, {id, "it"}, {chr, "'"}, {id, "s"}, {str, "\""}, {id, "odd"},
          {Lex::PRE_DEFINE, "#define"}, {id, "Q"}, {chr, "'"},
          {Lex::TOK_CLASS, "class"}, {id, "A"}, {Lex::TOK_OPEN_CURLY, "{"}, {Lex::TOK_CLOSE_CURLY, "}"},
          {semi, ";"}, {Lex::TOK_CHAR, "char"}, {id, "c"}, {Lex::TOK_ASSIGN, "="}, {chr, "'x'"}, {semi, ";"}},
         ""},
        // In code a lone quote is reported, and the next line is read as code.
        {"a ' b\nint c = 'x';",
         {{id, "a"}, {Lex::TOK_UNKNOWN, "'"}, {id, "b"}, {Lex::TOK_INT, "int"}, {id, "c"},
          {Lex::TOK_ASSIGN, "="}, {chr, "'x'"}, {semi, ";"}},
         "m.h:1: error: Unknown token\n"},
        // A continued line is still one line.
        {"\"ab\\\ncd\" 'a\\\n'", {{str, "\"abcd\""}, {chr, "'a'"}}, ""},
    });
}

TEST(ModernScan, ContinuationsPrintBackWithTheirBackslash)
{
    std::string const text = "#define M(a) \\\n  f(a); \\\r\n  g(a)\n"
                             "// note \\\n   still the note\n"
                             "char const* s = \"ab\\\ncd\";\n";
    Scan scan;
    ScanText(text, scan);
    EXPECT_EQ(text, scan.printed);

    // A module with CR-LF line ends prints back with them, those of its
    // continuations included; the tokens keep their texts without the
    // continuation.
    std::string const crlf_text = "#define M(a) \\\r\n  a\r\n// c \\\r\n d\r\nint\\\r\n x;\r\n";
    Scan crlf;
    ScanText(crlf_text, crlf);
    EXPECT_EQ(crlf_text, crlf.printed);
    EXPECT_EQ((std::vector<Lexeme>{{Lex::PRE_DEFINE, "#define"}, {id, "M"}, {Lex::TOK_OPEN_ROUND, "("},
                                  {id, "a"}, {Lex::TOK_CLOSE_ROUND, ")"}, {id, "a"},
                                  {Lex::TOK_INT, "int"}, {id, "x"}, {semi, ";"}}),
              crlf.lexemes);
}

// A module using the constructs above; its tokens must come back unchanged.
char const* const modern_module =
    "#pragma once\n"
    "#error don't include this twice: it's not guarded\n"
    "#define TWICE(x) \\\n"
    "    ((x) + \\\n"
    "     (x))\n"
    "namespace A::B {\n"
    "class [[nodiscard]] Widget final : public Base<int> {\n"
    "public:\n"
    "    Widget() : m_v{1, 2}, m_n(1'000'000) {}\n"
    "    auto Text() const -> const char* { return R\"x(a\"}b)x\"; }\n"
    "    char16_t m_c = u'c'; // it's \\\n"
    "                            a continued comment\n"
    "    double m_d = 0x1.8p3 + 1'0.5;\n"
    "    bool Odd() const { return m_n bitand 1 and not m_d; }\n"
    "    int m_v[2]; long m_n;\n"
    "};\n"
    "}\n";

TEST(ModernScan, ParsedModulePrintsBackByteForByte)
{
    Parsed parsed(modern_module, "A.h");
    EXPECT_EQ("", parsed.errors.str());
    // The parser puts tokens of its own, without a location, in front of the
    // module's first token.
    Lex::Token* first = parsed.scanned.unit.first();
    while (first && first->location.empty())
        first = first->next();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ("#pragma", std::string(first->text->text));

    testutil::TempFolder folder;
    std::string const path = folder.path("A.h");
    auto written = [&](bool noLine) {
        testutil::OptionGuard options(noLine, nullptr);
        OutFile file(path.c_str());
        file.SaveTokens(first, nullptr, nullptr, nullptr);
        file.Close();
        return testutil::ReadFile(path);
    };
    EXPECT_EQ(modern_module, written(true));
    // With line directives, only the first token needs one: the written
    // continuations keep the lines in step with the module.
    EXPECT_EQ(std::string("\n#line 1 \"A.h\"\n") + modern_module, written(false));
}

TEST(ModernScan, MixedInputsPrintBackByteForByte)
{
    // Every input made of these fragments must print back unchanged.
    std::vector<std::string> const fragments = {
        "/*", "*/", "//", "*", "/", "\\", "\n", "\r\n", "\r", " ", "\t", "\"", "'", "L", "u8", "R",
        "R\"(", ")\"", "R\"x(", ")x\"", "(", ")", "1", "'0", "0x", "e", ".", "#", "# error", "#define",
        "x", "int", "$", std::string(1, '\0'), "\xff", "\xe9", "\\\n", "\\\r\n",
    };
    std::mt19937 random(27);
    for (int i = 0; i < 600; ++i) {
        std::string input;
        int n = static_cast<int>(random() % 40);
        for (int k = 0; k < n; ++k)
            input += fragments[random() % fragments.size()];
        // A token's continuations are all written with one line-end style.
        if (input.find("\\\n") != std::string::npos && input.find("\\\r\n") != std::string::npos)
            continue;
        SCOPED_TRACE(::testing::PrintToString(input));
        Scan scan;
        ScanText(input, scan);
        EXPECT_EQ(input, scan.printed);
    }
}

} // namespace
