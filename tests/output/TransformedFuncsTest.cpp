// Signature keys, old and new names, and the method counts of the
// bookkeeping of transformed functions, over parsed classes.
#include "output/TransformedFuncs.h"

#include "../parser/Parsed.h"

#include <gtest/gtest.h>

#include <string>

namespace {

NodeFuncDecl* Decl(Parsed& p, char const* name)
{
    for (int i = 0; i < p.tu->m_FuncDecls.GetCount(); ++i) {
        NodeFuncDecl* decl = p.tu->m_FuncDecls[i];
        if (decl->GetInfo() && std::string(decl->GetInfo()->GetStrName().GetBuffer()) == name)
            return decl;
    }
    return nullptr;
}

std::string Key(Parsed& p, char const* name)
{
    NodeFuncDecl* decl = Decl(p, name);
    return decl ? TransformedFuncs::GetFuncName(*decl->GetInfo()).GetBuffer() : "<none>";
}

// Records every declaration of the unit under its own key.
void AddAll(Parsed& p, TransformedFuncs& funcs)
{
    for (int i = 0; i < p.tu->m_FuncDecls.GetCount(); ++i) {
        NodeFuncDecl* decl = p.tu->m_FuncDecls[i];
        if (decl->GetInfo()->GetDecl() != decl)
            continue;
        Str key = TransformedFuncs::GetFuncName(*decl->GetInfo());
        funcs.Add(key, key, *decl);
    }
}

} // namespace

TEST(TransformedFuncs, SignatureKeys)
{
    Parsed p("class Stack {\n"
             "public:\n"
             "    Stack(int n) {}\n"
             "    ~Stack() {}\n"
             "    void push(int x, char* name) {}\n"
             "    int top() const { return 0; }\n"
             "};\n");
    ASSERT_TRUE(p.tu);
    EXPECT_EQ("Stack(int)", Key(p, "Stack"));
    EXPECT_EQ("~Stack()", Key(p, "~Stack"));
    EXPECT_EQ("push(int, char*)", Key(p, "push"));
    // Overloads may differ in their qualifiers alone.
    EXPECT_EQ("top() const", Key(p, "top"));

    FuncInfo textOnly(Name::GetName("f"));
    EXPECT_STREQ("f(NULL)", TransformedFuncs::GetFuncName(textOnly).GetBuffer());
    textOnly.m_AopType = AOPInfo::AOP_POINTCUT;
    EXPECT_STREQ("pointcut f(NULL)", TransformedFuncs::GetFuncName(textOnly).GetBuffer());
    textOnly.m_AopType = AOPInfo::AOP_ADVICE;
    EXPECT_STREQ("advice f(NULL)", TransformedFuncs::GetFuncName(textOnly).GetBuffer());
}

TEST(TransformedFuncs, OldAndNewKeys)
{
    Parsed p("class A {\n    void f(int a) {}\n    void g() {}\n};\n");
    ASSERT_TRUE(p.tu);
    NodeFuncDecl* f = Decl(p, "f");
    NodeFuncDecl* g = Decl(p, "g");
    ASSERT_TRUE(f && g);

    TransformedFuncs funcs;
    EXPECT_FALSE(funcs.HasTransformed("f(int)"));
    EXPECT_EQ(nullptr, funcs.Get(*f->GetInfo()));

    funcs.Add("f(int)", "L0_f(int)", *f);
    EXPECT_TRUE(funcs.HasTransformed("L0_f(int)"));
    EXPECT_FALSE(funcs.HasTransformed("f(int)"));
    EXPECT_EQ(f, funcs.GetTransformed("L0_f(int)"));
    EXPECT_EQ(f, funcs.Get(*f->GetInfo()));
    EXPECT_TRUE(funcs.Has(*f));
    EXPECT_FALSE(funcs.Has(*g));

    // The same keys again keep one entry each, holding the last declaration.
    funcs.Add("f(int)", "L0_f(int)", *g);
    EXPECT_EQ(g, funcs.GetTransformed("L0_f(int)"));
    EXPECT_EQ(g, funcs.Get(*f->GetInfo()));
    EXPECT_EQ(2, funcs.GetTransformedCount());

    // GetName: the old key of a key given after renaming.
    f->Rename("L0_f");
    Str oldName, key;
    funcs.GetName(*f->GetInfo(), oldName, key);
    EXPECT_STREQ("L0_f(int)", key.GetBuffer());
    EXPECT_STREQ("f(int)", oldName.GetBuffer());
    funcs.GetName(*g->GetInfo(), oldName, key);
    EXPECT_STREQ("g()", key.GetBuffer());
    EXPECT_STREQ("", oldName.GetBuffer());
}

TEST(TransformedFuncs, MethodCounts)
{
    Parsed p("class A {\n"
             "public:\n"
             "    A() {}\n"
             "    virtual void v() {}\n"
             "    void plain() {}\n"
             "    void declared();\n"
             "    static int s() { return 1; }\n"
             "};\n"
             "void A::declared() {}\n");
    ASSERT_TRUE(p.tu);

    int m = 0, mi = 0, e = 0, ei = 0;
    TransformedFuncs empty;
    empty.GetMethodCount(m, mi, e, ei);
    EXPECT_EQ(0, m + mi + e + ei);

    TransformedFuncs funcs;
    AddAll(p, funcs);
    m = 10, mi = 20, e = 30, ei = 40; // the counts are added
    funcs.GetMethodCount(m, mi, e, ei);
    // Five methods; inlined are plain() and s(): the constructor, the
    // virtual method and the method defined after the class are not.
    EXPECT_EQ(15, m);
    EXPECT_EQ(22, mi);
    EXPECT_EQ(30, e);
    EXPECT_EQ(40, ei);
}

TEST(TransformedFuncs, ExtensionsOfOtherModulesAreNotInlinedWithoutModules)
{
    Parsed lower("class A {\n    void f() {}\n};\n", "L0/A.h");
    Parsed upper("class A {\n    void f() {}\n};\n", "L1/A.h");
    ASSERT_TRUE(lower.tu && upper.tu);
    FuncInfo* refined = Decl(lower, "f")->GetInfo();
    FuncInfo* refining = Decl(upper, "f")->GetInfo();
    refining->m_pRefined = refined;

    TransformedFuncs funcs;
    AddAll(upper, funcs);
    int m = 0, mi = 0, e = 0, ei = 0;
    funcs.GetMethodCount(m, mi, e, ei);
    // Without feature modules the layers' binding units are unknown.
    EXPECT_EQ(1, m);
    EXPECT_EQ(0, mi);
    EXPECT_EQ(1, e);
    EXPECT_EQ(0, ei);
    EXPECT_FALSE(TransformedFuncs::IsInlined(nullptr, refined));
}
