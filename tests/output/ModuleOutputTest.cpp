#include "output/ModuleOutput.h"

#include "../Captured.h"
#include "../compose/ComposedLine.h"

#include "compose/FOPModule.h"
#include "output/CodeWriter.h"
#include "output/OutFile.h"
#include "output/TrailingCode.h"
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

} // namespace

TEST(ModuleOutputUsedClasses, SortsUsesIntoThreeSets)
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
    ModuleOutput::Of(a).GetUsedClasses(other, forward, include);
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


TEST(ModuleOutputWriting, CodeWriterByKind)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    FOPModule& bar = line.AddModule(l1, "Bar.ah", "class Bar { };\n");
    FOPModule& baz = line.AddModule(l1, "Baz.jak", "class Baz { }\n");
    std::unique_ptr<CodeWriter> javaWriter(ModuleOutput::Of(baz).CreateCodeWriter());
    std::unique_ptr<CodeWriter> cppWriter(ModuleOutput::Of(bar).CreateCodeWriter());
    EXPECT_TRUE(dynamic_cast<JavaCodeWriter*>(javaWriter.get()));
    EXPECT_TRUE(dynamic_cast<CppCodeWriter*>(cppWriter.get()));
}

TEST(ModuleOutputWriting, CodeAfterTheClass)
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
        TrailingCode* code = ModuleOutput::Of(foo).GetTrailingCode();
        std::string printed = captured.All();
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
        EXPECT_EQ(*c.impl != 0, ModuleOutput::Of(foo).HasCppCode());
        bool deduced = Contains(c.after, "auto f");
        EXPECT_EQ(deduced, Contains(printed, "Foo.h(2) : error: a variable after the class whose type is deduced"))
            << printed;
    }
}


TEST(ModuleOutputWriting, TextBeforeTheClass)
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
            ModuleOutput::Of(foo).InitDeclFile(file);
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
