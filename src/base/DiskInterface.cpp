#include "base/DiskInterface.h"

namespace {

RealDiskInterface realDisk;
DiskInterface* installed = &realDisk;

} // namespace

bool DiskInterface::GetMTime(char const* path, FileTimeNs& t)
{
    Lex::FileInfo info;
    if (!path || !Stat(path, info, nullptr))
        return false;
    t = info.mod_time_ns();
    return true;
}

DiskInterface& DiskInterface::Get()
{
    return *installed;
}

DiskInterface* DiskInterface::Install(DiskInterface* disk)
{
    DiskInterface* previous = installed;
    installed = disk ? disk : &realDisk;
    return previous;
}

bool RealDiskInterface::Stat(char const* path, Lex::FileInfo& info, Lex::ErrorSink* errors)
{
    return Lex::SysCall::stat(path, info, errors);
}

FileTimeNs RealDiskInterface::ReadTime(char const*, Lex::FileInfo const& opened)
{
    return opened.mod_time_ns();
}
