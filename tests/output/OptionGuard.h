// Sets the -noline and -namespace options for one test and restores them.
#pragma once

#include "base/Config.h"

namespace testutil {

class OptionGuard {
public:
    OptionGuard(bool noLine, char const* nameSpace)
        : m_bNoLine(Config::GetInstance().m_bNoLine), m_pNameSpace(Config::GetInstance().m_pNameSpace)
    {
        Config::GetInstance().m_bNoLine = noLine;
        if (nameSpace)
            Config::GetInstance().m_pNameSpace = nameSpace;
    }
    ~OptionGuard()
    {
        Config::GetInstance().m_bNoLine = m_bNoLine;
        Config::GetInstance().m_pNameSpace = m_pNameSpace;
    }
    OptionGuard(OptionGuard const&) = delete;
    OptionGuard& operator=(OptionGuard const&) = delete;

private:
    bool m_bNoLine;
    char const* m_pNameSpace;
};

} // namespace testutil
