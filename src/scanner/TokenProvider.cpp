#include "scanner/TokenProvider.h"

namespace Lex {

TokenProvider::TokenProvider(LexTokenSource& source)
    : m_source(source), m_pos(nullptr), m_bucket(nullptr), m_at_end(false)
{
}

Token* TokenProvider::start()
{
    if (m_buffer.empty())
        return fetch();
    m_at_end = false;
    m_bucket = m_buffer.first();
    m_pos = m_bucket->items;
    return *m_pos;
}

Token* TokenProvider::forward()
{
    if (m_at_end)
        return nullptr;
    if (!m_pos)
        return start();
    Buffer::Bucket* bucket = m_bucket;
    Token** slot = m_pos + 1;
    if (slot == bucket->end) {
        bucket = bucket->next;
        slot = bucket ? bucket->items : nullptr;
    }
    if (bucket && slot < bucket->write) {
        m_bucket = bucket;
        m_pos = slot;
        return *m_pos;
    }
    return fetch();
}

// Reads the next token of the source into a new slot at the end of the
// buffer and makes it the position.
Token* TokenProvider::fetch()
{
    Token* t = m_source.next();
    if (!t) {
        m_at_end = true;
        m_pos = nullptr;
        m_bucket = nullptr;
        return nullptr;
    }
    m_pos = m_buffer.append(t);
    m_bucket = m_buffer.last();
    return t;
}

} // namespace Lex
