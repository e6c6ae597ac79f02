#include "scanner/ControlBytes.h"

#include <cstdio>

namespace Lex {

std::string ShowControlBytes(char const* text)
{
    std::string shown;
    for (char const* p = text; p && *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\n')
            shown += "\\n";
        else if (c == '\r')
            shown += "\\r";
        else if (c == '\t')
            shown += "\\t";
        else if (c < 0x20 || c == 0x7f) {
            char hex[5];
            snprintf(hex, sizeof hex, "\\x%02x", c);
            shown += hex;
        } else
            shown += static_cast<char>(c);
    }
    return shown;
}

} // namespace Lex
