// A line counter fed token by token: classifies each line of a token stream
// as preprocessor, code, comment or blank. The count of a file is its number
// of code and preprocessor lines; every counter also adds into one set of
// program-wide totals.
#pragma once

namespace Lex {
class Token;
}

// Program-wide totals.
class CodeStatistic {
public:
    CodeStatistic() : m_Blank(0), m_Netto(0), m_Comment(0), m_Preproc(0), m_Files(0) {}

    // "%d files, %d LOC (%d netto + %d preproc + %d comment + %d blank)\n";
    // the length of the text, or -1 when it could not be written.
    int Print();

    int m_Blank;
    int m_Netto;
    int m_Comment;
    int m_Preproc;
    int m_Files;
};

class FileStatistics {
public:
    // total receives this counter's lines when it is destroyed; may be null.
    explicit FileStatistics(int* total);
    // Closes an open last line, then adds the lines to the bound total.
    ~FileStatistics();
    FileStatistics(FileStatistics const&) = delete;
    FileStatistics& operator=(FileStatistics const&) = delete;

    void OnToken(Lex::Token& token);
    // Counts a last line that had no line break.
    void OnLastToken();

    // Code and preprocessor lines counted so far.
    int GetLines() const { return m_Lines; }

    static CodeStatistic m_GlobalStat;

private:
    bool m_bCode;
    bool m_bComment;
    bool m_bPreproc;
    int* m_pTotal;
    int m_Lines;
};
