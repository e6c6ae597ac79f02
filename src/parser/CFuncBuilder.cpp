#include "parser/CFuncBuilder.h"

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

namespace {

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
    for (int i = 0; i < owner.GetChildCount(); ++i)
        if (owner.GetChild(i) == &info) {
            info.m_pParent = &owner;
            return;
        }
    owner.AddChild(&info);
}

} // namespace

NodeFuncDecl* CFuncBuilder::CreateFuncDecl()
{
    CParserState& state = *m_pState;
    Scope* top = state.GetTopScope();
    if (!top || !state.m_pLastNode || !top->GetInfo() || top->GetType() == SCOPE_FUNCTION || state.m_pInitDecl)
        return nullptr;
    int p = state.GetLastIDOrOperatorPos();
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

    InfoWithMembers* owner = GetScope(id->GetQualName());
    if (!owner)
        return nullptr;
    NodeFuncParams* params = new NodeFuncParams(static_cast<NodeRoundBrace*>(after));
    params->InitParamListInfo();
    NodeFuncDecl* decl = new NodeFuncDecl(*owner, returnType, tilde, *id, *params, modifier);

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
    state.AddFuncDef(*def);
    if (state.m_pActBlock)
        state.m_pActBlock->AddChild(def);
    FuncInfo* info = decl.GetInfo();
    if (!IsClassScope(state.GetActScope()) && decl.GetClass() && info && info->GetDecl() == &decl) {
        QualName* name = decl.GetQualName();
        printf(": warning: definition of %s without declaration", name ? name->c_str() : "");
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
