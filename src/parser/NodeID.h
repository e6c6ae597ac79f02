// Identifier node: a simple or qualified name over the tokens from its first
// through its last token (A :: B), with its interned names.
#pragma once

#include "base/Array.h"
#include "parser/Node.h"
#include "parser/TokenRange.h"

class QualName;
class NodeModifier;

class NodeID : public Node, public FirstAndLastToken {
public:
    NodeID();
    // The name becomes the last component of the qualified name.
    NodeID(Lex::Token* first, Lex::Token* last, QualName* qualName);

    Name* GetName() const override { return m_pName; }
    QualName* GetQualName() const { return m_pQualName; }
    // Replacing a name counts as a rename (GetRenameCount).
    void SetQualName(QualName* qualName);
    // Grows whenever a node gets another name.
    static unsigned GetRenameCount() { return s_Renames; }
    // The text of the name; empty without a name.
    Str AsString() override;
    void DeleteTokens() override { DeleteAllTokens(); }

    // True when a modifier that stood before the name is on a token of type.
    bool HasModifier(Lex::CTokens type) const;

    // Removes every '~' from text and makes it the qualified name. With
    // retoken, writes the components into the identifier tokens from the
    // last token backwards across `::` (stepping over a `~`); tokens are
    // neither added nor removed. False for a null text, and with retoken for
    // an id without a last token.
    bool Rename(char const* text, bool retoken);

    // The modifier nodes that stood before the name; not owned.
    Array<NodeModifier*> m_Modifiers;

private:
    static unsigned s_Renames;
    Name* m_pName;
    QualName* m_pQualName;
};
