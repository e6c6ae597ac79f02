#include "compose/TransformedModule.h"

TransformedModule::TransformedModule(LayerStack& stack) : m_pLayerStack(&stack) {}

MemberInfo* TransformedModule::GetMember(char const* name)
{
    if (!name)
        return nullptr;
    auto* entry = m_Members.Find(name);
    return entry ? entry->GetValue() : nullptr;
}
