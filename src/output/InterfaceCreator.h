// Generates one class through the code model: a class builder over a new
// class of the given name, printed and closed with an extra body of member
// texts, written as a guarded header by a class file of the same name.
#pragma once

#include "base/Str.h"
#include "output/ClassFile.h"
#include "parser/InfoBuilder.h"

class InterfaceCreator {
public:
    explicit InterfaceCreator(Str const& name);
    InterfaceCreator(InterfaceCreator const&) = delete;
    InterfaceCreator& operator=(InterfaceCreator const&) = delete;

    // The printed class with its members.
    Str GetClassBody();
    // The printed class without its closing "};", then the extra body and
    // "};", written into folder/<name>.h; false when it could not be written.
    bool WriteFile(char const* folder);

    ClassFile m_ClassFile;
    ClassInfoBuilder m_Builder;
    Str m_Name;
    Str m_ExtraBody;
};
