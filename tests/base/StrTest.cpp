#include "base/Str.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A string holding `capacity` bytes of buffer (0 = the shared empty buffer).
Str WithCapacity(size_t capacity)
{
    Str s;
    if (capacity)
        s.AllocBuf(capacity);
    return s;
}

TEST(Str, GrowthRule)
{
    struct Case { size_t capacity, need, expected; };
    Case const cases[] = {
        {0, 1, 64},
        {64, 100, 128},
        {64, 300, 300},
        {64, 64, 64},
        {128, 20, 128},
    };
    for (Case const& c : cases) {
        Str s;
        s.AllocBuf(c.capacity);
        ASSERT_EQ(c.capacity == 0 ? 0u : std::max<size_t>(c.capacity, 64), s.GetCapacity());
        s.AllocBuf(c.need);
        EXPECT_EQ(c.expected, s.GetCapacity()) << c.capacity << " -> " << c.need;
    }
}

TEST(Str, GrowthKeepsText)
{
    Str s("hello");
    s.AllocBuf(500);
    EXPECT_STREQ("hello", s.GetBuffer());
    EXPECT_EQ(5u, s.GetLength());
}

TEST(Str, EmptyStringsShareOneBufferUntilTheyGetText)
{
    Str plain, fromNull(nullptr);
    EXPECT_EQ(Str::m_EmptyStr, plain.GetBuffer());
    EXPECT_EQ(Str::m_EmptyStr, fromNull.GetBuffer());
    EXPECT_EQ(0u, plain.GetCapacity());

    plain = "";
    plain = static_cast<char const*>(nullptr);
    plain.SetData("x", 0);
    EXPECT_EQ(Str::m_EmptyStr, plain.GetBuffer());
    EXPECT_EQ(0u, plain.GetCapacity());
    EXPECT_EQ('\0', Str::m_EmptyStr[0]);

    Str fromEmptyText("");
    Str copyOfEmpty(plain);
    EXPECT_EQ(64u, fromEmptyText.GetCapacity());
    EXPECT_EQ(64u, copyOfEmpty.GetCapacity());
    EXPECT_EQ(0u, copyOfEmpty.GetLength());

    Str text("some text");
    text = "";
    EXPECT_EQ(64u, text.GetCapacity());
    EXPECT_EQ(0u, text.GetLength());
    EXPECT_STREQ("", text.GetBuffer());
}

TEST(Str, SettingGrowsTwiceLikeTheBufferRule)
{
    // Grows to n first, then to n + 1: a 100-byte text on an empty string
    // ends with 100 + 64 bytes.
    std::string hundred(100, 'x');
    Str s;
    s = hundred.c_str();
    EXPECT_EQ(164u, s.GetCapacity());
    EXPECT_EQ(hundred, s.GetBuffer());

    Str counted;
    counted.SetData("ab\0cd", 5);
    EXPECT_EQ(5u, counted.GetLength());
    EXPECT_EQ(0, memcmp("ab\0cd", counted.GetBuffer(), 6));
}

TEST(Str, Appending)
{
    Str s;
    EXPECT_EQ(3u, s.AddData("abc"));
    EXPECT_EQ(0u, s.AddData(""));
    s += Str("de");
    s += 'f';
    s += static_cast<char const*>(nullptr);
    EXPECT_STREQ("abcdef", s.GetBuffer());
    EXPECT_EQ(6u, s.GetLength());
    EXPECT_EQ(64u, s.GetCapacity());
}

TEST(Str, AppendsDecimalNumbers)
{
    struct Case { char const* start; unsigned long value; char const* expected; };
    Case const cases[] = {
        {"", 0, "0"},
        {"", 4294967295ul, "4294967295"},
        {"n=", 120, "n=120"},
    };
    for (Case const& c : cases) {
        Str s(c.start);
        s << c.value;
        EXPECT_STREQ(c.expected, s.GetBuffer());
    }
    Str chained;
    chained << 1 << 23;
    EXPECT_STREQ("123", chained.GetBuffer());
}

TEST(Str, FormatGrowsUntilTheTextFits)
{
    struct Case { size_t capacity, textLength, expectedCapacity; };
    Case const cases[] = {
        {0, 10, 64},
        {0, 100, 128},
        {0, 200, 256},
        {300, 700, 1200},
        {300, 299, 300},
        {300, 300, 600},
    };
    for (Case const& c : cases) {
        std::string text(c.textLength, 'y');
        Str s = WithCapacity(c.capacity);
        s.Format("%s", text.c_str());
        EXPECT_EQ(text, s.GetBuffer());
        EXPECT_EQ(c.textLength, s.GetLength());
        EXPECT_EQ(c.expectedCapacity, s.GetCapacity()) << c.capacity << " / " << c.textLength;
    }
}

TEST(Str, FormatReplacesTheText)
{
    Str s("old text");
    s.Format("%d-%s-%c", 42, "x", 'z');
    EXPECT_STREQ("42-x-z", s.GetBuffer());
    EXPECT_EQ(6u, s.GetLength());

    // Arguments that point into the string itself.
    Str self("abc");
    self.Format("%s/%s", self.GetBuffer(), self.GetBuffer() + 1);
    EXPECT_STREQ("abc/bc", self.GetBuffer());
}

