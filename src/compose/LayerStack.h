// The layer stack: the one object that holds a composition. It keeps the
// composed classes by module name.
#pragma once

#include "base/Map.h"

class TransformedModule;

class LayerStack {
public:
    LayerStack() {}
    LayerStack(LayerStack const&) = delete;
    LayerStack& operator=(LayerStack const&) = delete;
    // The composed classes are not deleted: they live until the process ends.
    virtual ~LayerStack() {}

    // The composed class of that name; when there is none and the name
    // begins with "C", the class named by the rest of the name (so "CFoo"
    // finds Foo unless a class CFoo exists); else null.
    TransformedModule* GetModule(char const* name);

    // The composed classes by module name; the classes are not owned.
    MapStringTo<TransformedModule*> m_ComposedClasses;
};
