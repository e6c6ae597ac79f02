#include "parser/CFuncBuilder.h"

#include "base/Diagnostics.h"
#include "base/Name.h"
#include "parser/CParserState.h"
#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeID.h"
#include "parser/NodeInitDecl.h"
#include "parser/NodeModifier.h"
#include "parser/NodeNSDef.h"
#include "parser/NodeType.h"
#include "parser/Scope.h"

#include <cstdio>
#include <cstring>

namespace {

// True when only the file and namespace bodies are open, besides the body
// of the function being defined.
bool OutsideEveryClass(CParserState const& state, NodeBlock const* body)
{
    for (int i = 1; i < state.m_BlockStack.GetCount(); ++i) {
        if (state.m_BlockStack[i] == body)
            continue;
        Node* parent = state.m_BlockStack[i] ? state.m_BlockStack[i]->GetParent() : nullptr;
        if (!parent || parent->GetKind() != NT_NS_DEF)
            return false;
    }
    return true;
}

bool IsClassScope(Scope const* scope)
{
    return scope && (scope->GetType() == SCOPE_CLASS || scope->GetType() == SCOPE_ASPECT);
}

bool TokenIs(Node* node, int type)
{
    Lex::Token* token = node ? node->GetToken() : nullptr;
    return token && token->type == type;
}

// Makes info a child of owner unless it is one already.
void AdoptInfo(InfoWithMembers& owner, Info& info)
{
    if (owner.HasMember(info))
        info.m_pParent = &owner;
    else
        owner.AddChild(&info);
}

// Words that take parentheses after a function's parameters, or stand
// there: their parentheses are no parameter list.
bool IsSpecifierWord(Node* node)
{
    Name* name = node && node->GetKind() == NT_ID ? node->GetName() : nullptr;
    char const* text = name ? name->c_str() : nullptr;
    if (!text)
        return false;
    static char const* const words[] = {"noexcept", "throw", "decltype", "__attribute__", "__declspec", "alignas",
                                        "requires", "__attribute", "_Pragma"};
    for (char const* word : words)
        if (strcmp(text, word) == 0)
            return true;
    return false;
}

// Nodes that may stand between `->` and the name of the type after it.
bool InTypeHead(Node* node)
{
    return node->GetKind() == NT_MODIFIER
        || (node->GetKind() == NT_TOKEN && (TokenIs(node, Lex::TOK_COLON_COLON) || TokenIs(node, Lex::TOK_TYPENAME)));
}

// The position of the `->` older than the id at p, with only modifiers
// between: the id is (part of) a trailing return type. 0 otherwise.
int TrailingReturnArrow(CParserState const& state, int p)
{
    for (int back = p + 1; back < CParserState::LAST_NODE_SLOTS; ++back) {
        Node* node = state.GetLastNode(back);
        if (!node)
            return 0;
        if (InTypeHead(node))
            continue;
        return node->GetKind() == NT_TOKEN && TokenIs(node, Lex::TOK_PTS) ? back : 0;
    }
    return 0;
}

// The next identifier older than position p; 0 when an empty slot comes
// first.
int OlderIDPos(CParserState const& state, int p)
{
    for (int back = p + 1; back < CParserState::LAST_NODE_SLOTS; ++back) {
        Node* node = state.GetLastNode(back);
        if (!node)
            return 0;
        if (node->GetKind() == NT_ID || node->GetKind() == 23)
            return back;
    }
    return 0;
}

// A pending name right after `->` (modifiers between) is the trailing
// return type: it becomes a type node before the head is read.
void FlushTrailingReturnType(CParserState& state)
{
    if (state.m_PendingID.GetCount() == 0 || state.m_PendingID[0]->type == Lex::TOK_OPERATOR)
        return;
    for (int back = 1; back < CParserState::LAST_NODE_SLOTS; ++back) {
        Node* node = state.GetLastNode(back);
        if (!node)
            return;
        if (InTypeHead(node))
            continue;
        if (node->GetKind() != NT_TOKEN || !TokenIs(node, Lex::TOK_PTS))
            return;
        if (Node* id = state.CreateIDNode())
            state.CreateType(static_cast<NodeID*>(id), true);
        return;
    }
}

// The info a friend function is filed under: the current namespace's, else
// the file's.
InfoWithMembers* FriendScope(CParserState& state)
{
    if (state.m_pActNamespace)
        return &state.m_pActNamespace->GetNSInfo();
    Scope* file = state.GetFileScope();
    return file ? file->GetInfoWithWembers() : nullptr;
}

} // namespace

