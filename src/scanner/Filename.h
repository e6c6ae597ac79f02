// Shared, reference-counted file names.
#pragma once

#include "scanner/Printable.h"
#include "scanner/RefCnt.h"

namespace Lex {

// Body of a file name: the name text and the folder part computed on demand.
class FilenameInfo : public RefCnt {
public:
    FilenameInfo() : name(nullptr), folder(nullptr) {}
    ~FilenameInfo() override;

    char* name;   // owned copy of the file name, null until set
    char* folder; // owned cache of path(), null until asked
};

// Handle to a file name. Setting a name always makes a new body, so other
// handles sharing the old body keep their text.
class Filename : public SmartPtr, public Printable {
public:
    Filename() {}
    explicit Filename(char const* text) { name(text); }
    Filename(Filename const& other) : SmartPtr(other), Printable() {}
    Filename& operator=(Filename const& other)
    {
        SmartPtr::operator=(other);
        return *this;
    }
    ~Filename() override { clear(); }

    void name(char const* text);
    // The stored text; null for an empty handle or a body without a name.
    char const* name() const;
    // Folder part: the text before the last '/', "/" for a name whose only
    // '/' leads it, "" for a name without '/', null when there is no name.
    char const* path() const;
    bool is_absolute() const;

    bool operator==(Filename const& other) const;
    bool operator!=(Filename const& other) const { return !(*this == other); }

    void print(std::ostream& os) const override;

private:
    FilenameInfo* info() const { return static_cast<FilenameInfo*>(data()); }
};

} // namespace Lex
