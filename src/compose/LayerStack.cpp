#include "compose/LayerStack.h"

#include "base/Config.h"
#include "base/Diagnostics.h"
#include "base/Directory.h"
#include "base/ErrorLog.h"
#include "base/File.h"
#include "base/FileName.h"
#include "base/OutputRecord.h"
#include "base/StringTokenizer.h"
#include "base/ThreadPool.h"
#include "compose/AppendFile.h"
#include "compose/CodeGenerator.h"
#include "compose/EquationFile.h"
#include "compose/FOPModule.h"
#include "compose/FopParseProject.h"
#include "compose/Layer.h"
#include "compose/LayerConfig.h"
#include "compose/Module.h"
#include "compose/TransformedModule.h"

#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace {

// The absolute path of a folder that may not exist yet, judged without
// creating anything: the longest part of it that exists with its links
// resolved, and the rest of its names after it ("." dropped, ".." taking
// the name before it away). Empty when a relative path meets a current
// folder that is gone.
Str ResolveFolder(Str const& value)
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

LayerStack::LayerStack()
    : m_GeneratedCount(0), m_DependentCount(0), m_bAnyOutputChanged(true), m_pEquation(new EquationFile(true)),
      m_bHasDynamicLayer(false)
{
    // A line may compose thousands of classes, each looked up by name.
    m_ComposedClasses.SetIndexed();
}

LayerStack::~LayerStack()
{
    // Layers point at their configurations, so they go first.
    for (int i = 0; i < GetCount(); ++i)
        delete (*this)[i];
    RemoveAll();
    delete m_pEquation;
}

bool LayerStack::InitDirectories()
{
    Config& config = Config::GetInstance();
    Str sourceOption = config.GetSourceDir();
    if (!sourceOption.IsEmpty()) {
        m_SourceDir = Directory::MakeAbsPath(sourceOption);
        if (m_SourceDir.IsEmpty()) {
            ErrorLog::OnError("source folder '" + sourceOption + "' not found");
            return false;
        }
    } else {
        m_SourceDir = m_pEquation->GetDir();
        if (m_SourceDir.IsEmpty()) {
            ErrorLog::OnError("source folder of equation '" + m_pEquation->GetName() + "' not found");
            return false;
        }
    }

    // The output folder is only named here; it is judged and made once the
    // layers are known (OpenOutputFolder), before anything is written.
    Str outOption = config.GetOutDir();
    if (!outOption.IsEmpty()) {
        Str value = outOption;
        value.Replace("\\", "/");
        m_OutDir = ResolveFolder(value);
        if (m_OutDir.IsEmpty()) {
            ErrorLog::OnError("cannot create output folder '" + outOption + "'");
            return false;
        }
    } else {
        m_OutDir = m_SourceDir == "/" ? Str("") : m_SourceDir;
        m_OutDir += "/.output.";
        m_OutDir += m_ProductLineName;
    }
    return IsSafeOutputFolder(m_OutDir);
}

bool LayerStack::OpenOutputFolder()
{
    Config& config = Config::GetInstance();
    if (!config.GetOutDir().IsEmpty()) {
        Directory::CreateRecursive(m_OutDir);
        Str made = Directory::MakeAbsPath(m_OutDir);
        if (made.IsEmpty()) {
            ErrorLog::OnError("cannot create output folder '" + config.GetOutDir() + "'");
            return false;
        }
        m_OutDir = made;
    }
    OutputRecord::SetOptions(GetOutputOptions());
    OutputRecord::Open(m_OutDir);
    // The log is kept in the output folder once that exists.
    if (Directory::exists(m_OutDir))
        ErrorLog::InitLogFile(m_OutDir + "/mosac.log.xml");
    return true;
}

