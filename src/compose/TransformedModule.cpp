#include "compose/TransformedModule.h"

#include "base/Diagnostics.h"
#include "base/ErrorLog.h"
#include "base/Directory.h"
#include "base/DiskInterface.h"
#include "base/File.h"
#include "base/FileName.h"
#include "base/FileStat.h"
#include "base/OutputRecord.h"
#include "base/TextFile.h"
#include "compose/CodeGenerator.h"
#include "compose/FOPModule.h"
#include "compose/FopParseProject.h"
#include "compose/Layer.h"
#include "compose/LayerConfig.h"
#include "compose/LayerStack.h"
#include "compose/Module.h"
#include "compose/TransformationUnit.h"
#include "parser/Info.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeBrace.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeKeyword.h"
#include "parser/SimpleTU.h"
#include "parser/SyntaxEdit.h"
#include "parser/NodeTemplateDef.h"
#include "scanner/Token.h"
#include "scanner/SysCall.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <set>
#include <string>
#include <unistd.h>

namespace {

// Prefixes of the dependency file's lines. "decl:" and "impl:" name included
// classes; "src:" lines give the module files the class was composed from,
// "mixin:<class>:" lines the files of the mixin copies. A reader that knows
// only the first two takes the others for names of no composed class and
// passes over them. "access:" lines name the classes the class accesses in
// the class-access graph, "bind:<class>:<state>" lines the binding states
// the outputs were written for.
char const DeclPrefix[] = "decl:";
char const ImplPrefix[] = "impl:";
char const SourcePrefix[] = "src:";
char const MixinPrefix[] = "mixin:";
char const ForwardPrefix[] = "fwd:";
char const AccessPrefix[] = "access:";
char const BindingPrefix[] = "bind:";
// The binding state of a class composed in one unit without the pointer:
// the state of every class of a product line without dynamic layers.
char const PlainBinding[] = "j";

bool StartsWith(Str const& text, char const* prefix)
{
    return std::strncmp(text.GetBuffer(), prefix, std::strlen(prefix)) == 0;
}

// Creates the folder with its parents and answers its absolute path; empty
// when it cannot be made or is the root, after one message per folder when
// report is set.
Str MakeOutputFolder(Str const& folder, bool report)
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

bool SameLists(StringArray const& a, StringArray const& b)
{
    if (a.GetCount() != b.GetCount())
        return false;
    for (int i = 0; i < a.GetCount(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

bool ContainsString(StringArray const& list, Str const& text)
{
    for (int i = 0; i < list.GetCount(); ++i)
        if (list[i] == text)
            return true;
    return false;
}

// The template head without its default arguments, which a declaration
// may not repeat: "template <class T, int N>".
Str TemplateHeadWithoutDefaults(NodeTemplateDef& head)
{
    auto wordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    Str text;
    int angles = 0;
    int parens = 0;
    bool skipping = false;
    Lex::Token* last = head.GetLastToken();
    for (Lex::Token* t = head.GetFirstToken(); t; t = t == last ? nullptr : t->next()) {
        if (SyntaxEdit::IsSkipped(*t) || t->language == Lex::Token::pre_id)
            continue;
        int type = t->type;
        bool top = angles == 1 && parens == 0;
        if (top && (type == Lex::TOK_COMMA || type == Lex::TOK_GREATER))
            skipping = false;
        else if (top && type == Lex::TOK_ASSIGN)
            skipping = true;
        if (type == Lex::TOK_LESS && parens == 0)
            ++angles;
        else if (type == Lex::TOK_GREATER && parens == 0)
            --angles;
        else if (type == Lex::TOK_RSH && parens == 0) {
            angles -= 2;
            // ">>" that ends a default argument and the head.
            if (skipping && angles <= 0) {
                text += ">";
                continue;
            }
        }
        else if (type == Lex::TOK_OPEN_ROUND)
            ++parens;
        else if (type == Lex::TOK_CLOSE_ROUND)
            --parens;
        if (skipping)
            continue;
        char const* word = t->text->text;
        if (!text.IsEmpty()) {
            char before = text.GetBuffer()[text.GetLength() - 1];
            if ((wordChar(before) && wordChar(word[0])) || before == ',' || text == "template")
                text += " ";
        }
        text += word;
    }
    return text;
}

// True when the file cannot be examined or was modified after t.
bool FileNewerThan(Str const& path, FileTimeNs t)
{
    FileTimeNs modified = 0;
    return !DiskInterface::Get().GetMTime(path, modified) || modified > t;
}

} // namespace

// ---- Construction and modules ----

TransformedModule::TransformedModule(LayerStack& stack, FOPModule& module)
    : m_pLayerStack(&stack), m_pFirstModule(&module), m_pFinalModule(&module), m_AccessNode(*this)
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
    : m_pLayerStack(&stack), m_pFirstModule(nullptr), m_pFinalModule(nullptr), m_AccessNode(*this)
{
    OnCreate();
    m_bNoOutDir = true;
}

TransformedModule::~TransformedModule()
{
    OnDelete();
}

void TransformedModule::OnCreate()
{
    m_pProject = FopParseProject::GetInstance();
    // One entry per member of the class: a big class has thousands.
    m_Members.SetIndexed();
    // A header's indirect includes can reach most classes of a big line.
    m_IndirectDeclDependencies.SetIndexed();
    m_bParsed = false;
    m_bTransformed = false;
    m_bIndirectDeclDone = false;
    m_bUpdatingDecl = false;
    m_bRecursionReported = false;
    m_DeclOutputChanged = -1;
    m_StartDestFileTime = 0;
    m_bStartDestFileTimeKnown = false;
    m_bHasError = false;
    m_bNeedsSplPtr = false;
    m_bDynamicDelegation = false;
    m_bSingleBindingUnit = false;
    m_bNoOutDir = false;
    m_bMixinOnly = false;
    m_bHasSourceRecord = false;
}

void TransformedModule::OnDelete()
{
    for (auto* entry = m_RecordedMixins.GetFirst(); entry; entry = m_RecordedMixins.GetNext(entry))
        delete entry->GetValue();
    m_RecordedMixins.RemoveAll();
}

void TransformedModule::InitDestDir(bool report)
{
    Str layerDir = m_pFirstModule && m_pFirstModule->GetLayer() ? m_pFirstModule->GetLayer()->m_DestDir : Str();
    Str absolute = MakeOutputFolder(layerDir, report);
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

TransformationUnit* TransformedModule::AddTransformationModule(TransformationUnit* unit)
{
    m_Transformations.Add(unit);
    return unit;
}

// ---- Transformation scheme ----

bool TransformedModule::HasMixedBinding()
{
    for (int i = 1; i < m_Modules.GetCount(); ++i)
        if (m_Modules[i]->GetBindingUnitName() != m_Modules[i - 1]->GetBindingUnitName())
            return true;
    return false;
}

void TransformedModule::InitTransformation()
{
    // The units are chosen once; a second call would give every module a
    // second unit.
    if (m_Transformations.GetCount() > 0)
        return;
    bool mixed = HasMixedBinding();
    m_bSingleBindingUnit = !mixed;
    if (mixed) {
        InitDelegationTransformation();
        return;
    }
    TransformationUnit* unit = CodeGenerator::Get().CreateTransformationUnit(*this);
    for (int i = 0; i < m_Modules.GetCount(); ++i)
        unit->AddModule(m_Modules[i]);
    AddTransformationModule(unit);
    if (m_Modules.GetCount() > 0 && m_Transformations.GetCount() == 1)
        unit->SetBindingUnitName(m_Modules[0]->GetBindingUnitName());
}

void TransformedModule::InitDelegationTransformation()
{
    for (int i = 0; i < m_Modules.GetCount(); ++i) {
        FOPModule* module = m_Modules[i];
        if (module->GetLayer() && module->GetLayer()->m_pConfig && module->GetLayer()->m_pConfig->m_bLoadDynamic)
            m_bDynamicDelegation = true;
        Str name = module->GetBindingUnitName();
        TransformationUnit* unit = GetTransformationUnit(name);
        if (!unit) {
            unit = CodeGenerator::Get().CreateTransformationUnit(*this);
            unit->SetBindingUnitName(name);
            AddTransformationModule(unit);
        }
        unit->AddModule(module);
    }
}

TransformationUnit* TransformedModule::GetTransformationUnit(char const* bindingUnitName)
{
    for (int i = 0; i < m_Transformations.GetCount(); ++i)
        if (m_Transformations[i]->GetBindingUnitName() == bindingUnitName)
            return m_Transformations[i];
    return nullptr;
}

bool TransformedModule::IsPureJampack()
{
    return m_Transformations.GetCount() == 1 && m_Transformations[0]->IsJampackTransformation();
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
    // Parsing a module can insert mixin copies, so the count is read afresh.
    for (int i = 0; i < m_Modules.GetCount(); ++i) {
        FOPModule* module = m_Modules[i];
        if (module->IsParsed())
            continue;
        if (!module->Parse())
            return false;
    }
    DropProvidedMixinDeclarations();
    KeepAccessAroundMixins();
    OnParsed();
    m_bParsed = true;
    return true;
}

bool TransformedModule::ChangedSinceLastTransform()
{
    // A class composed per binding unit registers its factory methods with
    // the layer classes, which are written anew in every run: it is always
    // composed again, so that they never lose its factories.
    if (!m_bSingleBindingUnit && m_Transformations.GetCount() > 0)
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
    for (auto* entry = m_RecordedMixins.GetFirst(); entry; entry = m_RecordedMixins.GetNext(entry)) {
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

bool TransformedModule::HasModuleSetChanged()
{
    if (!m_bHasSourceRecord)
        return true;
    StringArray current;
    GetSourcePaths(current);
    if (!SameLists(current, m_RecordedSources))
        return true;
    // Each mixin class must still consist of the files its copies were
    // made from.
    for (auto* entry = m_RecordedMixins.GetFirst(); entry; entry = m_RecordedMixins.GetNext(entry)) {
        auto* found = m_pLayerStack->m_ComposedClasses.Find(entry->GetKey());
        if (!found)
            return true;
        StringArray mixinPaths;
        found->GetValue()->GetSourcePaths(mixinPaths);
        StringArray const& recorded = *entry->GetValue();
        for (int i = 0; i < mixinPaths.GetCount(); ++i)
            if (!ContainsString(recorded, mixinPaths[i]))
                return true;
        for (int i = 0; i < recorded.GetCount(); ++i)
            if (!ContainsString(mixinPaths, recorded[i]))
                return true;
    }
    return false;
}

Str TransformedModule::GetBindingState()
{
    // Units are chosen for every class before parsing; a class without any
    // is composed in one.
    bool perUnit = !m_bSingleBindingUnit && m_Transformations.GetCount() > 0;
    Str state = !perUnit ? PlainBinding : m_bDynamicDelegation ? "d" : "u";
    if (m_AccessNode.m_DynAccess == ClassAccessGraphNode::DynAccessSet)
        state += "p";
    return state;
}

bool TransformedModule::HasBindingStateChanged()
{
    auto differs = [this](TransformedModule* cls) {
        auto* recorded = m_RecordedBindings.Find(cls->m_Name);
        return cls->GetBindingState() != (recorded ? recorded->GetValue().GetBuffer() : PlainBinding);
    };
    if (differs(this))
        return true;
    for (int i = 0; i < m_RecordedAccesses.GetCount(); ++i) {
        TransformedModule* cls = m_pLayerStack->GetModule(m_RecordedAccesses[i]);
        if (!cls || differs(cls))
            return true;
    }
    for (StringSet* names : {&m_DeclDependencies, &m_ImplDependencies})
        for (auto* entry = names->GetFirst(); entry; entry = names->GetNext(entry))
            if (TransformedModule* cls = m_pLayerStack->GetModule(entry->GetKey()))
                if (differs(cls))
                    return true;
    // A class recorded as bound otherwise that is gone.
    for (auto* entry = m_RecordedBindings.GetFirst(); entry; entry = m_RecordedBindings.GetNext(entry))
        if (!m_pLayerStack->GetModule(entry->GetKey()))
            return true;
    return false;
}

void TransformedModule::StoreRecordedAccesses()
{
    for (int i = 0; i < m_RecordedAccesses.GetCount(); ++i)
        StoreClassAccess(m_pLayerStack->GetModule(m_RecordedAccesses[i]));
}

void TransformedModule::DropProvidedMixinDeclarations()
{
    for (int m = 0; m < m_Modules.GetCount(); ++m) {
        FOPModule* copy = m_Modules[m];
        SimpleTU* tu = copy->IsMixin() ? copy->GetParseUnit() : nullptr;
        if (!tu || !copy->GetMainClass())
            continue;
        for (int i = tu->m_FuncDecls.GetCount() - 1; i >= 0; --i) {
            NodeFuncDecl* decl = tu->m_FuncDecls[i];
            FuncInfo* f = decl->GetInfo();
            if (!f || f->GetDef() || f->IsConstructor() || f->IsDestructor() ||
                decl->GetClass() != copy->GetMainClass() || SyntaxEdit::DefaultedOrDeleted(*decl))
                continue;
            // Declared only: a function the mixin expects of its user. It
            // stays when no other module has it or a copy of the same mixin
            // defines it.
            bool provided = false;
            bool definedByMixin = false;
            for (int o = 0; o < m_Modules.GetCount(); ++o) {
                FOPModule* other = m_Modules[o];
                NodeFuncDecl* same = other == copy ? nullptr : other->GetMethod(*f);
                if (!same)
                    continue;
                if (other->IsMixin() && other->GetMixinName() == copy->GetMixinName())
                    definedByMixin = definedByMixin || (same->GetInfo() && same->GetInfo()->GetDef());
                else
                    provided = true;
            }
            if (!provided || definedByMixin)
                continue;
            SyntaxEdit::DropDeclaration(*decl);
            tu->m_FuncDecls.RemoveAt(i, 1);
        }
    }
}

void TransformedModule::KeepAccessAroundMixins()
{
    auto keyOf = [](FOPModule* module) -> Lex::Token* {
        NodeClassDecl* head = module && module->GetMainClass() ? module->GetMainClass()->GetClassDecl() : nullptr;
        NodeKeyword* key = head ? head->GetKey() : nullptr;
        Lex::Token* token = key ? key->GetToken() : nullptr;
        return token && (token->type == Lex::TOK_CLASS || token->type == Lex::TOK_STRUCT) ? token : nullptr;
    };
    FOPModule* user = nullptr;
    for (int i = 0; i < m_Modules.GetCount() && !user; ++i)
        if (!m_Modules[i]->IsMixin())
            user = m_Modules[i];
    for (int i = 0; i < m_Modules.GetCount(); ++i) {
        FOPModule* module = m_Modules[i];
        bool afterCopy = i > 0 && m_Modules[i - 1]->IsMixin();
        if (!module->IsMixin() && !afterCopy)
            continue;
        Lex::Token* key = keyOf(module);
        NodeBlock* body = module->GetMainClass() ? module->GetMainClass()->GetBody() : nullptr;
        Lex::Token* open = body ? body->GetFirstToken() : nullptr;
        if (!key || !open || open->type != Lex::TOK_OPEN_CURLY)
            continue;
        // The members a module lists before any access label have the
        // access its own class key gives them, not the one the part above
        // ends with.
        char const* label = key->type == Lex::TOK_STRUCT ? "\npublic:" : "\nprivate:";
        open->AddTokenAfter(*new Lex::Token(Lex::TOK_STRING_VAL, Lex::Token::cpp_id, label));
        // The lowest copy's head is written for the class: it takes the
        // class key of the class's own module.
        Lex::Token* userKey = keyOf(user);
        if (i == 0 && module->IsMixin() && userKey) {
            key->text = userKey->text;
            key->SetType(userKey->type);
        }
    }
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
            if (MakeOutputFolder(m_Modules[i]->GetLayer()->m_DestDir, true).IsEmpty()) {
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
    if (m_bNeedsSplPtr && IsPureJampack())
        AddSplPtr();
}

void TransformedModule::AddSplPtr()
{
    CodeGenerator::Get().AddSplPtr(*this);
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
    for (int i = 0; i < m_Transformations.GetCount() && !changed; ++i)
        changed = m_Transformations[i]->HasOutputChanged(decl);
    // Every class that includes this header asks again.
    if (decl)
        m_DeclOutputChanged = changed;
    return changed;
}

// ---- Dependency file ----

void TransformedModule::LoadDependencies()
{
    if (m_bNoOutDir)
        return;
    StringArray lines;
    if (!TextFile::GetFileContent(m_DestBase + ".dep", lines))
        return;
    for (int i = 0; i < lines.GetCount(); ++i) {
        Str line = lines[i];
        // The text after the last line end loses its "\r" characters too.
        size_t length = line.GetLength();
        while (length > 0 && line.GetBuffer()[length - 1] == '\r')
            --length;
        if (length < line.GetLength())
            line.SetData(lines[i].GetBuffer(), length);
        if (line.IsEmpty())
            continue;
        if (StartsWith(line, ImplPrefix)) {
            m_ImplDependencies.Add(line.GetBuffer() + std::strlen(ImplPrefix));
        } else if (StartsWith(line, DeclPrefix)) {
            m_DeclDependencies.Add(line.GetBuffer() + std::strlen(DeclPrefix));
        } else if (StartsWith(line, SourcePrefix)) {
            m_bHasSourceRecord = true;
            m_RecordedSources.Add(line.GetBuffer() + std::strlen(SourcePrefix));
        } else if (StartsWith(line, ForwardPrefix)) {
            m_RecordedForward = line.GetBuffer() + std::strlen(ForwardPrefix);
        } else if (StartsWith(line, AccessPrefix)) {
            m_RecordedAccesses.Add(line.GetBuffer() + std::strlen(AccessPrefix));
        } else if (StartsWith(line, BindingPrefix)) {
            char const* rest = line.GetBuffer() + std::strlen(BindingPrefix);
            char const* colon = std::strrchr(rest, ':');
            if (!colon)
                continue;
            Str name;
            name.SetData(rest, static_cast<size_t>(colon - rest));
            m_RecordedBindings[name] = colon + 1;
        } else if (StartsWith(line, MixinPrefix)) {
            char const* rest = line.GetBuffer() + std::strlen(MixinPrefix);
            char const* colon = std::strchr(rest, ':');
            if (!colon)
                continue;
            Str name;
            name.SetData(rest, static_cast<size_t>(colon - rest));
            StringArray*& paths = m_RecordedMixins[name];
            if (!paths)
                paths = new StringArray;
            paths->Add(colon + 1);
        } else {
            m_DeclDependencies.Add(line);
        }
    }
}

void TransformedModule::ResetDependencies()
{
    m_DeclDependencies.RemoveAll();
    m_ImplDependencies.RemoveAll();
    m_IndirectDeclDependencies.RemoveAll();
    m_bIndirectDeclDone = false;
}

void TransformedModule::SaveDependencies()
{
    if (m_bNoOutDir)
        return;
    Str text;
    for (auto* entry = m_DeclDependencies.GetFirst(); entry; entry = m_DeclDependencies.GetNext(entry))
        if (entry->GetKey() != m_Name)
            text += DeclPrefix + entry->GetKey() + "\n";
    for (auto* entry = m_ImplDependencies.GetFirst(); entry; entry = m_ImplDependencies.GetNext(entry))
        if (entry->GetKey() != m_Name)
            text += ImplPrefix + entry->GetKey() + "\n";
    for (int i = 0; i < m_Modules.GetCount(); ++i) {
        FOPModule* module = m_Modules[i];
        if (module->IsMixin())
            text += MixinPrefix + module->GetMixinName() + ":" + module->GetSourcePath() + "\n";
        else
            text += SourcePrefix + module->GetSourcePath() + "\n";
    }
    Str forward = GetForwardDeclaration();
    if (!forward.IsEmpty())
        text += ForwardPrefix + forward + "\n";
    // The accesses matter only where a class is delegated dynamically. The
    // lines are sorted: the graph's sets are ordered by address.
    std::set<std::string> accessed;
    std::map<std::string, TransformedModule*> bound;
    bound[m_Name.GetBuffer()] = this;
    for (auto* entry = m_AccessNode.m_Accessed.GetFirst(); entry; entry = m_AccessNode.m_Accessed.GetNext(entry)) {
        TransformedModule* cls = entry->GetKey();
        accessed.insert(cls->m_Name.GetBuffer());
        bound[cls->m_Name.GetBuffer()] = cls;
    }
    for (StringSet* names : {&m_DeclDependencies, &m_ImplDependencies})
        for (auto* entry = names->GetFirst(); entry; entry = names->GetNext(entry))
            if (TransformedModule* cls = m_pLayerStack->GetModule(entry->GetKey()))
                bound[cls->m_Name.GetBuffer()] = cls;
    if (m_pLayerStack->m_bHasDynamicLayer)
        for (std::string const& name : accessed)
            text += AccessPrefix + Str(name.c_str()) + "\n";
    for (auto const& entry : bound) {
        Str state = entry.second->GetBindingState();
        if (state != PlainBinding)
            text += BindingPrefix + Str(entry.first.c_str()) + ":" + state + "\n";
    }
    if (text.IsEmpty())
        return;
    // A file that cannot be written leaves the last run's record in place.
    Str path = m_DestBase + ".dep";
    if (!OutputRecord::Write(path, text.GetBuffer(), text.GetLength()))
        ErrorLog::OnError("could not write to file", path);
}

void TransformedModule::UpdateIndirectDeclDependencies()
{
    if (m_bUpdatingDecl) {
        // The computation goes on with what this class has collected so far.
        if (!m_bRecursionReported)
            ErrorLog::OnError("there is a recursive dependency", m_Name, 0);
        m_bRecursionReported = true;
        return;
    }
    m_bUpdatingDecl = true;
    for (auto* entry = m_DeclDependencies.GetFirst(); entry; entry = m_DeclDependencies.GetNext(entry)) {
        TransformedModule* cls = m_pLayerStack->GetModule(entry->GetKey());
        // A class's own header is no cycle: the parts of a class composed
        // per binding unit include the interface header of their class.
        if (!cls || cls == this)
            continue;
        m_IndirectDeclDependencies.Add(cls);
        cls->GetDeclDependencies(m_IndirectDeclDependencies);
    }
    m_bUpdatingDecl = false;
    m_bIndirectDeclDone = true;
}

void TransformedModule::GetDeclDependencies(Set<TransformedModule*>& out)
{
    if (!m_bIndirectDeclDone)
        UpdateIndirectDeclDependencies();
    if (&out == &m_IndirectDeclDependencies)
        return;
    for (auto* entry = m_IndirectDeclDependencies.GetFirst(); entry; entry = m_IndirectDeclDependencies.GetNext(entry))
        out.Add(entry->GetKey());
}

bool TransformedModule::DependensOnChangedModule()
{
    if (m_bNoOutDir)
        return false;
    if (m_pFirstModule && m_pFirstModule->GetFileType() == Module::FT_JAK)
        return false;
    // When no output changed in the run, none can be reached; the indirect
    // dependencies are still completed in the same order, so that a
    // recursive dependency is reported as in any other run.
    bool anyChanged = m_pLayerStack->m_bAnyOutputChanged;
    Set<TransformedModule*> reached;
    reached.SetIndexed();
    for (auto* entry = m_ImplDependencies.GetFirst(); entry; entry = m_ImplDependencies.GetNext(entry)) {
        TransformedModule* cls = m_pLayerStack->GetModule(entry->GetKey());
        if (!cls || cls == this)
            continue;
        if (!anyChanged) {
            if (!cls->m_bIndirectDeclDone)
                cls->UpdateIndirectDeclDependencies();
            continue;
        }
        if (cls->HasOutputChanged(true))
            return true;
        cls->GetDeclDependencies(reached);
    }
    if (!m_bIndirectDeclDone)
        UpdateIndirectDeclDependencies();
    if (!anyChanged)
        return false;
    for (auto* entry = m_IndirectDeclDependencies.GetFirst(); entry; entry = m_IndirectDeclDependencies.GetNext(entry))
        reached.Add(entry->GetKey());
    for (auto* entry = reached.GetFirst(); entry; entry = reached.GetNext(entry))
        if (entry->GetKey()->HasOutputChanged(true))
            return true;
    return false;
}

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

bool TransformedModule::Depends(Str const& name)
{
    return m_DeclDependencies.Contains(name) || m_ImplDependencies.Contains(name);
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
        return m_RecordedForward;
    if (!IsPureJampack() || !m_pFirstModule)
        return Str();
    // The class head that is written is the one of the unit's first module.
    FOPModule* first = m_Transformations[0]->GetFirstTransformationModule();
    NodeClassDecl* head = first && first->GetMainClass() ? first->GetMainClass()->GetClassDecl() : nullptr;
    NodeKeyword* key = head ? head->GetKey() : nullptr;
    Lex::Token* keyToken = key ? key->GetToken() : nullptr;
    Str name = m_pFirstModule->GetOrigClassName();
    if (!keyToken || name.IsEmpty())
        return Str();
    char const* keyText = nullptr;
    if (keyToken->type == Lex::TOK_CLASS)
        keyText = "class ";
    else if (keyToken->type == Lex::TOK_STRUCT)
        keyText = "struct ";
    else if (keyToken->type == Lex::TOK_UNION)
        keyText = "union ";
    else
        return Str();
    Str text = first->GetNameSpaceOpenText();
    text.Replace("\n", " ");
    if (NodeTemplateDef* templ = head->GetTemplDef())
        text += TemplateHeadWithoutDefaults(*templ) + " ";
    text += keyText + name + ";";
    Array<NodeNSDef*> spaces;
    first->GetNameSpaces(spaces);
    for (int i = 0; i < spaces.GetCount(); ++i)
        text += " }";
    return text;
}

void TransformedModule::StoreClassAccess(TransformedModule* accessed)
{
    m_AccessNode.StoreClassAccess(accessed);
}

bool TransformedModule::IsNonSplClass()
{
    return m_pFirstModule && m_pFirstModule->IsMetaLayerModule();
}

