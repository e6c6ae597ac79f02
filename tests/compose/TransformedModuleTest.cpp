#include "compose/TransformedModule.h"

#include "../Captured.h"
#include "ComposedLine.h"
#include "../base/VirtualDisk.h"

#include "base/ErrorLog.h"
#include "compose/FopParseProject.h"
#include "compose/TransformationUnit.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <string>
#include <vector>

using testutil::ComposedLine;
using testutil::ReadFile;

namespace {

using Names = std::vector<std::string>;

bool Contains(std::string const& text, std::string const& part)
{
    return text.find(part) != std::string::npos;
}

bool Exists(std::string const& path)
{
    struct stat record;
    return ::lstat(path.c_str(), &record) == 0;
}

// The layers of each unit's modules.
std::vector<Names> UnitLayers(TransformedModule& cls)
{
    std::vector<Names> units;
    for (int u = 0; u < cls.GetTransformations().GetCount(); ++u) {
        Names layers;
        TransformationUnit& unit = *cls.GetTransformations()[u];
        for (int i = 0; i < unit.m_Modules.GetCount(); ++i)
            layers.push_back(unit.m_Modules[i]->GetLayer()->m_PlainName.GetBuffer());
        units.push_back(layers);
    }
    return units;
}

} // namespace

TEST(TransformedModuleUnits, OneUnitForOneBindingUnit)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    Layer& l2 = line.AddLayer("L2");
    line.AddModule(l1, "Foo.h", "class Foo { };\n");
    line.AddModule(l2, "Foo.h", "refines class Foo { };\n");
    TransformedModule& cls = *line.Class("Foo");
    cls.PrepareParse();
    EXPECT_EQ((std::vector<Names>{{"L1", "L2"}}), UnitLayers(cls));
    EXPECT_STREQ("base", cls.GetTransformations()[0]->GetBindingUnitName());
    EXPECT_TRUE(cls.IsSingleBindingUnit());
    EXPECT_TRUE(cls.IsPureJampack());
    EXPECT_FALSE(cls.HasDynamicDelegation());
}

TEST(TransformedModuleUnits, OneUnitPerBindingUnitInOrderOfAppearance)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1 bindingunit A");
    Layer& l2 = line.AddLayer("L2 bindingunit B");
    Layer& l3 = line.AddLayer("L3 bindingunit A");
    FOPModule& m1 = line.AddModule(l1, "Foo.h", "class Foo { };\n");
    line.AddModule(l2, "Foo.h", "refines class Foo { };\n");
    FOPModule& m3 = line.AddModule(l3, "Foo.h", "refines class Foo { };\n");
    TransformedModule& cls = *line.Class("Foo");
    cls.PrepareParse();
    EXPECT_EQ((std::vector<Names>{{"L1", "L3"}, {"L2"}}), UnitLayers(cls));
    EXPECT_STREQ("A", cls.GetTransformations()[0]->GetBindingUnitName());
    EXPECT_STREQ("B", cls.GetTransformations()[1]->GetBindingUnitName());
    EXPECT_EQ(cls.GetTransformations()[0], m3.GetTransformationModule());
    EXPECT_FALSE(cls.IsSingleBindingUnit());
    EXPECT_FALSE(cls.IsPureJampack());
    EXPECT_TRUE(cls.HasDynamicDelegation());
    // The delegation object is named by the unit once the class is parsed.
    EXPECT_STREQ("Foo", m1.GetDelegationObjectName());
    ASSERT_TRUE(line.Parse("Foo"));
    EXPECT_STREQ("Foo__A", m1.GetDelegationObjectName());
    EXPECT_EQ(line.tmp.path("out/Foo__A.h"), std::string(m1.GetDeclFilePath().GetBuffer()));
}

