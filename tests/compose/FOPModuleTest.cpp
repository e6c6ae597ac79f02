#include "compose/FOPModule.h"

#include "../Captured.h"
#include "ComposedLine.h"

#include "output/CodeWriter.h"
#include "output/OutFile.h"
#include "output/TrailingCode.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "scanner/Token.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using testutil::ComposedLine;

namespace {

using Names = std::vector<std::string>;

bool Contains(std::string const& text, std::string const& part)
{
    return text.find(part) != std::string::npos;
}

int Count(std::string const& text, std::string const& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// The text of a class head, from its first token to the body's "{".
std::string HeadText(FOPModule& module)
{
    std::string text;
    NodeClassDef* cls = module.GetMainClass();
    if (!cls || !cls->GetClassDecl())
        return text;
    for (Lex::Token* t = cls->GetClassDecl()->GetFirstToken(); t; t = t->next()) {
        if (std::string(t->text->text) == "{")
            break;
        text += t->text->text;
    }
    return text;
}

} // namespace

TEST(FOPModuleParse, ProgressLineAndSecondParse)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    FOPModule& foo = line.AddModule(l1, "Foo.h", "#include <x>\n\nclass Foo {\n  int a;\n};\n// end\n");
    ASSERT_TRUE(line.Parse("Foo"));
    EXPECT_EQ("L1/Foo (4 LOC)\n", line.out);
    EXPECT_EQ(4, foo.GetLoc());
    EXPECT_STREQ("Foo", foo.GetOrigClassName());
    NodeClassDef* parsed = foo.GetMainClass();

    testutil::Captured captured;
    EXPECT_FALSE(foo.Parse());
    std::string out = captured.Out();
    EXPECT_TRUE(Contains(out, "error: file already parsed")) << out;
    EXPECT_EQ(parsed, foo.GetMainClass());
}

TEST(FOPModuleParse, UnreadableFileFails)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    line.AddModule(l1, "Foo.h", "class Foo {};\n");
    ::remove(line.tmp.path("L1/Foo.h").c_str());
    EXPECT_FALSE(line.Parse("Foo"));
    EXPECT_TRUE(Contains(line.out, "L1/Foo\n")) << line.out;
    EXPECT_TRUE(Contains(line.out, "error: failed to parse file")) << line.out;
}

TEST(FOPModuleValidation, Table)
{
    struct Case {
        char const* file;
        char const* content;
        bool valid;
        char const* className;
        char const* message; // part of the printed output; "" for none
    } const cases[] = {
        {"NoClass.h", "int f();\n", true, "NULL", ""},
        // Types beside the class named like the module are its helpers,
        // before or after it.
        {"A.h", "class A {\n};\n\n\nclass B {\n};\n", true, "A", ""},
        {"Money.h", "struct Rate {};\nenum E { e };\nclass Money {};\nclass Tax {};\n", true, "Money", ""},
        {"Foo.h", "struct Rate {};\nclass CFoo {};\n", true, "CFoo", ""},
        {"Foo.h", "struct Rate {};\nclass CFoo {};\nclass Foo {};\n", true, "Foo", ""},
        {"Foo.h", "struct Rate {};\nrefines class Foo {};\n", true, "Foo", ""},
        // A class inside a conditional of its module; the module's guard is
        // none.
        {"Foo.h", "#ifdef X\n#if Y\n#endif\nclass Foo {};\n#endif\n", true, "Foo",
         "Foo.h(1) : error: the class lies inside the preprocessor conditional"},
        {"Foo.h", "#ifndef FOO_H\n#define FOO_H\n#if Y\n#endif\nclass Foo {};\n#endif\n", true, "Foo", ""},
        {"Foo.h", "class Bar {};\n", false, "Bar", "class-name 'Bar' does not match module name 'Foo'"},
        {"Foo.h", "class CFoo {};\n", true, "CFoo", ""},
        {"Foo.h", "class Foo {};\n", true, "Foo", ""},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.content);
        ComposedLine line;
        Layer& l1 = line.AddLayer("L1");
        FOPModule& module = line.AddModule(l1, c.file, c.content);
        ASSERT_TRUE(line.Parse(module.GetName()));
        testutil::Captured captured;
        EXPECT_EQ(c.valid, module.ValidModule());
        std::string out = captured.Out();
        EXPECT_STREQ(c.className, module.GetClassName());
        if (*c.message)
            EXPECT_TRUE(Contains(out, c.message)) << out;
        else
            EXPECT_EQ("", out);
        if (!c.valid) {
            EXPECT_FALSE(module.Transform());
        }
    }
}