Str LayerStack::GetOutputOptions() const
{
    Config& config = Config::GetInstance();
    Str options;
    options.Format("noline=%d namespace=%s source=%s linkdir=%d gpp=%d eq=%d", config.GetNoLine() ? 1 : 0,
                   config.GetNameSpace().GetBuffer(), m_SourceDir.GetBuffer(), config.GetLinkDir() ? 1 : 0,
                   config.GetGpp() ? 1 : 0, config.GetEq() ? 1 : 0);
    return options;
}

bool LayerStack::IsSafeOutputFolder(Str const& outDir)
{
    Str out = ResolveFolder(outDir);
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
    sources.Add(m_SourceDir);
    for (int i = 0; i < m_pEquation->m_LayerConfigs.GetCount(); ++i)
        if (LayerConfig* layerConfig = m_pEquation->m_LayerConfigs[i])
            sources.Add(GetAbsLayerDir(layerConfig->m_LayerName));
    for (int i = 0; i < GetCount(); ++i)
        sources.Add((*this)[i]->m_Dir);
    for (int i = 0; i < sources.GetCount(); ++i)
        if (Contains(out, File::RealPath(sources[i])))
            refuse("contains sources");

    // Every equation file read, imports included; those this run composed
    // itself into the output folder (-eq) are its own.
    StringArray const& equations = m_pEquation->GetReadFiles();
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

bool LayerStack::InitLayers()
{
    if (m_pEquation->m_bHasDynamicLayer)
        m_bHasDynamicLayer = true;
    Array<LayerConfig*> configs;
    configs = m_pEquation->m_LayerConfigs;
    for (int i = 0; i < GetCount(); ++i)
        delete (*this)[i];
    RemoveAll();
    for (int i = 0; i < configs.GetCount(); ++i) {
        LayerConfig& layerConfig = *configs[i];
        NewLayer(layerConfig, GetAbsLayerDir(layerConfig.m_LayerName), nullptr);
    }
    // Listing a folder can add derived layers above it; they are listed
    // in turn.
    for (int i = 0; i < GetCount(); ++i)
        (*this)[i]->LoadModules();
    return true;
}

Layer* LayerStack::NewLayer(LayerConfig& config, Str const& folder, Set<Layer*, Layer*>* parents)
{
    Layer* layer = new Layer(*this, folder, config, parents);
    Add(*layer);
    return layer;
}

void LayerStack::Add(Layer& layer)
{
    Set<Layer*, Layer*>& parents = layer.m_BaseLayers;
    int position = -1;
    if (parents.GetCount() >= 2) {
        for (int i = 0; i < GetCount(); ++i) {
            Layer* other = (*this)[i];
            bool below = parents.Contains(other);
            if (!below && other->m_BaseLayers.GetCount() >= 2) {
                below = true;
                for (auto* node = other->m_BaseLayers.GetFirst(); node && below;
                     node = other->m_BaseLayers.GetNext(node))
                    below = parents.Contains(node->GetKey());
            }
            if (below)
                position = i + 1;
        }
    }
    if (position < 0)
        position = GetCount();
    InsertAt(position, &layer);
    layer.m_pLayerBelow = position > 0 ? (*this)[position - 1] : nullptr;
    if (position + 1 < GetCount())
        (*this)[position + 1]->m_pLayerBelow = &layer;
}

Layer* LayerStack::FindLayer(Str const& name)
{
    for (int i = 0; i < GetCount(); ++i) {
        Layer* layer = (*this)[i];
        if (layer->m_LayerName == name || layer->m_PlainName == name)
            return layer;
    }
    return nullptr;
}

Str LayerStack::GetAbsLayerDir(Str name)
{
    return Layer::ResolveLayerDir(m_SourceDir, name);
}

int LayerStack::CompareLayerNames(Str const& a, Str const& b)
{
    if (a == b)
        return 0;
    StringTokenizer left(a, '/');
    StringTokenizer right(b, '/');
    while (left.HasMoreTokens() && right.HasMoreTokens()) {
        Str x = left.GetNextToken();
        Str y = right.GetNextToken();
        if (x != y)
            return m_pEquation->CompareLayers(x, y);
    }
    return 0;
}

void LayerStack::GetDependingFiles(Str const& name, Set<TransformedModule*, TransformedModule*>& result,
                                   bool recursive)
{
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node)) {
        TransformedModule* cls = node->GetValue();
        if (node->GetKey() == name || result.Contains(cls) || !cls->Depends(name))
            continue;
        result.Add(cls);
        if (recursive)
            GetDependingFiles(node->GetKey(), result, true);
    }
}

