// Abstract byte source read by the scanner.
#pragma once

namespace Lex {

class Source {
public:
    virtual ~Source() {}
    // Bytes read into buffer: 0 at the end, negative on error.
    virtual int read(char* buffer, int count) = 0;
    // Total size in bytes, or -1 when unknown.
    virtual long size() { return -1; }
};

} // namespace Lex
