#include "compose/TransformationUnit.h"

#include "compose/FOPModule.h"
#include "compose/TransformedModule.h"
#include "parser/Info.h"

#include <vector>

TransformationUnit::TransformationUnit(TransformedModule& cls) : m_pTransformedModule(&cls), m_Name(cls.GetName()) {}

FOPModule* TransformationUnit::GetFirstTransformationModule()
{
    return m_Modules.GetCount() ? m_Modules[0] : nullptr;
}

FOPModule* TransformationUnit::GetLastTransformationModule()
{
    return m_Modules.GetCount() ? m_Modules[m_Modules.GetCount() - 1] : nullptr;
}

FOPModule* TransformationUnit::AddModule(FOPModule* module)
{
    if (!module)
        return nullptr;
    m_Modules.Add(module);
    m_TopRefining.clear();
    module->SetTransformationModule(*this);
    return module;
}

bool TransformationUnit::InsertAbove(FOPModule& module, FOPModule& mixin)
{
    for (int i = 0; i < m_Modules.GetCount(); ++i) {
        if (m_Modules[i] == &module) {
            m_Modules.InsertAt(i, &mixin);
            m_TopRefining.clear();
            mixin.SetTransformationModule(*this);
            return true;
        }
    }
    return false;
}

void TransformationUnit::SetBindingUnitName(char const* name)
{
    m_BindingUnitName = name ? name : "";
}

bool TransformationUnit::HasMethod(FuncInfo& func)
{
    // The module that read the function is asked first.
    FOPModule* own = func.m_pModule;
    if (own && own->GetTransformationModule() == this && own->HasMethodObject(func))
        return true;
    for (int i = 0; i < m_Modules.GetCount(); ++i)
        if (m_Modules[i]->HasMethodObject(func))
            return true;
    return false;
}

FuncInfo* TransformationUnit::GetTopRefining(FuncInfo& f)
{
    // The functions passed on the way up share the top: each chain is
    // walked once, however many of its functions ask.
    std::vector<FuncInfo*> passed;
    FuncInfo* top = &f;
    for (;;) {
        auto known = m_TopRefining.find(top);
        if (known != m_TopRefining.end()) {
            top = known->second;
            break;
        }
        passed.push_back(top);
        if (!top->m_pRefining || !HasMethod(*top->m_pRefining))
            break;
        top = top->m_pRefining;
    }
    for (FuncInfo* func : passed)
        m_TopRefining[func] = top;
    return top;
}

bool TransformationUnit::IsCppTransform()
{
    FOPModule* first = GetFirstTransformationModule();
    return first && first->IsCppModule();
}

Str TransformationUnit::GetDestDir()
{
    if (m_pTransformedModule->IsPureJampack() || m_Modules.GetCount() == 0)
        return m_pTransformedModule->GetDestDir();
    return m_Modules[0]->GetDelegationObjectDir();
}

Str TransformationUnit::GetDeclFilePath()
{
    FOPModule* first = GetFirstTransformationModule();
    if (!first)
        return Str();
    return first->GetGeneratedDeclFileName(GetDestDir() + m_Name);
}