TEST(TransformedModuleModules, ModuleReachedTwiceIsAddedOnce)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    line.AddModule(l1, "Foo.h", "class Foo { };\n");
    // The same folder as a second layer: the same module object.
    line.configs.emplace_back(new LayerConfig(Str("L1")));
    Layer& again = *line.stack.NewLayer(*line.configs.back(), Str(line.tmp.path("L1").c_str()), nullptr);
    again.AddModule(*line.project.AddFile(line.tmp.path("L1/Foo.h").c_str()));
    TransformedModule& cls = *line.Class("Foo");
    EXPECT_EQ(1, cls.GetModules().GetCount());
    EXPECT_EQ(nullptr, cls.GetModules()[0]->GetRefinedModule());
}

TEST(TransformedModuleModules, InsertAbove)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    Layer& l2 = line.AddLayer("L2");
    FOPModule& low = line.AddModule(l1, "Foo.h", "class Foo { };\n");
    FOPModule& other = line.AddModule(l1, "Bar.h", "class Bar { };\n");
    FOPModule& mixin = line.AddModule(l2, "Baz.h", "class Baz { };\n");
    TransformedModule& cls = *line.Class("Foo");
    EXPECT_FALSE(cls.InsertAbove(other, mixin));
    EXPECT_EQ(1, cls.GetModules().GetCount());
    EXPECT_TRUE(cls.InsertAbove(low, mixin));
    EXPECT_EQ(&mixin, cls.GetModules()[0]);
    EXPECT_EQ(&mixin, low.GetRefinedModule());
    EXPECT_EQ(&low, cls.GetFirstModule());
    EXPECT_EQ(&cls, mixin.GetTransformedClass());
}

TEST(TransformedModuleRun, FirstModuleRefinementIsAnError)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    line.AddModule(l1, "Foo.h", "refines class Foo { };\n");
    line.AddModule(l1, "Bar.h", "class Bar { };\n");
    ErrorLog::Reset();
    EXPECT_TRUE(line.Run());
    EXPECT_TRUE(Contains(line.out, "L1/Foo.h(1) : error: class Foo is not composed: its lowest module L1/Foo.h refines it, "
                                   "and no layer below introduces it\n"))
        << line.out;
    EXPECT_EQ(1, ErrorLog::GetErrorCount());
    ErrorLog::Reset();
    EXPECT_FALSE(line.Class("Foo")->IsTransformed());
    EXPECT_FALSE(Exists(line.tmp.path("out/Foo.h")));
    EXPECT_TRUE(Exists(line.tmp.path("out/Bar.h")));
}

TEST(TransformedModuleRun, ComposesAndRecordsItsSources)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    Layer& l2 = line.AddLayer("L2");
    line.AddModule(l1, "M.h", "class M {\npublic:\n  int m();\n};\n");
    line.AddModule(l1, "Foo.h", "class Foo {\npublic:\n  int f() { return 1; }\n};\n");
    line.AddModule(l2, "Foo.h", "refines class Foo : mixin M {\npublic:\n  int f() { return super::f() + 1; }\n};\n");
    ASSERT_TRUE(line.Run());
    std::string header = ReadFile(line.tmp.path("out/Foo.h"));
    EXPECT_TRUE(Contains(header, "class Foo")) << header;
    EXPECT_TRUE(Contains(header, "int m();")) << header;
    std::string dep = ReadFile(line.tmp.path("out/Foo.dep"));
    // The module files in class order, the mixin copy below its user.
    EXPECT_TRUE(Contains(dep, "src:" + line.tmp.path("L1/Foo.h") + "\nmixin:M:" + line.tmp.path("L1/M.h")
                                  + "\nsrc:" + line.tmp.path("L2/Foo.h") + "\n"))
        << dep;
    EXPECT_FALSE(Contains(dep, "decl:src")) << dep;
}

