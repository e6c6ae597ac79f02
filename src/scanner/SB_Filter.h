// Filters between the recognizers and a scan buffer: one that hides
// backslash-newline continuations and one that counts lines and columns.
#pragma once

#include "scanner/Array.h"
#include "scanner/ScanBuffer.h"

namespace Lex {

// Forwards every operation to the next buffer (not owned).
class SB_Filter : public ScanBuffer {
public:
    explicit SB_Filter(ScanBuffer* next_buffer = nullptr) : next_buffer(next_buffer) {}

    void set_next(ScanBuffer* b) { next_buffer = b; }
    ScanBuffer* get_next() const { return next_buffer; }

    int next() override { return next_buffer->next(); }
    char const* token() override { return next_buffer->token(); }
    int len() const override { return next_buffer->len(); }
    void reset() override { next_buffer->reset(); }
    void retry() override { next_buffer->retry(); }
    void accept(int n) override { next_buffer->accept(n); }
    void more(int n) override { next_buffer->more(n); }
    int state() const override { return next_buffer->state(); }

protected:
    ScanBuffer* next_buffer;
};

// Skips every backslash followed by a newline (or by a carriage return and a
// newline) as soon as the byte in front of it has been read, so recognizers
// never see a continuation; the skipped bytes stay in the piece's raw text.
// The offset of each skipped continuation from the piece's start is recorded
// once, and the filter notes whether the last accepted piece held a newline.
// Continuations that open the input are skipped by reset() and retry().
class SBF_ContLines : public SB_Filter {
public:
    SBF_ContLines() : offsets(5, 5), newline(false), newline_at(-1) {}

    int next() override;
    void reset() override;
    void retry() override;
    void accept(int n) override;

    // Offsets of the continuations skipped in the current piece, ascending.
    Array<int> const& get_offsets() const { return offsets; }
    // True when the last accepted piece held a newline, or after reset().
    bool new_line() const { return newline; }

private:
    void skip_continuations();

    Array<int> offsets;
    bool newline;
    int newline_at; // offset of the first newline read in this piece, or -1
};

// Counts the lines and columns of the bytes accepted; lines start at 1 and
// count every newline, those of continuations too.
class SBF_LocManager : public SB_Filter {
public:
    SBF_LocManager() : line(1), column(1) {}

    void reset() override;
    void accept(int n) override;

    int get_line() const { return line; }
    int get_column() const { return column; }

private:
    int line;
    int column;
};

} // namespace Lex