bool CFuncBuilder::OnEllipsis(CParserState& state)
{
    Lex::Token* token = state.m_pActToken;
    Scope* scope = state.GetActScope();
    if (!token || state.m_RoundBraces.IsEmpty() || (scope && scope->GetType() == SCOPE_FUNCTION))
        return false;
    Lex::Token* before = state.m_pLastSignificantToken;
    int const previous = before ? before->type : Lex::TOK_NONE;
    if (previous == Lex::TOK_COMMA || previous == Lex::TOK_OPEN_ROUND) {
        NodeToken* node = new NodeToken(token);
        state.m_RoundBraces.Top()->AddChild(node);
        state.AddNode(*node);
        return true;
    }
    if (state.m_PendingID.GetCount() > 0) {
        if (state.m_PendingID[0]->type == Lex::TOK_OPERATOR || previous != Lex::TOK_ID)
            return false;
        if (Node* id = state.CreateIDNode())
            state.CreateType(static_cast<NodeID*>(id), true);
    }
    Node* last = state.m_pLastNode;
    if (!last || last->GetKind() != NT_TYPE)
        return false;
    last->AddChild(new NodeToken(token));
    return true;
}

bool CFuncBuilder::IsDeclSpecifier(Lex::Token const* token)
{
    if (!token || token->type != Lex::TOK_ID || !token->text)
        return false;
    static char const* const words[] = {"constexpr", "consteval", "constinit", "thread_local"};
    for (char const* word : words)
        if (strcmp(token->text->text, word) == 0)
            return true;
    return false;
}

bool CFuncBuilder::IsFriendStatement(CParserState const& state)
{
    for (int i = 0; i < state.m_StatementNodes.GetCount(); ++i) {
        Node* node = state.m_StatementNodes[i];
        if (node && node->GetKind() == NT_TOKEN && TokenIs(node, Lex::TOK_FRIEND))
            return true;
    }
    return false;
}

void CFuncBuilder::DropBracketContents(CParserState& state)
{
    if (state.m_RoundBraces.IsEmpty())
        return;
    Node* bracket = state.m_RoundBraces.Top();
    int const slots = CParserState::LAST_NODE_SLOTS;
    int back = 1;
    for (; back < slots; ++back) {
        Node* node = state.GetLastNode(back);
        if (!node)
            return;
        if (node == bracket)
            break;
    }
    if (back >= slots)
        return;
    for (int i = 1; i < back; ++i) {
        state.m_LastNodePos = (state.m_LastNodePos + slots - 1) % slots;
        state.m_LastNodes[state.m_LastNodePos] = nullptr;
    }
    state.m_pLastNode = bracket;
}

