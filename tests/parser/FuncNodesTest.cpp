#include "FuncBuilder.h"
#include "Scanned.h"

#include "base/Name.h"
#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeInitDecl.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeModifier.h"
#include "parser/NodeType.h"
#include "parser/NodeVarDecl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string S(Str const& text)
{
    return text.GetBuffer();
}

using testutil::Build;
using testutil::Func;

NodeClassDef* ClassX()
{
    static Scanned s("class X {};");
    static NodeClassDef* cls = new NodeClassDef(*new NodeClassDecl(*new NodeKeyword(s("class")), *s.Id("X")));
    return cls;
}

// The function of a scanned text, in class X when inClass is set.
struct Fixture {
    explicit Fixture(char const* text, char const* file = "t.h", bool inClass = true)
        : s(text, file), scope(Name::GetName(file)), f(Build(s, scope, s("("), inClass ? ClassX() : nullptr))
    {
    }
    FuncInfo& Info() { return *f.decl->GetInfo(); }

    Scanned s;
    FileInfo scope;
    Func f;
};

TEST(NodeFuncDecl, BuildsItsInfoAndText)
{
    Fixture x("virtual int f(int a, Foo b) const;");
    NodeFuncDecl& decl = *x.f.decl;
    EXPECT_EQ("virtual int f(int a,Foo b)const", S(decl.AsString()));
    EXPECT_EQ("f", std::string(x.Info().GetNameText()));
    EXPECT_EQ(&decl, x.Info().GetDecl());
    EXPECT_EQ(&decl.GetReturnType()->GetTypeInfo(), x.Info().GetType());
    EXPECT_EQ(&decl.GetParams()->GetParamListInfo(), x.Info().GetParams());
    EXPECT_EQ("int, Foo", S(x.Info().GetParams()->TypesAsString()));
    EXPECT_TRUE(x.Info().IsVirtual());
    EXPECT_EQ(x.s("virtual"), decl.GetToken());
    EXPECT_EQ(x.s(";"), decl.GetLastToken());
    EXPECT_TRUE(decl.IsDecl());
    EXPECT_TRUE(decl.MatchesName("f"));
    EXPECT_TRUE(decl.MatchesQualName("::f"));
    EXPECT_FALSE(decl.MatchesName("g"));

    EXPECT_TRUE(decl.Rename("g"));
    EXPECT_EQ("virtual int g(int a, Foo b) const;", x.s.Text());
    EXPECT_EQ("g", std::string(x.Info().GetNameText()));
}

TEST(FuncInfo, OnChangeMarksConstructorsAndDestructors)
{
    static struct {
        char const* text;
        bool ctor, dtor;
    } const cases[] = {
        {"X();", true, false},
        {"~X();", false, true},
        {"void f();", false, false},
        {"void X(int a);", true, false}, // the name decides, as for the info model
    };
    for (auto const& c : cases) {
        Fixture x(c.text);
        EXPECT_EQ(c.ctor, x.Info().IsConstructor()) << c.text;
        EXPECT_EQ(c.dtor, x.Info().IsDestructor()) << c.text;
        Fixture outside(c.text, "t.h", false);
        EXPECT_FALSE(outside.Info().IsConstructor() || outside.Info().IsDestructor()) << c.text;
    }
    Fixture dtor("~X();");
    EXPECT_EQ("~X", S(dtor.Info().GetStrName()));
    EXPECT_EQ("~X()", S(dtor.f.decl->AsString()));
}

TEST(NodeFuncDecl, SetIsInline)
{
    static struct {
        char const* file;
        char const* text;
        char const* result;
        bool inlined;
    } const cases[] = {
        {"t.h", "virtual void f();", "inline  void f();", true},
        {"t.h", "inline int g();", "inline int g();", true},
        {"t.h", "static virtual int h();", "inline static  int h();", true},
        {"t.h", "void k();", "inline void k();", true},
        {"t.java", "void f();", "void f();", false},
        {"t.h", "X();", "X();", false}, // no return type
    };
    for (auto const& c : cases) {
        Fixture x(c.text, c.file);
        x.f.decl->SetIsInline();
        EXPECT_EQ(c.result, x.s.Text()) << c.text;
        EXPECT_EQ(c.inlined, x.Info().IsInline()) << c.text;
        EXPECT_FALSE(x.Info().IsVirtual()) << c.text;
        // Marking it again writes no second keyword.
        x.f.decl->SetIsInline();
        EXPECT_EQ(c.result, x.s.Text()) << c.text;
    }
}

