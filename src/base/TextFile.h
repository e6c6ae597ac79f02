// A whole file read into or written from one string, with POSIX calls.
#pragma once

#include "base/Str.h"
#include "base/StringArray.h"

class TextFile {
public:
    TextFile() {}
    explicit TextFile(char const* path) : m_FileName(path) {}

    Str const& GetContent() const { return m_Content; }
    Str const& GetFileName() const { return m_FileName; }

    // Reads the whole file, every byte kept; false when it cannot be opened
    // or a read fails (a folder, for one), the content then unchanged.
    bool Load();
    // Sets the file name (null empties it), then loads.
    bool Load(char const* path);

    // Replaces the whole file by the content, mode 0666; create adds a
    // missing file. An existing file is always cut to the content: there is
    // no mode that keeps an old tail, and truncate is accepted for the
    // callers' sake only. True exactly when every byte was written and the
    // file was closed without an error.
    bool Save(bool create, bool truncate);
    // Makes text the content (null empties it), then saves.
    bool Save(char const* text, bool create, bool truncate);
    // Sets the file name, then saves text with create and truncate.
    bool SaveAs(char const* text, Str const& path);
    static bool WriteFileContent(Str const& path, Str& text);

    // Appends the line and "\n" to the content.
    void AddLine(Str const& line);
    // Appends the content's lines: each "\n" ends one, without the trailing
    // carriage returns; the text after the last "\n" is a last line as it is.
    // The content counts up to its first NUL byte.
    void GetLines(StringArray& lines) const;

    // Appends the file's lines; false when it cannot be examined or read.
    static bool GetFileContent(Str const& path, StringArray& lines);
    // The whole file into content; false (content unchanged) when it cannot
    // be examined or read.
    static bool GetFileContent(Str const& path, Str& content);

private:
    Str m_Content;
    Str m_FileName;
};
