// Registered source folders with the files and folders found below them,
// handed out one by one through regular-expression filters.
#pragma once

#include "scanner/Array.h"
#include "scanner/Config.h"
#include "scanner/ErrorStream.h"
#include "scanner/Filename.h"
#include "scanner/RegComp.h"
#include "scanner/SysCall.h"

namespace Lex {

// One registered source folder and its destination; both texts end in '/'.
class PathInfo {
public:
    PathInfo() : m_src(nullptr), m_dest(nullptr) {}
    PathInfo(PathInfo const& other);
    PathInfo& operator=(PathInfo const& other);
    ~PathInfo();

    // A null text leaves the source unchanged.
    void src(char const* text);
    // Drops the destination, then stores text when given.
    void dest(char const* text);
    char const* src() const { return m_src; }
    char const* dest() const { return m_dest; }

private:
    char* m_src;
    char* m_dest;
};

// Walks a list of found names, giving those that its pattern matches. The
// pattern is an unanchored POSIX extended expression over the full path.
class PathIterator {
public:
    // A null pattern means ".*". A pattern that does not compile is reported
    // on standard error and matches nothing.
    explicit PathIterator(char const* pattern);

    // Replaces the pattern (null means ".*"); reports nothing.
    void pattern(char const* pattern);

    int position() const { return m_position; }
    // The name the last successful step gave.
    Filename const& file() const { return m_file; }

private:
    friend class PathManager;
    PathIterator(PathIterator const&) = delete;
    PathIterator& operator=(PathIterator const&) = delete;

    int m_position;
    RegComp m_pattern;
    Filename m_file;
};

// Walks the kept status records.
class FileInfoIterator {
public:
    FileInfoIterator() : m_position(0), m_info(nullptr) {}

    int position() const { return m_position; }
    FileInfo const* info() const { return m_info; }

private:
    friend class PathManager;

    int m_position;
    FileInfo const* m_info;
};

class PathManager {
public:
    // Reports to err, which it does not own.
    explicit PathManager(ErrorStream& err);
    virtual ~PathManager();

    // Called by glob for each match; does nothing here.
    virtual void action(PathIterator& it);
    // Registers src (a '/' is appended when missing) unless it lies in a
    // registered folder, and lists it: folders found go to the folder list
    // (and are listed too when recurse is set), other entries to the file
    // list; keepInfo keeps a copy of every entry's status record. With a
    // null src and a dest, registers only the destination.
    virtual void addPath(char const* src, char const* dest, bool recurse, bool keepInfo);
    // Whether file lies below one of the source folders.
    virtual bool isBelow(char const* file) const;
    // Reads the options "-w <pattern>", "-p <source>" and "-d <destination>".
    virtual void configure(Config const& config);
    // Adds the source folders (recursively) and protection patterns of other.
    virtual void join(PathManager& other);

    // The next found file (full path) that its pattern matches; null at the
    // end, and the next call starts over.
    char const* iterate(PathIterator& it) const;
    // The same over the found folders.
    char const* iterate_dirs(PathIterator& it) const;
    // The next kept status record; null at the end, and the next call starts over.
    FileInfo const* iterate(FileInfoIterator& it) const;
    // Calls action for every found file that pattern matches.
    void glob(char const* pattern);

    // Sets the destination of the last entry whose source is src exactly.
    void setDest(char const* src, char const* dest);
    // Adds a protection pattern; null is ignored.
    void protect(char const* pattern);
    // True when a protection pattern matches file or file lies below no
    // source folder; false for null.
    bool isProtected(char const* file) const;
    // True when file, or the target of the link it is, lies below one of the
    // source folders; out then receives the text that was found below.
    bool inPath(char const* file, Filename* out) const;
    // True when the resolved file lies in the resolved folder or below it.
    bool isBelow(char const* file, char const* folder) const;
    // A new[] copy of text ending in '/'; null for null.
    char* addSeparator(char const* text) const;

private:
    PathManager(PathManager const&) = delete;
    PathManager& operator=(PathManager const&) = delete;

    struct Chain;
    void traverse(char const* path, bool recurse, bool keepInfo, Chain const* chain);
    void addFile(Filename const& file);

    ErrorStream* m_err;
    Array<PathInfo> m_paths;
    Array<RegComp*> m_protect;
    Array<Filename> m_files;
    Array<Filename> m_dirs;
    Array<FileInfo*> m_infos;
};

} // namespace Lex
