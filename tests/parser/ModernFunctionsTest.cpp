// Function heads written in today's C++: each must give the function a C++
// reader sees (its name, parameter types and return type, its declaration
// linked to its definition), and distinct functions must keep distinct
// infos, since the composition matches a refinement to the refined method
// by exactly these.
#include "Parsed.h"

#include "parser/NodeFuncParams.h"
#include "parser/NodeModifier.h"
#include "parser/NodeType.h"

#include <gtest/gtest.h>

#include <string>

namespace {

NodeFuncDecl* Decl(Parsed& p, int index)
{
    return p.tu && index < p.tu->m_FuncDecls.GetCount() ? p.tu->m_FuncDecls[index] : nullptr;
}

struct Case {
    char const* text;
    char const* functions;
};

void Check(Case const& c)
{
    Parsed p(c.text);
    ASSERT_NE(nullptr, p.tu) << c.text;
    EXPECT_EQ(c.functions, p.Functions()) << c.text;
    // No warning: neither an unhandled keyword nor a definition that found
    // no declaration.
    EXPECT_EQ("", p.out) << c.text;
}

} // namespace

TEST(ModernFunctions, ParameterLists)
{
    Case const cases[] = {
        // An unnamed parameter counts: declared and defined are one function.
        {"class A { int g(int); };\nint A::g(int c) { return c; }",
         "::A::g: int g(int) +def | ::A::g: int g(int) +def"},
        // A lone void is no parameter.
        {"class A { int f(void); };\nint A::f() { return 0; }", "::A::f: int f() +def | ::A::f: int f() +def"},
        {"class A { void f(unsigned long a, long long b, unsigned int c, const std::string& s); };\n"
         "void A::f(unsigned long a, long long b, unsigned int c, const std::string& s) {}",
         "::A::f: void f(unsigned long, long long, unsigned int, const string&) +def"
         " | ::A::f: void f(unsigned long, long long, unsigned int, const string&) +def"},
        {"class A { unsigned long long f(long double d, signed char c, short int s, unsigned u); };",
         "::A::f: unsigned long long f(long double, signed char, short int, unsigned)"},
        {"class A { std::vector<int> f(std::map<int, std::string> m, const std::vector<std::vector<int>>& v); };",
         "::A::f: std::vector<int> f(std::map<int,std::string>, const std::vector<std::vector<int>>&)"},
        {"class A { std::function<void(int, int)> h(std::pair<int, int> p, int n); };",
         "::A::h: std::function<void(int,int)> h(std::pair<int,int>, int)"},
        // A qualifier after the `*` belongs to the pointer; the parameters
        // after it are not lost.
        {"class A { void f(char *__restrict p, char *const q, char *volatile r, const char* const s); };\n"
         "void A::f(char *__restrict p, char *const q, char *volatile r, const char* const s) {}",
         "::A::f: void f(char*, char*, char*, const char*) +def | ::A::f: void f(char*, char*, char*, const char*) +def"},
        {"class A { void f(A&& a, int* __restrict__ q); };", "::A::f: void f(A&&, int*)"},
    };
    for (Case const& c : cases)
        Check(c);
}

