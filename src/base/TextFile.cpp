#include "base/TextFile.h"

#include "base/File.h"
#include "base/FileStat.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

size_t const ReadPiece = 65535;

} // namespace

bool TextFile::Load()
{
    int fd = ::open(m_FileName, O_RDONLY);
    if (fd == -1)
        return false;

    // The bytes may hold NULs, so they are gathered here and handed to the
    // string in one piece.
    size_t capacity = ReadPiece;
    size_t length = 0;
    char* data = static_cast<char*>(malloc(capacity));
    if (!data)
        abort();
    for (;;) {
        if (capacity - length < ReadPiece) {
            capacity *= 2;
            data = static_cast<char*>(realloc(data, capacity));
            if (!data)
                abort();
        }
        ssize_t count = ::read(fd, data + length, ReadPiece);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            free(data);
            ::close(fd);
            return false;
        }
        length += static_cast<size_t>(count);
    }
    ::close(fd);
    m_Content.SetData(data, length);
    free(data);
    return true;
}

bool TextFile::Load(char const* path)
{
    m_FileName = path;
    return Load();
}

bool TextFile::Save(bool create, bool)
{
    int flags = O_WRONLY | O_TRUNC;
    if (create)
        flags |= O_CREAT;
    int fd = ::open(m_FileName, flags, 0666);
    if (fd == -1)
        return false;

    bool ok = File::WriteAll(fd, m_Content.GetBuffer(), m_Content.GetLength());
    // Some file systems report a full disk only here.
    if (::close(fd) != 0)
        ok = false;
    return ok;
}

bool TextFile::Save(char const* text, bool create, bool truncate)
{
    m_Content = text;
    return Save(create, truncate);
}

bool TextFile::SaveAs(char const* text, Str const& path)
{
    m_FileName = path;
    return Save(text, true, true);
}

bool TextFile::WriteFileContent(Str const& path, Str& text)
{
    TextFile file;
    return file.SaveAs(text, path);
}

void TextFile::AddLine(Str const& line)
{
    m_Content += line;
    m_Content += "\n";
}

void TextFile::GetLines(StringArray& lines) const
{
    char const* start = m_Content.GetBuffer();
    while (char const* newline = strchr(start, '\n')) {
        char const* end = newline;
        while (end > start && end[-1] == '\r')
            --end;
        Str line;
        line.SetData(start, static_cast<size_t>(end - start));
        lines.Add(line);
        start = newline + 1;
    }
    lines.Add(start);
}

bool TextFile::GetFileContent(Str const& path, StringArray& lines)
{
    FileStat record;
    TextFile file(path);
    if (!record.stat(path) || !file.Load())
        return false;
    file.GetLines(lines);
    return true;
}

bool TextFile::GetFileContent(Str const& path, Str& content)
{
    FileStat record;
    TextFile file(path);
    if (!record.stat(path) || !file.Load())
        return false;
    // Every byte, NULs included.
    content.SetData(file.m_Content.GetBuffer(), file.m_Content.GetLength());
    return true;
}
