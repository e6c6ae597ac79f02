#include "scanner/StrHashTable.h"
#include "scanner/Token.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using Lex::StrHashTable;

TEST(StrHashTable, EqualTextsShareOneEntry)
{
    Lex::StrHashEntry* a = StrHashTable::insert("shared_text");
    char buffer[] = "shared_text";
    EXPECT_EQ(a, StrHashTable::insert(buffer));
    EXPECT_NE(buffer, a->text); // the entry holds its own copy
    EXPECT_EQ(11u, a->length);
    EXPECT_NE(a, StrHashTable::insert("shared_tex"));

    EXPECT_EQ(Lex::___str_dict.empty_entry(), StrHashTable::insert(""));
    EXPECT_EQ(0u, Lex::___str_dict.empty_entry()->length);

    // Tokens of equal texts share the entry.
    Lex::Token t1(50, Lex::Token::identifier_id, "shared_text");
    Lex::Token t2(50, Lex::Token::identifier_id, "shared_text");
    EXPECT_EQ(a, t1.text);
    EXPECT_EQ(t1.text, t2.text);
}

TEST(StrHashTable, BucketsAre32BitOverSignedBytes)
{
    struct Case {
        char const* text;
        uint32_t bucket;
    } const cases[] = {
        {"", 0},
        {"abc", 26499},
        {"\xE9", 3865},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.text);
        uint32_t length = uint32_t(std::strlen(c.text));
        EXPECT_EQ(c.bucket, StrHashTable::hash(c.text, length));
        Lex::StrHashEntry* e = StrHashTable::insert(c.text);
        EXPECT_EQ(c.bucket, e->hash);
        EXPECT_EQ(e, Lex::___str_dict.find(c.bucket, c.text, length));
    }
    // A long text exercises the folding of the top bits.
    char const* longText = "a_fairly_long_identifier_name_for_hashing";
    uint32_t length = uint32_t(std::strlen(longText));
    uint32_t bucket = StrHashTable::hash(longText, length);
    EXPECT_LT(bucket, StrHashTable::bucket_count);
    EXPECT_EQ(bucket, StrHashTable::insert(longText)->hash);
    EXPECT_EQ(nullptr, Lex::___str_dict.find(bucket, "not there", 9));
}

} // namespace

// Threads scanning at once add the same new texts: each text still gets
// exactly one entry.
TEST(StrHashTable, ThreadsAddingTheSameTextsShareEntries)
{
    constexpr int threads = 8;
    constexpr int texts = 2000;
    std::vector<std::vector<Lex::StrHashEntry*>> seen(threads);
    std::vector<std::thread> running;
    for (int t = 0; t < threads; ++t)
        running.emplace_back([t, &seen] {
            for (int i = 0; i < texts; ++i) {
                std::string text = "concurrent_" + std::to_string((i * 7 + t) % texts);
                seen[t].push_back(StrHashTable::insert(text.c_str()));
            }
        });
    for (std::thread& thread : running)
        thread.join();
    for (int t = 0; t < threads; ++t)
        for (int i = 0; i < texts; ++i) {
            std::string text = "concurrent_" + std::to_string((i * 7 + t) % texts);
            ASSERT_EQ(StrHashTable::insert(text.c_str()), seen[t][i]) << text;
        }
}
