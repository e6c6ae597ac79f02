#include "base/GenericFileLink.h"

#include "../scanner/TempFolder.h"
#include "CurrentFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace {

using State = GenericFileLink::OwnLinkState;

using testutil::ReadFile;

std::string LinkText(std::string const& path)
{
    char buf[4096];
    ssize_t n = ::readlink(path.c_str(), buf, sizeof buf);
    return n < 0 ? std::string() : std::string(buf, static_cast<size_t>(n));
}

bool Exists(std::string const& path)
{
    struct stat record;
    return ::lstat(path.c_str(), &record) == 0;
}

TEST(GenericFileLink, SymbolicLinkGetsAnOwnLinkFileOnce)
{
    testutil::TempFolder tmp;
    tmp.folder("Base");
    std::string layer = tmp.folder("L1");
    tmp.link("L1/base", "../Base");

    GenericFileLink::UpdateLink(layer.c_str(), "base", "../Base");
    std::string own = tmp.path("L1/base.link");
    EXPECT_EQ("../Base", ReadFile(own));

    // Called again it leaves the file alone.
    utimbuf old{1000, 1000};
    ASSERT_EQ(0, ::utime(own.c_str(), &old));
    GenericFileLink::UpdateLink(layer.c_str(), "base", tmp.path("Base").c_str());
    struct stat record;
    ASSERT_EQ(0, ::stat(own.c_str(), &record));
    EXPECT_EQ(1000, record.st_mtime);
    EXPECT_EQ("../Base", ReadFile(own));
}

TEST(GenericFileLink, OwnLinkFileGetsASymbolicLink)
{
    testutil::TempFolder tmp;
    tmp.folder("Base");
    std::string layer = tmp.folder("L1");
    std::string own = tmp.file("L1/base.link", "../Base");

    State state = GenericFileLink::link_unreadable;
    Str target = GenericFileLink::ReadOwnLink(own.c_str(), &state);
    EXPECT_EQ(GenericFileLink::link_resolved, state);
    EXPECT_STREQ(tmp.path("Base").c_str(), target);

    GenericFileLink::UpdateLink(layer.c_str(), "base", target);
    EXPECT_EQ(tmp.path("Base"), LinkText(tmp.path("L1/base")));
    EXPECT_EQ("../Base", ReadFile(own));
}

TEST(GenericFileLink, UpdateLinkAnswersWhetherTheMissingFormWasMade)
{
    testutil::TempFolder tmp;
    std::string base = tmp.folder("Base");
    tmp.folder("With blank");
    std::string layer = tmp.folder("L1");

    EXPECT_TRUE(GenericFileLink::UpdateLink(layer.c_str(), "base", base.c_str())); // symbolic link
    EXPECT_EQ(base, LinkText(tmp.path("L1/base")));
    EXPECT_TRUE(GenericFileLink::UpdateLink(layer.c_str(), "base", base.c_str())); // own link file
    EXPECT_EQ("../Base", ReadFile(tmp.path("L1/base.link")));
    EXPECT_TRUE(GenericFileLink::UpdateLink(layer.c_str(), "base", base.c_str())); // both there

    // A file standing where the folder should be takes no link.
    std::string plain = tmp.file("plain");
    EXPECT_FALSE(GenericFileLink::UpdateLink(plain.c_str(), "base", base.c_str()));
    // A target with a blank cannot be stored in an own link file.
    tmp.link("L1/blank", "../With blank");
    EXPECT_FALSE(GenericFileLink::UpdateLink(layer.c_str(), "blank", tmp.path("With blank").c_str()));
    EXPECT_FALSE(Exists(tmp.path("L1/blank.link")));
}

