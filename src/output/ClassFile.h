// One generated class written in one go: a guarded header <folder>/<name>.h
// with includes, forward declarations and the class text, and, when there is
// implementation text, <folder>/<name>.cpp beside it.
#pragma once

#include "base/Map.h"
#include "base/Str.h"

class CppFile;

class ClassFile {
public:
    explicit ClassFile(Str const& name = Str());

    void SetName(Str const& name) { m_Name = name; }
    Str const& GetName() const { return m_Name; }
    // folder + "/" + name + ".h".
    Str GetFilePath(Str const& folder) const;
    void WriteIncludesAndForwards(CppFile& file);
    // Writes the header (and the .cpp file when the implementation text is
    // not empty); false when a file could not be written.
    bool WriteClass(char const* folder, char const* declarationText);

    // Names to include in the header.
    StringSet m_Includes;
    // Class names to declare in the header.
    StringSet m_Forwards;
    // Declarations written as they are after the includes (forward
    // declarations inside a namespace of their own).
    Str m_ForwardText;
    Str m_Name;
    Str m_ImplText;
};
