// Statement assembly: the members of the parser state that turn the tokens
// of the current statement into identifier, type, bracket, variable and
// template nodes.
#include "parser/CParserState.h"

#include "base/Name.h"
#include "parser/CRoundBlockParser.h"
#include "parser/ClassDB.h"
#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeID.h"
#include "parser/NodeInitDecl.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeModifier.h"
#include "parser/NodeTemplateDef.h"
#include "parser/NodeType.h"
#include "parser/NodeVarDecl.h"
#include "parser/Scope.h"
#include "scanner/TokenProvider.h"

#include <cstring>

namespace {

bool IsType(Node* node)
{
    return node && node->GetKind() == NT_TYPE;
}

bool IsOpenBracket(int type)
{
    return type == Lex::TOK_OPEN_ROUND || type == Lex::TOK_OPEN_SQUARE || type == Lex::TOK_OPEN_CURLY;
}

bool IsCloseBracket(int type)
{
    return type == Lex::TOK_CLOSE_ROUND || type == Lex::TOK_CLOSE_SQUARE || type == Lex::TOK_CLOSE_CURLY;
}

// The bracket that closes the one at open, brackets of all three kinds
// counted; null at the end of the list.
Lex::Token* MatchingBracket(Lex::Token* open)
{
    int depth = 0;
    for (Lex::Token* t = open; t; t = t->next()) {
        if (CParserState::IsBlankToken(t))
            continue;
        if (IsOpenBracket(t->type))
            ++depth;
        else if (IsCloseBracket(t->type) && --depth == 0)
            return t;
    }
    return nullptr;
}

bool IsClassKey(int type)
{
    switch (type) {
    case Lex::TOK_CLASS:
    case Lex::TOK_STRUCT:
    case Lex::TOK_UNION:
    case Lex::TOK_ENUM:
    case Lex::TOK_NAMESPACE:
    case Lex::TOK_ASPECT:
    case Lex::TOK_INTERFACE:
        return true;
    default:
        return false;
    }
}

bool IsNonLocal(Scope const* scope)
{
    return !scope || (scope->GetType() != SCOPE_FUNCTION && scope->GetType() != SCOPE_ASM);
}

// The indirection that the `*`, `&` or `&&` in front of a declarator's name
// give it (`int a, *b`: b is a pointer, a is not); cv-qualifiers and the
// bracket of `(*fp)` between are passed over.
int DeclaratorIndirection(NodeID* id)
{
    Lex::Token* t = id ? id->GetFirstToken() : nullptr;
    int indirection = TypeInfo::BY_VALUE;
    for (t = t ? t->prev() : nullptr; t; t = t->prev()) {
        if (CParserState::IsBlankToken(t) || t->type == Lex::TOK_CONST || t->type == Lex::TOK_VOLATILE
            || t->type == Lex::TOK_OPEN_ROUND)
            continue;
        // The operator next to the name counts, as for the type
        // (`int*& r` is a reference).
        int kind = t->type == Lex::TOK_MUL ? TypeInfo::POINTER
            : t->type == Lex::TOK_AND      ? TypeInfo::REFERENCE
            : t->type == Lex::TOK_AND_AND  ? TypeInfo::RVALUE_REFERENCE
                                           : -1;
        if (kind < 0)
            break;
        if (indirection == TypeInfo::BY_VALUE)
            indirection = kind;
    }
    return indirection;
}

// The type of one declarator: the declaration's own, or a copy with the
// declarator's indirection when that differs.
TypeInfo* DeclaratorType(NodeType& type, NodeID* id)
{
    TypeInfo& shared = type.GetTypeInfo();
    int indirection = DeclaratorIndirection(id);
    // A name in brackets (`void (*cb)(int)`) has the type its declarator
    // gave the declaration.
    Lex::Token* after = id ? CParserState::NextSignificant(id->GetLastToken()) : nullptr;
    if (!id || indirection == shared.m_Indirection || (after && after->type == Lex::TOK_CLOSE_ROUND))
        return &shared;
    TypeInfo* own = new TypeInfo(shared.GetName());
    own->m_Indirection = indirection;
    own->m_bConst = shared.m_bConst;
    own->m_bVirtual = shared.m_bVirtual;
    own->m_bStatic = shared.m_bStatic;
    own->m_bInline = shared.m_bInline;
    own->m_bAbstract = shared.m_bAbstract;
    return own;
}

} // namespace

