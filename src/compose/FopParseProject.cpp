#include "compose/FopParseProject.h"

#include "base/Config.h"
#include "base/Diagnostics.h"
#include "base/Directory.h"
#include "base/File.h"
#include "base/OutputRecord.h"
#include "compose/CodeGenerator.h"
#include "compose/EquationFile.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "compose/Module.h"
#include "compose/TransformedModule.h"
#include "scanner/CScanner.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

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
    Directory::ForgetResolvedFolders();
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
    CodeGenerator::Get().InitTemplates(GetProgramPath());
}

bool FopParseProject::AddPath(char const* equation)
{
    if (!m_pLayerStack->LoadEquation(equation))
        return false;
    Config& config = Config::GetInstance();
    if (config.GetEqOnly() || config.GetEq()) {
        if (!m_pLayerStack->TransformEquationFiles())
            return false;
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
        if (Module* module = AddFile(layer.m_ModuleFiles[i])) {
            // The listing's time stands for the file's: no second stat.
            if (i < layer.m_ModuleTimes.GetCount())
                module->GetDecl().SetListedTime(layer.m_ModuleTimes[i]);
            layer.AddModule(*module);
        }
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
    // An output folder that a run left unfinished, or that was composed
    // with other options, is composed anew.
    char const* reason = nullptr;
    if (OutputRecord::WasInterrupted())
        reason = "previous run did not finish";
    else if (OutputRecord::Found() && OutputRecord::GetRecordedOptions() != m_pLayerStack->GetOutputOptions())
        reason = "options changed";
    if (reason) {
        Diagnostics::Printf(DiagKind::Progress, DiagFlush::After, "%s.. rebuilding complete sources\n", reason);
        return true;
    }
    FileTimeNs last = m_pLayerStack->GetLastTransformTime();
    bool equation = m_pLayerStack->m_pEquation->HasAnyChangedSince(last);
    bool program = HasApplicationChangedSince(last);
    if (!equation && !program)
        return false;
    Diagnostics::Printf(DiagKind::Progress, DiagFlush::After, "%s changed after %lld.. rebuilding complete sources\n",
                        equation ? "equation" : "mosa++", SecondsOf(last));
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
    // Only what the tool wrote goes; files of this run so far (the log, the
    // composed equation files of -eq) stay.
    if (OutputRecord::Found()) {
        OutputRecord::RemoveAllButThisRun();
        return;
    }
    // A folder written before the record existed: only the files this run
    // writes for its classes go, so that each is written anew.
    MapStringTo<TransformedModule*>& classes = m_pLayerStack->m_ComposedClasses;
    for (auto* node = classes.GetFirst(); node; node = classes.GetNext(node)) {
        TransformedModule* cls = node->GetValue();
        if (!cls->HasOutDir() || !cls->GetFirstModule())
            continue;
        Str const& base = cls->GetDestBase();
        Str paths[] = {cls->GetMainDestFilePath(), cls->GetFirstModule()->GetGeneratedImplFileName(base), base + ".dep"};
        for (Str const& path : paths)
            if (!path.IsEmpty() && !OutputRecord::IsFromThisRun(path) && !CodeGenerator::Get().IsSourcePath(path))
                unlink(path);
    }
}

Str FopParseProject::GetEquationName()
{
    return m_pLayerStack->m_pEquation->GetName();
}
