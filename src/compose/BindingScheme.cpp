#include "compose/BindingScheme.h"

#include "compose/CodeGenerator.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/LayerConfig.h"
#include "compose/TransformationUnit.h"

TransformationUnit* BindingScheme::AddTransformationModule(TransformationUnit* unit)
{
    m_Transformations.Add(unit);
    return unit;
}

bool BindingScheme::HasMixedBinding(Array<FOPModule*> const& modules)
{
    for (int i = 1; i < modules.GetCount(); ++i)
        if (modules[i]->GetBindingUnitName() != modules[i - 1]->GetBindingUnitName())
            return true;
    return false;
}

void BindingScheme::InitTransformation(Array<FOPModule*> const& modules)
{
    // The units are chosen once; a second call would give every module a
    // second unit.
    if (m_Transformations.GetCount() > 0)
        return;
    bool mixed = HasMixedBinding(modules);
    m_bSingleBindingUnit = !mixed;
    if (mixed) {
        InitDelegationTransformation(modules);
        return;
    }
    TransformationUnit* unit = CodeGenerator::Get().CreateTransformationUnit(m_Class);
    for (int i = 0; i < modules.GetCount(); ++i)
        unit->AddModule(modules[i]);
    AddTransformationModule(unit);
    if (modules.GetCount() > 0 && m_Transformations.GetCount() == 1)
        unit->SetBindingUnitName(modules[0]->GetBindingUnitName());
}

void BindingScheme::InitDelegationTransformation(Array<FOPModule*> const& modules)
{
    for (int i = 0; i < modules.GetCount(); ++i) {
        FOPModule* module = modules[i];
        if (module->GetLayer() && module->GetLayer()->m_pConfig && module->GetLayer()->m_pConfig->m_bLoadDynamic)
            m_bDynamicDelegation = true;
        Str name = module->GetBindingUnitName();
        TransformationUnit* unit = GetTransformationUnit(name);
        if (!unit) {
            unit = CodeGenerator::Get().CreateTransformationUnit(m_Class);
            unit->SetBindingUnitName(name);
            AddTransformationModule(unit);
        }
        unit->AddModule(module);
    }
}

TransformationUnit* BindingScheme::GetTransformationUnit(char const* bindingUnitName)
{
    for (int i = 0; i < m_Transformations.GetCount(); ++i)
        if (m_Transformations[i]->GetBindingUnitName() == bindingUnitName)
            return m_Transformations[i];
    return nullptr;
}

bool BindingScheme::IsPureJampack()
{
    return m_Transformations.GetCount() == 1 && m_Transformations[0]->IsJampackTransformation();
}
