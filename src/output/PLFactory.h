// The factory class "PlCreate" of a product line: one creation branch per
// binding unit (from "layer_create", or "layer_create_dll" for a unit
// linked dynamically) and the list of all feature names. Written only when
// composed code uses the name PlCreate; constructing it does the work.
// A unit answers to its binding name as written in the equation, to its
// layer class name and to its short name (the part after the last '.');
// a short name that several units share belongs to one of them.
#pragma once

#include "base/Array.h"
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
    // Gives each short name to one unit: the unit whose binding name it is,
    // else the lowest; warns of each unit that loses it.
    void AssignShortNames(Array<LayerDecorator*> const& decorators);
    static Str GetShortName(Str const& binding);
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
    // Short name -> the unit that answers to it.
    MapStringTo<LayerDecorator*> m_ShortNameOwners;
};