void CParserState::OnIdToken()
{
    int n = m_PendingID.GetCount();
    if (n > 0 && m_PendingID[n - 1]->type != Lex::TOK_OPERATOR
        && (m_ActTokenType == Lex::TOK_ID || m_ActTokenType == Lex::TOK_OPERATOR)) {
        int before = m_pLastSignificantToken ? m_pLastSignificantToken->type : Lex::TOK_NONE;
        // A name after template arguments (`std::vector<int> v`): the
        // arguments closed a type.
        if (m_pLastSignificantToken && m_pLastSignificantToken == m_pTemplArgsEnd)
            before = Lex::TOK_ID;
        switch (before) {
        case Lex::TOK_AND:
        case Lex::TOK_MUL:
        case Lex::TOK_ID:
            // Two names in a row: the first one was a type.
            if (Node* id = CreateIDNode())
                CreateType(static_cast<NodeID*>(id), true);
            break;
        case Lex::TOK_COLON_COLON:
        case Lex::TOK_DOT:
        case Lex::TOK_OPERATOR:
        case Lex::TOK_PTS:
        case Lex::TOK_TILDE:
            break;
        default:
            ResetID();
            break;
        }
    }
    if (m_pActToken)
        m_PendingID.Add(m_pActToken);
}

void CParserState::GetQualNames(Array<Name*>& names, Lex::Token*& first, Lex::Token*& last)
{
    first = nullptr;
    last = nullptr;
    for (int i = 1; i < m_BlockStack.GetCount(); ++i) {
        Node* nameNode = m_BlockStack[i]->m_pPrecedingNode;
        if (!nameNode || nameNode->GetKind() != NT_ID || !nameNode->GetName())
            continue;
        // namespace A::B { gives its members both names.
        QualName* nsName = static_cast<NodeID*>(nameNode)->GetQualName();
        Node* owner = m_BlockStack[i]->GetParent();
        int have = names.GetCount();
        bool nested = owner && owner->GetKind() == NT_NS_DEF && nsName && nsName->GetComponentCount() > have + 1;
        for (int k = 0; nested && k < have; ++k)
            nested = nsName->m_Components[k] == names[k];
        if (!nested) {
            names.Add(nameNode->GetName());
            continue;
        }
        for (int k = have; k < nsName->GetComponentCount(); ++k)
            names.Add(nsName->m_Components[k]);
    }
    int n = m_PendingID.GetCount();
    int op = -1;
    for (int i = 0; i < n; ++i) {
        Lex::Token* token = m_PendingID[i];
        if (!first)
            first = token;
        last = token;
        if (token->type == Lex::TOK_OPERATOR) {
            op = i;
            break;
        }
        names.Add(Name::GetName(token->text->text, token));
        // `X<T*>::g`: a qualifier names a specialization when one is known.
        if (Name* special = SpecializationQualifier(names, token))
            names[names.GetCount() - 1] = special;
    }
    if (op >= 0) {
        Str text;
        for (int i = op; i < n; ++i) {
            // `<=>` is scanned as `<=` and `>`: the name keeps it whole.
            bool spaceship = i > op && m_PendingID[i]->type == Lex::TOK_GREATER
                && m_PendingID[i - 1]->type == Lex::TOK_LEQ && m_PendingID[i - 1]->next() == m_PendingID[i];
            if (i > op && !spaceship)
                text += " ";
            text += m_PendingID[i]->text->text;
        }
        names.Add(Name::GetName(text.GetBuffer(), m_PendingID[op]));
    }
}

NodeTempleInstanceDef* CParserState::TemplateArgsOf(Lex::Token* name) const
{
    Lex::Token* next = NextSignificant(name);
    for (int i = 0; next && i < m_PendingTemplArgs.GetCount(); ++i)
        if (m_PendingTemplArgs[i]->GetFirstToken() == next)
            return m_PendingTemplArgs[i];
    return nullptr;
}

Name* CParserState::SpecializationQualifier(Array<Name*> const& names, Lex::Token* token) const
{
    NodeTempleInstanceDef* args = TemplateArgsOf(token);
    Lex::Token* close = args ? args->GetLastToken() : nullptr;
    Lex::Token* after = close ? NextSignificant(close) : nullptr;
    if (!after || after->type != Lex::TOK_COLON_COLON)
        return nullptr;
    Name* spelled = Name::GetName(NodeType::Spell(token, close).GetBuffer(), token);
    Array<Name*> candidate = names;
    candidate[candidate.GetCount() - 1] = spelled;
    Scope* scope = FindScope(m_pActScope, candidate, candidate.GetCount());
    return scope && scope->GetNode().GetName() == spelled ? spelled : nullptr;
}

