// Error sink that prints each finished message as one line, on an output
// stream or on the console through the installed message output.
#pragma once

#include "scanner/ErrorSink.h"

#include <memory>
#include <ostream>
#include <sstream>

namespace Lex {

// A line reads "<file>:<line>: " when the message has a location with a file
// name, "<severity>: " when its severity is not none, then the text.
class ErrorStream : public ErrorSink {
public:
    // Told the severity of every message that a stream prints on its own
    // output stream; the console's output learns it with the line.
    using Listener = void (*)(ErrorSeverity const& severity);
    // One listener for all streams of the process; null for none.
    static void listener(Listener told);

    // Prints to the console: each line goes to message_output().
    ErrorStream();
    explicit ErrorStream(std::ostream& out);
    ~ErrorStream() override;

    ErrorStream& operator<<(char const* text) override;
    ErrorStream& operator<<(long value) override;
    ErrorStream& operator<<(unsigned int value) override;
    ErrorStream& operator<<(int value) override;
    ErrorStream& operator<<(short value) override;
    ErrorStream& operator<<(char value) override;
    ErrorStream& operator<<(double value) override;
    // The last severity given wins for the message, lowered to the cap;
    // also raises the highest.
    ErrorStream& operator<<(ErrorSeverity const& severity) override;
    ErrorStream& operator<<(Location location) override;
    ErrorStream& operator<<(Printable const& object) override;
    ErrorStream& operator<<(void (*manipulator)(ErrorSink&)) override;
    void endMessage() override;

    // Drops the open message; the highest severity stays.
    void clear();
    // Forgets the highest severity, then clear().
    void reset();
    // A silent stream prints nothing but still tracks the highest severity.
    ErrorStream& silent();
    ErrorStream& loud();
    // Severities above the cap are printed and reported as the cap: a stream
    // for calls whose failure the run survives says "error", not "fatal".
    // The cap starts at fatal, which lowers nothing.
    ErrorStream& cap(ErrorSeverity const& highest);

    // The highest severity of the messages given since the last reset.
    ErrorSeverity const& severity() const { return m_highest; }

private:
    ErrorStream(ErrorStream const&) = delete;
    ErrorStream& operator=(ErrorStream const&) = delete;

    // Null for the console.
    std::ostream* m_out;
    ErrorSeverity m_highest;
    ErrorSeverity m_severity;
    Location m_location;
    bool m_bLocation;
    std::unique_ptr<std::ostringstream> m_buffer;
    bool m_bSilent;
    ErrorSeverity m_cap;
    static Listener s_listener;
};

} // namespace Lex