void CFuncBuilder::ReadOperatorName(CParserState& state)
{
    Lex::Token* keyword = state.m_pActToken;
    if (!keyword || keyword->type != Lex::TOK_OPERATOR)
        return;
    Array<Lex::Token*> name;
    Lex::Token* t = CParserState::NextSignificant(keyword);
    if (t && t->type == Lex::TOK_OPEN_ROUND) {
        // operator(): the first pair of parentheses is the name.
        Lex::Token* close = CParserState::NextSignificant(t);
        if (!close || close->type != Lex::TOK_CLOSE_ROUND)
            return;
        name.Add(t);
        name.Add(close);
    } else {
        int const limit = 16;
        for (; t && name.GetCount() < limit; t = CParserState::NextSignificant(t)) {
            int const type = t->type;
            if (type == Lex::TOK_OPEN_ROUND || type == Lex::TOK_SEMI_COLON || type == Lex::TOK_OPEN_CURLY
                || type == Lex::TOK_CLOSE_CURLY || type == Lex::TOK_COMMA)
                break;
            name.Add(t);
        }
        if (!t || name.GetCount() == 0 || name.GetCount() >= limit)
            return;
    }
    for (int i = 0; i < name.GetCount(); ++i)
        state.m_PendingID.Add(name[i]);
    state.SkipTo(name[name.GetCount() - 1], false);
}

NodeFuncDecl* CFuncBuilder::CreateFuncDecl()
{
    CParserState& state = *m_pState;
    Scope* top = state.GetTopScope();
    if (!top || !state.m_pLastNode || !top->GetInfo() || top->GetType() == SCOPE_FUNCTION || state.m_pInitDecl)
        return nullptr;
    FlushTrailingReturnType(state);
    int p = state.GetLastIDOrOperatorPos();
    // Identifiers after the parameters are no function name: a specifier
    // with its own parentheses (`noexcept(...)`) or a trailing return type.
    int arrow = 0;
    for (int guard = 0; p > 1 && guard < CParserState::LAST_NODE_SLOTS; ++guard) {
        int const after = TrailingReturnArrow(state, p);
        if (after)
            arrow = after;
        else if (!IsSpecifierWord(state.GetLastNode(p)))
            break;
        p = OlderIDPos(state, after ? after : p);
    }
    if (p <= 1)
        return nullptr;
    Node* name = state.GetLastNode(p);
    Node* after = state.GetLastNode(p - 1);
    NodeModifier* modifier = nullptr;
    if (p > 2) {
        Node* trailing = state.GetLastNode(p - 2);
        if (trailing && trailing->GetKind() == NT_MODIFIER)
            modifier = static_cast<NodeModifier*>(trailing);
    }
    if (!name || name->GetKind() != NT_ID || !after || after->GetKind() != NT_ROUND_BRACE
        || static_cast<NodeRoundBrace*>(after)->m_pPrecedingNode != name)
        return nullptr;
    NodeID* id = static_cast<NodeID*>(name);
    // A static assertion looks like a call and declares nothing.
    if (id->GetName() && id->GetName()->c_str()
        && (strcmp(id->GetName()->c_str(), "static_assert") == 0
            || strcmp(id->GetName()->c_str(), "_Static_assert") == 0))
        return nullptr;

    NodeType* returnType = nullptr;
    NodeOperator* tilde = nullptr;
    for (int back = p + 1; back < CParserState::LAST_NODE_SLOTS; ++back) {
        Node* node = state.GetLastNode(back);
        if (!node)
            break;
        NodeTypes kind = node->GetKind();
        if (kind == NT_TYPE) {
            returnType = static_cast<NodeType*>(node);
            break;
        }
        if (kind == NT_ID) {
            returnType = state.CreateType(static_cast<NodeID*>(node), false);
            break;
        }
        if (kind == NT_OPERATOR && TokenIs(node, Lex::TOK_TILDE)) {
            tilde = static_cast<NodeOperator*>(node);
            break;
        }
        if (kind == NT_TOKEN && TokenIs(node, Lex::TOK_NEW))
            return nullptr;
    }
    // The type after `->` is what the function returns; the written return
    // type (`auto`) keeps its place in the declaration.
    for (int back = p - 2; back >= 1 && !arrow; --back)
        if (TokenIs(state.GetLastNode(back), Lex::TOK_PTS) && state.GetLastNode(back)->GetKind() == NT_TOKEN)
            arrow = back;
    NodeType* trailingType = nullptr;
    for (int back = arrow - 1; back >= 1 && !trailingType; --back) {
        Node* node = state.GetLastNode(back);
        if (node && node->GetKind() == NT_TYPE)
            trailingType = static_cast<NodeType*>(node);
    }
    // `auto f() const -> int`: the `const` before the arrow qualifies the
    // function, not the type after it.
    for (int back = arrow + 1; trailingType && back < p; ++back) {
        Node* node = state.GetLastNode(back);
        if (node && node->GetKind() == NT_MODIFIER)
            trailingType->ReleaseModifier(static_cast<NodeModifier*>(node));
    }

    bool const isFriend = IsFriendStatement(state);
    // A friend belongs to the enclosing file or namespace, never to the
    // class it is declared in.
    InfoWithMembers* owner = isFriend ? FriendScope(state) : GetScope(id->GetQualName());
    if (!owner)
        return nullptr;
    NodeFuncParams* params = new NodeFuncParams(static_cast<NodeRoundBrace*>(after));
    params->InitParamListInfo();
    NodeFuncDecl* decl = new NodeFuncDecl(*owner, returnType, tilde, *id, *params, modifier);
    if (trailingType) {
        // `virtual`, `static` and `inline` stand before the written `auto`:
        // they hold for the function whatever type it returns.
        TypeInfo& trailing = trailingType->GetTypeInfo();
        if (returnType) {
            TypeInfo& written = returnType->GetTypeInfo();
            trailing.m_bVirtual = trailing.m_bVirtual || written.m_bVirtual;
            trailing.m_bStatic = trailing.m_bStatic || written.m_bStatic;
            trailing.m_bInline = trailing.m_bInline || written.m_bInline;
        }
        decl->SetReturnTypeInfo(trailing);
    }

    if (Lex::Token* current = state.m_pActToken) {
        if (state.m_ActTokenType == Lex::TOK_SEMI_COLON) {
            decl->SetLastToken(*current);
        } else {
            Lex::Token* last = current->prev();
            while (last && last->language == Lex::Token::white_id)
                last = last->prev();
            if (last)
                decl->SetLastToken(*last);
        }
    }
    if (isFriend) {
        decl->m_bFriend = true;
        return decl;
    }
    if (state.m_ClassState.m_pActClass)
        decl->GetInfo()->SetAccess(state.m_ClassState.GetActAccessType());
    if (ClassInfo* cls = owner->GetClassInfo())
        decl->SetClass(cls->GetDef());
    else if (IsClassScope(top))
        decl->SetClass(&static_cast<ClassScope*>(top)->GetClassDef());
    return decl;
}

