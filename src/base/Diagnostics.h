// The one path of every console text of the tool. Errors, warnings, infos,
// progress lines, listings and the tool's own output failures are reported
// to the engine with their kind, their stream and their exact bytes; the
// installed consumer writes them. Without an installed consumer the console
// consumer writes each text to its stream as stdio does, flushing as the
// text asks, so that standard output and standard error interleave as the
// reports were made.
//
// The engine counts the errors and warnings of a run; the driver decides the
// exit code from them. Reports may come from several threads.
#pragma once

#include <string>
#include <vector>

enum class DiagKind {
    Error,
    Warning,
    // A fault of the input that the parser skips over; not counted as an
    // error, the run goes on and does not fail for it.
    Recovered,
    // A message line of the log, or a remark of the tool.
    Info,
    // A line that tells how far the run has come.
    Progress,
    // Usage, statistics and other listings asked for.
    Listing,
    // The tool could not write its log, or ends for lack of memory.
    Failure,
};

enum class DiagStream { Out, Err };

// What the console flushes around the text.
enum class DiagFlush {
    None,
    // Its stream, after the text.
    After,
    // Standard output, before the text: standard error written by a C++
    // stream that is tied to standard output.
    OutBefore,
};

struct Diagnostic {
    DiagKind kind;
    DiagStream stream;
    DiagFlush flush;
    std::string const& text;
};

class DiagnosticConsumer {
public:
    virtual ~DiagnosticConsumer() {}
    // False when the text could not be written.
    virtual bool Handle(Diagnostic const& diagnostic) = 0;
};

// Writes to the process's standard output and standard error.
class ConsoleConsumer : public DiagnosticConsumer {
public:
    bool Handle(Diagnostic const& diagnostic) override;
};

// Keeps every text, per stream and in the order reported.
class CapturingConsumer : public DiagnosticConsumer {
public:
    struct Entry {
        DiagKind kind;
        DiagStream stream;
        std::string text;
    };

    bool Handle(Diagnostic const& diagnostic) override;

    // The texts of one stream, joined.
    std::string Out() const { return Joined(DiagStream::Out); }
    std::string Err() const { return Joined(DiagStream::Err); }
    // Both streams, interleaved as reported.
    std::string All() const;
    std::vector<Entry> const& Entries() const { return m_Entries; }
    void Clear() { m_Entries.clear(); }

private:
    std::string Joined(DiagStream stream) const;

    std::vector<Entry> m_Entries;
};

class Diagnostics {
public:
    // Hands the text to the installed consumer and counts an error or a
    // warning; false when the consumer could not write it.
    static bool Report(DiagKind kind, DiagStream stream, DiagFlush flush, std::string const& text);
    // The printf-formatted text for standard output.
    static bool Printf(DiagKind kind, DiagFlush flush, char const* format, ...)
        __attribute__((format(printf, 3, 4)));

    // Counts a message that was written elsewhere (a stream of the scanner
    // with its own target).
    static void Count(DiagKind kind);
    static int GetErrorCount();
    static int GetWarningCount();
    static bool HasErrors() { return GetErrorCount() > 0; }
    // No errors and no warnings.
    static void ResetCounts();

    // Installs the consumer (null for the console) and returns the one
    // installed before.
    static DiagnosticConsumer* Install(DiagnosticConsumer* consumer);
};

// Installs a consumer for its lifetime and then restores the one before.
class DiagnosticsGuard {
public:
    explicit DiagnosticsGuard(DiagnosticConsumer& consumer) : m_pPrevious(Diagnostics::Install(&consumer)) {}
    ~DiagnosticsGuard() { Diagnostics::Install(m_pPrevious); }
    DiagnosticsGuard(DiagnosticsGuard const&) = delete;
    DiagnosticsGuard& operator=(DiagnosticsGuard const&) = delete;

private:
    DiagnosticConsumer* m_pPrevious;
};

// While it lives, shows at most a few of the errors and warnings reported on
// its thread, and then how many more there were: one mistake (a binary file,
// a lost brace) gives a few lines, not thousands. The hidden ones still count.
class DiagnosticsLimit {
public:
    // What the messages are about (a file name) and how many are shown.
    explicit DiagnosticsLimit(std::string what, int shown = 20);
    ~DiagnosticsLimit();
    DiagnosticsLimit(DiagnosticsLimit const&) = delete;
    DiagnosticsLimit& operator=(DiagnosticsLimit const&) = delete;

    // False when the message is one too many and is not to be shown.
    bool Admit();

private:
    std::string m_What;
    int m_Left;
    int m_Hidden;
    DiagnosticsLimit* m_pOuter;
};
