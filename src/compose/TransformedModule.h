// A composed class: the modules of one name across the layers of a
// composition, bottom layer first. It chooses the transformation units (one
// jampack unit, or one per binding unit), parses its modules and steps the
// code generator through transforming and saving them, knows its output
// folder, decides whether it must be rebuilt, and keeps its dependency sets
// and its node in the class-access graph. It keeps the members of all its
// modules by name, so that function bodies can be checked for member uses.
#pragma once

#include "base/Array.h"
#include "base/FileStat.h"
#include "base/Map.h"
#include "base/Str.h"
#include "base/StringArray.h"
#include "compose/BindingScheme.h"
#include "compose/ClassAccessGraphNode.h"
#include "compose/ClassDependencies.h"
#include "compose/GeneratorState.h"
#include "parser/ComposedClass.h"

#include <cstddef>
#include <ctime>
#include <memory>
#include <new>
#include <unordered_map>
#include <utility>

class FOPModule;
class FopParseProject;
class FuncInfo;
class LayerStack;
class MemberInfo;
class NodeFuncDecl;
class TransformationUnit;

class TransformedModule : public ComposedClass {
public:
    // Composed classes live until the end of the run. Allocating them here
    // names them for the leak checker, which is told to let them be.
    static void* operator new(std::size_t size) { return ::operator new(size); }
    static void operator delete(void* p) { ::operator delete(p); }

    // Takes the module's name, creates the output folder and reads the
    // dependency file of the last run. The module enters the class by Add.
    TransformedModule(LayerStack& stack, FOPModule& module);
    // A class without modules, for tests of the lookups.
    explicit TransformedModule(LayerStack& stack);
    ~TransformedModule() override;
    TransformedModule(TransformedModule const&) = delete;
    TransformedModule& operator=(TransformedModule const&) = delete;

    // Modules.
    // Appends a module on top; a module already in the class is not added
    // again. Returns this.
    TransformedModule* Add(FOPModule& module);
    // Places mixin directly below module; false when module is not here.
    bool InsertAbove(FOPModule& module, FOPModule& mixin);
    TransformationUnit* AddTransformationModule(TransformationUnit* unit)
    {
        return m_Scheme.AddTransformationModule(unit);
    }
    bool HasFopModule(FOPModule const& module) const;

    // Transformation scheme (BindingScheme).
    bool HasMixedBinding() { return BindingScheme::HasMixedBinding(m_Modules); }
    void InitTransformation() { m_Scheme.InitTransformation(m_Modules); }
    void InitDelegationTransformation() { m_Scheme.InitDelegationTransformation(m_Modules); }
    void PrepareParse() { InitTransformation(); }
    TransformationUnit* GetTransformationUnit(char const* bindingUnitName)
    {
        return m_Scheme.GetTransformationUnit(bindingUnitName);
    }
    bool IsPureJampack() { return m_Scheme.IsPureJampack(); }

    // Run steps.
    // The class's outputs were written in this run.
    bool WasSaved() const { return m_bTransformed && !m_bHasError && !m_bNoOutDir; }
    FileTimeNs GetDestFileTime();
    // Parses the modules when the class must be composed again (always with
    // force); false when a module fails to parse.
    bool Parse(bool force = false);
    // False when the class is not composed, also when an error was reported
    // while transforming it.
    bool Transform();
    void SecondTransformStep();
    void OnTransformEnd();
    void SaveFiles();
    // Gives the main output a time before any edit of a module made after
    // the run read it.
    void KeepEditsDuringTheRun();
    bool HasOutputChanged(bool decl);

    // Parts of the steps.
    bool ChangedSinceLastTransform();
    Str GetMainDestFilePath();
    void OnParsed();
    void InitModuleInstantiations();
    // Why a lower layer gives the class no base (": " and the reason), empty
    // when no reason is known.
    Str MissingBaseReason();
    // False, with an error, when the class's lowest module refines it.
    bool CanTransform();
    // The code generator's steps for the class (CodeGenerator).
    virtual void TransformModules();
    void AddSplPtr();
    virtual void SaveModules();
    void OpenOutputFiles();
    void CloseModules();

