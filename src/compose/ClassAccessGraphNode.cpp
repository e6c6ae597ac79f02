#include "compose/ClassAccessGraphNode.h"

#include "compose/TransformedModule.h"

ClassAccessGraphNode::ClassAccessGraphNode(TransformedModule& owner)
    : m_pOwner(&owner), m_DynAccess(DynAccessNotSet)
{
}

void ClassAccessGraphNode::StoreClassAccess(TransformedModule* accessed)
{
    if (!accessed)
        return;
    m_Accessed.Add(accessed);
    accessed->GetAccessNode().AddAccessingClass(m_pOwner);
}

void ClassAccessGraphNode::AddAccessingClass(TransformedModule* accessing)
{
    if (accessing)
        m_Accessing.Add(accessing);
}

void ClassAccessGraphNode::PropagateDynAccessFlag(DynamicInstAccess access)
{
    // A node flagged before is not visited again; this also ends cycles.
    if (m_DynAccess != DynAccessNotSet)
        return;
    if (m_pOwner->HasDynamicDelegation())
        access = DynAccessSet;
    m_DynAccess = access;
    if (access != DynAccessSet)
        return;
    for (auto* entry = m_Accessing.GetFirst(); entry; entry = m_Accessing.GetNext(entry))
        entry->GetKey()->GetAccessNode().PropagateDynAccessFlag(DynAccessSet);
}
