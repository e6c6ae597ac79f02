#include "base/Array.h"
#include "base/Map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

template <class M>
Strings Keys(M const& map)
{
    Strings keys;
    for (auto* node = map.GetFirst(); node; node = map.GetNext(node))
        keys.push_back(node->GetKey().GetBuffer());
    return keys;
}

template <class P>
P* Address(uintptr_t address)
{
    return reinterpret_cast<P*>(address);
}

TEST(Map, HashesAndBuckets)
{
    struct Case { char const* text; uint32_t hash; uint32_t bucket; };
    Case const cases[] = {
        {"", 0, 0},
        {"a", 97, 10},
        {"ab", 3299, 22},
        {"\xE9", 4294967273u, 22},
        {"main", 4026341, 4026341 % 29},
        {"::A::B", 2341037259u, 2341037259u % 29},
        {"caf\xE9", 3666739, 3666739 % 29},
    };
    for (Case const& c : cases) {
        EXPECT_EQ(c.hash, HashString(c.text)) << c.text;
        EXPECT_EQ(c.bucket, HashString(c.text) % 29) << c.text;
    }
    EXPECT_EQ(256u, HashPointer(Address<void>(0x1000)));
    EXPECT_EQ(24u, HashPointer(Address<void>(0x1000)) % 29);
}

TEST(Map, IterationRunsBucketByBucketNewestFirst)
{
    struct Case { Strings inserted; Strings expected; };
    Case const cases[] = {
        // "Z" and "w" share bucket 3, "t" lies in bucket 0.
        {{"Z", "t", "w"}, {"t", "w", "Z"}},
        // The byte 0xE9 reads as -23 and joins "ab" in bucket 22, behind "a" (10).
        {{"ab", "\xE9", "a", ""}, {"", "a", "\xE9", "ab"}},
    };
    for (Case const& c : cases) {
        StringSet set;
        for (std::string const& key : c.inserted)
            set.Add(key.c_str());
        EXPECT_EQ(c.expected, Keys(set));
        EXPECT_EQ(static_cast<int>(c.inserted.size()), set.GetCount());
    }
}

TEST(Map, PointerKeysIterateByAddress)
{
    Set<int*> set;
    set.Add(Address<int>(0x1000)); // bucket 24
    set.Add(Address<int>(0x10));   // bucket 1
    set.Add(Address<int>(0x1d0));  // hash 29, bucket 0
    std::vector<int*> order;
    for (auto* node = set.GetFirst(); node; node = set.GetNext(node))
        order.push_back(node->GetKey());
    EXPECT_EQ((std::vector<int*>{Address<int>(0x1d0), Address<int>(0x10), Address<int>(0x1000)}), order);
    EXPECT_TRUE(set.Contains(Address<int>(0x10)));
    EXPECT_FALSE(set.Contains(Address<int>(0x20)));
}

TEST(Map, NewMapHasNoBuckets)
{
    MapStringTo<int> map;
    EXPECT_EQ(nullptr, map.Find("x"));
    EXPECT_FALSE(map.Remove("x"));
    map.RemoveAll();
    EXPECT_EQ(nullptr, map.GetFirst());
    EXPECT_EQ(0, map.GetBucketCount());

    map.Put("x", 1);
    EXPECT_EQ(29, map.GetBucketCount());
    EXPECT_EQ(1, map.GetCount());

    MapStringTo<int> registry;
    registry.InitBuckets(1017);
    EXPECT_EQ(1017, registry.GetBucketCount());
    EXPECT_EQ(0, registry.GetCount());
}

TEST(Map, PutOfAPresentKeyReplacesOnlyTheValue)
{
    MapStringTo<int> map;
    map.Put("k", 1);
    map.Put("Z", 2); // same bucket as "w"
    map.Put("w", 3);
    char const* storedKey = map.Find("Z")->GetKey().GetBuffer();
    map.Put("Z", 4);
    EXPECT_EQ(3, map.GetCount());
    EXPECT_EQ(4, map.Find("Z")->m_Value);
    EXPECT_EQ(storedKey, map.Find("Z")->GetKey().GetBuffer());
    EXPECT_EQ((Strings{"w", "Z", "k"}), Keys(map));
}

TEST(Map, KeysAreCaseSensitiveAndMayBeEmpty)
{
    MapStringToString map;
    map.Put("Abc", "upper");
    map.Put("abc", "lower");
    map.Put("", "empty");
    EXPECT_EQ(3, map.GetCount());
    EXPECT_STREQ("upper", map.Find("Abc")->m_Value.GetBuffer());
    EXPECT_STREQ("lower", map.Find("abc")->m_Value.GetBuffer());
    EXPECT_STREQ("empty", map.Find("")->m_Value.GetBuffer());
    EXPECT_EQ(nullptr, map.Find("ABC"));
}

TEST(Map, IndexingFindsOrEntersADefault)
{
    MapStringToString strings;
    EXPECT_STREQ("", strings["missing"].GetBuffer());
    EXPECT_EQ(1, strings.GetCount());
    strings["key"] = "value";
    strings["key"] += "!";
    EXPECT_STREQ("value!", strings.Find("key")->m_Value.GetBuffer());
    strings.Put("null", nullptr);
    EXPECT_STREQ("", strings.Find("null")->m_Value.GetBuffer());

    MapStringTo<int> counts;
    ++counts["a"];
    ++counts["a"];
    EXPECT_EQ(2, counts["a"]);
    EXPECT_EQ(1, counts.GetCount());
}

