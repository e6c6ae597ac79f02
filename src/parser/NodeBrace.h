// Bracket nodes: a `{}` block, a `()` group or a `[]` group, from the
// opening through the closing bracket token (the latter set when it is read).
#pragma once

#include "parser/Node.h"
#include "parser/TokenRange.h"

class NodeBrace : public Node, public FirstAndLastToken {
public:
    // Opening character, the children's texts, closing character.
    Str AsString() override;

    // Inserts a free-text token with text right after the opening bracket
    // and returns it; null without an opening token in a list.
    Lex::Token* InsertExpression(char const* text);

    char GetOpen() const { return m_Open; }
    char GetClose() const { return m_Close; }

    // The node the bracket belongs to (the name that stood right before it,
    // or another node of the statement); null when there is none.
    Node* m_pPrecedingNode;

protected:
    NodeBrace(NodeTypes kind, char open, char close, Lex::Token* first);

    char m_Open;
    char m_Close;
};

class NodeBlock : public NodeBrace {
public:
    explicit NodeBlock(Lex::Token* first = nullptr) : NodeBrace(NT_BLOCK, '{', '}', first) {}

protected:
    NodeBlock(NodeTypes kind, Lex::Token* first) : NodeBrace(kind, '{', '}', first) {}
};

class NodeRoundBrace : public NodeBrace {
public:
    explicit NodeRoundBrace(Lex::Token* first = nullptr) : NodeBrace(NT_ROUND_BRACE, '(', ')', first) {}
};

class NodeSquareBrace : public NodeBrace {
public:
    explicit NodeSquareBrace(Lex::Token* first = nullptr) : NodeBrace(NT_SQUARE_BRACE, '[', ']', first) {}
};
