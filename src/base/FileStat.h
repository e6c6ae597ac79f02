// A time stamp in seconds and a file status record.
#pragma once

#include <ctime>
#include <sys/stat.h>

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
};
