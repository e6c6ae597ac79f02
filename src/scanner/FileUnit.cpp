#include "scanner/FileUnit.h"

#include "scanner/StrCol.h"
#include "scanner/SysCall.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace Lex {

FileUnit::FileUnit() : location_text(nullptr), abs_path(nullptr), flags(0) {}

FileUnit::FileUnit(FileUnit const& other)
    : Unit(other), location_text(StrCol::dup(other.location_text)), abs_path(nullptr), flags(0)
{
    if (Unit::name())
        name(Unit::name());
}

FileUnit::~FileUnit()
{
    delete[] location_text;
    delete[] abs_path;
}

char const* FileUnit::name(char const* s)
{
    // Resolve from the stored copy: s may be the name just replaced.
    char const* stored = Unit::name(s);
    delete[] abs_path;
    abs_path = nullptr;
    if (!stored)
        return nullptr;
    abs_path = resolvePath(stored);
    if (!abs_path)
        abs_path = StrCol::dup(stored);
    return abs_path;
}

Unit* FileUnit::duplicate() const
{
    return new FileUnit(*this);
}

void FileUnit::setLocation(char const* s)
{
    char* copy = StrCol::dup(s);
    delete[] location_text;
    location_text = copy;
}

char* FileUnit::resolvePath(char const* path)
{
    if (!path)
        return nullptr;
    std::string current = path;
    std::string target;
    // A chain longer than the limit (a cycle) is left where it stands.
    for (int depth = 0; depth < max_link_depth && SysCall::readlink(current.c_str(), target, nullptr); ++depth) {
        if (target.empty())
            break;
        current = SysCall::linkedPath(current, target);
    }
    return absolutePath(current.c_str());
}

char* FileUnit::absolutePath(char const* path)
{
    if (!path)
        return nullptr;
    char const* slash = std::strrchr(path, '/');
    std::string folder;
    std::string file = slash ? slash + 1 : path;
    if (!slash)
        folder = ".";
    else if (slash == path)
        folder = "/";
    else
        folder.assign(path, size_t(slash - path));

    char* real = ::realpath(folder.c_str(), nullptr);
    if (!real)
        return nullptr;
    std::string result = real;
    std::free(real);
    if (result.empty() || result.back() != '/')
        result += '/';
    return StrCol::dup((result + file).c_str());
}

} // namespace Lex