void LayerStack::AddDerivativeLayer(Layer& layer, Str const& folder, Str const& linkName)
{
    Layer* other = FindLayer(linkName);
    if (!other && layer.m_pConfig)
        other = FindLayer(layer.m_pConfig->m_ImportPrefix + linkName);
    if (!other)
        return;
    Set<Layer*, Layer*> parents;
    for (auto* node = layer.m_BaseLayers.GetFirst(); node; node = layer.m_BaseLayers.GetNext(node))
        parents.Add(node->GetKey());
    parents.Add(other);
    StringSet parentNames;
    for (auto* node = parents.GetFirst(); node; node = parents.GetNext(node))
        parentNames.Add(node->GetKey()->m_LayerName);
    if (LayerConfig* config = CreateDerivateConfig(parentNames))
        NewLayer(*config, folder, &parents);
}

LayerConfig* LayerStack::CreateDerivateConfig(StringSet& parentNames)
{
    Str name;
    Str plainName;
    Str bindingUnit;
    bool staticSeen = false;
    bool linkSeen = false;
    bool loadSeen = false;
    LayerConfig* lastParent = nullptr;

    Array<LayerConfig*> configs;
    configs = m_pEquation->m_LayerConfigs;
    for (int i = 0; i < configs.GetCount(); ++i) {
        LayerConfig* parent = configs[i];
        if (!parent || !parentNames.Contains(parent->m_LayerName))
            continue;
        Str const& full = parent->m_LayerName;
        bool meta = full.GetLength() > 3 && strncmp(full, "Meta", 4) == 0;
        if (staticSeen && !parent->m_bStatic && !meta) {
            Str text;
            text.Format("cannot compose derivatives of static and non-static modules: %s", full.GetBuffer());
            ErrorLog::OnErrorOnce(text); // listed again with -eq
        }
        if (parent->m_bStatic || meta)
            staticSeen = true;
        else if (parent->m_bLinkDynamic)
            linkSeen = true;
        else if (parent->m_bLoadDynamic)
            loadSeen = true;
        if (linkSeen || loadSeen) {
            Str unit = parent->GetBindingUnitName();
            if (bindingUnit.IsEmpty()) {
                bindingUnit = unit;
            } else if (bindingUnit != unit) {
                bindingUnit = bindingUnit + "." + unit;
                Str text;
                text.Format("creating new binding unit: %s", bindingUnit.GetBuffer());
                ErrorLog::OnWarning(text);
            }
        }
        if (lastParent) {
            name += "/";
            plainName += "/";
        }
        name += full;
        plainName += parent->m_PlainName;
        lastParent = parent;
    }
    // Without a parent in the equation there is nothing to place it after.
    if (!lastParent || FindLayer(name))
        return nullptr;

    LayerConfig* config = new LayerConfig(name, plainName);
    config->m_bDerivative = true;
    if (staticSeen)
        config->m_bStatic = true;
    if (linkSeen)
        config->SetLinkDynamic();
    else if (loadSeen)
        config->SetLoadDynamic();
    if (!bindingUnit.IsEmpty())
        config->SetBindingUnit(bindingUnit);
    m_pEquation->InsertLayer(*config, *lastParent);
    return config;
}