TEST(NodeFuncDecl, ReturnTypesOfConstructorsAndDestructors)
{
    enum Action { CTOR, DTOR, RETURN };
    static struct {
        char const* text;
        Action action;
        bool is;
        char const* type;
        char const* result;
        bool tilde;
    } const cases[] = {
        {"X();", CTOR, false, "void", "void X();", false},
        {"~X();", DTOR, false, "void", "void X();", false},
        {"virtual ~X();", DTOR, false, "void", "virtual void X();", false},
        {"void X();", DTOR, true, "void", " ~X();", true},
        {"void X();", CTOR, true, "void", " X();", false},
        {"~X();", CTOR, false, "void", "void ~X();", true},
        {"static int* f();", RETURN, false, "Foo", "Foo  f();", false},
    };
    for (auto const& c : cases) {
        Fixture x(c.text);
        NodeFuncDecl& decl = *x.f.decl;
        if (c.action == CTOR)
            decl.SetIsConstructor(c.is, Str(c.type));
        else if (c.action == DTOR)
            decl.SetIsDestructor(c.is, Str(c.type));
        else
            decl.SetReturnType(Str(c.type));
        EXPECT_EQ(c.result, x.s.Text()) << c.text;
        EXPECT_EQ(c.tilde, decl.GetOperator() != nullptr) << c.text;
        ASSERT_NE(nullptr, decl.GetReturnType()) << c.text;
        EXPECT_EQ(&decl, decl.GetReturnType()->GetParent()) << c.text;
        EXPECT_EQ(&decl.GetReturnType()->GetTypeInfo(), x.Info().GetType()) << c.text;
        EXPECT_STREQ(c.is ? "" : c.type, x.Info().GetType()->GetNameText()) << c.text;
    }

    // A name without tokens gives nothing to write at.
    Scanned s("f();");
    FileInfo scope(Name::GetName("t.h"));
    NodeFuncDecl bare(scope, nullptr, nullptr, *new NodeID(nullptr, nullptr, QualName::GetName("f")),
                      *new NodeFuncParams(new NodeRoundBrace(s("("))), nullptr);
    bare.SetIsDestructor(true, Str("void"));
    bare.SetReturnType(Str("int"));
    EXPECT_EQ(nullptr, bare.GetReturnType());
    EXPECT_EQ(nullptr, bare.GetOperator());
}

TEST(NodeFuncParams, ParamNames)
{
    static struct {
        char const* text;
        char const* separator;
        char const* names;
    } const cases[] = {
        {"void f(int a, char b);", ",", "a,b"},
        {"void f(int a, char b);", ", ", "a, b"},
        {"void f();", ",", ""},
        {"void f(int, char b);", ",", "b"},
    };
    for (auto const& c : cases) {
        Fixture x(c.text);
        EXPECT_EQ(c.names, S(x.f.decl->GetParams()->GetParamNames(Str(c.separator)))) << c.text;
    }
}

// The text, the name to remove and the resulting text of X::X() ... {}.
TEST(NodeInitDecl, RemoveInitializers)
{
    static struct {
        char const* init;
        char const* name;
        char const* result;
    } const cases[] = {
        {": A(1), B(2)", "B", ": A(1)"},
        {": B(2), A(1)", "B", ":  A(1)"},
        {": A(1), B(2), C(3)", "B", ": A(1),  C(3)"},
        {": B(2)", "B", ""},
        {": A(1)", "Z", ": A(1)"},
        {": a(super), super(1)", "super", ": a(super)"},
        {": a(super)", "super", ": a(super)"},
        {": Base<int, char>(1), b(2)", "Base", ":  b(2)"},
        {": a(f(1, 2)), B(3)", "B", ": a(f(1, 2))"},
        {": A(1), /* note */ B(2)", "B", ": A(1)"},
    };
    for (auto const& c : cases) {
        std::string text = std::string("X::X() ") + c.init + " {}";
        Fixture x(text.c_str(), "t.cpp", false);
        NodeFuncDef& def = *x.f.def;
        def.GetInitDecl()->RemoveInitializers(c.name);
        std::string expected = std::string("X::X() ") + c.result + " {}";
        EXPECT_EQ(expected, x.s.Text()) << c.init;
        EXPECT_EQ(*c.result == 0, def.GetInitDecl() == nullptr) << c.init;
    }
}

TEST(NodeInitDecl, RemovingTheLastEntryKeepsTheListWhole)
{
    Fixture x("X::X() : A(1), B(2) {}", "t.cpp", false);
    NodeInitDecl* init = x.f.def->GetInitDecl();
    init->RemoveInitializers("B");
    EXPECT_EQ(x.s(")", 1), init->GetLastToken());
    init->RemoveInitializers("A");
    EXPECT_EQ("X::X()  {}", x.s.Text());
    EXPECT_EQ(nullptr, x.f.def->GetInitDecl());
    EXPECT_EQ(nullptr, init->GetFunc());
}

