#include "compose/EquationFile.h"
#include "base/ErrorLog.h"
#include "compose/LayerConfig.h"

#include "../Captured.h"
#include "../base/CurrentFolder.h"
#include "../scanner/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

struct Loaded {
    bool ok;
    std::string out;
};

Loaded LoadCapturing(EquationFile& equation, std::string const& path)
{
    testutil::Captured captured;
    bool ok = equation.LoadFile(Str(path.c_str()));
    return Loaded{ok, captured.All()};
}

// "name[prefix]{S|D|L}" per configuration: S static, D load-dynamic,
// L link-dynamic.
std::string Describe(EquationFile const& equation)
{
    std::string text;
    for (int i = 0; i < equation.m_LayerConfigs.GetCount(); ++i) {
        LayerConfig const& c = *equation.m_LayerConfigs[i];
        if (i)
            text += " ";
        text += c.m_LayerName.GetBuffer();
        if (!c.m_ImportPrefix.IsEmpty())
            text += std::string("[") + c.m_ImportPrefix.GetBuffer() + "]";
        if (c.m_bStatic)
            text += "S";
        if (c.m_bLinkDynamic)
            text += "L";
        else if (c.m_bLoadDynamic)
            text += "D";
    }
    return text;
}

} // namespace

TEST(EquationFile, LinesCommentsAndTheScopeOfComposeStatic)
{
    testutil::TempFolder dir;
    dir.folder("p");
    dir.file("p/main.equation",
             "# comment\n"
             "; comment\n"
             "// comment\n"
             "\n"
             "  A   \r\n"
             "import sub\n"
             "compose static\n"
             "B\n"
             "C dynamicload\n"
             "D dynamiclink\n"
             "importX\n"
             "composed\n");
    dir.file("p/sub.equation", "X\ncompose static\nY\n");
    EquationFile equation(true);
    Loaded r = LoadCapturing(equation, dir.path("p/main"));
    ASSERT_TRUE(r.ok) << r.out;
    EXPECT_EQ("A sub.X[sub.] sub.Y[sub.]S BS CD DL importXS composedS", Describe(equation));
    EXPECT_STREQ("main", equation.GetName());
    EXPECT_STREQ(dir.path("p").c_str(), equation.GetDir());
    EXPECT_TRUE(equation.m_bHasDynamicLayer);
    EXPECT_EQ("", r.out);
    // The imported file's static marker does not reach the importer.
    EquationFile second(true);
    dir.file("p/two.equation", "import sub\nZ\n");
    ASSERT_TRUE(LoadCapturing(second, dir.path("p/two.equation")).ok);
    EXPECT_EQ("sub.X[sub.] sub.Y[sub.]S Z", Describe(second));
}

// Mistaken lines are errors at their own file and line, imported files'
// too; the load goes on, so that every mistake is told at once.
TEST(EquationFile, MistakenLinesAreErrorsAtTheirFileAndLine)
{
    testutil::TempFolder dir;
    dir.file("main.equation", "# comment\n\nA\nimport sub\nB dynamicLoad\nimport\ncompose statc\n../up\nC\n");
    dir.file("sub.equation", "\nX BindingUnit\n");
    EquationFile equation(true);
    Loaded r = LoadCapturing(equation, dir.path("main"));
    EXPECT_TRUE(r.ok) << r.out;
    std::string const main = dir.path("main.equation");
    EXPECT_EQ(dir.path("sub.equation") + "(2) : error: 'BindingUnit' for layer X is taken as the name of a run-time "
                  "feature switch, not as the keyword 'bindingunit' (keywords are lower case): did you mean "
                  "`bindingunit`?\n" +
                  main + "(5) : error: 'dynamicLoad' for layer B is taken as the name of a run-time feature switch, "
                         "not as the keyword 'dynamicload' (keywords are lower case): did you mean `dynamicload`?\n" +
                  main + "(6) : error: 'import' names no equation file: write 'import <file> [as <prefix>]'\n" +
                  main + "(7) : error: 'compose statc' is no layer line: did you mean `compose static`?\n" +
                  main + "(8) : error: '../up' is no layer name: a layer is a folder path below the source folder\n",
              r.out);
    EXPECT_EQ("A sub.X[sub.] B C", Describe(equation));
    EXPECT_STREQ(main.c_str(), equation.m_LayerConfigs[2]->m_File);
    EXPECT_EQ(5, equation.m_LayerConfigs[2]->m_Line);
    EXPECT_STREQ(dir.path("sub.equation").c_str(), equation.m_LayerConfigs[1]->m_File);
    EXPECT_EQ(2, equation.m_LayerConfigs[1]->m_Line);
    ErrorLog::Reset();
}

