#include "base/FileName.h"

#include "../scanner/TempFolder.h"
#include "CurrentFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FileName, SplitsIntoParts)
{
    testutil::TempFolder tmp;
    tmp.folder("src");
    tmp.folder("a");
    testutil::CurrentFolder inside(tmp.path());
    std::string const root = tmp.path();

    struct Case {
        char const* path;
        std::string name, dir, ext, key;
    };
    Case const cases[] = {
        {"src/x.h", "x", root + "/src", "h", root + "/src/x"},
        {"x.h", "x", "", "h", "/x"},
        {".link", "", "", "link", "/"},
        {"sub/.link", "", "sub", "link", "sub/"},
        {"a/b.c/d", "d", "a/b.c", "", "a/b.c/d"},
        {"a\\b.h", "b", root + "/a", "h", root + "/a/b"},
        {"missing/y.cpp", "y", "missing", "cpp", "missing/y"},
        {"/x.h", "x", "", "h", "/x"},
        {"src/", "", root + "/src", "", root + "/src/"},
        {"x.", "x", "", "", "/x"},
    };
    for (Case const& c : cases) {
        FileName name(c.path);
        EXPECT_EQ(c.name, name.GetName().GetBuffer()) << c.path;
        EXPECT_EQ(c.dir, name.GetDir().GetBuffer()) << c.path;
        EXPECT_EQ(c.ext, name.GetExt().GetBuffer()) << c.path;
        EXPECT_STREQ(c.path, name.GetPath()) << c.path;
        EXPECT_EQ(c.key, name.GetDirAndName().GetBuffer()) << c.path;
    }
    EXPECT_STREQ("x.h", FileName("src/x.h").NameWithExt());
    EXPECT_STREQ("d.", FileName("a/b.c/d").NameWithExt());
}

TEST(FileName, SetFileKeepsAHeldName)
{
    FileName held("one.h");
    EXPECT_FALSE(held.SetFile(FileName("two.cpp"), false));
    EXPECT_STREQ("one", held.GetName());
    EXPECT_STREQ("h", held.GetExt());

    EXPECT_TRUE(held.SetFile(FileName("two.cpp"), true));
    EXPECT_STREQ("two", held.GetName());
    EXPECT_STREQ("two.cpp", held.GetPath());

    FileName empty;
    EXPECT_TRUE(empty.SetFile(FileName("three.h"), false));
    EXPECT_STREQ("three", empty.GetName());
    EXPECT_STREQ("/three", empty.GetDirAndName());
}

} // namespace
