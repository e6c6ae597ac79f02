// The product-line interface: a class named after the product line, derived
// from Feature, that every layer class implements. It declares the factory
// methods and static forwarders that the binding units registered, each
// handing the call to the unit below, and the accessors of the outermost
// layer object and of the layer object below. Constructing it writes
// <product line>.h into the output folder.
#pragma once

#include "base/Str.h"

class LayerStack;
class Templates;

class LayerInterface {
public:
    explicit LayerInterface(LayerStack& stack);
    LayerInterface(LayerInterface const&) = delete;
    LayerInterface& operator=(LayerInterface const&) = delete;

    // The product-line name of the running project's layer stack.
    static Str LayerInterfaceName();
    // Writes the interface header; false when it could not be written.
    bool CreateLayerDecorator();

    LayerStack* m_pLayerStack;
    Templates* m_pTemplates;
};
