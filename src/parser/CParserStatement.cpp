// Statement assembly: the members of the parser state that turn the tokens
// of the current statement into identifier, type, bracket, variable and
// template nodes.
#include "parser/CParserState.h"

#include "base/Name.h"
#include "parser/ClassDB.h"
#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeID.h"
#include "parser/NodeInitDecl.h"
#include "parser/NodeModifier.h"
#include "parser/NodeTemplateDef.h"
#include "parser/NodeType.h"
#include "parser/NodeVarDecl.h"
#include "parser/Scope.h"

namespace {

bool IsType(Node* node)
{
    return node && node->GetKind() == NT_TYPE;
}

} // namespace

void CParserState::OnIdToken()
{
    int n = m_PendingID.GetCount();
    if (n > 0 && m_PendingID[n - 1]->type != Lex::TOK_OPERATOR
        && (m_ActTokenType == Lex::TOK_ID || m_ActTokenType == Lex::TOK_OPERATOR)) {
        switch (m_pLastSignificantToken ? m_pLastSignificantToken->type : Lex::TOK_NONE) {
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
        if (nameNode && nameNode->GetKind() == NT_ID && nameNode->GetName())
            names.Add(nameNode->GetName());
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
    }
    if (op >= 0) {
        Str text;
        for (int i = op; i < n; ++i) {
            if (i > op)
                text += " ";
            text += m_PendingID[i]->text->text;
        }
        names.Add(Name::GetName(text.GetBuffer(), m_PendingID[op]));
    }
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
    if (kind != Lex::TOK_MUL && kind != Lex::TOK_AND) {
        AddNode(op);
        return;
    }
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
    type->GetTypeInfo().m_Indirection = kind == Lex::TOK_MUL ? TypeInfo::POINTER : TypeInfo::REFERENCE;
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
    m_SquareBraces.Push(new NodeSquareBrace(m_pActToken));
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
            info->SetType(&type->GetTypeInfo());
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
