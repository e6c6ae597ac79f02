// The parse result of one file: its class database and the empty
// white-space token put in front of the file's first token, where every
// walk over the whole file starts.
#pragma once

#include "parser/ClassDB.h"

#include <cstddef>
#include <new>

namespace Lex {
class ErrorStream;
class Token;
}

class SimpleTU : public ClassDB {
public:
    // Parse results live until the end of the run, like the nodes they
    // hold. Allocating them here names them for the leak checker, which is
    // told to let them be.
    static void* operator new(std::size_t size) { return ::operator new(size); }
    static void operator delete(void* p) { ::operator delete(p); }

    // The stream is not kept.
    explicit SimpleTU(Lex::ErrorStream& errors);

    ClassDB* db() { return this; }

    // Makes an empty white-space token, inserts it right before first and
    // keeps it as the file's first token; returns it.
    Lex::Token* SetFirstToken(Lex::Token* first);
    Lex::Token* GetFirstToken() const { return m_pFirstToken; }

private:
    Lex::Token* m_pFirstToken;
};
