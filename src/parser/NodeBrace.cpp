#include "parser/NodeBrace.h"

NodeBrace::NodeBrace(NodeTypes kind, char open, char close, Lex::Token* first)
    : Node(kind), FirstAndLastToken(first, nullptr), m_pPrecedingNode(nullptr), m_Open(open), m_Close(close)
{
}

Str NodeBrace::AsString()
{
    Str text;
    text += m_Open;
    text += PrintChilds();
    text += m_Close;
    return text;
}

Lex::Token* NodeBrace::InsertExpression(char const* text)
{
    if (!m_pFirstToken || !m_pFirstToken->list())
        return nullptr;
    return m_pFirstToken->AddTokenAfter(text ? text : "", Lex::TOK_STRING_VAL, Lex::Token::cpp_id);
}
