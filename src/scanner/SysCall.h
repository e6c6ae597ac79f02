// Wrappers of the C-library and POSIX calls the tool makes. Each returns the
// call's result; most report a failure as one fatal message to an optional
// sink ("SysCall::<name>(): <argument>: <reason>").
#pragma once

#include "scanner/ErrorSink.h"

#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <string>
#include <sys/stat.h>

namespace Lex {

// The system's file status record.
struct FileInfo : public ::stat {
    bool is_folder() const { return S_ISDIR(st_mode); }
    off_t file_size() const { return st_size; }
    time_t mod_time() const { return st_mtime; }
    // The modification time in nanoseconds since the epoch.
    long long mod_time_ns() const
    {
        return static_cast<long long>(st_mtim.tv_sec) * 1000000000LL + st_mtim.tv_nsec;
    }
};

class SysCall {
public:
    // With a null sink a failure is silent.
    static int open(char const* path, int flags, ErrorSink* sink);
    static bool close(int fd, ErrorSink* sink);
    static long read(int fd, void* buf, unsigned long n, ErrorSink* sink);
    static long write(int fd, void* buf, unsigned long n, ErrorSink* sink);
    static bool chdir(char const* path, ErrorSink* sink);
    static char* getcwd(char* buf, unsigned long size, ErrorSink* sink);
    // size is the capacity of buf including the terminating NUL; a link text
    // that does not fit is a failure.
    static char* readlink(char const* path, char* buf, unsigned long size, ErrorSink* sink);
    // The whole link text of path, however long; false when path is no link.
    static bool readlink(char const* path, std::string& text, ErrorSink* sink);
    // The path that the link text names, seen from the link's own folder: an
    // absolute text as it is, a relative one in place of the link's last part.
    static std::string linkedPath(std::string const& link, std::string const& text);
    // Makes link a symbolic link whose text is target.
    static bool createlink(char const* link, char const* target);
    static time_t time(time_t* t, ErrorSink* sink);
    static bool fstat(int fd, FileInfo& info, ErrorSink* sink);
    // Follows symbolic links.
    static bool stat(char const* path, FileInfo& info, ErrorSink* sink);
    static bool mkdir(char const* path, ErrorSink* sink);
    static DIR* opendir(char const* path, ErrorSink* sink);
    // The next entry name other than "." and ".."; null after the last.
    // regular, when given, says whether the entry is known, without a
    // further system call, to be a regular file (not a link).
    static char const* readdir(DIR* dir, ErrorSink* sink, bool* regular = nullptr);
    static bool closedir(DIR* dir, ErrorSink* sink);
    static FILE* fopen(char const* path, char const* mode, ErrorSink* sink);
    static bool fclose(FILE* file, ErrorSink* sink);
    static bool remove(char const* path);
    // Sets access and modification time to t; a failure prints
    // "utime <date> failed: <errno>" on standard output.
    static bool SetFileTime(char const* path, time_t const& t, bool);
    // The same at nanosecond precision; a negative time means now.
    static bool SetFileTimeNs(char const* path, long long ns);
    // Turns every '\' into '/' in place.
    static void MakeUnixPath(char* path);
    static void MakeDosPath(char* path);

    // One fatal message built from errno; nothing for a null sink.
    static void printerror(ErrorSink* sink, char const* name, char const* argument);
    static void printerror(ErrorSink* sink, char const* name, int argument);
    // For calls without an argument to show.
    static void printerror(ErrorSink* sink, char const* name);
};

} // namespace Lex
