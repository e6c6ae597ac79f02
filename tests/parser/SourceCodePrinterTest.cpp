#include "base/Name.h"
#include "parser/PrintConfig.h"
#include "parser/SourceCodePrinter.h"
#include "parser/Info.h"
#include "parser/InfoBuilder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string S(Str const& text)
{
    return text.GetBuffer();
}

TypeInfo* Type(char const* name)
{
    return new TypeInfo(name ? Name::GetName(name) : nullptr);
}

// A class X : A, B with a public int n and a function f without parameter
// list.
ClassInfo* SampleClass()
{
    ClassInfoBuilder cls(Str("X"));
    cls.AddBase("A");
    cls.AddBase("B");
    cls.AddMemberVar("int", "n", true);
    cls.AddMember("void", "f");
    return cls.GetClass();
}

TEST(SourceCodePrinter, FirstPrintInstallsTheCppPrinterAndLaterPrintsReuseIt)
{
    SourceCodePrinter::m_pInst = nullptr;
    ClassInfo cls(Name::GetName("C"));
    EXPECT_EQ("class C{\n};\n", S(cls.AsString()));
    SourceCodePrinter* printer = SourceCodePrinter::m_pInst;
    ASSERT_NE(nullptr, dynamic_cast<CppCodePrinter*>(printer));
    EXPECT_EQ("C++", S(printer->m_pConfig->GetLanguage()));
    cls.AsString();
    EXPECT_EQ(printer, SourceCodePrinter::m_pInst);
    EXPECT_EQ(printer, SourceCodePrinter::CreateDefaultInstance());
}

TEST(CppCodePrinter, ClassWithBasesMembersAndAMissingChild)
{
    ClassInfo* cls = SampleClass();
    EXPECT_EQ("class X : public A, public B{\n"
              "public: int n;\n"
              "private: void f<NULL>{\n}\n"
              "};\n",
              S(cls->AsString()));
    EXPECT_EQ("public: int n;\nprivate: void f<NULL>{\n}\n", S(cls->ChildsAsString()));
}

TEST(CppCodePrinter, FunctionWithoutBodiesEndsWithSemicolon)
{
    ClassInfoBuilder cls(Str("X"));
    FuncInfoBuilder f(cls, "int", "get");
    f.AddArgs("long a");
    PrintConfig& config = *SourceCodePrinter::GetCurrent().m_pConfig;
    config.m_bPrintBodies = false;
    Str text = f.GetFunc()->AsString();
    config.m_bPrintBodies = true;
    EXPECT_EQ("private: int get(long a);", S(text));
}

TEST(SourceCodePrinter, Types)
{
    static struct {
        char const* name;
        bool isStatic, isVirtual, isConst;
        int indirection;
        char const* text;
    } const cases[] = {
        {"int", false, false, false, 0, "int"},
        {"Foo", true, true, true, 2, "static virtual const Foo*"},
        {"Foo", false, false, false, 1, "Foo&"},
        {nullptr, false, false, true, 2, "const *"},
        {"__unnamed__", false, false, false, 1, "&"},
        {nullptr, false, false, false, 0, ""},
    };
    for (auto const& c : cases) {
        TypeInfo* type = Type(c.name);
        type->m_bStatic = c.isStatic;
        type->m_bVirtual = c.isVirtual;
        type->m_bConst = c.isConst;
        type->m_bInline = true; // never printed
        type->m_Indirection = c.indirection;
        EXPECT_EQ(c.text, S(type->AsString()));
    }
}

TEST(SourceCodePrinter, ParametersKeepNamesExceptInSignatures)
{
    ClassInfoBuilder cls(Str("X"));
    FuncInfoBuilder f(cls, "void", "set");
    f.AddArgs("int a, Foo& b");
    FuncInfo* func = f.GetFunc();
    EXPECT_EQ("(int a, Foo& b)", S(func->GetParams()->AsString()));
    EXPECT_EQ("void set(int, Foo&)", S(func->GetSignature(true)));
    EXPECT_FALSE(SourceCodePrinter::GetCurrent().m_pConfig->m_bOmitVarNames);
    EXPECT_EQ("int a", S(func->GetParams()->GetChild(0)->AsString()));
}

TEST(SourceCodePrinter, PrintChildBoundsAndNull)
{
    FuncInfo func(Name::GetName("f"));
    SourceCodePrinter& printer = SourceCodePrinter::GetCurrent();
    Str out;
    printer.PrintChild(func, out, 3);
    printer.PrintChild(func, out, -1);
    EXPECT_EQ("", S(out));
    printer.PrintChild(func, out, 0);
    EXPECT_EQ("<NULL>", S(out));
    out = "";
    func.GetBody().SetText("x();\n");
    printer.PrintChild(func, out, 2);
    EXPECT_EQ("{\nx();\n}", S(out));
}

