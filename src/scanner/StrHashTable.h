// The global dictionary of token texts. Equal texts share one entry, so
// token texts compare by entry identity. Entries are never removed. Threads
// may scan at the same time: look-ups run without a lock, additions take
// one.
#pragma once

#include <atomic>
#include <cstdint>

namespace Lex {

struct StrHashEntry {
    StrHashEntry* next; // next entry of the bucket chain
    uint32_t hash;      // bucket index of the text
    uint32_t length;    // length of the text in bytes
    char* text;         // NUL-terminated copy, owned
};

class StrHashTable {
public:
    static constexpr uint32_t bucket_count = 65535;

    // Only the program's dictionary ___str_dict exists; it holds the empty
    // text from the start, before any token is made.
    constexpr StrHashTable() : m_empty(&s_empty), m_buckets{&s_empty} {}
    StrHashTable(StrHashTable const&) = delete;
    StrHashTable& operator=(StrHashTable const&) = delete;

    // The entry of text in ___str_dict, added when missing.
    static StrHashEntry* insert(char const* text);
    // The same for the first length bytes of text, which may hold NUL bytes.
    static StrHashEntry* insert(char const* text, uint32_t length);

    // The entry of the given bucket whose text equals the first length bytes
    // of text, else null.
    StrHashEntry* find(uint32_t bucket, char const* text, uint32_t length) const;

    // Bucket index of the first length bytes of text: a 32-bit rolling hash
    // over signed bytes, modulo the bucket count.
    static uint32_t hash(char const* text, uint32_t length);

    StrHashEntry* empty_entry() const { return m_empty; }

private:
    StrHashEntry* add(char const* text, uint32_t length);

    static StrHashEntry s_empty;

    StrHashEntry* m_empty;
    // A new entry is complete before it becomes a bucket's head.
    std::atomic<StrHashEntry*> m_buckets[bucket_count];
};

extern StrHashTable ___str_dict;

} // namespace Lex
