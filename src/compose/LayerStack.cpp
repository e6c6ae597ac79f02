#include "compose/LayerStack.h"

#include "base/Config.h"
#include "base/Directory.h"
#include "base/ErrorLog.h"
#include "base/File.h"
#include "base/FileName.h"
#include "base/StringTokenizer.h"
#include "compose/AppendFile.h"
#include "compose/EquationFile.h"
#include "compose/FOPModule.h"
#include "compose/FopParseProject.h"
#include "compose/Layer.h"
#include "compose/LayerConfig.h"
#include "compose/TransformedModule.h"
#include "output/LayerDecorator.h"
#include "output/FeatureFileNames.h"
#include "output/PLFactory.h"
#include "output/OutFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <unistd.h>

namespace {

// Removes the dependency records of classes gone from the product line, so
// that a class that comes back is composed again, also when its modules
// come back with old times. Files that a layer appends are kept.
void RemoveRecordsOfGoneClasses(LayerStack& stack)
{
    if (stack.m_OutDir.IsEmpty())
        return;
    StringSet appended;
    for (int i = 0; i < stack.GetCount(); ++i)
        for (int j = 0; j < stack[i]->m_AppendSources.GetCount(); ++j)
            appended.Add(FileName(stack[i]->m_AppendSources[j]).NameWithExt());
    Directory dir;
    if (!dir.Open(stack.m_OutDir))
        return;
    StringArray gone;
    while (char const* entry = dir.NextEntry()) {
        size_t n = strlen(entry);
        if (n <= 4 || strcmp(entry + n - 4, ".dep") != 0 || appended.Contains(entry))
            continue;
        Str name;
        name.SetData(entry, n - 4);
        if (!stack.m_ComposedClasses.Find(name))
            gone.Add(stack.m_OutDir + "/" + entry);
    }
    dir.Close();
    for (int i = 0; i < gone.GetCount(); ++i)
        TransformedModule::RemoveDependencyRecord(gone[i]);
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
    : m_GeneratedCount(0), m_DependentCount(0), m_pEquation(new EquationFile(true)), m_bHasDynamicLayer(false)
{
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

    Str outOption = config.GetOutDir();
    if (!outOption.IsEmpty()) {
        Str value = outOption;
        value.Replace("\\", "/");
        bool lost = false;
        if ((value.GetLength() > 1 && strncmp(value, "./", 2) == 0)
            || (value.GetLength() > 2 && strncmp(value, "../", 3) == 0)) {
            // A current folder that is gone must not turn into "/".
            Str here = Directory::MakeAbsPath(Str("./"));
            lost = here.IsEmpty();
            value = here + "/" + value;
        }
        if (!lost) {
            Directory::CreateRecursive(value);
            m_OutDir = Directory::MakeAbsPath(value);
        }
        if (lost || m_OutDir.IsEmpty()) {
            ErrorLog::OnError("cannot create output folder '" + outOption + "'");
            return false;
        }
    } else {
        m_OutDir = m_SourceDir == "/" ? Str("") : m_SourceDir;
        m_OutDir += "/.output.";
        m_OutDir += m_ProductLineName;
    }

    if (!IsSafeOutputFolder(m_OutDir))
        return false;
    // The log is kept in the output folder once that exists.
    if (Directory::exists(m_OutDir))
        ErrorLog::InitLogFile(m_OutDir + "/mosac.log.xml");
    return true;
}

bool LayerStack::IsSafeOutputFolder(Str const& outDir)
{
    // A folder that does not exist yet is judged by its name.
    Str out = File::RealPath(outDir);
    if (out.IsEmpty())
        out = outDir;

    StringArray guarded;
    guarded.Add(m_SourceDir);
    guarded.Add(m_pEquation->GetDir());
    for (int i = 0; i < m_pEquation->m_LayerConfigs.GetCount(); ++i)
        if (LayerConfig* layerConfig = m_pEquation->m_LayerConfigs[i])
            guarded.Add(GetAbsLayerDir(layerConfig->m_LayerName));
    for (int i = 0; i < GetCount(); ++i)
        guarded.Add((*this)[i]->m_Dir);
    Str program = FopParseProject::GetInstance()->GetProgramPath();
    if (!program.IsEmpty())
        guarded.Add(FolderOf(program));
    Str running = File::RealPath("/proc/self/exe");
    if (!running.IsEmpty())
        guarded.Add(FolderOf(running));

    bool safe = out != "/";
    char const* home = getenv("HOME");
    if (home && *home && File::RealPath(home) == out)
        safe = false;
    if (passwd const* user = getpwuid(getuid()))
        if (user->pw_dir && *user->pw_dir && File::RealPath(user->pw_dir) == out)
            safe = false;
    for (int i = 0; safe && i < guarded.GetCount(); ++i)
        if (Contains(out, File::RealPath(guarded[i])))
            safe = false;
    if (!safe)
        ErrorLog::OnError("output folder '" + outDir + "' contains sources; refusing to use it");
    return safe;
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

LayerDecorator* LayerStack::GetDecorator(Layer& layer)
{
    Str name = layer.GetBindingName();
    for (int i = 0; i < m_Decorators.GetCount(); ++i)
        if (m_Decorators[i]->GetBindingName() == name)
            return m_Decorators[i];
    LayerDecorator* decorator = new LayerDecorator;
    // Entered before Init, which looks up the unit's lowest layer.
    m_Decorators.Add(decorator);
    decorator->Init(layer);
    return decorator;
}

Layer* LayerStack::GetTopmostLayerOfBindingUnit(LayerDecorator* decorator)
{
    if (!decorator)
        return nullptr;
    for (int i = 0; i < GetCount(); ++i)
        if ((*this)[i]->GetBindingName() == decorator->GetBindingName())
            return (*this)[i];
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
            ErrorLog::OnError(text);
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
        // Written before the clean-up of a full rebuild, which spares it.
        m_WrittenFiles.Add(path);
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
    return IsSafeOutputFolder(m_OutDir);
}

void LayerStack::PrepareParse()
{
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node))
        node->GetValue()->PrepareParse();
}

time_t LayerStack::GetLastTransformTime()
{
    time_t last = 0;
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node)) {
        time_t t = node->GetValue()->GetDestFileTime();
        if (last == 0 || t > last)
            last = t;
    }
    return last;
}

