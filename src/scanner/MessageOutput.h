// Where the scanner's console texts go. The scanner prints nothing itself:
// the layers above install an output that hands the texts to their message
// service. Without one, the texts go straight to the process's streams, as
// the C++ error stream and stdio write them.
#pragma once

#include "scanner/ErrorSink.h"

#include <string>

namespace Lex {

class MessageOutput {
public:
    virtual ~MessageOutput() {}
    // A finished line of a console error stream with the message's severity,
    // for standard error; standard output is flushed first, as the C++ error
    // stream that wrote it did.
    virtual void message(ErrorSeverity const& severity, std::string const& line) = 0;
    // A last word before the process ends, for standard error, unflushed.
    virtual void failure(std::string const& text) = 0;
    // A note for standard output, buffered with the rest of it.
    virtual void note(std::string const& text) = 0;
};

// Installs the output; null restores the direct one.
void message_output(MessageOutput* output);
MessageOutput& message_output();

} // namespace Lex
