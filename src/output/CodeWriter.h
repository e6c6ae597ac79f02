// Code writers: put one module's share of a composed class into the files
// its transformation unit has opened and framed. The class body goes into
// the declaration file under a "//**** Layer <name> ****" banner; the code
// after the class declaration goes into the implementation file.
#pragma once

#include <ostream>

class FOPModule;
class ModuleOutput;
class NodeClassDef;
class OutFile;
class TransformedModule;

namespace Lex {
class Token;
}

class CodeWriter {
public:
    explicit CodeWriter(FOPModule& module);
    CodeWriter(CodeWriter const&) = delete;
    CodeWriter& operator=(CodeWriter const&) = delete;
    virtual ~CodeWriter() {}

    // True when the module has a composed class and both parts were written.
    bool Save();
    virtual bool SaveDecl();
    virtual bool SaveImpl();
    // Narrows the range to the inside of the class body and, for the module
    // that introduces the class, writes the class's added member code.
    bool BeginRefinement();

    // Writes the module's code after its class declaration (after the
    // first ";" that follows the class body) that belongs to the place
    // (TrailingCode::Place) into the file; the header gets the declarations
    // of the definitions moved to the implementation file.
    static bool SaveTrailingCode(FOPModule& module, OutFile& file, int place);

    FOPModule* m_pModule;
    // The module's output side: its files, its code after the class.
    ModuleOutput* m_pOutput;
    TransformedModule* m_pTransformedModule;
    NodeClassDef* m_pClassDef;
    std::ostream* m_pStream;
    Lex::Token* m_pFirstToken;
    Lex::Token* m_pLastToken;
    // The range between the braces is empty: nothing of the body is written.
    bool m_bEmptyBody;
};

// The writer of every module kind but jak.
class CppCodeWriter : public CodeWriter {
public:
    explicit CppCodeWriter(FOPModule& module) : CodeWriter(module) {}
    bool SaveImpl() override;
    bool BeginRefinement();
};

// The writer of jak modules: the declaration file is a .java file and there
// is no implementation part.
class JavaCodeWriter : public CodeWriter {
public:
    explicit JavaCodeWriter(FOPModule& module) : CodeWriter(module) {}
    bool SaveImpl() override;
    bool BeginRefinement();
};
