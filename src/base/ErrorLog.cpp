#include "base/ErrorLog.h"

#include "base/System.h"
#include "base/XmlString.h"
#include "scanner/Token.h"

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

File* ErrorLog::m_pLogFile = nullptr;

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

void ErrorLog::PrintMsg(char const* type, char const* text, char const* file, int line)
{
    char const* shownType = type ? type : Info;
    Str linePart;
    if (line != 0)
        linePart.Format("(%d)", line);
    Str console;
    console.Format("%s%s : %s: %s\n", file ? file : "mosa++", linePart.GetBuffer(), shownType, text ? text : "");
    WriteLogMsg(type, text, file, line);
    if (type != InfoExt)
        System::out.print(console);
}

void ErrorLog::WriteLogMsg(char const* type, char const* text, char const* file, int line)
{
    Str attributes;
    attributes += "type=\"";
    attributes += XmlString::EncodeText(type ? type : Info);
    attributes += "\" file=\"";
    attributes += XmlString::EncodeText(file ? file : "");
    attributes += "\" ";
    if (file) {
        Str value;
        value.Format("line=\"%d\" ", line);
        attributes += value;
    }
    XmlString element;
    element.Add("MSG", attributes, XmlString::EncodeText(text ? text : ""));
    element += "\n";
    WriteLog(element);
}

void ErrorLog::WriteLog(Str const& text)
{
    if (!m_pLogFile)
        return;
    ssize_t written = write(m_pLogFile->GetFd(), text.GetBuffer(), strlen(text.GetBuffer()));
    (void)written;
}

void ErrorLog::InitLogFile(char const* path)
{
    if (m_pLogFile || !path)
        return;
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
        return;
    m_pLogFile = new File(path);
    m_pLogFile->SetFd(fd);
    WriteLog("<log>\n");
}

void ErrorLog::CloseLogFile()
{
    if (!m_pLogFile)
        return;
    WriteLog("</log>\n");
    close(m_pLogFile->GetFd());
    delete m_pLogFile;
    m_pLogFile = nullptr;
}

Str ErrorLog::GetLogPath()
{
    return m_pLogFile ? m_pLogFile->GetName() : Str();
}
