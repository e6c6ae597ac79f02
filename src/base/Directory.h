// Reading a folder, and static helpers for the current folder, creating
// folders and turning paths absolute or relative. Paths are resolved with
// realpath and stat; the process's current folder is never changed.
#pragma once

#include "base/Str.h"

#include <dirent.h>

class Directory {
public:
    Directory() : m_pError(nullptr), m_pDir(nullptr) {}
    ~Directory();

    // Opens the folder stream; on failure the error text is "failed to open dir".
    bool Open(char const* path);
    // The next entry other than "." and ".."; null at the end or when closed.
    char const* NextEntry();
    // False when no folder is open; on failure the error text is
    // "failed to close dir".
    bool Close();
    // The error text of the last failure, null when none.
    char const* GetError() const { return m_pError; }

    static char* getcwd(char* buf, unsigned long size);
    static bool chdir(char const* path);
    // Creates one folder, mode 0777 less the process mask.
    static bool mkdir(char const* path);
    // True when path is a folder that can be entered.
    static bool exists(char const* path);
    // The current folder, of any length; empty when it cannot be read.
    static Str CurrentDir();
    // Creates the folder and its missing parents ('\' read as '/'); answers
    // the result of the last mkdir, so false when the folder existed.
    static bool CreateRecursive(Str path);
    // The absolute path of a folder that can be entered, links resolved;
    // empty otherwise.
    static Str MakeAbsPath(Str const& path);
    // MakeAbsPath of base + "/" + path.
    static Str MakeAbsPath(Str const& base, Str const& path);
    // Creates the folder with its parents unless this run made or found it
    // already, and answers MakeAbsPath of it.
    static Str MakeFolder(Str const& path);
    // A run resolves an absolute folder path and makes a folder once:
    // resolving costs a system call per path component. Forgets both at
    // the start of a run, so that it sees the folders as they are now.
    static void ForgetResolvedFolders();
    // The path relative to the folder base, in "./" and "../" forms. A path
    // shorter than base is answered as it is.
    static Str MakeRelPath(Str base, Str path);

private:
    Directory(Directory const&) = delete;
    Directory& operator=(Directory const&) = delete;

    char const* m_pError;
    DIR* m_pDir;
};
