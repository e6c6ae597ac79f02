// Function bodies and asm blocks: statement keywords on top of the class-head
// parser.
#pragma once

#include "parser/CClassHeadParser.h"

class MethodBodyParser : public CClassHeadParser {
public:
    explicit MethodBodyParser(CParserState& state) : CClassHeadParser(state) {}

    bool ProcessToken() override;
};
