// Class heads, namespaces, base lists and template heads written in today's
// C++: the structure the parser finds, and the edits the composition makes
// on it.
#include "Parsed.h"

#include "base/Name.h"
#include "parser/Info.h"
#include "parser/NodeID.h"
#include "parser/Scope.h"

#include <gtest/gtest.h>

#include <string>

using testutil::Vars;

namespace {

NodeClassDef* ClassNamed(Parsed& p, char const* name)
{
    for (int i = 0; i < p.parser.GetFileNode()->GetChildCount(); ++i) {
        Node* node = p.parser.GetFileNode()->ChildAt(i);
        if (node && node->GetKind() == NT_CLASS_DEF && node->GetName() && node->GetName()->c_str() == std::string(name))
            return static_cast<NodeClassDef*>(node);
    }
    return nullptr;
}

// Line n (from 0) of the printed unit, without the line break the driver
// puts in front.
std::string Line(Parsed& p, int n)
{
    std::string text = p.scanned.Text().substr(1);
    size_t start = 0;
    for (int i = 0; i < n; ++i)
        start = text.find('\n', start) + 1;
    return text.substr(start, text.find('\n', start) - start);
}

std::string NameOf(NodeBaseClass* base)
{
    return base && base->GetID() && base->GetID()->GetName() ? base->GetID()->GetName()->c_str() : "?";
}

} // namespace

TEST(ModernClassHeads, StructureOfModernHeads)
{
    struct Case {
        char const* text;
        char const* outline;
        int classes;
        char const* vars;
        char const* out;
    } const cases[] = {
        // Attributes and alignment never become the class name or a function.
        {"class [[nodiscard]] X { int f(); };", "class X { decl f/private }", 1, "", ""},
        {"class [[deprecated(\"x\")]] X : public B { int f() { return 1; } };",
         "class X : public B { def ::X::f/private }", 1, "", ""},
        {"class alignas(16) X { int v; };", "class X {  }", 1, "v/private", ""},
        {"struct __attribute__((packed)) S { char c; } __attribute__((aligned(4)));", "struct S {  }", 1,
         "c/private", ""},
        {"class __declspec(dllexport) X { [[nodiscard]] int f(); };", "class X { decl f/private }", 1, "", ""},
        // An export macro in front of the name, `final` after it.
        {"class API_EXPORT X : public B { void f(); };\nvoid X::f() { }",
         "class X : public B { decl f/private } def ::X::f/private", 1, "", ""},
        {"class API_EXPORT X final { };", "class X {  }", 1, "", ""},
        {"class X final : public B { void f() {} };", "class X : public B { def ::X::f/private }", 1, "", ""},
        // ... while an elaborated type with a declarator stays a variable.
        {"struct stat st;", "", 0, "st/private", ""},
        // Enumerations are blocks, never classes.
        {"enum class E { a, b };\nclass X { enum class F : int { c, d }; void f() {} };\nenum class G : int { e };",
         "E {  } class X { F {  } def ::X::f/private } G {  }", 1, "", ""},
        {"enum struct E : std::uint8_t { a };\nenum F : unsigned long { b };", "E {  } F {  }", 0, "", ""},
        // Namespaces: a nested name, a macro between the name and the brace.
        {"namespace A::B { class X { void f() {} }; }", "namespace B { class X { def ::A::B::X::f/private } }", 1, "",
         ""},
        {"namespace std VISIBILITY(default) {\nclass A { void f() {} };\n}",
         "namespace std { class A { def ::std::A::f/private } }", 1, "", ""},
        {"namespace N __attribute__((visibility(\"default\"))) { class A { }; }", "namespace N { class A {  } }", 1,
         "", ""},
        // Template heads with nested angle brackets end where they close.
        {"template <class T, class U = A<B> > class X { void f() {} };", "class X { def ::X::f/private }", 1, "", ""},
        {"template <typename T = std::vector<int>> class X { void f() {} };", "class X { def ::X::f/private }", 1,
         "", ""},
        {"template <int N = (3 > 2)> struct S { };", "struct S {  }", 1, "", ""},
        // Declarators after a body are variables of the enclosing scope.
        {"struct A { int x; } a, *p, arr[2];\nclass B { void f() {} };", "struct A {  } class B { def ::B::f/private }",
         2, "x/private a/private p/private arr/private", ""},
        {"struct A { } *p;\nstruct B { } const b;", "struct A {  } struct B {  }", 2, "p/private b/private", ""},
        {"typedef struct S { int a; } T, *PT;", "struct S {  }", 1, "a/private", ""},
        // A head cut off by the end of the file.
        {"class A : public B<C", "class A : public B<C>", 1, "", "A.h(1) : warning: unexpected end of file\n"},
        {"class A : public B,\n  public C", "class A : public B, public C", 1, "",
         "A.h(2) : warning: unexpected end of file\n"},
    };
    for (Case const& c : cases) {
        Parsed p(c.text);
        ASSERT_NE(nullptr, p.tu) << c.text;
        EXPECT_EQ(c.outline, p.Outline()) << c.text;
        EXPECT_EQ(c.classes, p.tu->GetClassCount()) << c.text;
        EXPECT_EQ(c.vars, Vars(*p.tu)) << c.text;
        EXPECT_EQ(c.out, p.out) << c.text;
        // The driver puts a line break in front of the first token.
        EXPECT_EQ(std::string("\n") + c.text, p.scanned.Text()) << c.text;
    }
}

