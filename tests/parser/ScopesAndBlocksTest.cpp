// Scopes and blocks: access words after nested classes, text inside
// `#if 0` blocks, and `super` calls and static initializers in module
// bodies. Each text must give the structure a C++ reader sees and print
// back unchanged.
#include "../Captured.h"
#include "Parsed.h"

#include "parser/BodyParseEvents.h"
#include "parser/FuncBodyParser.h"
#include "scanner/CScanner.h"
#include "scanner/ErrorCollector.h"
#include "scanner/Unit.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using testutil::ExpectParsed;
using testutil::Vars;

namespace {

struct Case {
    char const* text;
    char const* outline;
    char const* vars;
};

void Check(Case const& c, char const* file = "A.h")
{
    Parsed p(c.text, file);
    if (ExpectParsed(p, c.text, c.outline, nullptr, true)) {
        EXPECT_EQ(c.vars, Vars(*p.tu)) << c.text;
    }
}

// The super calls and qualifiers a body walk reports, with the other
// events left out.
class SuperEvents : public BodyParseEvents {
public:
    void OnTokSuperCall(Lex::Token*, Lex::Token* separator, Lex::Token* name) override
    {
        Add(std::string("call ") + separator->text->text + name->text->text);
    }
    void OnSuperQualifier(Lex::Token&, Lex::Token& separator) override
    {
        Add(std::string("qualifier ") + separator.text->text + NextText(separator));
    }
    void OnTokThis(Lex::Token&, bool) override {}
    void OnMemberAccess(Lex::Token*, Lex::Token&, bool) override {}
    void OnStaticMemberAccess(Lex::Token&, Lex::Token&, Lex::Token&) override {}
    void OnClassInstantiation(Lex::Token&, Lex::Token&) override {}

    std::string text;

private:
    static std::string NextText(Lex::Token& t) { return t.next() ? t.next()->text->text : "?"; }
    void Add(std::string const& event) { text += text.empty() ? event : ", " + event; }
};

} // namespace

// A class body starts private, a struct or union body public, and after a
// nested body the access in force around it is back: neither the nested
// default nor an access word inside it reaches the members after it.
// (Member variables are recorded private whatever their access.)
TEST(ScopesAndBlocks, AccessAfterNestedClasses)
{
    Case const cases[] = {
        {"class A { public: struct N { int n; }; private: int secret; void hidden(); };",
         "class A { struct N {  } decl hidden/private }", "n/private secret/private"},
        {"class A { public: class N { int n; void g(); }; private: int secret; void hidden(); };",
         "class A { class N { decl g/private } decl hidden/private }", "n/private secret/private"},
        {"class A { public: enum E { x, y }; void p(); private: void hidden(); };",
         "class A { E {  } decl p/public decl hidden/private }", ""},
        {"class A { public: enum class E : int { x, y }; void p(); private: void hidden(); };",
         "class A { E {  } decl p/public decl hidden/private }", ""},
        // A nested class starts private inside a struct, and its `public:`
        // stays inside it.
        {"struct A { class N { void g(); public: void h(); }; void f(); private: void hidden(); };",
         "struct A { class N { decl g/private decl h/public } decl f/public decl hidden/private }", ""},
        {"class A { class N { public: void n() {} }; void hidden(); };",
         "class A { class N { def ::A::N::n/public } decl hidden/private }", ""},
        // Several deep, with definitions, templates and declarators.
        {"class A { public: class N { public: struct M { void m(); }; void n(); }; void p(); private: void hidden(); };",
         "class A { class N { struct M { decl m/public } decl n/public } decl p/public decl hidden/private }", ""},
        {"class A {\npublic:\n  struct N {\n    struct M { struct K { void k() {} }; private: void m(); };\n"
         "    void n();\n  };\n  void p();\nprotected:\n  void prot();\n};",
         "class A { struct N { struct M { struct K { def ::A::N::M::K::k/public } decl m/private } decl n/public } "
         "decl p/public decl prot/protected }",
         ""},
        {"class A { protected: template <class T> struct N { void n(); }; void p(); private: void hidden(); };",
         "class A { struct N { decl n/public } decl p/protected decl hidden/private }", ""},
        {"class A { public: struct N { void n(); } n1, *n2; void p(); private: void hidden(); };",
         "class A { struct N { decl n/public } decl p/public decl hidden/private }", "n1/private n2/private"},
        {"class A { public: struct N; void p(); private: void hidden(); };",
         "class A { decl p/public decl hidden/private }", ""},
        // The access word of a base is none of the body's.
        {"class A { class N : public B { void g(); }; void hidden(); };",
         "class A { class N : public B { decl g/private } decl hidden/private }", ""},
        {"struct A { struct N : private B { void g(); }; void f(); };",
         "struct A { struct N : private B { decl g/public } decl f/public }", ""},
        // Each class of a file starts with its own default.
        {"class A { public: void f(); };\nclass B { void g(); };\nstruct C { private: void h(); };\nstruct D { void i(); };",
         "class A { decl f/public } class B { decl g/private } struct C { decl h/private } struct D { decl i/public }", ""},
    };
    for (Case const& c : cases)
        Check(c);
}