// The forward declaration follows the head that is written: its namespace
// blocks, class key and template head without default arguments.
TEST(TransformedModuleRun, ForwardDeclarationFollowsTheWrittenHead)
{
    struct Case {
        char const* what;
        char const* module;
        char const* forward;
    } const cases[] = {
        {"file scope", "class Foo { };\n", "class Foo;"},
        {"struct in nested blocks", "namespace a { namespace b {\nstruct Foo { };\n} }\n",
         "namespace a { namespace b { struct Foo; } }"},
        {"a::b block", "namespace a::b {\nstruct Foo { int i; };\n}\n", "namespace a::b { struct Foo; }"},
        {"inline block", "namespace a { inline namespace v1 {\nclass Foo { };\n} }\n",
         "namespace a { inline namespace v1 { class Foo; } }"},
        {"template defaults dropped", "template <class T = int, int N = (2 > 1), class U = std::pair<T, T>>\nclass Foo { };\n",
         "template <class T, int N, class U> class Foo;"},
        {"lowest mixin copy takes the class's key", "class Foo : mixin M { };\n", "class Foo;"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        ComposedLine line;
        Layer& l1 = line.AddLayer("L1");
        line.AddModule(l1, "M.h", "struct M { int m; };\n");
        line.AddModule(l1, "Foo.h", c.module);
        ASSERT_TRUE(line.Parse("Foo")) << line.out;
        EXPECT_EQ(c.forward, std::string(line.Class("Foo")->GetForwardDeclaration().GetBuffer()));
    }
}

TEST(TransformedModuleChangeDetection, TimesAndModuleSets)
{
    testutil::VirtualDisk disk;
    time_t const t = std::time(nullptr) - 100;
    struct Case {
        char const* what;
        time_t outputTime;
        time_t moduleTime;
        bool removeOutput;
        bool dropTop;     // the top module's file is gone
        bool addLayer;    // a new module with an old time
        bool changed;
    } const cases[] = {
        {"equal times", t, t, false, false, false, false},
        {"module one second newer", t, t + 1, false, false, false, true},
        {"module older", t, t - 50, false, false, false, false},
        {"no output", t, t - 50, true, false, false, true},
        {"module removed", t, t - 50, false, true, false, true},
        {"module added with an old time", t, t - 50, false, false, true, true},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        ComposedLine first;
        Layer& a1 = first.AddLayer("L1");
        Layer& a2 = first.AddLayer("L2");
        first.AddModule(a1, "Foo.h", "class Foo { };\n");
        first.AddModule(a2, "Foo.h", "refines class Foo { };\n");
        ASSERT_TRUE(first.Run()) << first.out;
        ASSERT_TRUE(Exists(first.tmp.path("out/Foo.h")));

        // The next run over the same folders.
        first.tmp.folder("L3");
        ComposedLine next;
        next.stack.m_OutDir = first.stack.m_OutDir;
        next.stack.m_SourceDir = first.stack.m_SourceDir;
        auto layer = [&](char const* name) -> Layer& {
            next.configs.emplace_back(new LayerConfig(Str(name)));
            return *next.stack.NewLayer(*next.configs.back(), Str(first.tmp.path(name).c_str()), nullptr);
        };
        Layer& b1 = layer("L1");
        Layer& b2 = layer("L2");
        Layer& b3 = layer("L3");
        b1.AddModule(*next.project.AddFile(first.tmp.path("L1/Foo.h").c_str()));
        if (!c.dropTop)
            b2.AddModule(*next.project.AddFile(first.tmp.path("L2/Foo.h").c_str()));
        if (c.addLayer) {
            std::string added = first.tmp.file("L3/Foo.h", "refines class Foo { };\n");
            disk.SetSeconds(added, c.moduleTime);
            b3.AddModule(*next.project.AddFile(added.c_str()));
        }
        disk.SetSeconds(first.tmp.path("out/Foo.h"), c.outputTime);
        disk.SetSeconds(first.tmp.path("L1/Foo.h"), c.moduleTime);
        disk.SetSeconds(first.tmp.path("L2/Foo.h"), c.moduleTime);
        if (c.removeOutput)
            ::remove(first.tmp.path("out/Foo.h").c_str());
        TransformedModule& cls = *next.Class("Foo");
        cls.PrepareParse();
        EXPECT_EQ(c.changed, cls.ChangedSinceLastTransform());
    }
}

TEST(TransformedModuleChangeDetection, AModuleSavedWhileTheRunReadsItIsComposedAgain)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    line.AddModule(l1, "Foo.h", "class Foo { };\n");
    line.AddModule(line.AddLayer("L2"), "Bar.h", "class Bar { };\n");
    // The modules were saved an hour ago: an output written now is newer
    // even where the file system's clock ticks coarsely.
    for (char const* module : {"L1/Foo.h", "L2/Bar.h"}) {
        timespec hourAgo[2];
        clock_gettime(CLOCK_REALTIME, &hourAgo[0]);
        hourAgo[0].tv_sec -= 3600;
        hourAgo[1] = hourAgo[0];
        ASSERT_EQ(0, ::utimensat(AT_FDCWD, line.tmp.path(module).c_str(), hourAgo, 0));
    }
    TransformedModule& foo = *line.Class("Foo");
    TransformedModule& bar = *line.Class("Bar");
    for (TransformedModule* cls : {&foo, &bar}) {
        cls->PrepareParse();
        ASSERT_TRUE(cls->Parse());
        ASSERT_TRUE(cls->Transform());
        cls->OnTransformEnd();
    }
    // Saved again after it was read, before the outputs are written.
    struct stat module;
    ASSERT_EQ(0, ::stat(line.tmp.path("L1/Foo.h").c_str(), &module));
    timespec later[2] = {module.st_mtim, module.st_mtim};
    later[0].tv_nsec = later[1].tv_nsec = (module.st_mtim.tv_nsec + 500) % 1000000000;
    if (later[1].tv_nsec < module.st_mtim.tv_nsec)
        later[0].tv_sec = ++later[1].tv_sec;
    ASSERT_EQ(0, ::utimensat(AT_FDCWD, line.tmp.path("L1/Foo.h").c_str(), later, 0));
    testutil::Captured captured;
    foo.SaveFiles();
    bar.SaveFiles();
    CodeGenerator::Get().CloseRemainingOpenFiles();

    // The next run compares the modules with the main outputs.
    auto mtime = [&](char const* name) {
        struct stat record;
        EXPECT_EQ(0, ::stat(line.tmp.path(name).c_str(), &record)) << name;
        return record.st_mtim.tv_sec * 1000000000LL + record.st_mtim.tv_nsec;
    };
    EXPECT_LT(mtime("out/Foo.h"), mtime("L1/Foo.h")) << "the edit would be lost";
    EXPECT_GT(mtime("out/Bar.h"), mtime("L2/Bar.h")) << "an unedited module's output keeps its time";
}

