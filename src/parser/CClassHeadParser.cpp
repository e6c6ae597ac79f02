#include "parser/CClassHeadParser.h"

#include "parser/CParserState.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeID.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeTemplateDef.h"
#include "parser/NodeType.h"
#include "parser/Scope.h"

namespace {

bool IsClassKeyType(int type)
{
    return type == Lex::TOK_CLASS || type == Lex::TOK_STRUCT || type == Lex::TOK_ASPECT
        || type == Lex::TOK_INTERFACE;
}

bool IsAccessType(int type)
{
    return type == Lex::TOK_PRIVATE || type == Lex::TOK_PROTECTED || type == Lex::TOK_PUBLIC
        || type == Lex::TOK_MIXIN;
}

bool IsWhite(Lex::Token const* token)
{
    return token->language == Lex::Token::white_id || (token->flags & Lex::Token::comment_flag) != 0;
}

} // namespace

bool CClassHeadParser::ProcessToken()
{
    if (CBaseParser::ProcessToken())
        return true;
    Lex::Token* token = m_State.m_pActToken;
    if (!token)
        return false;
    switch (m_State.m_ActTokenType) {
    case Lex::TOK_CLASS:
    case Lex::TOK_ENUM:
    case Lex::TOK_NAMESPACE:
    case Lex::TOK_STRUCT:
    case Lex::TOK_UNION:
    case Lex::TOK_ASPECT:
    case Lex::TOK_INTERFACE:
        AddClassKey();
        return true;
    case Lex::TOK_PRIVATE:
    case Lex::TOK_PROTECTED:
    case Lex::TOK_PUBLIC:
    case Lex::TOK_MIXIN:
        m_State.m_ClassState.OnAccessModifier(static_cast<Lex::CTokens>(m_State.m_ActTokenType));
        AddNode(*new NodeClassModifier(token));
        return true;
    case Lex::TOK_REFINES:
        AddKeyword(*new NodeKeyword(token));
        return true;
    case Lex::TOK_EXTENDS:
    case Lex::TOK_IMPLEMENTS:
        return true;
    default:
        return false;
    }
}

void CClassHeadParser::AddClassKey()
{
    NodeKeyword* key = new NodeKeyword(m_State.m_pActToken);
    NodeKeyword* refines = m_State.m_pLastKeyword;
    int back = 1;
    if (refines && refines->GetToken() && refines->GetToken()->type == Lex::TOK_REFINES) {
        key->m_pRefines = refines;
        back = 2;
    }
    Node* before = m_State.GetLastNode(back);
    if (before && before->GetKind() == NT_CLASS_MODIFIER)
        key->m_pClassModifier = static_cast<NodeClassModifier*>(before);
    AddKeyword(*key);
}

NodeKeyword* CClassHeadParser::IsLastNodeKeyword()
{
    Node* last = m_State.m_pLastNode;
    return last && last->GetKind() == NT_KEYWORD ? static_cast<NodeKeyword*>(last) : nullptr;
}

bool CClassHeadParser::LastKeywordIsClassKey() const
{
    NodeKeyword* key = m_State.m_pLastKeyword;
    Lex::Token* token = key ? key->GetToken() : nullptr;
    return token && IsClassKeyType(token->type);
}

void CClassHeadParser::OnTokID()
{
    CRoundBlockParser::OnTokID();
    if (m_State.m_PendingID.GetCount() == 0)
        return;
    NodeKeyword* key = IsLastNodeKeyword();
    Lex::Token* token = key ? key->GetToken() : nullptr;
    if (token && IsClassKeyType(token->type)) {
        Node* name = m_State.CreateIDNode();
        m_State.m_ClassState.m_pClassName = name ? static_cast<NodeID*>(name) : nullptr;
    }
}

void CClassHeadParser::OnTokColon()
{
    NodeID* name = m_State.m_ClassState.m_pClassName;
    if (!name || !LastKeywordIsClassKey())
        return;
    AddClass(*name);
    if (m_State.m_pActToken && m_State.m_ActTokenType == Lex::TOK_OPEN_CURLY)
        OpenCurly();
}

void CClassHeadParser::OnNewBlock(NodeBlock& block)
{
    CClassParserState& classState = m_State.m_ClassState;
    NodeID* name = classState.m_pClassName;
    if (!name || !LastKeywordIsClassKey()) {
        CBaseParser::OnNewBlock(block);
        return;
    }
    NodeClassDef* def = classState.m_pLastClass ? classState.m_pLastClass : AddClass(*name);
    classState.m_pLastClass = nullptr;
    if (!def)
        return;
    def->SetBody(&block);
    NodeClassDecl* head = def->GetClassDecl();
    block.m_pPrecedingNode = head ? head->ChildAt(1) : nullptr;
    if (head && head->IsAspect())
        m_State.EnterScope(*new AspectScope(*def));
    else
        m_State.EnterScope(*new ClassScope(*def));
}

