// The dependencies of a composed class. Its dependency file ("<class>.dep"
// beside its outputs) records the names that its outputs include, the module
// files it was composed from (the files of mixin copies by mixin class), its
// forward declaration, and the classes it accessed and the binding states its
// outputs were written for; it is read when the class is made and written
// after its outputs. "decl:" and "impl:" lines name included classes; a
// reader that knows only those takes the other lines for names of no
// composed class. From the names its header includes follow the classes the
// header reaches, which decide whether a change elsewhere touches the class.
#pragma once

#include "base/Map.h"
#include "base/Str.h"
#include "base/StringArray.h"

class TransformedModule;

class ClassDependencies {
public:
    // The binding state of a class composed in one unit without the
    // product-line pointer, which the file does not record.
    static char const PlainBinding[];

    explicit ClassDependencies(TransformedModule& owner);
    ~ClassDependencies();
    ClassDependencies(ClassDependencies const&) = delete;
    ClassDependencies& operator=(ClassDependencies const&) = delete;

    // Reads the file of the last run; nothing when there is none.
    void Load(Str const& path);
    // Writes the record of the class as this run composed it: its
    // dependency names and modules, its forward declaration, its accesses
    // (for product lines with dynamic layers) and the binding states other
    // than plain of it and the classes it accesses or includes. An empty
    // record is not written; a failed write is reported and leaves the last
    // run's file.
    void Save(Str const& path);
    // Forgets the dependency names before the outputs are written again.
    void ResetDependencies();

    // The classes the header reaches through its includes, completed once;
    // a cycle is reported once per class.
    void UpdateIndirectDeclDependencies();
    void GetDeclDependencies(Set<TransformedModule*>& out);
    // Some class whose header the outputs reach, directly or through other
    // headers, has a header that changed in this run.
    bool DependensOnChangedModule();
    bool Depends(Str const& name);
    // The modules (and mixin sources) differ from those recorded, or nothing
    // was recorded.
    bool HasModuleSetChanged();
    // The class, or a class it accessed or includes, is bound otherwise
    // than recorded.
    bool HasBindingStateChanged();
    // Enters the recorded accesses into the class-access graph.
    void StoreRecordedAccesses();

    // The names the header and the implementation output include: read
    // from the file, then this run's.
    StringSet m_DeclDependencies;
    StringSet m_ImplDependencies;
    // The classes reached through the header's includes.
    Set<TransformedModule*> m_IndirectDeclDependencies;
    bool m_bIndirectDeclDone = false;
    bool m_bUpdatingDecl = false;
    // Set once a recursive dependency through this class was reported, so
    // that a class on several cycles is reported once.
    bool m_bRecursionReported = false;
    // From the file: the declaration paths of the modules, and per mixin
    // class the paths of the copies, that the class was composed from
    // (m_bHasSourceRecord is false when the file had none); the forward
    // declaration as written then; the classes the class accessed, and the
    // binding states other than plain of the class and the classes it
    // accessed or included, by name.
    StringArray m_RecordedSources;
    MapStringTo<StringArray*> m_RecordedMixins;
    bool m_bHasSourceRecord = false;
    Str m_RecordedForward;
    StringArray m_RecordedAccesses;
    MapStringToString m_RecordedBindings;

private:
    TransformedModule& m_Owner;
};
