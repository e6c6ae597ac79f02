// Member variables, initializers and default arguments written in today's
// C++: each must give the members a C++ reader sees, and none may swallow
// the members or classes after it.
#include "Parsed.h"

#include "parser/BodyParseEvents.h"
#include "parser/FuncBodyParser.h"
#include "parser/NodeInitDecl.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeType.h"
#include "parser/NodeVarDecl.h"

#include <gtest/gtest.h>

#include <set>
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
    if (ExpectParsed(p, c.text, c.outline, nullptr, false)) {
        EXPECT_EQ(c.vars, Vars(*p.tu)) << c.text;
    }
}

// The parameter count of the first declaration.
int ParamCount(Parsed& p)
{
    NodeFuncDecl* decl = p.tu && p.tu->m_FuncDecls.GetCount() ? p.tu->m_FuncDecls[0] : nullptr;
    NodeFuncParams* params = decl ? decl->GetParams() : nullptr;
    return params ? params->GetParamCount() : -1;
}

// `super` calls and uses of `this`, with the before-body flag.
class Events : public BodyParseEvents {
public:
    void OnTokSuperCall(Lex::Token*, Lex::Token*, Lex::Token* name) override
    {
        text += std::string(" super:") + name->text->text;
    }
    void OnTokThis(Lex::Token&, bool beforeBody) override { text += beforeBody ? " this:init" : " this:body"; }
    void OnMemberAccess(Lex::Token*, Lex::Token&, bool) override {}
    void OnStaticMemberAccess(Lex::Token&, Lex::Token&, Lex::Token&) override {}
    void OnClassInstantiation(Lex::Token&, Lex::Token&) override {}

    std::string text;
};

} // namespace

TEST(ModernMembers, DefaultMemberInitializersSwallowNothing)
{
    Case const cases[] = {
        {"class A { int x{5}; void g() {} };\nclass B { };", "class A { def ::A::g/private } class B {  }", "x/private"},
        {"class A { int y = f() ? 1 : 2; void g(); };\nclass B { };", "class A { decl g/private } class B {  }",
         "y/private"},
        {"class A { std::function<int()> l = []() { return 1; }; int n; };", "class A {  }", "l/private n/private"},
        {"class A { std::vector<int> v{1, 2}, w = {3}; void g() {} };", "class A { def ::A::g/private }",
         "v/private w/private"},
        {"class A { int a = 1, *b; bool c = a < b; };\nclass B { };", "class A {  } class B {  }",
         "a/private b/private c/private"},
        {"class A { std::map<int, int> m = std::map<int, int>(); };", "class A {  }", "m/private"},
        {"class A { int n = sizeof(int) > 2 ? 1 : 0; };", "class A {  }", "n/private"},
        // At file and namespace scope the same holds (variables of a
        // namespace give no member variables).
        {"int x{1}; auto l = [](int a) { return a; };\nnamespace N { int y{2}; void f(); }\nclass B { };",
         "namespace N {  } class B {  }", "x/private l/private"},
        // A brace inside parentheses is no body; a body after a
        // requires-clause is no initializer.
        {"Foo foo([] { return 1; });\nclass B { void g() {} };", "class B { def ::B::g/private }", ""},
        {"template <class T> class A { void f() requires C<T> { } int z; };", "class A { def ::A::f/private }",
         "z/private"},
    };
    for (Case const& c : cases)
        Check(c);
}

TEST(ModernMembers, DefaultArgumentsSwallowNothing)
{
    Case const cases[] = {
        {"class A { void f(std::vector<int> v = {}, int y = g() ? 1 : 2); int z; };\nclass B {};",
         "class A { decl f/private } class B {  }", "z/private"},
        {"class A { void f(int a = (1, 2), std::map<int, int> m = {{1, 2}}) {} int z; };",
         "class A { def ::A::f/private }", "z/private"},
        {"class A { A(int a = b < c, int d = e > f); };", "class A { decl A/private }", ""},
    };
    for (Case const& c : cases)
        Check(c);

    Parsed p("class A { void f(std::vector<int> v = {}, int y = g() ? 1 : 2, char c = ')'); };");
    EXPECT_EQ(3, ParamCount(p));
}

TEST(ModernMembers, MemberVariables)
{
    Case const cases[] = {
        {"class A { int arr[4]; char m[2][N + 1]; int z; };", "class A {  }", "arr/private m/private z/private"},
        {"class A { unsigned bits : 3; unsigned : 2; int b2 : 1, b3 : 2; void f(); };",
         "class A { decl f/private }", "bits/private b2/private b3/private"},
        {"class A { void (*cb)(int); int (A::*pm)(char) const; int (&r)[2]; void f(); };",
         "class A { decl f/private }", "cb/private pm/private r/private"},
        {"class A { int a, *b, &c; };", "class A {  }", "a/private b/private c/private"},
        {"class A { typedef int T; typedef void (*Fn)(int); using U = int; using V = std::map<int, int>; T t; };",
         "class A {  }", "t/private"},
        {"class A { std::map<int, std::string> m; std::vector<std::vector<int>> vv; const Y<int>::Inner* p; };",
         "class A {  }", "m/private vv/private p/private"},
    };
    for (Case const& c : cases)
        Check(c);
}

