// What the parse driver needs of the project that runs it: the error stream
// on standard error into which the parser's collected messages are shifted.
// The composition project derives from it.
#pragma once

#include "scanner/ErrorStream.h"

#include <iostream>

class ParseProject {
public:
    explicit ParseProject(std::ostream& errors = std::cerr) : m_Errors(errors) {}
    virtual ~ParseProject() {}
    ParseProject(ParseProject const&) = delete;
    ParseProject& operator=(ParseProject const&) = delete;

    Lex::ErrorStream& GetErrorStream() { return m_Errors; }

private:
    Lex::ErrorStream m_Errors;
};
