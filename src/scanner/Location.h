// Shared source positions: a file name and a line.
#pragma once

#include "scanner/Filename.h"

#include <cstdint>

namespace Lex {

class LocationInfo : public RefCnt {
public:
    LocationInfo() : line(0) {}

    Filename filename;
    int32_t line;
};

// Handle to a position. Copying costs one increment; setup always makes a
// new body so positions already copied into tokens never change. Every token
// holds one, so it has no virtual functions (no table pointer of its own).
class Location : public SmartPtr {
public:
    Location() {}
    Location(Filename const& file, int line) { setup(file, line); }
    Location(Location const& other) : SmartPtr(other) {}
    Location& operator=(Location const& other)
    {
        SmartPtr::operator=(other);
        return *this;
    }
    ~Location() { clear(); }

    void setup(Filename const& file, int line);
    int line() const;
    // The body's file name; an empty handle for an empty location.
    Filename const& filename() const;
    bool empty() const { return data() == nullptr; }

    bool operator==(Location const& other) const;
    bool operator!=(Location const& other) const { return !(*this == other); }
    bool operator<(Location const& other) const;

    void print(std::ostream& os) const;

private:
    LocationInfo* info() const { return static_cast<LocationInfo*>(data()); }
};

inline std::ostream& operator<<(std::ostream& os, Location const& location)
{
    location.print(os);
    return os;
}

} // namespace Lex
