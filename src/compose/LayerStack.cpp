#include "compose/LayerStack.h"

TransformedModule* LayerStack::GetModule(char const* name)
{
    if (!name)
        return nullptr;
    if (auto* entry = m_ComposedClasses.Find(name))
        return entry->GetValue();
    if (name[0] == 'C')
        if (auto* entry = m_ComposedClasses.Find(name + 1))
            return entry->GetValue();
    return nullptr;
}
