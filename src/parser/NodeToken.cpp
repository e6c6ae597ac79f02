#include "parser/NodeToken.h"

#include "base/Name.h"

char const* NodeToken::GetText() const
{
    return m_pToken ? Lex::Token::get_static_text(m_pToken->type) : "unknown";
}

Name* NodeToken::GetName() const
{
    return Name::GetName(GetText(), nullptr);
}

Str NodeToken::AsString()
{
    return Str(GetText());
}

void NodeToken::DeleteToken()
{
    if (!m_pToken)
        return;
    m_pToken->delete_token();
    m_pToken = nullptr;
}
