#include "compose/OutputFolder.h"

#include "base/Config.h"
#include "base/Directory.h"
#include "base/ErrorLog.h"
#include "base/File.h"
#include "base/OutputRecord.h"
#include "base/StringTokenizer.h"
#include "compose/EquationFile.h"
#include "compose/FopParseProject.h"
#include "compose/Layer.h"
#include "compose/LayerConfig.h"
#include "compose/LayerStack.h"
#include "compose/TransformedModule.h"

#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <unistd.h>

namespace {

// True when folder is path or one of its ancestors (both absolute).
bool Contains(Str const& folder, Str const& path)
{
    if (folder.IsEmpty() || path.IsEmpty())
        return false;
    if (folder == "/" || folder == path)
        return true;
    size_t n = folder.GetLength();
    return path.GetLength() > n && strncmp(path, folder, n) == 0 && path.GetBuffer()[n] == '/';
}

Str FolderOf(Str const& path)
{
    long separator = File::LastSeparator(path);
    if (separator < 0)
        return Str(".");
    if (separator == 0)
        return Str("/");
    return path.Left(static_cast<size_t>(separator));
}

} // namespace

Str OutputFolder::Resolve(Str const& value)
{
    Str path = value;
    if (path.IsEmpty() || path.GetBuffer()[0] != '/') {
        Str here = Directory::CurrentDir();
        if (here.IsEmpty())
            return Str();
        path = here + "/" + path;
    }
    StringArray names;
    StringTokenizer parts(path, '/');
    while (parts.HasMoreTokens()) {
        Str name = parts.GetNextToken();
        if (!name.IsEmpty())
            names.Add(name);
    }
    // The longest existing prefix.
    int existing = names.GetCount();
    Str prefix;
    for (; existing > 0; --existing) {
        prefix = "";
        for (int i = 0; i < existing; ++i)
            prefix += "/" + names[i];
        if (!File::RealPath(prefix).IsEmpty())
            break;
    }
    Str result = existing > 0 ? File::RealPath(prefix) : Str("/");
    for (int i = existing; i < names.GetCount(); ++i) {
        if (names[i] == ".")
            continue;
        if (names[i] == "..") {
            long separator = File::LastSeparator(result);
            result = separator > 0 ? result.Left(static_cast<size_t>(separator)) : Str("/");
            continue;
        }
        if (result != "/")
            result += "/";
        result += names[i];
    }
    return result;
}

Str OutputFolder::Make(Str const& folder, bool report)
{
    Str absolute = folder.IsEmpty() ? Str() : Directory::MakeFolder(folder);
    if (!absolute.IsEmpty() && absolute != "/")
        return absolute;
    if (!report)
        return Str();
    static StringSet reported;
    if (!reported.Contains(folder)) {
        reported.Add(folder);
        ErrorLog::OnError(Str().Format("cannot create output folder %s", folder.GetBuffer()));
    }
    return Str();
}

bool OutputFolder::IsSafe(LayerStack& stack, Str const& outDir)
{
    Str out = Resolve(outDir);
    if (out.IsEmpty())
        out = outDir;
    Str why;
    auto refuse = [&](Str const& reason) {
        if (why.IsEmpty())
            why = reason;
    };

    if (out == "/")
        refuse("is the file-system root");
    StringArray homes;
    if (char const* home = getenv("HOME"))
        homes.Add(home);
    if (passwd const* user = getpwuid(getuid()))
        if (user->pw_dir)
            homes.Add(user->pw_dir);
    for (int i = 0; i < homes.GetCount(); ++i) {
        Str home = File::RealPath(homes[i]);
        if (Contains(out, home))
            refuse(out == home ? "is the home folder" : "contains the home folder '" + home + "'");
    }

    StringArray sources;
    sources.Add(stack.m_SourceDir);
    for (int i = 0; i < stack.m_pEquation->m_LayerConfigs.GetCount(); ++i)
        if (LayerConfig* layerConfig = stack.m_pEquation->m_LayerConfigs[i])
            sources.Add(stack.GetAbsLayerDir(layerConfig->m_LayerName));
    for (int i = 0; i < stack.GetCount(); ++i)
        sources.Add(stack[i]->m_Dir);
    for (int i = 0; i < sources.GetCount(); ++i)
        if (Contains(out, File::RealPath(sources[i])))
            refuse("contains sources");

    // Every equation file read, imports included; those this run composed
    // itself into the output folder (-eq) are its own.
    StringArray const& equations = stack.m_pEquation->GetReadFiles();
    for (int i = 0; i < equations.GetCount(); ++i)
        if (!OutputRecord::IsFromThisRun(equations[i]) && Contains(out, FolderOf(equations[i])))
            refuse("contains the equation file '" + equations[i] + "'");

    // The tool's own folder holds its code templates.
    StringArray programs;
    programs.Add(FopParseProject::GetInstance()->GetProgramPath());
    programs.Add(File::RealPath("/proc/self/exe"));
    for (int i = 0; i < programs.GetCount(); ++i) {
        if (programs[i].IsEmpty())
            continue;
        Str folder = File::RealPath(FolderOf(programs[i]));
        if (Contains(out, folder))
            refuse("contains the folder of mosa++ '" + folder + "'");
        else if (Contains(folder, out))
            refuse("lies in the folder of mosa++ '" + folder + "'");
    }

    if (why.IsEmpty())
        return true;
    ErrorLog::OnError("output folder '" + outDir + "' " + why + "; refusing to use it");
    return false;
}

