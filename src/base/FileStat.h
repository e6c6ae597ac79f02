// A time stamp in seconds, a modification time in nanoseconds and a file
// status record.
#pragma once

#include <ctime>
#include <sys/stat.h>

// A modification time in nanoseconds since the epoch, at the precision the
// file system keeps, so that an edit saved in the same second as a run is
// still seen as newer; 0 for none. Messages print whole seconds of it.
typedef long long FileTimeNs;

inline FileTimeNs MTimeNs(struct ::stat const& record)
{
    return static_cast<FileTimeNs>(record.st_mtim.tv_sec) * 1000000000LL + record.st_mtim.tv_nsec;
}

inline long long SecondsOf(FileTimeNs t)
{
    return t / 1000000000LL;
}

struct FileTime {
    FileTime(time_t seconds = 0) : m_Time(seconds) {}
    time_t m_Time;
};

// The system's status record of a file.
struct FileStat : public ::stat {
    FileStat();
    // Clears the record, then fills it from the file (symbolic links are
    // followed); true on success.
    bool stat(char const* path);
    bool is_dir() const { return S_ISDIR(st_mode); }
    FileTimeNs GetMTime() const { return MTimeNs(*this); }
};
