// The parsers of the scopes outside function bodies: file and namespace
// bodies, class bodies and aspect bodies. They recognise function heads
// where a statement ends, an initializer list begins or a body begins.
#pragma once

#include "parser/CClassHeadParser.h"

class NodeFuncDecl;
class NodeFuncDef;

class CNonLocalScopeParser : public CClassHeadParser {
public:
    explicit CNonLocalScopeParser(CParserState& state) : CClassHeadParser(state) {}

    bool ProcessToken() override;
    // Called with every function definition and declaration made.
    virtual void OnNewFuncDef(NodeFuncDef& def) { (void)def; }
    virtual void OnNewFuncDecl(NodeFuncDecl& decl) { (void)decl; }
};

// File and namespace bodies.
class CGlobalScopeParser : public CNonLocalScopeParser {
public:
    explicit CGlobalScopeParser(CParserState& state) : CNonLocalScopeParser(state) {}

    bool ProcessToken() override;
};

// Class bodies.
class CClassBodyParser : public CNonLocalScopeParser {
public:
    explicit CClassBodyParser(CParserState& state) : CNonLocalScopeParser(state) {}

    bool ProcessToken() override;
};

// Aspect bodies.
class CAspectParser : public CClassBodyParser {
public:
    explicit CAspectParser(CParserState& state) : CClassBodyParser(state) {}

    bool ProcessToken() override;
};
