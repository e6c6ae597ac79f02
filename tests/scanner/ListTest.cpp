#include "scanner/List.h"
#include "scanner/Token.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Lex::List;
using Lex::ListElement;
using Lex::Token;

Token* tok(char const* text)
{
    return new Token(50, Token::identifier_id, text);
}

// The texts of a list, front to back; also checks that the back links and
// owners agree with the forward walk.
std::string contents(List const& list)
{
    std::string s;
    ListElement const* prev = nullptr;
    for (ListElement* e = list.first(); e; e = e->next()) {
        EXPECT_EQ(&list, e->list());
        EXPECT_EQ(prev, e->prev());
        s += static_cast<Token*>(e)->text->text;
        prev = e;
    }
    EXPECT_EQ(prev, list.last());
    return s;
}

// A list of one token per character of texts; elems receives them.
void fill(List& list, char const* texts, Token** elems = nullptr)
{
    for (int i = 0; texts[i]; ++i) {
        char text[2] = {texts[i], '\0'};
        Token* t = tok(text);
        list.append(*t);
        if (elems)
            elems[i] = t;
    }
}

TEST(List, LinkAndRemove)
{
    List list;
    Token* b = tok("b");
    list.append(*b);
    list.prepend(*tok("a"));
    Token* d = tok("d");
    list.append(d);
    list.insert(*b, *tok("c"));
    list.insert(*d, *tok("e"));
    EXPECT_EQ("abcde", contents(list));

    List single;
    Token* only = tok("x");
    single.append(*only);
    single.remove(*only);
    EXPECT_TRUE(single.empty());
    EXPECT_EQ(nullptr, single.first());
    EXPECT_EQ(nullptr, single.last());
    EXPECT_EQ(nullptr, only->list());

    // Removing an element of another list changes nothing.
    list.remove(*only);
    EXPECT_EQ("abcde", contents(list));
    delete only;
}

TEST(List, CutEdgeCases)
{
    struct Case {
        char const* name;
        int from, to; // indices into "abcde"; -1 for null
        char const* rest;
        char const* moved;
    } const cases[] = {
        {"null to moves one", 1, -1, "acde", "Xb"},
        {"range", 1, 3, "ae", "Xbcd"},
        {"through the last", 2, 4, "ab", "Xcde"},
        {"the whole list", 0, 4, "", "Xabcde"},
        {"to before from stops at the end", 3, 1, "abc", "Xde"},
        {"from equals to", 4, 4, "abcd", "Xe"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        List list, dest;
        Token* e[5];
        fill(list, "abcde", e);
        dest.append(*tok("X"));
        list.cut(dest, e[c.from], c.to < 0 ? nullptr : e[c.to]);
        EXPECT_EQ(c.rest, contents(list));
        EXPECT_EQ(c.moved, contents(dest));
    }

    List list;
    fill(list, "ab");
    list.cut(list, list.first(), nullptr); // to its own end
    EXPECT_EQ("ba", contents(list));
}

TEST(List, MoveAndPaste)
{
    {
        List list, src;
        Token* e[3];
        fill(list, "xyz", e);
        fill(src, "ab");
        list.move_before(*e[0], src);
        EXPECT_EQ("abxyz", contents(list));
        EXPECT_TRUE(src.empty());
        EXPECT_EQ("", contents(src));
    }
    {
        List list, src;
        Token* e[3];
        fill(list, "xyz", e);
        fill(src, "ab");
        list.move(*e[2], src);
        EXPECT_EQ("xyzab", contents(list));
        fill(src, "cd");
        list.move(*e[0], src);
        EXPECT_EQ("xcdyzab", contents(list));
        List empty;
        list.move_before(*e[1], empty);
        EXPECT_EQ("xcdyzab", contents(list));
    }
    {
        List list, src;
        Token* e[2];
        fill(list, "xy", e);
        fill(src, "ab");
        list.paste_before(*e[0], src);
        list.paste(*e[1], src);
        EXPECT_EQ("abxyab", contents(list));
        EXPECT_EQ("ab", contents(src));
    }
}

TEST(List, CopiesAndOperators)
{
    List list;
    Token* e[4];
    fill(list, "abcd", e);

    struct Case {
        int from, to;
        char const* copied;
    } const cases[] = {
        {-1, -1, "abcd"}, {1, 2, "bc"}, {-1, 1, "ab"}, {2, -1, "cd"}, {3, 0, "d"},
    };
    for (auto const& c : cases) {
        List* copy = list.copy(c.from < 0 ? nullptr : e[c.from], c.to < 0 ? nullptr : e[c.to]);
        EXPECT_EQ(c.copied, contents(*copy));
        EXPECT_NE(e[0], copy->first());
        delete copy;
    }

    List other;
    fill(other, "xy");
    List sum = list + other;
    EXPECT_EQ("abcdxy", contents(sum));
    sum += sum;
    EXPECT_EQ("abcdxyabcdxy", contents(sum));
    sum = other;
    EXPECT_EQ("xy", contents(sum));
    sum = sum;
    EXPECT_EQ("xy", contents(sum));
    List copied(list);
    EXPECT_EQ("abcd", contents(copied));
    EXPECT_EQ("abcd", contents(list));

    list.clear();
    EXPECT_TRUE(list.empty());
}

TEST(ListDeathTest, LinkingAnElementOfAnotherListAsserts)
{
    List a, b;
    Token* t = tok("t");
    a.append(*t);
    EXPECT_DEBUG_DEATH(b.append(*t), "still in a list");
}

} // namespace
