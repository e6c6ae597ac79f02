#include "parser/Scope.h"

#include "parser/Info.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFile.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeNSDef.h"

Scope::Scope(ScopeType type, Node& node) : m_Type(type), m_pNode(&node), m_pParent(nullptr)
{
    // A file or namespace scope may hold every class of a product line.
    m_Children.SetIndexed();
}

Scope::~Scope()
{
    for (auto* entry = m_Children.GetFirst(); entry; entry = m_Children.GetNext(entry))
        delete entry->GetValue();
    m_Children.RemoveAll();
}

void Scope::AddChild(Scope& child)
{
    Name* name = child.m_pNode->GetName();
    if (!name)
        return;
    auto* entry = m_Children.Find(name);
    Array<Scope*>* list = entry ? entry->GetValue() : nullptr;
    if (!list) {
        list = new Array<Scope*>;
        m_Children.Put(name, list);
    }
    list->Add(&child);
    child.m_pParent = this;
}

Scope* Scope::GetFirstChild(Name* name) const
{
    auto* entry = m_Children.Find(name);
    Array<Scope*>* list = entry ? entry->GetValue() : nullptr;
    return list && list->GetCount() > 0 ? (*list)[0] : nullptr;
}

InfoWithMembers* ScopeWithFunctions::GetInfoWithWembers()
{
    return static_cast<InfoWithMembers*>(GetInfo());
}

FileScope::FileScope(NodeFile& node) : ScopeWithFunctions(SCOPE_FILE, node) {}

Info* FileScope::GetInfo()
{
    return &static_cast<NodeFile*>(m_pNode)->GetFileInfo();
}

NSScope::NSScope(NodeNSDef& node) : ScopeWithFunctions(SCOPE_NAMESPACE, node) {}

Info* NSScope::GetInfo()
{
    return &static_cast<NodeNSDef*>(m_pNode)->GetNSInfo();
}

ClassScope::ClassScope(NodeClassDef& node) : ScopeWithFunctions(SCOPE_CLASS, node) {}

ClassScope::ClassScope(ScopeType type, NodeClassDef& node) : ScopeWithFunctions(type, node) {}

Info* ClassScope::GetInfo()
{
    return &GetClassDef().GetClassInfo();
}

NodeClassDef& ClassScope::GetClassDef() const
{
    return *static_cast<NodeClassDef*>(m_pNode);
}

FuncScope::FuncScope(NodeFuncDef& node) : Scope(SCOPE_FUNCTION, node) {}

Info* FuncScope::GetInfo()
{
    NodeFuncDecl* decl = static_cast<NodeFuncDef*>(m_pNode)->GetDecl();
    return decl ? decl->GetInfo() : nullptr;
}
