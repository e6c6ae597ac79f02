#include "scanner/Location.h"

namespace Lex {

void Location::setup(Filename const& file, int line)
{
    LocationInfo* body = new LocationInfo;
    body->filename = file;
    body->line = line;
    data(body);
}

int Location::line() const
{
    LocationInfo* body = info();
    return body ? body->line : 0;
}

Filename const& Location::filename() const
{
    static Filename const none;
    LocationInfo* body = info();
    return body ? body->filename : none;
}

bool Location::operator==(Location const& other) const
{
    if (data() == other.data())
        return true;
    if (!info() || !other.info())
        return false;
    return info()->filename == other.info()->filename && info()->line == other.info()->line;
}

bool Location::operator<(Location const& other) const
{
    if (data() == other.data())
        return false;
    if (!info())
        return true;
    if (!other.info())
        return false;
    return info()->filename == other.info()->filename && info()->line < other.info()->line;
}

void Location::print(std::ostream& os) const
{
    if (LocationInfo* body = info()) {
        body->filename.print(os);
        os << ':' << body->line;
    }
}

} // namespace Lex
