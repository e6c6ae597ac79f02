#include "scanner/ScanBuffer.h"

#include "scanner/Source.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace Lex {

// ---- SB_String

SB_String::SB_String(char const* text)
{
    cover(text, text ? std::strlen(text) : 0);
}

void SB_String::cover(char const* text, size_t size)
{
    start = text;
    end = text ? text + size : text;
    piece = start;
    length = 0;
}

int SB_String::next()
{
    if (piece + length >= end)
        return 0;
    return static_cast<unsigned char>(piece[length++]);
}

void SB_String::reset()
{
    piece = start;
    length = 0;
}

void SB_String::accept(int n)
{
    if (n < 0)
        n = 0;
    if (n > end - piece)
        n = static_cast<int>(end - piece);
    piece += n;
    length = 0;
}

void SB_String::more(int n)
{
    if (n < 0)
        n = 0;
    if (n > end - piece)
        n = static_cast<int>(end - piece);
    length = n;
}

int SB_String::state() const
{
    return piece + length >= end ? at_end : has_more;
}

// ---- SB_WholeFile

SB_WholeFile::~SB_WholeFile()
{
    std::free(text);
}

SB_WholeFile::Load SB_WholeFile::load(Source& src, long size)
{
    std::free(text);
    text = nullptr;
    cover(nullptr, 0);
    error = true;
    if (size < 0)
        return no_size;
    text = static_cast<char*>(std::malloc(size > 0 ? static_cast<size_t>(size) : 1));
    if (!text)
        return no_memory;
    long done = 0;
    while (done < size) {
        long want = size - done;
        int n = src.read(text + done, want > INT_MAX ? INT_MAX : static_cast<int>(want));
        if (n < 0)
            return read_failed;
        if (n == 0)
            break;
        done += n;
    }
    if (done != size)
        return read_failed;
    error = false;
    // A UTF-8 byte-order mark opening the file marks the encoding and is no
    // part of the text.
    long skip = size >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    cover(text + skip, static_cast<size_t>(size - skip));
    return loaded;
}

int SB_WholeFile::state() const
{
    return error ? in_error : SB_String::state();
}

// ---- SB_Sequential

void SB_Sequential::fetch()
{
    if (count >= window_size) {
        fetched = in_error;
        return;
    }
    int n = source.read(window + count, 1);
    if (n == 0) {
        fetched = at_end;
    } else if (n < 0) {
        fetched = in_error;
    } else {
        ++count;
        fetched = has_more;
    }
}

void SB_Sequential::keep_ahead()
{
    if (length == count && fetched == has_more)
        fetch();
}

int SB_Sequential::next()
{
    if (length >= count)
        return 0;
    int c = static_cast<unsigned char>(window[length++]);
    if (length == count)
        fetch();
    return c;
}

void SB_Sequential::reset()
{
    length = 0;
    count = 0;
    fetch();
}

void SB_Sequential::accept(int n)
{
    if (n < 0)
        n = 0;
    if (n > count)
        n = count;
    std::memmove(window, window + n, static_cast<size_t>(count - n));
    count -= n;
    length = 0;
    keep_ahead();
}

void SB_Sequential::more(int n)
{
    if (n < 0)
        n = 0;
    if (n > count)
        n = count;
    length = n;
    keep_ahead();
}

int SB_Sequential::state() const
{
    return length < count ? has_more : fetched;
}

} // namespace Lex
