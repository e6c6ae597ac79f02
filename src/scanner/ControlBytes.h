// Message texts show the control bytes of names escaped, so that a file name
// holding a line break still gives one line.
#pragma once

#include <string>

namespace Lex {

// The text with its control bytes (below 0x20, and 0x7f) written as "\n",
// "\r", "\t" or "\xhh"; every other byte, a backslash or a byte of a UTF-8
// character, as it is. Null gives the empty text.
std::string ShowControlBytes(char const* text);

} // namespace Lex
