#include "parser/CParserState.h"

#include "base/Diagnostics.h"
#include "base/ErrorLog.h"
#include "base/Name.h"
#include "parser/CFuncBuilder.h"
#include "parser/ClassDB.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeNSDef.h"
#include "parser/NodeTemplateDef.h"
#include "parser/Scope.h"
#include "scanner/TokenProvider.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

bool IsWhite(Lex::Token const* token)
{
    return token->language == Lex::Token::white_id;
}

bool IsComment(Lex::Token const* token)
{
    return (token->flags & Lex::Token::comment_flag) != 0;
}

bool IsUnread(Lex::Token const* token)
{
    return (token->flags & Lex::Token::unread_branch_flag) != 0;
}

bool IsSignificant(Lex::Token const* token)
{
    return !IsWhite(token) && !IsComment(token) && !IsUnread(token);
}

// True when text ends with suffix, compared without regard to case; a text
// shorter than the suffix is compared whole.
bool EndsWithNoCase(char const* text, size_t length, char const* suffix)
{
    size_t n = strlen(suffix);
    char const* tail = length > n ? text + length - n : text;
    return strcasecmp(tail, suffix) == 0;
}

} // namespace

CParserState::CParserState()
    : m_bJavaLike(false), m_bJavaLikeFile(false), m_DefaultAccess(Lex::TOK_NONE), m_pFileName(nullptr), m_pActToken(nullptr), m_pPrevToken(nullptr),
      m_pPrevPrevToken(nullptr), m_pLastSignificantToken(nullptr), m_pStatementStart(nullptr), m_pLastKeyword(nullptr), m_pActBlock(nullptr),
      m_pLastNode(nullptr), m_ActTokenType(0), m_bStarted(false), m_pActScope(nullptr), m_pActFunction(nullptr),
      m_pActNamespace(nullptr), m_pVarDecl(nullptr), m_pOpenTemplate(nullptr), m_pClosedTemplate(nullptr),
      m_pProvider(nullptr), m_pTemplArgsEnd(nullptr), m_pInitDecl(nullptr), m_pFileDB(nullptr), m_pProjectDB(nullptr), m_LastNodePos(0),
      m_pActParser(nullptr), m_MethodBodyParser(*this), m_ClassBodyParser(*this), m_GlobalScopeParser(*this),
      m_AspectParser(*this), m_bFatalError(false)
{
    m_IdNodes.InitBuckets(29);
    // One entry per identifier of the file.
    m_IdNodes.SetIndexed();
    ClearLastNodes();
}

CParserState::~CParserState() {}

void CParserState::ClearLastNodes()
{
    for (Node*& slot : m_LastNodes)
        slot = nullptr;
}

bool CParserState::SetFileName(Str const& name)
{
    m_pFileName = Name::GetName(name.GetBuffer());
    char const* text = name.GetBuffer();
    size_t length = name.GetLength();
    m_bJavaLikeFile = EndsWithNoCase(text, length, ".jak") || EndsWithNoCase(text, length, ".cs")
                      || EndsWithNoCase(text, length, ".java");
    if (m_bJavaLikeFile) {
        m_bJavaLike = true;
        // A member without an access word is private in C#, of its package in Java.
        m_DefaultAccess = EndsWithNoCase(text, length, ".cs") ? Lex::TOK_PRIVATE : Lex::TOK_NONE;
        return true;
    }
    return false;
}

