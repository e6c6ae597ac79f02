#include "output/ModuleIncludes.h"

#include "compose/LayerStack.h"
#include "output/OutFile.h"

#include "OptionGuard.h"
#include "../compose/ComposedLine.h"
#include "../scanner/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testutil::ReadFile;

std::string Joined(StringArray const& list)
{
    std::string text;
    for (int i = 0; i < list.GetCount(); ++i)
        text += std::string(i ? " " : "") + list[i].GetBuffer();
    return text;
}

void Fill(StringSet& set, std::initializer_list<char const*> names)
{
    for (char const* name : names)
        set.Add(name);
}

TEST(ModuleIncludesTest, IncludeWinsOverForwardAndForwardOverOther)
{
    LayerStack stack;
    StringSet other, forward, include;
    Fill(include, {"C"});
    Fill(forward, {"B", "C"});
    Fill(other, {"B", "C", "F"});
    ModuleIncludes includes;
    includes.InitIncludesAndForwards(other, forward, include, stack);
    EXPECT_EQ("C", Joined(includes.m_HeaderIncludes));
    EXPECT_EQ("B", Joined(includes.m_Forwards));
    EXPECT_EQ("B F", Joined(includes.m_CppIncludes));
    EXPECT_EQ(&stack, includes.m_pLayerStack);

    ModuleIncludes::AddInclude(includes.m_HeaderIncludes, "C");
    ModuleIncludes::AddInclude(includes.m_HeaderIncludes, "D");
    EXPECT_EQ("C D", Joined(includes.m_HeaderIncludes));
}

TEST(ModuleIncludesTest, HeaderAndImplementationFrames)
{
    testutil::TempFolder folder;
    testutil::OptionGuard options(false, "N");
    LayerStack stack;
    ModuleIncludes includes;
    includes.m_HeaderIncludes.Add("Base");
    includes.m_HeaderIncludes.Add("Types.h");
    includes.m_Forwards.Add("Other");
    includes.m_CppIncludes.Add("Other");

    std::string header = folder.path("X.h");
    {
        OutFile file(header.c_str());
        includes.WriteIncludes(file, includes.m_HeaderIncludes); // no layer stack yet: nothing
        StringSet none;
        includes.InitIncludesAndForwards(none, none, none, stack);
        includes.WriteHeaderIncludes(file);
        EXPECT_TRUE(file.IsNameSpaceOpen());
    }
    EXPECT_EQ("#include \"Base.h\"\n#include \"Types.h\"\nnamespace N{\nclass Other;\n", ReadFile(header));

    std::string impl = folder.path("X.cpp");
    {
        OutFile file(impl.c_str());
        includes.WriteCppIncludes(file);
    }
    EXPECT_EQ("#include \"Other.h\"\nusing namespace N;\n", ReadFile(impl));
}

// A class named in the code inside the class body other than as a pointer
// or reference type, or whose members that code reaches through a pointer or
// reference, is included by the header; else it is declared ahead.
TEST(ModuleIncludesTest, InlineCodeThatNeedsTheClassIncludesIt)
{
    struct Case {
        char const* body;
        bool included;
    } const cases[] = {
        {"  B* p;\n  int f() { return p->g(); }\n", true},
        {"  int f(B& b) { return b.g(); }\n", true},
        {"  int f(const B* b) { return b->g(); }\n", true},
        {"  int f() { return B::s(); }\n", true},
        {"  B* p;\n  void f(int* q) { use(p); q->x(); }\n", false},
        {"  B* make() { return nullptr; }\n", false},
        {"  void f(B* b) { B* c = b; use(c); }\n", false},
        {"  B* p;\n  int f();\n", false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.body);
        testutil::ComposedLine line;
        Layer& l1 = line.AddLayer("L1");
        line.AddModule(l1, "B.h", "class B {\npublic:\n  int g() { return 1; }\n  static int s() { return 2; }\n};\n");
        line.AddModule(l1, "Foo.h", std::string("class Foo {\npublic:\n") + c.body + "};\n");
        ASSERT_TRUE(line.Run()) << line.out;
        std::string header = ReadFile(line.tmp.path("out/Foo.h"));
        EXPECT_EQ(c.included, header.find("#include \"B.h\"") != std::string::npos) << header;
        EXPECT_EQ(!c.included, header.find("class B;") != std::string::npos) << header;
    }
}

} // namespace