void CParserState::NameSpecialization(NodeID& name)
{
    Lex::Token* last = name.GetLastToken();
    Lex::Token* less = last ? NextSignificant(last) : nullptr;
    Lex::Token* close = less && less->type == Lex::TOK_LESS ? FindAngleClose(less) : nullptr;
    QualName* qual = name.GetQualName();
    if (!close || !qual || qual->GetComponentCount() == 0)
        return;
    Array<Name*> names;
    for (int i = 0; i < qual->GetComponentCount(); ++i)
        names.Add(qual->m_Components[i]);
    names[names.GetCount() - 1] = Name::GetName(NodeType::Spell(last, close).GetBuffer(), last);
    name.SetQualName(QualName::GetName(names));
}

QualName* CParserState::GetQualName(Lex::Token*& first, Lex::Token*& last, Name* extra)
{
    Array<Name*> names;
    GetQualNames(names, first, last);
    if (extra)
        names.Add(extra);
    return names.GetCount() ? QualName::GetName(names) : nullptr;
}

Node* CParserState::CreateIDNode()
{
    int n = m_PendingID.GetCount();
    if (n == 0)
        return nullptr;
    Lex::Token* first = nullptr;
    Lex::Token* last = nullptr;
    NodeID* id = nullptr;
    if (QualName* name = GetQualName(first, last, nullptr)) {
        id = new NodeID(first, last, name);
        id->m_Modifiers = m_PendingModifiers;
        for (int i = 0; i < m_PendingTemplArgs.GetCount(); ++i)
            id->SetChild(i, m_PendingTemplArgs[i]);
        m_IdNodes.Put(m_PendingID[n - 1], id);
    }
    m_StatementTypes.RemoveAll();
    m_PendingModifiers.RemoveAll();
    if (id)
        AddNode(*id);
    ResetID();
    return id;
}

Node* CParserState::GetIdNode(Lex::Token& token) const
{
    auto* entry = m_IdNodes.Find(&token);
    return entry ? entry->GetValue() : nullptr;
}

NodeType* CParserState::CreateType(NodeID* id, bool record)
{
    NodeType* type = nullptr;
    if (id) {
        type = new NodeType(*id);
        type->AddModifiers(id->m_Modifiers);
    } else {
        if (!m_pActToken)
            return nullptr;
        // `unsigned long`, `long long int`: a simple-type word right after
        // another continues the type made of it.
        Lex::Token* before = m_pLastSignificantToken;
        if (record && IsType(m_pLastNode) && m_PendingID.GetCount() == 0 && before
            && (CRoundBlockParser::IsSimpleType(before->type) || before->type == Lex::TOK_CONST)) {
            NodeType* last = static_cast<NodeType*>(m_pLastNode);
            NodeToken* word = new NodeToken(m_pActToken);
            if (last->AddSimpleTypeToken(*word)) {
                last->AddModifiers(m_PendingModifiers);
                m_PendingModifiers.RemoveAll();
                return last;
            }
        }
        type = new NodeType(*new NodeToken(m_pActToken));
        type->AddModifiers(m_PendingModifiers);
    }
    if (record) {
        AddNode(*type);
        m_StatementTypes.Add(type);
    }
    m_PendingModifiers.RemoveAll();
    return type;
}

void CParserState::AddOperator(NodeOperator& op)
{
    Lex::Token* token = op.GetToken();
    int kind = token ? token->type : Lex::TOK_NONE;
    if (kind != Lex::TOK_MUL && kind != Lex::TOK_AND && kind != Lex::TOK_AND_AND) {
        AddNode(op);
        return;
    }
    // `struct tm* p`: the class name of the head is a type.
    NodeID* className = m_ClassState.m_pClassName;
    if (className && m_pLastNode == className && m_PendingID.GetCount() == 0 && IsClassHeadStatement())
        TakeClassNameAsType(*className);
    NodeType* type = nullptr;
    if (IsType(m_pLastNode)) {
        type = static_cast<NodeType*>(m_pLastNode);
    } else if (m_PendingID.GetCount() == 0) {
        return;
    } else if (m_PendingID[0]->type == Lex::TOK_OPERATOR) {
        // operator* and operator&: the symbol is part of the name.
        if (m_pActToken)
            m_PendingID.Add(m_pActToken);
        return;
    } else if (Node* id = CreateIDNode()) {
        type = CreateType(static_cast<NodeID*>(id), true);
    }
    if (!type)
        return;
    type->AddChild(&op);
    type->GetTypeInfo().m_Indirection = kind == Lex::TOK_MUL ? TypeInfo::POINTER
        : kind == Lex::TOK_AND                                ? TypeInfo::REFERENCE
                                                              : TypeInfo::RVALUE_REFERENCE;
}

