#include "base/StringListFile.h"

#include "../scanner/TempFolder.h"
#include "CurrentFolder.h"
#include "VirtualDisk.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Entries(StringListFile const& list)
{
    std::vector<std::string> result;
    for (int i = 0; i < list.GetList().GetCount(); ++i)
        result.push_back(list.GetList()[i].GetBuffer());
    return result;
}

TEST(StringListFile, DropsCommentsAndBlankLines)
{
    testutil::TempFolder tmp;
    tmp.file("list.equation",
             "  # hash comment\n"
             " ; semicolon comment\n"
             "   // slash comment\n"
             "\n"
             "   \r\n"
             "\tentry \r\n"
             "a//b");
    StringListFile list("equation");
    ASSERT_TRUE(list.Load(tmp.path("list").c_str()));
    EXPECT_EQ((std::vector<std::string>{"entry", "a//b"}), Entries(list));
    // Dropped lines still count for the line numbers of the entries.
    EXPECT_EQ(6, list.GetLineNumber(0));
    EXPECT_EQ(7, list.GetLineNumber(1));
    EXPECT_EQ(0, list.GetLineNumber(2));

    // A second load appends.
    ASSERT_TRUE(list.Load(tmp.path("list.equation").c_str()));
    EXPECT_EQ(4, list.GetList().GetCount());
    EXPECT_EQ(7, list.GetLineNumber(3));

    StringArray copy;
    copy.Add("gone");
    list.GetStrings(copy);
    EXPECT_EQ(4, copy.GetCount());
    EXPECT_STREQ("entry", copy[0]);
}

TEST(StringListFile, ByteOrderMarkIsNoPartOfTheFirstLine)
{
    testutil::TempFolder tmp;
    tmp.file("marked.equation", "\xEF\xBB\xBF" "base\r\next\n");
    StringListFile list("equation");
    ASSERT_TRUE(list.Load(tmp.path("marked").c_str()));
    EXPECT_EQ((std::vector<std::string>{"base", "ext"}), Entries(list));
}

TEST(StringListFile, ResolvesFolderNameAndExtension)
{
    testutil::TempFolder tmp;
    tmp.folder("config");
    tmp.file("config/main.equation", "layer\n");
    tmp.file("main.EQUATION.equation", "upper\n");
    tmp.folder("equations");
    tmp.file("equations/main.EQUATION", "mixed\n");
    testutil::CurrentFolder inside(tmp.path());

    struct Case {
        char const* given;
        std::string path, dir, name, entry;
    };
    Case const cases[] = {
        {"config/main", tmp.path("config/main.equation"), tmp.path("config"), "main", "layer"},
        {"main.EQUATION", tmp.path("main.EQUATION.equation"), tmp.path(), "main.EQUATION", "upper"},
        {"equations/main.EQUATION", tmp.path("equations/main.EQUATION"), tmp.path("equations"), "main", "mixed"},
    };
    for (Case const& c : cases) {
        StringListFile list("equation");
        ASSERT_TRUE(list.Load(c.given)) << c.given;
        EXPECT_EQ(c.path, list.GetPath().GetBuffer()) << c.given;
        EXPECT_EQ(c.dir, list.GetDir().GetBuffer()) << c.given;
        EXPECT_EQ(c.name, list.GetName().GetBuffer()) << c.given;
        EXPECT_EQ(std::vector<std::string>{c.entry}, Entries(list)) << c.given;
    }
}

TEST(StringListFile, UnreadableFilesAndFolders)
{
    testutil::TempFolder tmp;
    tmp.folder("dir.equation");
    tmp.file("x.equation", "here\n");
    testutil::CurrentFolder inside(tmp.path());

    StringListFile folderFile("equation");
    EXPECT_FALSE(folderFile.Load("dir.equation"));

    // A folder that cannot be entered fails, rather than looking elsewhere.
    StringListFile missingFolder("equation");
    EXPECT_FALSE(missingFolder.Load("missing/x"));
    EXPECT_STREQ("", missingFolder.GetDir());
    EXPECT_EQ(0, missingFolder.GetList().GetCount());

    // The only "/" leading: the folder is the root.
    StringListFile rooted("equation");
    EXPECT_FALSE(rooted.Load("/mosa-no-such-list.equation"));
    EXPECT_STREQ("/", rooted.GetDir());
    EXPECT_STREQ("/mosa-no-such-list.equation", rooted.GetPath());
    EXPECT_STREQ("mosa-no-such-list", rooted.GetName());
}

TEST(StringListFile, HasChangedSince)
{
    testutil::TempFolder tmp;
    std::string path = tmp.file("t.equation", "x\n");
    // 5000.25 s: times are compared to the nanosecond.
    FileTimeNs t = 5000250000000LL;
    testutil::VirtualDisk disk;
    disk.SetTime(path, t);

    StringListFile list("equation");
    EXPECT_TRUE(list.HasChangedSince(0)) << "nothing loaded yet";
    ASSERT_TRUE(list.Load(path.c_str()));
    EXPECT_TRUE(list.HasChangedSince(t - 1));
    EXPECT_TRUE(list.HasChangedSince(t));
    EXPECT_FALSE(list.HasChangedSince(t + 1));
    EXPECT_FALSE(list.HasChangedSince(5000500000000LL)) << "later in the same second";

    ASSERT_EQ(0, ::remove(path.c_str()));
    EXPECT_TRUE(list.HasChangedSince(t + 1));
}

} // namespace
