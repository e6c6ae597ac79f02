// Member and function declarations as ordinary module code writes them:
// each must give what a C++ reader sees (the class, its members with
// their types and access, the functions with their parameter and return
// types, each declaration tied to its definition), and the text must
// print back unchanged.
#include "Parsed.h"

#include <gtest/gtest.h>

#include <string>

using testutil::ExpectParsed;

namespace {

// "name:type/access" of every member variable, joined by blanks.
std::string Vars(Parsed& p)
{
    std::string text;
    for (int i = 0; p.tu && i < p.tu->m_MemberVars.GetCount(); ++i) {
        MemberVarInfo* var = p.tu->m_MemberVars[i];
        text += i ? " " : "";
        text += std::string(var->GetNameText()) + ":" + var->GetType()->AsString().GetBuffer() + "/"
            + ConvertAccessTypeToString(var->GetAccess());
    }
    return text;
}

struct Case {
    char const* text;
    char const* outline;
    char const* functions;
    char const* vars;
};

void Check(Case const& c)
{
    Parsed p(c.text);
    if (ExpectParsed(p, c.text, c.outline, c.functions, true)) {
        EXPECT_EQ(c.vars, Vars(p)) << c.text;
    }
}

} // namespace

// A bracket that begins with what only an expression begins with holds an
// initializer: the name before it is a variable, no function.
TEST(MemberDeclarations, ParenthesizedInitializersMakeVariables)
{
    Case const cases[] = {
        {"int x(3);\nstd::string s(\"a\"), t(-1);\nint a(3), b(!c);\nint f(int);\nclass B { void g(); };",
         "class B { decl g/private }", "::f: int f(int) | ::B::g: void g()",
         "x:int/private s:string/private t:string/private a:int/private b:int/private"},
        {"class A { int x(3); long y(sizeof(int)), *p(nullptr); A* self(this); int z; };", "class A {  }", "",
         "x:int/private y:long/private p:long*/private self:A*/private z:int/private"},
        // A name in the bracket may be a type: that stays a function.
        {"class A { int g(Item); A(int); };", "class A { decl g/private decl A/private }",
         "::A::g: int g(Item) | ::A::A: A(int)", ""},
    };
    for (Case const& c : cases)
        Check(c);
}

// Every declarator of a declaration has its own indirection.
TEST(MemberDeclarations, DeclaratorsKeepTheirOwnPointers)
{
    Case const cases[] = {
        {"class A { int a, *b, &c; char* d, e; const int* const f, g; int*& h, i; int &&j; };", "class A {  }", "",
         "a:int/private b:int*/private c:int&/private d:char*/private e:char/private f:const int*/private"
         " g:const int/private h:int&/private i:int/private j:int&&/private"},
    };
    for (Case const& c : cases)
        Check(c);
}

TEST(MemberDeclarations, OperatorNames)
{
    Case const cases[] = {
        {"class A { bool operator<=>(const A&) const; bool operator<(const A&) const; bool operator<=(int) const; };\n"
         "bool A::operator<=>(const A& o) const { return true; }",
         "class A { decl operator <=>/private decl operator </private decl operator <=/private }"
         " def ::A::operator <=>/private",
         "::A::operator <=>: bool operator <=>(const A&) +def | ::A::operator <: bool operator <(const A&)"
         " | ::A::operator <=: bool operator <=(int) | ::A::operator <=>: bool operator <=>(const A&) +def",
         ""},
    };
    for (Case const& c : cases)
        Check(c);
}

// A definition qualified by a namespace, written outside that namespace,
// is tied to the declaration inside it.
TEST(MemberDeclarations, NamespaceQualifiedDefinitions)
{
    Case const cases[] = {
        {"namespace N { void g(); int h(int); }\nvoid N::g() {}\nint N::h(int a) { return a; }",
         "namespace N {  } def ::N::g def ::N::h",
         "::N::g: void g() +def | ::N::h: int h(int) +def | ::N::g: void g() +def | ::N::h: int h(int) +def", ""},
        {"namespace N { namespace M { void g(); } class C { void f(); }; }\nvoid N::M::g() {}\nvoid N::C::f() {}",
         "namespace N { namespace M {  } class C { decl f/private } } def ::N::M::g def ::N::C::f/private",
         "::N::M::g: void g() +def | ::N::C::f: void f() +def | ::N::M::g: void g() +def"
         " | ::N::C::f: void f() +def",
         ""},
    };
    for (Case const& c : cases)
        Check(c);
}