TEST(GenericFileLink, ReadOwnLinkStates)
{
    testutil::TempFolder tmp;
    std::string base = tmp.folder("Base");
    tmp.folder("L1");
    struct Case {
        char const* content;
        State state;
        std::string target;
    };
    Case const cases[] = {
        {"../Base", GenericFileLink::link_resolved, base},
        {"  ../Base\r\n", GenericFileLink::link_resolved, base},
        {"\t../Base more words\n", GenericFileLink::link_resolved, base},
        {"../Missing", GenericFileLink::link_target_missing, ""},
        {"", GenericFileLink::link_empty, ""},
        {" \n\t ", GenericFileLink::link_empty, ""},
    };
    for (Case const& c : cases) {
        std::string own = tmp.file("L1/x.link", c.content);
        State state = GenericFileLink::link_unreadable;
        EXPECT_STREQ(c.target.c_str(), GenericFileLink::ReadOwnLink(own.c_str(), &state)) << c.content;
        EXPECT_EQ(c.state, state) << c.content;
    }

    State state = GenericFileLink::link_resolved;
    EXPECT_STREQ("", GenericFileLink::ReadOwnLink(tmp.path("L1/none.link").c_str(), &state));
    EXPECT_EQ(GenericFileLink::link_unreadable, state);

    // A link file named without its folder lies in the current folder.
    testutil::CurrentFolder inside(tmp.path("L1"));
    tmp.file("L1/here.link", "../Base");
    EXPECT_STREQ(base.c_str(), GenericFileLink::ReadOwnLink("here.link"));
}

TEST(GenericFileLink, OwnLinkContentDoesNotDependOnTheTargetForm)
{
    testutil::TempFolder tmp;
    std::string base = tmp.folder("Base");
    std::string layer = tmp.folder("L1");
    tmp.folder("L1/a");
    tmp.folder("L1/a/b");
    std::string deep = tmp.path("L1/a/b");

    struct Case { std::string dir, target, content; };
    Case const cases[] = {
        {layer, "../Base", "../Base"},
        {layer, base, "../Base"},
        {layer, base + "/", "../Base"},
        {layer, "../L1", "./"},
        // A target shorter than the folder is stored absolute.
        {deep, "../../../Base", base},
    };
    for (Case const& c : cases) {
        std::string own = tmp.path("out.link");
        ASSERT_TRUE(GenericFileLink::CreateOwnLink(own.c_str(), c.dir.c_str(), c.target.c_str(), 0)) << c.target;
        EXPECT_EQ(c.content, ReadFile(own)) << c.dir << " -> " << c.target;
    }
}

TEST(GenericFileLink, AShorterTargetIsStoredAbsoluteAndReadBack)
{
    testutil::TempFolder tmp;
    std::string base = tmp.folder("B");
    tmp.folder("layers");
    tmp.folder("layers/deep");
    std::string layer = tmp.folder("layers/deep/L1");
    tmp.link("layers/deep/L1/base", base);

    GenericFileLink::UpdateLink(layer.c_str(), "base", base.c_str());
    std::string own = tmp.path("layers/deep/L1/base.link");
    std::string content = ReadFile(own);
    ASSERT_FALSE(content.empty());
    EXPECT_STREQ(base.c_str(), GenericFileLink::ReadOwnLink(own.c_str()));
}

TEST(GenericFileLink, TargetsWithWhiteSpaceGetNoOwnLinkFile)
{
    testutil::TempFolder tmp;
    tmp.folder("My Base");
    std::string layer = tmp.folder("L1");
    tmp.link("L1/base", "../My Base");

    GenericFileLink::UpdateLink(layer.c_str(), "base", "../My Base");
    EXPECT_FALSE(Exists(tmp.path("L1/base.link")));
    EXPECT_FALSE(GenericFileLink::CreateOwnLink(tmp.path("L1/x.link").c_str(), layer.c_str(), "../My Base", 0));
    EXPECT_FALSE(Exists(tmp.path("L1/x.link")));
}

TEST(GenericFileLink, DanglingSymbolicLinkIsLeftAlone)
{
    testutil::TempFolder tmp;
    std::string layer = tmp.folder("L1");
    tmp.link("L1/base", "../Gone");

    // The link counts as missing, and making a new one fails silently.
    GenericFileLink::UpdateLink(layer.c_str(), "base", "../Other");
    EXPECT_EQ("../Gone", LinkText(tmp.path("L1/base")));
    EXPECT_FALSE(Exists(tmp.path("L1/base.link")));
    EXPECT_TRUE(GenericFileLink::CreateOsLink(tmp.path("L1/new").c_str(), "../Other", 0));
    EXPECT_EQ("../Other", LinkText(tmp.path("L1/new")));
}

} // namespace
