// Base-class lists: the list after `:` and its entries.
#pragma once

#include "parser/AccessTypes.h"
#include "parser/Node.h"
#include "parser/TokenRange.h"

class NodeClassDef;
class NodeID;
class NodeTempleInstanceDef;

// One entry: child 0 the base's name id, child 1 its template arguments or
// null. Its tokens run from `virtual` or the access keyword, whichever comes
// first (else the name), through the end of child 1, else of child 0; when
// the name goes on after the arguments (Y<int>::Inner), through the name.
class NodeBaseClass : public Node, public FirstToken {
public:
    NodeBaseClass(AccessTypes access, Lex::Token* first, NodeID& id);

    NodeID* GetID() const;
    NodeTempleInstanceDef* GetTemplArgs() const;
    void SetTemplArgs(NodeTempleInstanceDef* args);
    // The last token of the entry; null when its name has none.
    Lex::Token* GetEndToken() const;

    // Unlinks the entry and one separator from the token list: the `,`
    // that follows it, else the `,` or `:` before it. Only a `,` outside
    // `<...>` and `(...)` separates entries; the walks never pass a `{`,
    // `;` or `}`. An entry whose tokens are gone already is left alone.
    void DeleteTokens() override;

    AccessTypes m_Access;
};

// The entries in source order; m_pClass is the class whose list it is.
class NodeBaseClassDecl : public Node {
public:
    explicit NodeBaseClassDecl(NodeClassDef* cls = nullptr);

    // Entry index, null past the end.
    NodeBaseClass* GetBase(int index) const;
    // Deletes the entry's tokens and takes it out of the list; nothing when
    // it is not one of the entries.
    void DeleteBase(NodeBaseClass& entry);
    // Appends a new entry over id, starting at first; the access comes from
    // the keyword's token type (none for any other type). No token changes.
    NodeBaseClass* AddBaseClass(Lex::CTokens access, Lex::Token& first, NodeID& id);

    NodeClassDef* m_pClass;
};
