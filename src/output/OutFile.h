// Output files of the generated sources. An OutFile opens its file lazily on
// the first write, remembers the content and the modification time the file
// had before, and after closing tells whether the content changed, so that
// an unchanged file can get its old time back. The text is collected in
// memory and lands on disk when the file is closed, in one piece under a
// temporary name that is then renamed over the file (missing folders are
// created); a file that cannot be written keeps its old content.
// It writes ranges of a module's token list with #line directives (commented
// out in Java files), the `layer` line of Java-like files commented out, and
// include lines moved out of an open namespace.
#pragma once

#include "base/FileName.h"
#include "base/FileStat.h"
#include "base/Map.h"
#include "base/Str.h"

#include <ctime>
#include <ostream>
#include <sstream>

namespace Lex {
class Token;
class TokenIterator;
}
class FileStatistics;

class OutFile {
public:
    // Every '\' of the path is read as '/'. Touches no file.
    explicit OutFile(char const* path);
    ~OutFile();
    OutFile(OutFile const&) = delete;
    OutFile& operator=(OutFile const&) = delete;

    OutFile* OnCreate();

    // The stream, opening the file first; null when the file cannot be
    // written (reported once as "cannot write file <path>").
    std::ostream* GetStream();
    void OpenFile();
    std::ostream* SaveString(char const* text);
    // Writes the tokens from first through last (to the end of the list when
    // last is null); writing starts after the first token whose text is
    // startAfter and ends with the first token whose text is stopAt (either
    // may be null).
    void SaveTokens(Lex::Token* first, Lex::Token* last, char const* startAfter, char const* stopAt);
    char const* SaveToken(Lex::Token& token);
    void WriteLineDirective(Lex::Token& token);
    char const* Languages_Jak_SaveToken(Lex::Token& token);
    char const* HandleIncludeAndFwd(Lex::Token& token);
    // Writes the collected text to the file; nothing when not open. A
    // failed write is reported as "cannot write file <path>: <reason>".
    char const* Close();
    char const* ReadFile(Str& text);
    // Whether the content written differs from the content replaced; a file
    // never opened is unchanged, a file that could not be written changed.
    bool HasDataChanged();
    // Gives the file its old modification time back; false when it had none
    // or the file could not be written.
    bool RestoreMTime();
    FileTimeNs GetMTime();

    FileName const& GetName() const { return m_Name; }
    Str const& GetPath() const { return m_Name.GetPath(); }
    Str const& GetNameSpace() const { return m_NameSpace; }
    bool IsNameSpaceOpen() const { return m_bNameSpaceOpen; }
    void SetNameSpaceOpen(bool open) { m_bNameSpaceOpen = open; }
    bool IsOpened() const { return m_bOpened; }
    bool IsBeingWritten() const { return m_pStream != nullptr; }
    bool IsJavaFile() const { return m_bJavaFile; }
    bool HasWriteError() const { return m_bWriteError; }
    int GetLinesWritten() const { return m_LinesWritten; }
    Str const& GetOldContent() const { return m_OldContent; }
    Str const& GetNewContent() const { return m_NewContent; }
    FileTimeNs GetOldMTime() const { return m_OldStat.GetMTime(); }

    // Source files of the run (modules, appended files) that no output file
    // may overwrite; recorded by their real paths. A path known to be a
    // regular file (regular) is not asked whether it is a link.
    static void AddSourcePath(char const* path, bool regular = false);
    static bool IsSourcePath(char const* path);
    static void ClearSourcePaths();

private:
    void OnWriteError(int error = 0);

    std::ostringstream* m_pStream;
    FileName m_Name;
    bool m_bLineDirectives;
    Lex::Token* m_pLastToken;
    bool m_bLineAdvanced;
    Str m_NameSpace;
    Lex::TokenIterator* m_pCurrentIter;
    bool m_bNameSpaceOpen;
    FileStat m_OldStat;
    Str m_OldContent;
    Str m_NewContent;
    bool m_bChanged;
    bool m_bChangedKnown;
    bool m_bOpened;
    bool m_bJavaFile;
    bool m_bLayerLineComment;
    bool m_bWriteError;
    int m_LinesWritten;
    FileStatistics* m_pStatistics;

    static StringSet m_SourceFiles;
};

// All output files of the composed classes by path ('\' read as '/'); the
// same path yields the same OutFile until CloseAll. Owns its files.
class OutFileList : public MapStringTo<OutFile*> {
public:
    // Every output file of a run is looked up by path.
    OutFileList() { SetIndexed(); }
    ~OutFileList() override;

    // Never null: a new OutFile is made for a path not in the list.
    OutFile* GetFileObject(char const* path);
    // Null when the path is not in the list.
    OutFile* GetOpenFile(char const* path);
    // Deletes (and so closes) every file, then empties the list.
    void CloseAll();
    // Whether a file of the list was opened in the run and may hold new
    // content: false means no output changed. A file still being written
    // counts as changed.
    bool HasChangedFile();

    static Str MakeKey(char const* path);
};