TEST(FOPModuleValidation, SeveralClassesWithoutTheModulesClassAreListed)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    // B comes first in no particular table order; A stands on the lowest line.
    FOPModule& module = line.AddModule(l1, "X.h", "\n\nclass A { };\n\n\n\n\n\n\n\n\nclass B { };\n");
    ASSERT_TRUE(line.Parse("X"));
    EXPECT_EQ(2, module.GetClassCount());
    EXPECT_STREQ("A", module.GetClassName());
    testutil::Captured captured;
    EXPECT_FALSE(module.ValidModule());
    std::string out = captured.Out();
    EXPECT_TRUE(Contains(out, "error: found 2(")) << out;
    EXPECT_TRUE(Contains(out, "A") && Contains(out, "B")) << out;
    EXPECT_TRUE(Contains(out, " classes, but only one class allowed; using class A\n")) << out;
    EXPECT_TRUE(Contains(out, "class-name 'A' does not match module name 'X'")) << out;
    EXPECT_TRUE(Contains(out, "L1/X.h")) << out;
}

TEST(FOPModuleValidation, RefinementNameMustMatchTheClass)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    Layer& l2 = line.AddLayer("L2");
    line.AddModule(l1, "Foo.h", "class CFoo { };\n");
    FOPModule& top = line.AddModule(l2, "Foo.h", "refines class Foo { };\n");
    ASSERT_TRUE(line.Parse("Foo"));
    testutil::Captured captured;
    EXPECT_FALSE(top.ValidModule());
    EXPECT_FALSE(top.Transform());
    std::string out = captured.Out();
    EXPECT_TRUE(Contains(out, "error: refinement-name 'Foo' does not match base name 'CFoo'")) << out;
}

TEST(FOPModuleMixin, CopiesGoBelowTheModuleInLayerOrder)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    Layer& l2 = line.AddLayer("L2");
    Layer& l3 = line.AddLayer("L3");
    FOPModule& m1 = line.AddModule(l1, "M.h", "class M {\npublic:\n  M* self();\n};\n");
    FOPModule& m2 = line.AddModule(l2, "M.h", "refines class M {\n  void more();\n};\n");
    line.AddModule(l1, "A.h", "class A { };\n");
    FOPModule& c = line.AddModule(l3, "C.h", "class C : public A, mixin M {\n  void c();\n};\n");
    ASSERT_TRUE(line.Parse("C"));

    TransformedModule& cls = *line.Class("C");
    EXPECT_EQ((Names{"M (mixin applied to C)", "M (mixin applied to C)", "C"}), ComposedLine::PrintNames(cls));
    EXPECT_TRUE(Contains(line.out, "L3/C (3 LOC)\nL3/M (mixin applied to C) (4 LOC)\nL3/M (mixin applied to C) (3 LOC)\n"))
        << line.out;
    FOPModule& copy1 = *cls.GetModules()[0];
    FOPModule& copy2 = *cls.GetModules()[1];
    EXPECT_TRUE(copy1.IsMixin());
    EXPECT_EQ(&l3, copy1.GetLayer());
    // The copies read C for M where the parser's main loop read the tokens.
    EXPECT_STREQ("C", copy1.GetClassName());
    EXPECT_STREQ("C", copy2.GetClassName());
    EXPECT_TRUE(copy2.IsRefinement());
    // The refinement chain and the unit follow the class's order.
    EXPECT_EQ(nullptr, copy1.GetRefinedModule());
    EXPECT_EQ(&copy1, copy2.GetRefinedModule());
    EXPECT_EQ(&copy2, c.GetRefinedModule());
    EXPECT_EQ(&cls, copy1.GetTransformedClass());
    EXPECT_EQ(c.GetTransformationModule(), copy1.GetTransformationModule());
    // The mixin base is gone; the other base stays.
    std::string head = HeadText(c);
    EXPECT_FALSE(Contains(head, "mixin")) << head;
    EXPECT_TRUE(Contains(head, "public A")) << head;
    EXPECT_TRUE(m1.IsUsedAsMixin());
    EXPECT_TRUE(m2.IsUsedAsMixin());
    EXPECT_FALSE(c.IsUsedAsMixin());
}

