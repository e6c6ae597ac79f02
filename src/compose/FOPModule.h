// A feature module: one module file of one layer, the version of one class
// that the layer contributes. It parses its file (with the progress line),
// picks its main class, expands `mixin` bases into copies of the mixin
// class's modules, links refined and refining methods, validates itself and
// names the files generated from it. Its transformation and the writing of
// its part of the composed class's output belong to the code generator,
// which keeps them as the module's generator state.
#pragma once

#include "base/Array.h"
#include "base/Map.h"
#include "base/Str.h"
#include "compose/GeneratorState.h"
#include "parser/CTokenListener.h"

#include <ctime>
#include <memory>

class FuncInfo;
class Layer;
class MemberInfo;
class Module;
class NodeBaseClass;
class NodeClassDef;
class NodeFuncDecl;
class NodeNSDef;
class SimpleTU;
class TransformationUnit;
class TransformedModule;

namespace Lex {
class Token;
}

class FOPModule {
public:
    // Renames the mixin class's name to the module's name in the tokens the
    // parser's main loop reads while a mixin copy is parsed.
    class TokenReplace : public CTokenListener {
    public:
        TokenReplace(Str const& origName, Str const& newName) : m_OrigName(origName), m_NewName(newName) {}
        void OnFile(char const*) override {}
        void OnToken(Lex::Token& token) override;

        Str m_OrigName;
        Str m_NewName;
    };

    FOPModule(Module& module, Layer& layer);
    ~FOPModule();
    FOPModule(FOPModule const&) = delete;
    FOPModule& operator=(FOPModule const&) = delete;

    // Life and parsing. Parse prints "<layer>/<name> (n LOC)" and refuses a
    // second parse with "file already parsed".
    bool Parse();
    bool ParseFile();
    bool FOP_ParseFile();
    void CalcLoc();
    // The progress line "<layer>/<name>" with the count text after it.
    void PrintProgress(Str const& count);
    void FindMainClass();

    // Mixins: every `mixin` base becomes copies of the named class's modules,
    // put directly below this module (MixinExpansion).
    bool ProcessMixins();
    bool AddMixinClass(NodeBaseClass& base);
    bool AddMixinRefinement(FOPModule& mixin);
    void SetIsMixin(char const* name);

    // Links each function to its refined and refining functions.
    void OnParsed();
    // Enters the module's functions, then its member variables, by name.
    void GetMembers(MapStringTo<MemberInfo*>& members);

    // Validation.
    bool ValidModule();
    // Messages about the module; a line of 0 stands for the line of its
    // class head (or its first line).
    void PrintError(Str const& text, int line);
    void PrintWarning(Str const& text, int line);
    int GetClassLine();

