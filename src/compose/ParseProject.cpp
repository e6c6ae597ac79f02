#include "compose/ParseProject.h"

#include "base/Diagnostics.h"
#include "base/Directory.h"
#include "base/DiskInterface.h"
#include "base/ErrorLog.h"
#include "base/FileName.h"
#include "base/Name.h"
#include "base/PathIterator.h"
#include "base/StringTokenizer.h"
#include "compose/Module.h"
#include "parser/Node.h"
#include "parser/ParserConfig.h"
#include "parser/SimpleCPPParser.h"
#include "scanner/CScanner.h"
#include "scanner/SysCall.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <vector>

ParseProject::ParseProject()
    : m_pScanner(nullptr), m_pParser(nullptr), m_bError(false), m_pParserConfig(nullptr), m_bBusy(false),
      m_ProgramTime(0)
{
    CreateTools();
}

ParseProject::ParseProject(std::ostream& errors)
    : m_Errors(errors), m_pScanner(nullptr), m_pParser(nullptr), m_bError(false), m_pParserConfig(nullptr),
      m_bBusy(false), m_ProgramTime(0)
{
    CreateTools();
}

void ParseProject::CreateTools()
{
    m_Errors.reset();
    m_pScanner = new Lex::CScanner(m_Errors);
    m_pScanner->c_keywords(true);
    m_pScanner->cpp_keywords(true);
    m_pScanner->fop_keywords(true);
    m_pScanner->aspect_keywords(false);
    m_pScanner->wildcards(false);
    m_pScanner->pre_token_mode(false);
    m_pParser = new SimpleCPPParser;
    m_pParserConfig = new ParserConfig;
}

ParseProject::~ParseProject()
{
    for (auto* node = m_Modules.GetFirst(); node; node = m_Modules.GetNext(node))
        delete node->GetValue();
    m_Modules.RemoveAll();
    m_ModuleList.RemoveAll();
    delete m_pParserConfig;
    delete m_pParser;
    delete m_pScanner;
}

bool ParseProject::Init(int argc, char** argv, bool flag)
{
    m_ProgramPath = GetAppPath(argc > 0 && argv ? argv[0] : nullptr);
    if (m_ProgramPath.IsEmpty() || !DiskInterface::Get().GetMTime(m_ProgramPath, m_ProgramTime))
        Diagnostics::Printf(DiagKind::Warning, DiagFlush::None, "warning: unable to stat %s\n",
                            ErrorLog::Escape(m_ProgramPath).GetBuffer());
    m_pParserConfig->Init(argc, argv, flag);
    if (m_pParserConfig->Gpp()) {
        Diagnostics::Printf(DiagKind::Info, DiagFlush::None, "using gpp settings\n");
        Node::m_bMsVc = false;
    }
    return true;
}

Module* ParseProject::AddFile(char const* path)
{
    Str copy(path);
    copy.Replace("\\", "/");
    Str folder;
    char const* text = copy.GetBuffer();
    char const* slash = strrchr(text, '/');
    if (slash && slash != text)
        folder.SetData(text, static_cast<size_t>(slash - text));
    return AddFile(copy, folder);
}

Module* ParseProject::AddFile(char const* path, char const* folder)
{
    FileName file(path);
    char const* key = file.GetDirAndName();
    Module* module = nullptr;
    // One entry per module file, looked up for every file added; only the
    // clean-up walks the table, so its size changes nothing the tool writes.
    // Made on the first file, so that a project without files stays cheap.
    m_Modules.InitBuckets(16381);
    if (auto* node = m_Modules.Find(key)) {
        module = node->GetValue();
    } else {
        module = new Module(*this, Str(folder));
        m_Modules.Put(key, module);
        m_ModuleList.Add(module);
    }
    if (!module->AddFile(file) && Module::IsDeclFile(file) && module->GetDecl().HasFile()) {
        // One folder holds two module files of one name (A.h and A.jak):
        // only the first is composed.
        Str other = FileName(module->GetDecl().GetPath()).NameWithExt();
        Str text = file.NameWithExt() + " and " + other + " in one layer both hold a module of class " +
                   file.GetName() + ": only " + other + " is composed; remove or rename one of them";
        ErrorLog::OnError(text, file.GetPath(), 1);
    }
    return module;
}

