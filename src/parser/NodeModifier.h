// Single-token nodes inside declarations and statements: declaration
// modifiers, operators, the `using` keyword and literals.
#pragma once

#include "parser/NodeToken.h"

// A declaration modifier keyword: const, extern, mutable, static, volatile,
// override, and in file, namespace, class and aspect scopes also explicit,
// inline and virtual (and the aspect keywords pointcut and advice).
class NodeModifier : public NodeToken {
public:
    explicit NodeModifier(Lex::Token* token) : NodeToken(NT_MODIFIER, token) {}
};

// An operator token, among them the `~` of a destructor.
class NodeOperator : public NodeToken {
public:
    explicit NodeOperator(Lex::Token* token) : NodeToken(NT_OPERATOR, token) {}
};

// The `using` keyword.
class NodeUsing : public NodeToken {
public:
    explicit NodeUsing(Lex::Token* token) : NodeToken(NT_USING, token) {}
};

// A literal: boolean, character, floating, integer, string or a lone 0.
class NodeValue : public NodeToken {
public:
    explicit NodeValue(Lex::Token* token) : NodeToken(NT_VALUE, token) {}

    Str AsString() override { return Str("Value"); }
};
