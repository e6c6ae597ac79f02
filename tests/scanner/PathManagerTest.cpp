#include "scanner/PathManager.h"
#include "../Captured.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

Strings files(Lex::PathManager const& pm, char const* pattern = ".*")
{
    Lex::PathIterator it(pattern);
    Strings names;
    while (char const* name = pm.iterate(it))
        names.push_back(name);
    return names;
}

Strings dirs(Lex::PathManager const& pm, char const* pattern = ".*")
{
    Lex::PathIterator it(pattern);
    Strings names;
    while (char const* name = pm.iterate_dirs(it))
        names.push_back(name);
    return names;
}

Strings sorted(Strings names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// A layer folder: b.h, a.h, a.cpp and x/ holding y.h and z/w.h.
class PathManagerTest : public ::testing::Test {
protected:
    PathManagerTest() : err(out), pm(err)
    {
        tmp.folder("d");
        tmp.file("d/b.h");
        tmp.file("d/a.h");
        tmp.file("d/a.cpp");
        tmp.folder("d/x");
        tmp.file("d/x/y.h");
        tmp.folder("d/x/z");
        tmp.file("d/x/z/w.h");
        d = tmp.path("d");
    }

    std::string p(std::string const& name) const { return d + "/" + name; }

    testutil::TempFolder tmp;
    std::ostringstream out;
    Lex::ErrorStream err;
    Lex::PathManager pm;
    std::string d;
};

TEST_F(PathManagerTest, ListsOneLevelWithoutRecursion)
{
    for (std::string folder : {d, d + "/"}) {
        Lex::PathManager one(err);
        one.addPath(folder.c_str(), nullptr, false, false);
        EXPECT_EQ((Strings{p("a.cpp"), p("a.h"), p("b.h")}), sorted(files(one))) << folder;
        EXPECT_EQ((Strings{p("x")}), dirs(one)) << folder;
    }
    EXPECT_EQ("", out.str());
}

TEST_F(PathManagerTest, RecursionListsFoldersBeforeTheirSubfolders)
{
    pm.addPath(d.c_str(), nullptr, true, false);
    EXPECT_EQ((Strings{p("a.cpp"), p("a.h"), p("b.h"), p("x/y.h"), p("x/z/w.h")}), sorted(files(pm)));
    EXPECT_EQ((Strings{p("x"), p("x/z")}), dirs(pm));
}

TEST_F(PathManagerTest, RegisteringAgainOrBelowAddsNothing)
{
    pm.addPath(d.c_str(), nullptr, false, false);
    pm.addPath((d + "/").c_str(), nullptr, true, false);
    pm.addPath(p("x").c_str(), nullptr, true, false);
    EXPECT_EQ(3u, files(pm).size());
    EXPECT_EQ(1u, dirs(pm).size());
}

TEST_F(PathManagerTest, IteratorsFilterAndStartOver)
{
    pm.addPath(d.c_str(), nullptr, true, false);
    EXPECT_EQ((Strings{p("a.h"), p("b.h"), p("x/y.h"), p("x/z/w.h")}), sorted(files(pm, "\\.h$")));
    EXPECT_EQ((Strings{p("a.cpp")}), files(pm, "a\\.c"));

    Lex::PathIterator it("\\.cpp$");
    EXPECT_EQ(p("a.cpp"), pm.iterate(it));
    EXPECT_EQ(nullptr, pm.iterate(it));
    EXPECT_EQ(0, it.position());
    EXPECT_STREQ(p("a.cpp").c_str(), it.file().name());   // the last match stays
    EXPECT_EQ(p("a.cpp"), pm.iterate(it));

    it.pattern(nullptr);
    EXPECT_EQ(5u, files(pm, nullptr).size());
}

TEST_F(PathManagerTest, BadPatternReportsOnceAndMatchesNothing)
{
    pm.addPath(d.c_str(), nullptr, false, false);
    testutil::Captured captured;
    Strings names = files(pm, "(a");
    std::string printed = captured.Err();
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(0u, printed.find("error: RegComp: ")) << printed;
    EXPECT_EQ(1, std::count(printed.begin(), printed.end(), '\n')) << printed;
}

TEST_F(PathManagerTest, LinksAreFollowedAndDanglingOnesReported)
{
    std::string dangling = tmp.link("d/gone.h", "nowhere.h");
    tmp.link("d/up", "x");
    pm.addPath(d.c_str(), nullptr, false, false);
    EXPECT_EQ("fatal: SysCall::stat(): " + dangling + ": " + std::strerror(ENOENT) + "\n", out.str());
    EXPECT_EQ((Strings{p("a.cpp"), p("a.h"), p("b.h")}), sorted(files(pm)));
    EXPECT_EQ((Strings{p("up"), p("x")}), sorted(dirs(pm)));
}

TEST_F(PathManagerTest, LinkLoopsEnd)
{
    tmp.link("d/x/back", "..");
    tmp.link("d/x/self", ".");
    tmp.link("d/x/z/self", ".");
    pm.addPath(d.c_str(), nullptr, true, false);
    EXPECT_EQ((Strings{p("a.cpp"), p("a.h"), p("b.h"), p("x/y.h"), p("x/z/w.h")}), sorted(files(pm)));
    EXPECT_EQ((Strings{p("x"), p("x/back"), p("x/self"), p("x/z"), p("x/z/self")}), sorted(dirs(pm)));
    EXPECT_EQ("", out.str());
}

TEST_F(PathManagerTest, MissingFolderReportsTwoLines)
{
    std::string missing = tmp.path("missing");
    pm.addPath(missing.c_str(), nullptr, true, false);
    EXPECT_EQ("fatal: SysCall::opendir(): " + missing + ": " + std::strerror(ENOENT) + "\n"
                  "error: Couldn't open directory `" + missing + "'.\n",
              out.str());
    EXPECT_TRUE(files(pm).empty());
    EXPECT_TRUE(dirs(pm).empty());
}

TEST_F(PathManagerTest, KeptStatusRecords)
{
    pm.addPath(d.c_str(), nullptr, true, true);
    Lex::FileInfoIterator it;
    int records = 0, folders = 0;
    while (Lex::FileInfo const* info = pm.iterate(it)) {
        ++records;
        folders += info->is_folder();
    }
    EXPECT_EQ(7, records);
    EXPECT_EQ(2, folders);
    EXPECT_EQ(0, it.position());
}

TEST_F(PathManagerTest, BelowAndProtected)
{
    tmp.folder("dd");
    std::string sibling = tmp.file("dd/f.h");
    std::string into = tmp.link("in.h", "d/a.h");
    std::string dangling = tmp.link("later.h", "d/later.h");
    pm.addPath(d.c_str(), nullptr, false, false);

    EXPECT_TRUE(pm.isBelow(p("a.h").c_str()));
    EXPECT_TRUE(pm.isBelow(p("x/not-yet.h").c_str()));       // need not exist
    EXPECT_TRUE(pm.isBelow((d + "/x/../new.h").c_str()));
    EXPECT_FALSE(pm.isBelow(sibling.c_str()));                 // "dd" begins with "d"
    EXPECT_FALSE(pm.isBelow((d + "/../dd/f.h").c_str()));

    Lex::Filename found;
    EXPECT_TRUE(pm.inPath(into.c_str(), &found));              // resolves into the folder
    EXPECT_STREQ(into.c_str(), found.name());
    EXPECT_TRUE(pm.inPath(dangling.c_str(), &found));          // its link text lies below
    EXPECT_STREQ(p("later.h").c_str(), found.name());

    EXPECT_FALSE(pm.isProtected(p("a.cpp").c_str()));
    EXPECT_TRUE(pm.isProtected(sibling.c_str()));
    EXPECT_FALSE(pm.isProtected(nullptr));
    pm.protect("\\.cpp$");
    EXPECT_TRUE(pm.isProtected(p("a.cpp").c_str()));
    EXPECT_FALSE(pm.isProtected(p("a.h").c_str()));
}

TEST_F(PathManagerTest, LinkChainLoopInLookupEnds)
{
    std::string a = tmp.link("la", "lb");
    tmp.link("lb", "la");
    pm.addPath(d.c_str(), nullptr, false, false);
    EXPECT_FALSE(pm.isBelow(a.c_str()));
}

TEST_F(PathManagerTest, ConfigureAndJoin)
{
    Lex::Config config;
    config.add("-p", {p("x")});
    config.add("-d", {tmp.path("out")});
    config.add("-w", {"y\\.h$"});
    config.add("-p", {"ignored", "two arguments"});
    pm.configure(config);
    EXPECT_EQ((Strings{p("x/y.h"), p("x/z/w.h")}), sorted(files(pm)));
    EXPECT_TRUE(pm.isProtected(p("x/y.h").c_str()));
    EXPECT_FALSE(pm.isProtected(p("x/z/w.h").c_str()));

    Lex::PathManager other(err);
    other.addPath(d.c_str(), nullptr, false, false);
    other.join(pm);
    EXPECT_EQ(3u, files(other).size());                 // x lies below d: not added
    EXPECT_TRUE(other.isProtected(p("x/y.h").c_str()));

    Lex::PathManager third(err);
    third.join(pm);
    EXPECT_EQ((Strings{p("x/y.h"), p("x/z/w.h")}), sorted(files(third)));
}

TEST(PathManager, AddSeparator)
{
    std::ostringstream out;
    Lex::ErrorStream err(out);
    Lex::PathManager pm(err);
    struct Case { char const* text; char const* expected; };
    Case const cases[] = {{"a", "a/"}, {"a/", "a/"}, {"", "/"}};
    for (Case const& c : cases) {
        char* text = pm.addSeparator(c.text);
        EXPECT_STREQ(c.expected, text);
        delete[] text;
    }
    EXPECT_EQ(nullptr, pm.addSeparator(nullptr));
}

} // namespace
