#include "scanner/TokenProvider.h"
#include "scanner/TokenStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lex::Token;
using Lex::Unit;

void fill(Unit& u, char const* prefix, int count)
{
    for (int i = 0; i < count; ++i)
        u.append(new Token(50, Token::identifier_id, (prefix + std::to_string(i)).c_str()));
}

TEST(UnitTokenSrc, EmptyUnitGivesNullForever)
{
    Unit u;
    Lex::UnitTokenSrc src(u);
    EXPECT_EQ(nullptr, src.next());
    EXPECT_EQ(nullptr, src.next());
}

TEST(TokenStream, LastPushedUnitComesFirst)
{
    Unit a, b;
    fill(a, "a", 2);
    fill(b, "b", 1);
    Lex::TokenStream stream;
    EXPECT_EQ(nullptr, stream.top());
    stream.push(&a);
    stream.push(nullptr);
    stream.push(&b);
    EXPECT_EQ(&b, stream.top());

    std::string order;
    while (Token* t = stream.next())
        order += std::string(t->text->text) + " ";
    EXPECT_EQ("b0 a0 a1 ", order);
    EXPECT_EQ(nullptr, stream.next());
    EXPECT_EQ(nullptr, stream.top());
    EXPECT_EQ(0, stream.count());
}

TEST(TokenStream, SourcesLeftOnTheStackGoWithIt)
{
    Unit a;
    fill(a, "a", 3);
    {
        Lex::TokenStream stream;
        stream.push(&a);
        stream.push(&a);
        EXPECT_NE(nullptr, stream.next());
    }
    EXPECT_EQ(3, [&] { int n = 0; for (Token* t = a.first(); t; t = t->next()) ++n; return n; }());
}

// A source over a unit that counts how often it is asked.
class CountingSource : public Lex::LexTokenSource {
public:
    explicit CountingSource(Unit& u) : src(u) {}
    Token* next() override
    {
        ++calls;
        return src.next();
    }
    Lex::UnitTokenSrc src;
    int calls = 0;
};

TEST(TokenProvider, WalksAcrossBucketsAndRewinds)
{
    Unit u;
    int const total = 2 * Lex::TokenProvider::bucket_size + 3;
    fill(u, "t", total);
    CountingSource source(u);
    Lex::TokenProvider provider(source);
    EXPECT_EQ(nullptr, provider.current());

    Token* expected = u.first();
    EXPECT_EQ(expected, provider.start());
    EXPECT_EQ(expected, provider.current());
    int seen = 1;
    while (Token* t = provider.forward()) {
        expected = expected->next();
        ASSERT_EQ(expected, t);
        ++seen;
    }
    EXPECT_EQ(total, seen);
    EXPECT_EQ(nullptr, provider.current());
    EXPECT_EQ(nullptr, provider.forward());
    int calls = source.calls;

    // Rewinding walks the buffered tokens without asking the source again.
    EXPECT_EQ(u.first(), provider.start());
    for (int i = 1; i < total; ++i)
        provider.forward();
    EXPECT_EQ(u.last(), provider.current());
    EXPECT_EQ(calls, source.calls);
}

TEST(TokenProvider, OverAStreamOfAnEmptyUnit)
{
    Unit u;
    Lex::TokenStream stream;
    stream.push(&u);
    Lex::TokenProvider provider(stream);
    EXPECT_EQ(nullptr, provider.start());
    EXPECT_EQ(nullptr, provider.current());
    EXPECT_EQ(nullptr, provider.forward());
}

TEST(TokenProvider, ForwardBeforeStartStarts)
{
    Unit u;
    fill(u, "t", 2);
    Lex::TokenStream stream;
    stream.push(&u);
    Lex::TokenProvider provider(stream);
    EXPECT_EQ(u.first(), provider.forward());
    EXPECT_EQ(u.last(), provider.forward());
    EXPECT_EQ(nullptr, provider.forward());
}

} // namespace