void LayerStack::TransformEquationFiles()
{
    // On a first run the output folder may not exist yet.
    for (int i = 0; i < GetCount(); ++i)
        if ((*this)[i]->m_EquationFiles.GetCount() > 0) {
            Directory::CreateRecursive(m_OutDir);
            break;
        }
    int count = 0;
    for (int i = 0; i < GetCount(); ++i)
        count += (*this)[i]->ProcessEquationFiles();
    if (Config::GetInstance().GetEqOnly() || count == 0) {
        int changed = 0;
        AppendFile::CloseAll(m_AppendFiles, changed);
        return;
    }
    // The derived layers point at their configurations: the layers go
    // first.
    for (int i = 0; i < GetCount(); ++i)
        delete (*this)[i];
    RemoveAll();
    m_pEquation->DeleteDerivatives();
    // Each composed file is imported at the front; a layer folder of its
    // name below the sources becomes the prefix of its layers.
    for (auto* node = m_AppendFiles.GetFirst(); node; node = m_AppendFiles.GetNext(node)) {
        AppendFile* file = node->GetValue();
        Str path = file->m_File.GetName();
        Str importText = file->GetBaseName();
        file->Close();
        delete file;
        if (!Directory::exists(GetAbsLayerDir(importText)))
            importText += " as .";
        m_pEquation->Prepend(path, importText);
    }
    m_AppendFiles.RemoveAll();
    OnEquationChanged();
}

bool LayerStack::LoadEquation(char const* path)
{
    Str copy(path);
    copy.Replace("\\", "/");
    if (!m_pEquation->LoadFile(copy))
        return false;
    if (m_pEquation->m_LayerConfigs.GetCount() == 0)
        ErrorLog::OnWarning("equation file '" + copy + "' names no layers");
    return OnEquationChanged();
}

bool LayerStack::OnEquationChanged()
{
    m_ProductLineName = m_pEquation->GetName();
    if (!InitDirectories())
        return false;
    if (!InitLayers())
        return false;
    // Derived layers found while listing may lie anywhere.
    if (!IsSafeOutputFolder(m_OutDir))
        return false;
    return OpenOutputFolder();
}

void LayerStack::PrepareParse()
{
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node))
        node->GetValue()->PrepareParse();
}

FileTimeNs LayerStack::GetLastTransformTime()
{
    FileTimeNs last = 0;
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node)) {
        TransformedModule* cls = node->GetValue();
        FileTimeNs t = cls->GetDestFileTime();
        cls->SetStartDestFileTime(t);
        if (last == 0 || t > last)
            last = t;
    }
    return last;
}

bool LayerStack::Parse(bool transform)
{
    StringArray generated;
    CodeGenerator::Get().GetGeneratedClassNames(generated);
    AddGeneratedModules(generated);
    m_GeneratedCount = 0;
    m_DependentCount = 0;
    Diagnostics::Printf(DiagKind::Progress, DiagFlush::After, "parsing..\n");
    PrescanModules();
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node))
        if (!node->GetValue()->Parse())
            return false;
    // A class whose forward declaration changed (another namespace, class
    // key or template head) is declared anew by the classes that use it.
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node)) {
        TransformedModule* used = node->GetValue();
        if (!used->IsParsed() || used->GetRecordedForward().IsEmpty() ||
            used->GetForwardDeclaration() == used->GetRecordedForward())
            continue;
        for (auto* user = m_ComposedClasses.GetFirst(); user; user = m_ComposedClasses.GetNext(user))
            if (!user->GetValue()->IsParsed() && user->GetValue()->Depends(node->GetKey()) &&
                !user->GetValue()->Parse(true))
                return false;
    }
    if (transform)
        Transform();
    CodeGenerator::Get().CloseRemainingOpenFiles();
    if (m_bHasDynamicLayer)
        GenerateFeatureClasses();
    if (transform)
        RemoveDeadOutputs();
    return true;
}