void CParserState::Init(Lex::TokenProvider& provider, Scope& fileScope, NodeBlock* fileNode)
{
    m_bFatalError = false;
    m_pLastNode = nullptr;
    m_ActTokenType = 0;
    m_bStarted = false;
    m_ScopeStack.RemoveAll();
    m_ClassState.Reset();
    m_RoundBraces.RemoveAll();
    // Brackets and identifier nodes of an earlier file must never be found
    // while this one is parsed.
    m_SquareBraces.RemoveAll();
    m_IdNodes.RemoveAll();
    m_NSStack.RemoveAll();
    m_pInitDecl = nullptr;
    m_StatementTypes.RemoveAll();
    m_PendingModifiers.RemoveAll();
    m_StatementNodes.RemoveAll();
    m_LastNodePos = 0;
    ClearLastNodes();
    m_pProvider = &provider;
    m_pActToken = provider.current();
    m_pPrevToken = nullptr;
    m_pPrevPrevToken = nullptr;
    m_pLastSignificantToken = nullptr;
    m_pStatementStart = nullptr;
    m_PendingID.RemoveAll();
    m_PendingTemplArgs.RemoveAll();
    m_pTemplArgsEnd = nullptr;
    SetScope(nullptr);
    m_pActNamespace = nullptr;
    m_pActFunction = nullptr;
    m_pLastKeyword = nullptr;
    m_pVarDecl = nullptr;
    m_pOpenTemplate = nullptr;
    m_pClosedTemplate = nullptr;
    m_pActBlock = fileNode;
    m_BlockStack.RemoveAll();
    m_BlockStack.Add(fileNode);
    AddNode(fileScope.GetNode());
    EnterScope(fileScope);
}

// ---- Moving through the tokens ------------------------------------------

void CParserState::SetActToken(Lex::Token* token)
{
    m_pActToken = token;
    m_ActTokenType = token ? token->type : 0;
}

void CParserState::ShiftHistory()
{
    m_pPrevPrevToken = m_pPrevToken;
    m_pPrevToken = m_pActToken;
    if (m_pActToken && IsSignificant(m_pActToken))
        m_pLastSignificantToken = m_pActToken;
}

Lex::Token* CParserState::NextToken()
{
    if (!m_pProvider)
        return nullptr;
    if (m_bStarted) {
        m_pProvider->forward();
        ShiftHistory();
    } else {
        m_bStarted = true;
    }
    Lex::Token* token = m_pProvider->current();
    while (token && IsUnread(token))
        token = m_pProvider->forward();
    if (token && token->language == Lex::Token::pre_id)
        SkipPreProcessor();
    SetActToken(m_pProvider->current());
    if (!m_pStatementStart && m_pActToken && IsSignificant(m_pActToken) && m_pActToken->language != Lex::Token::dir_id)
        m_pStatementStart = m_pActToken;
    return m_pActToken;
}

void CParserState::SkipPreProcessor()
{
    if (!m_pProvider)
        return;
    for (Lex::Token* token = m_pProvider->current(); token; token = m_pProvider->forward())
        if (IsWhite(token) && strchr(token->text->text, '\n'))
            return;
}

void CParserState::SkipUntil(int type, bool stopAtSignificant)
{
    if (!m_pProvider)
        return;
    ShiftHistory();
    SetActToken(m_pProvider->current());
    while (m_pActToken && (m_pActToken->type != type || IsUnread(m_pActToken))) {
        SetActToken(m_pProvider->forward());
        if (!m_pActToken || (stopAtSignificant && IsSignificant(m_pActToken)))
            break;
    }
    m_bStarted = false;
}

Lex::Token* CParserState::SkipBlock(int open, int close)
{
    if (!m_pProvider)
        return nullptr;
    ShiftHistory();
    int depth = 0;
    for (Lex::Token* token = m_pProvider->current(); token; token = m_pProvider->forward()) {
        SetActToken(token);
        if (IsUnread(token))
            continue;
        if (token->type == open) {
            ++depth;
        } else if (token->type == close) {
            if (depth == 1)
                return token;
            --depth;
        }
    }
    SetActToken(nullptr);
    return nullptr;
}

Lex::Token* CParserState::SkipCurlyBlock()
{
    return SkipBlock(Lex::TOK_OPEN_CURLY, Lex::TOK_CLOSE_CURLY);
}

// ---- Scopes and the current parser ----------------------------------------

void CParserState::SetScope(Scope* scope)
{
    m_pActScope = scope;
    UpdateParser();
}

