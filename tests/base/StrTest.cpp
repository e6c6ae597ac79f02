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

TEST(Str, AllocBufMakesRoomAndKeepsTheText)
{
    for (size_t need : {size_t(1), size_t(64), size_t(100), size_t(5000)}) {
        Str s("hello");
        s.AllocBuf(need);
        EXPECT_GE(s.GetCapacity(), need);
        EXPECT_STREQ("hello", s.GetBuffer());
        EXPECT_EQ(5u, s.GetLength());
        // A buffer that is large enough stays.
        char const* buffer = s.GetBuffer();
        s.AllocBuf(need);
        EXPECT_EQ(buffer, s.GetBuffer());
    }
}

TEST(Str, AppendingPieceByPieceMovesTheTextRarely)
{
    // Amortised growth: a million single bytes move the text a few dozen
    // times, not once per grow step.
    Str s;
    int moves = 0;
    char const* buffer = s.GetBuffer();
    for (int i = 0; i < 1000000; ++i) {
        s += static_cast<char>('a' + i % 26);
        if (s.GetBuffer() != buffer) {
            ++moves;
            buffer = s.GetBuffer();
        }
    }
    EXPECT_EQ(1000000u, s.GetLength());
    EXPECT_EQ('a', s.GetBuffer()[0]);
    EXPECT_EQ('a' + 999999 % 26, s.GetBuffer()[999999]);
    EXPECT_LT(moves, 40);
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

    Str copyOfEmpty(plain);
    EXPECT_EQ(0u, copyOfEmpty.GetLength());
    EXPECT_STREQ("", copyOfEmpty.GetBuffer());

    // Emptying keeps the own buffer for the next text.
    Str text("some text");
    char const* buffer = text.GetBuffer();
    text = "";
    EXPECT_EQ(0u, text.GetLength());
    EXPECT_STREQ("", text.GetBuffer());
    text = "other";
    EXPECT_EQ(buffer, text.GetBuffer());
}

std::string Bytes(Str const& s)
{
    return std::string(s.GetBuffer(), s.GetLength());
}

TEST(Str, KeepsEmbeddedNulBytes)
{
    using namespace std::string_literals;
    Str const abcd = Str().SetData("ab\0cd", 5);
    Str const abxy = Str().SetData("ab\0xy", 5);
    struct Case { char const* name; Str result; std::string expected; };
    Case const cases[] = {
        {"SetData", abcd, "ab\0cd"s},
        {"copy", Str(abcd), "ab\0cd"s},
        {"assignment", [&] { Str s("old text"); s = abcd; return s; }(), "ab\0cd"s},
        {"append", [&] { Str s("<"); s += abcd; s += abcd; return s; }(), "<ab\0cdab\0cd"s},
        {"str + str", abcd + abxy, "ab\0cdab\0xy"s},
        {"text + str", "<" + abcd, "<ab\0cd"s},
        {"str + text", abcd + ">", "ab\0cd>"s},
        {"str + char", abcd + '!', "ab\0cd!"s},
        {"left", abcd.Left(4), "ab\0c"s},
        {"right", abcd.Right(4), "b\0cd"s},
        {"replace behind a NUL", Str(abcd).Replace("c", "CC"), "ab\0CCd"s},
        {"replace across", Str(abcd).Replace("b", "B"), "aB\0cd"s},
    };
    for (Case const& c : cases) {
        EXPECT_EQ(c.expected, Bytes(c.result)) << c.name;
        EXPECT_EQ('\0', c.result.GetBuffer()[c.result.GetLength()]) << c.name;
    }

    // Equality compares every byte.
    EXPECT_FALSE(abcd == abxy);
    EXPECT_TRUE(abcd != abxy);
    EXPECT_TRUE(abcd == Str(abcd));
    EXPECT_FALSE(abcd == Str("ab"));
    EXPECT_FALSE(abcd.equals("ab\0xy", 5));
    EXPECT_TRUE(abcd.equals("ab\0cd", 5));
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
    // Texts shorter than, as long as and longer than the buffer.
    struct Case { size_t capacity, textLength; };
    Case const cases[] = {
        {0, 10}, {0, 100}, {0, 200}, {300, 700}, {300, 299}, {300, 300}, {64, 10000},
    };
    for (Case const& c : cases) {
        std::string text(c.textLength, 'y');
        Str s = WithCapacity(c.capacity);
        s.Format("<%s>", text.c_str());
        EXPECT_EQ("<" + text + ">", s.GetBuffer()) << c.capacity << " / " << c.textLength;
        EXPECT_EQ(c.textLength + 2, s.GetLength());
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
    EXPECT_STREQ("", cleared.GetBuffer());
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
        EXPECT_EQ(strlen(c.expected), c.result.GetLength());
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

    EXPECT_STREQ("head-tail", ("head-" + right).GetBuffer());
    EXPECT_STREQ("tail.h", (right + ".h").GetBuffer());
    EXPECT_STREQ("tailtail", (right + right).GetBuffer());
    EXPECT_STREQ("tail/", (right + '/').GetBuffer());
    std::string long_text(70, 'z');
    EXPECT_EQ(long_text + "tail", (long_text.c_str() + right).GetBuffer());
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
