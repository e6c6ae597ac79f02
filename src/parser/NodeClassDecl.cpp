#include "parser/NodeClassDecl.h"

#include "parser/NodeID.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeTemplateDef.h"

NodeClassDecl::NodeClassDecl(NodeKeyword& key, NodeID& id) : Node(NT_CLASS_DECL), m_pKey(&key)
{
    SetChild(0, nullptr);
    SetChild(1, &id);
    if (key.m_pClassModifier)
        m_pFirstToken = key.m_pClassModifier->GetToken();
    else if (key.m_pRefines)
        m_pFirstToken = key.m_pRefines->GetToken();
    else
        m_pFirstToken = key.GetToken();
}

Name* NodeClassDecl::GetName() const
{
    Node* id = ChildAt(1);
    return id ? id->GetName() : nullptr;
}

NodeID* NodeClassDecl::GetID() const
{
    return ChildAs<NodeID>(1, NT_ID);
}

NodeTemplateDef* NodeClassDecl::GetTemplDef() const
{
    return ChildAs<NodeTemplateDef>(0, NT_TEMPLATE_DEF);
}

bool NodeClassDecl::IsAspect() const
{
    Lex::Token* token = m_pKey ? m_pKey->GetToken() : nullptr;
    return token && token->type == Lex::TOK_ASPECT;
}

void NodeClassDecl::SetTemplDef(NodeTemplateDef& head)
{
    SetChild(0, &head);
    m_pFirstToken = head.GetFirstToken();
}

void NodeClassDecl::CopyTemplDef(NodeTemplateDef& head)
{
    Lex::Token* former = m_pFirstToken;
    CopyBefore(head);
    Lex::Token* first = m_pFirstToken;
    // Nothing was copied when the first token did not move.
    if (!first || first == former || first->type != Lex::TOK_TEMPLATE)
        return;
    NodeTemplateDef* copy = new NodeTemplateDef(first);
    if (Lex::Token* last = former->prev())
        copy->SetLastToken(*last);
    SetTemplDef(*copy);
}