TEST(TransformedModuleChangeDetection, UnchangedClassIsNotParsed)
{
    testutil::VirtualDisk disk;
    FopParseProject* project = FopParseProject::GetInstance();
    bool rebuild = project->m_bRebuild;
    project->m_bRebuild = false;
    ComposedLine first;
    Layer& l1 = first.AddLayer("L1");
    first.AddModule(l1, "Foo.h", "class Foo { };\n");
    ASSERT_TRUE(first.Run());
    time_t t = std::time(nullptr) - 100;
    disk.SetSeconds(first.tmp.path("out/Foo.h"), t);
    disk.SetSeconds(first.tmp.path("L1/Foo.h"), t);

    ComposedLine next;
    next.stack.m_OutDir = first.stack.m_OutDir;
    next.configs.emplace_back(new LayerConfig(Str("L1")));
    Layer& again = *next.stack.NewLayer(*next.configs.back(), Str(first.tmp.path("L1").c_str()), nullptr);
    again.AddModule(*next.project.AddFile(first.tmp.path("L1/Foo.h").c_str()));
    EXPECT_TRUE(next.Parse("Foo"));
    EXPECT_EQ("", next.out);
    EXPECT_FALSE(next.Class("Foo")->IsParsed());
    project->m_bRebuild = rebuild;
}

