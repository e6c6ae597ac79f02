#include "base/Directory.h"
#include "base/FileName.h"

#include "../scanner/TempFolder.h"
#include "CurrentFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsFolder(std::string const& path)
{
    struct stat record;
    return ::stat(path.c_str(), &record) == 0 && S_ISDIR(record.st_mode);
}

TEST(Directory, CreateRecursiveMakesParentsAndAnswersTheLastMkdir)
{
    testutil::TempFolder tmp;
    testutil::CurrentFolder inside(tmp.path());

    EXPECT_TRUE(Directory::CreateRecursive("a/b/c/"));
    EXPECT_TRUE(IsFolder(tmp.path("a/b/c")));
    EXPECT_FALSE(Directory::CreateRecursive("a/b/c/"));

    EXPECT_TRUE(Directory::CreateRecursive("x\\y\\\\"));
    EXPECT_TRUE(IsFolder(tmp.path("x/y")));

    EXPECT_TRUE(Directory::CreateRecursive(Str(tmp.path("abs/deep").c_str())));
    EXPECT_TRUE(IsFolder(tmp.path("abs/deep")));
}

TEST(Directory, ExistsOnlyForFoldersAndKeepsTheCurrentFolder)
{
    testutil::TempFolder tmp;
    std::string file = tmp.file("plain.txt", "x");
    std::string folder = tmp.folder("dir");
    tmp.link("linked", folder);
    std::string before = testutil::CurrentFolder::Get();

    EXPECT_FALSE(Directory::exists(file.c_str()));
    EXPECT_TRUE(Directory::exists(folder.c_str()));
    EXPECT_TRUE(Directory::exists(tmp.path("linked").c_str()));
    EXPECT_FALSE(Directory::exists(tmp.path("missing").c_str()));
    EXPECT_FALSE(Directory::exists(""));
    EXPECT_FALSE(Directory::exists(nullptr));
    EXPECT_EQ(before, testutil::CurrentFolder::Get());
}

TEST(Directory, MakeAbsPathResolvesFoldersOnly)
{
    testutil::TempFolder tmp;
    tmp.folder("real");
    tmp.folder("real/sub");
    tmp.link("via", "real");
    tmp.file("plain", "");
    testutil::CurrentFolder inside(tmp.path());

    EXPECT_STREQ(tmp.path("real").c_str(), Directory::MakeAbsPath("real"));
    EXPECT_STREQ(tmp.path("real/sub").c_str(), Directory::MakeAbsPath("via/sub/"));
    EXPECT_STREQ(tmp.path().c_str(), Directory::MakeAbsPath("real/.."));
    EXPECT_STREQ(tmp.path("real/sub").c_str(), Directory::MakeAbsPath("real", "sub"));
    EXPECT_STREQ("", Directory::MakeAbsPath("missing"));
    EXPECT_STREQ("", Directory::MakeAbsPath("plain"));
    EXPECT_STREQ("", Directory::MakeAbsPath(""));
    EXPECT_STREQ("", Directory::MakeAbsPath("real", "missing"));
    EXPECT_STREQ(tmp.path().c_str(), Directory::CurrentDir());
}

TEST(Directory, ARunResolvesAndMakesAFolderOnceAndForgetsAtTheNext)
{
    testutil::TempFolder tmp;
    std::string made = tmp.path("out/deep");
    std::string link = tmp.path("link");
    tmp.folder("one");
    tmp.folder("two");
    tmp.link("link", "one");
    Directory::ForgetResolvedFolders();

    EXPECT_STREQ(made.c_str(), Directory::MakeFolder(made.c_str()));
    EXPECT_TRUE(IsFolder(made));
    EXPECT_STREQ(tmp.path("one").c_str(), Directory::MakeAbsPath(link.c_str()));
    // Within the run the answers stand, even when the folders change.
    ASSERT_EQ(0, ::rmdir(made.c_str()));
    ASSERT_EQ(0, ::unlink(link.c_str()));
    tmp.link("link", "two");
    EXPECT_STREQ(made.c_str(), Directory::MakeFolder(made.c_str()));
    EXPECT_STREQ(tmp.path("one").c_str(), Directory::MakeAbsPath(link.c_str()));
    // A folder not found is asked again: it may be made later in the run.
    std::string later = tmp.path("later");
    EXPECT_STREQ("", Directory::MakeAbsPath(later.c_str()));
    tmp.folder("later");
    EXPECT_STREQ(later.c_str(), Directory::MakeAbsPath(later.c_str()));

    Directory::ForgetResolvedFolders();
    EXPECT_STREQ(tmp.path("two").c_str(), Directory::MakeAbsPath(link.c_str()));
    EXPECT_STREQ(made.c_str(), Directory::MakeFolder(made.c_str()));
    EXPECT_TRUE(IsFolder(made));
    Directory::ForgetResolvedFolders();
}

