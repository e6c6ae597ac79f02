// Interface of everything that prints itself on a stream.
#pragma once

#include <ostream>

namespace Lex {

class Printable {
public:
    virtual ~Printable() {}
    virtual void print(std::ostream& os) const = 0;
};

inline std::ostream& operator<<(std::ostream& os, Printable const& p)
{
    p.print(os);
    return os;
}

} // namespace Lex
