#include "compose/FopParseProject.h"

#include "base/Config.h"
#include "base/ErrorLog.h"
#include "base/File.h"
#include "compose/EquationFile.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "output/Templates.h"
#include "scanner/CScanner.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

using FileId = std::pair<dev_t, ino_t>;

// Removes every entry below folder that is not a folder, except those in
// keep. Entries are examined with lstat: a link is removed itself and never
// followed, so nothing outside the folder is reached. Folders already
// visited (by device and inode) are not entered again.
void RemoveFilesBelow(Str const& folder, std::set<FileId> const& keep, std::set<FileId>& visited)
{
    struct stat record;
    if (lstat(folder, &record) != 0 || !visited.insert(FileId(record.st_dev, record.st_ino)).second)
        return;
    DIR* dir = opendir(folder);
    if (!dir)
        return;
    StringArray files;
    StringArray folders;
    while (dirent* entry = readdir(dir)) {
        char const* name = entry->d_name;
        if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0)
            continue;
        Str path = folder + "/" + name;
        if (lstat(path, &record) != 0)
            continue;
        if (S_ISDIR(record.st_mode))
            folders.Add(path);
        else if (!keep.count(FileId(record.st_dev, record.st_ino)))
            files.Add(path);
    }
    closedir(dir);
    for (int i = 0; i < files.GetCount(); ++i)
        unlink(files[i]);
    for (int i = 0; i < folders.GetCount(); ++i)
        RemoveFilesBelow(folders[i], keep, visited);
}

void AddFileId(char const* path, std::set<FileId>& ids)
{
    struct stat record;
    if (path && *path && lstat(path, &record) == 0)
        ids.insert(FileId(record.st_dev, record.st_ino));
}

} // namespace

FopParseProject* FopParseProject::GetInstance()
{
    static FopParseProject instance;
    return &instance;
}

FopParseProject::FopParseProject() : m_pLayerStack(new LayerStack), m_bRebuild(true)
{
    m_pScanner->aspect_keywords(true);
}

FopParseProject::~FopParseProject()
{
    delete m_pLayerStack;
}

bool FopParseProject::Init(int argc, char** argv, bool)
{
    // Without a usable argv[0] (null, empty, or naming nothing found here
    // or on PATH) the program is the running executable.
    if (argc > 0 && argv && GetAppPath(argv[0]).IsEmpty()) {
        m_ExePath = File::RealPath("/proc/self/exe");
        if (!m_ExePath.IsEmpty()) {
            m_Args.RemoveAll();
            for (int i = 0; i < argc; ++i)
                m_Args.Add(argv[i]);
            m_Args.Add(nullptr);
            m_Args[0] = const_cast<char*>(m_ExePath.GetBuffer());
            argv = &m_Args[0];
        }
    }
    bool result = ParseProject::Init(argc, argv, false);
    InitTemplateFolder();
    return result;
}

void FopParseProject::InitTemplateFolder()
{
    Templates::GetInstance()->InitTemplateFolder(GetProgramPath());
}

bool FopParseProject::AddPath(char const* equation)
{
    if (!m_pLayerStack->LoadEquation(equation))
        return false;
    Config& config = Config::GetInstance();
    if (config.GetEqOnly() || config.GetEq()) {
        m_pLayerStack->TransformEquationFiles();
        if (config.GetEqOnly())
            return true;
    }
    for (int i = 0; i < m_pLayerStack->GetCount(); ++i)
        AddFiles(*(*m_pLayerStack)[i]);
    return true;
}

void FopParseProject::AddFiles(Layer& layer)
{
    for (int i = 0; i < layer.m_ModuleFiles.GetCount(); ++i)
        if (Module* module = AddFile(layer.m_ModuleFiles[i]))
            layer.AddModule(*module);
}

bool FopParseProject::ParseFiles()
{
    if (Config::GetInstance().GetEqOnly())
        return true;
    PrepareParse();
    if (!m_bError && !m_pLayerStack->Parse(true))
        m_bError = true;
    return !m_bError;
}

void FopParseProject::PrepareParse()
{
    m_bRebuild = false;
    m_pLayerStack->PrepareParse();
    m_bRebuild = HasEquationOrAppChanged();
    if (m_bRebuild)
        DeleteOutputFiles();
}

bool FopParseProject::HasEquationOrAppChanged()
{
    time_t last = m_pLayerStack->GetLastTransformTime();
    bool equation = m_pLayerStack->m_pEquation->HasChangedSince(last);
    bool program = HasApplicationChangedSince(last);
    if (!equation && !program)
        return false;
    printf("%s changed after %lld.. rebuilding complete sources\n", equation ? "equation" : "mosa++",
           static_cast<long long>(last));
    fflush(stdout);
    return true;
}

void FopParseProject::DeleteOutputFiles()
{
    Str const& outDir = m_pLayerStack->m_OutDir;
    // The folder was checked when it was set up; the layers listed since
    // then (derived ones included) are checked again before anything goes.
    if (outDir.IsEmpty() || !m_pLayerStack->IsSafeOutputFolder(outDir)) {
        m_bError = true;
        return;
    }
    std::set<FileId> keep;
    AddFileId(ErrorLog::GetLogPath(), keep);
    StringSet const& written = m_pLayerStack->m_WrittenFiles;
    for (auto* node = written.GetFirst(); node; node = written.GetNext(node))
        AddFileId(node->GetKey(), keep);
    std::set<FileId> visited;
    RemoveFilesBelow(outDir, keep, visited);
}

Str FopParseProject::GetEquationName()
{
    return m_pLayerStack->m_pEquation->GetName();
}