NodeClassDef* CClassHeadParser::AddClass(NodeID& name)
{
    NodeKeyword* key = m_State.m_pLastKeyword;
    if (!key || !key->GetToken())
        return nullptr;
    if (key->m_pRefines && !key->m_pRefines->GetToken())
        return nullptr;
    NodeClassDef* def = nullptr;
    if (key->m_pRefines)
        def = new NodeRefinementDef(*new NodeRefinementDecl(*key, name));
    else
        def = new NodeClassDef(*new NodeClassDecl(*key, name));
    if (NodeBaseClassDecl* bases = ParseBaseClassDecl())
        def->SetBaseClassDecl(bases);
    m_State.AddClass(*def);
    return def;
}

NodeBaseClassDecl* CClassHeadParser::ParseBaseClassDecl()
{
    CParserState& state = m_State;
    if (!state.m_pActToken || state.m_ActTokenType != Lex::TOK_COLON)
        return nullptr;
    int access = Lex::TOK_PRIVATE;
    Lex::Token* accessToken = nullptr;
    NodeBaseClassDecl* list = nullptr;
    NodeBaseClass* lastBase = nullptr;
    state.ResetID();

    // The pending name (a qualified name A::B is one entry named B) becomes
    // an entry.
    auto flush = [&]() {
        if (state.m_PendingID.GetCount() == 0)
            return;
        Node* node = state.CreateIDNode();
        if (!node || node->GetKind() != NT_ID)
            return;
        NodeID* id = static_cast<NodeID*>(node);
        if (!list)
            list = new NodeBaseClassDecl();
        Lex::Token* first = accessToken ? accessToken : id->GetFirstToken();
        if (!first)
            return;
        lastBase = list->AddBaseClass(static_cast<Lex::CTokens>(access), *first, *id);
        access = Lex::TOK_PRIVATE;
        accessToken = nullptr;
    };

    while (!state.IsFatalError()) {
        Lex::Token* token = state.NextToken();
        if (!token)
            break;
        if (IsWhite(token))
            continue;
        int type = token->type;
        if (type == Lex::TOK_ID) {
            Lex::Token* before = state.m_pLastSignificantToken;
            if (!before || before->type != Lex::TOK_COLON_COLON)
                flush();
            state.OnTokID();
            continue;
        }
        if (type == Lex::TOK_COLON_COLON)
            continue;
        flush();
        if (type == Lex::TOK_LESS) {
            if (lastBase)
                ParseBaseTemplDecl(*lastBase);
            else
                state.SkipUntil(Lex::TOK_GREATER, false);
            if (state.m_pActToken && state.m_ActTokenType == Lex::TOK_OPEN_CURLY)
                return list;
        } else if (type == Lex::TOK_OPEN_CURLY) {
            return list;
        } else if (IsAccessType(type)) {
            access = type;
            accessToken = token;
            lastBase = nullptr;
        }
    }
    flush();
    return list;
}

void CClassHeadParser::ParseBaseTemplDecl(NodeBaseClass& base)
{
    CParserState& state = m_State;
    NodeID* name = base.GetID();
    if (!name)
        return;
    NodeTempleInstanceDef* args = state.CreateTemplInstDef(*name);
    base.SetTemplArgs(args);
    int depth = 1;
    while (!state.IsFatalError()) {
        Lex::Token* token = state.NextToken();
        if (!token)
            return;
        if (IsWhite(token))
            continue;
        int type = token->type;
        if (type == Lex::TOK_OPEN_CURLY) {
            // An unclosed argument list ends at the class body.
            return;
        }
        if (type == Lex::TOK_ID) {
            state.ResetID();
            state.OnTokID();
            if (Node* id = state.CreateIDNode())
                args->AddChild(id);
        } else if (IsSimpleType(type)) {
            if (NodeType* simple = state.CreateType(nullptr, true))
                args->AddChild(simple);
        } else if (type == Lex::TOK_LESS) {
            ++depth;
        } else if (type == Lex::TOK_GREATER) {
            --depth;
        } else if (type == Lex::TOK_RSH) {
            depth -= 2;
        }
        if (depth < 1) {
            if (depth == 0)
                args->SetLastToken(*token);
            return;
        }
    }
}