void CParserState::OpenRound()
{
    NodeRoundBrace* brace = new NodeRoundBrace(m_pActToken);
    if (m_pInitDecl)
        m_pInitDecl->AddChild(brace);
    Node* owner = CreateIDNode();
    if (!owner) {
        Node* before = GetLastNode(2);
        if (before && before->GetKind() == NT_TOKEN && before->GetToken()
            && before->GetToken()->type == Lex::TOK_THROW)
            owner = before;
        else
            owner = GetFromActStatement(NT_ID);
    }
    brace->m_pPrecedingNode = owner;
    AddNode(*brace);
    m_RoundBraces.Push(brace);
}

void CParserState::CloseRound()
{
    if (m_RoundBraces.IsEmpty())
        return;
    NodeRoundBrace* brace = m_RoundBraces.Pop();
    if (m_pActToken)
        brace->SetLastToken(*m_pActToken);
    // The bracket's contents leave the window; the bracket stands for them.
    int slot = m_LastNodePos;
    for (int i = 0; i < LAST_NODE_SLOTS; ++i) {
        slot = (slot + LAST_NODE_SLOTS - 1) % LAST_NODE_SLOTS;
        Node* node = m_LastNodes[slot];
        if (!node)
            return;
        if (node == brace) {
            m_LastNodePos = slot;
            AddNode(*brace);
            return;
        }
        m_LastNodes[slot] = nullptr;
    }
}

void CParserState::OpenSquare()
{
    NodeSquareBrace* brace = new NodeSquareBrace(m_pActToken);
    // An array bound after a declarator (`int v[2]`, `int m[2][3]`): the
    // name joins the declaration, the bound goes to its type unread.
    if (m_pActToken && IsNonLocal(m_pActScope) && !PendingIsOperatorName() && !IsTypeAlias()
        && !IsClassHeadStatement()) {
        if (m_PendingID.GetCount() > 0 && (m_pVarDecl || IsType(m_pLastNode)))
            GetParser().CreateVarDeclaration();
        NodeVariableList* list = m_pVarDecl ? m_pVarDecl->GetVariableList() : nullptr;
        int count = list ? list->GetChildCount() : 0;
        Node* declarator = count ? list->ChildAt(count - 1) : nullptr;
        Lex::Token* close = MatchingBracket(m_pActToken);
        if (declarator && declarator->ChildAt(0) == m_pLastNode && close && close->type == Lex::TOK_CLOSE_SQUARE) {
            brace->SetLastToken(*close);
            if (NodeType* type = m_pVarDecl->GetType())
                type->AddChild(brace);
            SkipTo(close, false);
            return;
        }
    }
    m_SquareBraces.Push(brace);
}

void CParserState::CloseSquare()
{
    if (m_SquareBraces.IsEmpty())
        return;
    NodeSquareBrace* brace = m_SquareBraces.Pop();
    if (m_pActToken)
        brace->SetLastToken(*m_pActToken);
    if (IsType(m_pLastNode))
        m_pLastNode->AddChild(brace);
    else
        AddNode(*brace);
}

void CParserState::CreateVarDecl(Node& typeOrId)
{
    NodeType* type = nullptr;
    if (typeOrId.GetKind() == NT_TYPE)
        type = static_cast<NodeType*>(&typeOrId);
    else if (typeOrId.GetKind() == NT_ID)
        type = CreateType(static_cast<NodeID*>(&typeOrId), false);
    if (!type)
        return;
    NodeVarDecl* decl = new NodeVarDecl(type);
    m_pVarDecl = decl;
    if (!m_RoundBraces.IsEmpty() && !(m_pActScope && m_pActScope->GetType() == SCOPE_FUNCTION))
        m_RoundBraces.Top()->AddChild(decl);
}

void CParserState::CreateVarDecl()
{
    if (m_pLastNode)
        CreateVarDecl(*m_pLastNode);
}

void CParserState::CloseVarDecl()
{
    NodeVarDecl* decl = m_pVarDecl;
    if (!decl || !m_RoundBraces.IsEmpty()) {
        m_pVarDecl = nullptr;
        return;
    }
    ScopeType scope = m_pActScope ? m_pActScope->GetType() : SCOPE_FILE;
    NodeType* type = decl->GetType();
    NodeVariableList* list = decl->GetVariableList();
    if ((scope == SCOPE_FILE || scope == SCOPE_CLASS || scope == SCOPE_ASPECT) && type && list) {
        for (int i = 0; i < list->GetChildCount(); ++i) {
            Node* entry = list->GetChild(i);
            if (!entry || entry->GetKind() != NT_ASSIGNMENT)
                continue;
            NodeAssignment* assignment = static_cast<NodeAssignment*>(entry);
            NodeID* id = assignment->GetID();
            MemberVarInfo* info = new MemberVarInfo(id ? id->GetName() : nullptr);
            info->SetType(DeclaratorType(*type, id));
            info->m_pNode = assignment;
            info->SetAccess(ACCESS_PRIVATE);
            if (m_pProjectDB)
                m_pProjectDB->m_MemberVars.Add(info);
            if (m_pFileDB)
                m_pFileDB->m_MemberVars.Add(info);
        }
    }
    decl->SetScope(m_pActScope);
    m_pVarDecl = nullptr;
}

