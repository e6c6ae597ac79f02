#include "compose/TransformedModule.h"

#include "base/Diagnostics.h"
#include "base/DiskInterface.h"
#include "base/ErrorLog.h"
#include "base/FileName.h"
#include "base/FileStat.h"
#include "base/OutputRecord.h"
#include "compose/ClassDependencies.h"
#include "compose/CodeGenerator.h"
#include "compose/FOPModule.h"
#include "compose/FopParseProject.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "compose/MixinExpansion.h"
#include "compose/Module.h"
#include "compose/OutputFolder.h"
#include "compose/TransformationUnit.h"
#include "parser/ForwardDeclaration.h"
#include "parser/Info.h"
#include "parser/NodeFuncDecl.h"
#include "parser/SimpleTU.h"
#include "scanner/SysCall.h"

namespace {

// True when the file cannot be examined or was modified after t.
bool FileNewerThan(Str const& path, FileTimeNs t)
{
    FileTimeNs modified = 0;
    return !DiskInterface::Get().GetMTime(path, modified) || modified > t;
}

} // namespace

// ---- Construction and modules ----

TransformedModule::TransformedModule(LayerStack& stack, FOPModule& module)
    : m_pLayerStack(&stack), m_pFirstModule(&module), m_pFinalModule(&module), m_Scheme(*this), m_Dependencies(*this),
      m_AccessNode(*this)
{
    OnCreate();
    m_Name = module.GetName();
    // A folder that cannot be made yet is tried again, and reported, when
    // the class is transformed: the clean-up of a full rebuild may remove
    // what stands in its way.
    InitDestDir(false);
    LoadDependencies();
}

TransformedModule::TransformedModule(LayerStack& stack)
    : m_pLayerStack(&stack), m_pFirstModule(nullptr), m_pFinalModule(nullptr), m_Scheme(*this), m_Dependencies(*this),
      m_AccessNode(*this)
{
    OnCreate();
    m_bNoOutDir = true;
}

TransformedModule::~TransformedModule() = default;

void TransformedModule::OnCreate()
{
    m_pProject = FopParseProject::GetInstance();
    // One entry per member of the class: a big class has thousands.
    m_Members.SetIndexed();
    m_bParsed = false;
    m_bTransformed = false;
    m_DeclOutputChanged = -1;
    m_StartDestFileTime = 0;
    m_bStartDestFileTimeKnown = false;
    m_bHasError = false;
    m_bNeedsSplPtr = false;
    m_bNoOutDir = false;
    m_bMixinOnly = false;
}

void TransformedModule::InitDestDir(bool report)
{
    Str layerDir = m_pFirstModule && m_pFirstModule->GetLayer() ? m_pFirstModule->GetLayer()->m_DestDir : Str();
    Str absolute = OutputFolder::Make(layerDir, report);
    if (absolute.IsEmpty()) {
        // Nothing of this class is read from or written to any folder.
        m_bNoOutDir = true;
        m_DestDir = "";
        m_DestBase = "";
        return;
    }
    m_bNoOutDir = false;
    m_DestDir = absolute + "/";
    m_DestBase = m_DestDir + m_Name;
}

bool TransformedModule::HasFopModule(FOPModule const& module) const
{
    return m_ModulePositions.count(&module) != 0;
}

void TransformedModule::IndexModules()
{
    m_ModulePositions.clear();
    for (int i = 0; i < m_Modules.GetCount(); ++i) {
        auto it = m_ModulePositions.emplace(m_Modules[i], std::make_pair(i, i)).first;
        it->second.second = i;
    }
}

TransformedModule* TransformedModule::Add(FOPModule& module)
{
    // The same module reached twice (a layer named twice, two links to one
    // folder) would be transformed and written twice.
    if (HasFopModule(module))
        return this;
    m_Modules.Add(&module);
    int const last = m_Modules.GetCount() - 1;
    m_ModulePositions.emplace(&module, std::make_pair(last, last));
    module.SetTransformedClass(*this);
    if (m_pFinalModule && m_pFinalModule != &module)
        module.SetRefinedModule(m_pFinalModule);
    m_pFinalModule = &module;
    return this;
}

bool TransformedModule::InsertAbove(FOPModule& module, FOPModule& mixin)
{
    int index = -1;
    for (int i = 0; i < m_Modules.GetCount(); ++i)
        if (m_Modules[i] == &module) {
            index = i;
            break;
        }
    if (index < 0)
        return false;
    m_Modules.InsertAt(index, &mixin);
    IndexModules();
    mixin.SetTransformedClass(*this);
    if (module.GetRefinedModule())
        mixin.SetRefinedModule(module.GetRefinedModule());
    module.SetRefinedModule(&mixin);
    return true;
}

