#include "compose/GeneratedNames.h"

#include <cctype>

namespace GeneratedNames {

Str LayerIdentifier(char const* layerName)
{
    Str name(layerName ? layerName : "");
    Str result;
    for (size_t i = 0; i < name.GetLength(); ++i) {
        unsigned char c = static_cast<unsigned char>(name.GetBuffer()[i]);
        result += (std::isalnum(c) || c == '_') ? static_cast<char>(c) : '_';
    }
    return result;
}

Str DelegationObjectName(char const* cls, char const* unit)
{
    Str name(cls ? cls : "");
    name += "__";
    name += LayerIdentifier(unit);
    return name;
}

} // namespace GeneratedNames
