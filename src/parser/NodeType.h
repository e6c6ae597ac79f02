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
    // A named type; the info is named after the id's name, or, when the
    // type has template arguments, as the type is written, arguments
    // included ("std::map<int, std::string>" is "std::map<int,std::string>":
    // blanks only between two words).
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
    // Takes the modifier out of the type, its token left in place, and
    // clears the flag it set. False when it is not one of the type's.
    bool ReleaseModifier(NodeModifier* modifier);
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

    // A simple-type word that continues this type (`unsigned` `long`): true
    // when the type is made of simple-type words alone, which then take the
    // token as their last child and name the info after all of them
    // ("unsigned long").
    bool AddSimpleTypeToken(NodeToken& token);

    // The template arguments that follow the identifier token name: its
    // closing token, else null.
    static Lex::Token* TemplateArgsAfter(Lex::Token* name);
    // The significant tokens from first through last joined, with a blank
    // only between two words.
    static Str Spell(Lex::Token* first, Lex::Token* last);

    TypeInfo& GetTypeInfo() { return m_TypeInfo; }
    Array<NodeModifier*> const& GetModifiers() const { return m_Modifiers; }

private:
    TypeInfo m_TypeInfo;
    Array<NodeModifier*> m_Modifiers;
};
