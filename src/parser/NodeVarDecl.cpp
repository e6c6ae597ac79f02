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
    return ChildAs<NodeID>(0, NT_ID);
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
    return ChildAs<NodeType>(0, NT_TYPE);
}

NodeVariableList* NodeVarDecl::GetVariableList() const
{
    return ChildAs<NodeVariableList>(1, NT_VARIABLE_LIST);
}

Str NodeVarDecl::PrintChilds()
{
    NodeType* type = GetType();
    NodeVariableList* list = GetVariableList();
    if (!type || !list)
        return Node::PrintChilds();
    return type->AsString(*list);
}
