// Scopes and blocks: access words after nested classes, text inside
// `#if 0` blocks, and `super` calls and static initializers in module
// bodies. Each text must give the structure a C++ reader sees and print
// back unchanged.
#include "Parsed.h"

#include <gtest/gtest.h>

#include <string>

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
    ASSERT_NE(nullptr, p.tu) << c.text << "\n" << p.out;
    EXPECT_EQ(c.outline, p.Outline()) << c.text;
    EXPECT_EQ(c.vars, Vars(*p.tu)) << c.text;
    EXPECT_EQ("", p.out) << c.text;
    EXPECT_EQ(std::string("\n") + c.text, p.scanned.Text()) << c.text;
}

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
        // Each class of a file starts with its own default.
        {"class A { public: void f(); };\nclass B { void g(); };\nstruct C { private: void h(); };\nstruct D { void i(); };",
         "class A { decl f/public } class B { decl g/private } struct C { decl h/private } struct D { decl i/public }", ""},
    };
    for (Case const& c : cases)
        Check(c);
}
