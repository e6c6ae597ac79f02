// The layer class of one binding unit: the class that the generated product
// line uses to create the objects of the unit's composed classes. It collects
// one factory method "New_<class>" per class composed through the unit and
// one forwarder per static method routed through it, and writes the class
// from the templates "layerImpl" and "layerImplCpp". One decorator per
// binding name, made on first use and kept with the layer stack.
#pragma once

#include "base/Array.h"
#include "base/Map.h"
#include "base/Str.h"
#include "base/StringArray.h"

#include <cstddef>

class ClassFile;
class Layer;
class LayerStack;
class Templates;

class LayerDecorator {
public:
    // Layer decorators live until the end of the run. Allocating them here
    // names them for the leak checker, which is told to let them be.
    static void* operator new(std::size_t size) { return ::operator new(size); }
    static void operator delete(void* p) { ::operator delete(p); }

    LayerDecorator();
    ~LayerDecorator();
    LayerDecorator(LayerDecorator const&) = delete;
    LayerDecorator& operator=(LayerDecorator const&) = delete;

    // The decorator of the layer's binding unit, created on first use.
    static LayerDecorator* Of(Layer& layer);
    // The decorators of the stack's binding units, in creation order.
    static Array<LayerDecorator*>& GetAll(LayerStack& stack);

    // Takes the binding unit of the layer that first asked for it.
    void Init(Layer& layer);
    // The name with every "." turned into "_".
    static Str GetLayerClassName(Str const& name);
    // The decorator of the next lower binding unit (layers whose names begin
    // with "Meta" are passed over); null when there is none.
    LayerDecorator* GetSuperDecorator();
    // Registers the factory method "New_<classInterface>"; the first
    // registration of a method name wins.
    // A class inside a namespace has that namespace's name ("a::b") in
    // nameSpace, which the generated code qualifies its classes with, and
    // in forward its declaration inside the namespace blocks as its module
    // opens them, which the product-line interface writes.
    void AddFactoryMethod(Str const& classInterface, Str const& className, Str const& baseInterface,
                          Str const& ctorArgDecl, Str const& ctorArgs, Str const& nameSpace = Str(),
                          Str const& forward = Str());
    // Registers a static forwarder once per interface text.
    void AddStaticMethodCall(Str const& interfaceText, Str const& layerText);
    void GetFactoryMethodDecls(MapStringToString& decls);
    // The forward declaration of each factory method's class that lies in
    // a namespace.
    void GetFactoryForwards(MapStringToString& forwards);
    void GetStaticMethods(StringSet& methods);
    // Writes the layer class into the first layer's output folder, once.
    void CreateLayerFile();

    Str const& GetBindingName() const { return m_BindingName; }
    Layer* GetFirstLayer() const { return m_pFirstLayer; }

    StringSet m_FactoryNames;
    StringSet m_StaticMethodKeys;
    Str m_StaticForwarders;
    Str m_BindingName;
    StringArray m_FactoryDecls;
    StringArray m_FactoryMethodNames;
    StringArray m_FactoryClasses;
    StringArray m_FactoryForwards;
    Str m_InterfaceName;
    Str m_LayerClassName;
    Str m_FactoryBodies;
    ClassFile* m_pClassFile;
    bool m_bMetaInfo;
    bool m_bLinkDynamic;
    bool m_bWritten;
    Templates* m_pTemplates;
    LayerStack* m_pLayerStack;
    Layer* m_pFirstLayer;
};
