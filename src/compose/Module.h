// The files of one folder and base name: a declaration slot and an
// implementation slot, each a parse unit.
#pragma once

#include "base/FileName.h"
#include "base/FileStat.h"
#include "base/Str.h"
#include "compose/ParseUnit.h"

#include <cstddef>
#include <ctime>
#include <new>

class CTokenListener;
class ParseProject;

class Module {
public:
    // Modules, and the copies made for mixins, live until the end of the
    // run. Allocating them here names them for the leak checker, which is
    // told to let them be.
    static void* operator new(std::size_t size) { return ::operator new(size); }
    static void operator delete(void* p) { ::operator delete(p); }

    // File types by extension (compared without regard to case).
    enum FileType {
        FT_NONE = 0,
        FT_CPP = 1,    // h, cc, cpp
        FT_ASPECT = 2, // ah, acc
        FT_CS = 3,     // cs
        FT_JAK = 4,    // jak
        FT_JAVA = 5    // java
    };

    Module(ParseProject& project, Str const& folder);
    // Name, folder and type of other, with new units holding other's files;
    // no parse result is shared.
    Module(Module& other);
    Module& operator=(Module const&) = delete;

    // Puts the file into its slot; false when it is of no module kind or
    // the slot already holds a file.
    bool AddFile(FileName const& file);

    static bool IsDeclFile(FileName const& file);
    static bool IsImplFile(FileName const& file);
    static int GetFileType(char const* extension);
    // "cpp" for h, "acc" for ah, "cpp" for anything else.
    static char const* ConvertToImplFileExt(Str const& extension);

    // Parses the units that hold a file; true when at least one parse
    // succeeded.
    bool Parse(bool verbose);
    // Whether the module's file (the declaration's, else the
    // implementation's) is strictly newer than t.
    bool HasChanged(FileTimeNs t) const;
    // The earliest time its files had when they were read, when one of them
    // was modified since; 0 when none was.
    FileTimeNs GetTimeBeforeEdit() const;
    // path relative to the module's folder.
    Str RelPath(Str const& path) const;
    ParseUnit* SetTokenListener(CTokenListener* listener);
    // Writes the declaration unit's record.
    int SaveInfo(int fd);
    void PrintDebugInfo();

    Str const& GetName() const { return m_Name; }
    Str const& GetFolder() const { return m_Folder; }
    int GetType() const { return m_FileType; }
    ParseUnit& GetDecl() { return m_Decl; }
    ParseUnit& GetImpl() { return m_Impl; }
    ParseUnit const& GetDecl() const { return m_Decl; }
    ParseUnit const& GetImpl() const { return m_Impl; }
    ParseProject& GetProject() const { return m_Decl.GetProject(); }

    Str m_Name;
    Str m_Folder;
    ParseUnit m_Decl;
    ParseUnit m_Impl;
    int m_FileType;
};