TEST(TransformedModuleChangeDetection, EditedMixinRecomposesItsUser)
{
    testutil::VirtualDisk disk;
    time_t t = std::time(nullptr) - 100;
    ComposedLine first;
    Layer& l1 = first.AddLayer("L1");
    Layer& l2 = first.AddLayer("L2");
    first.AddModule(l1, "M.h", "class M { };\n");
    first.AddModule(l2, "C.h", "class C : mixin M { };\n");
    ASSERT_TRUE(first.Run()) << first.out;
    for (char const* file : {"out/C.h", "out/M.h", "L1/M.h", "L2/C.h"})
        disk.SetSeconds(first.tmp.path(file), t);

    for (bool edit : {false, true}) {
        SCOPED_TRACE(edit);
        if (edit)
            disk.SetSeconds(first.tmp.path("L1/M.h"), t + 5);
        ComposedLine next;
        next.stack.m_OutDir = first.stack.m_OutDir;
        for (char const* name : {"L1", "L2"}) {
            next.configs.emplace_back(new LayerConfig(Str(name)));
            next.stack.NewLayer(*next.configs.back(), Str(first.tmp.path(name).c_str()), nullptr);
        }
        next.stack[0]->AddModule(*next.project.AddFile(first.tmp.path("L1/M.h").c_str()));
        next.stack[1]->AddModule(*next.project.AddFile(first.tmp.path("L2/C.h").c_str()));
        TransformedModule& c = *next.Class("C");
        c.PrepareParse();
        EXPECT_EQ(edit, c.ChangedSinceLastTransform());
    }
}

TEST(TransformedModuleOutDir, FolderThatCannotBeCreated)
{
    ComposedLine line("blocker/out");
    line.tmp.file("blocker", "a file where a folder should be");
    Layer& l1 = line.AddLayer("L1");
    line.AddModule(l1, "Foo.h", "class Foo { };\n");
    line.AddModule(l1, "Bar.h", "class Bar { };\n");
    TransformedModule& cls = *line.Class("Foo");
    EXPECT_FALSE(cls.HasOutDir());
    EXPECT_EQ(0, cls.GetDestFileTime());
    EXPECT_TRUE(line.Run());
    EXPECT_TRUE(Contains(line.out, "error: cannot create output folder " + line.tmp.path("blocker/out")))
        << line.out;
    EXPECT_EQ(line.out.find("cannot create"), line.out.rfind("cannot create")) << "reported once: " << line.out;
    EXPECT_TRUE(cls.IsParsed());
    EXPECT_FALSE(cls.IsTransformed());
    EXPECT_EQ("a file where a folder should be", ReadFile(line.tmp.path("blocker")));
}

TEST(TransformedModuleOutDir, FolderFreedBeforeTheClassIsWritten)
{
    // What stood in the way at set-up is gone (a full rebuild cleaned it).
    ComposedLine line("out/unit");
    line.tmp.folder("out");
    line.tmp.file("out/unit", "old");
    Layer& l1 = line.AddLayer("L1");
    line.AddModule(l1, "Foo.h", "class Foo { };\n");
    ::remove(line.tmp.path("out/unit").c_str());
    EXPECT_TRUE(line.Run());
    EXPECT_FALSE(Contains(line.out, "cannot create")) << line.out;
    EXPECT_TRUE(Exists(line.tmp.path("out/unit/Foo.h")));
}

TEST(TransformedModuleOutDir, NothingIsWrittenWithoutAnOutputFolder)
{
    ComposedLine line;
    line.stack.m_OutDir = "";
    Layer& l1 = line.AddLayer("L1");
    line.AddModule(l1, "Zq9Foo.h", "class Zq9Foo { };\n");
    TransformedModule& cls = *line.Class("Zq9Foo");
    EXPECT_TRUE(cls.GetDestDir().IsEmpty());
    EXPECT_TRUE(line.Run());
    EXPECT_TRUE(Contains(line.out, "cannot create output folder")) << line.out;
    EXPECT_FALSE(cls.IsTransformed());
    EXPECT_FALSE(Exists("/Zq9Foo.h"));
    EXPECT_FALSE(Exists("/Zq9Foo.dep"));
}

