#include "parser/MethodBodyParser.h"

#include "parser/CParserState.h"
#include "parser/NodeKeyword.h"

bool MethodBodyParser::ProcessToken()
{
    if (CClassHeadParser::ProcessToken())
        return true;
    Lex::Token* token = m_State.m_pActToken;
    if (!token)
        return false;
    switch (m_State.m_ActTokenType) {
    case Lex::TOK_ASM:
    case Lex::TOK_SUPER:
        AddKeyword(*new NodeKeyword(token));
        return true;
    case Lex::TOK_BREAK:
    case Lex::TOK_CASE:
    case Lex::TOK_CATCH:
    case Lex::TOK_CONST_CAST:
    case Lex::TOK_CONTINUE:
    case Lex::TOK_DEFAULT:
    case Lex::TOK_DO:
    case Lex::TOK_ELSE:
    case Lex::TOK_FOR:
    case Lex::TOK_IF:
    case Lex::TOK_RETURN:
    case Lex::TOK_SWITCH:
    case Lex::TOK_TRY:
    case Lex::TOK_WHILE:
        AddNode(*new NodeToken(token));
        return true;
    default:
        return false;
    }
}
