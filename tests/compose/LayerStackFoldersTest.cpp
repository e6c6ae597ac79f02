#include "compose/LayerStack.h"

#include "base/Config.h"
#include "base/ErrorLog.h"
#include "compose/EquationFile.h"
#include "compose/Layer.h"
#include "compose/LayerConfig.h"
#include "compose/TransformedModule.h"

#include "../Captured.h"
#include "CommandLine.h"

#include "../base/CurrentFolder.h"
#include "../scanner/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using testutil::SetCommandLine;

struct Outcome {
    bool ok;
    std::string out;
};

Outcome Load(LayerStack& stack, std::string const& equation)
{
    testutil::Captured captured;
    bool ok = stack.LoadEquation(equation.c_str());
    std::string out = captured.All();
    ErrorLog::CloseLogFile(); // the log must not outlive the test's folder
    return Outcome{ok, out};
}

// The folder of the running program, links resolved.
std::string Tool()
{
    char* real = ::realpath("/proc/self/exe", nullptr);
    std::string path = real ? real : "";
    std::free(real);
    return path.substr(0, path.rfind('/'));
}

std::string Names(LayerStack& stack)
{
    std::string text;
    for (int i = 0; i < stack.GetCount(); ++i) {
        if (i)
            text += " ";
        text += stack[i]->m_LayerName.GetBuffer();
    }
    return text;
}

// Every layer's m_pLayerBelow is the layer below it in the array.
void ExpectLinks(LayerStack& stack)
{
    for (int i = 0; i < stack.GetCount(); ++i)
        EXPECT_EQ(i ? stack[i - 1] : nullptr, stack[i]->m_pLayerBelow) << stack[i]->m_LayerName.GetBuffer();
}

class LayerStackFolders : public testing::Test {
protected:
    void SetUp() override
    {
        dir.folder("src");
        dir.folder("src/A");
        dir.folder("src/B");
        dir.folder("src/gui");
        dir.folder("src/gui/base");
        dir.folder("src/libDynConditionalConfig");
        dir.file("src/prod.equation", "A\nB dynamicload\ngui/base bindingunit U feat\nlibDynConditionalConfig\n");
    }
    void TearDown() override { SetCommandLine({"x"}); }

    testutil::TempFolder dir;
};

} // namespace

TEST_F(LayerStackFolders, DefaultFoldersAndLayers)
{
    SetCommandLine({dir.path("src/prod")});
    LayerStack stack;
    Outcome r = Load(stack, dir.path("src/prod"));
    ASSERT_TRUE(r.ok) << r.out;
    EXPECT_EQ("", r.out);
    EXPECT_STREQ(dir.path("src").c_str(), stack.m_SourceDir);
    EXPECT_STREQ(dir.path("src/.output.prod").c_str(), stack.m_OutDir);
    EXPECT_STREQ("prod", stack.m_ProductLineName);
    EXPECT_FALSE(testutil::CurrentFolder::Get().empty());
    struct stat record;
    EXPECT_NE(0, ::stat(stack.m_OutDir, &record)); // not created here, so no log either

    EXPECT_EQ("A B gui.base libDynConditionalConfig", Names(stack));
    ExpectLinks(stack);
    EXPECT_TRUE(stack.m_bHasDynamicLayer);
    EXPECT_STREQ(dir.path("src/gui/base").c_str(), stack[2]->m_Dir);
    EXPECT_STREQ("base", stack[0]->GetBindingName());
    EXPECT_STREQ("B", stack[1]->GetBindingName());
    EXPECT_STREQ("U", stack[2]->GetBindingName());
    EXPECT_STREQ("feat", stack[2]->m_IfConfigName);
    EXPECT_EQ(stack[2], stack.FindLayer("gui.base"));
    EXPECT_EQ(nullptr, stack.FindLayer("gui/base"));
}

TEST_F(LayerStackFolders, OutputFolderForms)
{
    dir.folder("w");
    dir.folder("w/sub");
    testutil::CurrentFolder here(dir.path("w/sub"));
    struct Case {
        char const* option;
        std::string expected;
    } const cases[] = {
        {"-o=./out", dir.path("w/sub/out")},
        {"-o=../out", dir.path("w/out")},
        {"-o=out", dir.path("w/sub/out")},
        {"-o=a\\b", dir.path("w/sub/a/b")},
        {"-o=x/y/z", dir.path("w/sub/x/y/z")},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.option);
        SetCommandLine({c.option, dir.path("src/prod")});
        LayerStack stack;
        Outcome r = Load(stack, dir.path("src/prod"));
        ASSERT_TRUE(r.ok) << r.out;
        EXPECT_EQ(c.expected, stack.m_OutDir.GetBuffer());
        EXPECT_TRUE(testutil::ReadFile(c.expected + "/mosac.log.xml").find("<log>") == 0);
    }
}

