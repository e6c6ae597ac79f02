#include "output/LayerDecorator.h"

#include "compose/EquationFile.h"
#include "compose/GeneratorState.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "output/ClassFile.h"
#include "output/Templates.h"

#include <cstring>

namespace {

// The decorators of a layer stack, kept as the stack's generator state.
class DecoratorList : public GeneratorState {
public:
    // Not owned: decorators live until the end of the run.
    Array<LayerDecorator*> m_Decorators;
};

// The lowest layer of the decorator's binding unit, which its class file
// is written for.
Layer* GetTopmostLayerOfBindingUnit(LayerStack& stack, LayerDecorator const& decorator)
{
    for (int i = 0; i < stack.GetCount(); ++i)
        if (stack[i]->GetBindingName() == decorator.GetBindingName())
            return stack[i];
    return nullptr;
}

} // namespace

Array<LayerDecorator*>& LayerDecorator::GetAll(LayerStack& stack)
{
    if (!stack.GetGeneratorState())
        stack.SetGeneratorState(new DecoratorList);
    return static_cast<DecoratorList*>(stack.GetGeneratorState())->m_Decorators;
}

LayerDecorator* LayerDecorator::Of(Layer& layer)
{
    Array<LayerDecorator*>& all = GetAll(*layer.m_pStack);
    Str name = layer.GetBindingName();
    for (int i = 0; i < all.GetCount(); ++i)
        if (all[i]->GetBindingName() == name)
            return all[i];
    LayerDecorator* decorator = new LayerDecorator;
    // Entered before Init, which looks up the unit's lowest layer.
    all.Add(decorator);
    decorator->Init(layer);
    return decorator;
}

LayerDecorator::LayerDecorator()
    : m_pClassFile(new ClassFile), m_bMetaInfo(false), m_bLinkDynamic(false), m_bWritten(false),
      m_pTemplates(Templates::GetInstance()), m_pLayerStack(nullptr), m_pFirstLayer(nullptr)
{
}

LayerDecorator::~LayerDecorator()
{
    delete m_pClassFile;
}

void LayerDecorator::Init(Layer& layer)
{
    m_bLinkDynamic = layer.LinkDynamic();
    m_pLayerStack = layer.m_pStack;
    m_bMetaInfo = m_pLayerStack && m_pLayerStack->m_pEquation && m_pLayerStack->m_pEquation->m_bMetaInfo;
    m_BindingName = layer.GetBindingName();
    m_LayerClassName = GetLayerClassName(m_BindingName);
    // The product-line interface bears the product-line name.
    m_InterfaceName = m_pLayerStack ? m_pLayerStack->m_ProductLineName : Str();
    m_pClassFile->SetName(m_LayerClassName);
    m_pClassFile->m_Includes.Add(m_InterfaceName);
    m_pFirstLayer = m_pLayerStack ? GetTopmostLayerOfBindingUnit(*m_pLayerStack, *this) : nullptr;
}

Str LayerDecorator::GetLayerClassName(Str const& name)
{
    Str result(name);
    result.Replace(".", "_");
    return result;
}

LayerDecorator* LayerDecorator::GetSuperDecorator()
{
    if (!m_pFirstLayer || !m_pLayerStack)
        return nullptr;
    int index = -1;
    for (int i = 0; i < m_pLayerStack->GetCount(); ++i)
        if ((*m_pLayerStack)[i] == m_pFirstLayer) {
            index = i;
            break;
        }
    for (int i = index - 1; i >= 0; --i) {
        Layer* layer = (*m_pLayerStack)[i];
        if (std::strncmp(layer->m_LayerName.GetBuffer(), "Meta", 4) == 0)
            continue;
        return Of(*layer);
    }
    return nullptr;
}

namespace {

// Removes the line feeds at the end of the text.
void TrimLineFeeds(Str& text)
{
    size_t n = text.GetLength();
    while (n > 0 && text.GetBuffer()[n - 1] == '\n')
        --n;
    if (n != text.GetLength())
        text = text.Left(n);
}

// A line that is neither blank nor begins with a line switch.
bool HasCode(Str const& text)
{
    char const* p = text.GetBuffer();
    while (p && *p) {
        while (*p == ' ' || *p == '\t' || *p == '\r')
            ++p;
        if (*p && *p != '\n' && std::strncmp(p, "//<IF_", 6) != 0)
            return true;
        while (*p && *p != '\n')
            ++p;
        if (*p)
            ++p;
    }
    return false;
}

} // namespace

