// Namespace nodes: the head (its name) and the definition (head and body)
// with the namespace's info.
#pragma once

#include "parser/Info.h"
#include "parser/Node.h"

class NodeBlock;
class NodeID;

// Child 0 the name id.
class NodeNSDecl : public Node {
public:
    explicit NodeNSDecl(NodeID& id);

    Name* GetName() const override;
};

// Child 0 the head, child 1 the body block.
class NodeNSDef : public Node {
public:
    NodeNSDef(NodeNSDecl& decl, NodeBlock* body);

    Name* GetName() const override;
    NSInfo& GetNSInfo() { return m_NSInfo; }

private:
    NSInfo m_NSInfo;
};
