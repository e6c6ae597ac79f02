#include "scanner/ErrorStream.h"

#include "scanner/ControlBytes.h"
#include "scanner/MessageOutput.h"

#include <sstream>
#include <string>

namespace Lex {

ErrorStream::Listener ErrorStream::s_listener = nullptr;

void ErrorStream::listener(Listener told)
{
    s_listener = told;
}

ErrorStream::ErrorStream()
    : m_out(nullptr), m_highest(sev_none), m_severity(sev_none), m_bLocation(false),
      m_buffer(new std::ostringstream), m_bSilent(false), m_cap(sev_fatal)
{
}

ErrorStream::ErrorStream(std::ostream& out) : ErrorStream()
{
    m_out = &out;
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
    m_severity = severity.level > m_cap.level ? m_cap : severity;
    if (m_severity.level > m_highest.level)
        m_highest = m_severity;
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
        std::string line;
        if (m_bLocation) {
            // A file name holding a line break must not split the message.
            std::ostringstream where;
            m_location.print(where);
            line += ShowControlBytes(where.str().c_str());
            line += ": ";
        }
        if (m_severity.level != 0) {
            line += m_severity.text;
            line += ": ";
        }
        line += text.c_str();
        line += '\n';
        if (m_out) {
            *m_out << line;
            m_out->flush();
            if (s_listener)
                s_listener(m_severity);
        } else {
            message_output().message(m_severity, line);
        }
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

ErrorStream& ErrorStream::cap(ErrorSeverity const& highest)
{
    m_cap = highest;
    return *this;
}

} // namespace Lex
