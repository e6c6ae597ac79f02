#include "parser/CNonLocalScopeParser.h"

#include "parser/CParserState.h"
#include "parser/NodeKeyword.h"

#include <cstring>

bool CNonLocalScopeParser::ProcessToken()
{
    if (CClassHeadParser::ProcessToken())
        return true;
    switch (m_State.m_ActTokenType) {
    case Lex::TOK_EXPLICIT:
    case Lex::TOK_INLINE:
    case Lex::TOK_VIRTUAL:
        if (!m_State.m_pActToken)
            return false;
        OnModifier();
        return true;
    default:
        return false;
    }
}

void CNonLocalScopeParser::OnTokColon()
{
    Node* last = m_State.m_pLastNode;
    if (!last || last->GetKind() == NT_CLASS_MODIFIER)
        return;
    if (m_State.OnBitFieldColon())
        return;
    NodeFuncDef* def = m_FuncBuilder.CreateFuncDeclWithInitializer();
    if (!def) {
        CClassHeadParser::OnTokColon();
        return;
    }
    OnNewFuncDef(*def);
    if (m_State.m_Config.m_bSkipInitializers)
        m_State.SkipInitializerList();
}

void CNonLocalScopeParser::OnTokSemiColon()
{
    if (m_State.m_pLastNode)
        if (NodeFuncDecl* decl = m_FuncBuilder.CreateFuncDeclWithoutInitializer())
            OnNewFuncDecl(*decl);
    CBaseParser::OnTokSemiColon();
}

void CNonLocalScopeParser::OpenCurly()
{
    if (m_State.OnBraceInitializer())
        return;
    NodeFuncDef* def = m_FuncBuilder.CreateFuncDef();
    if (!def) {
        CBaseParser::OpenCurly();
        return;
    }
    OnNewFuncDef(*def);
    if (m_State.m_pActFunction && m_State.m_Config.m_bSkipFuncBodies) {
        m_State.SkipCurlyBlock();
        m_State.CloseCurly();
    }
    m_State.ResetActStatement();
}

bool CGlobalScopeParser::ProcessToken()
{
    if (CNonLocalScopeParser::ProcessToken())
        return true;
    if (m_State.m_pActToken && m_State.m_ActTokenType == Lex::TOK_IMPORT) {
        m_State.SkipUntil(Lex::TOK_SEMI_COLON, false);
        return true;
    }
    return false;
}

bool CClassBodyParser::ProcessToken()
{
    if (CNonLocalScopeParser::ProcessToken())
        return true;
    if (m_State.m_pActToken && m_State.m_ActTokenType == Lex::TOK_SUPER) {
        AddKeyword(*new NodeKeyword(m_State.m_pActToken));
        return true;
    }
    return false;
}

void CClassBodyParser::OpenCurly()
{
    if (!IsInitializerBlock()) {
        CNonLocalScopeParser::OpenCurly();
        return;
    }
    CBaseParser::OpenCurly();
    m_State.SkipCurlyBlock();
    m_State.CloseCurly();
}

bool CClassBodyParser::IsInitializerBlock() const
{
    Lex::Token* open = m_State.m_pActToken;
    if (!m_State.IsJavaLike() || !open || m_State.m_ActTokenType != Lex::TOK_OPEN_CURLY)
        return false;
    // What comes before the brace: `static`, or the end of a member or the
    // start of the body.
    Lex::Token* before = open->prev();
    while (before && CParserState::IsBlankToken(before))
        before = before->prev();
    if (!before)
        return false;
    switch (before->type) {
    case Lex::TOK_STATIC:
    case Lex::TOK_SEMI_COLON:
    case Lex::TOK_CLOSE_CURLY:
    case Lex::TOK_OPEN_CURLY:
        return true;
    default:
        return false;
    }
}

bool CAspectParser::ProcessToken()
{
    if (CClassBodyParser::ProcessToken())
        return true;
    if (!m_State.m_pActToken)
        return false;
    switch (m_State.m_ActTokenType) {
    case Lex::TOK_ADVICE:
        OnAdvice();
        return true;
    case Lex::TOK_POINTCUT:
        OnPointcut();
        return true;
    default:
        return false;
    }
}

void CAspectParser::OnTokAssign()
{
    if (m_State.m_ClassState.m_bPointcut)
        m_State.SkipUntil(Lex::TOK_SEMI_COLON, false);
    CClassBodyParser::OnTokAssign();
}

void CAspectParser::OnAdvice()
{
    OnModifier();
}

void CAspectParser::OnPointcut()
{
    OnModifier();
    m_State.m_ClassState.m_bPointcut = true;
}

bool CAspectParser::IsActTokenPointcutType()
{
    static char const* const names[] = {"call",    "construction", "destruction", "execution", "within",
                                        "classes", "target",       "that",        "base",      "derived",
                                        "result",  "args",         "cflow"};
    Lex::Token* token = m_State.m_pActToken;
    if (!token)
        return false;
    for (char const* name : names)
        if (strcmp(token->text->text, name) == 0)
            return true;
    return false;
}