TEST(SourceCodePrinter, JoiningSkipsNullChildren)
{
    NSInfo ns(Name::GetName("N"));
    EXPECT_EQ("", S(ns.AsString()));
    ns.AddChild(nullptr);
    ns.AddChild(new ClassInfo(Name::GetName("A")));
    ns.AddChild(nullptr);
    ns.AddChild(new ClassInfo(Name::GetName("B")));
    EXPECT_EQ("class A{\n};\n\nclass B{\n};\n\n", S(ns.AsString()));
    Str out;
    SourceCodePrinter::GetCurrent().PrintChilds(ns, out, Str("|"), false);
    EXPECT_EQ("class A{\n};\n|class B{\n};\n", S(out));
}

TEST(SourceCodePrinter, BaseOperationsDifferFromCpp)
{
    CppCodePrintConfig config;
    SourceCodePrinter base(&config);
    ClassInfo* cls = SampleClass();

    Str out;
    base.Print(*cls, out);
    EXPECT_EQ("class X{\npublic: int n;\nprivate: void f<NULL>{\n}\n};\n", S(out));

    out = "";
    MemberVarInfo* var = static_cast<MemberVarInfo*>(cls->GetChild(0));
    base.Print(*var, out);
    EXPECT_EQ("<public> int n;", S(out));

    out = "";
    FuncInfo* f = cls->GetChild(1)->GetFuncInfo();
    base.Print(*f, out);
    EXPECT_EQ("void f<NULL>{\n};", S(out));

    out = "";
    base.Print(*static_cast<BaseClassInfo*>(cls->m_IsA[0]), out);
    EXPECT_EQ("A", S(out));
}

TEST(PrintConfig, OtherConfigurationsCanBeInstalledAndReplaced)
{
    ClassInfo* cls = SampleClass();

    SourceCodePrinter* html = SourceCodePrinterFactory::InitHtmlPrinter();
    EXPECT_EQ(html, SourceCodePrinter::m_pInst);
    EXPECT_EQ("HTML", S(html->m_pConfig->GetLanguage()));
    EXPECT_EQ(" Base AB<br /><br /><b>Members: </b><br /><public> int n;<br />void f<NULL>{\n};<br />",
              S(cls->AsString()));

    SourceCodePrinter* doku = SourceCodePrinterFactory::InitHtmlDokuPrinter();
    EXPECT_NE(nullptr, dynamic_cast<HtmlDokuPrinter*>(doku));
    EXPECT_FALSE(doku->m_pConfig->m_bPrintBodies);

    SourceCodePrinterFactory::InitCPrinter();
    EXPECT_EQ("//generated from class X{\n<public> int n;\nvoid f<NULL>{\n};\n", S(cls->AsString()));

    SourceCodePrinter* cpp = SourceCodePrinterFactory::InitCppPrinter();
    EXPECT_NE(nullptr, dynamic_cast<CppCodePrinter*>(cpp));
    EXPECT_EQ(cpp, SourceCodePrinter::m_pInst);
    EXPECT_EQ("public: int n;\nprivate: void f<NULL>{\n}\n", S(cls->ChildsAsString()));
}

TEST(PrintConfig, SaveAndRestoreLeaveTheCurrentPrinter)
{
    SourceCodePrinter* current = &SourceCodePrinter::GetCurrent();
    PrintConfig* used = SourceCodePrinterFactory::m_pUsedConfig;
    SourceCodePrinterFactory::SavePrinter();
    EXPECT_EQ(nullptr, SourceCodePrinterFactory::m_pUsedConfig);
    EXPECT_EQ(current, SourceCodePrinter::m_pInst);
    SourceCodePrinterFactory::RestorePrinter();
    EXPECT_EQ(used, SourceCodePrinterFactory::m_pUsedConfig);
    SourceCodePrinterFactory::RestorePrinter(); // empty stack: nothing
    EXPECT_EQ(used, SourceCodePrinterFactory::m_pUsedConfig);
}

TEST(HtmlCodePrinter, BoldAndHeading)
{
    HtmlCodePrintConfig config;
    HtmlCodePrinter printer(&config);
    Str out;
    printer.PrintBold("b", out);
    printer.PrintHeading(2, Str("Title"), out);
    EXPECT_EQ("<b>b</b><h2>Title</h2>", S(out));
}

TEST(CInterfaceCreator, BodyForwardsToTheClassFunction)
{
    CCodePrintConfig config;
    CInterfaceCreator printer(&config);
    ClassInfoBuilder cls(Str("X"));
    FuncInfo* f = cls.AddMember("int", "get");
    Str out;
    printer.Print(f->GetBody(), out);
    EXPECT_EQ("{\n\treturn X::get(TODO: params);}", S(out));

    FuncInfo loose(Name::GetName("g"));
    out = "";
    printer.Print(loose.GetBody(), out);
    EXPECT_EQ("{\n}", S(out));
}

} // namespace
