// The output side of one feature module: its transformation (with the
// functions it has handled), and the writing of its part of the composed
// class: the frame around the class in the declaration output, the code
// after the class cut into pieces, the classes it names, and saving through
// a code writer. The module keeps it as its generator state.
#pragma once

#include "base/Map.h"
#include "base/Str.h"
#include "compose/GeneratorState.h"
#include "output/TransformedFuncs.h"

class CodeWriter;
class FOPModule;
class ModuleIncludes;
class ModuleTransform;
class NodeClassDef;
class OutFile;
class TrailingCode;
class TransformedModule;

class ModuleOutput : public GeneratorState {
public:
    explicit ModuleOutput(FOPModule& module);
    ~ModuleOutput() override;

    // The module's output side, made on first use.
    static ModuleOutput& Of(FOPModule& module);

    // The output transform.
    bool Transform();
    bool DoTransformation();
    bool GenerateJampack();
    ModuleIncludes* GetIncludes();
    OutFile* GetDeclFile();
    OutFile* GetImplFile();
    TransformedFuncs& GetTransformedFuncs() { return m_TransformedFuncs; }

    // Saving.
    CodeWriter* CreateCodeWriter();
    bool Save();

    // Framing of the composed class in the declaration output.
    void InitDeclFile(OutFile& f);
    bool BeginClassDecl(OutFile& f);
    NodeClassDef* CloseDeclFile(OutFile& f);

    // Code after the class, used classes. For a C++ header module
    // HasCppCode tells whether some of that code belongs in the
    // implementation file and HasHeaderCode whether some stays in the
    // header; for other kinds all of it goes after the class.
    bool HasCppCode();
    bool HasHeaderCode();
    // The code after the class cut into pieces; null without a class.
    TrailingCode* GetTrailingCode();
    void GetUsedClasses(StringSet& other, StringSet& forward, StringSet& include);

private:
    NodeClassDef* Main() const;
    TransformedModule* Class() const;
    ModuleTransform* Unit() const;
    // An error when the module's namespace blocks differ from those of the
    // first module of its unit; a warning when they come with the
    // -namespace option.
    void CheckNameSpaces();

    FOPModule& m_Module;
    TransformedFuncs m_TransformedFuncs;
    TrailingCode* m_pTrailingCode;
    bool m_bHasCppCode;
    bool m_bHasCppCodeKnown;
};