TEST(EquationFile, ASwitchNeedsAConfigurationLayer)
{
    struct Case {
        char const* lines;
        int line; // of the switch reported; 0 for none
    } const cases[] = {
        {"A\nB Undo\nC Log\n", 2},
        {"A\nB\n", 0},
        {"libDynConditionalConfig\nB Undo\n", 0},
        {"B Undo\nlib/DynConditionalConfig\n", 0},
        {"B Undo\nDynConditionalConfigs\n", 1},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.lines);
        testutil::TempFolder dir;
        dir.file("main.equation", c.lines);
        EquationFile equation(true);
        ASSERT_TRUE(LoadCapturing(equation, dir.path("main")).ok);
        LayerConfig* found = equation.FindSwitchWithoutConfiguration();
        EXPECT_EQ(c.line, found ? found->m_Line : 0);
    }
}

TEST(EquationFile, ImportPrefixes)
{
    struct Case {
        char const* importText;
        char const* expected;
    } const cases[] = {
        {"sub", "sub.X[sub.]"},
        {"sub as lib", "lib.X[lib.]"},
        {"sub as .", "X"},
        {"sub as", "sub.X[sub.]"},
        {"sub xyz", "sub.X[sub.]"},
        {"sub\tas\tlib extra", "lib.X[lib.]"},
        {"sub.equation as lib", "lib.X[lib.]"},
        {"sub.equation", "sub.X[sub.]"},
        {"dir/sub as d", "d.Y[d.]"},
        {"dir/sub", "dir/sub.Y[dir/sub.]"},
    };
    testutil::TempFolder dir;
    dir.folder("p");
    dir.folder("p/dir");
    dir.file("p/sub.equation", "X\n");
    dir.file("p/dir/sub.equation", "Y\n");
    for (Case const& c : cases) {
        SCOPED_TRACE(c.importText);
        dir.file("p/main.equation", std::string("import ") + c.importText + "\n");
        EquationFile equation(true);
        Loaded r = LoadCapturing(equation, dir.path("p/main"));
        ASSERT_TRUE(r.ok) << r.out;
        EXPECT_EQ(c.expected, Describe(equation));
        ASSERT_EQ(1, equation.m_LayerConfigs.GetCount());
        EXPECT_STREQ(c.importText[0] == 'd' ? "Y" : "X", equation.m_LayerConfigs[0]->m_PlainName);
    }
}

TEST(EquationFile, NestedImportsKeepBothPrefixesInTheName)
{
    testutil::TempFolder dir;
    dir.folder("q");
    dir.file("main.equation", "import q/a as x\n");
    dir.file("q/a.equation", "import b as y\nW dynamicload\n");
    dir.file("q/b.equation", "Z\n");
    EquationFile equation(true);
    Loaded r = LoadCapturing(equation, dir.path("main.equation"));
    ASSERT_TRUE(r.ok) << r.out;
    EXPECT_EQ("x.y.Z[x.] x.W[x.]D", Describe(equation));
    EXPECT_STREQ("W", equation.m_LayerConfigs[1]->GetBindingUnitName());
}

TEST(EquationFile, AnEquationWithoutFolderImportsFromTheCurrentFolder)
{
    testutil::TempFolder dir;
    dir.file("main.equation", "import sub as .\n");
    dir.file("sub.equation", "X\n");
    testutil::CurrentFolder here(dir.path());
    EquationFile equation(true);
    ASSERT_TRUE(LoadCapturing(equation, "main").ok);
    EXPECT_EQ("X", Describe(equation));
    EXPECT_STREQ(dir.path().c_str(), equation.GetDir());
}

TEST(EquationFile, OnlyTheFileNameDecidesAboutTheEnding)
{
    testutil::TempFolder dir;
    dir.folder("equations");
    dir.file("equations/prod.equation", "A\n");
    EquationFile equation(true);
    Loaded r = LoadCapturing(equation, dir.path("equations/prod"));
    ASSERT_TRUE(r.ok) << r.out;
    EXPECT_STREQ("prod", equation.GetName());
    EXPECT_EQ("A", Describe(equation));
}

