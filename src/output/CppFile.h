// The frame of a generated C++ file: include guard, include lines, the
// namespace of the -namespace option, "using namespace" and forward
// declarations, written into an OutFile. Built on the stack for one call.
#pragma once

#include "base/Str.h"

class OutFile;

class CppFile {
public:
    explicit CppFile(OutFile* file = nullptr, bool guardOpen = false)
        : m_pFile(file), m_bGuardOpen(guardOpen) {}
    // With the guard-open flag: EndGuard() and CloseCpp().
    ~CppFile();
    CppFile(CppFile const&) = delete;
    CppFile& operator=(CppFile const&) = delete;

    // "\n".
    void CloseCpp();
    // "class <name>;\n".
    void FwdDecl(char const* name);
    // "namespace <ns>{\n" with a configured namespace; marks it open.
    void OpenNS();
    // "\n\n} //end namespace <ns>\n" when the namespace is open; marks it
    // closed.
    void CloseNS();
    // "using namespace <ns>;\n" with a configured namespace.
    void UsingNS();
    // "#include \"<name>[.h]\"\n"; ".h" is added unless the name ends with
    // ".h" or ".ah".
    void Include(char const* name);
    // "#include \"<name>\"\n": the name as it stands.
    void IncludeFile(char const* name);
    // Include of the file's own name without extension.
    void IncludeHeader();
    // The guard symbol line: the name with '.' as '_', "_h__included", "\n".
    static Str CreateIfDef(char const* name);
    void BeginGuard(char const* name);
    void EndGuard(char const* name);
    // The same with the file's name and extension.
    void BeginGuard();
    void EndGuard();

    OutFile* m_pFile;
    bool m_bGuardOpen;

private:
    Str FileGuardName() const;
};
