#include "scanner/FileUnit.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <unistd.h>

namespace {

std::string owned(char* text)
{
    std::unique_ptr<char[]> hold(text);
    return text ? std::string(text) : std::string("<null>");
}

TEST(FileUnit, ResolvesRelativeLinksIntoTheirFolder)
{
    testutil::TempFolder tmp;
    ASSERT_EQ(0, ::mkdir(tmp.path("a").c_str(), 0777));
    ASSERT_EQ(0, ::mkdir(tmp.path("b").c_str(), 0777));
    ASSERT_EQ(0, ::symlink("../b/real.h", tmp.path("a/link.h").c_str()));
    // A chain: a/chain.h -> link.h -> ../b/real.h
    ASSERT_EQ(0, ::symlink("link.h", tmp.path("a/chain.h").c_str()));

    Lex::FileUnit unit;
    EXPECT_EQ(tmp.path("b/real.h"), std::string(unit.name(tmp.path("a/link.h").c_str())));
    EXPECT_EQ(tmp.path("a/link.h"), std::string(unit.name()));
    EXPECT_EQ(tmp.path("b/real.h"), std::string(unit.name(tmp.path("a/chain.h").c_str())));
    EXPECT_TRUE(unit.isFile());

    std::unique_ptr<Lex::Unit> copy(unit.duplicate());
    EXPECT_EQ(tmp.path("b/real.h"), std::string(static_cast<Lex::FileUnit*>(copy.get())->absPath()));
}

TEST(FileUnit, AbsolutePathForms)
{
    char* cwd = ::getcwd(nullptr, 0);
    std::string here = cwd;
    std::free(cwd);

    EXPECT_EQ(here + "/x.h", owned(Lex::FileUnit::absolutePath("x.h")));
    EXPECT_EQ("/x.h", owned(Lex::FileUnit::absolutePath("/x.h")));
    EXPECT_EQ("<null>", owned(Lex::FileUnit::absolutePath("/no/such/folder/x.h")));
    EXPECT_EQ("<null>", owned(Lex::FileUnit::absolutePath(nullptr)));
}

TEST(FileUnit, LinkCycleAndNullNameDoNotHang)
{
    testutil::TempFolder tmp;
    ASSERT_EQ(0, ::symlink("b.h", tmp.path("a.h").c_str()));
    ASSERT_EQ(0, ::symlink("a.h", tmp.path("b.h").c_str()));

    Lex::FileUnit unit;
    std::string resolved = unit.name(tmp.path("a.h").c_str());
    EXPECT_EQ(0u, resolved.rfind(tmp.path(""), 0));

    EXPECT_EQ(nullptr, unit.name(nullptr));
    EXPECT_EQ(nullptr, unit.absPath());
}

TEST(FileUnit, UnresolvableFolderKeepsTheGivenName)
{
    Lex::FileUnit unit;
    EXPECT_STREQ("/no/such/folder/m.h", unit.name("/no/such/folder/m.h"));
}

} // namespace
