#include "output/PLFactory.h"

#include "base/ErrorLog.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "output/ClassFile.h"
#include "output/LayerDecorator.h"
#include "output/Templates.h"

#include <cstring>

PLFactory::PLFactory(LayerStack& stack)
    : m_pLayerStack(&stack), m_pTemplates(Templates::GetInstance()), m_bDynamicLink(false)
{
    CreateFactory();
}

void PLFactory::CreateFactory()
{
    CreateInstanceMethod();
}

void PLFactory::CreateInstanceMethod()
{
    if (!m_pLayerStack->HasGeneratedClassReference("PlCreate"))
        return;
    m_StaticBranch = m_pTemplates->GetTemplate("layer_create");
    m_DynamicBranch = m_pTemplates->GetTemplate("layer_create_dll");
    m_HeaderTemplate = m_pTemplates->GetTemplate("PlCreate");
    ClassFile file("PlCreate");
    m_bDynamicLink = false;
    Array<LayerDecorator*> decorators;
    for (int i = 0; i < m_pLayerStack->GetCount(); ++i) {
        LayerDecorator* decorator = LayerDecorator::Of(*(*m_pLayerStack)[i]);
        if (!decorator || m_Handled.Contains(decorator))
            continue;
        m_Handled.Add(decorator);
        decorators.Add(decorator);
    }
    AssignShortNames(decorators);
    for (int i = 0; i < decorators.GetCount(); ++i) {
        CreateDecoratorInstanceMethod(*decorators[i]);
        // The layer class's header bears the layer class name.
        file.m_Includes.Add(LayerDecorator::GetLayerClassName(decorators[i]->GetBindingName()));
    }
    if (m_bDynamicLink)
        file.m_Includes.Add("DynamicLinkFeature");
    m_CreateBody += "return 0;\n";
    Str source = m_pTemplates->GetTemplate("PlCreateImpl");
    source.Replace("<CREATE_LAYER_BODY>", m_CreateBody);
    source.Replace("<ALL_FEATURE_NAMES>", m_FeatureNames);
    file.m_ImplText += source;
    file.WriteClass(m_pLayerStack->m_OutDir, m_HeaderTemplate);
}

void PLFactory::CreateDecoratorInstanceMethod(LayerDecorator& decorator)
{
    Str text;
    if (decorator.m_bLinkDynamic) {
        text = m_DynamicBranch;
        m_bDynamicLink = true;
    } else {
        text = m_StaticBranch;
    }
    Str const& binding = decorator.GetBindingName();
    Str layerName = LayerDecorator::GetLayerClassName(binding);
    // The names the unit answers to, each tested once.
    StringArray names;
    names.Add(binding);
    if (layerName != binding)
        names.Add(layerName);
    // A unit of no assignment (a branch made on its own) keeps its short name.
    Str shortName = GetShortName(binding);
    auto* owner = m_ShortNameOwners.Find(shortName);
    if (shortName != binding && (!owner || owner->GetValue() == &decorator))
        names.Add(shortName);
    Str test;
    for (int i = 0; i < names.GetCount(); ++i)
        test += Str(i ? " || " : "") + "std::strcmp(name, \"" + names[i] + "\") == 0";
    text.Replace("<LAYER_NAME_TEST>", test);
    text.Replace("<LAYER_NAME>", layerName);
    m_CreateBody += text;
    m_FeatureNames += layerName + "\\n\\\n";
}

void PLFactory::AssignShortNames(Array<LayerDecorator*> const& decorators)
{
    // A unit named by the short name itself keeps it, else the lowest unit.
    for (int i = 0; i < decorators.GetCount(); ++i) {
        Str const& binding = decorators[i]->GetBindingName();
        LayerDecorator*& owner = m_ShortNameOwners[GetShortName(binding)];
        if (!owner || binding == GetShortName(binding))
            owner = decorators[i];
    }
    for (int i = 0; i < decorators.GetCount(); ++i) {
        Str const& binding = decorators[i]->GetBindingName();
        Str shortName = GetShortName(binding);
        LayerDecorator* owner = m_ShortNameOwners[shortName];
        if (owner == decorators[i])
            continue;
        ErrorLog::OnWarning("binding units '" + owner->GetBindingName() + "' and '" + binding +
                            "' share the short name '" + shortName + "': PlCreate::CreateLayer(\"" + shortName +
                            "\") creates the layer of '" + owner->GetBindingName() + "'; name '" + binding +
                            "' in full");
    }
}

Str PLFactory::GetShortName(Str const& binding)
{
    char const* dot = std::strrchr(binding.GetBuffer(), '.');
    return dot ? Str(dot + 1) : binding;
}

void PLFactory::GetClassNames(StringArray& names)
{
    names.Add("PlCreate");
}

Str PLFactory::PLFactoryName(LayerStack& stack)
{
    return stack.m_ProductLineName;
}
