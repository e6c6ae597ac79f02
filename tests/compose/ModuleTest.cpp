#include "compose/Module.h"

#include "../Captured.h"
#include "../base/VirtualDisk.h"
#include "../scanner/TempFolder.h"

#include "compose/ParseProject.h"
#include "parser/SimpleTU.h"
#include "scanner/FileUnit.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using testutil::TempFolder;

TEST(Module, FileTypesAndSlots)
{
    struct Case {
        char const* ext;
        int type;
        bool decl, impl;
        char const* implExt;
    } const cases[] = {
        {"h", 1, true, false, "cpp"},     {"H", 1, true, false, "cpp"},    {"cc", 1, false, true, "cpp"},
        {"cpp", 1, false, true, "cpp"},   {"ah", 2, true, false, "acc"},   {"AH", 2, true, false, "acc"},
        {"acc", 2, false, true, "cpp"},   {"cs", 3, true, false, "cpp"},   {"jak", 4, true, false, "cpp"},
        {"java", 5, true, false, "cpp"},  {"c", 0, false, false, "cpp"},   {"", 0, false, false, "cpp"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.ext);
        FileName file((std::string("A.") + c.ext).c_str());
        EXPECT_EQ(c.type, Module::GetFileType(c.ext));
        EXPECT_EQ(c.decl, Module::IsDeclFile(file));
        EXPECT_EQ(c.impl, Module::IsImplFile(file));
        EXPECT_STREQ(c.implExt, Module::ConvertToImplFileExt(Str(c.ext)));
    }
}

TEST(Module, OneModulePerFolderAndName)
{
    TempFolder tmp;
    tmp.folder("x");
    std::ostringstream errors;
    ParseProject project(errors);

    Module* a = project.AddFile(tmp.path("x/A.h").c_str());
    EXPECT_EQ(a, project.AddFile(tmp.path("x/A.cpp").c_str()));
    EXPECT_STREQ("A", a->GetName());
    EXPECT_EQ(1, a->GetType());
    EXPECT_STREQ(tmp.path("x/A.h").c_str(), a->GetDecl().GetPath());
    EXPECT_STREQ(tmp.path("x/A.cpp").c_str(), a->GetImpl().GetPath());
    EXPECT_STREQ(tmp.path("x").c_str(), a->GetFolder());

    // A second declaration is refused; the module keeps its first file.
    EXPECT_EQ(a, project.AddFile(tmp.path("x/A.jak").c_str()));
    EXPECT_STREQ(tmp.path("x/A.h").c_str(), a->GetDecl().GetPath());
    EXPECT_EQ(1, a->GetType());

    // The same folder reached another way is the same module.
    EXPECT_EQ(a, project.AddFile((tmp.path("x") + "/../x/A.h").c_str()));
    tmp.link("linked", "x");
    EXPECT_EQ(a, project.AddFile(tmp.path("linked/A.h").c_str()));
    EXPECT_NE(a, project.AddFile(tmp.path("B.h").c_str()));
    // No module kind: a module without a file, still listed.
    Module* other = project.AddFile(tmp.path("x/Other.txt").c_str());
    EXPECT_FALSE(other->GetDecl().HasFile() || other->GetImpl().HasFile());
    EXPECT_EQ(0, other->GetType());
    EXPECT_EQ(3, project.GetModules().GetCount());
    EXPECT_TRUE(project.HasModule(*a));
    Module stranger(project, Str("y"));
    EXPECT_FALSE(project.HasModule(stranger));
}

