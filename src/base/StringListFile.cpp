#include "base/StringListFile.h"

#include "base/Directory.h"
#include "base/FileStat.h"
#include "base/TextFile.h"

#include <cstring>
#include <strings.h>

bool StringListFile::Load(Str const& fileName)
{
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

bool StringListFile::ParseFile(Str text)
{
    char const* start = text.GetBuffer();
    // A UTF-8 byte-order mark opening the file is no part of the first line.
    if (strncmp(start, "\xEF\xBB\xBF", 3) == 0)
        start += 3;
    int number = 1;
    while (char const* newline = strchr(start, '\n')) {
        Str line;
        line.SetData(start, static_cast<size_t>(newline - start));
        AddString(line, number++);
        start = newline + 1;
    }
    AddString(start, number);
    return true;
}

void StringListFile::AddString(char const* text, int line)
{
    if (!text)
        return;
    char const* const blanks = "\t\r ";
    char const* first = text;
    while (*first && strchr(blanks, *first))
        ++first;
    char const* end = first + strlen(first);
    while (end > first && strchr(blanks, end[-1]))
        --end;
    if (end == first || *first == '#' || *first == ';' || strncmp(first, "//", 2) == 0)
        return;
    Str entry;
    entry.SetData(first, static_cast<size_t>(end - first));
    m_Strings.Add(entry);
    m_LineNumbers.Add(line);
}

bool StringListFile::HasChangedSince(FileTimeNs t) const
{
    FileStat record;
    if (!record.stat(m_Path))
        return true;
    return record.GetMTime() >= t;
}

void StringListFile::GetStrings(StringArray& strings) const
{
    if (&strings == &m_Strings)
        return;
    strings = m_Strings;
}
