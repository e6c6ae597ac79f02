// What the parser needs of the project that runs it: the error stream that
// the messages of every parsed file end in. The parse project implements it.
#pragma once

namespace Lex {
class ErrorStream;
}

class ParseServices {
public:
    virtual ~ParseServices() {}

    virtual Lex::ErrorStream& GetErrorStream() = 0;
};
