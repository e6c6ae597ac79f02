// The plain parse project: parses every added module and writes the
// records of "files.txt". Nothing in the tool creates it.
#pragma once

#include "compose/ParseProject.h"

class CppParseProject : public ParseProject {
public:
    CppParseProject() {}
    ~CppParseProject() override {}

    static CppParseProject& GetInstance();
};