void CParserState::UpdateParser()
{
    if (!m_pActScope) {
        m_pActParser = nullptr;
        return;
    }
    switch (m_pActScope->GetType()) {
    case SCOPE_CLASS:
        m_pActParser = &m_ClassBodyParser;
        break;
    case SCOPE_ASPECT:
        m_pActParser = &m_AspectParser;
        break;
    case SCOPE_FUNCTION:
    case SCOPE_ASM:
        m_pActParser = &m_MethodBodyParser;
        break;
    default:
        m_pActParser = &m_GlobalScopeParser;
        break;
    }
}

CClassHeadParser& CParserState::GetParser()
{
    return m_pActParser ? *m_pActParser : m_GlobalScopeParser;
}

Scope* CParserState::GetTopScope() const
{
    int n = m_ScopeStack.GetCount();
    return n ? m_ScopeStack[n - 1] : nullptr;
}

void CParserState::EnterScope(Scope& scope)
{
    if (m_pActScope && scope.GetNode().GetName())
        m_pActScope->AddChild(scope);
    m_ScopeStack.Add(&scope);
    SetScope(&scope);
    ScopeType type = scope.GetType();
    if (type == SCOPE_CLASS || type == SCOPE_ASPECT)
        m_ClassState.EnterScope(static_cast<ClassScope&>(scope));
    else if (type == SCOPE_NAMESPACE)
        m_NSStack.Add(static_cast<NodeNSDef*>(&scope.GetNode()));
    OnScopeChanged(nullptr);
}

void CParserState::LeaveScope()
{
    int n = m_ScopeStack.GetCount();
    if (n < 2)
        return;
    Scope* left = m_ScopeStack[n - 1];
    m_ScopeStack.RemoveAt(n - 1, 1);
    SetScope(m_ScopeStack[n - 2]);
    OnScopeChanged(left);
}

void CParserState::OnScopeChanged(Scope* left)
{
    if (m_pActScope) {
        Node& node = m_pActScope->GetNode();
        switch (m_pActScope->GetType()) {
        case SCOPE_FUNCTION:
            m_pActFunction = static_cast<NodeFuncDef*>(&node);
            break;
        case SCOPE_CLASS:
        case SCOPE_ASPECT:
            m_ClassState.m_pActClass = static_cast<NodeClassDef*>(&node);
            break;
        case SCOPE_NAMESPACE:
            m_pActNamespace = static_cast<NodeNSDef*>(&node);
            break;
        case SCOPE_FILE:
            m_pActFunction = nullptr;
            m_ClassState.m_pActClass = nullptr;
            m_pActNamespace = nullptr;
            break;
        default:
            break;
        }
    }
    if (!left)
        return;
    switch (left->GetType()) {
    case SCOPE_FUNCTION:
        m_pActFunction = nullptr;
        static_cast<NodeFuncDef&>(left->GetNode()).OnScopeLeaved();
        break;
    case SCOPE_CLASS:
    case SCOPE_ASPECT:
        OnClassEnd();
        m_ClassState.LeaveScope();
        break;
    case SCOPE_NAMESPACE: {
        int n = m_NSStack.GetCount();
        if (n > 0)
            m_NSStack.RemoveAt(--n, 1);
        m_pActNamespace = n > 0 ? m_NSStack[n - 1] : nullptr;
        break;
    }
    default:
        break;
    }
}

void CParserState::OnClassEnd()
{
    SkipUntil(Lex::TOK_SEMI_COLON, true);
    if (m_bJavaLike)
        return;
    // `}` `#endif` `P;`: directive lines between the body and its
    // declarator (a class head written for several compilers).
    while (m_pActToken
           && (m_pActToken->language == Lex::Token::pre_id || m_pActToken->language == Lex::Token::dir_id)) {
        SkipPreProcessor();
        SkipUntil(Lex::TOK_SEMI_COLON, true);
    }
    // A declarator may follow the body: `} a;`, `} *p;`, `} const c;`,
    // after specifiers (`} static s;`, `} inline constexpr d{};`).
    switch (m_pActToken ? m_ActTokenType : Lex::TOK_NONE) {
    case Lex::TOK_SEMI_COLON:
    case Lex::TOK_ID:
    case Lex::TOK_MUL:
    case Lex::TOK_AND:
    case Lex::TOK_AND_AND:
    case Lex::TOK_CONST:
    case Lex::TOK_VOLATILE:
        return;
    default:
        if (!IsSpecifierAfterBody(m_pActToken))
            OnError("missing semicolon", true);
    }
}

