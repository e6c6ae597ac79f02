// Scan buffers: the bytes in front of the scanner. A buffer holds the piece
// being recognized (from token() on); len() bytes of it have been read. The
// recognizers read ahead freely and set the length back with more() or
// retry(); accept(n) makes the first n bytes a token and starts a new piece.
#pragma once

#include <cstddef>

namespace Lex {

class Source;

class ScanBuffer {
public:
    // What state() answers.
    enum { at_end = 0, in_error = 1, has_more = 2 };

    virtual ~ScanBuffer() {}

    // The byte at the current position (0..255), advancing the length. At
    // the end or in the error state it answers 0 and does not advance.
    virtual int next() = 0;
    // First byte of the piece.
    virtual char const* token() = 0;
    virtual int len() const = 0;
    // Back to the start of the input, length 0.
    virtual void reset() = 0;
    // Length back to 0: the piece is read again from its start.
    virtual void retry() = 0;
    // The first n bytes of the piece are taken; the piece starts behind them.
    virtual void accept(int n) = 0;
    // The length becomes n (kept within the bytes available).
    virtual void more(int n) = 0;
    // has_more when a byte follows the current position, at_end at the end
    // of the input, in_error when the buffer failed.
    virtual int state() const = 0;
};

// A buffer over a text held elsewhere.
class SB_String : public ScanBuffer {
public:
    SB_String() : start(nullptr), piece(nullptr), end(nullptr), length(0) {}
    // A NUL-terminated text (the NUL is not part of the input).
    explicit SB_String(char const* text);
    SB_String(char const* text, size_t size) { cover(text, size); }

    int next() override;
    char const* token() override { return piece; }
    int len() const override { return length; }
    void reset() override;
    void retry() override { length = 0; }
    void accept(int n) override;
    void more(int n) override;
    int state() const override;

protected:
    // The buffer reads size bytes from text on; reading starts over.
    void cover(char const* text, size_t size);

    char const* start;
    char const* piece;
    char const* end;
    int length;
};

// A buffer over a whole file that it loads and owns.
class SB_WholeFile : public SB_String {
public:
    enum Load { loaded, no_size, no_memory, read_failed };

    SB_WholeFile() : text(nullptr), error(false) {}
    ~SB_WholeFile() override;

    // Reads exactly size bytes of src (size as the source gave it once),
    // looping over short reads. On success the buffer covers them and is
    // reset; otherwise the buffer is left in its error state.
    Load load(Source& src, long size);

    int state() const override;

private:
    SB_WholeFile(SB_WholeFile const&) = delete;
    SB_WholeFile& operator=(SB_WholeFile const&) = delete;

    char* text;
    bool error;
};

// A buffer over a source of unknown size, read byte by byte into a window
// that holds the piece and the bytes read ahead of it.
class SB_Sequential : public ScanBuffer {
public:
    enum { window_size = 1024 };

    explicit SB_Sequential(Source& src) : source(src), length(0), count(0), fetched(at_end) {}

    int next() override;
    char const* token() override { return window; }
    int len() const override { return length; }
    void reset() override;
    void retry() override { length = 0; }
    void accept(int n) override;
    void more(int n) override;
    int state() const override;

private:
    // Reads one byte behind the window's bytes; a full window is an error.
    void fetch();
    // While input may follow, a byte stays read ahead of the current length.
    void keep_ahead();

    Source& source;
    char window[window_size];
    int length;
    int count; // bytes in the window
    int fetched; // state reached by the last fetch
};

} // namespace Lex
