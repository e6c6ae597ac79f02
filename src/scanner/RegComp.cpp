#include "scanner/RegComp.h"

#include "scanner/ErrorStream.h"

#include <cstring>
#include <vector>

namespace Lex {

namespace {

// A missing pattern counts as the empty one.
char* copy_text(char const* text)
{
    if (!text)
        text = "";
    size_t len = std::strlen(text);
    char* copy = new char[len + 1];
    std::memcpy(copy, text, len + 1);
    return copy;
}

} // namespace

RegComp::RegComp(char const* pattern, int flags)
    : m_pattern(copy_text(pattern)), m_regex(), m_result(regcomp(&m_regex, m_pattern, flags)), m_match(0),
      m_flags(flags)
{
}

RegComp::RegComp(RegComp const& other)
    : m_pattern(copy_text(other.m_pattern)), m_regex(), m_result(regcomp(&m_regex, m_pattern, other.m_flags)),
      m_match(0), m_flags(other.m_flags)
{
}

RegComp::~RegComp()
{
    // A failed compilation leaves nothing to free.
    if (m_result == 0)
        regfree(&m_regex);
    delete[] m_pattern;
}

bool RegComp::compile(char const* pattern, int flags)
{
    // Keep the text in step with the expression so that copies compile the same.
    char* text = copy_text(pattern);
    delete[] m_pattern;
    m_pattern = text;
    m_flags = flags;
    if (m_result == 0)
        regfree(&m_regex);
    m_result = regcomp(&m_regex, m_pattern, flags);
    m_match = 0;
    return m_result == 0;
}

bool RegComp::match(char const* text, int flags)
{
    if (m_result != 0 || !text)
        return false;
    m_match = regexec(&m_regex, text, 0, nullptr, flags);
    return m_match == 0;
}

void RegComp::comperror(ErrorStream& err) const
{
    int code = m_result != 0 ? m_result : m_match;
    if (code == 0 || code == REG_NOMATCH)
        return;
    size_t len = regerror(code, &m_regex, nullptr, 0);
    std::vector<char> text(len + 1, '\0');
    regerror(code, &m_regex, text.data(), text.size());
    err << sev_error << "RegComp: " << text.data() << Lex::endMessage;
}

} // namespace Lex
