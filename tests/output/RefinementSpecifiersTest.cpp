// The default argument a renamed version hands up to the highest version:
// it ends at its own parameter's comma or at the list's `)`, whatever
// brackets and template arguments it holds.
#include "output/RefinementSpecifiers.h"

#include "output/FuncHeadTokens.h"

#include "../parser/Parsed.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The default arguments of f's parameters in "class A { void f(params); };",
// joined by "|"; "-" for a parameter without one.
std::string Defaults(char const* params)
{
    std::string text = std::string("class A { void f(") + params + "); };";
    Parsed p(text.c_str());
    NodeFuncDecl* decl = p.tu && p.tu->m_FuncDecls.GetCount() ? p.tu->m_FuncDecls[0] : nullptr;
    if (!decl)
        return "no declaration";
    std::string out;
    Array<Lex::Token*> names = FuncHeadTokens::ParamNames(*decl);
    for (int i = 0; i < names.GetCount(); ++i) {
        Str value = names[i] ? RefinementSpecifiers::DefaultArgument(*names[i]) : Str();
        out += i ? "|" : "";
        out += value.IsEmpty() ? "-" : value.GetBuffer();
    }
    return out;
}

TEST(RefinementSpecifiers, DefaultArgumentEndsAtItsOwnParameter)
{
    struct Case {
        char const* params;
        char const* defaults;
    } const cases[] = {
        {"int a = 1, int b", " 1|-"},
        {"int a = f(1, 2), int b = 3", " f(1, 2)| 3"},
        {"std::less<int> c = std::less<int>(), int d = 0", " std::less<int>()| 0"},
        {"std::map<int, int> m = std::map<int, int>{}, int d = 1", " std::map<int, int>{}| 1"},
        {"std::vector<std::vector<int>> v = std::vector<std::vector<int>>(), int d = 2",
         " std::vector<std::vector<int>>()| 2"},
        {"int s = (8 >> 1), int t = {4}", " (8 >> 1)| {4}"},
        {"char c = ',', int a = 0", " ','| 0"},
    };
    for (auto const& c : cases)
        EXPECT_EQ(c.defaults, Defaults(c.params)) << c.params;
}

} // namespace
