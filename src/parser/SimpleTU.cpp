#include "parser/SimpleTU.h"

#include "scanner/Token.h"

SimpleTU::SimpleTU(Lex::ErrorStream& errors) : m_pFirstToken(nullptr)
{
    (void)errors;
}

Lex::Token* SimpleTU::SetFirstToken(Lex::Token* first)
{
    Lex::Token* token = new Lex::Token(Lex::TOK_WHITESPACE, Lex::Token::white_id, "");
    m_pFirstToken = token;
    if (first && first->list())
        first->AddTokenBefore(*token);
    return token;
}
