// A disk for the change tests: the modification times set here answer for
// their files in place of those on the real disk, which answers everything
// else (whether a file exists, what it is). Installed while it lives.
#pragma once

#include "base/DiskInterface.h"

#include <map>
#include <string>

namespace testutil {

class VirtualDisk : public DiskInterface {
public:
    VirtualDisk() : m_pPrevious(DiskInterface::Install(this)) {}
    ~VirtualDisk() override { DiskInterface::Install(m_pPrevious); }
    VirtualDisk(VirtualDisk const&) = delete;
    VirtualDisk& operator=(VirtualDisk const&) = delete;

    void SetTime(std::string const& path, FileTimeNs t) { m_Times[path] = t; }
    // Whole seconds, as most tests think of times.
    void SetSeconds(std::string const& path, long long seconds) { SetTime(path, seconds * 1000000000LL); }

    bool Stat(char const* path, Lex::FileInfo& info, Lex::ErrorSink* errors) override
    {
        if (!m_pPrevious->Stat(path, info, errors))
            return false;
        auto found = m_Times.find(path);
        if (found != m_Times.end()) {
            info.st_mtim.tv_sec = static_cast<time_t>(found->second / 1000000000LL);
            info.st_mtim.tv_nsec = static_cast<long>(found->second % 1000000000LL);
        }
        return true;
    }

    FileTimeNs ReadTime(char const* path, Lex::FileInfo const& opened) override
    {
        auto found = m_Times.find(path);
        return found != m_Times.end() ? found->second : m_pPrevious->ReadTime(path, opened);
    }

private:
    DiskInterface* m_pPrevious;
    std::map<std::string, FileTimeNs> m_Times;
};

} // namespace testutil
