// Adds blocks, statement ends, namespaces and template heads to the
// statement tokens of the round-block parser.
#pragma once

#include "parser/CRoundBlockParser.h"

class NodeBlock;
class NodeID;

namespace Lex {
class Token;
}

class CBaseParser : public CRoundBlockParser {
public:
    explicit CBaseParser(CParserState& state) : CRoundBlockParser(state) {}

    bool ProcessToken() override;
    // A nested block at `{`, named by the pending identifier.
    virtual void OpenCurly();
    // Closes the current block; a class body followed by declarators
    // (`} a, *p;`) leaves the class as their type.
    virtual void CloseCurly();
    virtual void OnTokSemiColon();
    // Called for a new block while the enclosing block is still current:
    // opens a namespace, a constructor body, an asm block, or nests it.
    virtual void OnNewBlock(NodeBlock& block);

    // Makes the namespace nodes over name and block and enters its scope. A
    // qualified name (namespace A::B) gets a scope for each enclosing
    // namespace, so that A::B::X is found from outside.
    void AddNamespace(NodeID& name, NodeBlock& block);

protected:
    // The first token after the current one that is neither white space
    // nor a comment; null at the end of the file.
    Lex::Token* PeekSignificant() const;
    // Moves through the bracket group that opens at the current token (or,
    // when the current token is no `open`, at the next significant token)
    // to the `close` that ends it, which stays current; the driver goes on
    // after it. False when the file ends first.
    bool SkipGroup(int open, int close);
    // An attribute that no declaration needs: `[[...]]`, `alignas(...)`,
    // `__attribute__((...))`, `__declspec(...)`. True when the current
    // token begins one; it has then been passed over.
    bool SkipAttribute();
    // `template <...>` read whole, with nested `<...>`, `>>` and brackets,
    // up to the `>` that closes the head; the head then waits for the class
    // that follows. A `template` without `<` opens the head as before.
    void OnTemplate();
};