// ---- Run steps ----

FileTimeNs TransformedModule::GetDestFileTime()
{
    if (m_bNoOutDir)
        return 0;
    Str path = GetMainDestFilePath();
    if (path.IsEmpty())
        return 1;
    FileTimeNs modified = 0;
    if (!DiskInterface::Get().GetMTime(path, modified))
        return 0;
    return modified;
}

Str TransformedModule::GetMainDestFilePath()
{
    return m_pFirstModule ? m_pFirstModule->GetDeclFilePath() : Str();
}

bool TransformedModule::Parse(bool force)
{
    if (m_bParsed)
        return true;
    if (!force && !ChangedSinceLastTransform() && !(m_pProject && m_pProject->IsRebuild()))
        return true;
    int const errors = Diagnostics::GetErrorCount();
    // Parsing a module can insert mixin copies, so the count is read afresh.
    for (int i = 0; i < m_Modules.GetCount(); ++i) {
        FOPModule* module = m_Modules[i];
        if (module->IsParsed())
            continue;
        if (!module->Parse())
            return false;
    }
    MixinExpansion::DropProvidedDeclarations(m_Modules);
    MixinExpansion::KeepAccessAroundCopies(m_Modules);
    OnParsed();
    m_bParsed = true;
    FailOnErrorsSince(errors);
    return true;
}

void TransformedModule::FailOnErrorsSince(int errors)
{
    // An error reported while the class was composed leaves it unwritten:
    // its old outputs go as well, so that nothing wrong is compiled, and
    // the next run composes it (and reports the error) again.
    if (Diagnostics::GetErrorCount() > errors)
        m_bHasError = true;
}

bool TransformedModule::ChangedSinceLastTransform()
{
    // A class composed per binding unit registers its factory methods with
    // the layer classes, which are written anew in every run: it is always
    // composed again, so that they never lose its factories.
    if (m_Scheme.IsPerUnit())
        return true;
    FileTimeNs t = m_bStartDestFileTimeKnown ? m_StartDestFileTime : GetDestFileTime();
    m_bStartDestFileTimeKnown = false;
    if (t == 0)
        return true;
    for (int i = 0; i < m_Modules.GetCount(); ++i)
        if (m_Modules[i]->GetModule()->HasChanged(t))
            return true;
    if (HasModuleSetChanged())
        return true;
    // The files of the mixin copies made last run.
    for (auto* entry = m_Dependencies.m_RecordedMixins.GetFirst(); entry; entry = m_Dependencies.m_RecordedMixins.GetNext(entry)) {
        StringArray const& paths = *entry->GetValue();
        for (int i = 0; i < paths.GetCount(); ++i)
            if (FileNewerThan(paths[i], t))
                return true;
    }
    return false;
}

void TransformedModule::GetSourcePaths(StringArray& paths) const
{
    for (int i = 0; i < m_Modules.GetCount(); ++i)
        if (!m_Modules[i]->IsMixin())
            paths.Add(m_Modules[i]->GetSourcePath());
}

Str TransformedModule::GetBindingState()
{
    // Units are chosen for every class before parsing; a class without any
    // is composed in one.
    Str state = !m_Scheme.IsPerUnit() ? ClassDependencies::PlainBinding : m_Scheme.m_bDynamicDelegation ? "d" : "u";
    if (m_AccessNode.m_DynAccess == ClassAccessGraphNode::DynAccessSet)
        state += "p";
    return state;
}

void TransformedModule::OnParsed()
{
    for (int i = 0; i < m_Modules.GetCount(); ++i) {
        m_Modules[i]->OnParsed();
        m_Modules[i]->GetMembers(m_Members);
    }
    InitModuleInstantiations();
}

void TransformedModule::InitModuleInstantiations()
{
    for (auto* entry = m_Members.GetFirst(); entry; entry = m_Members.GetNext(entry)) {
        MemberInfo* member = entry->GetValue();
        if (!member || !member->IsField())
            continue;
        VarDeclInfo* var = member->GetVarDeclInfo();
        TypeInfo* type = var ? var->GetType() : nullptr;
        if (!type || type->m_Indirection != TypeInfo::BY_VALUE || !type->GetName())
            continue;
        if (TransformedModule* accessed = m_pLayerStack->GetModule(type->GetNameText()))
            StoreClassAccess(accessed);
    }
}

