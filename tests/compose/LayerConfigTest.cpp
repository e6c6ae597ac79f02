#include "compose/LayerConfig.h"

#include "base/ErrorLog.h"

#include "../Captured.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct LineCase {
    char const* line;
    char const* name;
    char const* bindingUnit;  // explicit unit
    char const* unitName;     // GetBindingUnitName()
    char const* ifConfig;
    bool linkDynamic;
    bool loadDynamic;
};

} // namespace

TEST(LayerConfig, LayerLinesTable)
{
    LineCase const cases[] = {
        {"A", "A", "", "base", "", false, false},
        {"a/b/c dynamicload", "a.b.c", "", "a.b.c", "", false, true},
        {"A dynamiclink bindingunit U feat ; note", "A", "U", "U", "feat", true, true},
        {"A bindingunit u/v", "A", "u.v", "u.v", "", false, true},
        {"A bindingunit _u1.v2", "A", "_u1.v2", "_u1.v2", "", false, true},
        {"A // note", "A", "", "base", "", false, false},
        {"A # note dynamicload", "A", "", "base", "", false, false},
        {"A ;dynamicload", "A", "", "base", "", false, false},
        {"A#b", "A#b", "", "base", "", false, false},
        {"A\tfeat_x\t# other", "A", "", "base", "feat_x", false, false},
        {"A dynamicload bindingunit U", "A", "U", "U", "", false, true},
        {"gui/base dynamiclink", "gui.base", "", "gui.base", "", true, true},
        // Three letters from every keyword: a switch name.
        {"A dynamics", "A", "", "base", "dynamics", false, false},
    };
    for (LineCase const& c : cases) {
        SCOPED_TRACE(c.line);
        testutil::Captured captured;
        LayerConfig config{Str(c.line)};
        EXPECT_EQ("", captured.All());
        EXPECT_TRUE(config.HasPathName());
        EXPECT_STREQ(c.name, config.m_LayerName);
        EXPECT_STREQ(c.name, config.m_PlainName);
        EXPECT_STREQ(c.bindingUnit, config.m_BindingUnit);
        EXPECT_STREQ(c.unitName, config.GetBindingUnitName());
        EXPECT_STREQ(c.ifConfig, config.m_IfConfigName);
        EXPECT_EQ(c.linkDynamic, config.m_bLinkDynamic);
        EXPECT_EQ(c.loadDynamic, config.m_bLoadDynamic);
        EXPECT_FALSE(config.m_bStatic);
        EXPECT_FALSE(config.m_bDerivative);
        EXPECT_STREQ("", config.m_ImportPrefix);
    }
}

// Each mistaken line is one error at its file and line, and the word it
// concerns sets nothing.
TEST(LayerConfig, MistakenLinesAreErrorsAtTheirLine)
{
    struct {
        char const* line;
        char const* error;
        char const* ifConfig;
        char const* unitName;
    } const cases[] = {
        {"A dynamicloda", "'dynamicloda' for layer A is taken as the name of a run-time feature switch, not as the "
                          "keyword 'dynamicload': did you mean `dynamicload`?", "", "base"},
        {"A dynamicLoad", "not as the keyword 'dynamicload' (keywords are lower case): did you mean `dynamicload`?",
         "", "base"},
        {"A DYNAMICLINK", "did you mean `dynamiclink`?", "", "base"},
        {"A dynmiclnk", "did you mean `dynamiclink`?", "", "base"},
        {"A bindngunit U", "did you mean `bindingunit`?", "U", "base"},
        {"A dynamicload BindingUnit U", "did you mean `bindingunit`?", "U", "A"},
        {"A Undo dynamicLoad", "did you mean `dynamicload`?", "Undo", "base"},
        {"A bindingunit", "'bindingunit' names no binding unit for layer A and is taken as the name of a run-time "
                          "feature switch: write 'bindingunit <unit>'", "", "base"},
        {"A Undo Redo", "'Redo' for layer A means nothing: the layer's run-time feature switch is 'Undo', and a "
                        "layer has one", "Undo", "base"},
        {"A bindingunit .", "invalid binding unit '.' for layer A: a unit name is a C++ identifier", "", "A"},
        {"A bindingunit ..", "invalid binding unit '..'", "", "A"},
        {"A bindingunit /", "invalid binding unit '.'", "", "A"},
        {"A bindingunit #x", "invalid binding unit '#x'", "", "A"},
        {"A bindingunit 9x", "invalid binding unit '9x'", "", "A"},
        {"A bindingunit a-b", "invalid binding unit 'a-b'", "", "A"},
        {"A bindingunit a..b", "invalid binding unit 'a..b'", "", "A"},
        {"my-layer dynamicload", "the binding unit 'my-layer' of layer my-layer is not a C++ identifier; name a unit "
                                 "with 'bindingunit <unit>'", "", "my-layer"},
        {"A feat/x", "the run-time feature switch 'feat.x' of layer A is not a C++ identifier", "feat.x", "base"},
        {"A 1st", "the run-time feature switch '1st' of layer A is not a C++ identifier", "1st", "base"},
        {"../x", "'../x' is no layer name: a layer is a folder path below the source folder", "", "base"},
        {"/abs", "'/abs' is no layer name", "", "base"},
        {"x/", "'x/' is no layer name", "", "base"},
        {"a//b", "'a//b' is no layer name", "", "base"},
        {"/* old */", "'/*' is no layer name: a layer is a folder path below the source folder (comment lines "
                      "begin with #, ; or //)", "", "base"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.line);
        testutil::Captured captured;
        LayerConfig config(Str(c.line), "p.equation", 3);
        std::string out = captured.All();
        EXPECT_EQ(0u, out.find("p.equation(3) : error: ")) << out;
        EXPECT_NE(std::string::npos, out.find(c.error)) << out;
        EXPECT_EQ(1u, out.size() - out.find('\n')) << "one message: " << out;
        EXPECT_STREQ(c.ifConfig, config.m_IfConfigName);
        EXPECT_STREQ(c.unitName, config.GetBindingUnitName());
        EXPECT_STREQ("p.equation", config.m_File);
        EXPECT_EQ(3, config.m_Line);
    }
    ErrorLog::Reset();
}

TEST(LayerConfig, StaticAndDynamicMarksExcludeEachOther)
{
    LayerConfig config(Str("X"), Str("Y"));
    EXPECT_STREQ("X", config.m_LayerName);
    EXPECT_STREQ("Y", config.m_PlainName);
    config.m_bStatic = true;
    EXPECT_STREQ("base", config.GetBindingUnitName());
    config.SetLinkDynamic();
    EXPECT_FALSE(config.m_bStatic);
    EXPECT_TRUE(config.m_bLoadDynamic);
    EXPECT_STREQ("Y", config.GetBindingUnitName());

    config.SetBindingUnit("U");
    config.m_bDerivative = true;
    config.m_IfConfigName = "f";
    LayerConfig copy(config);
    EXPECT_STREQ("X", copy.m_LayerName);
    EXPECT_TRUE(copy.m_bLinkDynamic);
    EXPECT_STREQ("", copy.m_BindingUnit);
    EXPECT_STREQ("", copy.m_IfConfigName);
    EXPECT_FALSE(copy.m_bDerivative);
}
