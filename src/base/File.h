// A file whose modification time can be recorded and later restored, and the
// splitting of paths into folder and file name.
#pragma once

#include "base/FileStat.h"
#include "base/Str.h"

class File {
public:
    File() : m_Fd(-1) {}
    explicit File(Str const& name) : m_Name(name), m_Fd(-1) {}

    Str const& GetName() const { return m_Name; }
    void SetName(Str const& name) { m_Name = name; }
    // The descriptor belongs to the owner of the File, who opens and closes it.
    int GetFd() const { return m_Fd; }
    void SetFd(int fd) { m_Fd = fd; }
    FileStat const& GetStat() const { return m_Stat; }

    // Records the file's status; false for an empty name or a failed stat.
    bool ReadTime();
    // Sets the recorded modification time back on the file, to the
    // nanosecond; false when none was recorded. A failure to set it still
    // answers true.
    bool RestoreMTime();

    static bool stat(char const* path, FileStat& record) { return record.stat(path); }
    // Writes all n bytes to fd, retrying short and interrupted writes.
    // False with errno set (ENOSPC when nothing more could be written).
    static bool WriteAll(int fd, char const* data, size_t n);
    // Sets access and modification time; on failure prints
    // "utime <date> failed: <errno>" and answers false.
    static bool SetMTime(char const* path, FileTime const& t);
    // The text before the last '/' or '\'; empty when there is none or it is
    // the first character.
    static Str ExtractFilePath(Str const& path);
    // The text after the last '/' or '\'; the whole text when there is none.
    static Str ExtractFileName(Str const& path);
    // Index of the later of the last '/' and the last '\', or -1.
    static long LastSeparator(char const* path);
    // The absolute path of an existing file or folder with every link
    // resolved; empty when it cannot be resolved.
    static Str RealPath(char const* path);

private:
    Str m_Name;
    int m_Fd;
    FileStat m_Stat;
};
