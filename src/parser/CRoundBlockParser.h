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
    virtual void OnTokID();
    // `=` ends a declarator, except in `operator =`.
    virtual void OnTokAssign();

    // An operator node, or a symbol of the name after `operator`.
    void OnOperator();
    // A modifier node that the next identifier or type takes.
    void OnModifier();
    // `const`, `volatile` or `__restrict` right after a type's `*` or `&`
    // goes to that type (a qualified pointer); true then.
    bool OnPointerQualifier();
    // No expressions are parsed.
    bool CreateExpression() { return false; }
    // Adds the pending declarator to the open variable declaration (opening
    // one over the statement's last type or identifier); closes it at `;`,
    // `)`, or `,` inside brackets. False when no declaration is open.
    bool CreateVarDeclaration();
    static bool IsSimpleType(int type);
};