TEST(ModernMembers, ArrayBoundGoesToTheType)
{
    Parsed p("class A { int arr[4]; };");
    MemberVarInfo* arr = p.tu->GetField("arr");
    ASSERT_NE(nullptr, arr);
    NodeAssignment* declarator = static_cast<NodeAssignment*>(arr->m_pNode);
    NodeVarDecl* decl = static_cast<NodeVariableList*>(declarator->GetParent())->m_pDecl;
    // The declarator stands in front of the bound, whose range is whole.
    EXPECT_EQ("int arr[]", std::string(decl->PrintChilds().GetBuffer()));
    NodeSquareBrace* bound = decl->GetType()->ChildAs<NodeSquareBrace>(1, NT_SQUARE_BRACE);
    ASSERT_NE(nullptr, bound);
    EXPECT_EQ(p.scanned("["), bound->GetFirstToken());
    EXPECT_EQ(p.scanned("]"), bound->GetLastToken());
}

TEST(ModernMembers, TemplateArgumentsStayWithTheirName)
{
    Parsed p("class A { std::map<int, std::string> m; void f(std::vector<int> a, int b); };");
    MemberVarInfo* m = p.tu->GetField("m");
    ASSERT_NE(nullptr, m);
    NodeVarDecl* decl = static_cast<NodeVariableList*>(m->m_pNode->GetParent())->m_pDecl;
    NodeID* name = static_cast<NodeID*>(decl->GetType()->ChildAt(0));
    ASSERT_EQ(NT_ID, name->GetKind());
    EXPECT_STREQ("map", name->GetName()->c_str());
    EXPECT_EQ(p.scanned("map"), name->GetLastToken());
    NodeTempleInstanceDef* args = name->ChildAs<NodeTempleInstanceDef>(0, NT_TEMPLE_INSTANCE_DEF);
    ASSERT_NE(nullptr, args);
    EXPECT_EQ(p.scanned("<"), args->GetFirstToken());
    EXPECT_EQ(p.scanned(">"), args->GetLastToken());
    // The comma between the arguments neither ends a declarator nor a
    // parameter.
    EXPECT_EQ(2, ParamCount(p));
}

TEST(ModernMembers, BraceInitializedConstructorKeepsItsBody)
{
    char const* text = "class A : public B {\n"
                       "  int v[2]; int w;\n"
                       "  A() : B{this}, v{1, 2}, w(3) { super::A(); this; }\n"
                       "  void f() {}\n"
                       "};";
    Parsed p(text);
    ASSERT_NE(nullptr, p.tu);
    EXPECT_EQ("class A : public B { def ::A::A/private:init def ::A::f/private }", p.Outline());
    EXPECT_EQ("v/private w/private", Vars(*p.tu));
    ASSERT_EQ(2, p.tu->m_FuncDefs.GetCount());
    NodeFuncDef* ctor = p.tu->m_FuncDefs[0];
    NodeBlock* body = ctor->GetBody();
    ASSERT_NE(nullptr, body);
    EXPECT_EQ(p.scanned("{", 3), body->GetFirstToken());
    EXPECT_EQ(p.scanned("}", 2), body->GetLastToken());
    EXPECT_EQ(p.scanned(":", 1), ctor->GetInitDecl()->GetFirstToken());
    EXPECT_EQ(body->GetFirstToken(), ctor->GetInitDecl()->GetLastToken()->next());

    Events events;
    FuncBodyParser walk(*ctor, events);
    walk.Parse();
    EXPECT_EQ(" this:init super:A this:body", events.text);
}

TEST(ModernMembers, InitializerListEntries)
{
    // Entries with braces, template arguments and pack expansions all end
    // before the body.
    Case const cases[] = {
        {"class A { A() : m{}, n{} {} int z; };", "class A { def ::A::A/private:init }", "z/private"},
        {"class A { A() : Base<int, 2>{1}, x(a < b) {} int z; };", "class A { def ::A::A/private:init }",
         "z/private"},
        {"class A { A(T... t) : T(t)... {} int z; };", "class A { def ::A::A/private:init }", "z/private"},
        {"class A { A(); int v[2]; };\nA::A() : v{1, 2} { }\nclass B { };",
         "class A { decl A/private } def ::A::A/private:init class B {  }", "v/private"},
    };
    for (Case const& c : cases)
        Check(c);
}