void CParserState::OnTemplateDef()
{
    if (!m_pActToken || m_ActTokenType != Lex::TOK_TEMPLATE)
        return;
    m_pClosedTemplate = nullptr;
    m_pOpenTemplate = new NodeTemplateDef(m_pActToken);
}

void CParserState::CloseTemplateDef()
{
    if (!m_pOpenTemplate)
        return;
    if (m_pActToken)
        m_pOpenTemplate->SetLastToken(*m_pActToken);
    m_pClosedTemplate = m_pOpenTemplate;
    m_pOpenTemplate = nullptr;
}

NodeTempleInstanceDef* CParserState::CreateTemplInstDef(NodeID& id)
{
    return new NodeTempleInstanceDef(id.GetFirstToken());
}

// ---- Declarators, initializers and template arguments ------------------------


bool CParserState::IsTypeAlias() const
{
    for (int i = 0; i < m_StatementNodes.GetCount(); ++i) {
        Node* node = m_StatementNodes[i];
        if (node->GetKind() == NT_USING)
            return true;
        Lex::Token* token = node->GetKind() == NT_TOKEN ? node->GetToken() : nullptr;
        if (token && token->type == Lex::TOK_TYPEDEF)
            return true;
    }
    return false;
}

bool CParserState::IsClassHeadStatement() const
{
    Lex::Token* token = m_pLastKeyword ? m_pLastKeyword->GetToken() : nullptr;
    return token && IsClassKey(token->type);
}

bool CParserState::PendingIsOperatorName() const
{
    for (int i = 0; i < m_PendingID.GetCount(); ++i)
        if (m_PendingID[i]->type == Lex::TOK_OPERATOR)
            return true;
    return false;
}

void CParserState::SkipTo(Lex::Token* target, bool processNext)
{
    if (!m_pProvider || !target)
        return;
    ShiftHistory();
    Lex::Token* token = m_pProvider->current();
    while (token && token != target)
        token = m_pProvider->forward();
    SetActToken(token);
    m_bStarted = !processNext;
}

Lex::Token* CParserState::FindAngleClose(Lex::Token* less, bool inHead)
{
    int angles = 1;
    int brackets = 0;
    for (Lex::Token* t = CParserState::NextSignificant(less); t; t = CParserState::NextSignificant(t)) {
        int type = t->type;
        if (IsOpenBracket(type)) {
            if (type == Lex::TOK_OPEN_CURLY && brackets == 0)
                return nullptr;
            ++brackets;
            continue;
        }
        if (IsCloseBracket(type)) {
            if (brackets == 0)
                return nullptr;
            --brackets;
            continue;
        }
        if (type == Lex::TOK_SEMI_COLON)
            return nullptr;
        if (brackets > 0)
            continue;
        switch (type) {
        case Lex::TOK_LESS:
            ++angles;
            break;
        case Lex::TOK_GREATER:
            if (--angles == 0)
                return t;
            break;
        case Lex::TOK_RSH:
            // `>>` closes two lists; when ours is the inner one it closes
            // an enclosing list too.
            angles -= 2;
            if (angles <= 0)
                return t;
            break;
        case Lex::TOK_ASSIGN:
        case Lex::TOK_AND_AND:
        case Lex::TOK_OR_OR:
            // Default arguments stand only in template heads.
            if (!inHead)
                return nullptr;
            break;
        case Lex::TOK_GEQ:
        case Lex::TOK_RSH_ASSIGN:
            return nullptr;
        default:
            break;
        }
    }
    return nullptr;
}

bool CParserState::ReadTemplateArgs()
{
    int n = m_PendingID.GetCount();
    if (!m_pActToken || m_ActTokenType != Lex::TOK_LESS || m_pOpenTemplate || n == 0)
        return false;
    Lex::Token* name = m_PendingID[n - 1];
    if (name->type != Lex::TOK_ID || m_pLastSignificantToken != name)
        return false;
    Lex::Token* close = FindAngleClose(m_pActToken);
    if (!close)
        return false;
    NodeTempleInstanceDef* args = new NodeTempleInstanceDef(m_pActToken);
    args->SetLastToken(*close);
    m_PendingTemplArgs.Add(args);
    SkipTo(close, false);
    m_pTemplArgsEnd = close;
    return true;
}

