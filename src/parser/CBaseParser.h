// Adds blocks, statement ends, namespaces and template heads to the
// statement tokens of the round-block parser.
#pragma once

#include "parser/CRoundBlockParser.h"

class NodeBlock;

class CBaseParser : public CRoundBlockParser {
public:
    explicit CBaseParser(CParserState& state) : CRoundBlockParser(state) {}

    bool ProcessToken() override;
    virtual void OpenCurly() {}
    virtual void CloseCurly() {}
    virtual void OnTokSemiColon() {}
    // Called for a new block while the enclosing block is still current.
    virtual void OnNewBlock(NodeBlock& block) { (void)block; }
};