void LayerDecorator::AddFactoryMethod(Str const& classInterface, Str const& className, Str const& baseInterface,
                                      Str const& ctorArgDecl, Str const& ctorArgs, Str const& nameSpace,
                                      Str const& forward)
{
    Str method = "New_" + classInterface;
    if (m_FactoryNames.Contains(method))
        return;
    LayerDecorator* super = GetSuperDecorator();
    bool hasBase = !baseInterface.IsEmpty();
    m_FactoryNames.Add(method);

    Str decl = m_pTemplates->GetTemplate("layer_factorymethod_decl");
    TrimLineFeeds(decl);
    Str prefix = nameSpace.IsEmpty() ? Str() : nameSpace + "::";
    decl.Replace("<CLASS_INTERFACE />", prefix + classInterface);
    decl.Replace("<METHOD_NAME />", method);
    decl.Replace("<CTOR_ARG_DECL />", ctorArgDecl);
    m_FactoryDecls.Add(decl);
    m_FactoryMethodNames.Add(method);
    m_FactoryClasses.Add(classInterface);
    m_FactoryForwards.Add(forward);

    Str body = m_pTemplates->GetTemplate("layer_factorymethod");
    body.Replace("<CLASS_NAME />", prefix + className);
    body.Replace("<CLASS_INTERFACE />", prefix + classInterface);
    body.Replace("<METHOD_NAME />", method);
    body.Replace("<BASE_INTERFACE />", baseInterface);
    body.Replace("<CTOR_ARG_DECL />", ctorArgDecl);
    body.Replace("<CTOR_ARGS />", ctorArgs);
    body.Replace("<LAYER_NAME />", m_LayerClassName);
    body.Replace(super ? "//<IF_SUPER />" : "//<IF_!SUPER />", "");
    body.Replace(hasBase ? "//<IF_BASE />" : "//<IF_!BASE />", "");

    m_pClassFile->m_Includes.Add(className);
    m_FactoryBodies += "\n//factory method for " + classInterface + "\n" + body;
}

void LayerDecorator::AddStaticMethodCall(Str const& interfaceText, Str const& layerText)
{
    if (m_StaticMethodKeys.Contains(interfaceText))
        return;
    m_StaticMethodKeys.Add(interfaceText);
    m_StaticForwarders += "\t" + layerText + "\n";
}

void LayerDecorator::GetFactoryMethodDecls(MapStringToString& decls)
{
    for (int i = 0; i < m_FactoryMethodNames.GetCount(); ++i)
        decls[m_FactoryMethodNames[i]] = m_FactoryDecls[i];
}

void LayerDecorator::GetFactoryForwards(MapStringToString& forwards)
{
    for (int i = 0; i < m_FactoryMethodNames.GetCount(); ++i)
        if (!m_FactoryForwards[i].IsEmpty())
            forwards[m_FactoryMethodNames[i]] = m_FactoryForwards[i];
}

void LayerDecorator::GetStaticMethods(StringSet& methods)
{
    for (auto* node = m_StaticMethodKeys.GetFirst(); node; node = m_StaticMethodKeys.GetNext(node))
        methods.Add(node->GetKey());
}

void LayerDecorator::CreateLayerFile()
{
    if (m_bWritten)
        return;
    m_bWritten = true;
    // The role lookup compares names and returns the root of the composed
    // classes; both come in before the namespace opens.
    m_pClassFile->m_Includes.Add("Class");
    m_pClassFile->m_Includes.Add("string.h");
    Str header = m_pTemplates->GetTemplate("layerImpl");
    header.Replace("<LAYER_NAME />", m_LayerClassName);
    header.Replace("<INTERFACE_NAME />", m_InterfaceName);
    header.Replace("<LAYER_PRINT_NAME />", m_BindingName);
    Str count;
    count << static_cast<unsigned long>(m_FactoryNames.GetCount());
    header.Replace("<ROLE_COUNT />", count);
    if (m_bMetaInfo)
        header.Replace("//<IF_META_INFO />", "");
    Str decls;
    Str roles;
    for (int i = 0; i < m_FactoryDecls.GetCount(); ++i) {
        decls += m_FactoryDecls[i] + ";\n";
        Str role("\n\t\telse if (strcmp(name,\"<NAME />\")==0) return <METHOD />_Role();");
        role.Replace("<NAME />", m_FactoryClasses[i]);
        role.Replace("<METHOD />", m_FactoryMethodNames[i]);
        roles += role;
    }
    decls += m_StaticForwarders;
    header.Replace("<FACTORY_METHOD_DECLS />", decls);
    header.Replace("<GENERAL_FACTORY_METHODS />", roles);
    Str source = m_pTemplates->GetTemplate("layerImplCpp");
    source.Replace("<LAYER_NAME />", m_LayerClassName);
    if (m_bLinkDynamic)
        source.Replace("//<IF_DYNAMIC_LINK />", "");
    m_pClassFile->m_ImplText += m_FactoryBodies;
    // A source of nothing but blank lines and switched-off template lines
    // is left out, so that a unit without factories gets no empty .cpp.
    if (!m_FactoryBodies.IsEmpty() || HasCode(source))
        m_pClassFile->m_ImplText += source;
    Str folder = m_pFirstLayer ? m_pFirstLayer->m_DestDir : Str();
    m_pClassFile->WriteClass(folder, header);
}
