#include "scanner/StrHashTable.h"

#include <cstddef>
#include <cstring>
#include <mutex>

namespace Lex {

namespace {
char empty_text[1] = "";
std::mutex adding;
} // namespace

StrHashEntry StrHashTable::s_empty = {nullptr, 0, 0, empty_text};

StrHashTable ___str_dict;

StrHashEntry* StrHashTable::insert(char const* text)
{
    if (!text)
        text = "";
    return ___str_dict.add(text, uint32_t(std::strlen(text)));
}

StrHashEntry* StrHashTable::insert(char const* text, uint32_t length)
{
    if (!text)
        return ___str_dict.add("", 0);
    return ___str_dict.add(text, length);
}

StrHashEntry* StrHashTable::add(char const* text, uint32_t length)
{
    uint32_t bucket = hash(text, length);
    if (StrHashEntry* entry = find(bucket, text, length))
        return entry;
    std::lock_guard<std::mutex> lock(adding);
    // Another thread may have added the text meanwhile.
    if (StrHashEntry* entry = find(bucket, text, length))
        return entry;
    // A plain copy: texts may hold NUL bytes.
    char* copy = new char[size_t(length) + 1];
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    StrHashEntry* entry = new StrHashEntry{m_buckets[bucket].load(std::memory_order_relaxed), bucket, length, copy};
    m_buckets[bucket].store(entry, std::memory_order_release);
    return entry;
}

StrHashEntry* StrHashTable::find(uint32_t bucket, char const* text, uint32_t length) const
{
    if (bucket >= bucket_count)
        return nullptr;
    for (StrHashEntry* entry = m_buckets[bucket].load(std::memory_order_acquire); entry; entry = entry->next)
        if (entry->length == length && std::memcmp(entry->text, text, length) == 0)
            return entry;
    return nullptr;
}

uint32_t StrHashTable::hash(char const* text, uint32_t length)
{
    uint32_t h = 0;
    for (uint32_t i = 0; i < length; ++i) {
        h = (h << 4) + uint32_t(int32_t(static_cast<signed char>(text[i])));
        uint32_t g = h & 0xF0000000u;
        if (g != 0) {
            h ^= g >> 24;
            h ^= g;
        }
    }
    return h % bucket_count;
}

} // namespace Lex
