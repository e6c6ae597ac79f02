#include "../Captured.h"
#include "Parsed.h"

#include "base/Name.h"
#include "parser/CTokenListener.h"
#include "parser/NodeID.h"
#include "parser/NodeInitDecl.h"
#include "parser/NodeModifier.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeType.h"
#include "parser/NodeVarDecl.h"
#include "parser/Scope.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testutil::Vars;

namespace {

struct Case {
    char const* text;
    char const* outline;
    char const* vars;
    char const* out;
};

void Check(Case const& c, char const* file = "A.h")
{
    Parsed p(c.text, file);
    ASSERT_NE(nullptr, p.tu) << c.text;
    EXPECT_EQ(c.outline, p.Outline()) << c.text;
    EXPECT_EQ(c.vars, Vars(*p.tu)) << c.text;
    EXPECT_EQ(c.out, p.out) << c.text;
}

// The tokens seen by a listener, "<file>" first.
class Recorder : public CTokenListener {
public:
    void OnFile(char const* name) override { seen.push_back(std::string("<") + name + ">"); }
    void OnToken(Lex::Token& token) override
    {
        if (token.language != Lex::Token::white_id)
            seen.push_back(token.text->text);
    }

    std::vector<std::string> seen;
};

NodeClassDef* ClassOf(Parsed& p, char const* name)
{
    auto* entry = p.tu->m_Classes.Find(Name::GetName(name));
    return entry && entry->GetValue()->GetCount() ? (*entry->GetValue())[0] : nullptr;
}

} // namespace

TEST(SimpleCPPParser, StructureOfSmallTexts)
{
    Case const cases[] = {
        // Base lists: access words, `virtual` passed over, struct default.
        {"class A : public B, virtual C { };", "class A : public B, private C {  }", "", ""},
        {"struct S : T { };", "struct S : private T {  }", "", ""},
        {"class A : protected B, mixin C, D { };", "class A : protected B, mixin C, private D {  }", "", ""},
        {"class A : public B<int, C> { };", "class A : public B<int,C> {  }", "", ""},
        // `>>` closes two levels and the body is parsed as usual.
        {"class A : public B<C<int>> { void f(); };", "class A : public B<C,int> { decl f/private }", "", ""},
        {"class A : public ns::B, ::x::C { };", "class A : public B, private C {  }", "", ""},
        {"refines class X { };", "refines class X {  }", "", ""},
        {"public refines class X : public Y { };", "refines class X : public Y {  }", "", ""},
        {"namespace N { class A { }; } enum E { a, b };", "namespace N { class A {  } } E {  }", "", ""},
        {"class A { class B { int x; }; };", "class A { class B {  } }", "x/private", ""},
        // Members with the access keyword in force.
        {"class A { void f(); int x; public: int g() const; A(); };",
         "class A { decl f/private decl g/public decl A/public }", "x/private", ""},
        {"class A { A() : b(1), c(2) { x = 1; } virtual ~A(); };", "class A { def ::A::A/private:init decl A/private }",
         "", ""},
        {"class A { void f(); }; void A::f() { }", "class A { decl f/private } def ::A::f/private", "", ""},
        {"namespace N { class A { void f(); }; void A::f() { } }",
         "namespace N { class A { decl f/private } def ::N::A::f/private }", "", ""},
        {"class A { }; void A::f() { }", "class A {  } def ::A::f/private", "",
         ": warning: definition of ::A::f without declaration"},
        {"void g() { int a; } int h(int a, char b);", "def ::g", "", ""},
        {"new X(1);", "", "", ""},
        {"import a.b.c;", "", "", ""},
        {"template <class T> class V { T* p; };", "class V {  }", "p/private", ""},
        {"struct S { int a; } s;", "struct S {  }", "a/private s/private", ""},
        {"int a, b;", "", "a/private b/private", ""},
        {"layer x;", "", "", ""},
        // Tokens no parser takes.
        // An initializer is passed over whole: its names are no variables.
        {"int a = x .* y;", "", "a/private", ""},
        {"int\nb = p ->* q;", "", "b/private", ""},
        {"int b;\np ->* q;", "", "b/private", "A.h(2) : warning: unhandled token: ->*\n"},
        {"super;\n.*", "", "", "A.h(1) : warning: unhandled keyword: super\nA.h(2) : warning: unhandled token: .*\n"},
        {"class A { super; void f() { super::f(); } };", "class A { def ::A::f/private }", "", ""},
        {"asm { a ^ b }", "{  }", "", "A.h(1) : warning: unhandled keyword: asm\n"},
        // An aspect: the pointcut's definition is passed over.
        {"aspect L { pointcut p() = call(\"% f()\") && within(\"A\"); };", "aspect L { decl p/private }", "", ""},
    };
    for (Case const& c : cases)
        Check(c);
}