void LayerStack::RemoveDeadOutputs()
{
    StringArray paths;
    OutputRecord::GetFilesNotFromThisRun(paths);
    for (int i = 0; i < paths.GetCount(); ++i) {
        // A class's files are named by the class: "<Class>.<ext>", and
        // "<Class>__<unit>.h" for its parts in binding units.
        Str name = File::ExtractFileName(paths[i]);
        Str stem = name;
        if (char const* dot = strchr(name.GetBuffer(), '.'))
            stem = name.Left(static_cast<size_t>(dot - name.GetBuffer()));
        if (char const* units = strstr(stem.GetBuffer(), "__"))
            stem = stem.Left(static_cast<size_t>(units - stem.GetBuffer()));
        // A class not composed in this run keeps its files; one composed
        // again keeps those it wrote now, and one whose composition failed
        // keeps none, as a run from scratch would write none.
        if (auto* entry = m_ComposedClasses.Find(stem))
            if (!entry->GetValue()->IsParsed() && !entry->GetValue()->IsMixinOnly())
                continue;
        // The factory class is written only in a run that composes a class
        // using it; it serves the classes not composed again as well.
        if (m_bHasDynamicLayer && m_GeneratedClassNames.Contains(stem))
            continue;
        OutputRecord::Remove(paths[i]);
    }
}

void LayerStack::PrescanModules()
{
    if (ThreadPool::GetThreadCount() <= 1 || !FopParseProject::GetInstance()->IsRebuild())
        return;
    std::vector<ParseUnit*> units;
    std::unordered_set<ParseUnit*> listed;
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node)) {
        TransformedModule* cls = node->GetValue();
        if (cls->IsParsed())
            continue;
        for (int i = 0; i < cls->GetModules().GetCount(); ++i) {
            Module* module = cls->GetModules()[i]->GetModule();
            for (ParseUnit* unit : {&module->GetDecl(), &module->GetImpl()})
                if (unit->HasFile() && listed.insert(unit).second)
                    units.push_back(unit);
        }
    }
    ThreadPool::ForEach(units.size(), [&](size_t i) { units[i]->Prescan(); });
}

void LayerStack::Transform()
{
    if (!m_OutDir.IsEmpty())
        Directory::CreateRecursive(m_OutDir);
    TransformNonSourceFiles();
    Diagnostics::Printf(DiagKind::Progress, DiagFlush::After, "transforming..\n");
    FindMixinOnlyClasses();
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node)) {
        TransformedModule* cls = node->GetValue();
        if (cls->IsParsed() && !cls->IsMixinOnly() && cls->Transform())
            ++m_GeneratedCount;
    }
    SecondTransformStep();
    RecomposeClassesOfChangedBinding();
    OnTransformEnd();
    SaveFiles();
    TouchDependingFiles();
    Diagnostics::Printf(DiagKind::Progress, DiagFlush::After, "%d files generated (%d + %d dependent)\n",
                        m_GeneratedCount + m_DependentCount, m_GeneratedCount, m_DependentCount);
}

