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
#include "parser/SimpleCPPParser.h"

#include <cstring>

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
    return token->language == Lex::Token::white_id
        || (token->flags & (Lex::Token::comment_flag | Lex::Token::unread_branch_flag)) != 0;
}

bool IsFinal(Lex::Token const* token)
{
    return token && token->type == Lex::TOK_ID && strcmp(token->text->text, "final") == 0;
}

// Export macros are written in capitals (API_EXPORT, Q_DECL_EXPORT).
bool LooksLikeMacro(Lex::Token const* token)
{
    bool letter = false;
    for (char const* c = token->text->text; *c; ++c) {
        if (*c >= 'a' && *c <= 'z')
            return false;
        letter = letter || (*c >= 'A' && *c <= 'Z');
    }
    return letter;
}

// The bracket that closes the one at open (all three kinds counted); null
// when the file ends first.
Lex::Token* ClosingBracket(Lex::Token* open)
{
    int depth = 0;
    for (Lex::Token* t = open; t; t = t->next()) {
        if (CParserState::IsBlankToken(t))
            continue;
        int type = t->type;
        if (type == Lex::TOK_OPEN_ROUND || type == Lex::TOK_OPEN_SQUARE || type == Lex::TOK_OPEN_CURLY)
            ++depth;
        else if ((type == Lex::TOK_CLOSE_ROUND || type == Lex::TOK_CLOSE_SQUARE || type == Lex::TOK_CLOSE_CURLY)
                 && --depth == 0)
            return t;
    }
    return nullptr;
}

// `B<T{}>`: a braced temporary among template arguments, known by the `,`
// or `>` after its `}`; a `{` that an argument list left open starts the
// class body instead.
Lex::Token* BracedArgumentEnd(Lex::Token* open)
{
    Lex::Token* close = ClosingBracket(open);
    Lex::Token* next = close ? CParserState::NextSignificant(close) : nullptr;
    if (!next)
        return nullptr;
    int type = next->type;
    return type == Lex::TOK_COMMA || type == Lex::TOK_GREATER || type == Lex::TOK_RSH ? close : nullptr;
}

bool KeywordIs(NodeKeyword* keyword, int type)
{
    Lex::Token* token = keyword ? keyword->GetToken() : nullptr;
    return token && token->type == type;
}

} // namespace

