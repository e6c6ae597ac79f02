#include "parser/CClassParserState.h"

#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeKeyword.h"
#include "parser/Scope.h"

void CClassParserState::Reset()
{
    ResetActStatement();
    m_pActClass = nullptr;
    m_ClassStack.RemoveAll();
    m_OuterAccess.RemoveAll();
    m_ActAccess = Lex::TOK_PRIVATE;
    m_pLastClass = nullptr;
}

void CClassParserState::ResetActStatement()
{
    m_pClassName = nullptr;
    m_bPointcut = false;
}

AccessTypes CClassParserState::GetActAccessType() const
{
    return ConvertCTokenToAccessType(m_ActAccess);
}

void CClassParserState::EnterScope(ClassScope& scope)
{
    NodeClassDef& def = scope.GetClassDef();
    m_ClassStack.Add(&def);
    NodeClassDecl* head = def.GetClassDecl();
    NodeKeyword* key = head ? head->GetKey() : nullptr;
    Lex::Token* token = key ? key->GetToken() : nullptr;
    bool open = token && (token->type == Lex::TOK_STRUCT || token->type == Lex::TOK_UNION);
    // The access in force around the class comes back after its body.
    m_OuterAccess.Add(m_ActAccess);
    if (open)
        m_ActAccess = Lex::TOK_PUBLIC;
    else if (token && token->type == Lex::TOK_CLASS)
        m_ActAccess = Lex::TOK_PRIVATE;
}

void CClassParserState::LeaveScope()
{
    int n = m_ClassStack.GetCount();
    if (n > 0)
        m_ClassStack.RemoveAt(n - 1, 1);
    n = m_ClassStack.GetCount();
    m_pActClass = n > 0 ? m_ClassStack[n - 1] : nullptr;
    int outer = m_OuterAccess.GetCount();
    if (outer > 0) {
        m_ActAccess = m_OuterAccess[outer - 1];
        m_OuterAccess.RemoveAt(outer - 1, 1);
    }
}
