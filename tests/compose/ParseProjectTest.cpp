#include "compose/ParseProject.h"

#include "../Captured.h"
#include "../base/CurrentFolder.h"
#include "../scanner/TempFolder.h"

#include "compose/CppParseProject.h"
#include "compose/Module.h"
#include "compose/ParseUnitInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using testutil::TempFolder;

namespace {

class PathVar {
public:
    explicit PathVar(std::string const& value)
    {
        char const* old = getenv("PATH");
        m_Old = old ? old : "";
        setenv("PATH", value.c_str(), 1);
    }
    ~PathVar() { setenv("PATH", m_Old.c_str(), 1); }

private:
    std::string m_Old;
};

} // namespace

TEST(ParseProject, GetAppPath)
{
    TempFolder tmp;
    tmp.folder("bin1");
    tmp.folder("bin2");
    tmp.file("bin2/tool");
    tmp.file("here");
    tmp.folder("tool"); // a folder of the program's name is passed over
    testutil::CurrentFolder inside(tmp.path());

    EXPECT_STREQ(tmp.path("here").c_str(), GetAppPath("here"));
    EXPECT_STREQ((tmp.path() + "/./here").c_str(), GetAppPath("./here"));
    EXPECT_STREQ(tmp.path("bin2/tool").c_str(), GetAppPath(tmp.path("bin2/tool").c_str()));
    {
        // Not in the current folder: the first PATH entry holding it.
        PathVar path(tmp.path("bin1") + ":" + tmp.path("bin2") + ":");
        EXPECT_STREQ((tmp.path("bin2") + "/tool").c_str(), GetAppPath("tool"));
        EXPECT_STREQ("", GetAppPath("missing"));
    }
    {
        // An empty entry is "/" and the name, not the current folder.
        PathVar path("::" + tmp.path("bin1"));
        EXPECT_STREQ("", GetAppPath("tool"));
    }
    EXPECT_STREQ("", GetAppPath(nullptr));
    EXPECT_STREQ("", GetAppPath(""));
}

TEST(ParseProject, InitFindsTheProgramAndItsTime)
{
    TempFolder tmp;
    std::string tool = tmp.file("tool");
    std::ostringstream errors;
    {
        ParseProject project(errors);
        char arg0[4096];
        strcpy(arg0, tool.c_str());
        char* argv[] = {arg0, nullptr};
        testutil::Captured captured;
        EXPECT_TRUE(project.Init(1, argv, false));
        EXPECT_EQ("", captured.All());
        EXPECT_STREQ(tool.c_str(), project.GetProgramPath());
        time_t t = project.GetProgramTime();
        EXPECT_NE(0, t);
        EXPECT_TRUE(project.HasApplicationChangedSince(t));
        EXPECT_FALSE(project.HasApplicationChangedSince(t + 1));
    }
    {
        ParseProject project(errors);
        char arg0[] = "/nowhere/tool";
        char gpp[] = "-gpp";
        char* argv[] = {arg0, gpp, nullptr};
        testutil::Captured captured;
        EXPECT_TRUE(project.Init(2, argv, false));
        EXPECT_EQ("warning: unable to stat \nusing gpp settings\n", captured.All());
        EXPECT_EQ(0, project.GetProgramTime());
        EXPECT_TRUE(project.HasApplicationChangedSince(0x7fffffff));
    }
}

TEST(ParseProject, GetFilesWalksFoldersRecursively)
{
    TempFolder tmp;
    tmp.folder("a");
    tmp.folder("a/b");
    tmp.file("top");
    tmp.file("a/one");
    tmp.file("a/b/two");
    StringArray files;
    files.Add("kept");
    ParseProject::GetFiles(tmp.path().c_str(), files);
    std::vector<std::string> found;
    for (int i = 0; i < files.GetCount(); ++i)
        found.push_back(files[i].GetBuffer());
    std::sort(found.begin(), found.end());
    EXPECT_EQ((std::vector<std::string>{tmp.path("a/b/two"), tmp.path("a/one"), tmp.path("top"), "kept"}), found);

    StringArray none;
    ParseProject::GetFiles(tmp.path("missing").c_str(), none);
    EXPECT_EQ(0, none.GetCount());
}

TEST(ParseProject, PlainParseWritesTheRecords)
{
    TempFolder tmp;
    tmp.file("A.h", "namespace n { class A { void f(); }; }\n");
    tmp.file("B.h", "class B { };\n");
    // A longer old file: the records replace it whole.
    tmp.file("files.txt", std::string(4096, 'x'));
    testutil::CurrentFolder inside(tmp.path());

    std::ostringstream errors;
    CppParseProject project;
    Module* a = project.AddFile(tmp.path("A.h").c_str());
    Module* b = project.AddFile(tmp.path("B.h").c_str());
    testutil::Captured captured;
    project.Parse();
    std::string out = captured.All();
    EXPECT_FALSE(project.Error());
    EXPECT_NE(std::string::npos, out.find("A.h\nB.h\n1 namespaces\n2 classes\n")) << out;

    int fd = ::open("files.txt", O_RDONLY);
    ASSERT_GE(fd, 0);
    ParseUnitInfo first, second, third;
    EXPECT_TRUE(first.LoadFromFile(fd));
    EXPECT_TRUE(second.LoadFromFile(fd));
    EXPECT_FALSE(third.LoadFromFile(fd));
    ::close(fd);
    EXPECT_EQ(a->GetDecl().GetID(), first.m_ID);
    EXPECT_EQ(0, first.m_Time);
    EXPECT_STREQ(tmp.path("A.h").c_str(), first.m_Path);
    EXPECT_EQ(b->GetDecl().GetID(), second.m_ID);
    EXPECT_EQ(12 + tmp.path("A.h").size() + 12 + tmp.path("B.h").size(), testutil::ReadFile("files.txt").size());

    const char** names = nullptr;
    int count = 0;
    EXPECT_TRUE(project.GetClasses("a", names, count, true));
    ASSERT_EQ(1, count);
    EXPECT_STREQ("A", names[0]);
    EXPECT_TRUE(project.GetClasses("", names, count, false));
    EXPECT_EQ(2, count);
    EXPECT_TRUE(project.GetAllNames("A", names, count));
    EXPECT_FALSE(project.GetAllNames("NoSuchNameAnywhere", names, count));
}

TEST(ParseProject, PlainParseWithoutModulesFails)
{
    CppParseProject project;
    project.Parse();
    EXPECT_TRUE(project.Error());
}
