#include "base/Diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <utility>

namespace {

// Plain objects without destructors: reports stay possible while the
// process's other objects are destroyed (the log is closed last).
std::mutex s_Lock;
DiagnosticConsumer* s_pConsumer = nullptr;
int s_Errors = 0;
int s_Warnings = 0;
thread_local DiagnosticsLimit* s_pLimit = nullptr;

DiagnosticConsumer& Console()
{
    static DiagnosticConsumer* console = new ConsoleConsumer;
    return *console;
}

void CountLocked(DiagKind kind)
{
    if (kind == DiagKind::Error)
        ++s_Errors;
    else if (kind == DiagKind::Warning)
        ++s_Warnings;
}

} // namespace

bool ConsoleConsumer::Handle(Diagnostic const& diagnostic)
{
    FILE* stream = diagnostic.stream == DiagStream::Err ? stderr : stdout;
    if (diagnostic.flush == DiagFlush::OutBefore)
        fflush(stdout);
    std::string const& text = diagnostic.text;
    bool ok = fwrite(text.data(), 1, text.size(), stream) == text.size();
    // Standard error is flushed at every text, as stdio leaves it unbuffered.
    if ((diagnostic.flush == DiagFlush::After || stream == stderr) && fflush(stream) != 0)
        ok = false;
    return ok;
}

bool CapturingConsumer::Handle(Diagnostic const& diagnostic)
{
    m_Entries.push_back(Entry{diagnostic.kind, diagnostic.stream, diagnostic.text});
    return true;
}

std::string CapturingConsumer::Joined(DiagStream stream) const
{
    std::string text;
    for (Entry const& entry : m_Entries)
        if (entry.stream == stream)
            text += entry.text;
    return text;
}

std::string CapturingConsumer::All() const
{
    std::string text;
    for (Entry const& entry : m_Entries)
        text += entry.text;
    return text;
}

bool Diagnostics::Report(DiagKind kind, DiagStream stream, DiagFlush flush, std::string const& text)
{
    bool problem = kind == DiagKind::Error || kind == DiagKind::Warning || kind == DiagKind::Recovered;
    bool shown = !problem || !s_pLimit || s_pLimit->Admit();
    std::lock_guard<std::mutex> hold(s_Lock);
    CountLocked(kind);
    if (!shown)
        return true;
    DiagnosticConsumer& consumer = s_pConsumer ? *s_pConsumer : Console();
    return consumer.Handle(Diagnostic{kind, stream, flush, text});
}

bool Diagnostics::Printf(DiagKind kind, DiagFlush flush, char const* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<size_t>(length) + 1);
        vsnprintf(&text[0], text.size(), format, again);
        text.resize(static_cast<size_t>(length));
    }
    va_end(again);
    return Report(kind, DiagStream::Out, flush, text);
}

void Diagnostics::Count(DiagKind kind)
{
    std::lock_guard<std::mutex> hold(s_Lock);
    CountLocked(kind);
}

int Diagnostics::GetErrorCount()
{
    std::lock_guard<std::mutex> hold(s_Lock);
    return s_Errors;
}

int Diagnostics::GetWarningCount()
{
    std::lock_guard<std::mutex> hold(s_Lock);
    return s_Warnings;
}

void Diagnostics::ResetCounts()
{
    std::lock_guard<std::mutex> hold(s_Lock);
    s_Errors = 0;
    s_Warnings = 0;
}

DiagnosticConsumer* Diagnostics::Install(DiagnosticConsumer* consumer)
{
    std::lock_guard<std::mutex> hold(s_Lock);
    DiagnosticConsumer* previous = s_pConsumer;
    s_pConsumer = consumer;
    return previous;
}

DiagnosticsLimit::DiagnosticsLimit(std::string what, int shown)
    : m_What(std::move(what)), m_Left(shown), m_Hidden(0), m_pOuter(s_pLimit)
{
    s_pLimit = this;
}

DiagnosticsLimit::~DiagnosticsLimit()
{
    s_pLimit = m_pOuter;
    if (m_Hidden == 0)
        return;
    std::string text = m_What + " : info: " + std::to_string(m_Hidden) +
                       (m_Hidden == 1 ? " more error or warning is" : " more errors and warnings are") +
                       " not shown\n";
    Diagnostics::Report(DiagKind::Info, DiagStream::Err, DiagFlush::OutBefore, text);
}

bool DiagnosticsLimit::Admit()
{
    if (m_Left > 0) {
        --m_Left;
        return true;
    }
    ++m_Hidden;
    return false;
}
