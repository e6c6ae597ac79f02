#include "parser/CClassParserState.h"

#include "parser/Scope.h"

void CClassParserState::Reset()
{
    ResetActStatement();
    m_pActClass = nullptr;
    m_ClassStack.RemoveAll();
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
    m_ClassStack.Add(&scope.GetClassDef());
}

void CClassParserState::LeaveScope()
{
    int n = m_ClassStack.GetCount();
    if (n > 0)
        m_ClassStack.RemoveAt(n - 1, 1);
    n = m_ClassStack.GetCount();
    m_pActClass = n > 0 ? m_ClassStack[n - 1] : nullptr;
}
