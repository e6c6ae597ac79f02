// The parsers of the scopes outside function bodies: file and namespace
// bodies, class bodies and aspect bodies. They recognise function heads
// where a statement ends, an initializer list begins or a body begins.
#pragma once

#include "parser/CClassHeadParser.h"
#include "parser/CFuncBuilder.h"

class NodeFuncDecl;
class NodeFuncDef;

class CNonLocalScopeParser : public CClassHeadParser {
public:
    explicit CNonLocalScopeParser(CParserState& state) : CClassHeadParser(state), m_FuncBuilder(&state) {}

    bool ProcessToken() override;
    // A constructor's initializer list (passed over up to the body), else
    // a class head's base list.
    void OnTokColon() override;
    // A function body (passed over to its `}`), else a plain block.
    void OpenCurly() override;
    // A function declaration, then the end of the statement.
    void OnTokSemiColon() override;
    // Called with every function definition and declaration made.
    virtual void OnNewFuncDef(NodeFuncDef& def) { (void)def; }
    virtual void OnNewFuncDecl(NodeFuncDecl& decl) { (void)decl; }

    CFuncBuilder& GetFuncBuilder() { return m_FuncBuilder; }

protected:
    CFuncBuilder m_FuncBuilder;
};

// File and namespace bodies.
class CGlobalScopeParser : public CNonLocalScopeParser {
public:
    explicit CGlobalScopeParser(CParserState& state) : CNonLocalScopeParser(state) {}

    // Adds `import`, whose statement is passed over.
    bool ProcessToken() override;
};

// Class bodies.
class CClassBodyParser : public CNonLocalScopeParser {
public:
    explicit CClassBodyParser(CParserState& state) : CNonLocalScopeParser(state) {}

    // Adds `super` as a keyword node.
    bool ProcessToken() override;
    // A Java-like initializer block (`static { ... }` or `{ ... }` where a
    // member may begin) is a plain block passed over to its `}`: its
    // statements are no members. Else as in other scopes.
    void OpenCurly() override;

private:
    bool IsInitializerBlock() const;
};

// Aspect bodies.
class CAspectParser : public CClassBodyParser {
public:
    explicit CAspectParser(CParserState& state) : CClassBodyParser(state) {}

    // Adds `advice` and `pointcut`.
    bool ProcessToken() override;
    // After `pointcut`, the definition after `=` is passed over to its `;`.
    void OnTokAssign() override;
    void OnAdvice();
    void OnPointcut();
    // True when the current token names a pointcut function (call,
    // execution, within, ...).
    bool IsActTokenPointcutType();
};
