// Variable declarations: a type and the list of its declarators.
#pragma once

#include "parser/Node.h"

class NodeID;
class NodeType;
class NodeVarDecl;

// One declarator: child 0 is the variable's name id.
class NodeAssignment : public Node {
public:
    explicit NodeAssignment(NodeID* id = nullptr);

    NodeID* GetID() const;
};

// The declarators of a declaration, printed joined by ",".
class NodeVariableList : public Node {
public:
    explicit NodeVariableList(NodeVarDecl* decl = nullptr);

    NodeVarDecl* m_pDecl;
};

// Child 0 the type, child 1 the declarator list (made with the declaration,
// referring back to it).
class NodeVarDecl : public Node {
public:
    explicit NodeVarDecl(NodeType* type);

    NodeType* GetType() const;
    NodeVariableList* GetVariableList() const;

    using Node::PrintChilds;
    // The type's text with the declarators (NodeType::AsString).
    Str PrintChilds() override;
};
