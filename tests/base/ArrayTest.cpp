#include "base/Array.h"
#include "base/Stack.h"
#include "base/StringArray.h"
#include "scanner/Location.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

template <class A>
std::vector<std::string> Texts(A const& array)
{
    std::vector<std::string> texts;
    for (int i = 0; i < array.GetCount(); ++i)
        texts.push_back(static_cast<char const*>(array[i]));
    return texts;
}

using Strings = std::vector<std::string>;

TEST(Array, AddReturnsTheIndex)
{
    Array<char const*> a;
    EXPECT_EQ(0, a.GetCount());
    char const* const items[] = {"a", "b", "c"};
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(static_cast<int>(i), a.Add(items[i]));
    a.InsertAt(0, "d");
    EXPECT_EQ((Strings{"d", "a", "b", "c"}), Texts(a));
}

// Counts how often the elements move to a new buffer while n elements are
// added one by one.
template <class A, class V>
int MovesWhileAdding(A& a, int n, V value)
{
    int moves = 0;
    void const* buffer = nullptr;
    for (int i = 0; i < n; ++i) {
        a.Add(value);
        if (&a[0] != buffer) {
            ++moves;
            buffer = &a[0];
        }
    }
    return moves;
}

TEST(Array, AddingMovesTheElementsRarely)
{
    // Amortised growth: 200,000 additions move the elements a few dozen
    // times, not once per addition.
    int item = 0;
    Array<int*> plain;
    EXPECT_LT(MovesWhileAdding(plain, 200000, &item), 40);
    EXPECT_EQ(200000, plain.GetCount());
    EXPECT_EQ(&item, plain[199999]);

    ObjArray<Str, char const*> objects;
    EXPECT_LT(MovesWhileAdding(objects, 20000, "x"), 40);
    EXPECT_STREQ("x", objects[19999]);
}

TEST(Array, InsertAndRemove)
{
    struct Case { char const* name; void (*edit)(Array<char const*>&); Strings expected; };
    Case const cases[] = {
        {"insert at count appends", [](Array<char const*>& a) { a.InsertAt(a.GetCount(), "x"); },
         {"a", "b", "c", "d", "e", "x"}},
        {"insert in the middle", [](Array<char const*>& a) { a.InsertAt(2, "x"); },
         {"a", "b", "x", "c", "d", "e"}},
        {"remove the last", [](Array<char const*>& a) { a.RemoveAt(a.GetCount() - 1, 1); },
         {"a", "b", "c", "d"}},
        {"remove none", [](Array<char const*>& a) { a.RemoveAt(1, 0); },
         {"a", "b", "c", "d", "e"}},
        {"remove two inside", [](Array<char const*>& a) { a.RemoveAt(1, 2); },
         {"a", "d", "e"}},
        {"remove all by range", [](Array<char const*>& a) { a.RemoveAt(0, 5); }, {}},
    };
    for (Case const& c : cases) {
        Array<char const*> a;
        for (char const* t : {"a", "b", "c", "d", "e"})
            a.Add(t);
        c.edit(a);
        EXPECT_EQ(c.expected, Texts(a)) << c.name;
    }
}

TEST(Array, RemovalKeepsTheBufferForLaterAppends)
{
    Array<int*> a;
    int items[5];
    for (int& i : items)
        a.Add(&i);
    int* const* buffer = &a[0];
    a.RemoveAt(1, 2);
    EXPECT_EQ(3, a.GetCount());
    a.Add(&items[0]);
    a.Add(&items[1]);
    EXPECT_EQ(buffer, &a[0]);

    a.RemoveAll();
    EXPECT_EQ(0, a.GetCount());
    for (int& i : items)
        a.Add(&i);
    EXPECT_EQ(buffer, &a[0]);
    EXPECT_EQ(&items[4], a[4]);
}

TEST(Array, SetCount)
{
    Array<int*> a;
    a.SetCount(29);
    EXPECT_EQ(29, a.GetCount());
    EXPECT_GE(a.GetCapacity(), 29u);
    a[28] = nullptr;
    a.SetCount(0);
    EXPECT_EQ(0, a.GetCount());
}

TEST(Array, AssignAndAppend)
{
    auto make = [](Array<char const*>& a, std::initializer_list<char const*> items) {
        for (char const* t : items)
            a.Add(t);
    };
    Array<char const*> five, three, two;
    make(five, {"1", "2", "3", "4", "5"});
    make(three, {"a", "b", "c"});
    make(two, {"x", "y"});

    five = five;
    EXPECT_EQ((Strings{"1", "2", "3", "4", "5"}), Texts(five));
    five = three;
    EXPECT_EQ((Strings{"a", "b", "c"}), Texts(five));

    three.Append(three);
    EXPECT_EQ((Strings{"a", "b", "c"}), Texts(three));
    three.Append(two);
    EXPECT_EQ((Strings{"a", "b", "c", "x", "y"}), Texts(three));

    Array<char const*> copy(two);
    EXPECT_EQ((Strings{"x", "y"}), Texts(copy));
}