bool CParserState::IsSpecifierAfterBody(Lex::Token const* token)
{
    if (!token)
        return false;
    switch (token->type) {
    case Lex::TOK_STATIC:
    case Lex::TOK_INLINE:
    case Lex::TOK_EXTERN:
    case Lex::TOK_MUTABLE:
    case Lex::TOK_REGISTER:
    case Lex::TOK_TYPEDEF:
        return true;
    default:
        return CFuncBuilder::IsDeclSpecifier(token);
    }
}

// ---- Ends of blocks and statements ------------------------------------------

void CParserState::CloseCurly()
{
    // A body the end of the file left open has no `}` to close it.
    if (!m_pActToken || !m_pActBlock || m_pActBlock->GetKind() == NT_FILE)
        return;
    NodeBlock* block = m_pActBlock;
    block->SetLastToken(*m_pActToken);
    if (Node* parent = block->GetParent()) {
        NodeTypes kind = parent->GetKind();
        if (kind == NT_FUNC_DEF || kind == NT_CLASS_DEF || kind == NT_NS_DEF)
            LeaveScope();
    }
    int n = m_BlockStack.GetCount();
    if (n > 1) {
        m_BlockStack.RemoveAt(n - 1, 1);
        m_pActBlock = m_BlockStack[n - 2];
    }
    CloseNotCurlyBraces();
    ResetActStatement();
}

void CParserState::ResetActStatement()
{
    m_pStatementStart = nullptr;
    ResetID();
    m_StatementTypes.RemoveAll();
    m_PendingModifiers.RemoveAll();
    m_StatementNodes.RemoveAll();
    m_pInitDecl = nullptr;
    m_ClassState.ResetActStatement();
    // A Java-like access word belongs to one member.
    if (m_bJavaLike)
        m_ClassState.OnAccessModifier(m_DefaultAccess);
    m_pLastKeyword = nullptr;
    m_pVarDecl = nullptr;
    m_pOpenTemplate = nullptr;
    m_pClosedTemplate = nullptr;
    ClearLastNodes();
}

void CParserState::ResetID()
{
    m_PendingID.RemoveAll();
    m_PendingTemplArgs.RemoveAll();
}

void CParserState::CloseNotCurlyBraces()
{
    m_RoundBraces.RemoveAll();
    m_SquareBraces.RemoveAll();
}

// ---- The last nodes --------------------------------------------------------

void CParserState::AddNode(Node& node)
{
    m_pLastNode = &node;
    m_LastNodes[m_LastNodePos] = &node;
    m_LastNodePos = (m_LastNodePos + 1) % LAST_NODE_SLOTS;
    m_StatementNodes.Add(&node);
}

void CParserState::AddKeyword(NodeKeyword& node)
{
    AddNode(node);
    m_pLastKeyword = &node;
}

Node* CParserState::GetLastNode(int back) const
{
    if (back < 1 || back >= LAST_NODE_SLOTS)
        return nullptr;
    return m_LastNodes[(m_LastNodePos - back + LAST_NODE_SLOTS) % LAST_NODE_SLOTS];
}

int CParserState::GetLastIDOrOperatorPos() const
{
    for (int back = 1; back <= LAST_NODE_SLOTS; ++back) {
        Node* node = m_LastNodes[(m_LastNodePos - back + LAST_NODE_SLOTS) % LAST_NODE_SLOTS];
        if (!node)
            return 0;
        if (node->GetKind() == NT_ID || node->GetKind() == 23)
            return back;
    }
    return 0;
}

void CParserState::RemoveFromLastTokens(int count)
{
    for (int i = 0; i < count; ++i) {
        m_LastNodePos = (m_LastNodePos + LAST_NODE_SLOTS - 1) % LAST_NODE_SLOTS;
        m_LastNodes[m_LastNodePos] = nullptr;
    }
}