    // Dependencies (ClassDependencies): the dependency file of the last run
    // and of this one, the classes the header reaches.
    void LoadDependencies();
    void ResetDependencies() { m_Dependencies.ResetDependencies(); }
    void SaveDependencies();
    // Removes the dependency file at path when it holds a source record
    // (a class's outputs there no longer stand for its sources).
    static void RemoveDependencyRecord(Str const& path);
    void UpdateIndirectDeclDependencies() { m_Dependencies.UpdateIndirectDeclDependencies(); }
    void GetDeclDependencies(Set<TransformedModule*>& out) { m_Dependencies.GetDeclDependencies(out); }
    bool DependensOnChangedModule() { return m_Dependencies.DependensOnChangedModule(); }
    void Touch();
    bool Depends(Str const& name) { return m_Dependencies.Depends(name); }
    bool HasModuleSetChanged() { return m_Dependencies.HasModuleSetChanged(); }
    // How the classes that name this class see it: "j" composed in one unit,
    // "u" per binding unit, "d" per unit with a dynamically loaded one, each
    // followed by "p" when the class holds the product-line pointer (as the
    // class-access graph of this run decides).
    Str GetBindingState();
    bool HasBindingStateChanged() { return m_Dependencies.HasBindingStateChanged(); }
    // Enters the accesses recorded by the last run into the class-access
    // graph; for a class not parsed in this run.
    void StoreRecordedAccesses() { m_Dependencies.StoreRecordedAccesses(); }
    // The declaration paths of the module files the class is made of (mixin
    // copies left out), in module order.
    void GetSourcePaths(StringArray& paths) const;

    // Queries.
    Str GetName() const { return m_Name; }
    Str GetOrigClassName();
    Str GetBaseClass();
    NodeFuncDecl* GetRefiningMethod(FOPModule const& module, FuncInfo const& func);
    NodeFuncDecl* GetRefinedMethod(FOPModule const& module, FuncInfo const& func);
    // The member registered under the name; null when there is none (or no
    // name is given).
    MemberInfo* GetMember(char const* name) override;
    // The class of that name in the layer stack (LayerStack::GetModule);
    // null without a layer stack.
    TransformedModule* FindComposedClass(char const* name) override;
    // The declaration that names the class ahead of its definition, on one
    // line, in the class's namespace blocks, with the class key and the
    // template head (without default arguments) of the class head that is
    // written: "namespace a { template <class T> struct X; }". From the
    // dependency file of the last run when the class is not parsed; empty
    // when it is not known or the class is composed per binding unit.
    Str GetForwardDeclaration();
    void StoreClassAccess(TransformedModule* accessed);
    // False when the class has no usable output folder.
    bool HasOutDir() const { return !m_bNoOutDir; }

    // Not called in a composition run.
    bool IsNonSplClass();
    void BeginTransform() {}

