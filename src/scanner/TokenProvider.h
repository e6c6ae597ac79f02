// The token buffer of one parse: tokens are read lazily from a source and
// kept in buckets, so the parser can move through them position by position.
#pragma once

#include "scanner/BCList.h"
#include "scanner/TokenStream.h"

namespace Lex {

class TokenProvider {
public:
    enum { bucket_size = 8192 };
    typedef BCList<Token*, bucket_size> Buffer;

    // The source (usually a TokenStream with the unit pushed) is not owned.
    explicit TokenProvider(LexTokenSource& source);
    TokenProvider(TokenProvider const&) = delete;
    TokenProvider& operator=(TokenProvider const&) = delete;

    // Positions at the first token, reading it from the source when nothing
    // is buffered yet; returns it, or null for an empty source.
    Token* start();
    // The token at the position; null before start() and after the end.
    Token* current() const { return m_pos ? *m_pos : nullptr; }
    // Moves one token forward (reading from the source when no buffered
    // token follows) and returns the new current token; null once the source
    // is exhausted, and on every later call. Before start() it starts.
    Token* forward();

private:
    Token* fetch();

    LexTokenSource& m_source;
    Buffer m_buffer;
    Token** m_pos;           // current slot, or null
    Buffer::Bucket* m_bucket; // bucket of the current slot
    bool m_at_end;
};

} // namespace Lex
