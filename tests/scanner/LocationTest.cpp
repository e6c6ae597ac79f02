#include "scanner/Array.h"
#include "scanner/Location.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

template <class T>
std::string printed(T const& p)
{
    std::ostringstream os;
    p.print(os);
    return os.str();
}

TEST(Location, EmptyAndSetLocationsCompare)
{
    Lex::Location empty, other_empty;
    Lex::Location a3(Lex::Filename("a.h"), 3), a7(Lex::Filename("a.h"), 7);
    Lex::Location again3(Lex::Filename("a.h"), 3), b3(Lex::Filename("b.h"), 3);

    EXPECT_EQ(0, empty.line());
    EXPECT_EQ("", printed(empty));
    EXPECT_TRUE(empty == other_empty);
    EXPECT_TRUE(empty < a3);
    EXPECT_FALSE(a3 < empty);
    EXPECT_FALSE(empty == a3);

    EXPECT_TRUE(a3 == again3);
    EXPECT_TRUE(a3 < a7);
    EXPECT_FALSE(a7 < a3);
    EXPECT_FALSE(a3 < b3);
    EXPECT_FALSE(b3 < a3);
    EXPECT_EQ("u.h:12", printed(Lex::Location(Lex::Filename("u.h"), 12)));
}

TEST(Filename, SharingAndRenaming)
{
    Lex::Filename a("x.h"), b("x.h"), empty;
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == empty);
    EXPECT_TRUE(empty == Lex::Filename());

    Lex::Filename c;
    c = a;
    EXPECT_EQ(a.data(), c.data());
    EXPECT_EQ(2, a.data()->count());
    c.name("y.h");
    EXPECT_STREQ("x.h", a.name());
    EXPECT_STREQ("y.h", c.name());
    EXPECT_EQ(1, a.data()->count());

    // Self-assignment and renaming from the handle's own text keep the body alive.
    c = c;
    EXPECT_STREQ("y.h", c.name());
    c.name(c.name());
    EXPECT_STREQ("y.h", c.name());
}

TEST(Filename, PathAndAbsoluteness)
{
    EXPECT_STREQ("a/b", Lex::Filename("a/b/c.h").path());
    EXPECT_STREQ("/", Lex::Filename("/c.h").path());
    EXPECT_STREQ("", Lex::Filename("c.h").path());
    EXPECT_STREQ("a\\b", Lex::Filename("a\\b/c.h").path());

    for (char const* abs : {"/x", "\\x", "C:/x", "c:\\x"})
        EXPECT_TRUE(Lex::Filename(abs).is_absolute()) << abs;
    for (char const* rel : {"x/y", "C:", "1:/x"})
        EXPECT_FALSE(Lex::Filename(rel).is_absolute()) << rel;
}

TEST(Location, LastReleaseDeletesBodyAndSharesFilename)
{
    Lex::Filename f("f.h");
    {
        Lex::Location l(f, 1);
        Lex::Location copy = l;
        EXPECT_EQ(2, l.data()->count());
        EXPECT_EQ(2, f.data()->count());
    }
    EXPECT_EQ(1, f.data()->count());
    Lex::Location none;
    none.clear();
    EXPECT_TRUE(none.empty());
}

TEST(LexArray, GrowthDoublesTheIncrement)
{
    Lex::Array<int> a(0, 5);
    a.append(1);
    EXPECT_EQ(5, a.size());
    EXPECT_EQ(10, a.increment());
    a.set(5, 6);
    EXPECT_EQ(15, a.size());
    EXPECT_EQ(6, a.count());
    a.set(40, 1);
    EXPECT_EQ(15 + 20 + 40, a.size());

    Lex::Array<Lex::Filename> names(5, 5);
    names.append(Lex::Filename("a"));
    Lex::Array<Lex::Filename> copy(names);
    EXPECT_STREQ("a", copy[0].name());
    EXPECT_EQ(2, names[0].data()->count());
}

} // namespace