TEST(FOPModuleMixin, LastListedMixinIsProcessedFirst)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    Layer& l2 = line.AddLayer("L2");
    line.AddModule(l1, "M1.h", "class M1 { };\n");
    line.AddModule(l1, "M2.h", "class M2 { };\n");
    line.AddModule(l2, "C.h", "class C : mixin M1, mixin M2 { };\n");
    ASSERT_TRUE(line.Parse("C"));
    EXPECT_EQ((Names{"M2 (mixin applied to C)", "M1 (mixin applied to C)", "C"}),
              ComposedLine::PrintNames(*line.Class("C")));
}

TEST(FOPModuleMixin, TemplateHeadGoesToTheLowestCopy)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    Layer& l2 = line.AddLayer("L2");
    line.AddModule(l1, "M.h", "class M { };\n");
    line.AddModule(l2, "C.h", "template<class T> class C : mixin M { T t; };\n");
    ASSERT_TRUE(line.Parse("C"));
    FOPModule& lowest = *line.Class("C")->GetModules()[0];
    ASSERT_TRUE(lowest.IsMixin());
    ASSERT_TRUE(lowest.GetMainClass());
    EXPECT_TRUE(lowest.GetMainClass()->GetClassDecl()->GetTemplDef());
    EXPECT_TRUE(Contains(HeadText(lowest), "template")) << HeadText(lowest);
}

TEST(FOPModuleMixin, UnknownMixinFailsWithItsNameAndLine)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    line.AddModule(l1, "C.h", "class C : public Base,\n    mixin Nowhere { };\n");
    EXPECT_FALSE(line.Parse("C"));
    EXPECT_TRUE(Contains(line.out, line.tmp.path("L1/C.h") + "(2) : error: mixin class Nowhere not found\n"))
        << line.out;
}

TEST(FOPModuleMixin, CyclesAreErrors)
{
    {
        ComposedLine line;
        Layer& l1 = line.AddLayer("L1");
        line.AddModule(l1, "C.h", "class C : mixin C { };\n");
        EXPECT_FALSE(line.Parse("C"));
        EXPECT_TRUE(Contains(line.out, "error: recursive mixin C")) << line.out;
    }
    {
        ComposedLine line;
        Layer& l1 = line.AddLayer("L1");
        line.AddModule(l1, "A.h", "class A : mixin B { };\n");
        line.AddModule(l1, "B.h", "class B : mixin A { };\n");
        EXPECT_FALSE(line.Parse("A"));
        EXPECT_TRUE(Contains(line.out, "error: recursive mixin")) << line.out;
        line.out.clear();
        EXPECT_FALSE(line.Parse("B"));
        EXPECT_TRUE(Contains(line.out, "error: recursive mixin")) << line.out;
    }
    {
        // A cycle that does not run through the class being parsed.
        ComposedLine line;
        Layer& l1 = line.AddLayer("L1");
        line.AddModule(l1, "C.h", "class C : mixin M { };\n");
        line.AddModule(l1, "M.h", "class M : mixin N { };\n");
        line.AddModule(l1, "N.h", "class N : mixin M { };\n");
        EXPECT_FALSE(line.Parse("C"));
        EXPECT_EQ(1, Count(line.out, "error: recursive mixin M")) << line.out;
    }
}

TEST(FOPModuleMixin, NestedMixinsAreExpandedOnceInEitherOrder)
{
    for (bool mixinFirst : {false, true}) {
        SCOPED_TRACE(mixinFirst);
        ComposedLine line;
        Layer& l1 = line.AddLayer("L1");
        Layer& l2 = line.AddLayer("L2");
        line.AddModule(l1, "N.h", "class N { };\n");
        line.AddModule(l1, "M.h", "class M : mixin N { };\n");
        line.AddModule(l2, "C.h", "class C : mixin M { };\n");
        if (mixinFirst) {
            ASSERT_TRUE(line.Parse("M"));
            EXPECT_EQ((Names{"N (mixin applied to M)", "M"}), ComposedLine::PrintNames(*line.Class("M")));
        }
        ASSERT_TRUE(line.Parse("C"));
        EXPECT_EQ((Names{"N (mixin applied to C)", "M (mixin applied to C)", "C"}),
                  ComposedLine::PrintNames(*line.Class("C")));
    }
}

