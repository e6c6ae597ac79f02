// A type: its name (an identifier or a simple-type token), its modifiers,
// and a following `*`/`&` operator or `[]` group, with its TypeInfo.
#pragma once

#include "base/Array.h"
#include "parser/Info.h"
#include "parser/Node.h"

class NodeID;
class NodeModifier;
class NodeToken;
class NodeVariableList;

class NodeType : public Node {
public:
    // A named type; the info is named after the id's name.
    explicit NodeType(NodeID& id);
    // A simple type; the info is named after the token's text.
    explicit NodeType(NodeToken& token);

    // The name of child 0 (which is the first non-const modifier when
    // there is one); null without children.
    Name* GetName() const override;

    // The earliest of the modifier tokens that stand at most 10 tokens
    // before the name, else the name's first token. Tokens no longer in a
    // list are passed over; null when nothing is left.
    Lex::Token* GetFirstToken();

    NodeModifier* GetModifier(Lex::CTokens type);
    NodeModifier* GetModifier(char const* text);
    // Removes the modifier with its token from the type (and from the
    // modifier list of the name id); the info flags stay. Nothing when the
    // modifier is not one of the type's.
    void DeleteModifier(NodeModifier* modifier);
    void DeleteModifier(Lex::CTokens type);
    void DeleteModifier(char const* text);

    // Deletes the child's tokens and takes it out of the children; nothing
    // when it is none of them.
    void DeleteChild(Node* child);
    // Deletes the tokens of all children and drops them. The node stays
    // alive but must not be used any more.
    void Delete();

    // Takes over the modifiers: a const modifier goes behind the children,
    // any other in front of them; const, inline, static and virtual set the
    // info's flag.
    void AddModifiers(Array<NodeModifier*> const& modifiers);

    void SetIsConst() { m_TypeInfo.m_bConst = true; }
    void SetIsStatic() { m_TypeInfo.m_bStatic = true; }
    void SetIsInline() { m_TypeInfo.m_bInline = true; }
    void SetIsVirtual() { m_TypeInfo.m_bVirtual = true; }
    void SetIsAbstract() { m_TypeInfo.m_bAbstract = true; }

    using Node::AsString;
    // The declaration text: the children separated by blanks, with the
    // declarators in front of a `[...]` child, or at the end.
    Str AsString(NodeVariableList& declarators);

    TypeInfo& GetTypeInfo() { return m_TypeInfo; }
    Array<NodeModifier*> const& GetModifiers() const { return m_Modifiers; }

private:
    TypeInfo m_TypeInfo;
    Array<NodeModifier*> m_Modifiers;
};