bool OutputFolder::InitDirectories(LayerStack& stack)
{
    Config& config = Config::GetInstance();
    Str sourceOption = config.GetSourceDir();
    if (!sourceOption.IsEmpty()) {
        stack.m_SourceDir = Directory::MakeAbsPath(sourceOption);
        if (stack.m_SourceDir.IsEmpty()) {
            ErrorLog::OnError("source folder '" + sourceOption + "' not found");
            return false;
        }
    } else {
        stack.m_SourceDir = stack.m_pEquation->GetDir();
        if (stack.m_SourceDir.IsEmpty()) {
            ErrorLog::OnError("source folder of equation '" + stack.m_pEquation->GetName() + "' not found");
            return false;
        }
    }

    // The output folder is only named here; it is judged and made once the
    // layers are known (OpenOutputFolder), before anything is written.
    Str outOption = config.GetOutDir();
    if (!outOption.IsEmpty()) {
        Str value = outOption;
        value.Replace("\\", "/");
        stack.m_OutDir = Resolve(value);
        if (stack.m_OutDir.IsEmpty()) {
            ErrorLog::OnError("cannot create output folder '" + outOption + "'");
            return false;
        }
    } else {
        stack.m_OutDir = stack.m_SourceDir == "/" ? Str("") : stack.m_SourceDir;
        stack.m_OutDir += "/.output.";
        stack.m_OutDir += stack.m_ProductLineName;
    }
    return IsSafe(stack, stack.m_OutDir);
}

bool OutputFolder::Open(LayerStack& stack)
{
    Config& config = Config::GetInstance();
    if (!config.GetOutDir().IsEmpty()) {
        Directory::CreateRecursive(stack.m_OutDir);
        Str made = Directory::MakeAbsPath(stack.m_OutDir);
        if (made.IsEmpty()) {
            ErrorLog::OnError("cannot create output folder '" + config.GetOutDir() + "'");
            return false;
        }
        stack.m_OutDir = made;
    }
    OutputRecord::SetOptions(GetOptions(stack));
    OutputRecord::Open(stack.m_OutDir);
    // The log is kept in the output folder once that exists.
    if (Directory::exists(stack.m_OutDir))
        ErrorLog::InitLogFile(stack.m_OutDir + "/mosac.log.xml");
    return true;
}

Str OutputFolder::GetOptions(LayerStack const& stack)
{
    Config& config = Config::GetInstance();
    Str options;
    options.Format("noline=%d namespace=%s source=%s linkdir=%d gpp=%d eq=%d", config.GetNoLine() ? 1 : 0,
                   config.GetNameSpace().GetBuffer(), stack.m_SourceDir.GetBuffer(), config.GetLinkDir() ? 1 : 0,
                   config.GetGpp() ? 1 : 0, config.GetEq() ? 1 : 0);
    return options;
}

Str OutputFolder::GetClassOfOutput(Str const& path)
{
    // A class's files are named by the class: "<Class>.<ext>", and
    // "<Class>__<unit>.h" for its parts in binding units.
    Str name = File::ExtractFileName(path);
    Str stem = name;
    if (char const* dot = strchr(name.GetBuffer(), '.'))
        stem = name.Left(static_cast<size_t>(dot - name.GetBuffer()));
    if (char const* units = strstr(stem.GetBuffer(), "__"))
        stem = stem.Left(static_cast<size_t>(units - stem.GetBuffer()));
    return stem;
}

void OutputFolder::RemoveClassOutputs(Str const& className)
{
    StringArray paths;
    OutputRecord::GetFilesNotFromThisRun(paths);
    for (int i = 0; i < paths.GetCount(); ++i)
        if (GetClassOfOutput(paths[i]) == className)
            OutputRecord::Remove(paths[i]);
}

void OutputFolder::RemoveDeadOutputs(LayerStack& stack)
{
    StringArray paths;
    OutputRecord::GetFilesNotFromThisRun(paths);
    for (int i = 0; i < paths.GetCount(); ++i) {
        Str stem = GetClassOfOutput(paths[i]);
        // A class not composed in this run keeps its files; one composed
        // again keeps those it wrote now, and one whose composition failed
        // keeps none, as a run from scratch would write none.
        if (auto* entry = stack.m_ComposedClasses.Find(stem))
            if (!entry->GetValue()->IsParsed() && !entry->GetValue()->IsMixinOnly())
                continue;
        // The factory class is written only in a run that composes a class
        // using it; it serves the classes not composed again as well.
        if (stack.m_bHasDynamicLayer && stack.m_GeneratedClassNames.Contains(stem))
            continue;
        OutputRecord::Remove(paths[i]);
    }
}