    // Accessors.
    Str GetName() const;
    // The main class's name, "NULL" without one.
    Str GetClassName();
    Str GetOrigClassName() { return m_OrigClassName; }
    // The module name; for a mixin copy "<mixin> (mixin applied to <name>)".
    Str GetPrintName();
    // The layer name that the module's renamed functions carry; for a mixin
    // copy "<layer>_<mixin>_<mixin's layer>", so that the copies of one
    // layer differ.
    Str GetRenameLayerName() const;
    bool IsRefinement() const;
    bool IsMetaLayerModule() const;
    bool ForceStaticCompose() const;
    bool IsFinal() const;
    void SetTransformedClass(TransformedModule& cls) { m_pTransformedClass = &cls; }
    void SetTransformationModule(TransformationUnit& unit) { m_pTransformationModule = &unit; }
    TransformedModule* GetTransformedClass() const { return m_pTransformedClass; }
    TransformationUnit* GetTransformationModule() const { return m_pTransformationModule; }
    Module* GetModule() const { return m_pModule; }
    Layer* GetLayer() const { return m_pLayer; }
    NodeClassDef* GetMainClass() const { return m_pMainClass; }
    int GetClassCount() const { return m_ClassCount; }
    bool IsParsed() const { return m_bParsed; }
    bool IsMixin() const { return m_bIsMixin; }
    bool IsUsedAsMixin() const { return m_bUsedAsMixin; }
    void SetUsedAsMixin() { m_bUsedAsMixin = true; }
    // For a mixin copy: the layer of the module it was copied from.
    void SetMixinLayer(Layer& layer) { m_pMixinLayer = &layer; }
    Str const& GetMixinName() const { return m_MixinName; }
    FOPModule* GetRefinedModule() const { return m_pRefinedModule; }
    void SetRefinedModule(FOPModule* module) { m_pRefinedModule = module; }
    // What the code generator keeps with the module (owned).
    GeneratorState* GetGeneratorState() const { return m_pGeneratorState.get(); }
    void SetGeneratorState(GeneratorState* state) { m_pGeneratorState.reset(state); }
    int GetLoc() const { return m_Loc; }
    Str GetBindingUnitName();
    bool IsCppModule();
    // The module's file type (1 h, 2 ah, 3 cs, 4 jak, 5 java).
    int GetFileType() const;
    // The path of the module's declaration file as listed.
    Str GetSourcePath() const;
    SimpleTU* GetParseUnit();
    Lex::Token* GetFirstToken();
    NodeFuncDecl* GetMethod(FuncInfo const& f);
    bool HasMethodObject(FuncInfo const& f);

    // Names and paths of the generated files.
    Str GetGeneratedDeclFileExt();
    Str GetGeneratedImplFileExt();
    Str GetGeneratedDeclFileName(Str const& base);
    Str GetGeneratedImplFileName(Str const& base);
    Str GetDelegationObjectName();
    Str GetDelegationObjectDir();
    Str GetDelegationObjectPath();
    // The main declaration output whose time stands for the composed class.
    Str GetDeclFilePath();

    // The namespace blocks of the module around its main class, outermost
    // first; none for a class at file scope.
    void GetNameSpaces(Array<NodeNSDef*>& list) const;
    // Those blocks reopened, one line each ("namespace a::b {\n"), and
    // closed again, innermost first ("} // namespace a::b\n"); empty for a
    // class at file scope. The composed class and each module's code after
    // its class are written inside them.
    Str GetNameSpaceOpenText() const;
    Str GetNameSpaceCloseText() const;
    // The qualified name of those blocks ("a::b" for nested blocks and for
    // "namespace a::b"; an unnamed block counts as "(unnamed)").
    Str GetNameSpaceName() const;

    // The name of the main class's first base class; false without one.
    bool GetBaseClass(Str& name);

private:
    void OnCreate();
    // Takes the include guard that wraps the whole module out of its
    // tokens: the composed files have the tool's guard.
    void RemoveOwnGuard();
    // The members of the module's helper types (the other classes of its
    // file) are no members of the composed class: they leave the module's
    // class database, so that no refinement links or renames them.
    void DropHelperMembers();
    // Reports a class inside an #if of the module (its guard aside).
    void WarnConditionalClass();

    // The module's parse and its main class.
    Module* m_pModule;
    Layer* m_pLayer;
    NodeClassDef* m_pMainClass;
    int m_ClassCount;
    bool m_bParsed;
    Str m_OrigClassName;

    // Mixins: whether this module is a mixin copy (and of which class), and
    // whether copies of it are applied as a mixin elsewhere.
    bool m_bIsMixin;
    bool m_bUsedAsMixin;
    Str m_MixinName;
    // For a mixin copy, the layer of the module it was copied from.
    Layer* m_pMixinLayer;

    // The place in the composition: the module below this one in its class,
    // the composed class and the transformation unit.
    FOPModule* m_pRefinedModule;
    TransformedModule* m_pTransformedClass;
    TransformationUnit* m_pTransformationModule;

    // The module's line count, and what the code generator keeps with it.
    int m_Loc;
    std::unique_ptr<GeneratorState> m_pGeneratorState;
};
