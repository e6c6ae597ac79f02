// The system's message service. Every message becomes one console line for
// standard output ("file(line) : type: text", "mosa++" standing for a
// missing file), reported to the diagnostics engine, except those of the
// type "info_ext", and one MSG element in the XML log while a log is open.
// The log is opened once per run and closed by the driver, or at the latest
// when the process ends.
//
// A message that cannot be written to the console or to the log makes the
// run fail: HasFailed() tells the driver so. A failure of the log is also
// reported on standard error, once for each log.
//
// The engine counts the errors and warnings of a run: those of the log, those
// of the scanner's error streams, and those that other channels counted here
// (OnReported), so that the driver can tell from HasErrors() whether the run
// reported an error.
#pragma once

#include "base/Diagnostics.h"
#include "base/File.h"
#include "base/Str.h"

#include <set>
#include <string>

namespace Lex {
class Token;
struct ErrorSeverity;
}

class ErrorLog {
public:
    // Message types; a type with the text of InfoExt goes to the log only.
    static constexpr char Info[] = "info";
    static constexpr char InfoExt[] = "info_ext";
    static constexpr char Warning[] = "warning";
    static constexpr char Error[] = "error";

    constexpr ErrorLog() {}
    ErrorLog(ErrorLog const&) = delete;
    ErrorLog& operator=(ErrorLog const&) = delete;
    ~ErrorLog() { CloseLogFile(); }

    // Text, file name (may be null) and line (0 for none).
    static void OnUserInfo(char const* text, char const* file = nullptr, int line = 0);
    // Reaches the log only.
    static void OnInfo(char const* text, char const* file = nullptr, int line = 0);
    static void OnWarning(char const* text, char const* file = nullptr, int line = 0);
    static void OnError(char const* text, char const* file = nullptr, int line = 0);
    // File and line from the token's location; none when it has no file.
    static void OnWarning(char const* text, Lex::Token& token);
    static void OnError(char const* text, Lex::Token& token);
    // An error that the same look-up finds again each time it is repeated
    // in a run: only its first report is shown and counted.
    static void OnErrorOnce(char const* text, char const* file = nullptr, int line = 0);
    // Reads the token's position and outputs nothing.
    static void DebugMsg(char const* text, Lex::Token& token);

    // Console line and log element. A null type counts as "info", a null
    // text as the empty text. File and text are shown escaped (Escape), so
    // that a name holding a line break still gives one line. False when
    // either could not be written.
    static bool PrintMsg(char const* type, char const* text, char const* file, int line);
    // One element: <MSG type="..." file="..." line="..." >text</MSG>, with
    // file and text escaped (Escape), then every value and the text
    // XML-encoded; no line attribute without a file.
    static bool WriteLogMsg(char const* type, char const* text, char const* file, int line);
    // Lex::ShowControlBytes of the text, as a Str.
    static Str Escape(char const* text);
    // The text up to its first NUL to the open log; nothing without one.
    // False when the log could not take the whole text.
    static bool WriteLog(Str const& text);

    // Opens the log at the path (create, truncate) and writes "<log>\n";
    // nothing when a log is open; a failed open leaves no log.
    static void InitLogFile(char const* path);
    // Writes "</log>\n" and closes the open log; false when that failed.
    static bool CloseLogFile();
    // The open log's path; empty while none is open.
    static Str GetLogPath();

    // True once a message, or the end of a log, could not be written.
    static bool HasFailed();

    // Counts a message that another channel printed: an error for a
    // severity of error or fatal, a warning for a warning, nothing below.
    static void OnReported(Lex::ErrorSeverity const& severity);
    // The errors and warnings reported since the last Reset.
    static int GetErrorCount() { return Diagnostics::GetErrorCount(); }
    static int GetWarningCount() { return Diagnostics::GetWarningCount(); }
    static bool HasErrors() { return Diagnostics::HasErrors(); }
    // Starts a run: no errors or warnings, no error reported once yet.
    static void Reset();

    static File* m_pLogFile;
    // Defined with the other process-wide objects so that it is destroyed
    // last and closes the log.
    static ErrorLog m_ErrorLogInst;

private:
    static void OnToken(char const* type, char const* text, Lex::Token& token);
    // Marks the run failed; the first failure of the open log is reported
    // on standard error with the system's reason.
    static void LogFailed(char const* what, int error);

    static bool m_bFailed;
    static bool m_bLogFailureShown;
    // File, line and text of the errors reported once.
    static std::set<std::string>& ReportedOnce();
};