bool ParseProject::ParseFiles()
{
    if (m_ModuleList.GetCount() == 0) {
        m_bError = true;
        return false;
    }
    bool parsed = false;
    for (int i = 0; i < m_ModuleList.GetCount(); ++i)
        parsed = m_ModuleList[i]->Parse(true) || parsed;
    if (parsed) {
        // Truncated, so that a shorter list leaves no old records behind.
        int fd = Lex::SysCall::open("files.txt", O_WRONLY | O_CREAT | O_TRUNC, &m_Errors);
        if (fd >= 0) {
            for (int i = 0; i < m_ModuleList.GetCount(); ++i)
                if (m_ModuleList[i]->SaveInfo(fd) < 0)
                    m_bError = true;
            Lex::SysCall::close(fd, &m_Errors);
        } else {
            m_bError = true;
        }
    } else {
        m_bError = true;
    }
    ClassDB& db = m_pParser->GetProjectDB();
    Diagnostics::Printf(DiagKind::Listing, DiagFlush::None, "%d namespaces\n%d classes\n%d(%d) functions\n\n",
                        db.GetNamespaceCount(), db.GetClassCount(), db.GetFuncDefCount(), db.GetFuncDeclCount());
    Name::m_AllNames.PrintDebugInfo();
    QualName::m_AllNames.PrintDebugInfo();
    return !m_bError;
}

void ParseProject::Parse()
{
    if (m_bBusy)
        return;
    m_bBusy = true;
    ParseThreadFunc(this);
}

int ParseProject::ParseThreadFunc(void* project)
{
    ParseProject* self = static_cast<ParseProject*>(project);
    self->ParseFiles();
    self->m_bBusy = false;
    return 0;
}

bool ParseProject::HasApplicationChangedSince(FileTimeNs t) const
{
    return m_ProgramTime == 0 || m_ProgramTime >= t;
}

void ParseProject::GetFiles(char const* folder, StringArray& files)
{
    PathIterator entries(folder);
    while (!entries.GetName().IsEmpty()) {
        Str path(folder);
        path += "/";
        path += entries.GetName();
        bool isDir = entries.GetStat().is_dir();
        entries.ReadNext();
        if (isDir)
            GetFiles(path, files);
        else
            files.Add(path);
    }
}

bool ParseProject::HasModule(Module& module) const
{
    for (int i = 0; i < m_ModuleList.GetCount(); ++i)
        if (m_ModuleList[i] == &module)
            return true;
    return false;
}

bool ParseProject::GetClasses(char const* filter, char const**& names, int& count, bool ignoreCase)
{
    static std::vector<char const*> found;
    if (m_bBusy)
        return false;
    std::string wanted(filter ? filter : "");
    if (ignoreCase)
        for (char& c : wanted)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    Array<Name*> classes;
    m_pParser->GetProjectDB().m_Classes.GetAllNames(classes);
    found.clear();
    for (int i = 0; i < classes.GetCount(); ++i) {
        Name* name = classes[i];
        if (!name)
            continue;
        char const* text = ignoreCase ? name->GetLowerText().GetBuffer() : name->c_str();
        if (strstr(text, wanted.c_str()))
            found.push_back(name->c_str());
    }
    names = found.empty() ? nullptr : found.data();
    count = static_cast<int>(found.size());
    return true;
}

bool ParseProject::GetAllNames(char const* name, char const**& names, int& count)
{
    static Array<char const*, char const* const&> found;
    if (m_bBusy || !name)
        return false;
    auto* node = Name::m_AllNames.Find(name);
    if (!node)
        return false;
    found.RemoveAll();
    node->GetValue()->GetQualNames(found);
    names = found.GetCount() ? &found[0] : nullptr;
    count = found.GetCount();
    return true;
}

namespace {

// A program file: something that can be stat'ed and is no folder.
bool IsProgramFile(Str const& path)
{
    Lex::FileInfo info;
    return Lex::SysCall::stat(path, info, nullptr) && !info.is_folder();
}

} // namespace

Str GetAppPath(char const* argv0)
{
    Str name(argv0 ? argv0 : "");
    if (name.IsEmpty())
        return Str();
    Str candidate(name);
    if (name.GetBuffer()[0] != '/') {
        candidate = Directory::CurrentDir();
        candidate += "/";
        candidate += name;
    }
    if (IsProgramFile(candidate))
        return candidate;
    char const* env = getenv("PATH");
    Str path(env ? env : "");
    if (!path.IsEmpty()) {
        StringTokenizer pieces(path, ':');
        while (pieces.HasMoreTokens()) {
            candidate = pieces.GetNextToken();
            candidate += "/";
            candidate += name;
            if (IsProgramFile(candidate))
                return candidate;
        }
    }
    return Str();
}
