#include "base/Directory.h"

#include <cstdlib>
#include <string>
#include <unordered_map>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Absolute folder paths resolved in this run, and the folders made in it,
// with their resolutions. Only folders found are kept: a missing one may be
// made later in the run.
std::unordered_map<std::string, Str>& ResolvedFolders()
{
    static std::unordered_map<std::string, Str> folders;
    return folders;
}

std::unordered_map<std::string, Str>& MadeFolders()
{
    static std::unordered_map<std::string, Str> folders;
    return folders;
}

// Removes every trailing character that is one of seps.
void TrimTrailing(Str& text, char const* seps)
{
    size_t n = text.GetLength();
    while (n > 0 && strchr(seps, text.GetBuffer()[n - 1]))
        --n;
    if (n != text.GetLength())
        text = text.Left(n);
}

void ToSlashes(Str& text)
{
    text.Replace("\\", "/");
}

// Index of the first '/' at or after pos, or -1.
long NextSlash(Str const& text, size_t pos)
{
    if (pos >= text.GetLength())
        return -1;
    char const* found = strchr(text.GetBuffer() + pos, '/');
    return found ? found - text.GetBuffer() : -1;
}

} // namespace

Directory::~Directory()
{
    Close();
}

bool Directory::Open(char const* path)
{
    Close();
    m_pDir = path ? ::opendir(path) : nullptr;
    if (!m_pDir) {
        m_pError = "failed to open dir";
        return false;
    }
    return true;
}

char const* Directory::NextEntry()
{
    if (!m_pDir)
        return nullptr;
    while (dirent* entry = ::readdir(m_pDir)) {
        char const* name = entry->d_name;
        if (strcmp(name, ".") != 0 && strcmp(name, "..") != 0)
            return name;
    }
    return nullptr;
}

bool Directory::Close()
{
    if (!m_pDir)
        return false;
    DIR* dir = m_pDir;
    m_pDir = nullptr;
    if (::closedir(dir) != 0) {
        m_pError = "failed to close dir";
        return false;
    }
    return true;
}

char* Directory::getcwd(char* buf, unsigned long size)
{
    return ::getcwd(buf, size);
}

bool Directory::chdir(char const* path)
{
    return ::chdir(path) == 0;
}

bool Directory::mkdir(char const* path)
{
    return ::mkdir(path, 0777) == 0;
}

bool Directory::exists(char const* path)
{
    if (!path)
        return false;
    struct stat record;
    // A folder can be entered when it is one and may be searched.
    return ::stat(path, &record) == 0 && S_ISDIR(record.st_mode)
        && ::faccessat(AT_FDCWD, path, X_OK, AT_EACCESS) == 0;
}

Str Directory::CurrentDir()
{
    Str result;
    if (char* cwd = ::getcwd(nullptr, 0)) {
        result = cwd;
        free(cwd);
    }
    return result;
}

bool Directory::CreateRecursive(Str path)
{
    ToSlashes(path);
    TrimTrailing(path, "/");
    for (long sep = NextSlash(path, 0); sep >= 0; sep = NextSlash(path, static_cast<size_t>(sep) + 1)) {
        // A leading '/' names the root, which exists.
        if (sep > 0)
            mkdir(path.Left(static_cast<size_t>(sep)));
    }
    return mkdir(path);
}

Str Directory::MakeAbsPath(Str const& path)
{
    bool absolute = path.GetBuffer()[0] == '/';
    if (absolute) {
        auto found = ResolvedFolders().find(path.GetBuffer());
        if (found != ResolvedFolders().end())
            return found->second;
    }
    Str result;
    if (!exists(path))
        return result;
    if (char* real = ::realpath(path, nullptr)) {
        result = real;
        free(real);
    }
    if (absolute && !result.IsEmpty())
        ResolvedFolders()[path.GetBuffer()] = result;
    return result;
}

Str Directory::MakeFolder(Str const& path)
{
    auto found = MadeFolders().find(path.GetBuffer());
    if (found != MadeFolders().end())
        return found->second;
    CreateRecursive(path);
    Str result = MakeAbsPath(path);
    if (!result.IsEmpty() && path.GetBuffer()[0] == '/')
        MadeFolders()[path.GetBuffer()] = result;
    return result;
}

void Directory::ForgetResolvedFolders()
{
    ResolvedFolders().clear();
    MadeFolders().clear();
}

Str Directory::MakeAbsPath(Str const& base, Str const& path)
{
    return MakeAbsPath(base + "/" + path);
}

Str Directory::MakeRelPath(Str base, Str path)
{
    TrimTrailing(base, "/\\");
    TrimTrailing(path, "/\\");
    ToSlashes(path);
    if (path.GetLength() < base.GetLength())
        return path;
    // The base's own text counts the folders to climb: a backslash in it is
    // part of a folder's name. Only the search for the common part reads
    // it as a separator.
    Str const baseText = base;
    ToSlashes(base);

    // The common part ends at a component boundary of both texts. The last
    // component of the base is only matched when the path ends there too.
    size_t const baseLength = base.GetLength();
    size_t common = 0;
    size_t pos = 0;
    for (;;) {
        long baseSep = NextSlash(base, pos);
        long pathSep = NextSlash(path, pos);
        if (baseSep != pathSep)
            break;
        size_t compared = baseSep < 0 ? baseLength : static_cast<size_t>(baseSep);
        if (memcmp(base.GetBuffer(), path.GetBuffer(), compared) != 0)
            break;
        if (baseSep < 0) {
            if (path.GetLength() == baseLength)
                common = baseLength;
            break;
        }
        common = compared;
        pos = compared + 1;
    }

    // Skip the separator that follows the common part, when there is one.
    auto rest = [common](Str const& text, Str const& separators) {
        size_t from = common;
        if (from < separators.GetLength() && separators.GetBuffer()[from] == '/')
            ++from;
        return Str(text.GetBuffer() + (from < text.GetLength() ? from : text.GetLength()));
    };
    Str baseRest = rest(baseText, base);
    Str pathRest = rest(path, path);

    Str result;
    if (baseRest.IsEmpty()) {
        result = "./";
    } else {
        result = "../";
        for (char const* p = baseRest.GetBuffer(); *p; ++p)
            if (*p == '/')
                result += "../";
    }
    result += pathRest;
    return result;
}
