// File-level structure met in real system headers: directive lines between
// a class body and its declarator, `) ?:` and `) :` inside class bodies,
// specifiers after a body, braced temporaries among base arguments, and
// files whose braces balance only branch by branch.
#include "Parsed.h"

#include "parser/Info.h"
#include "parser/NodeFuncDecl.h"

#include <gtest/gtest.h>

#include <string>

using testutil::ExpectParsed;
using testutil::Vars;

namespace {

struct Case {
    char const* text;
    char const* outline;
    char const* vars;
    char const* functions;
};

void Check(Case const& c)
{
    Parsed p(c.text);
    if (ExpectParsed(p, c.text, c.outline, c.functions, true)) {
        EXPECT_EQ(c.vars, Vars(*p.tu)) << c.text;
    }
}

} // namespace

TEST(RealHeaders, DirectivesBetweenBodyAndDeclarator)
{
    Case const cases[] = {
        // tcl.h, ncurses menu.h: the head is written for two compilers.
        {"typedef struct p\n#if X\n{\n  int a;\n  int f();\n}\n#endif\nP;\nint p::f() { return a; }\nclass B { };",
         "struct p { decl f/public } def ::p::f/public class B {  }", "a/private",
         "::p::f: int f() +def | ::p::f: int f() +def"},
        // Several directive lines, a pragma among them, before declarators.
        {"struct q { int b; }\n#ifdef Y\n#pragma pack()\n#endif\nq1, *q2;\nclass B { };", "struct q {  } class B {  }",
         "b/private q1/private q2/private", ""},
        // ... and before the `;` alone.
        {"struct r { int c; }\n#endif\n;\nclass B { };", "struct r {  } class B {  }", "c/private", ""},
    };
    for (Case const& c : cases)
        Check(c);
}

TEST(RealHeaders, ConditionalsAndMacroNamesBeforeAColonInAClass)
{
    Case const cases[] = {
        // libstdc++ functional: `) ?` in a static assertion.
        {"struct S { static_assert(f(v) ? 1 : 2, \"m\"); int g(); };\nint S::g() { return 0; }\nclass B { };",
         "struct S { decl g/public } def ::S::g/public class B {  }", "",
         "::S::g: int g() +def | ::S::g: int g() +def"},
        // LLVM IntervalMap: enumerators of a nested class; conditionals
        // nested in conditionals; an array bound.
        {"struct S {\n  struct N { enum { A = (x) ? 7 : 5 }; int h(); };\n"
         "  enum { E = a ? b ? 1 : 2 : (c) ? 3 : 4 };\n  int arr[(x) ? 1 : 2];\n  int g();\n};\n"
         "int S::N::h() { return A; }\nclass B { };",
         "struct S { struct N { {  } decl h/public } {  } decl g/public } def ::S::N::h/public class B {  }",
         "arr/private", "::S::N::h: int h() +def | ::S::g: int g() | ::S::N::h: int h() +def"},
        // A default argument with a conditional leaves the initializer list
        // of its constructor one.
        {"struct S { int m; S(int k = (x) ? 1 : 2) : m(k) { } int g(); };\nclass B { };",
         "struct S { def ::S::S/public:init decl g/public } class B {  }", "m/private",
         "::S::S: S(int) +def | ::S::g: int g()"},
        // glibc regex.h: bit-fields named by a macro call; a constructor
        // with its initializer list beside them.
        {"struct R { unsigned M(a) : 1, M(b) : 2; int m; R(int k) : m(k) { } int g(); };\nclass B { };",
         "struct R { def ::R::R/public:init decl g/public } class B {  }", "m/private",
         "::R::R: R(int) +def | ::R::g: int g()"},
        // A conditional whose middle is a call.
        {"class P { enum { v = c ? f(x) : 2 }; int g(); };\nclass Q { void f() {} };",
         "class P { {  } decl g/private } class Q { def ::Q::f/private }", "",
         "::P::g: int g() | ::Q::f: void f() +def"},
    };
    for (Case const& c : cases)
        Check(c);
}