TEST(NodeFuncDef, MergeAndMoveInitializers)
{
    Scanned s("X::X() : a(1) {}\nY::Y() : b(2) {}\nZ::Z() {}");
    FileInfo scope(Name::GetName("t.cpp"));
    NodeFuncDef* x = Build(s, scope, s("(")).def;
    NodeFuncDef* y = Build(s, scope, s("(", 2)).def;
    NodeFuncDef* z = Build(s, scope, s("(", 4)).def;

    y->MoveInitializer(y);
    EXPECT_NE(nullptr, y->GetInitDecl());

    NodeInitDecl* own = x->GetInitDecl();
    y->MoveInitializer(x);
    EXPECT_EQ("X::X() : b(2), a(1) {}\nY::Y()  {}\nZ::Z() {}", s.Text());
    EXPECT_EQ(nullptr, y->GetInitDecl());
    EXPECT_EQ(own, x->GetInitDecl());
    EXPECT_EQ(s(")", 2), own->GetLastToken()); // still the end of a(1)

    x->MoveInitializer(z);
    EXPECT_EQ("X::X()  {}\nY::Y()  {}\nZ::Z() : b(2), a(1){}", s.Text());
    EXPECT_EQ(own, z->GetInitDecl());
    EXPECT_EQ(z, own->GetFunc());
    EXPECT_EQ(z, own->GetParent());
    EXPECT_EQ(nullptr, x->GetInitDecl());

    // A list without tokens merges nothing, not even a separator.
    own->AddInitializer(new NodeInitDecl(nullptr));
    EXPECT_EQ("X::X()  {}\nY::Y()  {}\nZ::Z() : b(2), a(1){}", s.Text());
}

TEST(NodeFuncDef, DefinitionsFindTheirDeclarations)
{
    Scanned s("void f(int a); void f(int b) {} void f(char c) {}");
    FileInfo scope(Name::GetName("t.h"));
    NodeFuncDecl* decl = Build(s, scope, s("(")).decl;
    scope.AddChild(decl->GetInfo());
    NodeFuncDef* def = Build(s, scope, s("(", 1)).def;
    NodeFuncDef* overload = Build(s, scope, s("(", 2)).def;

    EXPECT_EQ(decl->GetInfo(), def->GetDecl()->GetInfo());
    EXPECT_EQ(def, decl->GetInfo()->GetDef());
    EXPECT_NE(decl->GetInfo(), overload->GetDecl()->GetInfo());
    EXPECT_TRUE(decl->IsSame(*def->GetDecl()));
    EXPECT_FALSE(decl->IsSame(*overload->GetDecl()));
    EXPECT_FALSE(def->IsDecl());
    EXPECT_EQ(def->GetDecl(), def->GetNameNode()->GetParent());

    scope.SetFuncDef(*overload);
    EXPECT_EQ(nullptr, decl->GetDef());
    scope.SetFuncDef(*def);
    EXPECT_EQ(def, decl->GetDef());
}

TEST(NodeFuncDef, ADefinitionFindsADeclarationRenamedAfterALookUp)
{
    Scanned s("void f(int a); void f(char c) {} void g(int b) {}");
    FileInfo scope(Name::GetName("t.h"));
    NodeFuncDecl* decl = Build(s, scope, s("(")).decl;
    scope.AddChild(decl->GetInfo());
    Build(s, scope, s("(", 1));
    EXPECT_EQ(nullptr, decl->GetDef());

    decl->Rename("g");
    NodeFuncDef* def = Build(s, scope, s("(", 2)).def;
    scope.SetFuncDef(*def);
    EXPECT_EQ(def, decl->GetDef());
}

TEST(NodeFuncDecl, ConstructorsAndDestructorsAreNotTheSame)
{
    Scanned s("X(); ~X(); X(); f();");
    FileInfo scope(Name::GetName("t.h"));
    NodeFuncDecl* ctor = Build(s, scope, s("("), ClassX()).decl;
    NodeFuncDecl* dtor = Build(s, scope, s("(", 1), ClassX()).decl;
    NodeFuncDecl* again = Build(s, scope, s("(", 2), ClassX()).decl;
    EXPECT_FALSE(ctor->IsSame(*dtor));
    EXPECT_TRUE(ctor->IsSame(*again));
    EXPECT_FALSE(ctor->IsSame(*Build(s, scope, s("(", 3), ClassX()).decl));
}

TEST(NodeFuncDef, OnScopeLeavedStoresTheBodyText)
{
    Fixture full("void f() { return; }");
    full.f.def->OnScopeLeaved();
    EXPECT_EQ(" return; ", S(full.Info().GetBody().GetText()));

    Fixture empty("void g() {}");
    empty.Info().GetBody().SetText(Str("kept"));
    empty.f.def->OnScopeLeaved();
    EXPECT_EQ("kept", S(empty.Info().GetBody().GetText()));
}

} // namespace
