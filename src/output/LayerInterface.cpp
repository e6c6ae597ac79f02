#include "output/LayerInterface.h"

#include "base/Map.h"
#include "compose/FopParseProject.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "output/InterfaceCreator.h"
#include "output/LayerDecorator.h"
#include "output/Templates.h"
#include "parser/Info.h"

LayerInterface::LayerInterface(LayerStack& stack) : m_pLayerStack(&stack), m_pTemplates(Templates::GetInstance())
{
    CreateLayerDecorator();
}

Str LayerInterface::LayerInterfaceName()
{
    FopParseProject* project = FopParseProject::GetInstance();
    LayerStack* stack = project ? project->GetLayerStack() : nullptr;
    return stack ? stack->m_ProductLineName : Str();
}

bool LayerInterface::CreateLayerDecorator()
{
    Str name = m_pLayerStack->m_ProductLineName;
    MapStringToString decls;
    MapStringToString spaces;
    StringSet statics;
    for (int i = 0; i < m_pLayerStack->GetCount(); ++i) {
        Layer* layer = (*m_pLayerStack)[i];
        if (!layer->CanCreateDelegation())
            continue;
        if (LayerDecorator* decorator = LayerDecorator::Of(*layer)) {
            decorator->GetFactoryMethodDecls(decls);
            decorator->GetFactoryForwards(spaces);
            decorator->GetStaticMethods(statics);
        }
    }

    InterfaceCreator creator(name);
    creator.m_ClassFile.m_Includes.Add("Feature");
    // std::abort, which a static forwarder calls when no unit is below.
    creator.m_ClassFile.m_Includes.Add("stdlib.h");
    creator.m_Builder.AddBase("Feature");
    Str fill;
    FuncInfoBuilder final(creator.m_Builder, name + "&", "GetFinal");
    final.SetAccessType(ACCESS_PUBLIC);
    fill.Format("{ return *((%s*)final); }", name.GetBuffer());
    final.SetBody(fill);
    FuncInfoBuilder super(creator.m_Builder, name + "*", "GetSuperDecorator");
    super.SetAccessType(ACCESS_PROTECTED);
    fill.Format("return (%s*)super_layer;", name.GetBuffer());
    super.SetBody(fill);

    // What the generated code calls is public, whatever access the printed
    // class ends with.
    Str& body = creator.m_ExtraBody;
    body += "public:\n";
    Str delegation = m_pTemplates->GetTemplate("layer_factorymethod_delegation");
    for (auto* node = decls.GetFirst(); node; node = decls.GetNext(node)) {
        Str method = node->GetKey();
        Str cls = method.Right(method.GetLength() - 4);
        Str text(delegation);
        text.Replace("<METHOD_DECL />", node->GetValue());
        text.Replace("<INTERFACE_NAME />", name);
        text.Replace("<METHOD_NAME />", method);
        body += "\t" + text + "\n";
        if (auto* forward = spaces.Find(method.GetBuffer()))
            creator.m_ClassFile.m_ForwardText += forward->GetValue();
        else
            creator.m_ClassFile.m_Forwards.Add(cls);
    }
    for (auto* node = statics.GetFirst(); node; node = statics.GetNext(node))
        body += "\t" + node->GetKey() + "\n";
    return creator.WriteFile(m_pLayerStack->m_OutDir);
}
