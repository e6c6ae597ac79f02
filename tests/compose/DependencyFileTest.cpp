// The dependency file of a composed class: what is written and read back,
// the transitive declaration dependencies with their recursion guard, and
// the touch step that marks the dependants of a changed header.
#include "compose/TransformedModule.h"

#include "../Captured.h"
#include "ComposedLine.h"

#include "compose/FopParseProject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using testutil::ComposedLine;
using testutil::ReadFile;

namespace {

using Names = std::vector<std::string>;

Names Sorted(StringSet const& set)
{
    Names names;
    for (auto* entry = set.GetFirst(); entry; entry = set.GetNext(entry))
        names.push_back(entry->GetKey().GetBuffer());
    std::sort(names.begin(), names.end());
    return names;
}

int Count(std::string const& text, std::string const& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

time_t MTime(std::string const& path)
{
    struct stat record;
    return ::stat(path.c_str(), &record) == 0 ? record.st_mtime : 0;
}

// A line with one class Foo whose output folder is out/.
struct FooLine {
    FooLine()
    {
        line.tmp.folder("out");
        layer = &line.AddLayer("L1");
    }
    // The class, created with its module; it reads out/Foo.dep then.
    TransformedModule& Foo()
    {
        if (!module)
            module = &line.AddModule(*layer, "Foo.h", "class Foo { };\n");
        return *line.Class("Foo");
    }
    std::string Dep() { return ReadFile(line.tmp.path("out/Foo.dep")); }
    std::string Source() { return line.tmp.path("L1/Foo.h"); }

    ComposedLine line;
    Layer* layer = nullptr;
    FOPModule* module = nullptr;
};

// Project settings of a test that runs a second, incremental composition.
class IncrementalRun {
public:
    IncrementalRun() : m_project(*FopParseProject::GetInstance()), m_rebuild(m_project.m_bRebuild)
    {
        m_project.m_bRebuild = false;
    }
    ~IncrementalRun() { m_project.m_bRebuild = m_rebuild; }

private:
    FopParseProject& m_project;
    bool m_rebuild;
};

} // namespace

TEST(DependencyFile, WrittenInSetOrderWithoutTheOwnName)
{
    struct Case {
        char const* what;
        Names decl;
        Names impl;
    } const cases[] = {
        {"both kinds", {"Alpha", "Beta", "Gamma"}, {"Delta", "Epsilon"}},
        {"own name in both sets", {"Foo", "Bar"}, {"Foo", "Baz"}},
        {"a name in both sets", {"Both"}, {"Both"}},
        {"only own names", {"Foo"}, {"Foo"}},
        {"nothing", {}, {}},
        {"names that differ from the own name by case or prefix", {"foo", "Foo2"}, {"CFoo"}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        FooLine foo;
        TransformedModule& cls = foo.Foo();
        for (auto const& name : c.decl)
            cls.GetDeclDependencyNames().Add(name.c_str());
        for (auto const& name : c.impl)
            cls.GetImplDependencyNames().Add(name.c_str());
        cls.SaveDependencies();

        // Declaration lines, then implementation lines, each in the set's
        // own order; then the record of the module files.
        std::string expected;
        for (auto* e = cls.GetDeclDependencyNames().GetFirst(); e; e = cls.GetDeclDependencyNames().GetNext(e))
            if (e->GetKey() != "Foo")
                expected += "decl:" + std::string(e->GetKey().GetBuffer()) + "\n";
        for (auto* e = cls.GetImplDependencyNames().GetFirst(); e; e = cls.GetImplDependencyNames().GetNext(e))
            if (e->GetKey() != "Foo")
                expected += "impl:" + std::string(e->GetKey().GetBuffer()) + "\n";
        expected += "src:" + foo.Source() + "\n";
        EXPECT_EQ(expected, foo.Dep());

        // Read back by the next run's class: the same names, less its own.
        TransformedModule again(foo.line.stack, *foo.module);
        Names decl, impl;
        for (auto const& name : c.decl)
            if (name != "Foo")
                decl.push_back(name);
        for (auto const& name : c.impl)
            if (name != "Foo")
                impl.push_back(name);
        std::sort(decl.begin(), decl.end());
        std::sort(impl.begin(), impl.end());
        EXPECT_EQ(decl, Sorted(again.GetDeclDependencyNames()));
        EXPECT_EQ(impl, Sorted(again.GetImplDependencyNames()));
        ASSERT_EQ(1, again.GetRecordedSources().GetCount());
        EXPECT_EQ(foo.Source(), again.GetRecordedSources()[0].GetBuffer());
    }
}

TEST(DependencyFile, ReadBackTolerantly)
{
    struct Case {
        char const* what;
        std::string text;
        Names decl;
        Names impl;
    } const cases[] = {
        {"decl, impl, a bare line, an empty last line", "decl:A\nimpl:B\nC\n", {"A", "C"}, {"B"}},
        {"\\r\\n line ends", "decl:A\r\nimpl:B\r\nC\r\n", {"A", "C"}, {"B"}},
        {"several \\r and no last line end", "decl:A\r\r\nimpl:B\r", {"A"}, {"B"}},
        {"empty lines are skipped", "\n\ndecl:A\n\n\n", {"A"}, {}},
        {"bare prefixes give the empty name", "decl:\nimpl:\n", {""}, {""}},
        {"prefixes are case-sensitive", "Decl:A\nIMPL:B\n", {"Decl:A", "IMPL:B"}, {}},
        {"short lines are names", "ab\nimpl\n", {"ab", "impl"}, {}},
        {"a name stays once", "decl:A\nA\ndecl:A\nimpl:A\nimpl:A\n", {"A"}, {"A"}},
        {"the own name is kept when reading", "decl:Foo\nimpl:Foo\n", {"Foo"}, {"Foo"}},
        {"source records are no names", "src:/x/Foo.h\nmixin:M:/x/M.h\nmixin:broken\nfwd:class Foo;\n", {}, {}},
        {"an empty file", "", {}, {}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        FooLine foo;
        foo.line.tmp.file("out/Foo.dep", c.text);
        TransformedModule& cls = foo.Foo();
        EXPECT_EQ(c.decl, Sorted(cls.GetDeclDependencyNames()));
        EXPECT_EQ(c.impl, Sorted(cls.GetImplDependencyNames()));
    }

    // No file, or a folder in its place: nothing, and no message.
    for (bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "a folder" : "no file");
        FooLine foo;
        if (folder)
            foo.line.tmp.folder("out/Foo.dep");
        testutil::Captured captured;
        TransformedModule& cls = foo.Foo();
        EXPECT_EQ("", captured.All());
        EXPECT_EQ(0, cls.GetDeclDependencyNames().GetCount());
        EXPECT_EQ(0, cls.GetImplDependencyNames().GetCount());
        EXPECT_FALSE(cls.HasSourceRecord());
    }
}

// A composed class enters what its outputs include: a class held by value
// is included by the header, a class held by pointer only by the
// implementation file, and the implementation's include of its own header
// leaves no line.
TEST(DependencyFile, ComposedClassRecordsWhatItsOutputsInclude)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    line.AddModule(l1, "Bar.h", "class Bar { };\n");
    line.AddModule(l1, "Baz.h", "class Baz { };\n");
    line.AddModule(l1, "Foo.h", "class Foo {\n  Bar bar;\n  Baz* baz;\n  int f();\n};\nint Foo::f() { return 1; }\n");
    ASSERT_TRUE(line.Run()) << line.out;
    EXPECT_EQ("decl:Bar\nimpl:Baz\nsrc:" + line.tmp.path("L1/Foo.h") + "\nfwd:class Foo;\n",
              ReadFile(line.tmp.path("out/Foo.dep")));
    EXPECT_EQ("src:" + line.tmp.path("L1/Bar.h") + "\nfwd:class Bar;\n", ReadFile(line.tmp.path("out/Bar.dep")));
}

// Every saved class records its module files, so its file is always
// written and replaces the last run's, whose names then no longer hold. A
// class that is not saved leaves an old file that records no module files
// in place, and reads its names again.
TEST(DependencyFile, SavedClassReplacesTheOldFileOthersKeepIt)
{
    ComposedLine line;
    line.tmp.folder("out");
    line.tmp.file("out/Foo.dep", "decl:Stale\nimpl:Gone\n");
    line.tmp.file("out/Bar.dep", "decl:Kept\n");
    Layer& l1 = line.AddLayer("L1");
    line.AddModule(l1, "Foo.h", "class Foo { };\n");
    line.AddModule(l1, "Bar.h", "refines class Bar { };\n"); // never transformed
    ASSERT_TRUE(line.Run()) << line.out;
    EXPECT_TRUE(line.Class("Foo")->IsTransformed());
    EXPECT_EQ("src:" + line.tmp.path("L1/Foo.h") + "\nfwd:class Foo;\n", ReadFile(line.tmp.path("out/Foo.dep")));
    EXPECT_EQ(0, line.Class("Foo")->GetDeclDependencyNames().GetCount());
    EXPECT_FALSE(line.Class("Bar")->IsTransformed());
    EXPECT_EQ("decl:Kept\n", ReadFile(line.tmp.path("out/Bar.dep")));
    EXPECT_TRUE(line.Class("Bar")->Depends(Str("Kept")));
}

TEST(DependencyFile, AFileThatCannotBeWrittenIsReported)
{
    FooLine foo;
    foo.line.tmp.folder("out/Foo.dep");
    TransformedModule& cls = foo.Foo();
    cls.GetDeclDependencyNames().Add("Bar");
    testutil::Captured captured;
    cls.SaveDependencies();
    std::string out = captured.All();
    EXPECT_EQ(foo.line.tmp.path("out/Foo.dep") + " : error: could not write to file\n", out);
}

// Declaration dependencies that lead back to a class: each class that is
// reached while its own computation runs is reported once, the
// computation ends, and every class of a cycle reaches itself.
TEST(DependencyFile, RecursiveDeclarationDependencies)
{
    struct Case {
        char const* what;
        std::vector<std::pair<char const*, Names>> decl; // class -> names; the first class is asked
        std::string errors;
        Names reachedByFirst;
    } const cases[] = {
        {"two headers including each other", {{"X", {"Y"}}, {"Y", {"X"}}},
         "X : error: there is a recursive dependency\n", {"X", "Y"}},
        {"a class reached back through two cycles", {{"X", {"Y", "W"}}, {"Y", {"X"}}, {"W", {"X"}}},
         "X : error: there is a recursive dependency\n", {"W", "X", "Y"}},
        {"a class naming itself is no cycle", {{"X", {"X", "Y"}}, {"Y", {}}}, "", {"Y"}},
        {"a chain of three closed by the last", {{"X", {"Y"}}, {"Y", {"Z"}}, {"Z", {"X", "Q"}}},
         "X : error: there is a recursive dependency\n", {"X", "Y", "Z"}},
        {"no cycle: a name of no class is skipped", {{"X", {"Y", "Q"}}, {"Y", {"Z"}}, {"Z", {}}},
         "", {"Y", "Z"}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        LayerStack stack;
        std::vector<std::unique_ptr<TransformedModule>> classes;
        for (auto const& entry : c.decl) {
            classes.emplace_back(new TransformedModule(stack));
            TransformedModule& cls = *classes.back();
            cls.SetName(entry.first);
            cls.SetNoOutDir(false);
            stack.m_ComposedClasses[entry.first] = &cls;
            for (auto const& name : entry.second)
                cls.GetDeclDependencyNames().Add(name.c_str());
        }
        TransformedModule& first = *classes.front();
        testutil::Captured captured;
        EXPECT_FALSE(first.DependensOnChangedModule());
        // Asking every class again reports nothing new.
        for (auto& cls : classes)
            EXPECT_FALSE(cls->DependensOnChangedModule());
        EXPECT_EQ(c.errors, captured.All());

        Names reached;
        Set<TransformedModule*>& indirect = first.GetIndirectDeclDependencies();
        for (auto* e = indirect.GetFirst(); e; e = indirect.GetNext(e))
            reached.push_back(e->GetKey()->GetName().GetBuffer());
        std::sort(reached.begin(), reached.end());
        EXPECT_EQ(c.reachedByFirst, reached);
        for (auto& cls : classes)
            EXPECT_TRUE(cls->IsIndirectDeclDone()) << cls->GetName();
    }
}

// Z's header changes in the second run. X's header includes Z's, Y's
// includes X's, U's implementation includes X's header; W depends on
// nothing. Only Z is recomposed; X, Y and U are touched and counted as
// dependent, their headers keep their times.
TEST(DependencyFile, TransitiveTouchOfDependants)
{
    IncrementalRun incremental;
    time_t const old = std::time(nullptr) - 100;
    struct Module {
        char const* file;
        char const* first;
    } const modules[] = {
        {"Z.h", "class Z {\npublic:\n  int z;\n};\n"},
        {"X.h", "class X {\npublic:\n  Z z;\n  int f();\n};\nint X::f() { return 1; }\n"},
        {"Y.h", "class Y {\npublic:\n  X x;\n  int g();\n};\nint Y::g() { return 2; }\n"},
        {"U.h", "class U {\npublic:\n  X* x;\n  int h();\n};\nint U::h() { return 3; }\n"},
        {"W.h", "class W {\npublic:\n  int w();\n};\nint W::w() { return 4; }\n"},
    };
    ComposedLine first;
    Layer& l1 = first.AddLayer("L1");
    for (Module const& m : modules)
        first.AddModule(l1, m.file, m.first);
    ASSERT_TRUE(first.Run()) << first.out;
    EXPECT_EQ("decl:X\nsrc:" + first.tmp.path("L1/Y.h") + "\nfwd:class Y;\n", ReadFile(first.tmp.path("out/Y.dep")));
    for (char const* name : {"Z", "X", "Y", "U", "W"}) {
        ComposedLine::SetTime(first.tmp.path("L1/" + std::string(name) + ".h"), old);
        ComposedLine::SetTime(first.tmp.path("out/" + std::string(name) + ".h"), old);
        std::string impl = first.tmp.path("out/" + std::string(name) + ".cpp");
        if (MTime(impl))
            ComposedLine::SetTime(impl, old);
    }
    first.tmp.file("L1/Z.h", "class Z {\npublic:\n  int z;\n  int z2;\n};\n");
    ComposedLine::SetTime(first.tmp.path("L1/Z.h"), old + 10);

    ComposedLine next;
    next.stack.m_OutDir = first.stack.m_OutDir;
    next.configs.emplace_back(new LayerConfig(Str("L1")));
    Layer& again = *next.stack.NewLayer(*next.configs.back(), Str(first.tmp.path("L1").c_str()), nullptr);
    for (Module const& m : modules)
        again.AddModule(*next.project.AddFile(first.tmp.path(std::string("L1/") + m.file).c_str()));
    // The whole run of the stack: the touch step comes after saving, while
    // this run's output files are still known.
    time_t const start = std::time(nullptr);
    next.stack.PrepareParse();
    testutil::Captured captured;
    ASSERT_TRUE(next.stack.Parse(true));
    std::string out = captured.All();
    ASSERT_TRUE(next.Class("Z")->IsTransformed()) << out;
    for (char const* name : {"X", "Y", "U", "W"})
        ASSERT_FALSE(next.Class(name)->IsParsed()) << name;
    std::string base = first.tmp.path("out/");
    for (char const* name : {"X", "Y", "U"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(1, Count(out, "touch-dep: " + base + name + " (" + name + ")\n")) << out;
        EXPECT_GE(MTime(base + name + ".cpp"), start);
        EXPECT_EQ(old, MTime(base + name + ".h"));
    }
    EXPECT_EQ(0, Count(out, "(W)")) << out;
    EXPECT_EQ(0, Count(out, "(Z)")) << out;
    EXPECT_EQ(old, MTime(base + "W.cpp"));
    EXPECT_EQ(1, Count(out, "\n4 files generated (1 + 3 dependent)\n")) << out;
}
