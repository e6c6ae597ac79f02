// Error sink that keeps finished messages, drops repeats, and replays them
// into another sink later.
#pragma once

#include "scanner/Array.h"
#include "scanner/ErrorSink.h"

#include <sstream>

namespace Lex {

class ErrorCollector : public ErrorSink {
public:
    // One held message.
    class Msg {
    public:
        Msg(ErrorSeverity const& severity, Location const& location, char const* text);
        Msg(ErrorSeverity const& severity, char const* text);
        ~Msg();

        // Equal flags, equal locations when shown, equal levels, equal texts.
        bool operator==(Msg const& other) const;
        // Writes this message into sink as one closed message.
        void Shift(ErrorSink& sink) const;

        ErrorSeverity const& severity() const { return m_severity; }
        char const* text() const { return m_text; }

    private:
        Msg(Msg const&) = delete;
        Msg& operator=(Msg const&) = delete;

        ErrorSeverity m_severity;
        Location m_location;
        bool m_bLocation;
        char* m_text;
    };

    ErrorCollector();
    ~ErrorCollector() override;

    ErrorCollector& operator<<(char const* text) override;
    ErrorCollector& operator<<(long value) override;
    ErrorCollector& operator<<(unsigned int value) override;
    ErrorCollector& operator<<(int value) override;
    ErrorCollector& operator<<(short value) override;
    ErrorCollector& operator<<(char value) override;
    ErrorCollector& operator<<(double value) override;
    // A message keeps the highest severity given to it.
    ErrorCollector& operator<<(ErrorSeverity const& severity) override;
    ErrorCollector& operator<<(Location location) override;
    ErrorCollector& operator<<(Printable const& object) override;
    ErrorCollector& operator<<(void (*manipulator)(ErrorSink&)) override;
    // Holds the message unless an equal one is held already.
    void endMessage() override;

    // Drops the open message; held messages stay.
    void clear();
    // The highest severity among the held messages (the first such one).
    ErrorSeverity severity() const;
    // The number of held messages.
    int index() const { return m_messages.count(); }
    // Deletes held messages from the end until n remain.
    void index(int n);
    // Replays the held messages in order into sink, then deletes them.
    void Shift(ErrorSink& sink);

private:
    ErrorCollector(ErrorCollector const&) = delete;
    ErrorCollector& operator=(ErrorCollector const&) = delete;

    Array<Msg*> m_messages;
    Location m_location;
    bool m_bLocation;
    ErrorSeverity m_severity;
    std::ostringstream m_buffer;
};

} // namespace Lex
