// The helpers that the transformations use to build generated names and
// chain calls.
#include "output/BaseTransform.h"

#include "../parser/Parsed.h"

#include <gtest/gtest.h>

#include <string>

namespace {

NodeFuncDecl* FirstDecl(Parsed& p)
{
    return p.tu && p.tu->m_FuncDecls.GetCount() ? p.tu->m_FuncDecls[0] : nullptr;
}

} // namespace

TEST(BaseTransform, TransformedLayerNames)
{
    struct Case {
        char const* layer;
        char const* name;
    } const cases[] = {
        {"base", "base"},           {"base.core", "base_core"}, {"lib/base.sub", "lib_base_sub"},
        {"my-layer", "my_layer"},   {"L 2", "L_2"},             {"", ""},
    };
    for (Case const& c : cases)
        EXPECT_STREQ(c.name, BaseTransform::GetTransformedLayerName(c.layer).GetBuffer()) << c.layer;
    EXPECT_STREQ("", BaseTransform::GetTransformedLayerName(nullptr).GetBuffer());
}

TEST(BaseTransform, ParametersForChainCalls)
{
    struct Case {
        char const* source;
        bool hasParams;
        bool unnamed;
    } const cases[] = {
        {"class A { void f(); };", false, false},
        {"class A { void f(void); };", false, false},
        {"class A { void f(int a, char* b); };", true, false},
        {"class A { void f(int); };", true, true},
        {"class A { void f(int a, int); };", true, true},
    };
    for (Case const& c : cases) {
        Parsed p(c.source);
        NodeFuncDecl* decl = FirstDecl(p);
        ASSERT_TRUE(decl && decl->GetParams()) << c.source;
        EXPECT_EQ(c.hasParams, BaseTransform::HasParams(*decl->GetParams())) << c.source;
        EXPECT_EQ(c.unnamed, BaseTransform::HasUnnamedParams(*decl->GetParams())) << c.source;
    }
}

TEST(BaseTransform, OperatorFunctions)
{
    struct Case {
        char const* source;
        bool isOperator;
    } const cases[] = {
        {"class A { A& operator+=(int k); };", true},
        {"class A { bool operator==(A const& o) const; };", true},
        {"class A { operator bool() const; };", true},
        {"class A { int operatorCount(); };", false},
        {"class A { int f(); };", false},
    };
    for (Case const& c : cases) {
        Parsed p(c.source);
        NodeFuncDecl* decl = FirstDecl(p);
        ASSERT_TRUE(decl && decl->GetInfo()) << c.source;
        EXPECT_EQ(c.isOperator, BaseTransform::IsOperatorFunction(*decl->GetInfo())) << c.source;
    }
}
