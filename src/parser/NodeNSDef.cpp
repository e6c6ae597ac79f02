#include "parser/NodeNSDef.h"

#include "parser/NodeBrace.h"
#include "parser/NodeID.h"

NodeNSDecl::NodeNSDecl(NodeID& id) : Node(NT_NS_DECL)
{
    AddChild(&id);
}

Name* NodeNSDecl::GetName() const
{
    Node* id = ChildAt(0);
    return id ? id->GetName() : nullptr;
}

NodeNSDef::NodeNSDef(NodeNSDecl& decl, NodeBlock* body) : Node(NT_NS_DEF), m_NSInfo(decl.GetName())
{
    SetChild(0, &decl);
    SetChild(1, body);
}

Name* NodeNSDef::GetName() const
{
    Node* decl = ChildAt(0);
    return decl ? decl->GetName() : nullptr;
}
