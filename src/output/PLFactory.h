// The factory class "PlCreate" of a product line: one creation branch per
// binding unit (from "layer_create", or "layer_create_dll" for a unit
// linked dynamically) and the list of all feature names. Written only when
// composed code uses the name PlCreate; constructing it does the work.
#pragma once

#include "base/Map.h"
#include "base/Str.h"
#include "base/StringArray.h"

class ClassFile;
class LayerDecorator;
class LayerStack;
class Templates;

class PLFactory {
public:
    explicit PLFactory(LayerStack& stack);
    PLFactory(PLFactory const&) = delete;
    PLFactory& operator=(PLFactory const&) = delete;

    void CreateFactory();
    // Writes PlCreate.h and PlCreate.cpp when composed code refers to them.
    void CreateInstanceMethod();
    // Appends the branch and the feature name line of one binding unit.
    void CreateDecoratorInstanceMethod(LayerDecorator& decorator);
    // The names of the classes this factory generates.
    static void GetClassNames(StringArray& names);
    static Str PLFactoryName(LayerStack& stack);

    LayerStack* m_pLayerStack;
    Templates* m_pTemplates;
    bool m_bDynamicLink;
    Str m_CreateBody;
    Str m_StaticBranch;
    Str m_DynamicBranch;
    Str m_HeaderTemplate;
    Str m_FeatureNames;
    Set<LayerDecorator*> m_Handled;
};
