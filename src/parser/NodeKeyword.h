// Keyword nodes of class heads: keywords that stand as nodes of their own
// (class keys, `refines`, ...) and the access keywords.
#pragma once

#include "parser/NodeToken.h"

// An access keyword: private, protected, public or mixin.
class NodeClassModifier : public NodeToken {
public:
    explicit NodeClassModifier(Lex::Token* token) : NodeToken(NT_CLASS_MODIFIER, token) {}
};

// A keyword node. For a class key (class, enum, namespace, struct, union,
// aspect, interface) the class-head parser records the `refines` node and
// the access node that came just before it; both are null otherwise.
class NodeKeyword : public NodeToken {
public:
    explicit NodeKeyword(Lex::Token* token) : NodeToken(NT_KEYWORD, token), m_pRefines(nullptr), m_pClassModifier(nullptr) {}

    NodeKeyword* m_pRefines;
    NodeClassModifier* m_pClassModifier;
};
