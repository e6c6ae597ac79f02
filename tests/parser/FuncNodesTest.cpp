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

bool Significant(Lex::Token* t)
{
    return t->language != Lex::Token::white_id && t->language != Lex::Token::comment_id;
}

Lex::Token* NextSig(Lex::Token* t)
{
    for (t = t->next(); t && !Significant(t); t = t->next()) {
    }
    return t;
}

Lex::Token* PrevSig(Lex::Token* t)
{
    for (t = t->prev(); t && !Significant(t); t = t->prev()) {
    }
    return t;
}

// The bracket that closes the one at open.
Lex::Token* Closing(Lex::Token* open)
{
    int depth = 0;
    for (Lex::Token* t = open; t; t = t->next()) {
        if (t->type == open->type)
            ++depth;
        if ((open->type == Lex::TOK_OPEN_ROUND && t->type == Lex::TOK_CLOSE_ROUND)
            || (open->type == Lex::TOK_OPEN_CURLY && t->type == Lex::TOK_CLOSE_CURLY))
            if (--depth == 0)
                return t;
    }
    return nullptr;
}

bool IsModifier(int type)
{
    switch (type) {
    case Lex::TOK_CONST:
    case Lex::TOK_EXPLICIT:
    case Lex::TOK_INLINE:
    case Lex::TOK_STATIC:
    case Lex::TOK_VIRTUAL:
    case Lex::TOK_OVERRIDE:
        return true;
    default:
        return false;
    }
}

// Builds the nodes of the function whose parameter list opens at `open`,
// as the function builder does: modifiers and return type, `~`, name,
// parameters, trailing modifier, init list and body.
struct Func {
    NodeFuncDecl* decl = nullptr;
    NodeFuncDef* def = nullptr;
};

Func Build(Scanned& s, InfoWithMembers& scope, Lex::Token* open, NodeClassDef* cls = nullptr)
{
    Lex::Token* nameLast = PrevSig(open);
    Lex::Token* nameFirst = nameLast;
    for (Lex::Token* p = PrevSig(nameFirst); p && p->type == Lex::TOK_COLON_COLON; p = PrevSig(nameFirst)) {
        Lex::Token* outer = PrevSig(p);
        if (!outer || outer->type != Lex::TOK_ID)
            break;
        nameFirst = outer;
    }
    NodeID* id = s.Id(nameFirst, nameLast);

    Lex::Token* t = PrevSig(nameFirst);
    NodeOperator* op = nullptr;
    if (t && t->type == Lex::TOK_TILDE) {
        op = new NodeOperator(t);
        t = PrevSig(t);
    }
    std::vector<Lex::Token*> before;
    for (; t && t->type != Lex::TOK_SEMI_COLON && t->type != Lex::TOK_CLOSE_CURLY && t->type != Lex::TOK_OPEN_CURLY;
         t = PrevSig(t))
        before.insert(before.begin(), t);
    Array<NodeModifier*> modifiers;
    Lex::Token* typeToken = nullptr;
    std::vector<Lex::Token*> marks;
    for (Lex::Token* b : before) {
        if (IsModifier(b->type))
            modifiers.Add(new NodeModifier(b));
        else if (b->type == Lex::TOK_MUL || b->type == Lex::TOK_AND)
            marks.push_back(b);
        else
            typeToken = b;
    }
    NodeType* type = nullptr;
    if (typeToken && typeToken->type == Lex::TOK_ID) {
        NodeID* typeId = s.Id(typeToken);
        typeId->m_Modifiers = modifiers;
        type = new NodeType(*typeId);
    } else if (typeToken) {
        type = new NodeType(*new NodeToken(typeToken));
    } else {
        id->m_Modifiers = modifiers;
    }
    if (type) {
        type->AddModifiers(modifiers);
        for (Lex::Token* m : marks)
            type->AddChild(new NodeOperator(m));
    }

    Lex::Token* close = Closing(open);
    NodeRoundBrace* brace = new NodeRoundBrace(open);
    brace->SetLastToken(*close);
    std::vector<Lex::Token*> piece;
    auto flush = [&] {
        if (piece.empty())
            return;
        Lex::Token* first = piece.front();
        NodeType* paramType =
            first->type == Lex::TOK_ID ? new NodeType(*s.Id(first)) : new NodeType(*new NodeToken(first));
        if (piece.size() == 1) {
            brace->AddChild(paramType);
        } else {
            NodeVarDecl* param = new NodeVarDecl(paramType);
            param->GetVariableList()->AddChild(new NodeAssignment(s.Id(piece.back())));
            brace->AddChild(param);
        }
        piece.clear();
    };
    for (Lex::Token* p = NextSig(open); p && p != close; p = NextSig(p)) {
        if (p->type == Lex::TOK_COMMA)
            flush();
        else
            piece.push_back(p);
    }
    flush();
    NodeFuncParams* params = new NodeFuncParams(brace);
    params->InitParamListInfo();

    t = NextSig(close);
    NodeModifier* trailing = nullptr;
    if (t && IsModifier(t->type)) {
        trailing = new NodeModifier(t);
        t = NextSig(t);
    }
    Func f;
    f.decl = new NodeFuncDecl(scope, type, op, *id, *params, trailing);
    if (cls)
        f.decl->SetClass(cls);
    if (!t || t->type == Lex::TOK_SEMI_COLON) {
        if (t)
            f.decl->SetLastToken(*t);
        return f;
    }
    NodeInitDecl* init = nullptr;
    if (t->type == Lex::TOK_COLON) {
        init = new NodeInitDecl(t);
        while (t && t->type != Lex::TOK_OPEN_CURLY)
            t = t->type == Lex::TOK_OPEN_ROUND ? NextSig(Closing(t)) : NextSig(t);
        init->SetLastToken(*PrevSig(t));
    }
    f.decl->SetLastToken(*PrevSig(init ? init->GetFirstToken() : t));
    NodeBlock* body = new NodeBlock(t);
    body->SetLastToken(*Closing(t));
    f.def = new NodeFuncDef(*f.decl, init, body);
    return f;
}

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
