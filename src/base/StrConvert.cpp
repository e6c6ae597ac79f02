#include "base/StrConvert.h"

#include <cstring>

namespace {

void AddPiece(StringArray& strings, char const* first, char const* end, bool trim)
{
    if (trim) {
        char const* const blanks = " \r\n\t";
        while (first < end && strchr(blanks, *first))
            ++first;
        while (end > first && strchr(blanks, end[-1]))
            --end;
    }
    Str piece;
    piece.SetData(first, static_cast<size_t>(end - first));
    strings.Add(piece);
}

} // namespace

bool StrConvert::ToStringArray(Str const& text, int start, StringArray& strings, char separator, bool trim)
{
    char const* buffer = text.GetBuffer();
    size_t length = text.GetLength();
    size_t from = start > 0 ? static_cast<size_t>(start) : 0;
    char const* sep = from < length ? static_cast<char const*>(memchr(buffer + from, separator, length - from)) : nullptr;
    if (!sep) {
        AddPiece(strings, buffer, buffer + length, trim);
        return true;
    }
    char const* pieceStart = buffer;
    char const* const end = buffer + length;
    while (sep) {
        AddPiece(strings, pieceStart, sep, trim);
        pieceStart = sep + 1;
        sep = pieceStart < end ? static_cast<char const*>(memchr(pieceStart, separator, static_cast<size_t>(end - pieceStart))) : nullptr;
    }
    if (pieceStart < end)
        AddPiece(strings, pieceStart, end, trim);
    return true;
}
