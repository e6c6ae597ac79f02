// Chained hash maps with a fixed number of buckets (29 unless set otherwise),
// made on the first Put. Every entry keeps the full hash of its key; a new
// entry goes to the head of its chain; iteration runs bucket by bucket and,
// within a bucket, from the newest entry to the oldest.
//
// The bucket count never changes, so the iteration order is the same in every
// run. A map that may hold many entries is made indexed (SetIndexed): beside
// its buckets it keeps a look-up index that grows with it, so Find and Put
// cost the same at any size, while the buckets and the iteration order stay
// exactly as they would be without it.
//
// Keys are strings (K = Str, passed as char const*) or object pointers
// (K = KArg = a pointer type). Map<K, V> is short for Map<K, K, V, V>.
#pragma once

#include "base/Array.h"
#include "base/Str.h"

#include <cassert>
#include <cstdint>

// Hash of a text: h = h * 33 + c over its bytes read as signed chars, in
// 32-bit unsigned arithmetic, so bucket orders are the same everywhere.
inline uint32_t HashString(char const* text)
{
    uint32_t hash = 0;
    for (signed char const* p = reinterpret_cast<signed char const*>(text); *p; ++p)
        hash = hash * 33u + static_cast<uint32_t>(static_cast<int32_t>(*p));
    return hash;
}

// Hash of an object pointer: its address shifted right by 4, cut to 32 bits.
inline uint32_t HashPointer(void const* pointer)
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer) >> 4);
}

// How a key kind is hashed and compared.
template <class K, class KArg>
struct MapKeyTraits;

template <>
struct MapKeyTraits<Str, char const*> {
    static uint32_t Hash(char const* key) { return HashString(key); }
    static bool Equal(Str const& stored, char const* key) { return stored == key; }
};

template <class P>
struct MapKeyTraits<P*, P*> {
    static uint32_t Hash(P* key) { return HashPointer(key); }
    static bool Equal(P* stored, P* key) { return stored == key; }
};

template <class K, class KArg, class V = void, class VArg = void>
class Map {
    using Traits = MapKeyTraits<K, KArg>;

public:
    // One entry. The value is read and written directly by the owner.
    struct HashNode {
        HashNode(uint32_t hash, KArg key) : m_Hash(hash), m_Key(key), m_Value(), m_pNext(nullptr) {}
        HashNode(HashNode const&) = delete;
        HashNode& operator=(HashNode const&) = delete;

        K const& GetKey() const { return m_Key; }
        V& GetValue() { return m_Value; }
        V const& GetValue() const { return m_Value; }

        uint32_t m_Hash;
        K m_Key;
        V m_Value;
        HashNode* m_pNext;
    };

    // One bucket: the head of a singly linked chain.
    class HashList {
    public:
        HashList() : m_pHead(nullptr) {}
        ~HashList() { RemoveAll(); }
        HashList(HashList const&) = delete;
        HashList& operator=(HashList const&) = delete;

        // Frees every node of the chain with its key and value.
        void RemoveAll()
        {
            while (HashNode* node = m_pHead) {
                m_pHead = node->m_pNext;
                delete node;
            }
        }

        HashNode* m_pHead;
    };

    // The bucket table; it owns its chain heads.
    class HashTable : public Array<HashList*> {
    public:
        HashTable() {}
        ~HashTable() override
        {
            int n = this->GetCount();
            for (int i = 0; i < n; ++i)
                (*this)[i]->RemoveAll();
            for (int i = 0; i < n; ++i)
                delete (*this)[i];
        }
    };

    Map() : m_Count(0), m_WantedBuckets(29), m_bIndexed(false), m_IndexShift(32) {}
    virtual ~Map() {}
    Map(Map const&) = delete;
    Map& operator=(Map const&) = delete;

    int GetCount() const { return m_Count; }
    // 0 until the buckets are made.
    int GetBucketCount() const { return m_Buckets.GetCount(); }

    // Sets the number of buckets and makes them at once. A map whose buckets
    // exist keeps them.
    void InitBuckets(int n)
    {
        assert(n > 0);
        m_WantedBuckets = n > 0 ? n : 1;
        if (m_Buckets.GetCount() == 0)
            MakeBuckets();
    }