TEST(SimpleCPPParser, BaseEntriesKeepTheirTokens)
{
    Parsed p("class A : public B, virtual C { };");
    NodeBaseClassDecl* bases = ClassOf(p, "A")->GetBaseClassDecl();
    ASSERT_NE(nullptr, bases);
    ASSERT_EQ(2, bases->GetChildCount());
    EXPECT_EQ(ACCESS_PUBLIC, bases->GetBase(0)->m_Access);
    EXPECT_EQ(p.scanned("public"), bases->GetBase(0)->GetFirstToken());
    EXPECT_EQ(ACCESS_PRIVATE, bases->GetBase(1)->m_Access);
    EXPECT_EQ(p.scanned("virtual"), bases->GetBase(1)->GetFirstToken());

    // A qualified name is one entry over all its tokens, named by its last
    // component; `>>` ends two argument lists and the body follows.
    Parsed q("namespace ns { class B; }\nclass A : public ns::B<C<int>>, D { int x; };");
    NodeClassDef* a = ClassOf(q, "A");
    bases = a->GetBaseClassDecl();
    ASSERT_EQ(2, bases->GetChildCount());
    NodeBaseClass* b = bases->GetBase(0);
    EXPECT_STREQ("B", b->GetID()->GetName()->c_str());
    EXPECT_EQ(q.scanned("ns", 1), b->GetID()->GetFirstToken());
    EXPECT_EQ(q.scanned("B", 1), b->GetID()->GetLastToken());
    EXPECT_EQ(q.scanned(">>"), b->GetEndToken());
    EXPECT_STREQ("D", bases->GetBase(1)->GetID()->GetName()->c_str());
    ASSERT_NE(nullptr, a->GetBody());
    EXPECT_EQ(q.scanned("{", 1), a->GetBody()->GetFirstToken());
    EXPECT_EQ(q.scanned("}", 1), a->GetBody()->GetLastToken());
    EXPECT_EQ("x/private", Vars(*q.tu));
    EXPECT_EQ("", q.out);
}

TEST(SimpleCPPParser, ClassHeadsStartAtTheirFirstWord)
{
    Parsed p("public refines class X { }; refines struct Y { }; class Z { };");
    EXPECT_EQ(p.scanned("public"), ClassOf(p, "X")->GetClassDecl()->GetFirstToken());
    EXPECT_EQ(p.scanned("refines", 1), ClassOf(p, "Y")->GetClassDecl()->GetFirstToken());
    EXPECT_EQ(p.scanned("class", 1), ClassOf(p, "Z")->GetClassDecl()->GetFirstToken());
    EXPECT_TRUE(ClassOf(p, "Y")->IsRefinement());
    EXPECT_FALSE(ClassOf(p, "Z")->IsRefinement());
    EXPECT_EQ(3, p.tu->GetClassCount());
}

TEST(SimpleCPPParser, NamespacesOpenScopes)
{
    Parsed p("namespace N { namespace M { class A { }; } }");
    EXPECT_EQ(2, p.parser.GetProjectDB().GetNamespaceCount());
    Scope* file = p.parser.GetState().GetFileScope();
    Scope* n = file->GetFirstChild(Name::GetName("N"));
    ASSERT_NE(nullptr, n);
    EXPECT_EQ(SCOPE_NAMESPACE, n->GetType());
    Scope* m = n->GetFirstChild(Name::GetName("M"));
    ASSERT_NE(nullptr, m);
    ASSERT_NE(nullptr, m->GetFirstChild(Name::GetName("A")));
    EXPECT_EQ(SCOPE_CLASS, m->GetFirstChild(Name::GetName("A"))->GetType());
    EXPECT_EQ(nullptr, p.parser.GetState().m_pActNamespace);
}