TEST(Directory, CurrentFolderOfAnyLength)
{
    testutil::TempFolder tmp;
    std::string const part(200, 'd');
    std::string deep = tmp.path();
    for (int i = 0; i < 8; ++i) {
        deep += "/" + part;
        ASSERT_EQ(0, ::mkdir(deep.c_str(), 0777));
    }
    ASSERT_GT(deep.size(), 1024u);
    testutil::CurrentFolder inside(deep);

    EXPECT_STREQ(deep.c_str(), Directory::CurrentDir());
    EXPECT_STREQ(deep.c_str(), Directory::MakeAbsPath("."));
    EXPECT_TRUE(Directory::exists("."));
    EXPECT_STREQ((deep + "/f").c_str(), FileName("./f.h").GetDirAndName());
}

TEST(Directory, MakeRelPath)
{
    struct Case { char const* base; char const* path; char const* expected; };
    Case const cases[] = {
        {"/a/b", "/a/b/c/d.h", "../b/c/d.h"},
        {"/a/b", "/c/d", "../../c/d"},
        {"/", "/y", "./y"},
        {"/p/src/L1", "/p/src/L10", "../L10"},
        {"/p/src/L1", "/p/src/L1", "./"},
        {"/p/src/L1/", "/p/src/L1", "./"},
        {"/a/b", "/a/bc", "../bc"},
        {"/p/src/L1", "/p/src/Base", "../Base"},
        {"/p/src/L1", "/p/src/L1x/y", "../L1x/y"},
        {"/p/src/L1", "/p/Base/x", "../../Base/x"},
        {"a/b", "c/d", "../../c/d"},
        {"/a/b/c", "/a", "/a"},
        {"\\a\\b", "\\a\\c", "../c"},
        {"/a/b/", "/a/b/c/", "../b/c"},
        // A backslash in the base is part of a folder's name.
        {"/a/b\\c", "/a/xyzw", "../xyzw"},
        {"/a/b\\c/d", "/a/xyzw/long", "../../xyzw/long"},
    };
    for (Case const& c : cases)
        EXPECT_STREQ(c.expected, Directory::MakeRelPath(c.base, c.path)) << c.base << " | " << c.path;
}

TEST(Directory, ReadsEntriesWithoutDotsAndClosesOnce)
{
    testutil::TempFolder tmp;
    tmp.file("f", "");
    tmp.folder("d");
    Directory dir;
    EXPECT_EQ(nullptr, dir.NextEntry());
    EXPECT_FALSE(dir.Close());

    ASSERT_TRUE(dir.Open(tmp.path().c_str()));
    std::set<std::string> names;
    while (char const* name = dir.NextEntry())
        names.insert(name);
    EXPECT_EQ((std::set<std::string>{"d", "f"}), names);
    EXPECT_TRUE(dir.Close());
    EXPECT_FALSE(dir.Close());
    EXPECT_EQ(nullptr, dir.GetError());

    EXPECT_FALSE(dir.Open(tmp.path("missing").c_str()));
    EXPECT_STREQ("failed to open dir", dir.GetError());
    EXPECT_EQ(nullptr, dir.NextEntry());
}

} // namespace
