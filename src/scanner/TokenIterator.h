// Walking ranges of a token list. A range runs from its first token up to
// and including its last token, or to the end of the list when the last
// token is null or never met.
#pragma once

#include "scanner/Token.h"

#include <string>

namespace Lex {

class TokenIterator {
public:
    TokenIterator() : current(nullptr), last(nullptr), done(false) {}
    // Tokens of two different lists give an empty range.
    TokenIterator(Token* first, Token* last);
    TokenIterator(TokenIterator const& other) = default;
    TokenIterator& operator=(TokenIterator const& other) = default;
    virtual ~TokenIterator() {}

    // The next token of the range, or null when the range is used up. The
    // same step users write inline:
    //   while (it.current && !it.done) { it.done = it.current == it.last; ... }
    Token* Next()
    {
        if (!current || done)
            return nullptr;
        Token* t = current;
        done = t == last;
        current = t->next();
        return t;
    }

    // The token before current (the one handed out last), null when current
    // is null.
    Token* GetLast() const { return current ? current->prev() : nullptr; }
    // Unlinks GetLast() from its list; the token stays alive.
    void DeleteLast();

    // The texts of the range's tokens (each up to a NUL byte) joined without
    // separators.
    static std::string TokenListToString(Token* first, Token* last);

    Token* current;
    Token* last;
    bool done;
};

// Visits the tokens from a start token to the end of its list; the On...
// hooks are empty and meant to be overridden.
class CTokenVisitor {
public:
    CTokenVisitor() : iter(nullptr) {}
    CTokenVisitor(CTokenVisitor const&) = delete;
    CTokenVisitor& operator=(CTokenVisitor const&) = delete;
    virtual ~CTokenVisitor() {}

    void Visit(Token& start);

    // Preprocessor tokens go to OnPreParser, else comments to OnComment;
    // white space holding a newline also goes to OnLineBreak.
    virtual void VisitToken(Token& t);
    virtual void OnPreParser(Token&) {}
    virtual void OnLineBreak(Token&) {}
    virtual void OnComment(Token&) {}

    TokenIterator* iter; // the walk in progress, null between walks
};

} // namespace Lex

using Lex::CTokenVisitor;
using Lex::TokenIterator;
