#include "parser/TokenRange.h"

void FirstToken::DelFirstToken()
{
    Lex::Token* old = m_pFirstToken;
    if (!old)
        return;
    m_pFirstToken = old->next();
    old->delete_token();
}

void FirstToken::CopyBefore(FirstAndLastToken& source)
{
    if (!m_pFirstToken)
        return;
    Lex::List* list = m_pFirstToken->list();
    Lex::List* copy = source.GetTokenCopy();
    if (!copy)
        return;
    Lex::Token* first = static_cast<Lex::Token*>(copy->first());
    if (first && list) {
        list->move_before(*m_pFirstToken, *copy);
        m_pFirstToken = first;
    }
    // The duplicates were never part of a unit; when they could not be placed
    // they go with the copy list.
    delete copy;
}

bool FirstAndLastToken::IsValidRange() const
{
    Lex::Token* first = m_pFirstToken;
    Lex::Token* last = m_pLastToken;
    if (!first || !last || !first->list() || first->list() != last->list())
        return false;
    for (Lex::Token* t = first; t; t = t->next())
        if (t == last)
            return true;
    return false;
}

Lex::List* FirstAndLastToken::GetTokenCopy() const
{
    if (!IsValidRange())
        return nullptr;
    return m_pFirstToken->list()->copy(m_pFirstToken, m_pLastToken);
}

void FirstAndLastToken::DeleteAllTokens()
{
    if (!IsValidRange())
        return;
    Lex::Token* t = m_pFirstToken;
    for (;;) {
        Lex::Token* next = t->next();
        bool done = t == m_pLastToken;
        t->delete_token();
        if (done)
            break;
        t = next;
    }
}
