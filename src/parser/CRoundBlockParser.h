// The tokens that may stand anywhere in a statement: types, identifiers,
// operators, literals, brackets and modifiers.
#pragma once

#include "parser/CParserBase.h"

class CRoundBlockParser : public CParserBase {
public:
    explicit CRoundBlockParser(CParserState& state) : CParserBase(state) {}

    // True when the current token was handled.
    virtual bool ProcessToken();
    virtual void OnTokColon() {}
    virtual void OnTokID() {}
    virtual void OnTokAssign() {}
};
