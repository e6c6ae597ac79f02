// Derivative layers: a layer folder named after another layer of the stack
// ("A/B") holds code for the combination of both, composed as a layer of its
// own above its parents. Equation files inside layers are composed into the
// output folder and imported in front of the equation (-eq).
#pragma once

#include "base/Map.h"
#include "base/Str.h"

class Layer;
class LayerConfig;
class LayerStack;

class DerivativeLayers {
public:
    // Adds the derivative of layer and the layer named linkName (also with
    // the layer's import prefix), in folder; nothing when there is no such
    // layer. linkPath is the link's, which the errors about the derived
    // layer (its folder missing) name.
    static void AddDerivativeLayer(LayerStack& stack, Layer& layer, Str const& folder, Str const& linkName,
                                   Str const& linkPath = Str());
    // The configuration of the derivative of the parent layers, inserted into
    // the equation after its last parent: static when a parent is static or
    // a meta layer, else bound as its dynamic parents are, with their binding
    // units joined. Null without a parent in the equation or when the layer
    // exists already.
    static LayerConfig* CreateDerivateConfig(LayerStack& stack, StringSet& parentNames);
    // Composes the layers' equation files; when some were composed, the
    // layers are made again from the equation with them imported in front.
    // False when a composed file cannot be imported or the layers cannot be
    // set up again.
    static bool TransformEquationFiles(LayerStack& stack);
};
