// Printers of the code model: every info object prints itself through the
// current printer. The C++ printer is the one in use; the C and HTML
// printers exist beside it.
#pragma once

#include "base/Str.h"

class Info;
class FuncInfo;
class ClassInfo;
class NSInfo;
class ParamListInfo;
class FuncBodyInfo;
class MemberVarInfo;
class BaseClassInfo;
class MemberInfo;
class LocalVarInfo;
class TypeInfo;
class PrintConfig;

class SourceCodePrinter {
public:
    explicit SourceCodePrinter(PrintConfig* config) : m_pConfig(config) {}
    virtual ~SourceCodePrinter() {}

    // Every Print appends to out.
    virtual void Print(Info& info, Str& out);
    virtual void Print(FuncInfo& info, Str& out);
    // Return type, name and parameter list, with the variable names left out.
    virtual void PrintSignature(FuncInfo& info, Str& out);
    virtual void Print(ClassInfo& info, Str& out);
    virtual void Print(NSInfo& info, Str& out);
    virtual void Print(ParamListInfo& info, Str& out);
    virtual void Print(FuncBodyInfo& info, Str& out);
    virtual void Print(MemberVarInfo& info, Str& out);
    virtual void Print(BaseClassInfo& info, Str& out);
    virtual void Print(MemberInfo& info, Str& out);
    virtual void Print(LocalVarInfo& info, Str& out);
    virtual void Print(TypeInfo& info, Str& out);
    virtual void PrintChilds(ClassInfo& info, Str& out);

    // The texts of the non-null children, separator between them and, when
    // trailing and anything was printed, once more at the end.
    void PrintChilds(Info& info, Str& out, Str const& separator, bool trailing);
    // The same over the base classes of a class info.
    void PrintIsA(Info& info, Str& out, Str const& separator, bool trailing);
    // Child index: nothing outside the children, "<NULL>" for a null child.
    void PrintChild(Info& info, Str& out, int index);

    // The printer of the installed configuration; installs the C++ one first
    // when there is none. Never null.
    static SourceCodePrinter* CreateDefaultInstance();
    // m_pInst, made by CreateDefaultInstance when there is none yet.
    static SourceCodePrinter& GetCurrent();

    // The current printer; never freed.
    static SourceCodePrinter* m_pInst;

    PrintConfig* m_pConfig; // not owned

protected:
    static char const* NameOf(Info& info);
};

class CppCodePrinter : public SourceCodePrinter {
public:
    explicit CppCodePrinter(PrintConfig* config) : SourceCodePrinter(config) {}

    using SourceCodePrinter::Print;
    void Print(FuncInfo& info, Str& out) override;
    void Print(ClassInfo& info, Str& out) override;
    void Print(BaseClassInfo& info, Str& out) override;
    void Print(MemberInfo& info, Str& out) override;
};

class CCodePrinter : public SourceCodePrinter {
public:
    explicit CCodePrinter(PrintConfig* config) : SourceCodePrinter(config) {}

    using SourceCodePrinter::Print;
    void Print(FuncInfo& info, Str& out) override;
    void Print(ClassInfo& info, Str& out) override;
    void Print(FuncBodyInfo& info, Str& out) override;
};

// Writes bodies that forward to the class's function of the same name.
class CInterfaceCreator : public CCodePrinter {
public:
    explicit CInterfaceCreator(PrintConfig* config) : CCodePrinter(config) {}

    using CCodePrinter::Print;
    void Print(FuncBodyInfo& info, Str& out) override;
};

class HtmlCodePrinter : public SourceCodePrinter {
public:
    explicit HtmlCodePrinter(PrintConfig* config) : SourceCodePrinter(config) {}

    using SourceCodePrinter::Print;
    void Print(ClassInfo& info, Str& out) override;

    void PrintBold(char const* text, Str& out);
    void PrintHeading(int level, Str const& text, Str& out);
};

class HtmlDokuPrinter : public HtmlCodePrinter {
public:
    explicit HtmlDokuPrinter(PrintConfig* config) : HtmlCodePrinter(config) {}
};
