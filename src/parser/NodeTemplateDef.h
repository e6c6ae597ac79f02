// Template nodes: a template head `template <...>` and the argument list
// `<...>` of a name.
#pragma once

#include "parser/Node.h"
#include "parser/TokenRange.h"

// From the `template` keyword through the `>` that closes the head.
class NodeTemplateDef : public Node, public FirstAndLastToken {
public:
    explicit NodeTemplateDef(Lex::Token* keyword);

    Lex::Token* GetTemplateToken() const { return m_pTemplateToken; }

    Lex::Token* m_pTemplateToken;
};

// From the first token of the name through the closing `>`; the children
// are the arguments, printed "<a,b>".
class NodeTempleInstanceDef : public Node, public FirstAndLastToken {
public:
    explicit NodeTempleInstanceDef(Lex::Token* first);

    Str AsString() override;
};
