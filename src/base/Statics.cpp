// Process-wide objects whose lifetimes depend on each other, defined in one
// translation unit so that they are constructed top to bottom before main
// and destroyed bottom to top at exit.
#include "base/Name.h"

template <>
NameMap<Name> NameBase<Name>::m_AllNames{};
template <>
NameMap<QualName> NameBase<QualName>::m_AllNames{};
