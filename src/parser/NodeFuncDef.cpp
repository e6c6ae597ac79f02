#include "parser/NodeFuncDef.h"

#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeInitDecl.h"
#include "scanner/TokenIterator.h"

NodeFuncDef::NodeFuncDef(NodeFuncDecl& decl, NodeInitDecl* init, NodeBlock* body) : FuncNode(NT_FUNC_DEF)
{
    SetChild(0, &decl);
    SetChild(1, init);
    SetChild(2, body);
    if (init)
        init->Func(this);
    decl.SetDef(this);
    decl.GetInfo()->SetDef(this);
}

Name* NodeFuncDef::GetName() const
{
    Node* decl = ChildAt(0);
    return decl ? decl->GetName() : nullptr;
}

Lex::Token* NodeFuncDef::GetToken()
{
    NodeFuncDecl* decl = GetDecl();
    return decl ? decl->GetToken() : nullptr;
}

NodeID* NodeFuncDef::GetNameNode()
{
    NodeFuncDecl* decl = GetDecl();
    return decl ? decl->GetNameNode() : nullptr;
}

NodeFuncDecl* NodeFuncDef::GetDecl()
{
    return ChildAs<NodeFuncDecl>(0, NT_FUNC_DECL);
}

NodeInitDecl* NodeFuncDef::GetInitDecl() const
{
    return ChildAs<NodeInitDecl>(1, NT_INIT_DECL);
}

NodeBlock* NodeFuncDef::GetBody() const
{
    return ChildAs<NodeBlock>(2, NT_BLOCK);
}

void NodeFuncDef::OnScopeLeaved()
{
    NodeBlock* body = GetBody();
    NodeFuncDecl* decl = GetDecl();
    if (!body || !decl)
        return;
    Lex::Token* open = body->GetFirstToken();
    Lex::Token* close = body->GetLastToken();
    if (!open || !close || open == close)
        return;
    Lex::Token* first = open->next();
    Lex::Token* last = close->prev();
    if (!first || !last || first == close)
        return;
    decl->GetInfo()->GetBody().SetText(TokenIterator::TokenListToString(first, last).c_str());
}

void NodeFuncDef::DeleteInitializer()
{
    NodeInitDecl* init = GetInitDecl();
    if (!init)
        return;
    SetChild(1, nullptr);
    init->DeleteTokens();
    init->m_pFunc = nullptr;
    if (init->GetParent() == this)
        init->m_pParent = nullptr;
}

void NodeFuncDef::AddInitializer(NodeInitDecl* list)
{
    NodeInitDecl* own = GetInitDecl();
    if (!list || list == own)
        return;
    if (own) {
        // The merged list is used up: its tokens now belong to the own list.
        own->AddInitializer(list);
        list->m_pFunc = nullptr;
        return;
    }
    NodeBlock* body = GetBody();
    Lex::Token* open = body ? body->GetFirstToken() : nullptr;
    Lex::Token* before = open ? open->prev() : nullptr;
    if (!before || !list->IsValidRange())
        return;
    list->CopyInitializerTokens(list, before);
    SetChild(1, list);
    list->Func(this);
}

void NodeFuncDef::MoveInitializer(NodeFuncDef* to)
{
    NodeInitDecl* own = GetInitDecl();
    if (!to || to == this || !own)
        return;
    to->AddInitializer(own);
    SetChild(1, nullptr);
}