void LayerStack::FindMixinOnlyClasses()
{
    // What each class names and which classes it holds as mixins: from its
    // modules when it was parsed in this run, else from its dependency file.
    Set<TransformedModule*> usedAsMixin;
    Set<TransformedModule*> named;
    usedAsMixin.SetIndexed();
    named.SetIndexed();
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node)) {
        TransformedModule* cls = node->GetValue();
        StringSet names;
        if (cls->IsParsed()) {
            StringSet forward, include;
            for (int i = 0; i < cls->GetModules().GetCount(); ++i) {
                FOPModule* module = cls->GetModules()[i];
                CodeGenerator::Get().GetUsedClasses(*module, names, forward, include);
                if (module->IsMixin())
                    if (TransformedModule* mixin = GetModule(module->GetMixinName()))
                        usedAsMixin.Add(mixin);
            }
            for (auto* n = forward.GetFirst(); n; n = forward.GetNext(n))
                names.Add(n->GetKey());
            for (auto* n = include.GetFirst(); n; n = include.GetNext(n))
                names.Add(n->GetKey());
        } else {
            for (auto* n = cls->GetDeclDependencyNames().GetFirst(); n; n = cls->GetDeclDependencyNames().GetNext(n))
                names.Add(n->GetKey());
            for (auto* n = cls->GetImplDependencyNames().GetFirst(); n; n = cls->GetImplDependencyNames().GetNext(n))
                names.Add(n->GetKey());
            for (auto* n = cls->GetRecordedMixins().GetFirst(); n; n = cls->GetRecordedMixins().GetNext(n))
                if (TransformedModule* mixin = GetModule(n->GetKey()))
                    usedAsMixin.Add(mixin);
        }
        for (auto* n = names.GetFirst(); n; n = names.GetNext(n)) {
            TransformedModule* other = GetModule(n->GetKey());
            if (other && other != cls)
                named.Add(other);
        }
    }
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node)) {
        TransformedModule* cls = node->GetValue();
        cls->SetMixinOnly(usedAsMixin.Contains(cls) && !named.Contains(cls));
    }
}

void LayerStack::TransformNonSourceFiles()
{
    for (int i = 0; i < GetCount(); ++i)
        (*this)[i]->ProcessNonSourceFiles();
    int changed = 0;
    int appended = AppendFile::CloseAll(m_AppendFiles, changed);
    Diagnostics::Printf(DiagKind::Progress, DiagFlush::After, "%d files appended (%d changed)\n", appended, changed);
}

void LayerStack::SecondTransformStep()
{
    // A class not parsed in this run accesses what its modules accessed last
    // run: its modules are the same.
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node))
        if (!node->GetValue()->IsParsed())
            node->GetValue()->StoreRecordedAccesses();
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node))
        node->GetValue()->SecondTransformStep();
}

void LayerStack::RecomposeClassesOfChangedBinding()
{
    for (;;) {
        bool recomposed = false;
        for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node)) {
            TransformedModule* cls = node->GetValue();
            if (cls->IsParsed() || cls->IsMixinOnly() || !cls->HasOutDir() || !cls->HasBindingStateChanged())
                continue;
            // A module that fails to parse now was reported; the class keeps
            // its outputs as a full run would not write them either.
            if (!cls->Parse(true))
                continue;
            if (cls->Transform())
                ++m_GeneratedCount;
            recomposed = true;
        }
        if (!recomposed)
            return;
        // The graph now holds the accesses found by parsing and transforming;
        // the flags are spread anew.
        for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node))
            node->GetValue()->GetAccessNode().m_DynAccess = ClassAccessGraphNode::DynAccessNotSet;
        for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node))
            node->GetValue()->SecondTransformStep();
    }
}

void LayerStack::OnTransformEnd()
{
    PrintLayerLoc();
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node))
        node->GetValue()->OnTransformEnd();
}

void LayerStack::PrintLayerLoc()
{
    int methods = 0;
    int inlinedMethods = 0;
    int extensions = 0;
    int inlinedExtensions = 0;
    int total = 0;
    for (int i = 0; i < GetCount(); ++i) {
        Layer& layer = *(*this)[i];
        int loc = layer.GetLocWritten();
        Diagnostics::Printf(DiagKind::Listing, DiagFlush::None, "layer %s: %d LoC\n",
                            ErrorLog::Escape(layer.m_LayerName).GetBuffer(), loc);
        total += loc;
        CalcLayerMethods(layer, methods, inlinedMethods, extensions, inlinedExtensions);
    }
    Diagnostics::Printf(DiagKind::Listing, DiagFlush::None, "*** total: %d LoC\n", total);
    Diagnostics::Printf(DiagKind::Listing, DiagFlush::After,
                        "*** %d methods (%d inlined), %d extensions (%d inlined)\n", methods, inlinedMethods,
                        extensions, inlinedExtensions);
}

