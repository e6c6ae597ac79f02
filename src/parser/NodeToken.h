// A node that stands on one token of fixed text (keyword, punctuation).
#pragma once

#include "parser/Node.h"

class NodeToken : public Node {
public:
    explicit NodeToken(Lex::Token* token) : NodeToken(NT_TOKEN, token) {}

    NodeToken* GetNodeToken() override { return this; }
    Lex::Token* GetToken() override { return m_pToken; }
    void SetToken(Lex::Token* token) { m_pToken = token; }
    // The name of the fixed text of the token's type; "unknown" without token.
    Name* GetName() const override;
    Str AsString() override;

    // Unlinks the token from its list (it stays alive) and forgets it.
    void DeleteToken();

protected:
    NodeToken(NodeTypes kind, Lex::Token* token) : Node(kind), m_pToken(token) {}

    char const* GetText() const;

    Lex::Token* m_pToken;
};