bool CClassHeadParser::ProcessToken()
{
    if (CBaseParser::ProcessToken())
        return true;
    Lex::Token* token = m_State.m_pActToken;
    if (!token)
        return false;
    // `auto f() -> struct tm;`: after the arrow the key only names a type.
    Lex::Token* before = m_State.m_pLastSignificantToken;
    int const type = m_State.m_ActTokenType;
    if (before && before->type == Lex::TOK_PTS
        && (type == Lex::TOK_CLASS || type == Lex::TOK_STRUCT || type == Lex::TOK_UNION || type == Lex::TOK_ENUM))
        return true;
    switch (m_State.m_ActTokenType) {
    case Lex::TOK_CLASS:
    case Lex::TOK_STRUCT:
        // `enum class E` and `enum struct E` are enumerations, not classes.
        if (KeywordIs(IsLastNodeKeyword(), Lex::TOK_ENUM))
            return true;
        AddClassKey();
        return true;
    case Lex::TOK_ENUM:
    case Lex::TOK_NAMESPACE:
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
    CParserState& state = m_State;
    Lex::Token* token = state.m_pActToken;
    Lex::Token* before = state.m_pLastSignificantToken;
    int pending = state.m_PendingID.GetCount();

    // namespace std VISIBILITY(default) {: a macro after the name.
    if (token && pending > 0 && before == state.m_PendingID[pending - 1] && before->type == Lex::TOK_ID
        && KeywordIs(state.m_pLastKeyword, Lex::TOK_NAMESPACE)) {
        Lex::Token* next = PeekSignificant();
        if (next && next->type == Lex::TOK_OPEN_ROUND)
            SkipGroup(Lex::TOK_OPEN_ROUND, Lex::TOK_CLOSE_ROUND);
        return;
    }

    // A name right after the class name: `final`, or the real name when the
    // first one was an export macro (class API_EXPORT X : public B). Before
    // a `{` the first name must look like a macro, so that in
    // struct timeval tv{}; the name stays timeval.
    NodeID* className = state.m_ClassState.m_pClassName;
    if (token && className && pending == 0 && before && before == className->GetLastToken()
        && LastKeywordIsClassKey()) {
        if (IsFinal(token))
            return;
        Lex::Token* next = PeekSignificant();
        bool macro = next
            && (next->type == Lex::TOK_COLON || IsFinal(next)
                || (next->type == Lex::TOK_OPEN_CURLY && LooksLikeMacro(className->GetLastToken())));
        if (macro) {
            CRoundBlockParser::OnTokID();
            if (Node* name = state.CreateIDNode())
                state.m_ClassState.m_pClassName = static_cast<NodeID*>(name);
            return;
        }
        if (!LooksLikeMacro(className->GetLastToken()))
            state.TakeClassNameAsType(*className);
    }

    CRoundBlockParser::OnTokID();
    if (m_State.m_PendingID.GetCount() == 0)
        return;
    NodeKeyword* key = IsLastNodeKeyword();
    Lex::Token* keyToken = key ? key->GetToken() : nullptr;
    if (keyToken && IsClassKeyType(keyToken->type)) {
        Node* name = m_State.CreateIDNode();
        m_State.m_ClassState.m_pClassName = name ? static_cast<NodeID*>(name) : nullptr;
    }
}

void CClassHeadParser::OnTokColon()
{
    CParserState& state = m_State;
    if (KeywordIs(state.m_pLastKeyword, Lex::TOK_ENUM) && state.m_PendingID.GetCount() > 0) {
        // enum E : int {: the underlying type is passed over, E stays the
        // pending name of the block.
        for (Lex::Token* next = PeekSignificant(); next; next = PeekSignificant()) {
            int type = next->type;
            if (type == Lex::TOK_OPEN_CURLY || type == Lex::TOK_SEMI_COLON || type == Lex::TOK_CLOSE_CURLY)
                break;
            if (!state.NextToken())
                break;
        }
        return;
    }
    NodeID* name = state.m_ClassState.m_pClassName;
    if (!name || !LastKeywordIsClassKey())
        return;
    AddClass(*name);
    if (!state.m_pActToken) {
        // The head ran into the end of the file; an open block is reported
        // by the driver.
        Lex::Token* at = state.m_pPrevToken;
        if (!at) {
            NodeID* id = name;
            for (at = id->GetLastToken(); at && at->next(); at = at->next()) {
            }
        }
        if (state.m_BlockStack.GetCount() <= 1 && !state.IsFatalError()) {
            char const* file = at && !at->location.empty() ? at->location.filename().name() : nullptr;
            if (!file && state.GetFileName())
                file = state.GetFileName()->c_str();
            printwarning("unexpected end of file", file, at && !at->location.empty() ? at->location.line() : 0);
        }
        return;
    }
    if (state.m_ActTokenType == Lex::TOK_OPEN_CURLY)
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
    if (key->m_pRefines) {
        def = new NodeRefinementDef(*new NodeRefinementDecl(*key, name));
    } else {
        m_State.NameSpecialization(name);
        def = new NodeClassDef(*new NodeClassDecl(*key, name));
    }
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
    // The first `virtual` or access keyword since the last entry: where the
    // next entry begins.
    Lex::Token* start = nullptr;
    NodeBaseClassDecl* list = nullptr;
    NodeBaseClass* lastBase = nullptr;
    // `::` after an entry's template arguments: the name goes on
    // (Y<int>::Inner is one entry).
    bool continued = false;
    state.ResetID();

    // The pending name (a qualified name A::B is one entry named B) becomes
    // an entry, or the rest of the last entry's name.
    auto flush = [&]() {
        if (state.m_PendingID.GetCount() == 0)
            return;
        if (continued && lastBase && lastBase->GetID()) {
            continued = false;
            Array<Lex::Token*> tokens;
            NodeID* former = lastBase->GetID();
            for (Lex::Token* t = former->GetFirstToken(); t; t = t->next()) {
                if (t->type == Lex::TOK_ID)
                    tokens.Add(t);
                if (t == former->GetLastToken())
                    break;
            }
            for (int i = 0; i < state.m_PendingID.GetCount(); ++i)
                tokens.Add(state.m_PendingID[i]);
            state.ResetID();
            for (int i = 0; i < tokens.GetCount(); ++i)
                state.m_PendingID.Add(tokens[i]);
            Node* node = state.CreateIDNode();
            if (node && node->GetKind() == NT_ID)
                lastBase->SetChild(0, node);
            return;
        }
        continued = false;
        Node* node = state.CreateIDNode();
        if (!node || node->GetKind() != NT_ID)
            return;
        NodeID* id = static_cast<NodeID*>(node);
        if (!list)
            list = new NodeBaseClassDecl();
        Lex::Token* first = start ? start : id->GetFirstToken();
        if (!first)
            return;
        lastBase = list->AddBaseClass(static_cast<Lex::CTokens>(access), *first, *id);
        access = Lex::TOK_PRIVATE;
        start = nullptr;
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
        if (type == Lex::TOK_COLON_COLON) {
            NodeTempleInstanceDef* args = lastBase ? lastBase->GetTemplArgs() : nullptr;
            if (args && state.m_PendingID.GetCount() == 0 && args->GetLastToken()
                && args->GetLastToken() == state.m_pLastSignificantToken)
                continued = true;
            continue;
        }
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
            if (!start)
                start = token;
            lastBase = nullptr;
        } else if (type == Lex::TOK_VIRTUAL) {
            if (!start)
                start = token;
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
            if (Lex::Token* close = BracedArgumentEnd(token)) {
                state.SkipTo(close, false);
                continue;
            }
            // An unclosed argument list ends at the class body.
            return;
        }
        if (type == Lex::TOK_OPEN_ROUND || type == Lex::TOK_OPEN_SQUARE) {
            // `B<sizeof(T)>`, `B<(N > 2)>`: no `<` or `>` inside counts.
            if (Lex::Token* close = ClosingBracket(token))
                state.SkipTo(close, false);
            continue;
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
