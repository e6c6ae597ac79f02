// The part of the parser state that follows classes: the class being
// parsed, the classes entered, the class head being read and the access
// keyword in force. A class body starts private, a struct or union body
// public; after a body the access in force around it is back.
#pragma once

#include "base/Array.h"
#include "parser/AccessTypes.h"
#include "scanner/CTokens.h"

class ClassScope;
class NodeClassDef;
class NodeID;

class CClassParserState {
public:
    CClassParserState()
        : m_pActClass(nullptr), m_pClassName(nullptr), m_bPointcut(false), m_ActAccess(Lex::TOK_PRIVATE),
          m_pLastClass(nullptr)
    {
    }
    virtual ~CClassParserState() {}
    CClassParserState(CClassParserState const&) = delete;
    CClassParserState& operator=(CClassParserState const&) = delete;

    // Start of a file: no class, access keyword `private`.
    void Reset();
    // End of a statement: no class head, no pointcut.
    void ResetActStatement();
    void OnAccessModifier(Lex::CTokens type) { m_ActAccess = type; }
    // The access of the current access keyword; none for other types.
    AccessTypes GetActAccessType() const;
    // Pushes the class. The body of a struct or union starts public, that
    // of a class private; other bodies (an aspect) go on with the access
    // keyword in force.
    void EnterScope(ClassScope& scope);
    // Pops the class stack; the new top (or null) is the current class.
    // The access in force around the class is back.
    void LeaveScope();

    NodeClassDef* m_pActClass;
    NodeID* m_pClassName;
    Array<NodeClassDef*> m_ClassStack;
    bool m_bPointcut;
    int m_ActAccess;
    NodeClassDef* m_pLastClass;
    // Per entered class, innermost last: the access in force outside it.
    Array<int> m_OuterAccess;
};