InfoWithMembers* CFuncBuilder::GetScope(QualName* name)
{
    CParserState& state = *m_pState;
    if (name) {
        Scope* scope = state.FindScope(state.GetActScope(), name->m_Components, name->GetComponentCount() - 1);
        if (IsClassScope(scope))
            return &static_cast<ClassScope*>(scope)->GetClassDef().GetClassInfo();
        // `void N::g() {}` outside `namespace N`: the function is N's.
        if (scope && scope->GetType() == SCOPE_NAMESPACE && name->GetComponentCount() > 1)
            return scope->GetInfoWithWembers();
    }
    if (NodeClassDef* cls = state.m_ClassState.m_pActClass)
        return &cls->GetClassInfo();
    Scope* scope = state.GetActScope();
    if (scope && scope->GetType() == SCOPE_FILE)
        return scope->GetInfoWithWembers();
    if (state.m_pActNamespace)
        return &state.m_pActNamespace->GetNSInfo();
    return nullptr;
}

NodeFuncDef* CFuncBuilder::CreateFuncDeclWithInitializer()
{
    CParserState& state = *m_pState;
    NodeFuncDecl* decl = CreateFuncDecl();
    if (!decl)
        return nullptr;
    NodeInitDecl* init = new NodeInitDecl(state.m_pActToken);
    NodeFuncDef* def = AddFuncDef(*decl, init, nullptr);
    state.AddNode(*init);
    state.m_pInitDecl = init;
    return def;
}