void CParserState::SkipInitializer()
{
    if (!m_pActToken || !IsNonLocal(m_pActScope))
        return;
    // The first token that ends the initializer: `,` or `;` outside
    // brackets, or an unmatched closing bracket. Angle brackets after a name
    // are template arguments when they close.
    Lex::Token* prev = m_pActToken;
    Lex::Token* end = nullptr;
    for (Lex::Token* t = CParserState::NextSignificant(m_pActToken); t && !end; t = CParserState::NextSignificant(t)) {
        int type = t->type;
        if (type == Lex::TOK_COMMA || type == Lex::TOK_SEMI_COLON || IsCloseBracket(type)) {
            end = t;
        } else if (IsOpenBracket(type)) {
            t = MatchingBracket(t);
            if (!t)
                return;
        } else if (type == Lex::TOK_LESS && prev->type == Lex::TOK_ID) {
            if (Lex::Token* close = FindAngleClose(t))
                t = close;
        }
        prev = t;
    }
    if (end)
        SkipTo(end, true);
}

bool CParserState::IsBlankToken(Lex::Token const* t)
{
    return t->language == Lex::Token::white_id
           || (t->flags & (Lex::Token::comment_flag | Lex::Token::unread_branch_flag)) != 0
           || t->language == Lex::Token::pre_id || t->language == Lex::Token::dir_id;
}

Lex::Token* CParserState::NextSignificant(Lex::Token* t)
{
    for (t = t ? t->next() : nullptr; t; t = t->next())
        if (!IsBlankToken(t))
            return t;
    return nullptr;
}

bool CParserState::DeclareVariable()
{
    if (!m_pVarDecl && !IsType(m_pLastNode))
        return false;
    GetParser().CreateVarDeclaration();
    return m_pVarDecl != nullptr;
}

bool CParserState::OnBraceInitializer()
{
    if (!m_pActToken || m_ActTokenType != Lex::TOK_OPEN_CURLY || !IsNonLocal(m_pActScope) || m_bJavaLike
        || m_pInitDecl)
        return false;
    // A bracket that an earlier statement left open does not count.
    bool inRound = false;
    for (int i = 0; !m_RoundBraces.IsEmpty() && i < m_StatementNodes.GetCount() && !inRound; ++i)
        inRound = m_StatementNodes[i] == m_RoundBraces.Top();
    if (!inRound) {
        // A declarator in front: a pending name after a type, or after the
        // `,` of an open declaration, in a statement that is no class head
        // and has no parameter list (`void f() requires C<T> {`).
        if (m_PendingID.GetCount() == 0 || PendingIsOperatorName() || IsClassHeadStatement() || IsTypeAlias()
            || GetFromActStatement(NT_ROUND_BRACE))
            return false;
        if (!DeclareVariable())
            return false;
    }
    Lex::Token* close = MatchingBracket(m_pActToken);
    if (!close)
        return false;
    SkipTo(close, false);
    return true;
}

namespace {

// A token that begins an expression and never a parameter declaration.
bool BeginsExpressionOnly(Lex::Token const* t)
{
    switch (t ? t->type : Lex::TOK_NONE) {
    case Lex::TOK_BOOL_VAL:
    case Lex::TOK_CHAR_VAL:
    case Lex::TOK_FLT_VAL:
    case Lex::TOK_INT_VAL:
    case Lex::TOK_STRING_VAL:
    case Lex::TOK_ZERO_VAL:
    case Lex::TOK_MINUS:
    case Lex::TOK_PLUS:
    case Lex::TOK_NOT:
    case Lex::TOK_THIS:
    case Lex::TOK_SIZEOF:
        return true;
    case Lex::TOK_ID:
        return t->text && strcmp(t->text->text, "nullptr") == 0;
    default:
        return false;
    }
}

} // namespace

bool CParserState::OnParenInitializer()
{
    if (!m_pActToken || m_ActTokenType != Lex::TOK_OPEN_ROUND || !IsNonLocal(m_pActScope) || m_bJavaLike
        || m_pInitDecl || !m_RoundBraces.IsEmpty() || m_PendingID.GetCount() == 0 || PendingIsOperatorName()
        || IsClassHeadStatement() || IsTypeAlias())
        return false;
    if (!(m_pVarDecl || IsType(m_pLastNode)) || !BeginsExpressionOnly(NextSignificant(m_pActToken)))
        return false;
    Lex::Token* close = MatchingBracket(m_pActToken);
    if (!close || close->type != Lex::TOK_CLOSE_ROUND || !DeclareVariable())
        return false;
    SkipTo(close, false);
    return true;
}