TEST(ModernClassHeads, ClassicAndJavaLikeHeadsAreUnchanged)
{
    struct Case {
        char const* text;
        char const* file;
        char const* outline;
    } const cases[] = {
        {"class A : public B, private C<int> { int f(); };", "A.h",
         "class A : public B, private C<int> { decl f/private }"},
        {"layer l;\nrefines class A extends B { void f() { } }", "A.jak", "refines class A { def ::A::f/none }"},
        // A Java access word holds for its member only.
        {"class A { public int x; void f() { } private void g() { } int h() { return 1; } protected A() { } }",
         "A.java", "class A { def ::A::f/none def ::A::g/private def ::A::h/none def ::A::A/protected }"},
        // In C# a member without one is private.
        {"class A { void f() { } public void g() { } int h() { return 1; } }", "A.cs",
         "class A { def ::A::f/private def ::A::g/public def ::A::h/private }"},
        {"aspect L : public M { advice \"A\" : void f() { } };", "L.ah", "aspect L : public M { def ::L::f/private }"},
    };
    for (Case const& c : cases) {
        Parsed p(c.text, c.file);
        ASSERT_NE(nullptr, p.tu) << c.text;
        EXPECT_EQ(c.outline, p.Outline()) << c.text;
        EXPECT_EQ("", p.out) << c.text;
    }
}

TEST(ModernClassHeads, NestedNamespaceNamesReachItsMembers)
{
    Parsed p("namespace A::B {\nclass X { void f(); void g(); };\nvoid X::f() { }\n}\nvoid A::B::X::g() { }");
    ASSERT_NE(nullptr, p.tu);
    EXPECT_EQ("", p.out);
    ASSERT_EQ(4, p.tu->m_FuncDecls.GetCount());
    for (int i = 0; i < 2; ++i) {
        NodeFuncDecl* decl = p.tu->m_FuncDecls[i];
        EXPECT_NE(nullptr, decl->GetDef()) << decl->GetName()->c_str();
        EXPECT_STREQ(i ? "::A::B::X::g" : "::A::B::X::f", decl->GetQualName()->c_str());
    }

    // The scopes nest as the names do; the enclosing namespace has no body.
    Scope* a = p.parser.GetState().GetFileScope()->GetFirstChild(Name::GetName("A"));
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(SCOPE_NAMESPACE, a->GetType());
    Scope* b = a->GetFirstChild(Name::GetName("B"));
    ASSERT_NE(nullptr, b);
    EXPECT_NE(nullptr, b->GetFirstChild(Name::GetName("X")));
    EXPECT_EQ(nullptr, p.parser.GetState().GetFileScope()->GetFirstChild(Name::GetName("B")));

    // An enclosing namespace opened before is reused.
    Parsed q("namespace A { class Y { }; }\nnamespace A::B { class X { }; }");
    Scope* first = q.parser.GetState().GetFileScope()->GetFirstChild(Name::GetName("A"));
    ASSERT_NE(nullptr, first);
    EXPECT_NE(nullptr, first->GetFirstChild(Name::GetName("Y")));
    EXPECT_NE(nullptr, first->GetFirstChild(Name::GetName("B")));
}

TEST(ModernClassHeads, TemplateHeadsAreReadAndCopiedWhole)
{
    struct Case {
        char const* text;
        int key;           // which `class` token is the class key
        char const* close; // the token that ends the head
        char const* copied;
    } const cases[] = {
        {"template <class T, class U = A<B> > class X { };\nclass Y { };", 2, ">",
         "template <class T, class U = A<B> >class Y { };"},
        {"template <typename T = std::vector<int>> class X { };\nclass Y { };", 0, ">>",
         "template <typename T = std::vector<int>>class Y { };"},
    };
    for (Case const& c : cases) {
        Parsed p(c.text);
        NodeClassDef* x = ClassNamed(p, "X");
        NodeClassDef* y = ClassNamed(p, "Y");
        ASSERT_TRUE(x && y) << c.text;
        NodeTemplateDef* head = x->GetClassDecl()->GetTemplDef();
        ASSERT_NE(nullptr, head) << c.text;
        EXPECT_EQ(p.scanned("template"), head->GetFirstToken()) << c.text;
        // The last `>` (or `>>`) before the class key.
        Lex::Token* close = p.scanned("class", c.key)->prev();
        while (close && close->language == Lex::Token::white_id)
            close = close->prev();
        ASSERT_NE(nullptr, close);
        EXPECT_STREQ(c.close, close->text->text);
        EXPECT_EQ(close, head->GetLastToken()) << c.text;

        y->GetClassDecl()->CopyTemplDef(*head);
        ASSERT_NE(nullptr, y->GetClassDecl()->GetTemplDef()) << c.text;
        EXPECT_EQ(c.copied, Line(p, 1)) << c.text;
    }
}

