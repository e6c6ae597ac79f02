#include "output/PLFactory.h"

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
    for (int i = 0; i < m_pLayerStack->GetCount(); ++i) {
        LayerDecorator* decorator = (*m_pLayerStack)[i]->GetDecorator();
        if (!decorator || m_Handled.Contains(decorator))
            continue;
        m_Handled.Add(decorator);
        CreateDecoratorInstanceMethod(*decorator);
        // The layer class's header bears the layer class name.
        file.m_Includes.Add(LayerDecorator::GetLayerClassName(decorator->GetBindingName()));
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
    char const* dot = std::strrchr(binding.GetBuffer(), '.');
    Str shortName = dot ? Str(dot + 1) : binding;
    Str layerName = LayerDecorator::GetLayerClassName(binding);
    text.Replace("<LAYER_SHORT_NAME>", shortName);
    text.Replace("<LAYER_NAME>", layerName);
    m_CreateBody += text;
    m_FeatureNames += layerName + "\\n\\\n";
}

void PLFactory::GetClassNames(StringArray& names)
{
    names.Add("PlCreate");
}

Str PLFactory::PLFactoryName(LayerStack& stack)
{
    return stack.m_ProductLineName;
}