TEST(ModernFunctions, FunctionForms)
{
    Case const cases[] = {
        {"class A { void f() noexcept {} void g() noexcept(true) {} void h() const noexcept(noexcept(f())); };",
         "::A::f: void f() +def | ::A::g: void g() +def | ::A::h: void h()"},
        // "virtual" goes from the signature, never from inside a name.
        {"class A { virtual void virtualize() override {} int staticCount(int inlineX) final; };",
         "::A::virtualize: void virtualize() +def | ::A::staticCount: int staticCount(int)"},
        {"class A { A() = default; A(const A&) = delete; A(A&&) noexcept; virtual void f() = 0; };",
         "::A::A: A() | ::A::A: A(const A&) | ::A::A: A(A&&) | ::A::f: void f()"},
        {"class A { explicit constexpr A(int v) : x(v) {} static constexpr A make() { return A(1); } int x; };",
         "::A::A: A(int) +def | ::A::make: static A make() +def"},
        // A trailing return type is what the function returns.
        {"class A { auto f() const -> int { return 1; } auto g() -> std::vector<int>; auto h() -> const A&; };",
         "::A::f: int f() +def | ::A::g: std::vector<int> g() | ::A::h: const A& h()"},
        {"class A { template <class T> void g(T t) {} template <typename T> T get(const std::vector<T>& v) const; };\n"
         "template <typename T> T A::get(const std::vector<T>& v) const { return v[0]; }",
         "::A::g: void g(T) +def | ::A::get: T get(const std::vector<T>&) +def"
         " | ::A::get: T get(const std::vector<T>&) +def"},
        // A member of a class template defined outside its class.
        {"template<class T> class Stack { void push(T v); bool operator==(const Stack<T>& o) const; };\n"
         "template<class T> void Stack<T>::push(T v) { }\n"
         "template<class T> bool Stack<T>::operator==(const Stack<T>& o) const { return true; }",
         "::Stack::push: void push(T) +def | ::Stack::operator ==: bool operator ==(const Stack<T>&) +def"
         " | ::Stack::push: void push(T) +def | ::Stack::operator ==: bool operator ==(const Stack<T>&) +def"},
        {"class A { int arr[4]; [[nodiscard]] int f() const; void g(int a1, ...); void g(int a1); };",
         "::A::f: int f() | ::A::g: void g(int, ...) | ::A::g: void g(int)"},
        // Parameter packs keep their type.
        {"class A { template <class... Args> void emplace(Args&&... args); template <class... Ts> void put(Ts... ts);\n"
         "  template <class... Ts> void log(const Ts&... ts) {} };",
         "::A::emplace: void emplace(Args&&) | ::A::put: void put(Ts) | ::A::log: void log(const Ts&) +def"},
        {"class A { static_assert(sizeof(int) == 4, \"int\"); static_assert(a && b); void f(); };\n"
         "static_assert(sizeof(A) > 0, \"A\");",
         "::A::f: void f()"},
    };
    for (Case const& c : cases)
        Check(c);
}

TEST(ModernFunctions, OperatorsHaveTheirOwnNames)
{
    Case const cases[] = {
        {"class A { int operator()(int x) { return x; } int& operator[](int i); A* operator->(); "
         "A& operator=(const A&); void* operator new(size_t n); operator bool() const; };",
         "::A::operator ( ): int operator ( )(int) +def | ::A::operator [ ]: int& operator [ ](int)"
         " | ::A::operator ->: A* operator ->() | ::A::operator =: A& operator =(const A&)"
         " | ::A::operator new: void* operator new(size_t) | ::A::operator bool: operator bool()"},
        {"class A { operator const char*() const; void* operator new[](size_t n); void operator delete(void* p) noexcept; "
         "bool operator<(const A&) const; A operator*(int) const; };",
         "::A::operator const char *: operator const char *() | ::A::operator new [ ]: void* operator new [ ](size_t)"
         " | ::A::operator delete: void operator delete(void*) | ::A::operator <: bool operator <(const A&)"
         " | ::A::operator *: A operator *(int)"},
        // Out of the class, the qualified operator finds its declaration.
        {"class A { A& operator=(const A& o); };\nA& A::operator=(const A& o) { return *this; }",
         "::A::operator =: A& operator =(const A&) +def | ::A::operator =: A& operator =(const A&) +def"},
    };
    for (Case const& c : cases)
        Check(c);
}

TEST(ModernFunctions, FriendsAreNoMembers)
{
    Parsed p("class A { friend void f(A&); friend class B;\n"
             "  friend bool operator==(const A&, const A&) { return true; }\n"
             "  friend std::ostream& operator<<(std::ostream& os, const A& a) { return os << a.x; }\n"
             "  int x; void g(); };");
    ASSERT_NE(nullptr, p.tu);
    EXPECT_EQ("class A { decl g/private }", p.Outline());
    EXPECT_EQ("::A::g: void g()", p.Functions());
    EXPECT_EQ("x/private", testutil::Vars(*p.tu));
    EXPECT_EQ("", p.out);
    NodeClassDef* cls = Decl(p, 0) ? Decl(p, 0)->GetClass() : nullptr;
    ASSERT_NE(nullptr, cls);
    ClassInfo* a = &cls->GetClassInfo();
    for (int i = 0; i < a->GetChildCount(); ++i)
        EXPECT_STREQ("g", a->GetChild(i)->GetNameText());
}