TEST(ModernClassHeads, BaseEntriesKeepVirtualAndQualifiedTemplateNames)
{
    Parsed p("class X : public Y<int>::Inner, virtual public A, virtual C { };\nclass Z { };");
    NodeClassDef* x = ClassNamed(p, "X");
    NodeClassDef* z = ClassNamed(p, "Z");
    ASSERT_TRUE(x && z);
    NodeBaseClassDecl* bases = x->GetBaseClassDecl();
    ASSERT_NE(nullptr, bases);
    ASSERT_EQ(3, bases->GetChildCount());
    NodeBaseClass* inner = bases->GetBase(0);
    EXPECT_EQ("Inner", NameOf(inner));
    EXPECT_EQ(ACCESS_PUBLIC, inner->m_Access);
    EXPECT_EQ(p.scanned("public"), inner->GetFirstToken());
    EXPECT_EQ(p.scanned("Inner"), inner->GetEndToken());
    EXPECT_STREQ("Y::Inner", inner->GetID()->GetQualName()->c_str() + 2);
    ASSERT_NE(nullptr, inner->GetTemplArgs());
    EXPECT_EQ("<int>", std::string(inner->GetTemplArgs()->AsString().GetBuffer()));
    EXPECT_EQ("A", NameOf(bases->GetBase(1)));
    EXPECT_EQ(ACCESS_PUBLIC, bases->GetBase(1)->m_Access);
    EXPECT_EQ(p.scanned("virtual", 0), bases->GetBase(1)->GetFirstToken());
    EXPECT_EQ("C", NameOf(bases->GetBase(2)));
    EXPECT_EQ(ACCESS_PRIVATE, bases->GetBase(2)->m_Access);
    EXPECT_EQ(p.scanned("virtual", 1), bases->GetBase(2)->GetFirstToken());

    // Copies take the whole entry, `virtual` and the name after the
    // arguments included.
    z->CopyBaseClass(*inner);
    z->CopyBaseClass(*bases->GetBase(2));
    z->CopyBaseClass(*bases->GetBase(1));
    EXPECT_EQ("class Z : public Y<int>::Inner, virtual C, virtual public A{ };", Line(p, 1));

    // Deleting takes `virtual` along.
    bases->DeleteBase(*bases->GetBase(1));
    EXPECT_EQ("class X : public Y<int>::Inner,  virtual C { };", Line(p, 0));
    bases->DeleteBase(*bases->GetBase(1));
    EXPECT_EQ("class X : public Y<int>::Inner{ };", Line(p, 0));
    bases->DeleteBase(*bases->GetBase(0));
    EXPECT_EQ("class X { };", Line(p, 0));
}

TEST(ModernClassHeads, DeclaratorsAfterABodyHaveTheClassAsType)
{
    Parsed p("struct A { int x; } a, *p;\nclass B { struct C { int y; } c; };");
    ASSERT_NE(nullptr, p.tu);
    EXPECT_EQ("x/private a/private p/private y/private c/private", Vars(*p.tu));
    CParserState& state = p.parser.GetState();
    struct {
        char const* name;
        char const* type;
        ScopeType scope;
    } const vars[] = {
        {"x", "int", SCOPE_CLASS},
        {"a", "A", SCOPE_FILE},
        {"p", "A", SCOPE_FILE},
        {"c", "C", SCOPE_CLASS},
    };
    for (auto const& v : vars) {
        MemberVarInfo* info = nullptr;
        for (int i = 0; i < p.tu->m_MemberVars.GetCount(); ++i)
            if (p.tu->m_MemberVars[i]->GetNameText() == std::string(v.name))
                info = p.tu->m_MemberVars[i];
        ASSERT_NE(nullptr, info) << v.name;
        EXPECT_STREQ(v.type, info->GetType()->GetNameText()) << v.name;
        Node* id = state.GetIdNode(*p.scanned(v.name));
        ASSERT_TRUE(id && id->GetScope()) << v.name;
        EXPECT_EQ(v.scope, id->GetScope()->GetType()) << v.name;
    }
}