    // Accessors, in the groups of the fields below.
    // Identity and place in the layer stack.
    LayerStack* GetLayerStack() const { return m_pLayerStack; }
    void SetLayerStack(LayerStack* stack) { m_pLayerStack = stack; }
    void SetName(Str const& name) { m_Name = name; }
    // Modules.
    FOPModule* GetFirstModule() const { return m_pFirstModule; }
    FOPModule* GetFinalModule() const { return m_pFinalModule; }
    Array<FOPModule*>& GetModules() { return m_Modules; }
    MapStringTo<MemberInfo*>& GetMembers() { return m_Members; }
    // Parse and transform state.
    bool IsParsed() const { return m_bParsed; }
    bool IsTransformed() const { return m_bTransformed; }
    bool HasError() const { return m_bHasError; }
    void SetHasError(bool error) { m_bHasError = error; }
    bool IsMixinOnly() const { return m_bMixinOnly; }
    void SetMixinOnly(bool mixinOnly) { m_bMixinOnly = mixinOnly; }
    Array<TransformationUnit*>& GetTransformations() { return m_Scheme.m_Transformations; }
    bool IsSingleBindingUnit() const { return m_Scheme.m_bSingleBindingUnit; }
    bool HasDynamicDelegation() const { return m_Scheme.m_bDynamicDelegation; }
    void SetDynamicDelegation(bool dynamic) { m_Scheme.m_bDynamicDelegation = dynamic; }
    // The class holds the product-line pointer.
    bool IsSplPtrNeeded() const { return m_bNeedsSplPtr; }
    // The flag itself, for the conditions of inserted tokens: it is set at
    // the end of the transform (OnTransformEnd), after the tokens are made.
    bool const& GetSplPtrNeededFlag() const { return m_bNeedsSplPtr; }
    // Dependencies and the records of the last run. The dependency names
    // are what the header and the implementation output include.
    StringSet& GetDeclDependencyNames() { return m_Dependencies.m_DeclDependencies; }
    StringSet& GetImplDependencyNames() { return m_Dependencies.m_ImplDependencies; }
    Set<TransformedModule*>& GetIndirectDeclDependencies() { return m_Dependencies.m_IndirectDeclDependencies; }
    bool IsIndirectDeclDone() const { return m_Dependencies.m_bIndirectDeclDone; }
    ClassDependencies& GetDependencies() { return m_Dependencies; }
    ClassAccessGraphNode& GetAccessNode() { return m_AccessNode; }
    StringArray& GetRecordedSources() { return m_Dependencies.m_RecordedSources; }
    MapStringTo<StringArray*>& GetRecordedMixins() { return m_Dependencies.m_RecordedMixins; }
    bool HasSourceRecord() const { return m_Dependencies.m_bHasSourceRecord; }
    Str const& GetRecordedForward() const { return m_Dependencies.m_RecordedForward; }
    // Output and naming.
    Str const& GetDestBase() const { return m_DestBase; }
    Str const& GetDestDir() const { return m_DestDir; }
    void SetNoOutDir(bool noOutDir) { m_bNoOutDir = noOutDir; }
    // The header's time when the run began (LayerStack::GetLastTransformTime).
    void SetStartDestFileTime(FileTimeNs t)
    {
        m_StartDestFileTime = t;
        m_bStartDestFileTimeKnown = true;
    }
    // What the code generator keeps with the class (owned).
    GeneratorState* GetGeneratorState() const { return m_pGeneratorState.get(); }
    void SetGeneratorState(GeneratorState* state) { m_pGeneratorState.reset(state); }

private:
    // Transform without the error check.
    bool TransformChecked();
    // Marks the class failed when errors were reported since the count.
    void FailOnErrorsSince(int errors);

    // Identity and place in the layer stack.
    LayerStack* m_pLayerStack;
    FopParseProject* m_pProject;
    Str m_Name;

    // Modules: the lowest and the highest, all of them bottom first, and
    // their members.
    FOPModule* m_pFirstModule;
    FOPModule* m_pFinalModule;
    Array<FOPModule*> m_Modules;
    // The first and the last place of each module in m_Modules.
    std::unordered_map<FOPModule const*, std::pair<int, int>> m_ModulePositions;
    // The member infos of the function declarations and member variables of
    // all modules by name; a later module's member replaces an earlier one
    // of the same name. The infos are not owned.
    MapStringTo<MemberInfo*> m_Members;

    // Parse and transform state: the steps done, the transformation units
    // and how the class is bound.
    bool m_bParsed;
    bool m_bTransformed;
    bool m_bHasError;
    // The class is used only as a mixin (LayerStack::FindMixinOnlyClasses):
    // it is not written, and its outputs of earlier runs go.
    bool m_bMixinOnly;
    BindingScheme m_Scheme;
    bool m_bNeedsSplPtr;

    // Dependencies (the dependency file's record and the classes reached
    // through the header's includes) and the class's node in the
    // class-access graph.
    ClassDependencies m_Dependencies;
    ClassAccessGraphNode m_AccessNode;

    // Output and naming: the output folder and the path base of the class's
    // files, and what is known of its header's changes.
    Str m_DestBase;
    Str m_DestDir;
    // The output folder could not be created: the class is never saved.
    bool m_bNoOutDir;
    // Whether the class's header changed in this run: -1 until asked, which
    // is only once every class is written.
    int m_DeclOutputChanged;
    // The time of the class's header when the run began
    // (LayerStack::GetLastTransformTime), kept for the class's change test so
    // that the file is not asked twice.
    FileTimeNs m_StartDestFileTime;
    bool m_bStartDestFileTimeKnown;

    // What the code generator keeps with the class: its added code, its
    // interface generator.
    std::unique_ptr<GeneratorState> m_pGeneratorState;

    void OnCreate();
    // The declaration of func in the nearest module past module, walking
    // the modules upwards (step 1) or downwards (step -1).
    NodeFuncDecl* FindMethodFrom(FOPModule const& module, FuncInfo const& func, int step);
    // Makes m_ModulePositions again from m_Modules.
    void IndexModules();
    // The first module's layer output folder, created with its parents and
    // made absolute; without one the class has no output folder.
    void InitDestDir(bool report);
};
