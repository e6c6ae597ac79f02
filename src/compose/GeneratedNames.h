// Names of the code that the composition generates, made from the names of
// classes, layers and binding units.
#pragma once

#include "base/Str.h"

namespace GeneratedNames {

// The layer name with every character that cannot stand in an identifier
// ("/" and "." of layer paths, but also "-" or blanks) turned into "_".
Str LayerIdentifier(char const* layerName);
// The name of a class's delegation object in a binding unit:
// "<class>__<unit as identifier>".
Str DelegationObjectName(char const* cls, char const* unit);

} // namespace GeneratedNames