    // Keeps a look-up index from now on (entries already there included).
    // Only the cost of Find, Put and Remove changes.
    void SetIndexed()
    {
        if (m_bIndexed)
            return;
        m_bIndexed = true;
        if (m_Count > m_MaxUnindexed)
            Reindex(m_Count);
    }
    bool IsIndexed() const { return m_bIndexed; }

    // The entry of the key, or null. Never makes buckets.
    HashNode* Find(KArg key) const
    {
        if (m_Buckets.GetCount() == 0)
            return nullptr;
        uint32_t hash = Traits::Hash(key);
        if (m_Index.GetCount() != 0)
            return FindIndexed(hash, key);
        return FindIn(Bucket(hash), hash, key);
    }

    // Enters the key with the value, or replaces the value of its entry.
    HashNode* Put(KArg key, VArg value)
    {
        HashNode* node = FindOrAdd(key);
        node->m_Value = value;
        return node;
    }

    // Removes the key's entry; false when there is none.
    bool Remove(KArg key)
    {
        if (m_Buckets.GetCount() == 0)
            return false;
        uint32_t hash = Traits::Hash(key);
        HashList* bucket = Bucket(hash);
        HashNode* previous = nullptr;
        for (HashNode* node = bucket->m_pHead; node; previous = node, node = node->m_pNext) {
            if (node->m_Hash == hash && Traits::Equal(node->m_Key, key)) {
                if (m_Index.GetCount() != 0)
                    Unindex(node);
                if (previous)
                    previous->m_pNext = node->m_pNext;
                else
                    bucket->m_pHead = node->m_pNext;
                delete node;
                --m_Count;
                return true;
            }
        }
        return false;
    }

    // Removes every entry; the buckets remain.
    void RemoveAll()
    {
        int n = m_Buckets.GetCount();
        for (int i = 0; i < n; ++i)
            m_Buckets[i]->RemoveAll();
        m_Count = 0;
        // The index is made again when the map grows large again, so that
        // emptying a map costs what filling it did.
        m_Index.SetCount(0);
    }

    // Iteration: entries bucket by bucket, each chain from its head. The
    // entry the iteration stands on must not be removed.
    HashNode* GetFirst() const { return FirstFrom(0); }
    HashNode* GetNext(HashNode const* node) const
    {
        if (node->m_pNext)
            return node->m_pNext;
        return FirstFrom(static_cast<int>(node->m_Hash % static_cast<uint32_t>(m_Buckets.GetCount())) + 1);
    }

protected:
    // The entry of the key; a new one with a default value when missing.
    HashNode* FindOrAdd(KArg key)
    {
        uint32_t hash = Traits::Hash(key);
        if (m_Buckets.GetCount() == 0)
            MakeBuckets();
        HashList* bucket = Bucket(hash);
        HashNode* node = m_Index.GetCount() != 0 ? FindIndexed(hash, key) : FindIn(bucket, hash, key);
        if (!node) {
            node = new HashNode(hash, key);
            node->m_pNext = bucket->m_pHead;
            bucket->m_pHead = node;
            ++m_Count;
            if (m_bIndexed)
                AddToIndex(node);
        }
        return node;
    }

private:
    void MakeBuckets()
    {
        m_Buckets.SetCount(m_WantedBuckets);
        for (int i = 0; i < m_WantedBuckets; ++i)
            m_Buckets[i] = new HashList;
    }

    HashList* Bucket(uint32_t hash) const
    {
        return m_Buckets[static_cast<int>(hash % static_cast<uint32_t>(m_Buckets.GetCount()))];
    }

    static HashNode* FindIn(HashList const* bucket, uint32_t hash, KArg key)
    {
        for (HashNode* node = bucket->m_pHead; node; node = node->m_pNext)
            if (node->m_Hash == hash && Traits::Equal(node->m_Key, key))
                return node;
        return nullptr;
    }

    HashNode* FirstFrom(int bucket) const
    {
        int n = m_Buckets.GetCount();
        for (int i = bucket; i < n; ++i)
            if (HashNode* head = m_Buckets[i]->m_pHead)
                return head;
        return nullptr;
    }

    // The look-up index: open addressing with linear probing over a power of
    // two slots, at most half of them used; a slot holds an entry or null.
    // A small map is searched through its chains and has no index yet.
    static constexpr int m_MaxUnindexed = 16;

