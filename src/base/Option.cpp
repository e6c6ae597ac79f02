#include "base/Option.h"

char const* const StrOption::m_UndefinedVal = "undefined";

Option::Option(char const* name, char const* help) : m_Name(name ? name : ""), m_Help(help ? help : "") {}

void StrOption::Set(char const* value)
{
    m_Value = value ? value : "";
    *m_pTarget = m_Value.GetBuffer();
}

Str StrOption::GetStrVal() const
{
    return *m_pTarget ? Str(*m_pTarget) : Str("active, value = NULL");
}