TEST(Map, Removal)
{
    struct Case { char const* removed; bool found; Strings left; };
    Case const cases[] = {
        {"a", true, {"t", "w", "Z"}},  // the only entry of bucket 10
        {"w", true, {"t", "Z", "a"}},  // head of a chain of two
        {"Z", true, {"t", "w", "a"}},  // behind the head
        {"q", false, {"t", "w", "Z", "a"}},
    };
    for (Case const& c : cases) {
        StringSet set;
        for (char const* key : {"a", "Z", "t", "w"})
            set.Add(key);
        EXPECT_EQ(c.found, set.Remove(c.removed));
        EXPECT_EQ(c.left, Keys(set)) << c.removed;
        EXPECT_EQ(static_cast<int>(c.left.size()), set.GetCount());
        EXPECT_FALSE(set.Contains(c.removed));
    }
}

TEST(Map, RemoveAllKeepsTheBuckets)
{
    Map<Array<int>*, StringSet*> map;
    map.Put(Address<Array<int> >(0x100), nullptr);
    map.Put(Address<Array<int> >(0x200), nullptr);
    map.RemoveAll();
    EXPECT_EQ(0, map.GetCount());
    EXPECT_EQ(29, map.GetBucketCount());
    EXPECT_EQ(nullptr, map.GetFirst());
    EXPECT_EQ(nullptr, map.Find(Address<Array<int> >(0x100)));
    map.Put(Address<Array<int> >(0x100), nullptr);
    ASSERT_NE(nullptr, map.Find(Address<Array<int> >(0x100)));
    EXPECT_EQ(nullptr, map.Find(Address<Array<int> >(0x100))->m_Value);
    EXPECT_EQ(1, map.GetCount());
}

TEST(Map, PointerValuesOutliveTheMap)
{
    Str value("still here");
    {
        MapStringTo<Str*> map;
        map.Put("v", &value);
        Map<Str*, Str*> byPointer;
        byPointer.Put(&value, &value);
        Map<Str*, Str*, Str*, Str*>& longSpelling = byPointer;
        EXPECT_EQ(&value, longSpelling.Find(&value)->m_Value);
    }
    EXPECT_STREQ("still here", value.GetBuffer());
}

// Runs the same edits on a plain map and on an indexed one and compares what
// a caller sees: iteration order, counts and look-ups.
TEST(Map, AnIndexedMapBehavesLikeAPlainOne)
{
    struct Case { char const* name; int keys; bool indexFirst; };
    Case const cases[] = {
        {"small, never indexed", 10, true},
        {"large, indexed from the start", 5000, true},
        {"large, indexed when full", 5000, false},
    };
    for (Case const& c : cases) {
        MapStringTo<int> plain, indexed;
        if (c.indexFirst)
            indexed.SetIndexed();
        std::vector<std::string> keys;
        for (int i = 0; i < c.keys; ++i)
            keys.push_back("k" + std::to_string(i * 7919 % 10007));
        for (std::string const& key : keys) {
            plain.Put(key.c_str(), static_cast<int>(key.size()));
            indexed.Put(key.c_str(), static_cast<int>(key.size()));
        }
        if (!c.indexFirst)
            indexed.SetIndexed();
        ASSERT_TRUE(indexed.IsIndexed());
        // Every third key goes, then a few come back as new entries.
        for (size_t i = 0; i < keys.size(); i += 3) {
            EXPECT_TRUE(plain.Remove(keys[i].c_str()));
            EXPECT_TRUE(indexed.Remove(keys[i].c_str())) << c.name << " " << keys[i];
        }
        for (size_t i = 0; i < keys.size(); i += 9) {
            plain.Put(keys[i].c_str(), -1);
            indexed.Put(keys[i].c_str(), -1);
        }
        EXPECT_EQ(Keys(plain), Keys(indexed)) << c.name;
        EXPECT_EQ(plain.GetCount(), indexed.GetCount()) << c.name;
        EXPECT_EQ(plain.GetBucketCount(), indexed.GetBucketCount()) << c.name;
        for (size_t i = 0; i < keys.size(); ++i) {
            auto* entry = indexed.Find(keys[i].c_str());
            bool present = i % 3 != 0 || i % 9 == 0;
            ASSERT_EQ(present, entry != nullptr) << c.name << " " << keys[i];
            if (entry) {
                EXPECT_EQ(plain.Find(keys[i].c_str())->m_Value, entry->m_Value);
            }
        }
        EXPECT_EQ(nullptr, indexed.Find("absent"));

        indexed.RemoveAll();
        EXPECT_EQ(0, indexed.GetCount());
        EXPECT_EQ(nullptr, indexed.Find(keys.back().c_str()));
        indexed.Put("again", 1);
        EXPECT_EQ(1, indexed.Find("again")->m_Value);
    }
}

TEST(Map, IndexedPointerKeys)
{
    std::vector<int> items(3000);
    Set<int*> plain, indexed;
    indexed.SetIndexed();
    for (int& item : items) {
        plain.Add(&item);
        indexed.Add(&item);
    }
    for (size_t i = 0; i < items.size(); i += 2) {
        plain.Remove(&items[i]);
        indexed.Remove(&items[i]);
    }
    std::vector<int*> plainOrder, indexedOrder;
    for (auto* node = plain.GetFirst(); node; node = plain.GetNext(node))
        plainOrder.push_back(node->GetKey());
    for (auto* node = indexed.GetFirst(); node; node = indexed.GetNext(node))
        indexedOrder.push_back(node->GetKey());
    EXPECT_EQ(plainOrder, indexedOrder);
    for (size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(i % 2 == 1, indexed.Contains(&items[i])) << i;
}

} // namespace
