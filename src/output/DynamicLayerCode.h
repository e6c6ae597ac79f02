// The code for layers that are switched on at run time: each of their
// methods starts with a guard that falls back to the lower version while
// the layer's features are off, and the DynamicFeatureConfig class of the
// configuration layer gets the list of those features.
#pragma once

#include "base/Str.h"

namespace Lex {
class Token;
}
class FOPModule;
class Layer;

class DynamicLayerCode {
public:
    // Writes after open, a method body's `{`, the test of the layer's
    // features, running fallback when one is off; the module's header
    // includes Config for it.
    static void AddGuard(Lex::Token& open, Layer& layer, Str const& fallback, FOPModule& module);
    // When module holds the DynamicFeatureConfig class of a layer named
    // "...DynConditionalConfig": writes the features of the run-time layers
    // after the comments marked <ADD_FEATURES /> and
    // <ADD_FEATURE_MAPPING />.
    static void FillFeatureConfig(FOPModule& module, Layer& layer);
};