TEST_F(LayerStackFolders, SourceFolderOption)
{
    dir.folder("eq");
    dir.file("eq/prod.equation", "A\n");
    SetCommandLine({"-s=" + dir.path("src"), dir.path("eq/prod")});
    LayerStack stack;
    Outcome r = Load(stack, dir.path("eq/prod"));
    ASSERT_TRUE(r.ok) << r.out;
    EXPECT_STREQ(dir.path("src").c_str(), stack.m_SourceDir);
    EXPECT_STREQ(dir.path("src/A").c_str(), stack[0]->m_Dir);
    EXPECT_STREQ(dir.path("src/.output.prod").c_str(), stack.m_OutDir);
}

TEST_F(LayerStackFolders, UnusableFoldersFailTheLoad)
{
    dir.file("plain", "a file where a folder should be");
    dir.folder("above");
    dir.folder("lib");
    dir.file("lib/lib.equation", "");
    dir.file("src/prod.equation", "A\nimport ../lib/lib.equation\n");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } const cases[] = {
        {{"-s=" + dir.path("nowhere")}, "error: source folder '" + dir.path("nowhere") + "' not found"},
        {{"-s=" + dir.path("plain")}, "error: source folder '" + dir.path("plain") + "' not found"},
        {{"-o=" + dir.path("plain")}, "error: cannot create output folder '" + dir.path("plain") + "'"},
        {{"-o=" + dir.path("plain/sub")}, "error: cannot create output folder '" + dir.path("plain/sub") + "'"},
        {{"-o=" + dir.path("src")}, "error: output folder '" + dir.path("src") + "' contains sources"},
        {{"-o=" + dir.path("src/A")}, "error: output folder '" + dir.path("src/A") + "' contains sources"},
        {{"-o=" + dir.path("")}, "error: output folder '" + dir.path() + "' contains sources"},
        {{"-o=/"}, "error: output folder '/' is the file-system root; refusing to use it"},
        {{"-s=" + dir.path("above"), "-o=" + dir.path("src")},
         "contains the equation file '" + dir.path("src/prod.equation") + "'"},
        {{"-o=" + dir.path("lib")}, "contains the equation file '" + dir.path("lib/lib.equation") + "'"}, // imported
        {{"-o=" + Tool() + "/sub/out"}, "lies in the folder of mosa++ '" + Tool() + "'"},
        {{"-o=" + Tool() + "/.."}, "contains the folder of mosa++ '" + Tool() + "'"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> args = c.args;
        args.push_back(dir.path("src/prod"));
        SetCommandLine(args);
        LayerStack stack;
        Outcome r = Load(stack, dir.path("src/prod"));
        EXPECT_FALSE(r.ok);
        EXPECT_NE(std::string::npos, r.out.find(c.message)) << r.out;
        EXPECT_EQ("", testutil::ReadFile(dir.path("src/mosac.log.xml")));
        struct stat record;
        EXPECT_NE(0, ::stat((Tool() + "/sub").c_str(), &record)) << "a refused folder is not made";
    }
}

TEST_F(LayerStackFolders, TheHomeFolderAndTheFoldersAboveItAreNoOutputFolders)
{
    char const* old = getenv("HOME");
    std::string saved = old ? old : "";
    dir.folder("w");
    dir.folder("w/sub");
    struct Case {
        std::string home;
        std::string message;
    } const cases[] = {
        {dir.path("w"), "output folder '" + dir.path("w") + "' is the home folder"},
        {dir.path("w/sub"), "output folder '" + dir.path("w") + "' contains the home folder '" + dir.path("w/sub") + "'"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.home);
        setenv("HOME", c.home.c_str(), 1);
        SetCommandLine({"-o=" + dir.path("w"), dir.path("src/prod")});
        LayerStack stack;
        Outcome r = Load(stack, dir.path("src/prod"));
        EXPECT_FALSE(r.ok);
        EXPECT_NE(std::string::npos, r.out.find(c.message)) << r.out;
    }
    if (old)
        setenv("HOME", saved.c_str(), 1);
    else
        unsetenv("HOME");
}

