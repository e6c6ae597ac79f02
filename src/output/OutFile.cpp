#include "output/OutFile.h"

#include "base/Config.h"
#include "base/Directory.h"
#include "base/ErrorLog.h"
#include "base/File.h"
#include "base/OutputRecord.h"
#include "base/TextFile.h"
#include "compose/FileStatistics.h"
#include "output/CppFile.h"
#include "scanner/SysCall.h"
#include "scanner/Token.h"
#include "scanner/TokenIterator.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <sys/stat.h>

StringSet OutFile::m_SourceFiles;

namespace {

Str Normalized(char const* path)
{
    Str text(path ? path : "");
    text.Replace("\\", "/");
    return text;
}

// The key of an existing file: its real path (links resolved); empty when the
// file does not exist. A path rather than the inode, so that a deleted source
// whose inode is reused later never makes an unrelated file look like a source.
// The real path of a file. A file that is no link lies in its folder's real
// path, which a run resolves once; only a link itself is followed here.
Str FileKey(char const* path, bool regular = false)
{
    char const* slash = path ? strrchr(path, '/') : nullptr;
    char const* name = slash ? slash + 1 : nullptr;
    struct stat own;
    if (!slash || slash == path || !*name || strcmp(name, ".") == 0 || strcmp(name, "..") == 0 ||
        (!regular && (::lstat(path, &own) != 0 || S_ISLNK(own.st_mode))))
        return File::RealPath(path);
    Str folder = Directory::MakeAbsPath(Str(path).Left(static_cast<size_t>(slash - path)));
    if (folder.IsEmpty())
        return File::RealPath(path);
    if (folder != "/")
        folder += "/";
    return folder + name;
}

bool HasLineBreak(Lex::Token const& token)
{
    return memchr(token.text->text, '\n', token.text->length) != nullptr;
}

// The token as it was read: its text with the continuations put back.
void WriteText(std::ostream& os, Lex::Token const& token)
{
    token.print(os);
}

} // namespace

OutFile::OutFile(char const* path)
    : m_pStream(nullptr), m_Name(Normalized(path)), m_bLineDirectives(true), m_pLastToken(nullptr),
      m_bLineAdvanced(false), m_NameSpace(Config::GetInstance().GetNameSpace()), m_pCurrentIter(nullptr),
      m_bNameSpaceOpen(false), m_bChanged(false), m_bChangedKnown(false), m_bOpened(false),
      m_bJavaFile(strcasecmp(m_Name.GetExt(), "java") == 0),
      m_bLayerLineComment(m_bJavaFile || strcasecmp(m_Name.GetExt(), "cs") == 0), m_bWriteError(false), m_LinesWritten(0),
      m_pStatistics(nullptr)
{
    OnCreate();
}

OutFile::~OutFile()
{
    Close();
}

OutFile* OutFile::OnCreate()
{
    m_LinesWritten = 0;
    m_pStatistics = nullptr;
    return this;
}

std::ostream* OutFile::GetStream()
{
    if (m_pStream)
        return m_pStream;
    if (m_bWriteError)
        return nullptr;
    ++FileStatistics::m_GlobalStat.m_Files;
    OpenFile();
    return m_pStream;
}

void OutFile::OpenFile()
{
    Str const& path = GetPath();
    // A second opening after a Close appends: the content written before and
    // the status taken at the first opening are kept.
    bool reopen = m_bOpened;
    m_bOpened = true;
    if (!reopen) {
        ReadFile(m_OldContent);
        m_OldStat.stat(path);
    }
    if (IsSourcePath(path)) {
        Str text;
        text.Format("cannot write file %s: it is a source file of the composition", path.GetBuffer());
        m_bWriteError = true;
        ErrorLog::OnError(text, nullptr, 0);
        return;
    }
    m_pStream = new std::ostringstream;
    if (reopen)
        m_pStream->write(m_NewContent.GetBuffer(), static_cast<std::streamsize>(m_NewContent.GetLength()));
}

void OutFile::OnWriteError(int error)
{
    if (m_bWriteError)
        return;
    m_bWriteError = true;
    Str text;
    if (error)
        text.Format("cannot write file %s: %s", GetPath().GetBuffer(), strerror(error));
    else
        text.Format("cannot write file %s", GetPath().GetBuffer());
    ErrorLog::OnError(text, nullptr, 0);
}

std::ostream* OutFile::SaveString(char const* text)
{
    std::ostream* os = GetStream();
    if (os && text)
        *os << text;
    return os;
}

void OutFile::SaveTokens(Lex::Token* first, Lex::Token* last, char const* startAfter, char const* stopAt)
{
    FileStatistics statistics(&m_LinesWritten);
    m_pStatistics = &statistics;
    std::ostream* os = GetStream();
    m_pLastToken = nullptr;
    Lex::TokenIterator it(first, last);
    m_pCurrentIter = &it;
    if (os) {
        if (startAfter) {
            while (Lex::Token* t = it.Next())
                if (strcmp(t->text->text, startAfter) == 0)
                    break;
        }
        while (Lex::Token* t = it.Next()) {
            // A token that is not written does not move the line either.
            if (!t->condition || *t->condition) {
                WriteLineDirective(*t);
                SaveToken(*t);
                m_pLastToken = t;
            }
            if (stopAt && strcmp(t->text->text, stopAt) == 0)
                break;
        }
    }
    m_pCurrentIter = nullptr;
    m_pStatistics = nullptr;
    m_pLastToken = nullptr;
}

char const* OutFile::SaveToken(Lex::Token& token)
{
    if (m_pStatistics)
        m_pStatistics->OnToken(token);
    return Languages_Jak_SaveToken(token);
}

