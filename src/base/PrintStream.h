// Printing to standard output through the diagnostics engine, flushed after
// every call.
#pragma once

#include "base/Str.h"

class PrintStream {
public:
    // Each answers false when the text could not be written or flushed (a
    // closed or full output); the stream then counts as failed for the rest
    // of the run.
    bool print(char const* text);
    bool print(Str const* text);
    // The text and a line break.
    bool println(char const* text);

    // True once a print failed.
    bool HasFailed() const { return m_bFailed; }

private:
    bool Done(bool written);

    bool m_bFailed = false;
};
