#include "compose/LayerStack.h"

#include "base/Config.h"
#include "base/Diagnostics.h"
#include "base/Directory.h"
#include "base/ErrorLog.h"
#include "base/StringTokenizer.h"
#include "base/ThreadPool.h"
#include "compose/AppendFile.h"
#include "compose/CodeGenerator.h"
#include "compose/DerivativeLayers.h"
#include "compose/EquationFile.h"
#include "compose/FOPModule.h"
#include "compose/FopParseProject.h"
#include "compose/Layer.h"
#include "compose/LayerConfig.h"
#include "compose/MixinExpansion.h"
#include "compose/Module.h"
#include "compose/OutputFolder.h"
#include "compose/TransformedModule.h"

#include <unordered_set>
#include <vector>

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
    return OutputFolder::InitDirectories(*this);
}

bool LayerStack::OpenOutputFolder()
{
    return OutputFolder::Open(*this);
}

Str LayerStack::GetOutputOptions() const
{
    return OutputFolder::GetOptions(*this);
}

bool LayerStack::IsSafeOutputFolder(Str const& outDir)
{
    return OutputFolder::IsSafe(*this, outDir);
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
    StringArray folders;
    bool anyFound = false;
    for (int i = 0; i < configs.GetCount(); ++i) {
        folders.Add(GetAbsLayerDir(configs[i]->m_LayerName));
        anyFound = anyFound || Directory::exists(folders[i]);
    }
    // A -s folder that holds none of the layers is one mistake, not one
    // per layer.
    Str sourceOption = Config::GetInstance().GetSourceDir();
    if (!anyFound && configs.GetCount() > 0 && !sourceOption.IsEmpty()) {
        ErrorLog::OnError("the source folder '" + sourceOption + "' (-s) holds none of the layers of the equation; " +
                          "-s=<folder> names the folder that holds the layer folders");
        return false;
    }
    bool ok = true;
    for (int i = 0; i < configs.GetCount(); ++i)
        ok = NewLayer(*configs[i], folders[i], nullptr)->HasFolder() && ok;
    // Listing a folder can add derived layers above it; they are listed
    // in turn.
    for (int i = 0; i < GetCount(); ++i)
        (*this)[i]->LoadModules();
    for (int i = 0; i < GetCount(); ++i)
        ok = ok && (*this)[i]->HasFolder();
    return ok;
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

void LayerStack::AddDerivativeLayer(Layer& layer, Str const& folder, Str const& linkName, Str const& linkPath)
{
    DerivativeLayers::AddDerivativeLayer(*this, layer, folder, linkName, linkPath);
}

LayerConfig* LayerStack::CreateDerivateConfig(StringSet& parentNames)
{
    return DerivativeLayers::CreateDerivateConfig(*this, parentNames);
}

bool LayerStack::TransformEquationFiles()
{
    return DerivativeLayers::TransformEquationFiles(*this);
}

bool LayerStack::LoadEquation(char const* path)
{
    Str copy(path);
    copy.Replace("\\", "/");
    m_EquationErrors = ErrorLog::GetErrorCount();
    if (!m_pEquation->LoadFile(copy))
        return false;
    if (m_pEquation->m_LayerConfigs.GetCount() == 0)
        ErrorLog::OnWarning("equation file '" + copy + "' names no layers");
    return OnEquationChanged();
}

bool LayerStack::OnEquationChanged()
{
    m_ProductLineName = m_pEquation->GetName();
    if (LayerConfig* config = m_pEquation->FindSwitchWithoutConfiguration())
        ErrorLog::OnError("the run-time feature switch '" + config->m_IfConfigName + "' of layer " +
                              config->m_LayerName +
                              " needs a configuration layer: no layer of the equation ends with "
                              "DynConditionalConfig (the layer whose DynamicFeatureConfig lists the switches)",
                          config->m_File.IsEmpty() ? nullptr : config->m_File.GetBuffer(), config->m_Line);
    // The product-line interface of a line with binding units is a class
    // named after the equation.
    if (m_pEquation->m_bHasDynamicLayer && !LayerConfig::IsIdentifier(m_ProductLineName))
        ErrorLog::OnError("the product-line name '" + m_ProductLineName +
                              "' is not a C++ identifier, and a product line with binding units names its "
                              "interface class after it: rename the equation file",
                          m_pEquation->GetPath());
    if (!InitDirectories())
        return false;
    if (!InitLayers())
        return false;
    // A product without a layer the equation names, or built from a
    // mistaken line, is not the product asked for: nothing is written.
    if (ErrorLog::GetErrorCount() > m_EquationErrors)
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
        if (!node->GetValue()->Parse()) {
            // Nothing is written in this run; the class's old outputs go,
            // so that no build compiles what its modules no longer say.
            OutputFolder::RemoveClassOutputs(node->GetKey());
            return false;
        }
    // A class whose forward declaration changed (another namespace, class
    // key or template head) is declared anew by the classes that use it.
    for (auto* node = m_ComposedClasses.GetFirst(); node; node = m_ComposedClasses.GetNext(node)) {
        TransformedModule* used = node->GetValue();
        if (!used->IsParsed() || used->GetRecordedForward().IsEmpty() ||
            used->GetForwardDeclaration() == used->GetRecordedForward())
            continue;
        for (auto* user = m_ComposedClasses.GetFirst(); user; user = m_ComposedClasses.GetNext(user))
            if (!user->GetValue()->IsParsed() && user->GetValue()->Depends(node->GetKey()) &&
                !user->GetValue()->Parse(true)) {
                OutputFolder::RemoveClassOutputs(user->GetKey());
                return false;
            }
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
    OutputFolder::RemoveDeadOutputs(*this);
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
    MixinExpansion::FindMixinOnlyClasses(*this);
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
