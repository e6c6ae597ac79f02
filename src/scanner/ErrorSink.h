// The scanner layer's message channel: severities and the abstract sink that
// messages are written into piece by piece and closed with endMessage.
#pragma once

#include "scanner/Location.h"
#include "scanner/Printable.h"

#include <cstdint>

namespace Lex {

// A severity level with its printed name. Severities compare by level only.
struct ErrorSeverity {
    uint16_t level;
    char const* text;
};

inline bool operator==(ErrorSeverity const& a, ErrorSeverity const& b) { return a.level == b.level; }
inline bool operator!=(ErrorSeverity const& a, ErrorSeverity const& b) { return a.level != b.level; }
inline bool operator<(ErrorSeverity const& a, ErrorSeverity const& b) { return a.level < b.level; }
inline bool operator>(ErrorSeverity const& a, ErrorSeverity const& b) { return a.level > b.level; }

inline constexpr ErrorSeverity sev_none{0, "none"};
inline constexpr ErrorSeverity sev_message{100, "message"};
inline constexpr ErrorSeverity sev_warning{200, "warning"};
inline constexpr ErrorSeverity sev_error{300, "error"};
inline constexpr ErrorSeverity sev_fatal{400, "fatal"};

// Receives one message at a time: a severity, optionally a location, text and
// numbers, closed by the manipulator endMessage.
class ErrorSink {
public:
    virtual ErrorSink& operator<<(char const* text) = 0;
    virtual ErrorSink& operator<<(long value) = 0;
    virtual ErrorSink& operator<<(unsigned int value) = 0;
    virtual ErrorSink& operator<<(int value) = 0;
    virtual ErrorSink& operator<<(short value) = 0;
    virtual ErrorSink& operator<<(char value) = 0;
    virtual ErrorSink& operator<<(double value) = 0;
    virtual ErrorSink& operator<<(ErrorSeverity const& severity) = 0;
    virtual ErrorSink& operator<<(Location location) = 0;
    virtual ErrorSink& operator<<(Printable const& object) = 0;
    virtual ErrorSink& operator<<(void (*manipulator)(ErrorSink&)) = 0;
    virtual void endMessage() = 0;
    virtual ~ErrorSink() {}
};

// Closes the message being built: sink << ... << Lex::endMessage.
void endMessage(ErrorSink& sink);

} // namespace Lex
