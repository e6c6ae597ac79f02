#include "base/PrintStream.h"

#include <cstdio>

void PrintStream::print(char const* text)
{
    printf("%s", text ? text : "");
    fflush(stdout);
}

void PrintStream::print(Str const* text)
{
    print(text ? text->GetBuffer() : "");
}

void PrintStream::println(char const* text)
{
    puts(text ? text : "");
    fflush(stdout);
}
