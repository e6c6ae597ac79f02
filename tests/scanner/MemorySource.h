// A byte source over a string for tests: reads come in chunks of at most
// `chunk` bytes, a read can fail from a given offset on, and the size it
// reports can differ from the data it holds.
#pragma once

#include "scanner/Source.h"

#include <algorithm>
#include <cstring>
#include <string>

class MemorySource : public Lex::Source {
public:
    explicit MemorySource(std::string data) : data(std::move(data)), reported(static_cast<long>(this->data.size())) {}

    MemorySource& chunks_of(int n) { chunk = n; return *this; }
    MemorySource& failing_at(long offset) { fail_at = offset; return *this; }
    MemorySource& reporting_size(long n) { reported = n; return *this; }

    int read(char* buffer, int count) override
    {
        if (fail_at >= 0 && pos >= fail_at)
            return -1;
        long left = static_cast<long>(data.size()) - pos;
        int n = static_cast<int>(std::min<long>({left, static_cast<long>(count), static_cast<long>(chunk)}));
        std::memcpy(buffer, data.data() + pos, static_cast<size_t>(n));
        pos += n;
        return n;
    }
    long size() override { return reported; }

    long position() const { return pos; }

private:
    std::string data;
    long reported;
    long pos = 0;
    int chunk = 1 << 30;
    long fail_at = -1;
};