// Text inside `#if 0` (and in the branches after `#if 1`) is no code: it
// scans as comment text without errors, whatever it holds, and the
// directive that ends it is a directive again. Shown: the tokens that are
// neither white space nor comments.
TEST(ScopesAndBlocks, SkippedConditionalGroupsAreNoCode)
{
    struct Row {
        char const* text;
        char const* code;
    } const rows[] = {
        {"#if 0\n don't do this\n#endif\nint b;", "#if 0 #endif int b ;"},
        {"  #  if 0 // off\n }\n  # endif\nint b;", "  #  if 0 # endif int b ;"},
        // Nested conditionals go with the group; the branches after it are
        // read.
        {"#if 0\n#ifdef X\n }\n#else\n {\n#endif\n '\n#endif\nint b;", "#if 0 #endif int b ;"},
        {"#if 0\nint a;\n#else\nint b;\n#endif", "#if 0 #else int b ; #endif"},
        {"#if 0\nint a;\n#elif X\nint b;\n#else\nint c;\n#endif", "#if 0 #elif X int b ; #else int c ; #endif"},
        {"#if X\nint a;\n#elif 0\nint b;\n#else\nint c;\n#endif", "#if X int a ; #elif 0 #else int c ; #endif"},
        {"#if 1\nint a;\n#elif X\nint b;\n#else\nint c;\n#endif\nint d;", "#if 1 int a ; #elif X #else #endif int d ;"},
        {"#if X\n#if 0\nint a;\n#endif\n#else\nint b;\n#endif", "#if X #if 0 #endif #else int b ; #endif"},
        // Only a plain 0 or 1 is known.
        {"#if 0 && X\nint a;\n#endif", "#if 0 && X int a ; #endif"},
        {"#if 10\nint a;\n#else\nint b;\n#endif", "#if 10 int a ; #else int b ; #endif"},
        // Comments stay comments, as the preprocessor reads them: one may
        // hide an #endif; one inside a literal is none.
        {"#if 0\n/*\n#endif\n*/\nint a;\n#endif\nint b;", "#if 0 #endif int b ;"},
        {"#if 0\n\"/*\" don't // x\n#endif\nint b;", "#if 0 #endif int b ;"},
        {"#if 0\nx = '/*';\n#endif\nint b;", "#if 0 #endif int b ;"},
        // A continued line goes on; line breaks of either kind; a group the
        // file ends in.
        {"#if 0\nit's \\\n#endif\n#endif\nint b;", "#if 0 #endif int b ;"},
        {"#if 0\r\n don't\r\n#endif\r\nint b;", "#if 0 #endif int b ;"},
        {"#if 0\nint a;", "#if 0"},
    };
    for (Row const& row : rows) {
        Lex::Unit unit;
        unit.name("t.h");
        Lex::ErrorCollector errors;
        Lex::CScanner scanner(errors);
        scanner.fill_unit(row.text, unit);
        std::string code;
        for (Lex::Token* t = unit.first(); t; t = t->next()) {
            if (t->language == Lex::Token::white_id || (t->flags & Lex::Token::comment_flag))
                continue;
            code += code.empty() ? "" : " ";
            code += t->text->text;
        }
        EXPECT_EQ(row.code, code) << row.text;
        EXPECT_EQ(Lex::sev_none, errors.severity()) << row.text;
        std::ostringstream printed;
        unit.print(printed);
        EXPECT_EQ(row.text, printed.str()) << row.text;
    }
}

