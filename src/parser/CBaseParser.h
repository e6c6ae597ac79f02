// Adds blocks, statement ends, namespaces and template heads to the
// statement tokens of the round-block parser.
#pragma once

#include "parser/CRoundBlockParser.h"

class NodeBlock;
class NodeID;

class CBaseParser : public CRoundBlockParser {
public:
    explicit CBaseParser(CParserState& state) : CRoundBlockParser(state) {}

    bool ProcessToken() override;
    // A nested block at `{`, named by the pending identifier.
    virtual void OpenCurly();
    virtual void CloseCurly();
    virtual void OnTokSemiColon();
    // Called for a new block while the enclosing block is still current:
    // opens a namespace, a constructor body, an asm block, or nests it.
    virtual void OnNewBlock(NodeBlock& block);

    // Makes the namespace nodes over name and block and enters its scope.
    void AddNamespace(NodeID& name, NodeBlock& block);
};