TEST(Array, ElementsOfTheArrayItselfAsValues)
{
    // Adds the last element again until the buffer moves, so that one
    // addition copies its value out of the old buffer.
    Array<char const*> a;
    a.Add("x");
    char const* const* buffer = &a[0];
    while (&a[0] == buffer)
        a.Add(a[a.GetCount() - 1]);
    EXPECT_EQ(Strings(static_cast<size_t>(a.GetCount()), "x"), Texts(a));
    a.RemoveAt(1, a.GetCount() - 1);
    a.Add("y");
    a.Add("z");
    a.RemoveAt(2, 1); // leaves a spare slot, so the next insert shifts in place
    a.InsertAt(0, a[1]);
    EXPECT_EQ((Strings{"y", "x", "y"}), Texts(a));
}

TEST(StringArray, AddsCopiesOfTexts)
{
    StringArray a;
    char buffer[] = "one";
    a.Add(buffer);
    buffer[0] = 'X';
    a.Add(nullptr);
    a.Add("");
    a.InsertAt(0, "front");
    EXPECT_EQ((Strings{"front", "one", "", ""}), Texts(a));
    EXPECT_EQ(0u, a[2].GetLength());
}

TEST(StringArray, SpareSlotsHoldEmptyStrings)
{
    StringArray a;
    for (char const* t : {"alpha", "beta", "gamma", "delta"})
        a.Add(t);
    Str const* buffer = &a[0];
    a.RemoveAt(1, 2);
    EXPECT_EQ((Strings{"alpha", "delta"}), Texts(a));
    a.Add("e");
    a.InsertAt(1, "f");
    EXPECT_EQ((Strings{"alpha", "f", "delta", "e"}), Texts(a));
    EXPECT_EQ(buffer, &a[0]); // the freed slots were reused in place
    EXPECT_EQ(1u, a[1].GetLength());

    // Texts of the array's own strings, with and without growth.
    a.Add(a[0]);
    a.InsertAt(0, a[2]);
    EXPECT_EQ((Strings{"delta", "alpha", "f", "delta", "e", "alpha"}), Texts(a));

    a.RemoveAll();
    EXPECT_EQ(0, a.GetCount());
    a.Add("again");
    EXPECT_EQ((Strings{"again"}), Texts(a));
}

TEST(StringArray, CopiesGiveEveryElementItsOwnBuffer)
{
    StringArray a, b;
    a.Add("x");
    a.Add("y");
    b.Add("old1");
    b.Add("old2");
    b.Add("old3");
    b = a;
    EXPECT_EQ((Strings{"x", "y"}), Texts(b));
    EXPECT_NE(a[0].GetBuffer(), b[0].GetBuffer());
    b.Append(a);
    EXPECT_EQ((Strings{"x", "y", "x", "y"}), Texts(b));
    EXPECT_NE(a[1].GetBuffer(), b[3].GetBuffer());
}

TEST(ObjArray, LocationsShareTheirBodies)
{
    Lex::Location a3(Lex::Filename("a.h"), 3), b7(Lex::Filename("b.h"), 7);
    {
        ObjArray<Lex::Location> locations;
        locations.Add(a3);
        locations.Add(locations[0]); // reference into the buffer being replaced
        locations.Add(b7);
        locations.RemoveAt(0, 1);
        locations.InsertAt(0, locations[1]); // reference to an element the shift moves
        ASSERT_EQ(3, locations.GetCount());
        EXPECT_EQ(7, locations[0].line());
        EXPECT_EQ(3, locations[1].line());
        EXPECT_EQ(7, locations[2].line());
        EXPECT_EQ(2, a3.data()->count());
        EXPECT_EQ(3, b7.data()->count());
    }
    EXPECT_EQ(1, a3.data()->count());
    EXPECT_EQ(1, b7.data()->count());
}

TEST(Stack, PushPopTop)
{
    int a = 0, b = 0;
    Stack<int*> stack;
    EXPECT_TRUE(stack.IsEmpty());
    stack.Push(&a);
    stack.Push(&b);
    EXPECT_EQ(2, stack.GetCount());
    EXPECT_EQ(&b, stack.Top());
    EXPECT_EQ(&b, stack.Pop());
    EXPECT_EQ(&a, stack.Pop());
    EXPECT_TRUE(stack.IsEmpty());
    stack.Push(&a);
    stack.RemoveAll();
    EXPECT_EQ(0, stack.GetCount());
}

TEST(ArrayDeathTest, IndexChecksInDebugBuilds)
{
#ifdef NDEBUG
    // Without the assertions the statements would run out of bounds.
    GTEST_SKIP() << "the index checks are assertions of debug builds";
#endif
    Array<int*> a;
    a.Add(nullptr);
    EXPECT_DEBUG_DEATH(a[1], "");
    EXPECT_DEBUG_DEATH(a.InsertAt(3, nullptr), "");
    Stack<int*> stack;
    EXPECT_DEBUG_DEATH(stack.Pop(), "");
    EXPECT_DEBUG_DEATH(stack.Top(), "");
}

} // namespace