TEST(SimpleCPPParser, FunctionNodes)
{
    Parsed p("class A {\n A() : b(1), c(2) { x = 1; }\n virtual ~A();\n const int* g(int a) const;\n};");
    Scanned& s = p.scanned;
    ASSERT_EQ(1, p.tu->GetFuncDefCount());
    NodeFuncDef* ctor = p.tu->m_FuncDefs[0];
    NodeInitDecl* init = ctor->GetInitDecl();
    ASSERT_NE(nullptr, init);
    EXPECT_EQ(s(":"), init->GetFirstToken());
    EXPECT_EQ(s("{", 1)->prev(), init->GetLastToken());
    ASSERT_NE(nullptr, ctor->GetBody());
    EXPECT_EQ(s("{", 1), ctor->GetBody()->GetFirstToken());
    EXPECT_EQ(s("}", 0), ctor->GetBody()->GetLastToken());
    EXPECT_EQ(s(")", 0), ctor->GetDecl()->GetLastToken());
    // Nothing between the `:` and the `}` was parsed.
    EXPECT_EQ(nullptr, p.parser.GetState().GetIdNode(*s("b")));
    EXPECT_EQ(nullptr, p.parser.GetState().GetIdNode(*s("x")));
    EXPECT_TRUE(ctor->GetDecl()->GetInfo()->IsConstructor());

    NodeFuncDecl* dtor = p.tu->GetFuncDecl("A");
    ASSERT_NE(nullptr, dtor);
    dtor = p.tu->m_FuncDecls[1];
    EXPECT_EQ(s("~"), dtor->GetOperator()->GetToken());
    EXPECT_EQ(nullptr, dtor->GetReturnType());
    EXPECT_EQ(s(";", 1), dtor->GetLastToken());
    EXPECT_TRUE(dtor->GetInfo()->IsDestructor());

    NodeFuncDecl* g = p.tu->GetFuncDecl("g");
    ASSERT_NE(nullptr, g);
    ASSERT_NE(nullptr, g->GetReturnType());
    EXPECT_STREQ("int", g->GetReturnType()->GetTypeInfo().GetNameText());
    ASSERT_NE(nullptr, g->GetModifier());
    EXPECT_EQ(s("const", 1), g->GetModifier()->GetToken());
    EXPECT_EQ(1, g->GetParams()->GetParamCount());
    EXPECT_EQ(ClassOf(p, "A"), g->GetClass());
    EXPECT_EQ(&ClassOf(p, "A")->GetClassInfo(), g->GetInfo()->GetParent());
    EXPECT_EQ(ClassOf(p, "A")->GetBody(), g->GetParent());
    EXPECT_EQ("", Vars(*p.tu));
}

TEST(SimpleCPPParser, PointcutDefinitionIsPassedOver)
{
    Parsed p("aspect L {\n pointcut p() = call(\"% f()\") && within(x);\n advice p() : before() { y; }\n};", "L.ah");
    EXPECT_EQ("", p.out);
    NodeFuncDecl* decl = p.tu->m_FuncDecls[0];
    EXPECT_STREQ("p", decl->GetName()->c_str());
    EXPECT_EQ(AOPInfo::AOP_POINTCUT, decl->GetInfo()->m_AopType);
    EXPECT_EQ(p.scanned(";"), decl->GetLastToken());
    EXPECT_EQ(nullptr, p.parser.GetState().GetIdNode(*p.scanned("within")));
    EXPECT_EQ(nullptr, p.parser.GetState().GetIdNode(*p.scanned("x")));
    Scope* l = p.parser.GetState().GetFileScope()->GetFirstChild(Name::GetName("L"));
    ASSERT_NE(nullptr, l);
    EXPECT_EQ(SCOPE_ASPECT, l->GetType());
}

TEST(SimpleCPPParser, LastMemberKeepsItsClassScope)
{
    Parsed p("class A { int a; };\nstruct S { int b; } s;");
    EXPECT_EQ("a/private b/private s/private", Vars(*p.tu));
    for (char const* name : {"a", "b"}) {
        Node* id = p.parser.GetState().GetIdNode(*p.scanned(name));
        ASSERT_NE(nullptr, id) << name;
        ASSERT_NE(nullptr, id->GetScope()) << name;
        EXPECT_EQ(SCOPE_CLASS, id->GetScope()->GetType()) << name;
    }
}

TEST(SimpleCPPParser, JavaLikeHeadsNeedNoSemicolon)
{
    Parsed p("import a.b;\npublic class A extends B implements C {\n void f() { }\n}\n", "A.jak");
    ASSERT_NE(nullptr, p.tu);
    EXPECT_EQ("class A { def ::A::f/none }", p.Outline());
    EXPECT_EQ(nullptr, ClassOf(p, "A")->GetBaseClassDecl());
    EXPECT_EQ("", p.out);
}

TEST(SimpleCPPParser, FileEndingInsideABodyKeepsTheResult)
{
    char const* texts[] = {"class A { void f() { int x;", "namespace N { class A { int y;", "class A {\n int z;\n"};
    for (char const* text : texts) {
        Parsed p(text);
        ASSERT_NE(nullptr, p.tu) << text;
        Lex::Token* last = p.scanned.unit.last();
        std::string where = "A.h(" + std::to_string(last->location.line()) + ")";
        EXPECT_EQ(where + " : warning: unexpected end of file\n", p.out) << text;
        EXPECT_EQ(last, p.parser.GetFileNode()->GetLastToken()) << text;
        EXPECT_EQ(1, p.tu->GetClassCount()) << text;
    }
}