void LayerStack::CalcLayerMethods(Layer& layer, int& methods, int& inlinedMethods, int& extensions,
                                  int& inlinedExtensions)
{
    for (int i = 0; i < layer.m_FopModules.GetCount(); ++i)
        if (FOPModule* module = layer.m_FopModules[i])
            CodeGenerator::Get().CountMethods(*module, methods, inlinedMethods, extensions, inlinedExtensions);
}

void LayerStack::SaveFiles()
{
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node))
        node->GetValue()->SaveFiles();
}

void LayerStack::TouchDependingFiles()
{
    m_bAnyOutputChanged = CodeGenerator::Get().HasChangedOutput();
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node)) {
        TransformedModule* cls = node->GetValue();
        if (cls->IsMixinOnly())
            continue;
        if (!cls->IsTransformed()) {
            if (cls->DependensOnChangedModule()) {
                cls->Touch();
                ++m_DependentCount;
            }
            continue;
        }
        // A class with an error was not saved; its files are not this run's.
        if (cls->HasError() || !cls->GetFirstModule())
            continue;
        CodeGenerator::Get().KeepUnchangedOutputTimes(*cls);
    }
}

void LayerStack::GenerateFeatureClasses()
{
    CodeGenerator::Get().GenerateFeatureClasses(*this);
}

TransformedModule* LayerStack::GetModule(char const* name)
{
    if (!name)
        return nullptr;
    if (auto* entry = m_ComposedClasses.Find(name))
        return entry->GetValue();
    if (name[0] == 'C')
        if (auto* entry = m_ComposedClasses.Find(name + 1))
            return entry->GetValue();
    return nullptr;
}

// Composed classes by module name

TransformedModule* LayerStack::AddFopModule(FOPModule& module)
{
    TransformedModule* cls = nullptr;
    if (auto* entry = m_ComposedClasses.Find(module.GetName()))
        cls = entry->GetValue();
    if (!cls)
        cls = CreateNewTransformedModule(module);
    return cls->Add(module);
}

TransformedModule* LayerStack::CreateNewTransformedModule(FOPModule& module)
{
    // Composed classes live until the process ends.
    TransformedModule* cls = new TransformedModule(*this, module);
    m_ComposedClasses.Put(module.GetName(), cls);
    return cls;
}

void LayerStack::AddGeneratedModules(StringArray const& names)
{
    for (int i = 0; i < names.GetCount(); ++i)
        m_GeneratedClassNames.Add(names[i]);
}

bool LayerStack::IsOtherModuleName(char const* name, Str const& ownName)
{
    if (!name)
        return false;
    bool composed = m_ComposedClasses.Find(name) != nullptr;
    bool generated = !composed && m_GeneratedClassNames.Contains(name);
    if ((composed || generated) && ownName != name) {
        if (generated)
            m_ReferencedGeneratedNames.Add(name);
        return true;
    }
    return name[0] == 'C' && m_ComposedClasses.Find(name + 1) && ownName != name + 1;
}

bool LayerStack::HasGeneratedClassReference(char const* name)
{
    return name && m_ReferencedGeneratedNames.Contains(name);
}

void LayerStack::GetFileNamesFromModuleNames(StringArray const& names, StringArray& out)
{
    for (int i = 0; i < names.GetCount(); ++i) {
        char const* name = names[i];
        if (m_GeneratedClassNames.Contains(name)) {
            out.Add(name);
        } else if (auto* entry = m_ComposedClasses.Find(name)) {
            if (!entry->GetValue()->HasError())
                out.Add(name);
        } else if (name[0] == 'C' && m_ComposedClasses.Find(name + 1)) {
            out.Add(name + 1);
        } else {
            out.Add(name);
        }
    }
}

bool LayerStack::HasModule(Str const& name)
{
    return m_ComposedClasses.Find(name) != nullptr;
}

// End of composed classes by module name