TEST(ModernMembers, FunctionPointerDeclaratorsAreNoFunctions)
{
    Parsed p("class A { void (*cb)(int); void f(void (*g)(int), int n); };");
    ASSERT_NE(nullptr, p.tu);
    EXPECT_EQ("cb/private", Vars(*p.tu));
    ASSERT_EQ(1, p.tu->m_FuncDecls.GetCount());
    EXPECT_STREQ("f", p.tu->m_FuncDecls[0]->GetName()->c_str());
    ASSERT_EQ(2, ParamCount(p));
    Node* g = p.tu->m_FuncDecls[0]->GetParams()->GetParam(0);
    ASSERT_EQ(NT_VAR_DECL, g->GetKind());
    // The type is the function pointer's as a whole, not a pointer to its
    // result type.
    EXPECT_STREQ("void(*)(int)", static_cast<NodeVarDecl*>(g)->GetType()->GetTypeInfo().GetNameText());
    EXPECT_STREQ("void(*)(int)", p.tu->GetField("cb")->GetType()->GetNameText());
}

TEST(ModernMembers, JavaLikeFieldsWithInitializers)
{
    Check({"class A {\n List<String> l = new ArrayList<String>();\n int[] a = {1, 2};\n Runnable r = new Runnable() "
           "{ public void run() { } };\n void f() { }\n}\nclass B { }",
           "class A { def ::A::f/none } class B {  }", "l/private a/private r/private"},
          "A.jak");
}

TEST(ModernMembers, QualifiedPointersKeepTheirDeclarators)
{
    Parsed p("class A { void f(char *__restrict p, char *const q, char *const volatile r); char *const s; };");
    ASSERT_NE(nullptr, p.tu);
    EXPECT_EQ("", p.out);
    EXPECT_EQ("s/private", Vars(*p.tu));
    ASSERT_EQ(3, ParamCount(p));
    NodeFuncParams* params = p.tu->m_FuncDecls[0]->GetParams();
    char const* const names[] = {"p", "q", "r"};
    for (int i = 0; i < 3; ++i) {
        NodeVarDecl* param = static_cast<NodeVarDecl*>(params->GetParam(i));
        ASSERT_EQ(NT_VAR_DECL, param->GetKind());
        EXPECT_EQ(TypeInfo::POINTER, param->GetType()->GetTypeInfo().m_Indirection) << names[i];
        NodeAssignment* declarator = param->GetVariableList()->ChildAs<NodeAssignment>(0, NT_ASSIGNMENT);
        ASSERT_NE(nullptr, declarator) << names[i];
        EXPECT_STREQ(names[i], declarator->GetID()->GetName()->c_str());
    }
}

TEST(ModernMembers, BraceEntriesOfAParsedInitializerListAreRemovedWhole)
{
    static struct {
        char const* name;
        char const* result;
    } const cases[] = {
        {"b", "\nX() :  a{1, 2}, c(3) {}"},
        {"a", "\nX() : b{2},  c(3) {}"},
    };
    for (auto const& c : cases) {
        Parsed p("X() : b{2}, a{1, 2}, c(3) {}");
        ASSERT_EQ(1, p.tu->m_FuncDefs.GetCount());
        NodeInitDecl* init = p.tu->m_FuncDefs[0]->GetInitDecl();
        ASSERT_NE(nullptr, init);
        init->RemoveInitializers(c.name);
        EXPECT_EQ(c.result, p.scanned.Text()) << c.name;
    }
}

// Overloads that differ only in their qualifiers or in the const of a
// referenced parameter type are different functions; a by-value
// parameter's own const is not. An out-of-class definition joins the
// declaration with the same qualifiers.
TEST(ModernMembers, OverloadsByQualifiersAreDifferentFunctions)
{
    Parsed p("class A {\n"
             "    int& f(int k);\n"
             "    int f(const int k) const;\n"
             "    int g() &;\n"
             "    int g() &&;\n"
             "    int g() const & noexcept(true);\n"
             "    void h(int& r);\n"
             "    void h(const int& r);\n"
             "    auto t() const -> int&;\n"
             "};\n"
             "int A::f(int k) const { return k; }\n"
             "int A::g() && { return 2; }\n");
    ASSERT_TRUE(p.tu);
    std::string infos;
    std::set<FuncInfo*> seen;
    for (int i = 0; i < p.tu->m_FuncDecls.GetCount(); ++i) {
        FuncInfo* f = p.tu->m_FuncDecls[i]->GetInfo();
        if (!seen.insert(f).second)
            continue;
        infos += std::string(" ") + f->GetStrName().GetBuffer() + "[" + f->m_Qualifiers.GetBuffer() + "]";
    }
    EXPECT_EQ(" f[] f[const] g[&] g[&&] g[const &] h[] h[] t[const]", infos);
    ASSERT_EQ(10, p.tu->m_FuncDecls.GetCount());
    EXPECT_EQ(p.tu->m_FuncDecls[1]->GetInfo(), p.tu->m_FuncDecls[8]->GetInfo());
    EXPECT_EQ(p.tu->m_FuncDecls[3]->GetInfo(), p.tu->m_FuncDecls[9]->GetInfo());
}
