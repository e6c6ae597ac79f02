#include "compose/LayerStack.h"
#include "compose/TransformedModule.h"

#include "base/StringArray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> List(StringArray const& names)
{
    std::vector<std::string> list;
    for (int i = 0; i < names.GetCount(); ++i)
        list.push_back(names[i].GetBuffer());
    return list;
}

} // namespace

TEST(LayerStackRegistry, NamesOfOtherClasses)
{
    LayerStack stack;
    TransformedModule foo(stack), bar(stack);
    stack.m_ComposedClasses["Foo"] = &foo;
    stack.m_ComposedClasses["Bar"] = &bar;
    StringArray generated;
    generated.Add("PlCreate");
    stack.AddGeneratedModules(generated);

    struct Case {
        char const* name;
        char const* own;
        bool other;
    } const cases[] = {
        {"Foo", "Bar", true},  {"Foo", "Foo", false}, {"CFoo", "Bar", true}, {"CFoo", "Foo", false},
        {"Baz", "Foo", false}, {"CBaz", "Foo", false}, {"C", "Foo", false},  {"PlCreate", "Foo", true},
    };
    for (Case const& c : cases)
        EXPECT_EQ(c.other, stack.IsOtherModuleName(c.name, Str(c.own))) << c.name << " in " << c.own;
    EXPECT_TRUE(stack.HasGeneratedClassReference("PlCreate"));
    EXPECT_FALSE(stack.HasGeneratedClassReference("Foo"));
    EXPECT_TRUE(stack.HasModule("Foo"));
    EXPECT_FALSE(stack.HasModule("CFoo"));
}

TEST(LayerStackRegistry, GeneratedNameIsReferencedOnlyWhenUsed)
{
    LayerStack stack;
    StringArray generated;
    generated.Add("PlCreate");
    stack.AddGeneratedModules(generated);
    EXPECT_FALSE(stack.HasGeneratedClassReference("PlCreate"));
    EXPECT_FALSE(stack.IsOtherModuleName("PlCreate", Str("PlCreate")));
    EXPECT_FALSE(stack.HasGeneratedClassReference("PlCreate"));
}

TEST(LayerStackRegistry, FileNamesOfIncludedClasses)
{
    LayerStack stack;
    TransformedModule foo(stack), broken(stack);
    broken.SetHasError(true);
    stack.m_ComposedClasses["Foo"] = &foo;
    stack.m_ComposedClasses["Broken"] = &broken;
    StringArray generated;
    generated.Add("PlCreate");
    stack.AddGeneratedModules(generated);

    StringArray names, out;
    for (char const* name : {"Foo", "CFoo", "Broken", "CBroken", "PlCreate", "vector", "CX"})
        names.Add(name);
    stack.GetFileNamesFromModuleNames(names, out);
    EXPECT_EQ((std::vector<std::string>{"Foo", "Foo", "Broken", "PlCreate", "vector", "CX"}), List(out));
}