// `struct tm t{}` names a type, as `struct tm t;` does: no class `tm`.
TEST(MemberDeclarations, ElaboratedTypesDeclareVariables)
{
    Case const cases[] = {
        {"class A { struct tm t{}; struct tm* p{}; struct tm u = {}; struct tm f(); void g(struct tm* a); int y; };",
         "class A { decl f/private decl g/private }", "::A::f: tm f() | ::A::g: void g(tm*)",
         "t:tm/private p:tm*/private u:tm/private y:int/private"},
        {"struct tm t{};\nstruct tm* p{};\nclass B { void g(); };", "class B { decl g/private }", "::B::g: void g()",
         "t:tm/private p:tm*/private"},
        {"class A { auto f() -> struct tm; auto g() -> union U* { return nullptr; } int y; };",
         "class A { decl f/private def ::A::g/private }", "::A::f: tm f() | ::A::g: U* g() +def", "y:int/private"},
        // A class head still is one, also after an export macro.
        {"struct S { int a; } s{};\nclass API_EXPORT B { };", "struct S {  } class B {  }", "", "a:int/private s:S/private"},
    };
    for (Case const& c : cases)
        Check(c);
}

// `decltype(...)` is a type, as a member's, a parameter's, a return type
// and a trailing return type, on declarations and definitions alike.
TEST(MemberDeclarations, DecltypeIsAType)
{
    Case const cases[] = {
        {"class A { decltype(f()) d; const decltype(x)* p; decltype(auto) f(); int z; };",
         "class A { decl f/private }", "::A::f: decltype(auto) f()",
         "d:decltype(f())/private p:const decltype(x)*/private z:int/private"},
        {"class A { auto f() const -> decltype(x); auto g(decltype(x) a, int b) -> decltype(a) { return a; } };\n"
         "auto A::f() const -> decltype(x) { return x; }",
         "class A { decl f/private def ::A::g/private } def ::A::f/private",
         "::A::f: decltype(x) f() +def | ::A::g: decltype(a) g(decltype(x), int) +def | ::A::f: decltype(x) f() +def",
         ""},
    };
    for (Case const& c : cases)
        Check(c);
}

// A declarator in brackets gives the type a C++ reader writes without the
// name, named or not; an unnamed one is a parameter as any other, and
// overloads that differ in it stay apart.
TEST(MemberDeclarations, FunctionPointerAndArrayDeclarators)
{
    Case const cases[] = {
        {"class A { void f(int (*)(int), char); void f(int*, char); void g(int (*p)(int)); void (*cb)(int);\n"
         "  int (&r)[2]; void h(int (A::*)(char) const, Foo (&)[3]); };\n"
         "void A::f(int (*q)(int), char c) {}",
         "class A { decl f/private decl f/private decl g/private decl h/private } def ::A::f/private",
         "::A::f: void f(int(*)(int), char) +def | ::A::f: void f(int*, char) | ::A::g: void g(int(*)(int))"
         " | ::A::h: void h(int(A::*)(char)const, Foo(&)[3]) | ::A::f: void f(int(*)(int), char) +def",
         "cb:void(*)(int)/private r:int(&)[2]/private"},
    };
    for (Case const& c : cases)
        Check(c);
}

// A specialization is a class of its own, named with its arguments; its
// members defined outside it are tied to it, not to the primary template.
TEST(MemberDeclarations, SpecializationsAreClassesApart)
{
    Case const cases[] = {
        {"template<class T> class X { void f(); };\ntemplate<class T> class X<T*> : public B { void g(); };\n"
         "template<> struct X<int> { void h(); };\n"
         "template<class T> void X<T>::f() {}\ntemplate<class T> void X<T*>::g() {}\nvoid X<int>::h() {}",
         "class X { decl f/private } class X<T*> : public B { decl g/private } struct X<int> { decl h/public }"
         " def ::X::f/private def ::X<T*>::g/private def ::X<int>::h/public",
         "::X::f: void f() +def | ::X<T*>::g: void g() +def | ::X<int>::h: void h() +def | ::X::f: void f() +def"
         " | ::X<T*>::g: void g() +def | ::X<int>::h: void h() +def",
         ""},
    };
    for (Case const& c : cases)
        Check(c);
}

// A declaration with a trailing return type keeps what its head says:
// `virtual` and `static` hold for the function, which the composition reads
// to mark the composed member.
TEST(MemberDeclarations, TrailingReturnTypesKeepTheHead)
{
    Case const cases[] = {
        {"class A { virtual auto f() const -> long; static auto m() -> A*; auto g() -> int override; };\n"
         "auto A::f() const -> long { return 1; }",
         "class A { decl f/private decl m/private decl g/private } def ::A::f/private",
         "::A::f: long f() +def | ::A::m: static A* m() | ::A::g: int g() | ::A::f: long f() +def", ""},
    };
    for (Case const& c : cases)
        Check(c);
    Parsed p("class A { virtual auto f() -> int = 0; auto g() -> int; };");
    ASSERT_NE(nullptr, p.tu);
    EXPECT_TRUE(p.tu->m_FuncDecls[0]->GetInfo()->IsVirtual());
    EXPECT_FALSE(p.tu->m_FuncDecls[1]->GetInfo()->IsVirtual());
}