TEST(RealHeaders, SpecifiersAfterAClassBody)
{
    Case const cases[] = {
        {"struct D { int x; } inline constexpr d{};\nclass B { };", "struct D {  } class B {  }", "x/private d/private",
         ""},
        {"struct D { int x; } static d;\nclass B { };", "struct D {  } class B {  }", "x/private d/private", ""},
        {"struct D { int x; } extern e, *pe;\nstruct E { int y; } thread_local t;\nclass B { };",
         "struct D {  } struct E {  } class B {  }", "x/private e/private pe/private y/private t/private", ""},
        {"struct D { int x; } static const s = {};\nclass B { };", "struct D {  } class B {  }", "x/private s/private",
         ""},
        // A typedef after the body names an alias, no variable.
        {"struct D { int x; } typedef T;\nclass B { };", "struct D {  } class B {  }", "x/private", ""},
    };
    for (Case const& c : cases)
        Check(c);
}

TEST(RealHeaders, BracedTemporariesAndBracketsAmongBaseArguments)
{
    Case const cases[] = {
        {"struct C : B<T{}> { void f(); };\nclass E { };", "struct C : private B<T> { decl f/public } class E {  }", "",
         "::C::f: void f()"},
        {"struct C : B<U{1}>, D<(2 > 1)>, F<sizeof(T{}) + 1> { int g(); };\nclass E { };",
         "struct C : private B<U>, private D<>, private F<> { decl g/public } class E {  }", "", "::C::g: int g()"},
        // An argument list the body cuts off still ends there.
        {"class A : public B<C { int g(); };\nclass E { };", "class A : public B<C> { decl g/private } class E {  }",
         "", "::A::g: int g()"},
    };
    for (Case const& c : cases)
        Check(c);
}

TEST(RealHeaders, BranchesThatEachOpenABraceAreReadFirstBranchOnly)
{
    Case const cases[] = {
        // libstdc++ deque.tcc: each branch writes the head and its `{`.
        {"template <class T>\n#if __cplusplus >= 201103L\n  void D<T>::m(int a)\n  {\n#elif Y\n"
         "  void D<T>::m(long a)\n  {\n#else\n  void D<T>::m(short a)\n  {\n#endif\n    g(a);\n  }\n"
         "class B { void f(); };\nvoid B::f() { }",
         "def ::D::m class B { decl f/private } def ::B::f/private", "",
         "::D::m: void m(int) +def | ::B::f: void f() +def | ::B::f: void f() +def"},
        // Inside a class body; members after it stay the class's.
        {"class Q {\n#if X\n void f() {\n#else\n void f() { int a;\n#endif\n }\n int g();\n};\nclass B { };",
         "class Q { def ::Q::f/private decl g/private } class B {  }", "", "::Q::f: void f() +def | ::Q::g: int g()"},
        // Nested conditionals, a namespace and class heads per branch.
        {"#ifdef A\nnamespace n {\n#else\nnamespace m {\n#endif\n#if B\n#if C\nclass X {\n#else\nclass Y {\n"
         "#endif\n#else\nclass Z {\n#endif\n void f() {}\n};\n}",
         "namespace n { class X { def ::n::X::f/private } }", "", "::n::X::f: void f() +def"},
        // A file that balances as written is read whole, every branch.
        {"#if X\nvoid f() {}\n#else\nvoid g() {}\n#endif\nclass B { void h(); };",
         "def ::f def ::g class B { decl h/private }", "", "::f: void f() +def | ::g: void g() +def | ::B::h: void h()"},
        // A brace on a directive line counts for no branch.
        {"#define OPEN {\n#if X\nclass A {\n#else\nclass A : B {\n#endif\n void f();\n};",
         "class A { decl f/private }", "", "::A::f: void f()"},
    };
    for (Case const& c : cases)
        Check(c);
}

TEST(RealHeaders, AFileUnbalancedInItsFirstBranchesIsStillCutOff)
{
    // Both branches open a class: the first branches alone do not balance,
    // the file is read whole and ends inside the body.
    Parsed p("#if X\nclass A {\n#else\nclass A {\n#endif\n void f();\n");
    ASSERT_NE(nullptr, p.tu);
    EXPECT_EQ("A.h(7) : warning: unexpected end of file\n", p.out);
    EXPECT_EQ("class A { class A { decl f/private } }", p.Outline());
}