Node* CParserState::GetFromActStatement(NodeTypes kind) const
{
    for (int i = 0; i < m_StatementNodes.GetCount(); ++i)
        if (m_StatementNodes[i]->GetKind() == kind)
            return m_StatementNodes[i];
    return nullptr;
}

// ---- Recording and registration ----------------------------------------------

void CParserState::AddBlock(NodeBlock& block)
{
    m_BlockStack.Add(&block);
    block.SetFirstToken(m_pActToken);
}

void CParserState::AddFuncDecl(NodeFuncDecl& decl)
{
    if (m_pProjectDB)
        m_pProjectDB->m_FuncDecls.Add(&decl);
    if (m_pFileDB)
        m_pFileDB->m_FuncDecls.Add(&decl);
}

void CParserState::AddFuncDef(NodeFuncDef& def)
{
    if (m_pProjectDB)
        m_pProjectDB->m_FuncDefs.Add(&def);
    if (m_pFileDB)
        m_pFileDB->m_FuncDefs.Add(&def);
    if (NodeFuncDecl* decl = def.GetDecl())
        AddFuncDecl(*decl);
}

void CParserState::AddNS(NodeNSDef& def)
{
    if (m_pProjectDB)
        m_pProjectDB->m_Namespaces.Add(def);
}

void CParserState::AddClass(NodeClassDef& def)
{
    ScopeType scope = m_pActScope ? m_pActScope->GetType() : SCOPE_FILE;
    if (scope != SCOPE_CLASS && scope != SCOPE_ASPECT) {
        if (m_pProjectDB)
            m_pProjectDB->m_Classes.Add(def);
        if (m_pFileDB)
            m_pFileDB->m_Classes.Add(def);
    }
    if (m_pClosedTemplate) {
        if (NodeClassDecl* head = def.GetClassDecl())
            head->SetTemplDef(*m_pClosedTemplate);
        m_pClosedTemplate = nullptr;
    }
    if (m_pActBlock)
        m_pActBlock->AddChild(&def);
    m_ClassState.m_pLastClass = &def;
}

Scope* CParserState::FindScope(Scope* start, Array<Name*> const& names, int count) const
{
    if (!start)
        return nullptr;
    if (count < 1)
        return start;
    if (count > names.GetCount())
        count = names.GetCount();
    Scope* scope = start;
    for (int i = 0; scope && i < count; ++i)
        scope = scope->GetFirstChild(names[i]);
    if (scope)
        return scope;
    Scope* file = GetFileScope();
    if (!file || file == start)
        return nullptr;
    scope = file;
    for (int i = 0; scope && i < count; ++i)
        scope = scope->GetFirstChild(names[i]);
    return scope;
}

// ---- Errors ------------------------------------------------------------------

void CParserState::OnError(char const* message, bool fatal)
{
    if (fatal)
        m_bFatalError = true;
    char const* stateFile = m_pFileName ? m_pFileName->c_str() : "";
    Str text("\n");
    Lex::Token* token = m_pActToken ? m_pActToken : m_pPrevToken;
    if (token) {
        char const* file = token->location.empty() ? nullptr : token->location.filename().name();
        text += ErrorLog::Escape(file ? file : stateFile);
        Str line;
        line.Format("(%d)", token->location.empty() ? 0 : token->location.line());
        text += line;
    } else {
        text += ErrorLog::Escape(stateFile);
    }
    text += ": ";
    text += message ? message : "";
    PrintError(text);
}

void CParserState::OnFatalError(char const* text, Lex::Token* at)
{
    m_bFatalError = true;
    if (at && !at->location.empty())
        ErrorLog::OnError(text, *at);
    else
        ErrorLog::OnError(text, m_pFileName ? m_pFileName->c_str() : nullptr, 0);
}

void CParserState::PrintError(char const* text)
{
    // Shown, but the run goes on: the parser recovers from it.
    Diagnostics::Report(DiagKind::Recovered, DiagStream::Out, DiagFlush::None, std::string(text ? text : "") + "\n");
}