void CParserState::TakeClassNameAsType(NodeID& name)
{
    m_ClassState.m_pClassName = nullptr;
    m_pLastKeyword = nullptr;
    if (m_pLastNode == &name)
        CreateType(&name, true);
}

bool CParserState::OnTypeOfExpression()
{
    Lex::Token* word = m_pActToken;
    if (!word || m_ActTokenType != Lex::TOK_ID || !word->text || !IsNonLocal(m_pActScope) || m_bJavaLike
        || m_PendingID.GetCount() > 0)
        return false;
    static char const* const words[] = {"decltype", "typeof", "__typeof__", "__typeof"};
    bool typeOf = false;
    for (char const* w : words)
        typeOf = typeOf || strcmp(word->text->text, w) == 0;
    Lex::Token* open = typeOf ? NextSignificant(word) : nullptr;
    Lex::Token* close = open && open->type == Lex::TOK_OPEN_ROUND ? MatchingBracket(open) : nullptr;
    if (!close || close->type != Lex::TOK_CLOSE_ROUND)
        return false;
    Array<Name*> names;
    names.Add(Name::GetName(NodeType::Spell(word, close).GetBuffer(), word));
    NodeID* id = new NodeID(word, close, QualName::GetName(names));
    id->m_Modifiers = m_PendingModifiers;
    m_PendingModifiers.RemoveAll();
    AddNode(*id);
    CreateType(id, true);
    SkipTo(close, false);
    return true;
}

bool CParserState::OnBitFieldColon()
{
    if (!m_pActToken || m_ActTokenType != Lex::TOK_COLON || !m_pActScope)
        return false;
    ScopeType scope = m_pActScope->GetType();
    if (scope != SCOPE_CLASS && scope != SCOPE_ASPECT)
        return false;
    if (m_PendingID.GetCount() == 0 || PendingIsOperatorName() || IsClassHeadStatement() || !m_RoundBraces.IsEmpty())
        return false;
    if (!DeclareVariable())
        return false;
    // The width runs to the `,`, `;`, `=` or `{` after it.
    for (Lex::Token* t = CParserState::NextSignificant(m_pActToken); t; t = CParserState::NextSignificant(t)) {
        int type = t->type;
        if (type == Lex::TOK_COMMA || type == Lex::TOK_SEMI_COLON || type == Lex::TOK_ASSIGN
            || type == Lex::TOK_OPEN_CURLY || type == Lex::TOK_CLOSE_CURLY) {
            SkipTo(t, true);
            return true;
        }
        if (type == Lex::TOK_OPEN_ROUND || type == Lex::TOK_OPEN_SQUARE) {
            t = MatchingBracket(t);
            if (!t)
                break;
        }
    }
    return true;
}

Lex::Token* CParserState::FindBodyAfterInitializers(Lex::Token* colon)
{
    // A `{` outside brackets starts the body when it follows the end of an
    // entry (`)`, `}` or a pack expansion `...`); after a name or a `>` it
    // is an entry's braced initializer.
    Lex::Token* prev = colon;
    for (Lex::Token* t = CParserState::NextSignificant(colon); t; t = CParserState::NextSignificant(t)) {
        int type = t->type;
        if (type == Lex::TOK_OPEN_CURLY) {
            int before = prev ? prev->type : Lex::TOK_NONE;
            if (before == Lex::TOK_CLOSE_ROUND || before == Lex::TOK_CLOSE_CURLY || before == Lex::TOK_ELLIPSIS)
                return t;
        }
        if (type == Lex::TOK_SEMI_COLON || type == Lex::TOK_CLOSE_CURLY)
            return nullptr;
        if (IsOpenBracket(type)) {
            t = MatchingBracket(t);
            if (!t)
                return nullptr;
        } else if (type == Lex::TOK_LESS && prev && prev->type == Lex::TOK_ID) {
            if (Lex::Token* close = FindAngleClose(t))
                t = close;
        }
        prev = t;
    }
    return nullptr;
}

void CParserState::SkipInitializerList()
{
    if (Lex::Token* body = m_pActToken ? FindBodyAfterInitializers(m_pActToken) : nullptr)
        SkipTo(body, true);
    else
        SkipUntil(Lex::TOK_OPEN_CURLY, false);
}

