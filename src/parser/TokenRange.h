// Token-range mixins of the syntax nodes: a first token, a last token, and a
// range from the first through the last token of one token list. A range is
// only its two end pointers; edits inside it do not touch the node.
#pragma once

#include "scanner/Token.h"

class FirstAndLastToken;

class FirstToken {
public:
    FirstToken() : m_pFirstToken(nullptr) {}
    virtual ~FirstToken() {}

    virtual Lex::Token* GetFirstToken() { return m_pFirstToken; }
    virtual Lex::Token* GetFirstToken() const { return m_pFirstToken; }
    void SetFirstToken(Lex::Token* token) { m_pFirstToken = token; }

    // The next token becomes the first one; the old first token is unlinked
    // from its list (it stays alive).
    void DelFirstToken();
    // Puts a copy of the source's range in front of the first token, which
    // then becomes the first copied token. Nothing without a first token or
    // when the source's range cannot be copied.
    void CopyBefore(FirstAndLastToken& source);

protected:
    Lex::Token* m_pFirstToken;
};

class LastToken {
public:
    LastToken() : m_pLastToken(nullptr) {}
    virtual ~LastToken() {}

    virtual void SetLastToken(Lex::Token& token) { m_pLastToken = &token; }
    virtual Lex::Token* GetLastToken() { return m_pLastToken; }

protected:
    Lex::Token* m_pLastToken;
};

class FirstAndLastToken : public FirstToken, public LastToken {
public:
    FirstAndLastToken() {}
    FirstAndLastToken(Lex::Token* first, Lex::Token* last)
    {
        m_pFirstToken = first;
        m_pLastToken = last;
    }

    // True when both ends are set, lie in one list and the last token is
    // reached by walking forward from the first.
    bool IsValidRange() const;

    // A new list (owned by the caller) of duplicates of the range's tokens;
    // null when the range is not valid.
    Lex::List* GetTokenCopy() const;
    // Unlinks the range's tokens from their list; nothing when the range is
    // not valid. The end pointers stay as they are.
    void DeleteAllTokens();
};
