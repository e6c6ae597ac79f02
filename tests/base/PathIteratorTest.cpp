#include "base/PathIterator.h"

#include "../scanner/TempFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

struct Seen {
    bool dir, link;
    bool operator==(Seen const& o) const { return dir == o.dir && link == o.link; }
};

TEST(PathIterator, YieldsEntriesWhoseStatusCanBeRead)
{
    testutil::TempFolder tmp;
    tmp.file("f", "");
    tmp.folder("d");
    tmp.link("dangling", tmp.path("nowhere"));
    tmp.link("ld", "d");

    std::map<std::string, Seen> seen;
    PathIterator it(tmp.path().c_str());
    while (!it.GetName().IsEmpty()) {
        std::string name = it.GetName().GetBuffer();
        bool link = it.IsLink();
        it.GetCurrentStat() = it.GetStat();
        it.ReadNext();
        seen[name] = Seen{it.GetCurrentStat().is_dir(), link};
    }
    std::map<std::string, Seen> const expected = {
        {"f", {false, false}},
        {"d", {true, false}},
        {"ld", {true, true}},
    };
    EXPECT_EQ(expected, seen);
}

TEST(PathIterator, MissingFolderYieldsNothing)
{
    testutil::TempFolder tmp;
    PathIterator it(tmp.path("missing").c_str());
    EXPECT_TRUE(it.GetName().IsEmpty());
    it.ReadNext();
    EXPECT_TRUE(it.GetName().IsEmpty());
}

} // namespace
