// The file names that the generated classes of a run claim, per folder. A
// name already claimed is an error naming both claimants: the later file
// is not written, so that no generated file overwrites another. Names that
// are no C++ identifiers get a warning, as the generated code would not
// compile.
#pragma once

#include "base/Map.h"
#include "base/Str.h"

class LayerStack;

class FeatureFileNames {
public:
    // Writes the product-line interface, the factory class (when composed
    // code uses it) and one layer class per binding unit, bottom first,
    // each only when its header name is still free.
    static void GenerateFeatureClasses(LayerStack& stack);

    // Claims folder/name.h for what (a description such as "layer class of
    // binding unit 'x'"); false, with an error, when it is taken.
    bool Claim(Str const& folder, Str const& name, Str const& what);
    // A warning when name is no C++ identifier; false then.
    static bool CheckIdentifier(Str const& name, Str const& what);

private:
    MapStringToString m_Claimed;
};
