// A path split once, at construction, into name, folder, extension, the path
// as given, and the folder-and-name key.
#pragma once

#include "base/Str.h"

class FileName {
public:
    FileName() {}
    // Splits at the later of the last '/' and '\', and the name at its last
    // '.'; a folder part that can be entered is made absolute.
    FileName(char const* path);
    virtual ~FileName() {}

    // The name without extension.
    Str const& GetName() const { return m_Name; }
    // The folder, absolute when it could be entered, else as given.
    Str const& GetDir() const { return m_Dir; }
    // The text after the name's last '.'.
    Str const& GetExt() const { return m_Ext; }
    // The path as given.
    Str const& GetPath() const { return m_Path; }
    // The folder, "/" and the name without extension.
    Str const& GetDirAndName() const { return m_DirAndName; }

    // Name, "." and extension; the dot also stands before an empty extension.
    Str NameWithExt() const;
    // Copies all parts of other, unless this one holds a name and overwrite
    // is false (then false and nothing changes).
    bool SetFile(FileName const& other, bool overwrite);

protected:
    Str m_Name;
    Str m_Dir;
    Str m_Ext;
    Str m_Path;
    Str m_DirAndName;
};
