#include "base/StringTokenizer.h"

#include <cstring>

StringTokenizer::StringTokenizer(Str const& text, char separator)
    : m_LastSep(0), m_PrevSep(0), m_Sep(separator), m_Start(-1), m_End(-1), m_Length(0), m_bSetMode(false)
{
    SetString(text);
}

StringTokenizer::StringTokenizer(Str const& text, Str const& separators)
    : m_Separators(separators), m_LastSep(0), m_PrevSep(0), m_Sep(0), m_Start(-1), m_End(-1), m_Length(0),
      m_bSetMode(true)
{
    SetString(text);
}

bool StringTokenizer::IsSeparator(char c) const
{
    if (m_bSetMode)
        return c != '\0' && strchr(m_Separators, c) != nullptr;
    return c == m_Sep;
}

long StringTokenizer::NextSeparator(long pos)
{
    for (long i = pos; i < m_Length; ++i) {
        char c = m_Text.GetBuffer()[i];
        if (IsSeparator(c)) {
            m_LastSep = c;
            return i;
        }
    }
    return -1;
}

void StringTokenizer::SetString(Str const& text)
{
    m_Text = text;
    m_Length = static_cast<long>(m_Text.GetLength());
    if (m_bSetMode) {
        m_Start = -1;
        m_End = -1;
        FindToken(0);
        return;
    }
    m_End = NextSeparator(0);
    m_Start = m_Length == 0 ? -1 : 0;
    if (m_Start == 0 && m_End == 0)
        FindNextToken();
}

void StringTokenizer::FindToken(long pos)
{
    if (!m_bSetMode) {
        m_Start = pos;
        m_End = NextSeparator(pos);
        return;
    }
    m_PrevSep = m_LastSep;
    char const* text = m_Text.GetBuffer();
    long i = pos;
    while (i < m_Length && IsSeparator(text[i]))
        m_LastSep = text[i++];
    if (i >= m_Length) {
        m_Start = -1;
        m_End = -1;
        return;
    }
    m_Start = i;
    m_End = NextSeparator(i + 1);
}

void StringTokenizer::FindNextToken()
{
    if (m_End == -1 || m_End == m_Length - 1) {
        m_Start = -1;
        return;
    }
    FindToken(m_End + 1);
}

Str StringTokenizer::GetNextToken()
{
    Str token;
    char* start;
    int length;
    if (GetNextToken(start, length))
        token.SetData(start, static_cast<size_t>(length));
    return token;
}

bool StringTokenizer::GetNextToken(char*& token, int& length)
{
    if (m_Start == -1)
        return false;
    long end = m_End == -1 ? m_Length : m_End;
    // The tokenizer owns its copy of the text, so handing out a writable
    // pointer into it is safe.
    token = const_cast<char*>(m_Text.GetBuffer()) + m_Start;
    length = static_cast<int>(end - m_Start);
    FindNextToken();
    return true;
}

Str StringTokenizer::GetRemainingString() const
{
    if (m_Start == -1 || m_Start >= m_Length)
        return Str();
    return Str(m_Text.GetBuffer() + m_Start);
}