TEST(FOPModuleUsedClasses, SortsUsesIntoThreeSets)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    for (char const* name : {"B", "C", "D", "E", "F"})
        line.AddModule(l1, std::string(name) + ".h", std::string("class ") + name + " { };\n");
    FOPModule& a = line.AddModule(l1, "A.h",
                                  "#include \"B.h\"\n#define HOLD B\n"
                                  "class A {\n  B* p;\n  C c;\n  D& r;\n  E;\n  A* self;\n};\n"
                                  "void use() { F f; }\n");
    ASSERT_TRUE(line.Parse("A"));
    StringSet other, forward, include;
    a.GetUsedClasses(other, forward, include);
    auto names = [](StringSet& set) {
        std::vector<std::string> list;
        for (auto* e = set.GetFirst(); e; e = set.GetNext(e))
            list.push_back(e->GetKey().GetBuffer());
        std::sort(list.begin(), list.end());
        return list;
    };
    EXPECT_EQ((Names{"B", "D", "E"}), names(forward));
    EXPECT_EQ((Names{"C"}), names(include));
    EXPECT_EQ((Names{"F"}), names(other));
}

TEST(FOPModuleNames, GeneratedFileNamesByKind)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    FOPModule& foo = line.AddModule(l1, "Foo.H", "class Foo { };\n");
    FOPModule& bar = line.AddModule(l1, "Bar.ah", "class Bar { };\n");
    FOPModule& baz = line.AddModule(l1, "Baz.jak", "class Baz { }\n");
    EXPECT_STREQ("x.H", foo.GetGeneratedDeclFileName("x"));
    EXPECT_STREQ("x.cpp", foo.GetGeneratedImplFileName("x"));
    EXPECT_TRUE(foo.IsCppModule());
    EXPECT_STREQ("x.ah", bar.GetGeneratedDeclFileName("x"));
    EXPECT_STREQ("acc", bar.GetGeneratedImplFileExt());
    EXPECT_FALSE(bar.IsCppModule());
    EXPECT_STREQ("x.java", baz.GetGeneratedDeclFileName("x"));
    std::unique_ptr<CodeWriter> javaWriter(baz.CreateCodeWriter());
    std::unique_ptr<CodeWriter> cppWriter(bar.CreateCodeWriter());
    EXPECT_TRUE(dynamic_cast<JavaCodeWriter*>(javaWriter.get()));
    EXPECT_TRUE(dynamic_cast<CppCodeWriter*>(cppWriter.get()));

    // The main output of a pure jampack class lies in the class's folder.
    line.Class("Foo")->PrepareParse();
    EXPECT_EQ(line.tmp.path("out/Foo.H"), std::string(foo.GetDeclFilePath().GetBuffer()));
}

