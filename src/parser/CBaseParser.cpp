#include "parser/CBaseParser.h"

#include "base/Name.h"
#include "parser/CParserState.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeID.h"
#include "parser/NodeInitDecl.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeNSDef.h"
#include "parser/NodeType.h"
#include "parser/Scope.h"

#include <cstring>

namespace {

bool LastKeywordIs(CParserState const& state, int type)
{
    NodeKeyword* keyword = state.m_pLastKeyword;
    Lex::Token* token = keyword ? keyword->GetToken() : nullptr;
    return token && token->type == type;
}

bool IsSignificant(Lex::Token const* token)
{
    return token->language != Lex::Token::white_id
        && (token->flags & (Lex::Token::comment_flag | Lex::Token::unread_branch_flag)) == 0;
}

// Names that take a bracketed argument and say nothing about the structure.
bool IsAttributeName(char const* text)
{
    return strcmp(text, "alignas") == 0 || strcmp(text, "_Alignas") == 0 || strcmp(text, "__attribute__") == 0
        || strcmp(text, "__declspec") == 0;
}

// The name tokens written in the identifier (A::B has two), whatever the
// enclosing blocks add to its qualified name.
void OwnNameTokens(NodeID& id, Array<Lex::Token*>& tokens)
{
    Lex::Token* last = id.GetLastToken();
    for (Lex::Token* t = id.GetFirstToken(); t; t = t->next()) {
        if (t->type == Lex::TOK_ID)
            tokens.Add(t);
        if (t == last)
            break;
    }
}

} // namespace

bool CBaseParser::ProcessToken()
{
    if (SkipAttribute())
        return true;
    if (CRoundBlockParser::ProcessToken())
        return true;
    Lex::Token* token = m_State.m_pActToken;
    if (!token)
        return false;
    switch (m_State.m_ActTokenType) {
    case Lex::TOK_CLOSE_CURLY:
        CloseCurly();
        return true;
    case Lex::TOK_FRIEND:
    case Lex::TOK_TYPEDEF:
        AddNode(*new NodeToken(token));
        return true;
    case Lex::TOK_OPEN_CURLY:
        OpenCurly();
        return true;
    case Lex::TOK_REGISTER:
        AddKeyword(*new NodeKeyword(token));
        return true;
    case Lex::TOK_SEMI_COLON:
        OnTokSemiColon();
        return true;
    case Lex::TOK_TEMPLATE:
        OnTemplate();
        return true;
    default:
        return false;
    }
}

Lex::Token* CBaseParser::PeekSignificant() const
{
    Lex::Token* token = m_State.m_pActToken ? m_State.m_pActToken->next() : nullptr;
    while (token && !IsSignificant(token))
        token = token->next();
    return token;
}

bool CBaseParser::SkipGroup(int open, int close)
{
    CParserState& state = m_State;
    Lex::Token* token = state.m_pActToken;
    while (token && token->type != open && !IsSignificant(token))
        token = state.NextToken();
    if (token && token->type != open) {
        do
            token = state.NextToken();
        while (token && !IsSignificant(token));
    }
    if (!token || token->type != open)
        return false;
    int depth = 0;
    for (; token; token = state.NextToken()) {
        if (token->type == open)
            ++depth;
        else if (token->type == close && --depth == 0)
            return true;
    }
    return false;
}

bool CBaseParser::SkipAttribute()
{
    Lex::Token* token = m_State.m_pActToken;
    if (!token)
        return false;
    if (token->type == Lex::TOK_OPEN_SQUARE) {
        // `[[` only ever opens an attribute.
        Lex::Token* next = PeekSignificant();
        if (!next || next->type != Lex::TOK_OPEN_SQUARE)
            return false;
        SkipGroup(Lex::TOK_OPEN_SQUARE, Lex::TOK_CLOSE_SQUARE);
        return true;
    }
    if (token->type != Lex::TOK_ID || !IsAttributeName(token->text->text))
        return false;
    Lex::Token* next = PeekSignificant();
    if (!next || next->type != Lex::TOK_OPEN_ROUND)
        return false;
    SkipGroup(Lex::TOK_OPEN_ROUND, Lex::TOK_CLOSE_ROUND);
    return true;
}

void CBaseParser::OnTemplate()
{
    CParserState& state = m_State;
    Lex::Token* next = PeekSignificant();
    state.OnTemplateDef();
    if (!next || next->type != Lex::TOK_LESS || !state.m_pOpenTemplate)
        return;
    // The parameters are not read: nothing in them names a class or a
    // function of the module.
    int angle = 0;
    int round = 0;
    for (Lex::Token* token = state.NextToken(); token && !state.IsFatalError(); token = state.NextToken()) {
        switch (token->type) {
        case Lex::TOK_OPEN_ROUND:
            ++round;
            break;
        case Lex::TOK_CLOSE_ROUND:
            if (round > 0)
                --round;
            break;
        case Lex::TOK_OPEN_CURLY:
        case Lex::TOK_CLOSE_CURLY:
        case Lex::TOK_SEMI_COLON:
            // A head cut off: the parsers read this token next.
            state.m_bStarted = false;
            return;
        case Lex::TOK_LESS:
            if (round == 0)
                ++angle;
            break;
        case Lex::TOK_GREATER:
            if (round == 0 && --angle <= 0) {
                state.CloseTemplateDef();
                return;
            }
            break;
        case Lex::TOK_RSH:
            if (round == 0) {
                angle -= 2;
                if (angle <= 0) {
                    state.CloseTemplateDef();
                    return;
                }
            }
            break;
        default:
            break;
        }
    }
}

