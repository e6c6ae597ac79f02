#include "scanner/ErrorStream.h"

#include <string>

namespace Lex {

ErrorStream::ErrorStream(std::ostream& out)
    : m_out(out), m_highest(sev_none), m_severity(sev_none), m_bLocation(false),
      m_buffer(new std::ostringstream), m_bSilent(false)
{
}

ErrorStream::~ErrorStream() {}

ErrorStream& ErrorStream::operator<<(char const* text)
{
    *m_buffer << (text ? text : "(null)");
    return *this;
}

ErrorStream& ErrorStream::operator<<(long value)
{
    *m_buffer << value;
    return *this;
}

ErrorStream& ErrorStream::operator<<(unsigned int value)
{
    *m_buffer << value;
    return *this;
}

ErrorStream& ErrorStream::operator<<(int value)
{
    *m_buffer << value;
    return *this;
}

ErrorStream& ErrorStream::operator<<(short value)
{
    *m_buffer << value;
    return *this;
}

ErrorStream& ErrorStream::operator<<(char value)
{
    *m_buffer << value;
    return *this;
}

ErrorStream& ErrorStream::operator<<(double value)
{
    *m_buffer << value;
    return *this;
}

ErrorStream& ErrorStream::operator<<(ErrorSeverity const& severity)
{
    m_severity = severity;
    if (severity.level > m_highest.level)
        m_highest = severity;
    return *this;
}

ErrorStream& ErrorStream::operator<<(Location location)
{
    m_location = location;
    m_bLocation = !location.empty() && location.filename().name() != nullptr;
    return *this;
}

ErrorStream& ErrorStream::operator<<(Printable const& object)
{
    object.print(*m_buffer);
    return *this;
}

ErrorStream& ErrorStream::operator<<(void (*manipulator)(ErrorSink&))
{
    manipulator(*this);
    return *this;
}

void ErrorStream::endMessage()
{
    *m_buffer << '\0';
    if (!m_bSilent) {
        std::string text = m_buffer->str();
        if (m_bLocation) {
            m_location.print(m_out);
            m_out << ": ";
        }
        if (m_severity.level != 0)
            m_out << m_severity.text << ": ";
        m_out << text.c_str() << '\n';
        m_out.flush();
    }
    clear();
}

void ErrorStream::clear()
{
    m_severity = sev_none;
    m_bLocation = false;
    m_buffer.reset(new std::ostringstream);
}

void ErrorStream::reset()
{
    m_highest = sev_none;
    clear();
}

ErrorStream& ErrorStream::silent()
{
    m_bSilent = true;
    return *this;
}

ErrorStream& ErrorStream::loud()
{
    m_bSilent = false;
    return *this;
}

} // namespace Lex