TEST_F(LayerStackFolders, ADerivedLayerInsideTheOutputFolderIsRefused)
{
    dir.folder("out");
    dir.folder("out/F");
    dir.link("src/B/A", dir.path("out/F"));
    dir.file("src/prod.equation", "A\nB\n");
    SetCommandLine({"-o=" + dir.path("out"), dir.path("src/prod")});
    LayerStack stack;
    Outcome r = Load(stack, dir.path("src/prod"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ("A B A/B", Names(stack));
    EXPECT_NE(std::string::npos, r.out.find("error: output folder '" + dir.path("out") + "' contains sources")) << r.out;
}

TEST_F(LayerStackFolders, DerivedLayerFromALink)
{
    dir.folder("F");
    dir.link("src/B/A", dir.path("F"));
    dir.link("src/A/B", dir.path("F")); // the partner's link makes no second layer
    dir.file("src/prod.equation", "A\nB dynamicload\nC\n");
    dir.folder("src/C");
    SetCommandLine({dir.path("src/prod")});
    LayerStack stack;
    Outcome r = Load(stack, dir.path("src/prod"));
    ASSERT_TRUE(r.ok) << r.out;
    EXPECT_EQ("A B A/B C", Names(stack));
    ExpectLinks(stack);
    Layer& derived = *stack[2];
    EXPECT_TRUE(derived.m_bDerived);
    EXPECT_STREQ("A/B", derived.m_PlainName);
    EXPECT_STREQ(dir.path("F").c_str(), derived.m_Dir);
    EXPECT_EQ(2, derived.m_BaseLayers.GetCount());
    ASSERT_EQ(4, stack.m_pEquation->m_LayerConfigs.GetCount());
    LayerConfig& config = *stack.m_pEquation->m_LayerConfigs[2];
    EXPECT_TRUE(config.m_bDerivative);
    EXPECT_TRUE(config.m_bLoadDynamic);
    EXPECT_STREQ("B", config.GetBindingUnitName());
    EXPECT_EQ(&derived, stack.FindLayer("A/B"));
    EXPECT_EQ(-1, stack.CompareLayerNames("A/B", "A/C"));
}

TEST(LayerStack, DerivedLayerPlacement)
{
    testutil::Captured captured; // folders that do not exist are reported
    LayerStack stack;
    LayerConfig a(Str("A")), b(Str("B")), c(Str("C")), d(Str("D")), ac(Str("AC")), ab(Str("AB")), abc(Str("ABC"));
    Layer* la = stack.NewLayer(a, "/none/A", nullptr);
    Layer* lb = stack.NewLayer(b, "/none/B", nullptr);
    Layer* lc = stack.NewLayer(c, "/none/C", nullptr);
    Layer* ld = stack.NewLayer(d, "/none/D", nullptr);
    Set<Layer*, Layer*> setAC, setAB, setABC, setNone;
    setAC.Add(la);
    setAC.Add(lc);
    setAB.Add(la);
    setAB.Add(lb);
    setABC.Add(la);
    setABC.Add(lb);
    setABC.Add(lc);
    stack.NewLayer(ac, "/none/AC", &setAC);
    EXPECT_EQ("A B C AC D", Names(stack));
    stack.NewLayer(ab, "/none/AB", &setAB);
    EXPECT_EQ("A B AB C AC D", Names(stack));
    stack.NewLayer(abc, "/none/ABC", &setABC);
    EXPECT_EQ("A B AB C AC ABC D", Names(stack));
    ExpectLinks(stack);
    EXPECT_EQ(lc, stack.FindLayer("C"));
    EXPECT_EQ(ld, stack[6]);

    // Parents that are not in the stack: appended at the top.
    LayerStack other;
    LayerConfig x(Str("X")), xy(Str("XY"));
    other.NewLayer(x, "/none/X", nullptr);
    stack.FindLayer("A"); // unrelated stack
    Set<Layer*, Layer*> foreign;
    foreign.Add(la);
    foreign.Add(lb);
    other.NewLayer(xy, "/none/XY", &foreign);
    EXPECT_EQ("X XY", Names(other));
    ExpectLinks(other);
}

TEST(LayerStack, FindLayerByFullAndPlainName)
{
    testutil::Captured captured;
    LayerStack stack;
    LayerConfig imported(Str("A")), own(Str("B")), plainA(Str("A"));
    imported.m_LayerName = "lib.A";
    imported.m_ImportPrefix = "lib.";
    Layer* low = stack.NewLayer(imported, "/none/lib/A", nullptr);
    Layer* mid = stack.NewLayer(own, "/none/B", nullptr);
    Layer* high = stack.NewLayer(plainA, "/none/A", nullptr);
    EXPECT_EQ(low, stack.FindLayer("A")); // the lowest match wins
    EXPECT_EQ(low, stack.FindLayer("lib.A"));
    EXPECT_EQ(mid, stack.FindLayer("B"));
    EXPECT_EQ(nullptr, stack.FindLayer("a"));
    EXPECT_EQ(nullptr, stack.FindLayer("lib"));
    EXPECT_NE(high, nullptr);
}

TEST(LayerStack, DependingClassesDirectAndThroughACycle)
{
    LayerStack stack;
    TransformedModule x(stack), y(stack), z(stack);
    stack.m_ComposedClasses["X"] = &x;
    stack.m_ComposedClasses["Y"] = &y;
    stack.m_ComposedClasses["Z"] = &z;
    y.GetDeclDependencyNames().Add("X");
    z.GetImplDependencyNames().Add("Y");
    x.GetDeclDependencyNames().Add("Z");

    Set<TransformedModule*, TransformedModule*> direct;
    stack.GetDependingFiles("X", direct, false);
    EXPECT_EQ(1, direct.GetCount());
    EXPECT_TRUE(direct.Contains(&y));

    Set<TransformedModule*, TransformedModule*> all;
    stack.GetDependingFiles("X", all, true);
    EXPECT_EQ(3, all.GetCount());
}

// The configuration of a derived layer from its parents, in equation
// order: its name, mode and combined binding unit, with the messages.
TEST(LayerStack, DerivedConfigurationFromItsParents)
{
    struct Case {
        std::vector<char const*> lines; // "static " in front marks a static layer
        char const* mode;               // "static", "load", "link" or "plain"
        char const* unit;
        char const* messages;
    } const cases[] = {
        {{"A", "B dynamicload"}, "load", "B", ""},
        {{"B dynamicload", "A"}, "load", "B.base", "mosa++ : warning: creating new binding unit: B.base\n"},
        {{"A dynamicload", "B dynamiclink bindingunit U"}, "link", "A.U",
         "mosa++ : warning: creating new binding unit: A.U\n"},
        {{"B dynamicload bindingunit U", "A dynamicload bindingunit U"}, "load", "U", ""},
        {{"static S", "P"}, "static", "base",
         "mosa++ : error: cannot compose derivatives of static and non-static modules: P\n"},
        {{"P", "static S"}, "static", "base", ""},
        {{"static S", "MetaX"}, "static", "base", ""},
        {{"MetaX", "P"}, "static", "base",
         "mosa++ : error: cannot compose derivatives of static and non-static modules: P\n"},
        {{"A", "B"}, "plain", "base", ""},
    };
    for (Case const& c : cases) {
        std::string trace;
        for (char const* line : c.lines)
            trace += std::string(line) + "; ";
        SCOPED_TRACE(trace);
        ErrorLog::Reset(); // each case is a run of its own
        LayerStack stack;
        StringSet parents;
        std::string name, plain;
        for (char const* line : c.lines) {
            std::string text = line;
            bool isStatic = text.compare(0, 7, "static ") == 0;
            auto* config = new LayerConfig(Str(text.substr(isStatic ? 7 : 0).c_str()));
            config->m_bStatic = isStatic;
            stack.m_pEquation->AddLayer(*config);
            parents.Add(config->m_LayerName);
            name += (name.empty() ? "" : "/") + std::string(config->m_LayerName.GetBuffer());
        }
        stack.m_pEquation->AddLayer(*new LayerConfig(Str("Top")));
        testutil::Captured captured;
        LayerConfig* derived = stack.CreateDerivateConfig(parents);
        EXPECT_EQ(c.messages, captured.All());
        ASSERT_NE(nullptr, derived);
        EXPECT_STREQ(name.c_str(), derived->m_LayerName);
        EXPECT_TRUE(derived->m_bDerivative);
        std::string mode = derived->m_bLinkDynamic ? "link"
                           : derived->m_bLoadDynamic ? "load"
                           : derived->m_bStatic     ? "static"
                                                    : "plain";
        EXPECT_EQ(c.mode, mode);
        EXPECT_STREQ(c.unit, derived->GetBindingUnitName());
        // Placed directly after its last parent, below the top layer.
        auto& configs = stack.m_pEquation->m_LayerConfigs;
        ASSERT_EQ(4, configs.GetCount());
        EXPECT_EQ(derived, configs[2]);
    }

    // Parents missing from the equation: no configuration.
    LayerStack stack;
    stack.m_pEquation->AddLayer(*new LayerConfig(Str("A")));
    StringSet strangers;
    strangers.Add("X");
    strangers.Add("Y");
    EXPECT_EQ(nullptr, stack.CreateDerivateConfig(strangers));
    EXPECT_EQ(1, stack.m_pEquation->m_LayerConfigs.GetCount());
}