TEST(EquationFile, FailedLoadsAreReported)
{
    testutil::TempFolder dir;
    {
        EquationFile equation(true);
        Loaded r = LoadCapturing(equation, dir.path("none"));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ("mosa++ : error: failed to load equation file '" + dir.path("none") + "'\n", r.out);
    }
    {
        dir.file("main.equation", "A\nimport missing\nB\n");
        EquationFile equation(true);
        Loaded r = LoadCapturing(equation, dir.path("main.equation"));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(dir.path("main.equation") + "(2) : error: failed to load equation file '" + dir.path("missing") +
                      "'\n",
                  r.out);
        EXPECT_EQ("A", Describe(equation)); // what came before the import stays
    }
}

// The file is read by its bytes: a NUL byte refuses its own line only, and a
// UTF-16 file is told as such once.
TEST(EquationFile, ReadAsBytes)
{
    std::string const nulLine = "(%) : error: the line holds a NUL byte and is not read; save the file as UTF-8 or "
                                "ASCII text\n";
    std::string const little = " : error: the file is UTF-16 (little-endian) text; save it as UTF-8 or ASCII\n";
    std::string const big = " : error: the file is UTF-16 (big-endian) text; save it as UTF-8 or ASCII\n";
    struct Case {
        char const* name;
        std::string bytes;
        bool ok;
        char const* layers;
        // Console lines, each after the file's path; "%" stands for the
        // line number that follows in lines.
        std::vector<std::string> messages;
        std::vector<int> lines;
    };
    using namespace std::string_literals;
    Case const cases[] = {
        {"NUL in a layer line", "A\nB\0x\nC\n"s, true, "A C", {nulLine}, {2}},
        {"NUL in a comment line", "# note\0\nA\nB"s, true, "A B", {nulLine}, {1}},
        {"NUL in the last line", "A\nB\nC\0"s, true, "A B", {nulLine}, {3}},
        {"a line of NULs only", "A\n\0\0\0\nB\n"s, true, "A B", {nulLine}, {2}},
        {"stray NULs are no UTF-16", "layer\0one\nB\nC\0\n"s, true, "B", {nulLine, nulLine}, {1, 3}},
        {"NUL after a UTF-8 mark", "\xEF\xBB\xBF\0A\nB\n"s, true, "B", {nulLine}, {1}},
        {"UTF-8 mark", "\xEF\xBB\xBF" "A\r\nB\r\n"s, true, "A B", {}, {}},
        {"UTF-16 LE with mark", "\xFF\xFE" "A\0\n\0B\0\n\0"s, false, "", {little}, {}},
        {"UTF-16 LE without mark", "A\0\n\0B\0\n\0"s, false, "", {little}, {}},
        {"UTF-16 LE with mark, one character", "\xFF\xFE" "A\0"s, false, "", {little}, {}},
        {"UTF-16 BE with mark", "\xFE\xFF\0A\0\n\0B\0\n"s, false, "", {big}, {}},
        {"UTF-16 BE without mark", "\0A\0\n\0B\0\n"s, false, "", {big}, {}},
        {"UTF-16 LE with a non-ASCII character", "\xE4\x4E\n\0A\0\n\0B\0\n\0"s, false, "", {little}, {}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        testutil::TempFolder dir;
        std::string path = dir.path("main.equation");
        std::ofstream(path, std::ios::binary) << c.bytes;
        EquationFile equation(true);
        ErrorLog::Reset();
        Loaded r = LoadCapturing(equation, path);
        EXPECT_EQ(c.ok, r.ok);
        EXPECT_EQ(c.layers, Describe(equation));
        std::string expected;
        for (size_t i = 0; i < c.messages.size(); ++i) {
            std::string line = path + c.messages[i];
            if (i < c.lines.size())
                line.replace(line.find('%'), 1, std::to_string(c.lines[i]));
            expected += line;
        }
        EXPECT_EQ(expected, r.out);
        EXPECT_EQ(!c.messages.empty(), ErrorLog::HasErrors());
    }
    ErrorLog::Reset();
}

// An imported file is read the same way: its NUL line is told with its own
// path, and the importing file goes on.
TEST(EquationFile, ANulInAnImportedFileNamesThatFile)
{
    testutil::TempFolder dir;
    dir.file("main.equation", "A\nimport sub\nC\n");
    std::ofstream(dir.path("sub.equation"), std::ios::binary) << std::string("X\n\0Y\nZ\n", 7);
    EquationFile equation(true);
    Loaded r = LoadCapturing(equation, dir.path("main"));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ("A sub.X[sub.] sub.Z[sub.] C", Describe(equation));
    EXPECT_EQ(dir.path("sub.equation") +
                  "(2) : error: the line holds a NUL byte and is not read; save the file as UTF-8 or ASCII text\n",
              r.out);
    ErrorLog::Reset();
}

TEST(EquationFile, ImportCyclesAreRefused)
{
    testutil::TempFolder dir;
    dir.file("self.equation", "A\nimport self\n");
    dir.file("a.equation", "import b\nA\n");
    dir.file("b.equation", "B\nimport c\n");
    dir.file("c.equation", "import a\n");
    dir.link("alias.equation", dir.path("self.equation"));
    dir.file("twice.equation", "import a2\nimport a2\n"); // twice is no cycle
    dir.file("a2.equation", "X\n");
    for (char const* file : {"self", "a", "alias"}) {
        SCOPED_TRACE(file);
        EquationFile equation(true);
        Loaded r = LoadCapturing(equation, dir.path(file));
        EXPECT_FALSE(r.ok);
        EXPECT_NE(std::string::npos, r.out.find("error: recursive import of equation file '")) << r.out;
        EXPECT_EQ(0u, r.out.find(dir.path("")) ) << "names the importing file: " << r.out;
    }
    EquationFile equation(true);
    Loaded r = LoadCapturing(equation, dir.path("twice"));
    EXPECT_TRUE(r.ok) << r.out;
    EXPECT_EQ("a2.X[a2.] a2.X[a2.]", Describe(equation));
}

TEST(EquationFile, MetaFlagsOnlyForTheExactName)
{
    struct Case {
        char const* lines;
        bool metaInfo;
        bool runtimeAdapt;
    } const cases[] = {
        {"MetaLevelProgram/MOP/Info\n", true, false},
        {"MetaLevelProgram.MOP.RuntimeAdapt\n", false, true},
        {"import meta\n", false, false},
        {"import meta as .\n", true, false},
        {"MetaLevelProgram.MOP.Infos\n", false, false},
    };
    testutil::TempFolder dir;
    dir.file("meta.equation", "MetaLevelProgram/MOP/Info\n");
    for (Case const& c : cases) {
        SCOPED_TRACE(c.lines);
        dir.file("main.equation", c.lines);
        EquationFile equation(true);
        ASSERT_TRUE(LoadCapturing(equation, dir.path("main")).ok);
        EXPECT_EQ(c.metaInfo, equation.m_bMetaInfo);
        EXPECT_EQ(c.runtimeAdapt, equation.m_bRuntimeAdapt);
        EXPECT_FALSE(equation.m_bHasDynamicLayer);
    }
}

TEST(EquationFile, ListOperations)
{
    EquationFile equation(true);
    LayerConfig* a = new LayerConfig(Str("A"));
    LayerConfig* b = new LayerConfig(Str("B feat"));
    equation.AddLayer(*a);
    equation.AddLayer(*b);
    LayerConfig stranger(Str("S dynamicload"));
    LayerConfig* d = new LayerConfig(Str("D dynamicload"));
    equation.InsertLayer(*d, stranger); // not listed: nothing happens
    EXPECT_EQ(2, equation.m_LayerConfigs.GetCount());
    EXPECT_FALSE(equation.m_bHasDynamicLayer);
    equation.InsertLayer(*d, *a);
    EXPECT_EQ("A DD B", Describe(equation));
    EXPECT_TRUE(equation.m_bHasDynamicLayer);
    d->m_bDerivative = true;
    LayerConfig* e = new LayerConfig(Str("E"));
    e->m_bDerivative = true;
    equation.InsertLayer(*e, 0);
    EXPECT_TRUE(equation.HasLayer("D"));
    EXPECT_FALSE(equation.HasLayer("d"));
    EXPECT_EQ(-1, equation.CompareLayers("A", "B"));
    EXPECT_EQ(1, equation.CompareLayers("B", "A"));
    EXPECT_EQ(-1, equation.CompareLayers("A", "none"));
    EXPECT_EQ(0, equation.CompareLayers("x", "y"));
    EXPECT_EQ(0, equation.CompareLayers("B", "B"));
    StringArray names;
    equation.GetDynJampackLayers(names);
    ASSERT_EQ(1, names.GetCount());
    EXPECT_STREQ("feat", names[0]);
    equation.DeleteDerivatives();
    EXPECT_EQ("A B", Describe(equation));
    EXPECT_TRUE(equation.m_bHasDynamicLayer); // flags are never cleared
}
