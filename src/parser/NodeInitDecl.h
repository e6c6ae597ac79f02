// A constructor's initializer list, from its `:` through its last token.
#pragma once

#include "parser/Node.h"
#include "parser/TokenRange.h"

class NodeFuncDef;

class NodeInitDecl : public Node, public FirstAndLastToken {
public:
    explicit NodeInitDecl(Lex::Token* colon = nullptr);

    // Unlinks the whole range.
    void DeleteTokens() override { DeleteAllTokens(); }

    // The definition that owns the list becomes its function and parent.
    void Func(NodeFuncDef* def);
    NodeFuncDef* GetFunc() const { return m_pFunc; }

    // Moves the source's tokens right after `after` and widens this range
    // to them where it had no end or ended at `after`. Nothing unless the
    // source's range is whole and `after` is in a list.
    void CopyInitializerTokens(NodeInitDecl* source, Lex::Token* after);
    // Merges the entries of other in front of this list's entries:
    // ": a(1)" with ": b(2)" gives ": b(2), a(1)". Nothing unless both lists
    // are whole and begin with `:`.
    void AddInitializer(NodeInitDecl* other);
    // Removes the first entry that begins with name, with one separator;
    // removing the only entry removes the whole list from its function.
    void RemoveInitializers(char const* name);

    NodeFuncDef* m_pFunc;
};
