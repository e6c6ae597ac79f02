#include "Scanned.h"
#include "Snippet.h"

#include "base/Name.h"
#include "parser/Info.h"
#include "parser/InfoBuilder.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeID.h"
#include "parser/NodeKeyword.h"

#include <gtest/gtest.h>

#include <string>

namespace {

Name* N(char const* text)
{
    return Name::GetName(text);
}

std::string S(Str const& text)
{
    return text.GetBuffer();
}

TypeInfo* Type(char const* name, int indirection = 0)
{
    TypeInfo* type = new TypeInfo(N(name));
    type->m_Indirection = indirection;
    return type;
}

ParamListInfo* Params(std::initializer_list<TypeInfo*> types)
{
    ParamListInfo* params = new ParamListInfo;
    char name[] = "p0";
    for (TypeInfo* type : types) {
        params->AddChild(*N(name), *type);
        ++name[1];
    }
    return params;
}

// A function node that only has a name, standing in for a declaration.
class NamedFuncNode : public FuncNode {
public:
    explicit NamedFuncNode(char const* name) : FuncNode(NT_FUNC_DECL), m_pName(N(name)) {}
    Name* GetName() const override { return m_pName; }
    NodeID* GetNameNode() override { return nullptr; }
    NodeFuncDecl* GetDecl() override { return nullptr; }
    NodeFuncDef* GetDef() override { return nullptr; }
    Name* m_pName;
};

TEST(ClassInfoBuilder, AddMemberMarksConstructorsAndDestructors)
{
    ClassInfoBuilder cls(Str("A"));
    FuncInfo* ctor = cls.AddMember(nullptr, "A");
    FuncInfo* dtor = cls.AddMember(nullptr, "~A");
    FuncInfo* plain = cls.AddMember("int", "size");

    EXPECT_TRUE(ctor->IsConstructor());
    EXPECT_FALSE(ctor->IsDestructor());
    EXPECT_TRUE(dtor->IsDestructor());
    EXPECT_FALSE(dtor->IsConstructor());
    EXPECT_FALSE(plain->IsConstructor() || plain->IsDestructor());
    EXPECT_EQ(Info::Unnamed(), dtor->GetType()->GetName());
    EXPECT_EQ(N("int"), plain->GetType()->GetName());
    EXPECT_EQ(dtor->GetType(), dtor->GetChild(0));
    EXPECT_EQ(dtor, dtor->GetType()->GetParent());
    EXPECT_EQ(3, cls.GetClass()->GetChildCount());
    EXPECT_EQ(cls.GetClass(), plain->GetParent());
    EXPECT_EQ("~A", S(dtor->GetStrName()));
}

TEST(FuncInfo, StrNameComesFromTheNodeWithTildeForADestructor)
{
    NamedFuncNode node("A");
    FuncInfo func(node, N("old"));
    EXPECT_EQ("A", S(func.GetStrName()));
    func.m_bDestructor = true;
    EXPECT_EQ("~A", S(func.GetStrName()));
    node.m_pName = N("Renamed");
    EXPECT_EQ("~Renamed", S(func.GetStrName()));
    EXPECT_EQ(nullptr, func.GetDecl());

    FuncInfo bare(N("f"));
    EXPECT_EQ("f", S(bare.GetStrName()));
}

TEST(FuncInfo, ConstructionGivesThreeChildSlots)
{
    FuncInfo func(N("f"));
    ASSERT_EQ(3, func.GetChildCount());
    EXPECT_EQ(nullptr, func.GetChild(0));
    EXPECT_EQ(nullptr, func.GetChild(1));
    EXPECT_EQ(&func.GetBody(), func.GetChild(2));
    EXPECT_EQ(&func, func.GetBody().GetParent());
    EXPECT_EQ(ACCESS_PRIVATE, func.GetAccess());
    EXPECT_TRUE(func.IsMethod());
    EXPECT_FALSE(func.IsField());
    EXPECT_EQ(&func, func.GetFuncInfo());
    // Without a return type the flags read false and setting them does nothing.
    func.SetIsVirtual(true);
    EXPECT_FALSE(func.IsVirtual() || func.IsStatic() || func.IsInline());
    EXPECT_EQ("", S(func.GetReturnType()));
    EXPECT_FALSE(func.SameParams(*Params({})));
}

TEST(InfoWithMembers, FindFuncInfoMatchesNameAopTypeDestructorMarkAndParams)
{
    ClassInfo cls(N("C"));
    auto add = [&](char const* name, AOPInfo::AopTypes aop, bool destructor, ParamListInfo* params) {
        FuncInfo* func = new FuncInfo(N(name));
        func->m_AopType = aop;
        func->m_bDestructor = destructor;
        func->SetParams(params);
        cls.AddChild(func);
        return func;
    };
    FuncInfo* dtor = add("f", AOPInfo::AOP_NONE, true, Params({}));
    FuncInfo* f = add("f", AOPInfo::AOP_NONE, false, Params({Type("int")}));
    cls.AddChild(new MemberVarInfo(N("g")));
    FuncInfo* g = add("g", AOPInfo::AOP_NONE, false, Params({}));

    // A repeated declaration finds the same info.
    EXPECT_EQ(f, cls.FindFuncInfo(*N("f"), AOPInfo::AOP_NONE, Params({Type("int")}), false));
    // Another parameter type, a pointcut or another destructor mark do not.
    EXPECT_EQ(nullptr, cls.FindFuncInfo(*N("f"), AOPInfo::AOP_NONE, Params({Type("char")}), false));
    EXPECT_EQ(nullptr, cls.FindFuncInfo(*N("f"), AOPInfo::AOP_POINTCUT, Params({Type("int")}), false));
    EXPECT_EQ(nullptr, cls.FindFuncInfo(*N("f"), AOPInfo::AOP_NONE, Params({Type("int")}), true));
    EXPECT_EQ(dtor, cls.FindFuncInfo(*N("f"), AOPInfo::AOP_NONE, Params({}), true));
    // Without parameters, name and aop type decide: the destructor comes first.
    EXPECT_EQ(dtor, cls.FindFuncInfo(*N("f"), AOPInfo::AOP_NONE, nullptr, false));
    // A member variable of the name is passed over.
    EXPECT_EQ(g, cls.FindFuncInfo(*N("g"), AOPInfo::AOP_NONE, nullptr, false));
    EXPECT_EQ(nullptr, cls.FindFuncInfo(*N("h"), AOPInfo::AOP_NONE, nullptr, false));
}

TEST(InfoWithMembers, FindFuncInfoSeesMembersAddedOrRenamedAfterALookUp)
{
    ClassInfo cls(N("C"));
    auto add = [&](char const* name, char const* qualifiers) {
        FuncInfo* func = new FuncInfo(N(name));
        func->SetParams(Params({Type("int")}));
        func->m_Qualifiers = qualifiers;
        cls.AddChild(func);
        return func;
    };
    FuncInfo* f = add("f", "");
    EXPECT_EQ(nullptr, cls.FindFuncInfo(*N("f"), AOPInfo::AOP_NONE, Params({Type("int")}), false, "const"));
    // The const version added later is told from the plain one.
    FuncInfo* constF = add("f", "const");
    EXPECT_EQ(constF, cls.FindFuncInfo(*N("f"), AOPInfo::AOP_NONE, Params({Type("int")}), false, "const"));
    EXPECT_EQ(f, cls.FindFuncInfo(*N("f"), AOPInfo::AOP_NONE, Params({Type("int")}), false, ""));
    // Of two that match, the first one declared.
    EXPECT_EQ(f, cls.FindFuncInfo(*N("f"), AOPInfo::AOP_NONE, nullptr, false));
    EXPECT_TRUE(cls.HasMember(*constF));

    f->SetName(N("f__base"));
    EXPECT_EQ(constF, cls.FindFuncInfo(*N("f"), AOPInfo::AOP_NONE, nullptr, false));
    EXPECT_EQ(f, cls.FindFuncInfo(*N("f__base"), AOPInfo::AOP_NONE, nullptr, false));
    EXPECT_TRUE(cls.HasMember(*f));
    EXPECT_FALSE(cls.HasMember(FuncInfo(N("f"))));
}

TEST(ParamListInfo, SameParamsComparesTypeNamesAndIndirectionOnly)
{
    TypeInfo* constInt = Type("int");
    constInt->m_bConst = true;
    struct {
        ParamListInfo* a;
        ParamListInfo* b;
        bool same;
    } const cases[] = {
        {Params({}), Params({}), true},
        {Params({constInt, Type("Foo", 1)}), Params({Type("int"), Type("Foo", 1)}), true},
        {Params({Type("Foo", 1)}), Params({Type("Foo", 2)}), false},
        {Params({Type("int")}), Params({Type("long")}), false},
        {Params({Type("int")}), Params({Type("int"), Type("int")}), false},
    };
    for (auto const& c : cases) {
        EXPECT_EQ(c.same, c.a->SameParams(*c.b)) << S(c.a->TypesAsString()) << " / " << S(c.b->TypesAsString());
        EXPECT_EQ(c.same, c.b->SameParams(*c.a));
    }
    // Parameter names play no part either.
    ParamListInfo named;
    named.AddChild(*N("other"), *Type("int"));
    EXPECT_TRUE(named.SameParams(*Params({Type("int")})));
}

TEST(ParamListInfo, TypesAsString)
{
    EXPECT_EQ("", S(Params({})->TypesAsString()));
    EXPECT_EQ("int, Foo&", S(Params({Type("int"), Type("Foo", 1)})->TypesAsString()));
}

TEST(FuncInfoBuilder, AddArgsSplitsDeclarationsAtTheLastBlank)
{
    ClassInfoBuilder cls(Str("K"));
    FuncInfoBuilder f(cls, "void", "f");
    f.AddArgs(" int a, char * p ,,\tlong\r\n,int");
    ParamListInfo* params = f.GetFunc()->GetParams();
    ASSERT_EQ(2, params->GetChildCount());
    EXPECT_STREQ("a", params->GetChild(0)->GetNameText());
    EXPECT_STREQ("int", params->GetChild(0)->GetChild(0)->GetNameText());
    EXPECT_STREQ("p", params->GetChild(1)->GetNameText());
    EXPECT_STREQ("char *", params->GetChild(1)->GetChild(0)->GetNameText());
    EXPECT_EQ(params, params->GetChild(1)->GetParent());

    FuncInfo bare(N("g"));
    FuncInfoBuilder over(bare);
    over.AddArg("int", "x"); // no parameter list: nothing
    EXPECT_EQ(nullptr, bare.GetParams());
}

TEST(FuncInfoBuilder, DefaultConstructorText)
{
    ClassInfoBuilder cls(Str("X"));
    FuncInfoBuilder ctor(cls, nullptr, "X");
    ctor.SetAccessType(ACCESS_PUBLIC);
    ctor.SetInline();
    ctor.AddArg("M*", "pFinal");
    ctor.AddArg("S&", "spl");
    ctor.SetBody("");
    EXPECT_EQ("public:  X(M* pFinal, S& spl){\n}", S(ctor.GetFunc()->AsString()));
    EXPECT_TRUE(ctor.GetFunc()->IsInline());
    ctor.Write(); // a class made from text has no tokens: nothing happens
    EXPECT_EQ(nullptr, cls.GetInsertionToken());
}

TEST(FuncInfo, SignatureWithAndWithoutVirtual)
{
    ClassInfoBuilder cls(Str("Stack"));
    FuncInfoBuilder push(cls, "int", "push");
    push.SetVirtual();
    push.AddArgs("int a, char* p");
    FuncInfo& f = *push.GetFunc();
    EXPECT_EQ("virtual int push(int, char*)", S(f.GetSignature(true)));
    EXPECT_EQ("int push(int, char*)", S(f.GetSignature(false)));
    // The names are left out only while the signature is printed.
    EXPECT_EQ("int a", S(f.GetParams()->GetChild(0)->AsString()));

    FuncInfoBuilder ctor(cls, nullptr, "Stack");
    ctor.AddArgs("int n");
    EXPECT_EQ(" Stack(int)", S(ctor.GetFunc()->GetSignature(true)));
    EXPECT_EQ("Stack(int)", S(ctor.GetFunc()->GetSignature(false)));
}

TEST(ClassInfoBuilder, WriteChildInsertsBeforeTheClosingBrace)
{
    Scanned s("class X { }");
    NodeKeyword key(s("class"));
    NodeClassDef def(*new NodeClassDecl(key, *s.Id("X")));
    NodeBlock body(s("{"));
    body.SetLastToken(*s("}"));
    def.SetBody(&body);
    ClassInfo& info = def.GetClassInfo();
    EXPECT_EQ(&def, info.GetDef());

    ClassInfoBuilder cls(info);
    EXPECT_EQ(s("}"), cls.GetInsertionToken());
    Lex::Token* written = cls.WriteChild(Str("int n;\n"));
    ASSERT_NE(nullptr, written);
    EXPECT_EQ(98, written->type);
    EXPECT_EQ(Lex::Token::cpp_id, written->language);
    EXPECT_EQ("class X { int n;\n}", s.Text());

    FuncInfoBuilder outOfLine(cls, "void", "f");
    outOfLine.Write(); // not inline: not written
    FuncInfoBuilder inlined(cls, "void", "g");
    inlined.SetAccessType(ACCESS_PROTECTED);
    inlined.SetInline();
    inlined.SetBody("return;");
    inlined.Write();
    EXPECT_EQ("class X { int n;\nprotected: void g(){\nreturn;}}", s.Text());

    ClassInfo textOnly(N("Y"));
    EXPECT_EQ(nullptr, ClassInfoBuilder(textOnly).WriteChild(Str("x")));
}

TEST(ClassInfoBuilder, MemberVariablesAndBases)
{
    ClassInfoBuilder cls(Str("X"));
    MemberVarInfo* hidden = cls.AddMemberVar("int", "n", false);
    MemberVarInfo* shown = cls.AddMemberVar("Foo*", "p", true);
    EXPECT_EQ(ACCESS_PRIVATE, hidden->GetAccess());
    EXPECT_EQ(ACCESS_PUBLIC, shown->GetAccess());
    EXPECT_TRUE(shown->IsField());
    EXPECT_FALSE(shown->IsMethod());
    EXPECT_EQ(shown, shown->GetVarDeclInfo());
    EXPECT_EQ(shown->GetType(), shown->GetTypeInfo());
    EXPECT_EQ(shown->GetType(), shown->GetChild(0));
    cls.AddBase("A");
    cls.AddBase("A");
    EXPECT_EQ(2, cls.GetClass()->m_IsA.GetCount());
    EXPECT_EQ(0, cls.GetClass()->m_IsA[0]->GetChildCount());
}

TEST(Info, FilesAndPlainVariablesPrintTheirName)
{
    FileInfo file(N("Main.h"));
    VarDeclInfo var(N("v"));
    var.SetType(Type("int"));
    EXPECT_EQ("Main.h", S(file.AsString()));
    EXPECT_EQ("v", S(var.AsString()));
    Info* asInfo = &file;
    Str out;
    SourceCodePrinter::GetCurrent().Print(*asInfo, out);
    EXPECT_EQ("Main.h", S(out));
}

} // namespace