// Declarations that differ only in their parameter types are separate
// functions with separate infos; a declaration and its definition share one.
TEST(ModernFunctions, InfosTellFunctionsApart)
{
    Parsed p("class A { A(); A(const A&); A(A&&); void g(std::vector<int> x); void g(std::vector<long> x);\n"
             "  void h(int); void h(int*); void k(int); };\n"
             "void A::k(int n) {}");
    ASSERT_NE(nullptr, p.tu);
    ASSERT_EQ(9, p.tu->m_FuncDecls.GetCount());
    for (int i = 0; i < 7; ++i)
        for (int j = i + 1; j < 8; ++j)
            EXPECT_NE(Decl(p, i)->GetInfo(), Decl(p, j)->GetInfo()) << i << " " << j;
    EXPECT_EQ(Decl(p, 7)->GetInfo(), Decl(p, 8)->GetInfo());
    EXPECT_EQ(Decl(p, 8)->GetDef(), Decl(p, 7)->GetDef());
    EXPECT_TRUE(Decl(p, 0)->GetInfo()->IsConstructor());
    EXPECT_TRUE(Decl(p, 2)->GetInfo()->IsConstructor());
}

// The window of recent nodes is bounded; a long parameter list must
// neither lose its function nor the members after it.
TEST(ModernFunctions, LongParameterListsAreKept)
{
    for (char const* param : {"int a", "const std::string& a", "std::map<int, std::string> const* a"}) {
        std::string params;
        std::string types;
        for (int i = 0; i < 40; ++i) {
            params += std::string(i ? ", " : "") + param + std::to_string(i);
            types += i ? ", " : "";
        }
        std::string text = "class A { void f(" + params + ") {} void g(); };";
        Parsed p(text.c_str());
        ASSERT_NE(nullptr, p.tu) << param;
        EXPECT_EQ("class A { def ::A::f/private decl g/private }", p.Outline()) << param;
        NodeFuncDecl* f = Decl(p, 0);
        ASSERT_NE(nullptr, f) << param;
        EXPECT_EQ(40, f->GetParams()->GetParamCount()) << param;
        EXPECT_EQ(40, f->GetInfo()->GetParams()->GetChildCount()) << param;
        EXPECT_EQ("a0,a1", std::string(f->GetParams()->GetParamNames(",").GetBuffer()).substr(0, 5)) << param;
    }
}

// The transformations insert before a return type's first token: after a
// trailing return type that is still the written `auto` in front.
TEST(ModernFunctions, TrailingReturnTypeKeepsItsPlace)
{
    Parsed p("class A { auto f() const -> int; };");
    NodeFuncDecl* f = Decl(p, 0);
    ASSERT_NE(nullptr, f);
    ASSERT_NE(nullptr, f->GetReturnType());
    EXPECT_EQ(p.scanned("auto"), f->GetReturnType()->GetFirstToken());
    EXPECT_STREQ("int", f->GetInfo()->GetReturnType().GetBuffer());
    ASSERT_NE(nullptr, f->GetModifier());
    EXPECT_EQ(p.scanned("const"), f->GetModifier()->GetToken());
    f->SetIsInline();
    EXPECT_NE(std::string::npos, p.scanned.Text().find("inline auto f() const -> int;"));
}

// Member variables take the same type names as parameters.
TEST(ModernFunctions, MemberVariableTypes)
{
    Parsed p("class A { std::map<int, std::string> m; std::vector<Item*> items; unsigned long n; char* const name;\n"
             "  long long big; A::Inner in; };");
    ASSERT_NE(nullptr, p.tu);
    std::string types;
    for (int i = 0; i < p.tu->m_MemberVars.GetCount(); ++i) {
        MemberVarInfo* var = p.tu->m_MemberVars[i];
        types += std::string(i ? " " : "") + var->GetNameText() + ":" + var->GetType()->AsString().GetBuffer();
    }
    EXPECT_EQ("m:std::map<int,std::string> items:std::vector<Item*> n:unsigned long name:char* big:long long "
              "in:Inner",
              types);
}