TEST(Str, FormatOfEmptyTextEndsAtOnce)
{
    char const* empty = "";
    Str fresh;
    fresh.Format(empty, 0);
    EXPECT_EQ(0u, fresh.GetLength());
    EXPECT_STREQ("", fresh.GetBuffer());

    Str used("text");
    used.Format(empty, 0);
    EXPECT_EQ(0u, used.GetLength());
    EXPECT_STREQ("", used.GetBuffer());

    Str emptyResult("text");
    emptyResult.Format("%s", "");
    EXPECT_STREQ("", emptyResult.GetBuffer());

    // A wide character the C locale cannot convert makes vsnprintf fail.
    Str failed("text");
    failed.Format("%ls", L"\u00e9");
    EXPECT_STREQ("", failed.GetBuffer());
    EXPECT_EQ(0u, failed.GetLength());
}

TEST(Str, Replace)
{
    struct Case { char const* text; char const* find; char const* with; char const* expected; };
    Case const cases[] = {
        {"abab", "ab", "xab", "xabxab"},
        {"aaa", "aa", "b", "ba"},
        {"abc", "x", "y", "abc"},
        {"a  b  c", "  ", " ", "a b c"},
        {"virtual void f();", "virtual ", "", "void f();"},
        {"<CLASS_NAME />::<CLASS_NAME />()", "<CLASS_NAME />", "Foo", "Foo::Foo()"},
        {"abc", "abc", "", ""},
        {"abc", "", "z", "abc"},
        {"abc", "b", nullptr, "ac"},
    };
    for (Case const& c : cases) {
        Str s(c.text);
        s.Replace(c.find, c.with);
        EXPECT_STREQ(c.expected, s.GetBuffer()) << c.text << " / " << c.find;
        EXPECT_EQ(strlen(c.expected), s.GetLength());
    }

    Str cleared("gone");
    cleared.Replace("gone", "");
    EXPECT_EQ(0u, cleared.GetLength());
    EXPECT_EQ(64u, cleared.GetCapacity());
}

TEST(Str, LeftAndRight)
{
    Str abc("abc");
    struct Case { Str result; char const* expected; };
    Case const cases[] = {
        {abc.Left(10), "abc"},
        {abc.Left(2), "ab"},
        {abc.Right(2), "bc"},
        {abc.Right(5), "abc"},
        {abc.Right(3), "abc"},
    };
    for (Case const& c : cases) {
        EXPECT_STREQ(c.expected, c.result.GetBuffer());
        EXPECT_EQ(64u, c.result.GetCapacity());
    }
    EXPECT_EQ(Str::m_EmptyStr, abc.Left(0).GetBuffer());
    EXPECT_EQ(Str::m_EmptyStr, abc.Right(0).GetBuffer());
}

TEST(Str, Equality)
{
    Str empty, abc("abc");
    EXPECT_TRUE(empty == "");
    EXPECT_FALSE(abc == "");
    EXPECT_TRUE(abc == "abc");
    EXPECT_FALSE(abc == "abd");
    EXPECT_FALSE(abc == "xbc");
    EXPECT_FALSE(abc == "ab");
    EXPECT_FALSE(abc == "Abc");
    EXPECT_TRUE(abc != "abd");
    EXPECT_TRUE("abc" == abc);
    EXPECT_TRUE("abd" != abc);
    EXPECT_TRUE(abc == Str("abc"));
    EXPECT_TRUE(empty == Str(""));
    EXPECT_TRUE(abc != Str("abcd"));
    EXPECT_TRUE(abc.equals("abc", 3));
    EXPECT_FALSE(abc.equals("abc", 2));
}

TEST(Str, Concatenation)
{
    Str right("tail");
    Str fromNull = static_cast<char const*>(nullptr) + right;
    EXPECT_STREQ("tail", fromNull.GetBuffer());
    EXPECT_NE(right.GetBuffer(), fromNull.GetBuffer());
    EXPECT_EQ(64u, fromNull.GetCapacity());

    EXPECT_STREQ("head-tail", ("head-" + right).GetBuffer());
    EXPECT_STREQ("tail.h", (right + ".h").GetBuffer());
    EXPECT_STREQ("tailtail", (right + right).GetBuffer());
    EXPECT_STREQ("tail/", (right + '/').GetBuffer());
    std::string long_text(70, 'z');
    EXPECT_EQ(75u, (long_text.c_str() + right).GetCapacity());
}

TEST(Str, SourcesInsideTheOwnBuffer)
{
    // Appending a string to itself across a growth of its buffer.
    std::string text(40, 'q');
    Str doubled(text.c_str());
    doubled += doubled;
    EXPECT_EQ(text + text, doubled.GetBuffer());
    doubled.AddData(doubled.GetBuffer());
    EXPECT_EQ(text + text + text + text, doubled.GetBuffer());

    Str tail("abcdef");
    tail = tail.GetBuffer() + 2;
    EXPECT_STREQ("cdef", tail.GetBuffer());

    Str middle("abcdef");
    middle.SetData(middle.GetBuffer() + 1, 3);
    EXPECT_STREQ("bcd", middle.GetBuffer());

    Str same("same");
    same = same;
    EXPECT_STREQ("same", same.GetBuffer());
}

TEST(Str, CopiesOwnTheirBuffers)
{
    Str a("text");
    Str b(a);
    Str c;
    c = a;
    EXPECT_NE(a.GetBuffer(), b.GetBuffer());
    EXPECT_NE(a.GetBuffer(), c.GetBuffer());
    a += "!";
    EXPECT_STREQ("text", b.GetBuffer());
    EXPECT_STREQ("text", c.GetBuffer());
}

} // namespace
