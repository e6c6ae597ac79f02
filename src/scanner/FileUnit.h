// A unit scanned from a file; knows the resolved absolute path of its name.
#pragma once

#include "scanner/Unit.h"

#include <cstddef>
#include <new>

namespace Lex {

class FileUnit : public Unit {
public:
    // Units scanned for a parse keep their tokens until the end of the run.
    // Allocating them here names them for the leak checker, which is told
    // to let them be.
    static void* operator new(std::size_t size) { return ::operator new(size); }
    static void operator delete(void* p) { ::operator delete(p); }

    FileUnit();
    FileUnit(FileUnit const& other);
    ~FileUnit() override;

    // Stores the name and resolves its absolute path (through symbolic
    // links); returns that path, or a copy of s when it cannot be resolved.
    char const* name(char const* s) override;
    char const* name() const { return Unit::name(); }
    bool isFile() const override { return true; }
    Unit* duplicate() const override;

    void setLocation(char const* s);
    char const* location() const { return location_text; }
    char const* absPath() const { return abs_path; }

    // new[] path with symbolic links of the last component followed (at
    // most max_link_depth links); null when the folder cannot be resolved.
    static char* resolvePath(char const* path);
    // new[] path made of the resolved folder part and the file part; the
    // working folder is never changed. Null for null or an unresolved folder.
    static char* absolutePath(char const* path);

    static constexpr int max_link_depth = 40;

    char* location_text;
    char* abs_path;
    unsigned char flags; // always 0
};

} // namespace Lex
