// A list of strings read from a text file, one entry per line; blank lines
// and comment lines ("#", ";", "//") are dropped. File names without the
// default extension get it appended.
#pragma once

#include "base/Array.h"
#include "base/FileStat.h"
#include "base/Str.h"
#include "base/StringArray.h"

#include <ctime>

class StringListFile {
public:
    // The default extension is a word without the dot.
    explicit StringListFile(Str const& defaultExt) : m_DefaultExt(defaultExt) {}
    virtual ~StringListFile() {}

    // Resolves the file name against its folder, reads the file and appends
    // its entries; false when the folder cannot be entered or the file read.
    virtual bool Load(Str const& fileName);

    // Hands every "\n"-separated piece of the text, all its bytes read, to
    // AddLine; a UTF-8 byte-order mark at its start is skipped. A UTF-16
    // text is reported as one error and gives no entries: false.
    bool ParseFile(Str text);
    // AddLine of a C string.
    void AddString(char const* text, int line = 0);
    // Appends the line trimmed of "\t\r " unless it is then empty or a
    // comment; line is its line number in the file (0 for none). A line
    // holding a NUL byte is reported as an error naming the file and line,
    // and is left out.
    void AddLine(char const* text, size_t length, int line);
    // Whether the last Load failed with an error it reported itself.
    bool HasReportedFailure() const { return m_bReported; }
    // True when the file cannot be examined or was modified at or after t.
    bool HasChangedSince(FileTimeNs t) const;
    // Makes strings a copy of the entries.
    void GetStrings(StringArray& strings) const;

    StringArray const& GetList() const { return m_Strings; }
    // The file's line number (from 1) of the entry; 0 when not known.
    int GetLineNumber(int index) const
    {
        return index >= 0 && index < m_LineNumbers.GetCount() ? m_LineNumbers[index] : 0;
    }
    // Absolute folder, "/" and file name with extension.
    Str const& GetPath() const { return m_Path; }
    // Absolute folder; empty when it could not be entered.
    Str const& GetDir() const { return m_Dir; }
    // File name without folder and without "." and the default extension.
    Str const& GetName() const { return m_Name; }
    Str const& GetDefaultExt() const { return m_DefaultExt; }

protected:
    StringArray m_Strings;
    Array<int> m_LineNumbers;
    Str m_Path;
    Str m_Dir;
    Str m_Name;
    Str m_DefaultExt;
    bool m_bReported = false;
};
