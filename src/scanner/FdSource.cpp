#include "scanner/FdSource.h"

#include "scanner/SysCall.h"

namespace Lex {

int FdSource::read(char* buffer, int count)
{
    if (count < 0)
        return -1;
    return static_cast<int>(SysCall::read(m_fd, buffer, static_cast<unsigned long>(count), nullptr));
}

long FdSource::size()
{
    FileInfo info;
    if (!SysCall::fstat(m_fd, info, nullptr))
        return -1;
    return static_cast<long>(info.st_size);
}

FileSource::~FileSource()
{
    if (m_fd >= 0)
        SysCall::close(m_fd, nullptr);
}

void FileSource::fd(int fd)
{
    if (m_fd >= 0 && m_fd != fd)
        SysCall::close(m_fd, nullptr);
    m_fd = fd;
}

} // namespace Lex
