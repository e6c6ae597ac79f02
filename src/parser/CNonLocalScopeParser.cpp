#include "parser/CNonLocalScopeParser.h"

#include "parser/CParserState.h"
#include "parser/NodeKeyword.h"
#include "parser/Scope.h"

#include <cstring>

namespace {

bool IsOpenBracketType(int type)
{
    return type == Lex::TOK_OPEN_ROUND || type == Lex::TOK_OPEN_SQUARE || type == Lex::TOK_OPEN_CURLY;
}

bool IsCloseBracketType(int type)
{
    return type == Lex::TOK_CLOSE_ROUND || type == Lex::TOK_CLOSE_SQUARE;
}

// True when the `:` belongs to an expression and so cannot begin a
// constructor's initializer list: it stands inside a bracket
// (`static_assert(c ? 1 : 2, "m")`) or ends the middle of a conditional
// (`enum { A = (x) ? 7 : 5 }`). The statement is read backwards from it.
bool IsExpressionColon(Lex::Token* colon)
{
    int depth = 0;
    int colons = 0;
    for (Lex::Token* t = colon->prev(); t; t = t->prev()) {
        if (CParserState::IsBlankToken(t))
            continue;
        int type = t->type;
        if (IsCloseBracketType(type)) {
            ++depth;
        } else if (IsOpenBracketType(type)) {
            if (depth == 0)
                return type != Lex::TOK_OPEN_CURLY;
            --depth;
        } else if (depth > 0) {
            continue;
        } else if (type == Lex::TOK_SEMI_COLON || type == Lex::TOK_CLOSE_CURLY) {
            return false;
        } else if (type == Lex::TOK_COLON) {
            ++colons;
        } else if (type == Lex::TOK_QUESTION) {
            if (colons == 0)
                return true;
            --colons;
        }
    }
    return false;
}

// `unsigned M(a) : 1;`: a bit-field whose name a macro call writes. In a
// class, `) :` begins an initializer list only when a body follows it.
bool IsMacroBitField(CParserState& state)
{
    Scope* scope = state.GetActScope();
    if (!scope || (scope->GetType() != SCOPE_CLASS && scope->GetType() != SCOPE_ASPECT))
        return false;
    Lex::Token* before = state.m_pLastSignificantToken;
    return before && before->type == Lex::TOK_CLOSE_ROUND && state.m_RoundBraces.IsEmpty()
        && !CParserState::FindBodyAfterInitializers(state.m_pActToken);
}

} // namespace

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
    if (IsExpressionColon(m_State.m_pActToken))
        return;
    if (IsMacroBitField(m_State)) {
        // Its name is unknown without the preprocessor: the statement
        // declares nothing the parser can name, and the width is passed over.
        m_State.ResetActStatement();
        for (Lex::Token* t = CParserState::NextSignificant(m_State.m_pActToken); t;
             t = CParserState::NextSignificant(t)) {
            if (t->type == Lex::TOK_COMMA || t->type == Lex::TOK_SEMI_COLON || t->type == Lex::TOK_CLOSE_CURLY) {
                m_State.SkipTo(t, true);
                break;
            }
        }
        return;
    }
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
