#include "scanner/StrHashTable.h"

#include "scanner/StrCol.h"

#include <cstring>

namespace Lex {

namespace {
char empty_text[1] = "";
}

StrHashEntry StrHashTable::s_empty = {nullptr, 0, 0, empty_text};

StrHashTable ___str_dict;

StrHashEntry* StrHashTable::insert(char const* text)
{
    return ___str_dict.add(text ? text : "");
}

StrHashEntry* StrHashTable::add(char const* text)
{
    uint32_t length = uint32_t(std::strlen(text));
    uint32_t bucket = hash(text, length);
    if (StrHashEntry* entry = find(bucket, text, length))
        return entry;
    StrHashEntry* entry = new StrHashEntry{m_buckets[bucket], bucket, length,
                                           StrCol::dup(text, int(length))};
    m_buckets[bucket] = entry;
    return entry;
}

StrHashEntry* StrHashTable::find(uint32_t bucket, char const* text, uint32_t length) const
{
    if (bucket >= bucket_count)
        return nullptr;
    for (StrHashEntry* entry = m_buckets[bucket]; entry; entry = entry->next)
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
