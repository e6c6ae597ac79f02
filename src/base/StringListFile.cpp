#include "base/StringListFile.h"

#include "base/Directory.h"
#include "base/DiskInterface.h"
#include "base/ErrorLog.h"
#include "base/FileStat.h"
#include "base/TextFile.h"

#include <cstring>
#include <strings.h>

bool StringListFile::Load(Str const& fileName)
{
    m_bReported = false;
    m_Path = fileName;
    if (!strstr(fileName, m_DefaultExt))
        m_Path = fileName + "." + m_DefaultExt;

    char const* path = m_Path.GetBuffer();
    char const* slash = strrchr(path, '/');
    Str folder;
    if (!slash)
        folder = ".";
    else if (slash == path)
        folder = "/";
    else
        folder = m_Path.Left(static_cast<size_t>(slash - path));
    m_Dir = Directory::MakeAbsPath(folder);

    m_Name = slash ? slash + 1 : path;
    m_Path = m_Dir;
    if (m_Dir != "/")
        m_Path += "/";
    m_Path += m_Name;

    size_t suffix = m_DefaultExt.GetLength() + 1;
    if (suffix <= m_Name.GetLength()) {
        char const* tail = m_Name.GetBuffer() + m_Name.GetLength() - suffix;
        if (tail[0] == '.' && strcasecmp(tail + 1, m_DefaultExt) == 0)
            m_Name = m_Name.Left(m_Name.GetLength() - suffix);
    }

    if (m_Dir.IsEmpty())
        return false;
    TextFile file(m_Path);
    if (!file.Load())
        return false;
    return ParseFile(file.GetContent());
}

namespace {

// The byte order of a UTF-16 text: a byte-order mark at its start, or, in
// its first bytes, at least two characters and three in four of them with a
// NUL high byte (ASCII text), the low bytes never NUL. 0 for none, 'L' for
// little-endian, 'B' for big-endian.
char Utf16Order(char const* data, size_t length)
{
    if (length >= 2 && data[0] == '\xFF' && data[1] == '\xFE')
        return 'L';
    if (length >= 2 && data[0] == '\xFE' && data[1] == '\xFF')
        return 'B';
    size_t pairs = (length < 256 ? length : 256) / 2;
    size_t little = 0;
    size_t big = 0;
    for (size_t i = 0; i < pairs; ++i) {
        char first = data[2 * i];
        char second = data[2 * i + 1];
        if (first != 0 && second == 0)
            ++little;
        else if (first == 0 && second != 0)
            ++big;
    }
    if (little >= 2 && big == 0 && 4 * little >= 3 * pairs)
        return 'L';
    if (big >= 2 && little == 0 && 4 * big >= 3 * pairs)
        return 'B';
    return 0;
}

} // namespace

bool StringListFile::ParseFile(Str text)
{
    char const* start = text.GetBuffer();
    char const* const end = start + text.GetLength();
    if (char order = Utf16Order(start, text.GetLength())) {
        // Read as bytes, every line would hold NULs: one message says why.
        ErrorLog::OnError(order == 'L' ? "the file is UTF-16 (little-endian) text; save it as UTF-8 or ASCII"
                                       : "the file is UTF-16 (big-endian) text; save it as UTF-8 or ASCII",
                          m_Path, 0);
        m_bReported = true;
        return false;
    }
    // A UTF-8 byte-order mark opening the file is no part of the first line.
    if (end - start >= 3 && memcmp(start, "\xEF\xBB\xBF", 3) == 0)
        start += 3;
    // The text is read by its length: a NUL byte ends no line and no file.
    int number = 1;
    for (;;) {
        char const* newline = static_cast<char const*>(memchr(start, '\n', static_cast<size_t>(end - start)));
        char const* lineEnd = newline ? newline : end;
        AddLine(start, static_cast<size_t>(lineEnd - start), number++);
        if (!newline)
            break;
        start = newline + 1;
    }
    return true;
}

void StringListFile::AddString(char const* text, int line)
{
    if (text)
        AddLine(text, strlen(text), line);
}

void StringListFile::AddLine(char const* text, size_t length, int line)
{
    if (memchr(text, '\0', length)) {
        // Taken up to the NUL, the line could name a wrong layer, and the
        // text after it would be lost: it is refused whole, comment or not.
        ErrorLog::OnError("the line holds a NUL byte and is not read; save the file as UTF-8 or ASCII text", m_Path,
                          line);
        return;
    }
    char const* const blanks = "\t\r ";
    char const* first = text;
    char const* end = text + length;
    while (first < end && strchr(blanks, *first))
        ++first;
    while (end > first && strchr(blanks, end[-1]))
        --end;
    if (end == first || *first == '#' || *first == ';' || (end - first >= 2 && strncmp(first, "//", 2) == 0))
        return;
    Str entry;
    entry.SetData(first, static_cast<size_t>(end - first));
    m_Strings.Add(entry);
    m_LineNumbers.Add(line);
}

bool StringListFile::HasChangedSince(FileTimeNs t) const
{
    FileTimeNs modified = 0;
    if (!DiskInterface::Get().GetMTime(m_Path, modified))
        return true;
    return modified >= t;
}

void StringListFile::GetStrings(StringArray& strings) const
{
    if (&strings == &m_Strings)
        return;
    strings = m_Strings;
}