TEST(SimpleCPPParser, MissingSemicolonFailsTheFile)
{
    Parsed p("class A { int a; }\nint x;");
    EXPECT_EQ(nullptr, p.tu);
    EXPECT_EQ("\nA.h(2): missing semicolon\n", p.out);
    // The project keeps what was found; the state keeps no pointer to the
    // freed result.
    EXPECT_EQ(1, p.parser.GetProjectDB().GetClassCount());
    EXPECT_EQ(nullptr, p.parser.GetState().GetFileDB());

    // A body closed at the very end of the file fails too.
    Parsed q("class A { }");
    EXPECT_EQ(nullptr, q.tu);
}

TEST(SimpleCPPParser, EmptyUnitGivesNoResult)
{
    Recorder listener;
    Parsed p("", "E.h", &listener);
    EXPECT_EQ(nullptr, p.tu);
    EXPECT_EQ(std::vector<std::string>{"<E.h>"}, listener.seen);
    EXPECT_EQ(nullptr, p.parser.GetState().GetFileDB());
    EXPECT_EQ("", p.out);
}

TEST(SimpleCPPParser, ListenerSeesTheTokensOfTheLoop)
{
    Recorder listener;
    Parsed p("#include <x.h>\nclass A {\n void f() { body(); }\n A() : b(1) { }\n};\n", "A.h", &listener);
    std::vector<std::string> const expected = {"<A.h>", "class", "A", "{", "void", "f", "(", ")", "{",
                                               "A",     "(",     ")", ":", "{",    "}", ";"};
    EXPECT_EQ(expected, listener.seen);
    EXPECT_EQ("", p.out);

    // The unit now begins with the result's empty token and the file node's
    // line break.
    Lex::Token* first = p.scanned.unit.first();
    EXPECT_EQ(p.tu->GetFirstToken(), first);
    EXPECT_STREQ("", first->text->text);
    EXPECT_EQ(p.parser.GetFileNode()->GetFirstToken(), first->next());
    EXPECT_STREQ("\n", first->next()->text->text);
    EXPECT_STREQ("#include", first->next()->next()->text->text);
    EXPECT_EQ(p.scanned.unit.last(), p.parser.GetFileNode()->GetLastToken());

    // The tokens of a #pragma line (its blanks too) reach the listener; no
    // parser sees them.
    Recorder pragma;
    Parsed q("#pragma once\nint x;", "P.h", &pragma);
    std::vector<std::string> const withPragma = {"<P.h>", "#pragma", " ", "once", "\n", "int", "x", ";"};
    EXPECT_EQ(withPragma, pragma.seen);
    EXPECT_EQ("", q.out);
}

TEST(SimpleCPPParser, PrintWarningFormat)
{
    struct {
        char const* file;
        int line;
        char const* expected;
    } const cases[] = {
        {"A.h", 12, "A.h(12) : warning: unhandled token: ]\n"},
        {nullptr, 3, "mosa++(3) : warning: unhandled token: ]\n"},
        {"A.h", 0, "A.h : warning: unhandled token: ]\n"},
        {"A.h", -2, "A.h(-2) : warning: unhandled token: ]\n"},
    };
    for (auto const& c : cases) {
        testutil::Captured captured;
        printwarning("unhandled token: ]", c.file, c.line);
        EXPECT_EQ(c.expected, captured.All());
    }
}

// Texts that end or break off anywhere: the parse ends without a crash or
// a hang, whatever it finds.
TEST(SimpleCPPParser, BrokenTextsEndTheParse)
{
    char const* texts[] = {
        "} } ) ) ] ] > >> ;",
        "class",
        "class A :",
        "class A : public B<",
        "class A : B<C<D, {",
        "class A : public",
        "template <",
        "A() :",
        "A() : b(",
        "void f() {",
        "namespace",
        "namespace N {",
        "operator",
        "aspect X { pointcut p() =",
        "aspect X { pointcut",
        "{ { { ( ( [ [",
        "asm { ^",
        "refines",
        "import a",
        "struct { } ;",
        "class A { } } } ;",
        "int a = new X( ; ) ; ~ ~ A ( ) { } ( ) :",
        "class A { public: A() : x(1) } ;",
        "#define X\\\n",
        "class A : ::{ };",
    };
    for (char const* text : texts) {
        for (char const* file : {"A.h", "A.jak"}) {
            Parsed p(text, file);
            EXPECT_FALSE(p.parser.GetState().GetFileDB()) << text;
        }
    }
}
