#include "base/PrintStream.h"

#include <cstdio>

bool PrintStream::Done(bool written)
{
    bool flushed = fflush(stdout) == 0;
    if (!written || !flushed)
        m_bFailed = true;
    return written && flushed;
}

bool PrintStream::print(char const* text)
{
    return Done(printf("%s", text ? text : "") >= 0);
}

bool PrintStream::print(Str const* text)
{
    return print(text ? text->GetBuffer() : "");
}

bool PrintStream::println(char const* text)
{
    return Done(puts(text ? text : "") >= 0);
}