void CBaseParser::OpenCurly()
{
    NodeBlock* block = new NodeBlock();
    AddNode(*block);
    block->m_pPrecedingNode = m_State.CreateIDNode();
    m_State.AddBlock(*block);
    OnNewBlock(*block);
    m_State.m_pActBlock = block;
    m_State.ResetActStatement();
}

void CBaseParser::CloseCurly()
{
    CParserState& state = m_State;
    NodeBlock* block = state.m_pActBlock;
    Node* parent = block ? block->GetParent() : nullptr;
    NodeClassDef* cls = parent && parent->GetKind() == NT_CLASS_DEF ? static_cast<NodeClassDef*>(parent) : nullptr;
    state.CloseCurly();
    if (!cls || state.IsFatalError() || state.IsJavaLike() || !state.m_pActToken
        || state.m_ActTokenType == Lex::TOK_SEMI_COLON || state.m_pActBlock == block)
        return;
    // `struct A { ... } a, *p;`: the declarators are variables of the
    // enclosing scope whose type is the class.
    NodeClassDecl* head = cls->GetClassDecl();
    NodeID* name = head ? head->GetID() : nullptr;
    if (!name || !name->GetQualName())
        return;
    // typedef struct S { ... } T, *PT;: the names are aliases, not variables.
    Lex::Token* before = head->GetFirstToken() ? head->GetFirstToken()->prev() : nullptr;
    while (before && !IsSignificant(before))
        before = before->prev();
    if (before && before->type == Lex::TOK_TYPEDEF) {
        state.SkipUntil(Lex::TOK_SEMI_COLON, false);
        return;
    }
    // } const c;: the qualifier goes to the type, which must stay the last
    // node for the declarators.
    // Storage and other specifiers (} static s;, } inline constexpr d{};)
    // say nothing about the type and are passed over; } typedef T; names
    // aliases.
    bool isConst = false;
    while (state.m_pActToken
           && (state.m_ActTokenType == Lex::TOK_CONST || state.m_ActTokenType == Lex::TOK_VOLATILE
               || CParserState::IsSpecifierAfterBody(state.m_pActToken))) {
        if (state.m_ActTokenType == Lex::TOK_TYPEDEF) {
            state.SkipUntil(Lex::TOK_SEMI_COLON, false);
            return;
        }
        isConst = isConst || state.m_ActTokenType == Lex::TOK_CONST;
        state.SkipUntil(Lex::TOK_SEMI_COLON, true);
    }
    NodeType* type =
        state.CreateType(new NodeID(name->GetFirstToken(), name->GetLastToken(), name->GetQualName()), true);
    if (type && isConst)
        type->SetIsConst();
}

void CBaseParser::OnTokSemiColon()
{
    CreateVarDeclaration();
    m_State.ResetActStatement();
}

void CBaseParser::OnNewBlock(NodeBlock& block)
{
    Node* name = block.m_pPrecedingNode;
    if (name && name->GetKind() == NT_ID && LastKeywordIs(m_State, Lex::TOK_NAMESPACE)) {
        AddNamespace(*static_cast<NodeID*>(name), block);
        return;
    }
    if (NodeInitDecl* init = m_State.m_pInitDecl) {
        if (NodeFuncDef* def = init->GetFunc()) {
            def->SetChild(2, &block);
            m_State.EnterScope(*new FuncScope(*def));
        }
        return;
    }
    if (LastKeywordIs(m_State, Lex::TOK_ASM)) {
        m_State.EnterScope(*new AsmScope(*m_State.m_pLastKeyword));
        return;
    }
    if (m_State.m_pActBlock)
        m_State.m_pActBlock->AddChild(&block);
}

void CBaseParser::AddNamespace(NodeID& name, NodeBlock& block)
{
    CParserState& state = m_State;
    NodeNSDecl* head = new NodeNSDecl(name);
    NodeNSDef* def = new NodeNSDef(*head, &block);
    state.AddNS(*def);
    if (state.m_pActBlock)
        state.m_pActBlock->AddChild(def);

    // namespace A::B: B's scope goes under a scope of A (the one already
    // there, else a new one without a body of its own).
    Scope* outer = state.GetActScope();
    QualName* qualName = name.GetQualName();
    Array<Lex::Token*> tokens;
    OwnNameTokens(name, tokens);
    int own = tokens.GetCount();
    int count = qualName ? qualName->GetComponentCount() : 0;
    if (outer && own > 1 && own <= count) {
        for (int i = count - own; i < count - 1; ++i) {
            Lex::Token* token = tokens[i - (count - own)];
            Name* component = qualName->m_Components[i];
            Scope* scope = outer->GetFirstChild(component);
            if (!scope || scope->GetType() != SCOPE_NAMESPACE) {
                Array<Name*> names;
                for (int k = 0; k <= i; ++k)
                    names.Add(qualName->m_Components[k]);
                NodeID* id = new NodeID(token, token, QualName::GetName(names));
                scope = new NSScope(*new NodeNSDef(*new NodeNSDecl(*id), nullptr));
                outer->AddChild(*scope);
            }
            outer = scope;
        }
        state.SetScope(outer);
    }
    state.EnterScope(*new NSScope(*def));
}
