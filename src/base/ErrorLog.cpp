#include "base/ErrorLog.h"

#include "base/Diagnostics.h"
#include "base/OutputRecord.h"
#include "base/XmlString.h"
#include "scanner/ControlBytes.h"
#include "scanner/ErrorSink.h"
#include "scanner/Token.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

File* ErrorLog::m_pLogFile = nullptr;
bool ErrorLog::m_bFailed = false;
bool ErrorLog::m_bLogFailureShown = false;

void ErrorLog::OnUserInfo(char const* text, char const* file, int line)
{
    PrintMsg(Info, text, file, line);
}

void ErrorLog::OnInfo(char const* text, char const* file, int line)
{
    PrintMsg(InfoExt, text, file, line);
}

void ErrorLog::OnWarning(char const* text, char const* file, int line)
{
    PrintMsg(Warning, text, file, line);
}

void ErrorLog::OnError(char const* text, char const* file, int line)
{
    PrintMsg(Error, text, file, line);
}

void ErrorLog::OnErrorOnce(char const* text, char const* file, int line)
{
    // A missing file ("mosa++") is told apart from an empty one.
    std::string key = file ? std::string("file ") + file : std::string("no file");
    key += '\n' + std::to_string(line) + '\n' + (text ? text : "");
    if (ReportedOnce().insert(key).second)
        OnError(text, file, line);
}

std::set<std::string>& ErrorLog::ReportedOnce()
{
    static std::set<std::string> reported;
    return reported;
}

void ErrorLog::OnReported(Lex::ErrorSeverity const& severity)
{
    if (severity.level >= Lex::sev_error.level)
        Diagnostics::Count(DiagKind::Error);
    else if (severity.level >= Lex::sev_warning.level)
        Diagnostics::Count(DiagKind::Warning);
}

void ErrorLog::Reset()
{
    Diagnostics::ResetCounts();
    ReportedOnce().clear();
}

void ErrorLog::OnWarning(char const* text, Lex::Token& token)
{
    OnToken(Warning, text, token);
}

void ErrorLog::OnError(char const* text, Lex::Token& token)
{
    OnToken(Error, text, token);
}

void ErrorLog::OnToken(char const* type, char const* text, Lex::Token& token)
{
    // A token without a position (inserted by the code model) has no file.
    char const* file = token.location.filename().name();
    PrintMsg(type, text, file, file ? token.location.line() : 0);
}

void ErrorLog::DebugMsg(char const*, Lex::Token& token)
{
    (void)token.location.line();
    (void)token.location.filename().name();
}

bool ErrorLog::PrintMsg(char const* type, char const* text, char const* file, int line)
{
    char const* shownType = type ? type : Info;
    // Types are compared by their text (see below).
    DiagKind kind = DiagKind::Info;
    if (strcmp(shownType, Error) == 0)
        kind = DiagKind::Error;
    else if (strcmp(shownType, Warning) == 0)
        kind = DiagKind::Warning;
    Str linePart;
    if (line != 0)
        linePart.Format("(%d)", line);
    Str console;
    console.Format("%s%s : %s: %s\n", file ? Escape(file).GetBuffer() : "mosa++", linePart.GetBuffer(), shownType,
                   Escape(text).GetBuffer());
    bool ok = WriteLogMsg(type, text, file, line);
    // The type may be a copy of the text rather than the constant itself.
    if (!type || strcmp(type, InfoExt) != 0) {
        // Errors and warnings go to standard error, after what standard
        // output holds so far, so that a joined console keeps their order.
        bool problem = kind != DiagKind::Info;
        if (!Diagnostics::Report(kind, problem ? DiagStream::Err : DiagStream::Out,
                                 problem ? DiagFlush::OutBefore : DiagFlush::After, console.GetBuffer())) {
            m_bFailed = true;
            ok = false;
        }
    }
    return ok;
}

Str ErrorLog::Escape(char const* text)
{
    return Str(Lex::ShowControlBytes(text).c_str());
}

bool ErrorLog::WriteLogMsg(char const* type, char const* text, char const* file, int line)
{
    Str attributes;
    attributes += "type=\"";
    attributes += XmlString::EncodeText(type ? type : Info);
    attributes += "\" file=\"";
    attributes += XmlString::EncodeText(Escape(file));
    attributes += "\" ";
    if (file) {
        Str value;
        value.Format("line=\"%d\" ", line);
        attributes += value;
    }
    XmlString element;
    element.Add("MSG", attributes, XmlString::EncodeText(Escape(text)));
    element += "\n";
    return WriteLog(element);
}

bool ErrorLog::WriteLog(Str const& text)
{
    if (!m_pLogFile)
        return true;
    char const* data = text.GetBuffer();
    if (File::WriteAll(m_pLogFile->GetFd(), data, strlen(data)))
        return true;
    LogFailed("write", errno);
    return false;
}

void ErrorLog::LogFailed(char const* what, int error)
{
    m_bFailed = true;
    if (m_bLogFailureShown)
        return;
    m_bLogFailureShown = true;
    Str text;
    text.Format("mosa++: cannot %s the log file %s: %s\n", what, m_pLogFile ? m_pLogFile->GetName().GetBuffer() : "",
                strerror(error));
    Diagnostics::Report(DiagKind::Failure, DiagStream::Err, DiagFlush::None, text.GetBuffer());
}

bool ErrorLog::HasFailed()
{
    return m_bFailed;
}

void ErrorLog::InitLogFile(char const* path)
{
    if (m_pLogFile || !path)
        return;
    OutputRecord::Add(path);
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
        return;
    m_pLogFile = new File(path);
    m_pLogFile->SetFd(fd);
    m_bLogFailureShown = false;
    WriteLog("<log>\n");
}

bool ErrorLog::CloseLogFile()
{
    if (!m_pLogFile)
        return true;
    bool ok = WriteLog("</log>\n");
    // A full disk may show only when the data reaches it.
    if (close(m_pLogFile->GetFd()) != 0) {
        LogFailed("close", errno);
        ok = false;
    }
    delete m_pLogFile;
    m_pLogFile = nullptr;
    return ok;
}

Str ErrorLog::GetLogPath()
{
    return m_pLogFile ? m_pLogFile->GetName() : Str();
}
