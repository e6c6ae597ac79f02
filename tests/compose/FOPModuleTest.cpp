#include "compose/FOPModule.h"

#include "../Captured.h"
#include "ComposedLine.h"

#include "output/ModuleOutput.h"
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
    std::string out = captured.All();
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
        std::string out = captured.All();
        EXPECT_STREQ(c.className, module.GetClassName());
        if (*c.message)
            EXPECT_TRUE(Contains(out, c.message)) << out;
        else
            EXPECT_EQ("", out);
        if (!c.valid) {
            EXPECT_FALSE(ModuleOutput::Of(module).Transform());
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
    std::string out = captured.All();
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
    EXPECT_FALSE(ModuleOutput::Of(top).Transform());
    std::string out = captured.All();
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

    // The main output of a pure jampack class lies in the class's folder.
    line.Class("Foo")->PrepareParse();
    EXPECT_EQ(line.tmp.path("out/Foo.H"), std::string(foo.GetDeclFilePath().GetBuffer()));
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
            EXPECT_FALSE(ModuleOutput::Of(foo).HasCppCode());
        }
    }
}