TEST(Module, FolderOfTheGivenPath)
{
    std::ostringstream errors;
    ParseProject project(errors);
    struct Case {
        char const* path;
        char const* folder;
    } const cases[] = {
        {"A.h", ""}, {"/A.h", ""}, {"x/y/B.h", "x/y"}, {"x\\C.h", "x"}, {"/abs/D.h", "/abs"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_STREQ(c.folder, project.AddFile(c.path)->GetFolder());
    }
}

TEST(Module, HasChangedIsStrict)
{
    TempFolder tmp;
    std::string decl = tmp.file("A.h");
    std::string impl = tmp.file("B.cpp");
    testutil::VirtualDisk disk;
    disk.SetSeconds(decl, 1000);
    disk.SetSeconds(impl, 2000);
    std::ostringstream errors;
    ParseProject project(errors);
    FileTimeNs const second = 1000000000LL;
    Module* a = project.AddFile(decl.c_str());
    EXPECT_FALSE(a->HasChanged(1000 * second));
    EXPECT_TRUE(a->HasChanged(1000 * second - 1)) << "one nanosecond earlier";
    Module* b = project.AddFile(impl.c_str()); // no declaration: the implementation decides
    EXPECT_FALSE(b->HasChanged(2000 * second));
    EXPECT_TRUE(b->HasChanged(2000 * second - 1));
    Module* gone = project.AddFile(tmp.path("Gone.h").c_str());
    EXPECT_TRUE(gone->HasChanged(0x7fffffffLL * second));
}

TEST(Module, ParsesItsFilesThroughTheParser)
{
    TempFolder tmp;
    tmp.file("A.h", "class A {\npublic:\n  int f();\n};\n");
    tmp.file("A.cpp", "int A::f() { return 1; }\n");
    std::ostringstream errors;
    ParseProject project(errors);
    Module* a = project.AddFile(tmp.path("A.h").c_str());
    project.AddFile(tmp.path("A.cpp").c_str());

    testutil::Captured captured;
    EXPECT_TRUE(a->Parse(true));
    EXPECT_EQ("A.h\nA.cpp\n", captured.All());
    ASSERT_NE(nullptr, a->GetDecl().GetTU());
    ASSERT_NE(nullptr, a->GetImpl().GetTU());
    EXPECT_EQ(1, a->GetDecl().GetTU()->GetClassCount());
    EXPECT_EQ(1, a->GetImpl().GetTU()->GetFuncDefCount());
    ASSERT_NE(nullptr, a->GetDecl().GetUnit());
    EXPECT_NE(0, a->GetDecl().GetUnit()->mtime);
    EXPECT_EQ("", errors.str());
}

TEST(Module, FailedParses)
{
    TempFolder tmp;
    tmp.file("B.cpp", "int g() { return 2; }\n");
    tmp.folder("D.h");
    std::ostringstream errors;
    ParseProject project(errors);

    // The declaration cannot be opened, the implementation parses: true.
    Module* b = project.AddFile(tmp.path("B.h").c_str());
    project.AddFile(tmp.path("B.cpp").c_str());
    EXPECT_TRUE(b->Parse(false));
    EXPECT_EQ(nullptr, b->GetDecl().GetTU());
    EXPECT_NE(std::string::npos, errors.str().find("SysCall::open(): " + tmp.path("B.h")));

    // A folder where the file should be is a failed parse with a message.
    errors.str("");
    Module* d = project.AddFile(tmp.path("D.h").c_str());
    EXPECT_FALSE(d->Parse(false));
    EXPECT_NE(std::string::npos, errors.str().find(tmp.path("D.h"))) << errors.str();

    // A file whose reading fails halfway: the scan stops, the parse fails.
    errors.str("");
    tmp.link("M.h", "/proc/self/mem");
    Module* m = project.AddFile(tmp.path("M.h").c_str());
    EXPECT_FALSE(m->Parse(false));
    EXPECT_EQ(nullptr, m->GetDecl().GetTU());
    EXPECT_NE(std::string::npos, errors.str().find("stopped before the end of the file")) << errors.str();

    // No file at all.
    Module empty(project, Str(""));
    EXPECT_FALSE(empty.Parse(false));
}

TEST(Module, CopySharesFilesButNoParseResult)
{
    TempFolder tmp;
    tmp.file("A.h", "class A { };\n");
    std::ostringstream errors;
    ParseProject project(errors);
    Module* a = project.AddFile(tmp.path("A.h").c_str());
    ASSERT_TRUE(a->Parse(false));

    Module copy(*a);
    EXPECT_STREQ("A", copy.GetName());
    EXPECT_EQ(1, copy.GetType());
    EXPECT_STREQ(a->GetDecl().GetPath(), copy.GetDecl().GetPath());
    EXPECT_FALSE(copy.GetImpl().HasFile());
    EXPECT_EQ(nullptr, copy.GetDecl().GetTU());
    EXPECT_NE(a->GetDecl().GetID(), copy.GetDecl().GetID());
    EXPECT_TRUE(copy.Parse(false));
    EXPECT_NE(a->GetDecl().GetTU(), copy.GetDecl().GetTU());
}
