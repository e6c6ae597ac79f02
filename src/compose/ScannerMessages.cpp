#include "compose/ScannerMessages.h"

#include "base/Diagnostics.h"

void ScannerMessages::message(Lex::ErrorSeverity const& severity, std::string const& line)
{
    DiagKind kind = DiagKind::Info;
    if (severity.level >= Lex::sev_error.level)
        kind = DiagKind::Error;
    else if (severity.level >= Lex::sev_warning.level)
        kind = DiagKind::Warning;
    Diagnostics::Report(kind, DiagStream::Err, DiagFlush::OutBefore, line);
}

void ScannerMessages::failure(std::string const& text)
{
    Diagnostics::Report(DiagKind::Failure, DiagStream::Err, DiagFlush::None, text);
}

void ScannerMessages::note(std::string const& text)
{
    Diagnostics::Report(DiagKind::Info, DiagStream::Out, DiagFlush::None, text);
}

void ScannerMessages::Install()
{
    // Never destroyed: texts may come while the process ends.
    static ScannerMessages* instance = new ScannerMessages;
    Lex::message_output(instance);
}
