#include "scanner/ErrorCollector.h"

#include "scanner/StrCol.h"

#include <cstring>
#include <string>

namespace Lex {

ErrorCollector::Msg::Msg(ErrorSeverity const& severity, Location const& location, char const* text)
    : m_severity(severity), m_location(location), m_bLocation(true), m_text(StrCol::dup(text ? text : ""))
{
}

ErrorCollector::Msg::Msg(ErrorSeverity const& severity, char const* text)
    : m_severity(severity), m_bLocation(false), m_text(StrCol::dup(text ? text : ""))
{
}

ErrorCollector::Msg::~Msg()
{
    delete[] m_text;
}

bool ErrorCollector::Msg::operator==(Msg const& other) const
{
    if (m_bLocation != other.m_bLocation)
        return false;
    if (m_bLocation && !(m_location == other.m_location))
        return false;
    return m_severity.level == other.m_severity.level && std::strcmp(m_text, other.m_text) == 0;
}

void ErrorCollector::Msg::Shift(ErrorSink& sink) const
{
    if (m_bLocation)
        sink << m_location;
    sink << m_severity << m_text << Lex::endMessage;
}

ErrorCollector::ErrorCollector()
    : m_messages(0, 5), m_bLocation(false), m_severity(sev_none)
{
    clear();
}

ErrorCollector::~ErrorCollector()
{
    // The held messages are owned.
    index(0);
}

ErrorCollector& ErrorCollector::operator<<(char const* text)
{
    m_buffer << (text ? text : "(null)");
    return *this;
}

ErrorCollector& ErrorCollector::operator<<(long value)
{
    m_buffer << value;
    return *this;
}

ErrorCollector& ErrorCollector::operator<<(unsigned int value)
{
    m_buffer << value;
    return *this;
}

ErrorCollector& ErrorCollector::operator<<(int value)
{
    m_buffer << value;
    return *this;
}

ErrorCollector& ErrorCollector::operator<<(short value)
{
    m_buffer << value;
    return *this;
}

ErrorCollector& ErrorCollector::operator<<(char value)
{
    m_buffer << value;
    return *this;
}

ErrorCollector& ErrorCollector::operator<<(double value)
{
    m_buffer << value;
    return *this;
}

ErrorCollector& ErrorCollector::operator<<(ErrorSeverity const& severity)
{
    if (severity.level > m_severity.level)
        m_severity = severity;
    return *this;
}

ErrorCollector& ErrorCollector::operator<<(Location location)
{
    m_location = location;
    m_bLocation = true;
    return *this;
}

ErrorCollector& ErrorCollector::operator<<(Printable const& object)
{
    object.print(m_buffer);
    return *this;
}

ErrorCollector& ErrorCollector::operator<<(void (*manipulator)(ErrorSink&))
{
    manipulator(*this);
    return *this;
}

void ErrorCollector::endMessage()
{
    // The buffer is rewound, not emptied, between messages: the text of this
    // message ends at the first NUL.
    m_buffer << '\0';
    std::string text = m_buffer.str();
    Msg* msg = m_bLocation ? new Msg(m_severity, m_location, text.c_str())
                           : new Msg(m_severity, text.c_str());
    bool held = false;
    for (int i = 0; i < m_messages.count() && !held; ++i)
        held = *m_messages[i] == *msg;
    if (held)
        delete msg;
    else
        m_messages.append(msg);
    clear();
}

void ErrorCollector::clear()
{
    m_severity = sev_none;
    m_bLocation = false;
    m_buffer.clear();
    m_buffer.seekp(0);
    m_buffer.clear();
}

ErrorSeverity ErrorCollector::severity() const
{
    ErrorSeverity highest = sev_none;
    for (int i = 0; i < m_messages.count(); ++i)
        if (m_messages[i]->severity().level > highest.level)
            highest = m_messages[i]->severity();
    return highest;
}

void ErrorCollector::index(int n)
{
    if (n < 0)
        n = 0;
    while (m_messages.count() > n) {
        delete m_messages.last();
        m_messages.remove_last();
    }
}

void ErrorCollector::Shift(ErrorSink& sink)
{
    for (int i = 0; i < m_messages.count(); ++i)
        m_messages[i]->Shift(sink);
    index(0);
}

} // namespace Lex
