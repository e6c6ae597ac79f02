#include "parser/NodeVarDecl.h"

#include "parser/NodeID.h"
#include "parser/NodeType.h"

NodeAssignment::NodeAssignment(NodeID* id) : Node(NT_ASSIGNMENT)
{
    if (id)
        AddChild(id);
}

NodeID* NodeAssignment::GetID() const
{
    Node* child = ChildAt(0);
    return child && child->GetKind() == NT_ID ? static_cast<NodeID*>(child) : nullptr;
}

NodeVariableList::NodeVariableList(NodeVarDecl* decl) : Node(NT_VARIABLE_LIST), m_pDecl(decl)
{
    m_pSeparator = ",";
}

NodeVarDecl::NodeVarDecl(NodeType* type) : Node(NT_VAR_DECL)
{
    SetChild(0, type);
    SetChild(1, new NodeVariableList(this));
}

NodeType* NodeVarDecl::GetType() const
{
    Node* child = ChildAt(0);
    return child && child->GetKind() == NT_TYPE ? static_cast<NodeType*>(child) : nullptr;
}

NodeVariableList* NodeVarDecl::GetVariableList() const
{
    Node* child = ChildAt(1);
    return child && child->GetKind() == NT_VARIABLE_LIST ? static_cast<NodeVariableList*>(child) : nullptr;
}

Str NodeVarDecl::PrintChilds()
{
    NodeType* type = GetType();
    NodeVariableList* list = GetVariableList();
    if (!type || !list)
        return Node::PrintChilds();
    return type->AsString(*list);
}