    size_t IndexSlot(uint32_t hash) const
    {
        return m_IndexShift >= 32 ? 0 : static_cast<size_t>((hash * 2654435769u) >> m_IndexShift);
    }

    HashNode* FindIndexed(uint32_t hash, KArg key) const
    {
        int size = m_Index.GetCount();
        if (size == 0)
            return nullptr;
        size_t mask = static_cast<size_t>(size) - 1;
        for (size_t i = IndexSlot(hash);; i = (i + 1) & mask) {
            HashNode* node = m_Index[static_cast<int>(i)];
            if (!node)
                return nullptr;
            if (node->m_Hash == hash && Traits::Equal(node->m_Key, key))
                return node;
        }
    }

    // Enters a node that is already counted in m_Count.
    void AddToIndex(HashNode* node)
    {
        if (m_Count <= m_MaxUnindexed && m_Index.GetCount() == 0)
            return;
        if (static_cast<size_t>(m_Count) * 2 > static_cast<size_t>(m_Index.GetCount()))
            Reindex(m_Count);
        else
            Place(node);
    }

    void Place(HashNode* node)
    {
        size_t mask = static_cast<size_t>(m_Index.GetCount()) - 1;
        size_t i = IndexSlot(node->m_Hash);
        while (m_Index[static_cast<int>(i)])
            i = (i + 1) & mask;
        m_Index[static_cast<int>(i)] = node;
    }

    // Rebuilds the index with room for twice the given number of entries.
    void Reindex(int entries)
    {
        size_t size = 64;
        unsigned shift = 26;
        while (size < 2 * static_cast<size_t>(entries)) {
            size *= 2;
            --shift;
        }
        m_Index.SetCount(static_cast<int>(size));
        for (int i = 0; i < m_Index.GetCount(); ++i)
            m_Index[i] = nullptr;
        m_IndexShift = shift;
        for (HashNode* node = GetFirst(); node; node = GetNext(node))
            Place(node);
    }

    // Takes a node out of the index; the entries behind it in its probe run
    // move up so that every entry stays reachable from its home slot.
    void Unindex(HashNode* node)
    {
        size_t mask = static_cast<size_t>(m_Index.GetCount()) - 1;
        size_t hole = IndexSlot(node->m_Hash);
        while (m_Index[static_cast<int>(hole)] != node)
            hole = (hole + 1) & mask;
        for (size_t next = (hole + 1) & mask; HashNode* moved = m_Index[static_cast<int>(next)];
             next = (next + 1) & mask) {
            size_t home = IndexSlot(moved->m_Hash);
            bool stays = hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
            if (!stays) {
                m_Index[static_cast<int>(hole)] = moved;
                hole = next;
            }
        }
        m_Index[static_cast<int>(hole)] = nullptr;
    }

    int m_Count;
    HashTable m_Buckets;
    int m_WantedBuckets;
    bool m_bIndexed;
    unsigned m_IndexShift;
    Array<HashNode*> m_Index;
};

// The short spelling Map<K, V>: keys and values passed as they are stored.
template <class K, class V>
class Map<K, V, void, void> : public Map<K, K, V, V> {
public:
    Map() {}
    ~Map() override {}
};

// A set: every entry's value is true.
template <class K, class KArg = K>
class Set : public Map<K, KArg, bool, bool> {
public:
    Set() {}
    ~Set() override {}

    void Add(KArg key) { this->Put(key, true); }
    bool Contains(KArg key) const { return this->Find(key) != nullptr; }
};

// String keys.
template <class V, class VArg = V>
class MapStringTo : public Map<Str, char const*, V, VArg> {
public:
    MapStringTo() {}
    ~MapStringTo() override {}

    // The value of the key; a default value is entered when it is missing.
    V& operator[](char const* key) { return this->FindOrAdd(key)->m_Value; }
};

class MapStringToString : public Map<Str, char const*, Str, char const*> {
public:
    MapStringToString() {}
    ~MapStringToString() override {}

    // The value of the key; an empty value is entered when it is missing.
    Str& operator[](char const* key) { return FindOrAdd(key)->m_Value; }
};

class StringSet : public Set<Str, char const*> {
public:
    StringSet() {}
    ~StringSet() override {}
};
