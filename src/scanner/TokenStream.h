// Token sources that feed the parser: one over a unit, and a stack of them.
#pragma once

#include "scanner/Array.h"
#include "scanner/Token.h"
#include "scanner/Unit.h"

namespace Lex {

class LexTokenSource {
public:
    virtual ~LexTokenSource() {}
    // The next token, or null when there is none.
    virtual Token* next() = 0;
};

// Walks the tokens of one unit (not owned) from its first token.
class UnitTokenSrc : public LexTokenSource {
public:
    explicit UnitTokenSrc(Unit& unit) : unit(&unit), current(nullptr), at_start(true) {}

    // The first token, then each following one; null at the end and on
    // every call after that.
    Token* next() override;

    Unit* unit;
    Token* current;
    bool at_start;
};

// A stack of unit sources; tokens come from the top source until it runs
// dry, then from the one below.
class TokenStream : public LexTokenSource, public Array<UnitTokenSrc*> {
public:
    TokenStream() {}
    TokenStream(TokenStream const&) = delete;
    TokenStream& operator=(TokenStream const&) = delete;
    // Deletes the sources still on the stack (the units stay).
    ~TokenStream() override;

    // Pushes a source over u; null is ignored.
    void push(Unit* u);
    Token* next() override;
    // The unit of the top source, or null.
    Unit* top() const;
};

} // namespace Lex
