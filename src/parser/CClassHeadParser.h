// Adds class heads: class keys, access keywords, refinements and base-class
// lists. The scope parsers the parser state switches between derive from it.
#pragma once

#include "parser/CBaseParser.h"

class CClassHeadParser : public CBaseParser {
public:
    explicit CClassHeadParser(CParserState& state) : CBaseParser(state) {}

    bool ProcessToken() override;
};