Str TransformedModule::MissingBaseReason()
{
    // A header of the class's name in a lower layer with an implementation
    // file beside it is appended, not composed.
    Layer* own = m_pFirstModule ? m_pFirstModule->GetLayer() : nullptr;
    if (!m_pLayerStack || !own)
        return Str();
    Str header = m_Name + ".h";
    for (int i = 0; i < m_pLayerStack->GetCount(); ++i) {
        Layer* layer = (*m_pLayerStack)[i];
        if (layer == own)
            break;
        for (int j = 0; layer && j < layer->m_AppendSources.GetCount(); ++j) {
            FileName file(layer->m_AppendSources[j]);
            if (file.NameWithExt() != header)
                continue;
            Str dir = file.GetDir();
            if (!dir.IsEmpty() && dir.GetBuffer()[dir.GetLength() - 1] != '/')
                dir += "/";
            Lex::FileInfo info;
            Str impl = m_Name + ".cpp";
            if (!Lex::SysCall::stat(dir + impl, info, nullptr))
                impl = m_Name + ".c";
            Str where = layer->m_PlainName + "/";
            return ": " + where + header + " is not a module because " + where + impl +
                   " is beside it; put the code of " + impl + " after the class in " + header;
        }
    }
    return Str();
}

bool TransformedModule::CanTransform()
{
    if (!m_bParsed)
        return false;
    // Without a module that introduces the class there is nothing to
    // refine: the class is not composed, and the run fails.
    if (m_pFirstModule && m_pFirstModule->IsRefinement()) {
        // A module refining a class of another name is named for its file's
        // sake only: the message names the class it declares.
        if (!m_pFirstModule->ValidModule())
            return false;
        Layer* layer = m_pFirstModule->GetLayer();
        Str module = FileName(m_pFirstModule->GetSourcePath()).NameWithExt();
        if (layer)
            module = layer->m_PlainName + "/" + module;
        m_pFirstModule->PrintError("class " + m_Name + " is not composed: its lowest module " + module +
                                       " refines it, and no layer below introduces it" + MissingBaseReason(),
                                   0);
        return false;
    }
    return true;
}

bool TransformedModule::Transform()
{
    int const errors = Diagnostics::GetErrorCount();
    bool transformed = TransformChecked();
    FailOnErrorsSince(errors);
    return transformed && !m_bHasError;
}

bool TransformedModule::TransformChecked()
{
    if (!CanTransform())
        return false;
    if (m_bNoOutDir && m_pFirstModule)
        InitDestDir(true);
    if (m_bNoOutDir)
        return false;
    // The units of a class composed per binding unit are joined in C++ only.
    if (!IsPureJampack())
        for (int i = 0; i < m_Modules.GetCount(); ++i)
            if (!m_Modules[i]->IsCppModule())
                m_Modules[i]->PrintWarning("classes composed per binding unit must be C++ modules", 0);
    // The delegation objects of a class composed per binding unit lie in
    // their layers' output folders.
    if (!IsPureJampack())
        for (int i = 0; i < m_Modules.GetCount(); ++i)
            if (OutputFolder::Make(m_Modules[i]->GetLayer()->m_DestDir, true).IsEmpty()) {
                m_bNoOutDir = true;
                return false;
            }
    TransformModules();
    m_bTransformed = true;
    return true;
}

void TransformedModule::TransformModules()
{
    CodeGenerator::Get().TransformModules(*this);
}

void TransformedModule::SecondTransformStep()
{
    m_AccessNode.PropagateDynAccessFlag(ClassAccessGraphNode::DynAccessNotSet);
}

void TransformedModule::OnTransformEnd()
{
    m_bNeedsSplPtr = m_AccessNode.m_DynAccess == ClassAccessGraphNode::DynAccessSet;
    if (m_bNeedsSplPtr && IsPureJampack()) {
        int const errors = Diagnostics::GetErrorCount();
        AddSplPtr();
        FailOnErrorsSince(errors);
    }
}

void TransformedModule::AddSplPtr()
{
    CodeGenerator::Get().AddSplPtr(*this);
}

void TransformedModule::LoadDependencies()
{
    if (!m_bNoOutDir)
        m_Dependencies.Load(m_DestBase + ".dep");
}

void TransformedModule::SaveDependencies()
{
    if (!m_bNoOutDir)
        m_Dependencies.Save(m_DestBase + ".dep");
}

void TransformedModule::RemoveDependencyRecord(Str const& path)
{
    if (!CodeGenerator::Get().IsSourcePath(path))
        OutputRecord::Remove(path);
}

void TransformedModule::SaveFiles()
{
    if (!WasSaved()) {
        // Parsed but not written: the record of the files the outputs were
        // made from no longer holds; without it the class is composed again
        // next run, also when a module comes back with an old time.
        if (m_bParsed && !m_bNoOutDir && !m_DestBase.IsEmpty())
            RemoveDependencyRecord(m_DestBase + ".dep");
        return;
    }
    ResetDependencies();
    OpenOutputFiles();
    SaveModules();
    CloseModules();
    SaveDependencies();
    KeepEditsDuringTheRun();
}