// The parser reads a class with skipped groups in it as the compiler does.
TEST(ScopesAndBlocks, ClassesAroundSkippedGroups)
{
    Case const cases[] = {
        {"class A {\n#if 0\n don't do this\n#endif\n void f(); };", "class A { decl f/private }", ""},
        {"class A {\n#if 0\n };\n class B {\n#endif\n void f(); };", "class A { decl f/private }", ""},
        {"class A {\npublic:\n#if 0\n void g() {\n#else\n void g(int) {\n#endif\n }\n void f(); };",
         "class A { def ::A::g/public decl f/public }", ""},
        {"class A {\npublic:\n#if 1\n void g() {\n#elif X\n void g(int) {\n#else\n {\n#endif\n }\n void f(); };",
         "class A { def ::A::g/public decl f/public }", ""},
        {"#if 0\nclass B { int b; };\n#endif\nclass A {\n#if 0\n#if X\n }\n#endif\n int old;\n#endif\n int a; };",
         "class A {  }", "a/private"},
    };
    for (Case const& c : cases)
        Check(c);
}

// A Java initializer block, static or not, is a block of statements: the
// calls and variables in it are no members of the class.
TEST(ScopesAndBlocks, JavaInitializerBlocksHoldNoMembers)
{
    Case const cases[] = {
        {"class A {\n    static { init(); }\n    void f() { }\n}\n", "class A { {  } def ::A::f/none }", ""},
        {"class A {\n    static Map m;\n    static {\n        m = new Map();\n        m.put(1, 2);\n    }\n"
         "    public void f() { }\n}\n",
         "class A { {  } def ::A::f/public }", "m/private"},
        {"class A {\n    { init(); }\n    int n;\n    { n = count(); }\n    void f();\n}\n",
         "class A { {  } {  } decl f/none }", "n/private"},
        {"class A {\n    void g() { }\n    static { int k = g(); if (k > 0) { k = 0; } }\n    private void f() { }\n}\n",
         "class A { def ::A::g/none {  } def ::A::f/private }", ""},
        {"refines class A {\n    static { System.loadLibrary(\"x\"); }\n    int f() { return Super().f(); }\n}\n",
         "refines class A { {  } def ::A::f/none }", ""},
        // A body after a head or an initializer stays what it was.
        {"class A {\n    int[] t = { 1, 2 };\n    Object o = new Object() { };\n    static void s() { }\n}\n",
         "class A { def ::A::s/none }", "t/private o/private"},
    };
    for (Case const& c : cases) {
        Check(c, "A.jak");
        Check(c, "A.java");
    }
}

// `super` in front of a qualified name names the class the layers below
// make (`super::N::f()` calls the static f of its nested N): no call of the
// refined function, and no error, in C++ and aspect modules alike. A call of
// the refined function with template arguments stays a call.
TEST(ScopesAndBlocks, SuperInFrontOfAQualifiedName)
{
    struct Row {
        char const* text;
        char const* file;
        char const* events;
        char const* out;
    } const rows[] = {
        {"refines class C { int g() { return super::N::f() + super::g(); } };", "C.ah",
         "qualifier ::N, call ::g", ""},
        {"refines class C { int g() { return super::N::M::f(); } };", "C.h", "qualifier ::N", ""},
        {"refines class C { int g() { return super::T<int, 2>::f() + super.N::f(); } };", "C.ah",
         "qualifier ::T, qualifier .N", ""},
        {"refines class C { template <class T> int f() { return super::f<T>() * 2; } };", "C.ah", "call ::f", ""},
        {"refines class C { int f() { return super::f<int>(); } };", "C.h", "call ::f", ""},
        // A name that qualifies nothing is a call, and only the refined one
        // may be called.
        {"refines class C { int g() { return super::h(); } };", "C.h", "", "C.h(1) : error: invalid call to super::h\n"},
        {"refines class C { int g() { return super::h < 2; } };", "C.h", "", "C.h(1) : error: invalid call to super::h\n"},
        // Java's own `super.N` stays.
        {"refines class C { int g() { return super.N.f(); } }", "C.jak", "", ""},
    };
    for (Row const& row : rows) {
        Parsed p(row.text, row.file);
        ASSERT_NE(nullptr, p.tu) << row.text << p.out;
        EXPECT_EQ("", p.out) << row.text;
        EXPECT_EQ(std::string("\n") + row.text, p.scanned.Text()) << row.text;
        SuperEvents events;
        testutil::Captured captured;
        for (int i = 0; i < p.tu->m_FuncDefs.GetCount(); ++i)
            FuncBodyParser(*p.tu->m_FuncDefs[i], events).Parse();
        std::string out = captured.All();
        EXPECT_EQ(row.events, events.text) << row.text;
        EXPECT_EQ(row.out, out) << row.text;
    }
}