bool CParserState::OnDeclaratorParen()
{
    if (m_RoundBraces.IsEmpty() || !m_pActToken || m_ActTokenType != Lex::TOK_CLOSE_ROUND || !IsNonLocal(m_pActScope)
        || PendingIsOperatorName())
        return false;
    // Unnamed (`int (*)(int)`) only as a parameter: the bracket holds the
    // operator alone.
    if (m_PendingID.GetCount() == 0
        && (m_RoundBraces.GetCount() < 2 || !m_pLastSignificantToken
            || (m_pLastSignificantToken->type != Lex::TOK_MUL && m_pLastSignificantToken->type != Lex::TOK_AND
                && m_pLastSignificantToken->type != Lex::TOK_AND_AND)))
        return false;
    NodeRoundBrace* brace = m_RoundBraces.Top();
    // The bracket begins with `*`, `&` or `&&`, maybe after a class name and
    // `::` (a pointer to member).
    Lex::Token* t = CParserState::NextSignificant(brace->GetFirstToken());
    while (t && t->type == Lex::TOK_ID) {
        Lex::Token* sep = CParserState::NextSignificant(t);
        if (!sep || sep->type != Lex::TOK_COLON_COLON)
            return false;
        t = CParserState::NextSignificant(sep);
    }
    if (!t || (t->type != Lex::TOK_MUL && t->type != Lex::TOK_AND && t->type != Lex::TOK_AND_AND))
        return false;
    // The node in front of the bracket must be the declaration's type.
    Node* before = nullptr;
    int slot = m_LastNodePos;
    for (int i = 0; i < LAST_NODE_SLOTS; ++i) {
        slot = (slot + LAST_NODE_SLOTS - 1) % LAST_NODE_SLOTS;
        if (!m_LastNodes[slot])
            return false;
        if (m_LastNodes[slot] == brace) {
            before = m_LastNodes[(slot + LAST_NODE_SLOTS - 1) % LAST_NODE_SLOTS];
            break;
        }
    }
    NodeType* type = nullptr;
    if (IsType(before))
        type = static_cast<NodeType*>(before);
    else if (before && before->GetKind() == NT_ID && brace->m_pPrecedingNode == before)
        type = CreateType(static_cast<NodeID*>(before), false);
    if (!type)
        return false;
    // The variable is a pointer (or reference) to what the type names.
    type->GetTypeInfo().m_Indirection = t->type == Lex::TOK_MUL ? TypeInfo::POINTER : TypeInfo::REFERENCE;
    Node* name = CreateIDNode();
    CloseRound();
    // A typedef names a type, no variable.
    if (name && !IsTypeAlias()) {
        if (!m_pVarDecl)
            CreateVarDecl(*type);
        if (NodeVariableList* list = m_pVarDecl ? m_pVarDecl->GetVariableList() : nullptr)
            list->AddChild(new NodeAssignment(static_cast<NodeID*>(name)));
    } else if (!name && !m_pVarDecl) {
        CreateVarDecl(*type);
    }
    // The parameter lists and bounds of the declarator are no part of the
    // statement's structure.
    Lex::Token* last = nullptr;
    for (Lex::Token* next = CParserState::NextSignificant(m_pActToken);
         next && (next->type == Lex::TOK_OPEN_ROUND || next->type == Lex::TOK_OPEN_SQUARE);
         next = CParserState::NextSignificant(last)) {
        last = MatchingBracket(next);
        if (!last)
            break;
        // The qualifiers of a pointer to member function belong to its type.
        for (Lex::Token* q = CParserState::NextSignificant(last);
             q && (q->type == Lex::TOK_CONST || q->type == Lex::TOK_VOLATILE);
             q = CParserState::NextSignificant(q))
            last = q;
    }
    if (last) {
        SetDeclaratorTypeName(*type, name ? static_cast<NodeID*>(name)->GetFirstToken() : nullptr, last);
        // The bracket stays with the type, so that the parameter reads as
        // one that has more than a name (`int (*)(int)`).
        if (!name)
            type->AddChild(brace);
        SkipTo(last, false);
    }
    return true;
}

void CParserState::SetDeclaratorTypeName(NodeType& type, Lex::Token* name, Lex::Token* last)
{
    // A named and an unnamed declarator of one type get one name, so that
    // a declaration and a definition that names its parameters match.
    Lex::Token* first = type.GetFirstToken();
    if (!first)
        return;
    Str text = NodeType::Spell(first, name ? name->prev() : last);
    if (name)
        text += NodeType::Spell(name->next(), last);
    TypeInfo& info = type.GetTypeInfo();
    info.SetName(Name::GetName(text.GetBuffer(), first));
    info.m_Indirection = TypeInfo::BY_VALUE;
}