TEST(TransformedModuleOutDir, CreatedWithParentsAndAbsolute)
{
    ComposedLine line("a/b/../c/out");
    Layer& l1 = line.AddLayer("L1");
    line.AddModule(l1, "Foo.h", "class Foo { };\n");
    TransformedModule& cls = *line.Class("Foo");
    EXPECT_EQ(line.tmp.path("a/c/out/"), std::string(cls.GetDestDir().GetBuffer()));
    EXPECT_EQ(line.tmp.path("a/c/out/Foo"), std::string(cls.GetDestBase().GetBuffer()));
}

TEST(TransformedModuleDependencies, ReadsTheLastRunsFile)
{
    ComposedLine line;
    line.tmp.folder("out");
    line.tmp.file("out/Foo.dep", "decl:A\r\nimpl:B\r\nC\r\nsrc:/x/Foo.h\nmixin:M:/x/M.h\n\n");
    Layer& l1 = line.AddLayer("L1");
    line.AddModule(l1, "Foo.h", "class Foo { };\n");
    TransformedModule& cls = *line.Class("Foo");
    EXPECT_TRUE(cls.GetDeclDependencyNames().Contains("A"));
    EXPECT_TRUE(cls.GetDeclDependencyNames().Contains("C"));
    EXPECT_EQ(2, cls.GetDeclDependencyNames().GetCount());
    EXPECT_TRUE(cls.GetImplDependencyNames().Contains("B"));
    EXPECT_EQ(1, cls.GetImplDependencyNames().GetCount());
    ASSERT_EQ(1, cls.GetRecordedSources().GetCount());
    EXPECT_STREQ("/x/Foo.h", cls.GetRecordedSources()[0]);
    ASSERT_TRUE(cls.GetRecordedMixins().Find("M"));
    // The recorded module is not this run's module.
    cls.PrepareParse();
    EXPECT_TRUE(cls.HasModuleSetChanged());
}

TEST(TransformedModuleMembers, FieldsByValueRecordAccesses)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    line.AddModule(l1, "B.h", "class B { };\n");
    line.AddModule(l1, "C.h", "class C { };\n");
    line.AddModule(l1, "D.h", "class D { };\n");
    line.AddModule(l1, "A.h", "class A {\n  B b;\n  B b2;\n  C* c;\n  D& d;\n  int n;\n  void f();\n};\n");
    ASSERT_TRUE(line.Parse("A"));
    TransformedModule& a = *line.Class("A");
    EXPECT_EQ(1, a.GetAccessNode().m_Accessed.GetCount());
    EXPECT_TRUE(a.GetAccessNode().m_Accessed.Contains(line.Class("B")));
    EXPECT_TRUE(line.Class("B")->GetAccessNode().m_Accessing.Contains(&a));
    EXPECT_TRUE(a.GetMember("f"));
    EXPECT_TRUE(a.GetMember("b"));
    EXPECT_FALSE(a.GetMember("g"));
}

TEST(TransformedModuleDependencies, RecursiveDeclarationDependenciesEnd)
{
    LayerStack stack;
    TransformedModule a(stack), b(stack);
    a.SetName("A");
    b.SetName("B");
    stack.m_ComposedClasses["A"] = &a;
    stack.m_ComposedClasses["B"] = &b;
    a.GetDeclDependencyNames().Add("B");
    b.GetDeclDependencyNames().Add("A");
    a.SetNoOutDir(false);
    testutil::Captured captured;
    EXPECT_FALSE(a.DependensOnChangedModule());
    std::string out = captured.All();
    EXPECT_TRUE(Contains(out, "A : error: there is a recursive dependency")) << out;
    EXPECT_TRUE(a.GetIndirectDeclDependencies().Contains(&a));
    EXPECT_TRUE(a.GetIndirectDeclDependencies().Contains(&b));
}
