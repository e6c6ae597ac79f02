#include "parser/NodeID.h"

#include "base/Name.h"
#include "parser/NodeModifier.h"

NodeID::NodeID() : Node(NT_ID), m_pName(nullptr), m_pQualName(nullptr) {}

NodeID::NodeID(Lex::Token* first, Lex::Token* last, QualName* qualName)
    : Node(NT_ID), FirstAndLastToken(first, last), m_pName(nullptr), m_pQualName(nullptr)
{
    SetQualName(qualName);
}

unsigned NodeID::s_Renames = 0;

void NodeID::SetQualName(QualName* qualName)
{
    if (m_pQualName && m_pQualName != qualName)
        ++s_Renames;
    m_pQualName = qualName;
    if (qualName && qualName->GetLastComponent())
        m_pName = qualName->GetLastComponent();
}

Str NodeID::AsString()
{
    return Str(m_pName ? m_pName->c_str() : "");
}

bool NodeID::HasModifier(Lex::CTokens type) const
{
    for (int i = 0; i < m_Modifiers.GetCount(); ++i) {
        NodeModifier* modifier = m_Modifiers[i];
        Lex::Token* token = modifier ? modifier->GetToken() : nullptr;
        if (token && token->type == type)
            return true;
    }
    return false;
}

bool NodeID::Rename(char const* text, bool retoken)
{
    if (!text)
        return false;
    Str plain;
    for (char const* p = text; *p; ++p)
        if (*p != '~')
            plain += *p;
    SetQualName(QualName::GetName(plain));
    if (!m_pLastToken)
        return !retoken;
    if (!retoken)
        return true;

    Array<Name*, Name* const&> const& parts = m_pQualName->m_Components;
    Lex::Token* token = m_pLastToken;
    for (int i = parts.GetCount() - 1; i >= 0; --i) {
        char const* part = parts[i]->c_str();
        token->text = Lex::StrHashTable::insert(part ? part : "");
        if (i == 0)
            break;
        Lex::Token* prev = token->prev();
        if (prev && prev->type == Lex::TOK_TILDE)
            prev = prev->prev();
        if (!prev || prev->type != Lex::TOK_COLON_COLON)
            break;
        prev = prev->prev();
        if (!prev || prev->type != Lex::TOK_ID)
            break;
        token = prev;
    }
    return true;
}
