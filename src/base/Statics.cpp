// Process-wide objects whose lifetimes depend on each other, defined in one
// translation unit so that they are constructed top to bottom before main
// and destroyed bottom to top at exit. The message log comes first: it is
// closed after everything else is gone.
#include "base/ErrorLog.h"
#include "base/Name.h"

ErrorLog ErrorLog::m_ErrorLogInst;

template <>
NameMap<Name> NameBase<Name>::m_AllNames{};
template <>
NameMap<QualName> NameBase<QualName>::m_AllNames{};
