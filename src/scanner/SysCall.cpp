#include "scanner/SysCall.h"

#include "scanner/ControlBytes.h"
#include "scanner/MessageOutput.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <string>
#include <utime.h>
#include <vector>

namespace Lex {

void SysCall::printerror(ErrorSink* sink, char const* name, char const* argument)
{
    int err = errno;
    // The argument is a path: a line break in it must not split the message.
    std::string shown = ShowControlBytes(argument);
    if (sink)
        *sink << sev_fatal << "SysCall::" << name << "(): " << (argument ? shown.c_str() : nullptr) << ": "
              << std::strerror(err) << Lex::endMessage;
}

void SysCall::printerror(ErrorSink* sink, char const* name, int argument)
{
    int err = errno;
    if (sink)
        *sink << sev_fatal << "SysCall::" << name << "(): " << argument << ": " << std::strerror(err)
              << Lex::endMessage;
}

void SysCall::printerror(ErrorSink* sink, char const* name)
{
    int err = errno;
    if (sink)
        *sink << sev_fatal << "SysCall::" << name << "(): " << std::strerror(err) << Lex::endMessage;
}

int SysCall::open(char const* path, int flags, ErrorSink* sink)
{
    // The mode only counts when flags create the file.
    int fd = ::open(path, flags, 0666);
    if (fd == -1)
        printerror(sink, "open", path);
    return fd;
}

bool SysCall::close(int fd, ErrorSink* sink)
{
    if (::close(fd) == 0)
        return true;
    printerror(sink, "close", fd);
    return false;
}

long SysCall::read(int fd, void* buf, unsigned long n, ErrorSink* sink)
{
    long count = ::read(fd, buf, n);
    if (count == -1)
        printerror(sink, "read", fd);
    return count;
}

long SysCall::write(int fd, void* buf, unsigned long n, ErrorSink* sink)
{
    long count = ::write(fd, buf, n);
    if (count == -1)
        printerror(sink, "write", fd);
    return count;
}

bool SysCall::chdir(char const* path, ErrorSink* sink)
{
    if (::chdir(path) == 0)
        return true;
    printerror(sink, "chdir", path);
    return false;
}

char* SysCall::getcwd(char* buf, unsigned long size, ErrorSink* sink)
{
    if (::getcwd(buf, size))
        return buf;
    printerror(sink, "getcwd");
    return nullptr;
}

char* SysCall::readlink(char const* path, char* buf, unsigned long size, ErrorSink* sink)
{
    ssize_t len = ::readlink(path, buf, size);
    if (len >= 0 && static_cast<unsigned long>(len) >= size) {
        // The text filled the buffer: it may be cut and leaves no room for
        // the terminator.
        len = -1;
        errno = ENAMETOOLONG;
    }
    if (len < 0) {
        printerror(sink, "readlink", path);
        return nullptr;
    }
    buf[len] = '\0';
    return buf;
}

bool SysCall::readlink(char const* path, std::string& text, ErrorSink* sink)
{
    std::vector<char> buf(256);
    while (!readlink(path, buf.data(), buf.size(), nullptr)) {
        if (errno != ENAMETOOLONG) {
            printerror(sink, "readlink", path);
            return false;
        }
        buf.resize(buf.size() * 2);
    }
    text = buf.data();
    return true;
}

std::string SysCall::linkedPath(std::string const& link, std::string const& text)
{
    if (!text.empty() && text[0] == '/')
        return text;
    size_t slash = link.rfind('/');
    return slash == std::string::npos ? text : link.substr(0, slash + 1) + text;
}

bool SysCall::createlink(char const* link, char const* target)
{
    return ::symlink(target, link) == 0;
}

time_t SysCall::time(time_t* t, ErrorSink* sink)
{
    time_t now = ::time(t);
    if (now == static_cast<time_t>(-1))
        printerror(sink, "time");
    return now;
}

bool SysCall::fstat(int fd, FileInfo& info, ErrorSink* sink)
{
    if (::fstat(fd, &info) == 0)
        return true;
    printerror(sink, "fstat", fd);
    return false;
}

bool SysCall::stat(char const* path, FileInfo& info, ErrorSink* sink)
{
    if (::stat(path, &info) == 0)
        return true;
    printerror(sink, "stat", path);
    return false;
}

bool SysCall::mkdir(char const* path, ErrorSink* sink)
{
    if (::mkdir(path, 0777) == 0)
        return true;
    printerror(sink, "mkdir", path);
    return false;
}

DIR* SysCall::opendir(char const* path, ErrorSink* sink)
{
    DIR* dir = ::opendir(path);
    if (!dir)
        printerror(sink, "opendir", path);
    return dir;
}

char const* SysCall::readdir(DIR* dir, ErrorSink*, bool* regular)
{
    while (dirent* entry = ::readdir(dir)) {
        char const* name = entry->d_name;
        if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) {
            if (regular)
                *regular = entry->d_type == DT_REG;
            return name;
        }
    }
    return nullptr;
}

bool SysCall::closedir(DIR* dir, ErrorSink* sink)
{
    if (::closedir(dir) == 0)
        return true;
    printerror(sink, "closedir");
    return false;
}

FILE* SysCall::fopen(char const* path, char const* mode, ErrorSink* sink)
{
    FILE* file = std::fopen(path, mode);
    if (!file)
        printerror(sink, "fopen", path);
    return file;
}

bool SysCall::fclose(FILE* file, ErrorSink* sink)
{
    if (std::fclose(file) == 0)
        return true;
    printerror(sink, "fclose");
    return false;
}

bool SysCall::remove(char const* path)
{
    return std::remove(path) == 0;
}

namespace {

// "utime <date> failed: <errno>" for standard output.
void PrintTimeFailure(time_t t, int err)
{
    // ctime gives a date text ending in a newline, or null for a time it
    // cannot render; then the seconds stand in for it.
    std::string date;
    if (char const* text = std::ctime(&t))
        date = text;
    else
        date = std::to_string(static_cast<long long>(t));
    message_output().note("utime " + date + " failed: " + std::to_string(err) + "\n");
}

} // namespace

bool SysCall::SetFileTime(char const* path, time_t const& t, bool)
{
    utimbuf times;
    times.actime = t;
    times.modtime = t;
    if (::utime(path, &times) == 0)
        return true;
    PrintTimeFailure(t, errno);
    return false;
}

bool SysCall::SetFileTimeNs(char const* path, long long ns)
{
    timespec times[2];
    if (ns < 0) {
        times[0].tv_sec = times[1].tv_sec = 0;
        times[0].tv_nsec = times[1].tv_nsec = UTIME_NOW;
    } else {
        times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(ns / 1000000000LL);
        times[0].tv_nsec = times[1].tv_nsec = static_cast<long>(ns % 1000000000LL);
    }
    if (::utimensat(AT_FDCWD, path, times, 0) == 0)
        return true;
    PrintTimeFailure(ns < 0 ? std::time(nullptr) : times[1].tv_sec, errno);
    return false;
}

void SysCall::MakeUnixPath(char* path)
{
    if (!path)
        return;
    for (char* p = path; *p; ++p)
        if (*p == '\\')
            *p = '/';
}

void SysCall::MakeDosPath(char*) {}

} // namespace Lex
