// Class definitions: child 0 the head, child 1 the body block, child 2 the
// base-class list, with the class's info. The editing members add and copy
// base classes in the class head.
#pragma once

#include "parser/AccessTypes.h"
#include "parser/Info.h"
#include "parser/Node.h"

class NodeBaseClass;
class NodeBaseClassDecl;
class NodeBlock;
class NodeClassDecl;
class NodeID;

namespace Lex {
class List;
}

class NodeClassDef : public Node {
public:
    // Positions 0 to 2 are made; the head goes into position 0 and names
    // the info, whose definition is this node.
    explicit NodeClassDef(NodeClassDecl& decl);

    Name* GetName() const override;
    virtual bool IsRefinement() const { return false; }

    NodeClassDecl* GetClassDecl() const;
    NodeBlock* GetBody() const;
    NodeBaseClassDecl* GetBaseClassDecl() const;
    ClassInfo& GetClassInfo() { return m_ClassInfo; }

    // Puts the body block into position 1.
    void SetBody(NodeBlock* body);
    // Puts the list into position 2; its class becomes this definition.
    void SetBaseClassDecl(NodeBaseClassDecl* list);

    // Moves the tokens in front of the body's `{`, after a new `:` (`,` when
    // the head has a `:` already) and a blank, and records them as a new
    // base-class entry over id. The list is left empty. Nothing when the
    // head is not followed by its `{` or the list is empty.
    void AddBaseClass(AccessTypes access, Lex::List& tokens, NodeID& id);
    // Adds "<access> <name>" as a base class.
    void AddBaseClass(AccessTypes access, char const* name);
    // Adds a copy of the tokens of another class's entry as a base class.
    void CopyBaseClass(NodeBaseClass& entry);

private:
    ClassInfo m_ClassInfo;
};

// The definition of a class read after `refines`.
class NodeRefinementDef : public NodeClassDef {
public:
    explicit NodeRefinementDef(NodeClassDecl& decl) : NodeClassDef(decl) {}

    bool IsRefinement() const override { return true; }
};
