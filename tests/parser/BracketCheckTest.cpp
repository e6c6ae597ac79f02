// Files whose comments, literals or brackets do not close fail to parse, with
// errors at the line where the construct opens and, for one the end of the
// file cuts off, at the file's last line.
#include "Parsed.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    char const* what;
    char const* text;
    char const* file;
    char const* out; // the errors, "" for a file that parses
};

void Check(Case const& c)
{
    Parsed p(c.text, c.file);
    EXPECT_EQ(c.out, p.out) << c.what;
    EXPECT_EQ(*c.out == 0, p.tu != nullptr) << c.what;
}

} // namespace

TEST(BracketCheck, UnclosedConstructsFailTheFile)
{
    Case const cases[] = {
        {"a '{' too many: the misindented pair points at it",
         "refines class S {\n    void f() { {\n        g();\n    }\n    void h() { }\n};\n", "S.h",
         "S.h(1) : error: '{' never closed: the file ends first; add the missing '}'\n"
         "S.h(2) : error: this '{' is closed only by the '}' on line 6, which is indented otherwise: is this '{' one "
         "too many, or is a '}' missing before line 6?\n"
         "S.h(6) : error: unexpected end of file: the '{' of line 1 is never closed; add the missing '}' or remove "
         "the '{' too many\n"},
        {"a '}' too many in a header", "class S {\n    void f() { } }\n    void h() { }\n};\n", "S.h",
         "S.h(4) : error: '}' closes nothing: remove it, or add the '{' it should close\n"
         "S.h(1) : error: this '{' is closed by the '}' on line 2, which is indented otherwise: is that '}' one too "
         "many?\n"},
        {"a '}' too many in a Java-like module drops no method",
         "refines class S {\n    void f() { } }\n    void h() { }\n}\n", "S.jak",
         "S.jak(4) : error: '}' closes nothing: remove it, or add the '{' it should close\n"
         "S.jak(1) : error: this '{' is closed by the '}' on line 2, which is indented otherwise: is that '}' one too "
         "many?\n"},
        {"a '}' too many and the last one missing", "class S {\n    void f() { } }\n    void h() { }\n", "S.java",
         "S.java(3) : error: method 'h' stands outside every class: is a '}' before it one too many, closing the "
         "class early?\n"},
        {"an unclosed '('", "class S {\n    void f(int x { }\n};\n", "S.h",
         "S.h(2) : error: '(' never closed: the '}' on line 3 comes first; add the missing ')'\n"},
        {"an unclosed '['", "class S {\n    int a[3;\n};\n", "S.cs",
         "S.cs(2) : error: '[' never closed: the '}' on line 3 comes first; add the missing ']'\n"},
        {"a class body never closed", "class S {\n    int x;\n", "S.h",
         "S.h(1) : error: '{' never closed: the file ends first; add the missing '}'\n"
         "S.h(2) : error: unexpected end of file: the '{' of line 1 is never closed; add the missing '}' or remove "
         "the '{' too many\n"},
        {"an unterminated comment", "class S {\n    /* note\n    void f() { }\n};\n", "S.h",
         "S.h(2) : error: unterminated comment: this '/*' has no '*/', so the rest of the file is comment; close it\n"
         "S.h(4) : error: unexpected end of file: the comment of line 2 is never closed; add the '*/'\n"},
        {"an unterminated raw string", "class S {\n    char const* s = R\"x(a)\";\n};\n", "S.h",
         "S.h(2) : error: unterminated raw string literal: no ')x\"' closes the 'R\"x(' on this line\n"
         "S.h(3) : error: unexpected end of file: the raw string literal of line 2 is never closed; add its closing "
         "sequence\n"},
        {"an unterminated string", "class S {\n    void f() { g(\"a); }\n};\n", "S.h",
         "S.h(2) : error: unterminated string literal: no '\"' closes this one on its line; add it (or write \\\" for "
         "a quote inside the text)\n"},
        {"an unterminated character", "class S {\n    char c = 'a;\n};\n", "S.jak",
         "S.jak(2) : error: unterminated character literal: no ''' closes this one on its line; add it (or write \\' "
         "for an apostrophe)\n"},
        {"a class head the file cuts off", "class A : public B,\n  public C", "A.h",
         "A.h(1) : error: unexpected end of file: the class head has no body; add the '{ ... };' of the class\n"},
        {"a refinement head without a body", "refines class A", "A.h",
         "A.h(1) : error: unexpected end of file: the class head has no body; add the '{ ... };' of the class\n"},
    };
    for (Case const& c : cases)
        Check(c);
}

TEST(BracketCheck, ClosedConstructsPass)
{
    Case const cases[] = {
        {"brackets inside comments, literals and directives",
         "#define OPEN {\n// }\nclass S { /* ( */ char c = '}'; char const* s = \")]\"; };\n", "S.h", ""},
        {"a lambda with a body in a default argument",
         "class S { void f(std::function<void()> cb = [] { g(); }); };\n", "S.h", ""},
        {"a raw string over lines", "class S { char const* s = R\"x(a)\"\n}\n)x\"; };\n", "S.h", ""},
        {"braces that balance in the first branches",
         "#if X\nclass S {\n#else\nclass S : B {\n#endif\n void f();\n};\n", "S.h", ""},
        {"parentheses that balance in the first branches",
         "class S {\n#if X\n void f(int a,\n#else\n void f(int a, int b,\n#endif\n int c);\n};\n", "S.h", ""},
        {"a quote and braces in a skipped group", "#if 0\n{ it's\n#endif\nclass S { };\n", "S.h", ""},
        {"Java methods inside their class", "class S {\n    void f() { }\n    class I { void g() { } }\n}\n", "S.java",
         ""},
        {"a C# delegate and class in a namespace",
         "namespace N {\n    public delegate void D(int x);\n    class S { void f() { } }\n}\n", "S.cs", ""},
    };
    for (Case const& c : cases)
        Check(c);
}

TEST(BracketCheck, AHeaderParsedAfterAJavaModuleMayHoldFunctions)
{
    // The parser stays in the Java-like mode after a Java-like file; a
    // function after the class of a later header is still no method.
    Scanned jak("class K { void f() { } }\n", "K.jak");
    Scanned header("aspect A { int x; };\nint helper() { return 1; }\n", "A.ah");
    std::ostringstream errors;
    ParseErrors project(errors);
    SimpleCPPParser parser;
    testutil::Captured captured;
    std::unique_ptr<SimpleTU> first(parser.parse(jak.unit, project));
    std::unique_ptr<SimpleTU> second(parser.parse(header.unit, project));
    EXPECT_NE(nullptr, first);
    EXPECT_NE(nullptr, second);
    EXPECT_EQ("", captured.All());
}
