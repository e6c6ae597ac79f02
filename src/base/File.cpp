#include "base/File.h"

#include "scanner/SysCall.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

bool File::ReadTime()
{
    if (m_Name.IsEmpty())
        return false;
    return m_Stat.stat(m_Name);
}

bool File::RestoreMTime()
{
    FileTimeNs old = m_Stat.GetMTime();
    if (old == 0)
        return false;
    Lex::SysCall::SetFileTimeNs(m_Name, old);
    return true;
}

bool File::SetMTime(char const* path, FileTime const& t)
{
    // Prints the failure line, with a guard for times ctime cannot render.
    return Lex::SysCall::SetFileTime(path, t.m_Time, false);
}

bool File::WriteAll(int fd, char const* data, size_t n)
{
    while (n > 0) {
        ssize_t count = ::write(fd, data, n);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            if (count == 0)
                errno = ENOSPC;
            return false;
        }
        data += count;
        n -= static_cast<size_t>(count);
    }
    return true;
}

long File::LastSeparator(char const* path)
{
    char const* slash = strrchr(path, '/');
    char const* backslash = strrchr(path, '\\');
    long a = slash ? slash - path : -1;
    long b = backslash ? backslash - path : -1;
    return a > b ? a : b;
}

Str File::ExtractFilePath(Str const& path)
{
    long sep = LastSeparator(path);
    if (sep <= 0)
        return Str();
    return path.Left(static_cast<size_t>(sep));
}

Str File::ExtractFileName(Str const& path)
{
    long sep = LastSeparator(path);
    if (sep < 0)
        return path;
    return Str(path.GetBuffer() + sep + 1);
}

Str File::RealPath(char const* path)
{
    Str result;
    if (!path || !*path)
        return result;
    if (char* real = ::realpath(path, nullptr)) {
        result = real;
        free(real);
    }
    return result;
}