bool LayerStack::Parse(bool transform)
{
    StringArray generated;
    PLFactory::GetClassNames(generated);
    AddGeneratedModules(generated);
    m_GeneratedCount = 0;
    m_DependentCount = 0;
    printf("parsing..\n");
    fflush(stdout);
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node))
        if (!node->GetValue()->Parse())
            return false;
    if (transform)
        Transform();
    TransformedModule::CloseRemainingOpenFiles();
    if (m_bHasDynamicLayer)
        GenerateFeatureClasses();
    return true;
}

void LayerStack::Transform()
{
    if (!m_OutDir.IsEmpty())
        Directory::CreateRecursive(m_OutDir);
    TransformNonSourceFiles();
    printf("transforming..\n");
    fflush(stdout);
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node)) {
        TransformedModule* cls = node->GetValue();
        if (cls->m_bParsed && cls->Transform())
            ++m_GeneratedCount;
    }
    SecondTransformStep();
    OnTransformEnd();
    SaveFiles();
    RemoveRecordsOfGoneClasses(*this);
    TouchDependingFiles();
    printf("%d files generated (%d + %d dependent)\n", m_GeneratedCount + m_DependentCount, m_GeneratedCount,
           m_DependentCount);
    fflush(stdout);
}

void LayerStack::TransformNonSourceFiles()
{
    for (int i = 0; i < GetCount(); ++i)
        (*this)[i]->ProcessNonSourceFiles();
    int changed = 0;
    int appended = AppendFile::CloseAll(m_AppendFiles, changed);
    printf("%d files appended (%d changed)\n", appended, changed);
    fflush(stdout);
}

void LayerStack::SecondTransformStep()
{
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node))
        node->GetValue()->SecondTransformStep();
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
        printf("layer %s: %d LoC\n", layer.m_LayerName.GetBuffer(), loc);
        total += loc;
        CalcLayerMethods(layer, methods, inlinedMethods, extensions, inlinedExtensions);
    }
    printf("*** total: %d LoC\n", total);
    printf("*** %d methods (%d inlined), %d extensions (%d inlined)\n", methods, inlinedMethods, extensions,
           inlinedExtensions);
    fflush(stdout);
}

void LayerStack::CalcLayerMethods(Layer& layer, int& methods, int& inlinedMethods, int& extensions,
                                  int& inlinedExtensions)
{
    for (int i = 0; i < layer.m_FopModules.GetCount(); ++i)
        if (FOPModule* module = layer.m_FopModules[i])
            module->m_TransformedFuncs.GetMethodCount(methods, inlinedMethods, extensions, inlinedExtensions);
}

void LayerStack::SaveFiles()
{
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node))
        node->GetValue()->SaveFiles();
}

void LayerStack::TouchDependingFiles()
{
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node)) {
        TransformedModule* cls = node->GetValue();
        if (!cls->m_bTransformed) {
            if (cls->DependensOnChangedModule()) {
                cls->Touch();
                ++m_DependentCount;
            }
            continue;
        }
        // A class with an error was not saved; its files are not this run's.
        if (cls->m_bHasError || !cls->m_pFirstModule)
            continue;
        OutFile* decl = cls->m_pFirstModule->GetDeclFile();
        if (!decl || !decl->IsOpened())
            continue;
        if (cls->HasOutputChanged(true) || cls->DependensOnChangedModule())
            continue;
        ErrorLog::OnUserInfo("no changes found", decl->GetPath());
        decl->RestoreMTime();
        OutFile* impl = cls->m_pFirstModule->GetImplFile();
        if (impl && impl != decl && impl->GetPath() != decl->GetPath() && impl->IsOpened()
            && !cls->HasOutputChanged(false)) {
            ErrorLog::OnUserInfo("no changes found", impl->GetPath());
            impl->RestoreMTime();
        }
    }
}

void LayerStack::GenerateFeatureClasses()
{
    FeatureFileNames::GenerateFeatureClasses(*this);
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
            if (!entry->GetValue()->m_bHasError)
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
