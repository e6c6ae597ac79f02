#include "base/PrintStream.h"

#include "base/Diagnostics.h"

#include <string>

bool PrintStream::Done(bool written)
{
    if (!written)
        m_bFailed = true;
    return written;
}

bool PrintStream::print(char const* text)
{
    return Done(Diagnostics::Report(DiagKind::Info, DiagStream::Out, DiagFlush::After, text ? text : ""));
}

bool PrintStream::print(Str const* text)
{
    return print(text ? text->GetBuffer() : "");
}

bool PrintStream::println(char const* text)
{
    return Done(Diagnostics::Report(DiagKind::Info, DiagStream::Out, DiagFlush::After,
                                    std::string(text ? text : "") + "\n"));
}