void TransformedModule::KeepEditsDuringTheRun()
{
    // A module saved again after this run read it: the outputs show it as
    // it was read, so the main output takes a time before that edit, and
    // the next run composes the class again.
    FileTimeNs before = 0;
    for (int i = 0; i < m_Modules.GetCount(); ++i) {
        FileTimeNs t = m_Modules[i]->GetModule()->GetTimeBeforeEdit();
        if (t != 0 && (before == 0 || t < before))
            before = t;
    }
    Str path = GetMainDestFilePath();
    if (before > 1 && !path.IsEmpty())
        Lex::SysCall::SetFileTimeNs(path, before - 1);
}

void TransformedModule::OpenOutputFiles()
{
    CodeGenerator::Get().OpenOutputFiles(*this);
}

void TransformedModule::SaveModules()
{
    CodeGenerator::Get().SaveModules(*this);
}

void TransformedModule::CloseModules()
{
    CodeGenerator::Get().CloseModules(*this);
}

bool TransformedModule::HasOutputChanged(bool decl)
{
    if (decl && m_DeclOutputChanged >= 0)
        return m_DeclOutputChanged != 0;
    bool changed = false;
    for (int i = 0; i < m_Scheme.m_Transformations.GetCount() && !changed; ++i)
        changed = m_Scheme.m_Transformations[i]->HasOutputChanged(decl);
    // Every class that includes this header asks again.
    if (decl)
        m_DeclOutputChanged = changed;
    return changed;
}

// ---- Dependency file ----

void TransformedModule::Touch()
{
    if (m_bNoOutDir)
        return;
    Diagnostics::Printf(DiagKind::Progress, DiagFlush::None, "touch-dep: %s (%s)\n",
                        ErrorLog::Escape(m_DestBase).GetBuffer(), ErrorLog::Escape(m_Name).GetBuffer());
    // A class composed into its header alone has no implementation file to
    // touch; its header already names what it includes.
    Str impl = m_DestBase + ".cpp";
    FileStat record;
    if (!record.stat(impl))
        return;
    // Now, to the nanosecond: a build that compiled the file within this
    // second must see it as newer.
    Lex::SysCall::SetFileTimeNs(impl, -1);
}

// ---- Queries ----

Str TransformedModule::GetOrigClassName()
{
    return m_pFirstModule ? m_pFirstModule->GetOrigClassName() : Str();
}

Str TransformedModule::GetBaseClass()
{
    Str name;
    for (int i = 0; i < m_Modules.GetCount(); ++i)
        if (m_Modules[i]->GetBaseClass(name))
            return name;
    return Str();
}

NodeFuncDecl* TransformedModule::FindMethodFrom(FOPModule const& module, FuncInfo const& func, int step)
{
    // From the module's first place upwards, or from its last downwards.
    auto it = m_ModulePositions.find(&module);
    if (it == m_ModulePositions.end())
        return nullptr;
    int const count = m_Modules.GetCount();
    for (int i = (step > 0 ? it->second.first : it->second.second) + step; i >= 0 && i < count; i += step)
        if (NodeFuncDecl* decl = m_Modules[i]->GetMethod(func))
            return decl;
    return nullptr;
}

NodeFuncDecl* TransformedModule::GetRefiningMethod(FOPModule const& module, FuncInfo const& func)
{
    return FindMethodFrom(module, func, 1);
}

NodeFuncDecl* TransformedModule::GetRefinedMethod(FOPModule const& module, FuncInfo const& func)
{
    return FindMethodFrom(module, func, -1);
}

MemberInfo* TransformedModule::GetMember(char const* name)
{
    if (!name)
        return nullptr;
    auto* entry = m_Members.Find(name);
    return entry ? entry->GetValue() : nullptr;
}

TransformedModule* TransformedModule::FindComposedClass(char const* name)
{
    return m_pLayerStack ? m_pLayerStack->GetModule(name) : nullptr;
}

Str TransformedModule::GetForwardDeclaration()
{
    if (!m_bParsed)
        return m_Dependencies.m_RecordedForward;
    if (!IsPureJampack() || !m_pFirstModule)
        return Str();
    // The class head that is written is the one of the unit's first module.
    FOPModule* first = m_Scheme.m_Transformations[0]->GetFirstTransformationModule();
    return ForwardDeclaration::GetText(first ? first->GetMainClass() : nullptr, m_pFirstModule->GetOrigClassName());
}

void TransformedModule::StoreClassAccess(TransformedModule* accessed)
{
    m_AccessNode.StoreClassAccess(accessed);
}

bool TransformedModule::IsNonSplClass()
{
    return m_pFirstModule && m_pFirstModule->IsMetaLayerModule();
}

