#include "scanner/Filename.h"

#include "scanner/StrCol.h"

#include <cstring>

namespace Lex {

FilenameInfo::~FilenameInfo()
{
    delete[] name;
    delete[] folder;
}

void Filename::name(char const* text)
{
    // Copy first: text may live in the body this handle is about to release.
    FilenameInfo* body = new FilenameInfo;
    if (text)
        body->name = StrCol::dup(text);
    data(body);
}

char const* Filename::name() const
{
    FilenameInfo* body = info();
    return body ? body->name : nullptr;
}

char const* Filename::path() const
{
    FilenameInfo* body = info();
    if (!body || !body->name)
        return nullptr;
    if (!body->folder) {
        char const* slash = std::strrchr(body->name, '/');
        if (!slash)
            return "";
        size_t len = slash == body->name ? 1 : size_t(slash - body->name);
        body->folder = StrCol::dup(body->name, int(len));
    }
    return body->folder;
}

bool Filename::is_absolute() const
{
    char const* n = name();
    if (!n)
        return false;
    if (n[0] == '/' || n[0] == '\\')
        return true;
    bool letter = (n[0] >= 'a' && n[0] <= 'z') || (n[0] >= 'A' && n[0] <= 'Z');
    return letter && n[1] == ':' && (n[2] == '/' || n[2] == '\\');
}

bool Filename::operator==(Filename const& other) const
{
    if (data() == other.data())
        return true;
    char const* a = name();
    char const* b = other.name();
    if (!info() || !other.info())
        return false;
    if (!a || !b)
        return a == b;
    return std::strcmp(a, b) == 0;
}

void Filename::print(std::ostream& os) const
{
    if (char const* n = name())
        os << n;
}

} // namespace Lex
