// A compiled POSIX regular expression.
#pragma once

#include <regex.h>

namespace Lex {

class ErrorStream;

class RegComp {
public:
    RegComp(char const* pattern, int flags);
    RegComp(RegComp const& other);
    ~RegComp();

    // Compiles a new pattern in place; true on success.
    bool compile(char const* pattern, int flags);
    // True when some part of text matches; false when the pattern did not compile.
    bool match(char const* text, int flags);
    // Reports a failed compilation or match as "RegComp: <reason>" at error
    // severity; nothing for success or no match.
    void comperror(ErrorStream& err) const;

    char const* pattern() const { return m_pattern; }
    bool compiled() const { return m_result == 0; }

private:
    RegComp& operator=(RegComp const&) = delete;

    char* m_pattern;
    regex_t m_regex;
    int m_result;
    int m_match;
    int m_flags;
};

} // namespace Lex