void OutFile::WriteLineDirective(Lex::Token& token)
{
    if (token.location.empty() || !token.location.filename().name())
        return;
    Lex::Token* previous = m_pLastToken;
    int b = token.location.line();
    // Continuations are written back, so their line ends count as well.
    int c = token.get_line_breaks() + token.get_continuations();
    bool due;
    if (!previous || previous->location.empty() || !previous->location.filename().name() ||
        previous->location.filename() != token.location.filename()) {
        due = true;
    } else {
        int a = previous->location.line();
        if (c == 0 && b == a + 1) {
            due = false;
            m_bLineAdvanced = true;
        } else if (m_bLineAdvanced && previous->language == Lex::Token::white_id && HasLineBreak(*previous)) {
            due = true;
        } else {
            due = b != a + c;
        }
    }
    if (!due)
        return;
    m_bLineAdvanced = false;
    if (Config::GetInstance().GetNoLine() || !m_bLineDirectives || !m_pStream)
        return;
    std::ostream& os = *m_pStream;
    os << std::endl << (m_bJavaFile ? "//#line" : "#line") << ' ' << (b - c) << " \"" << token.location.filename()
       << "\"" << std::endl;
}

char const* OutFile::Languages_Jak_SaveToken(Lex::Token& token)
{
    if (!m_pStream)
        return token.text->text;
    std::ostream& os = *m_pStream;
    // A Java-like file has no `layer` declaration: the rest of its line becomes a comment.
    // Every other keyword is written as the module spells it (`throw` and `throws` too).
    if (m_bLayerLineComment && token.type == Lex::TOK_LAYER)
        os << "//";
    if (m_bNameSpaceOpen && token.language == Lex::Token::pre_id && token.type == Lex::PRE_INCLUDE)
        return HandleIncludeAndFwd(token);
    // Line ends are written as the module has them: this build's streams do
    // not translate them, so carriage returns are kept.
    WriteText(os, token);
    return token.text->text;
}

char const* OutFile::HandleIncludeAndFwd(Lex::Token& token)
{
    CppFile frame(this);
    frame.CloseNS();
    std::ostream* os = GetStream();
    if (!os)
        return token.text->text;
    WriteText(*os, token);
    if (m_pCurrentIter) {
        while (Lex::Token* t = m_pCurrentIter->Next()) {
            WriteText(*os, *t);
            m_pLastToken = t;
            if (t->language == Lex::Token::white_id && HasLineBreak(*t))
                break;
        }
    }
    frame.OpenNS();
    return token.text->text;
}

char const* OutFile::Close()
{
    if (!m_pStream)
        return GetPath();
    std::string text = m_pStream->str();
    delete m_pStream;
    m_pStream = nullptr;
    m_NewContent.SetData(text.data(), text.size());
    Str const& path = GetPath();
    long slash = File::LastSeparator(path);
    if (slash > 0)
        Directory::CreateRecursive(path.Left(static_cast<size_t>(slash)));
    if (!OutputRecord::Write(path, text.data(), text.size()))
        OnWriteError(errno);
    return GetPath();
}

char const* OutFile::ReadFile(Str& text)
{
    TextFile::GetFileContent(GetPath(), text);
    return text;
}

bool OutFile::HasDataChanged()
{
    if (m_bChangedKnown)
        return m_bChanged;
    m_bChangedKnown = true;
    if (!m_bOpened)
        m_bChanged = false;
    else if (m_bWriteError)
        m_bChanged = true;
    else
        m_bChanged = m_NewContent.GetLength() != m_OldContent.GetLength() ||
                     memcmp(m_NewContent.GetBuffer(), m_OldContent.GetBuffer(), m_NewContent.GetLength()) != 0;
    return m_bChanged;
}

bool OutFile::RestoreMTime()
{
    FileTimeNs old = m_OldStat.GetMTime();
    if (m_bWriteError || old == 0)
        return false;
    Lex::SysCall::SetFileTimeNs(GetPath(), old);
    return true;
}

FileTimeNs OutFile::GetMTime()
{
    FileStat record;
    if (!File::stat(GetPath(), record))
        return 0;
    return record.GetMTime();
}

void OutFile::AddSourcePath(char const* path, bool regular)
{
    Str key = FileKey(path, regular);
    // Every module file of the run is entered, tens of thousands in a large
    // product line; the set is only looked up, never walked.
    m_SourceFiles.InitBuckets(16381);
    if (!key.IsEmpty())
        m_SourceFiles.Add(key);
}

bool OutFile::IsSourcePath(char const* path)
{
    if (m_SourceFiles.GetCount() == 0)
        return false;
    Str key = FileKey(path);
    return !key.IsEmpty() && m_SourceFiles.Contains(key);
}

void OutFile::ClearSourcePaths()
{
    m_SourceFiles.RemoveAll();
}

OutFileList::~OutFileList()
{
    CloseAll();
}

Str OutFileList::MakeKey(char const* path)
{
    return Normalized(path);
}

OutFile* OutFileList::GetFileObject(char const* path)
{
    Str key = MakeKey(path);
    if (HashNode* node = Find(key))
        return node->GetValue();
    OutFile* file = new OutFile(path);
    Put(key, file);
    return file;
}

bool OutFileList::HasChangedFile()
{
    for (HashNode* node = GetFirst(); node; node = GetNext(node)) {
        OutFile* file = node->GetValue();
        if (file->IsOpened() && (file->IsBeingWritten() || file->HasDataChanged()))
            return true;
    }
    return false;
}

OutFile* OutFileList::GetOpenFile(char const* path)
{
    HashNode* node = Find(MakeKey(path));
    return node ? node->GetValue() : nullptr;
}

void OutFileList::CloseAll()
{
    for (HashNode* node = GetFirst(); node; node = GetNext(node))
        delete node->GetValue();
    RemoveAll();
}
