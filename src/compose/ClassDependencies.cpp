#include "compose/ClassDependencies.h"

#include "base/ErrorLog.h"
#include "base/OutputRecord.h"
#include "base/TextFile.h"
#include "compose/FOPModule.h"
#include "compose/LayerStack.h"
#include "compose/Module.h"
#include "compose/TransformedModule.h"

#include <cstring>
#include <map>
#include <set>
#include <string>

namespace {

// Prefixes of the dependency file's lines. "src:" lines give the module
// files the class was composed from, "mixin:<class>:" lines the files of the
// mixin copies, "access:" lines the classes the class accesses in the
// class-access graph, "bind:<class>:<state>" lines the binding states the
// outputs were written for.
char const DeclPrefix[] = "decl:";
char const ImplPrefix[] = "impl:";
char const SourcePrefix[] = "src:";
char const MixinPrefix[] = "mixin:";
char const ForwardPrefix[] = "fwd:";
char const AccessPrefix[] = "access:";
char const BindingPrefix[] = "bind:";

bool StartsWith(Str const& text, char const* prefix)
{
    return std::strncmp(text.GetBuffer(), prefix, std::strlen(prefix)) == 0;
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

} // namespace

char const ClassDependencies::PlainBinding[] = "j";

ClassDependencies::ClassDependencies(TransformedModule& owner) : m_Owner(owner)
{
    // A header's indirect includes can reach most classes of a big line.
    m_IndirectDeclDependencies.SetIndexed();
}

ClassDependencies::~ClassDependencies()
{
    for (auto* entry = m_RecordedMixins.GetFirst(); entry; entry = m_RecordedMixins.GetNext(entry))
        delete entry->GetValue();
}

void ClassDependencies::Load(Str const& path)
{
    StringArray lines;
    if (!TextFile::GetFileContent(path, lines))
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

void ClassDependencies::Save(Str const& path)
{
    Str text;
    for (auto* entry = m_DeclDependencies.GetFirst(); entry; entry = m_DeclDependencies.GetNext(entry))
        if (entry->GetKey() != m_Owner.GetName())
            text += DeclPrefix + entry->GetKey() + "\n";
    for (auto* entry = m_ImplDependencies.GetFirst(); entry; entry = m_ImplDependencies.GetNext(entry))
        if (entry->GetKey() != m_Owner.GetName())
            text += ImplPrefix + entry->GetKey() + "\n";
    Array<FOPModule*>& modules = m_Owner.GetModules();
    for (int i = 0; i < modules.GetCount(); ++i) {
        FOPModule* module = modules[i];
        if (module->IsMixin())
            text += MixinPrefix + module->GetMixinName() + ":" + module->GetSourcePath() + "\n";
        else
            text += SourcePrefix + module->GetSourcePath() + "\n";
    }
    Str forward = m_Owner.GetForwardDeclaration();
    if (!forward.IsEmpty())
        text += ForwardPrefix + forward + "\n";
    // The accesses matter only where a class is delegated dynamically. The
    // lines are sorted: the graph's sets are ordered by address.
    std::set<std::string> accessed;
    std::map<std::string, TransformedModule*> bound;
    bound[m_Owner.GetName().GetBuffer()] = &m_Owner;
    for (auto* entry = m_Owner.GetAccessNode().m_Accessed.GetFirst(); entry; entry = m_Owner.GetAccessNode().m_Accessed.GetNext(entry)) {
        TransformedModule* cls = entry->GetKey();
        accessed.insert(cls->GetName().GetBuffer());
        bound[cls->GetName().GetBuffer()] = cls;
    }
    for (StringSet* names : {&m_DeclDependencies, &m_ImplDependencies})
        for (auto* entry = names->GetFirst(); entry; entry = names->GetNext(entry))
            if (TransformedModule* cls = m_Owner.GetLayerStack()->GetModule(entry->GetKey()))
                bound[cls->GetName().GetBuffer()] = cls;
    if (m_Owner.GetLayerStack()->m_bHasDynamicLayer)
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
    if (!OutputRecord::Write(path, text.GetBuffer(), text.GetLength()))
        ErrorLog::OnError("could not write to file", path);
}

void ClassDependencies::ResetDependencies()
{
    m_DeclDependencies.RemoveAll();
    m_ImplDependencies.RemoveAll();
    m_IndirectDeclDependencies.RemoveAll();
    m_bIndirectDeclDone = false;
}

void ClassDependencies::UpdateIndirectDeclDependencies()
{
    if (m_bUpdatingDecl) {
        // The computation goes on with what this class has collected so far.
        if (!m_bRecursionReported)
            ErrorLog::OnError("there is a recursive dependency", m_Owner.GetName(), 0);
        m_bRecursionReported = true;
        return;
    }
    m_bUpdatingDecl = true;
    for (auto* entry = m_DeclDependencies.GetFirst(); entry; entry = m_DeclDependencies.GetNext(entry)) {
        TransformedModule* cls = m_Owner.GetLayerStack()->GetModule(entry->GetKey());
        // A class's own header is no cycle: the parts of a class composed
        // per binding unit include the interface header of their class.
        if (!cls || cls == &m_Owner)
            continue;
        m_IndirectDeclDependencies.Add(cls);
        cls->GetDeclDependencies(m_IndirectDeclDependencies);
    }
    m_bUpdatingDecl = false;
    m_bIndirectDeclDone = true;
}

void ClassDependencies::GetDeclDependencies(Set<TransformedModule*>& out)
{
    if (!m_bIndirectDeclDone)
        UpdateIndirectDeclDependencies();
    if (&out == &m_IndirectDeclDependencies)
        return;
    for (auto* entry = m_IndirectDeclDependencies.GetFirst(); entry; entry = m_IndirectDeclDependencies.GetNext(entry))
        out.Add(entry->GetKey());
}

bool ClassDependencies::DependensOnChangedModule()
{
    if (!m_Owner.HasOutDir())
        return false;
    if (m_Owner.GetFirstModule() && m_Owner.GetFirstModule()->GetFileType() == Module::FT_JAK)
        return false;
    // When no output changed in the run, none can be reached; the indirect
    // dependencies are still completed in the same order, so that a
    // recursive dependency is reported as in any other run.
    bool anyChanged = m_Owner.GetLayerStack()->m_bAnyOutputChanged;
    Set<TransformedModule*> reached;
    reached.SetIndexed();
    for (auto* entry = m_ImplDependencies.GetFirst(); entry; entry = m_ImplDependencies.GetNext(entry)) {
        TransformedModule* cls = m_Owner.GetLayerStack()->GetModule(entry->GetKey());
        if (!cls || cls == &m_Owner)
            continue;
        if (!anyChanged) {
            if (!cls->GetDependencies().m_bIndirectDeclDone)
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

bool ClassDependencies::Depends(Str const& name)
{
    return m_DeclDependencies.Contains(name) || m_ImplDependencies.Contains(name);
}

bool ClassDependencies::HasModuleSetChanged()
{
    if (!m_bHasSourceRecord)
        return true;
    StringArray current;
    m_Owner.GetSourcePaths(current);
    if (!SameLists(current, m_RecordedSources))
        return true;
    // Each mixin class must still consist of the files its copies were
    // made from.
    for (auto* entry = m_RecordedMixins.GetFirst(); entry; entry = m_RecordedMixins.GetNext(entry)) {
        auto* found = m_Owner.GetLayerStack()->m_ComposedClasses.Find(entry->GetKey());
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

bool ClassDependencies::HasBindingStateChanged()
{
    auto differs = [this](TransformedModule* cls) {
        auto* recorded = m_RecordedBindings.Find(cls->GetName());
        return cls->GetBindingState() != (recorded ? recorded->GetValue().GetBuffer() : PlainBinding);
    };
    if (differs(&m_Owner))
        return true;
    for (int i = 0; i < m_RecordedAccesses.GetCount(); ++i) {
        TransformedModule* cls = m_Owner.GetLayerStack()->GetModule(m_RecordedAccesses[i]);
        if (!cls || differs(cls))
            return true;
    }
    for (StringSet* names : {&m_DeclDependencies, &m_ImplDependencies})
        for (auto* entry = names->GetFirst(); entry; entry = names->GetNext(entry))
            if (TransformedModule* cls = m_Owner.GetLayerStack()->GetModule(entry->GetKey()))
                if (differs(cls))
                    return true;
    // A class recorded as bound otherwise that is gone.
    for (auto* entry = m_RecordedBindings.GetFirst(); entry; entry = m_RecordedBindings.GetNext(entry))
        if (!m_Owner.GetLayerStack()->GetModule(entry->GetKey()))
            return true;
    return false;
}

void ClassDependencies::StoreRecordedAccesses()
{
    for (int i = 0; i < m_RecordedAccesses.GetCount(); ++i)
        m_Owner.StoreClassAccess(m_Owner.GetLayerStack()->GetModule(m_RecordedAccesses[i]));
}
