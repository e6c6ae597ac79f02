// Class heads: child 0 the template head or null, child 1 the class name.
// The head begins at the key's access keyword, else at its `refines`, else
// at the key itself; a template head in front moves it to `template`.
#pragma once

#include "parser/Node.h"
#include "parser/TokenRange.h"

class NodeID;
class NodeKeyword;
class NodeTemplateDef;

class NodeClassDecl : public Node, public FirstToken {
public:
    NodeClassDecl(NodeKeyword& key, NodeID& id);

    Name* GetName() const override;
    NodeKeyword* GetKey() const { return m_pKey; }
    NodeID* GetID() const;
    NodeTemplateDef* GetTemplDef() const;

    // True for an `aspect` key.
    bool IsAspect() const;

    // Makes head child 0 (a former head is only dropped) and its first token
    // the first token of the class head.
    void SetTemplDef(NodeTemplateDef& head);
    // Copies the tokens of head in front of this class head and makes a
    // template node for the copy; when the copy does not begin with
    // `template` the tokens stay and no node is made.
    void CopyTemplDef(NodeTemplateDef& head);

    NodeKeyword* m_pKey;
};

// The head of a class read after `refines`.
class NodeRefinementDecl : public NodeClassDecl {
public:
    NodeRefinementDecl(NodeKeyword& key, NodeID& id) : NodeClassDecl(key, id) {}
};