// The text with every run of blanks made one blank, trimmed.
std::string Squeezed(std::string const& text)
{
    std::string out;
    for (char c : text) {
        bool blank = c == ' ' || c == '\n' || c == '\t';
        if (blank && (out.empty() || out.back() == ' '))
            continue;
        out += blank ? ' ' : c;
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

TEST(FOPModuleOutput, CodeAfterTheClass)
{
    // What follows "class Foo { };" and where it goes: the header's text
    // (with the declarations of what moves) and the implementation file's.
    struct Case {
        char const* after;
        char const* header;
        char const* impl;
    } const cases[] = {
        {"", "", ""},
        {"// only a comment\n", "", ""},
        {"inline int f() { return 1; }\n", "inline int f() { return 1; }", ""},
        {"int f(int a, int b = 2) { return a; }\n", "int f(int a, int b = 2);", "int f(int a, int b ) { return a; }"},
        {"int f(std::map<int, std::vector<int>> m = {}, int b = g(1, 2)) { return b; }",
         "int f(std::map<int, std::vector<int>> m = {}, int b = g(1, 2));",
         "int f(std::map<int, std::vector<int>> m , int b ) { return b; }"},
        {"static int f() { return 1; }", "", "static int f() { return 1; }"},
        {"int Foo::f() const { return 1; }\nFoo::Foo() : a{1}, b(2) {}\nFoo::~Foo() {}",
         "", "int Foo::f() const { return 1; } Foo::Foo() : a{1}, b(2) {} Foo::~Foo() {}"},
        {"Foo operator+(Foo a, Foo b) { return a; }", "Foo operator+(Foo a, Foo b);",
         "Foo operator+(Foo a, Foo b) { return a; }"},
        {"bool Foo::operator==(Foo const&) const { return true; }", "",
         "bool Foo::operator==(Foo const&) const { return true; }"},
        {"template <class T> T twice(T t) { return t + t; }\ntemplate <class T> int Foo::g(T) { return 1; }",
         "template <class T> T twice(T t) { return t + t; } template <class T> int Foo::g(T) { return 1; }", ""},
        {"template <> int twice<int>(int t) { return t; }\ntemplate <> inline long twice<long>(long t) { return t; }",
         "template <> int twice<int>(int t); template <> inline long twice<long>(long t) { return t; }",
         "template <> int twice<int>(int t) { return t; }"},
        {"template class Box<int>;\nextern template class Box<long>;", "extern template class Box<long>;",
         "template class Box<int>;"},
        {"constexpr int k = 1;\nconstexpr int sq(int x) { return x * x; }\ninline int n = 2;\nconst int c = 3;",
         "constexpr int k = 1; constexpr int sq(int x) { return x * x; } inline int n = 2; const int c = 3;", ""},
        {"extern int e;\nint g(int);\nusing Id = int;\ntypedef int Num;\nstatic_assert(true, \"\");",
         "extern int e; int g(int); using Id = int; typedef int Num; static_assert(true, \"\");", ""},
        {"struct Rate { int r; };\nenum class Kind { a, b };\nclass Helper { void f() {} };\n"
         "template <> struct std::hash<Foo> { int operator()(Foo) const { return 0; } };",
         "struct Rate { int r; }; enum class Kind { a, b }; class Helper { void f() {} }; "
         "template <> struct std::hash<Foo> { int operator()(Foo) const { return 0; } };",
         ""},
        {"int Foo::count = 0;\nconst int Foo::k = 5;\nstatic int hidden = 1;", "",
         "int Foo::count = 0; const int Foo::k = 5; static int hidden = 1;"},
        {"int total = 0, *last = nullptr;\nstd::string name{\"x\"};\nFoo foo(3);",
         "extern int total, *last; extern std::string name; extern Foo foo;",
         "int total = 0, *last = nullptr; std::string name{\"x\"}; Foo foo(3);"},
        {"#include <x>\n#ifdef X\nint f() { return 1; }\n#endif\n", "#include <x> #ifdef X int f(); #endif",
         "#ifdef X int f() { return 1; } #endif"},
        // The end of a conditional opened before the class (reported).
        {"int f() { return 1; }\n#else\n#endif\n", "int f(); #else #endif", "int f() { return 1; }"},
        {"namespace detail {\ninline int a() { return 1; }\nint b() { return 2; }\n} // d\nnamespace {\nint c() { return 3; }\n}",
         "namespace detail { inline int a() { return 1; } int b(); } namespace { }",
         "namespace detail { int b() { return 2; } } namespace { int c() { return 3; } }"},
        {"extern \"C\" int cf(int x) { return x; }", "extern \"C\" int cf(int x);",
         "extern \"C\" int cf(int x) { return x; }"},
        {"auto f = [](int x) { return x; };", "", "auto f = [](int x) { return x; };"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.after);
        ComposedLine line;
        Layer& l1 = line.AddLayer("L1");
        FOPModule& foo = line.AddModule(l1, "Foo.h", std::string("class Foo { };\n") + c.after);
        ASSERT_TRUE(line.Parse("Foo"));
        testutil::Captured captured;
        TrailingCode* code = foo.GetTrailingCode();
        std::string printed = captured.Out();
        ASSERT_TRUE(code);
        std::string header, impl;
        for (TrailingCode::Piece const& piece : code->GetPieces()) {
            std::string text;
            for (Lex::Token* t = piece.m_pFirst; t; t = t == piece.m_pLast ? nullptr : t->next())
                if (!(t->flags & Lex::Token::comment_flag))
                    text += t->text->text;
            if (piece.m_Place & TrailingCode::PLACE_HEADER)
                header += text;
            else if (!piece.m_HeaderDecl.IsEmpty())
                header += std::string(" ") + piece.m_HeaderDecl.GetBuffer();
            if (piece.m_Place & TrailingCode::PLACE_IMPL)
                impl += text;
        }
        EXPECT_EQ(c.header, Squeezed(header));
        EXPECT_EQ(c.impl, Squeezed(impl));
        EXPECT_EQ(*c.impl != 0, foo.HasCppCode());
        bool deduced = Contains(c.after, "auto f");
        EXPECT_EQ(deduced, Contains(printed, "Foo.h(2) : error: a variable after the class whose type is deduced"))
            << printed;
    }
}

TEST(FOPModuleOutput, TextBeforeTheClass)
{
    struct Case {
        char const* content;
        char const* written;
    } const cases[] = {
        {"class Foo { };\n", ""},
        {"#include <x>\nclass Foo { };\n", "#include <x>\n"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.content);
        ComposedLine line;
        Layer& l1 = line.AddLayer("L1");
        FOPModule& foo = line.AddModule(l1, "Foo.h", c.content);
        ASSERT_TRUE(line.Parse("Foo"));
        std::string path = line.tmp.path("Foo.out");
        {
            OutFile file(path.c_str());
            foo.InitDeclFile(file);
            file.Close();
        }
        std::string text = testutil::ReadFile(path);
        EXPECT_EQ(0u, text.find("//Layer L1\n")) << text;
        if (*c.written)
            EXPECT_TRUE(Contains(text, c.written)) << text;
        else
            EXPECT_EQ("//Layer L1\n", text);
        EXPECT_FALSE(Contains(text, "class")) << text;
    }
}

TEST(FOPModuleOutput, OwnIncludeGuardIsDropped)
{
    struct Case {
        char const* content;
        bool dropped; // the guard's lines are gone; otherwise the text stays
    } const cases[] = {
        {"#ifndef FOO_H\n#define FOO_H\nclass Foo { };\n#endif\n", true},
        {"// Foo\n/* c */\n#ifndef FOO_H // g\n#define FOO_H 1\n\nclass Foo { };\n#endif // FOO_H\n\n", true},
        {"#if !defined(FOO_H)\n#define FOO_H\nclass Foo { };\n#endif /* FOO_H */", true},
        {"#if !defined FOO_H\n#define FOO_H\n#ifdef X\n#endif\nclass Foo { };\n#endif\n", true},
        // Not a guard of the whole module.
        {"#ifndef FOO_H\n#define BAR_H\nclass Foo { };\n#endif\n", false},
        {"#ifndef FOO_H\n#define FOO_H\n#endif\nclass Foo { };\n", false},
        {"#ifndef FOO_H\n#define FOO_H\nclass Foo { };\n#endif\nint f();\n", false},
        {"#ifndef FOO_H\n#define FOO_H\nclass Foo { };\n#else\nclass Foo;\n#endif\n", false},
        {"#ifdef FOO_H\n#define FOO_H\nclass Foo { };\n#endif\n", false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.content);
        ComposedLine line;
        Layer& l1 = line.AddLayer("L1");
        FOPModule& foo = line.AddModule(l1, "Foo.h", c.content);
        ASSERT_TRUE(line.Parse("Foo"));
        std::string text;
        for (Lex::Token* t = foo.GetFirstToken(); t; t = t->next())
            text += t->text->text;
        EXPECT_EQ(c.dropped, !Contains(text, "FOO_H")) << text;
        EXPECT_EQ(Count(c.content, "#endif") - (c.dropped ? 1 : 0), Count(text, "#endif")) << text;
        EXPECT_TRUE(Contains(text, "class Foo { };")) << text;
        if (c.dropped) {
            EXPECT_FALSE(foo.HasCppCode());
        }
    }
}