NodeFuncDecl* CFuncBuilder::CreateFuncDeclWithoutInitializer()
{
    NodeFuncDecl* decl = CreateFuncDecl();
    if (decl)
        AddFuncDecl(*decl);
    return decl;
}

NodeFuncDef* CFuncBuilder::CreateFuncDef()
{
    CParserState& state = *m_pState;
    NodeFuncDef* def = nullptr;
    NodeFuncDecl* decl = nullptr;
    if (NodeInitDecl* init = state.m_pInitDecl) {
        def = init->GetFunc();
        decl = def ? def->GetDecl() : nullptr;
        if (state.m_pActToken && state.m_pActToken->prev())
            init->SetLastToken(*state.m_pActToken->prev());
    } else {
        decl = CreateFuncDecl();
    }
    if (!decl)
        return nullptr;
    NodeBlock* body = new NodeBlock();
    state.AddNode(*body);
    state.AddBlock(*body);
    if (def)
        def->SetChild(2, body);
    else
        def = AddFuncDef(*decl, nullptr, body);
    state.EnterScope(*new FuncScope(*def));
    state.m_pActBlock = body;
    return def;
}

NodeFuncDef* CFuncBuilder::AddFuncDef(NodeFuncDecl& decl, NodeInitDecl* initializers, NodeBlock* body)
{
    CParserState& state = *m_pState;
    NodeFuncDef* def = new NodeFuncDef(decl, initializers, body);
    // A friend's definition is read (its body passed over) but filed
    // nowhere.
    if (decl.m_bFriend)
        return def;
    if (state.IsJavaLikeFile() && OutsideEveryClass(state, body)) {
        // Java and C# have no functions outside a class: a `}` too many
        // closed the class before this method.
        NodeID* name = decl.GetNameNode();
        Lex::Token* at = name ? name->GetLastToken() : nullptr;
        Str text;
        text.Format("method '%s' stands outside every class: is a '}' before it one too many, closing the class "
                    "early?",
                    at ? at->text->text : "");
        state.OnFatalError(text, at ? at : state.m_pActToken);
    }
    state.AddFuncDef(*def);
    if (state.m_pActBlock)
        state.m_pActBlock->AddChild(def);
    FuncInfo* info = decl.GetInfo();
    if (!IsClassScope(state.GetActScope()) && decl.GetClass() && info && info->GetDecl() == &decl) {
        QualName* name = decl.GetQualName();
        Diagnostics::Printf(DiagKind::Warning, DiagFlush::None, ": warning: definition of %s without declaration",
                            name ? name->c_str() : "");
    }
    NodeID* id = decl.GetNameNode();
    if (InfoWithMembers* owner = GetScope(id ? id->GetQualName() : nullptr)) {
        owner->SetFuncDef(*def);
        if (info)
            AdoptInfo(*owner, *info);
    }
    return def;
}

void CFuncBuilder::AddFuncDecl(NodeFuncDecl& decl)
{
    CParserState& state = *m_pState;
    if (decl.m_bFriend)
        return;
    InfoWithMembers* owner = nullptr;
    if (NodeClassDef* cls = state.m_ClassState.m_pActClass)
        owner = &cls->GetClassInfo();
    else if (state.m_pActNamespace)
        owner = &state.m_pActNamespace->GetNSInfo();
    if (owner && decl.GetInfo())
        AdoptInfo(*owner, *decl.GetInfo());
    Scope* scope = state.GetActScope();
    if (scope && scope->GetNode().GetKind() == NT_CLASS_DEF) {
        NodeClassDef& cls = static_cast<NodeClassDef&>(scope->GetNode());
        if (NodeBlock* body = cls.GetBody())
            body->AddChild(&decl);
    }
    state.AddFuncDecl(decl);
}
