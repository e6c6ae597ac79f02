#include "compose/LayerConfig.h"

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
        {"A dynamiclink bindingunit U feat extra ; note", "A", "U", "U", "feat", true, true},
        {"A Dynamiclink", "A", "", "base", "Dynamiclink", false, false},
        {"A bindingunit", "A", "", "base", "bindingunit", false, false},
        {"A bindingunit #x", "A", "#x", "#x", "", false, true},
        {"A bindingunit u/v", "A", "u.v", "u.v", "", false, true},
        {"A // note", "A", "", "base", "", false, false},
        {"A # note dynamicload", "A", "", "base", "", false, false},
        {"A ;dynamicload", "A", "", "base", "", false, false},
        {"A#b", "A#b", "", "base", "", false, false},
        {"A\tfeat/x\tother", "A", "", "base", "feat.x", false, false},
        {"A dynamicload bindingunit U", "A", "U", "U", "", false, true},
        {"gui/base dynamiclink", "gui.base", "", "gui.base", "", true, true},
    };
    for (LineCase const& c : cases) {
        SCOPED_TRACE(c.line);
        LayerConfig config{Str(c.line)};
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

TEST(LayerConfig, BindingUnitsThatNameNoFolderAreRefused)
{
    for (char const* line : {"A bindingunit .", "A bindingunit ..", "A bindingunit ./", "A bindingunit /"}) {
        SCOPED_TRACE(line);
        testutil::Captured captured;
        LayerConfig config{Str(line)};
        std::string out = captured.All();
        EXPECT_NE(std::string::npos, out.find("warning: invalid binding unit")) << out;
        EXPECT_TRUE(config.m_bLoadDynamic);
        EXPECT_STREQ("", config.m_BindingUnit);
        EXPECT_STREQ("A", config.GetBindingUnitName());
    }
}

TEST(LayerConfig, WordsLikeKeywordsAreSwitchNamesWithAWarning)
{
    struct {
        char const* line;
        char const* ifConfig;
        char const* warning; // part of the warning; null for none
    } const cases[] = {
        {"A dynamicLoad", "dynamicLoad", "'dynamicLoad' for layer A is taken as the name of a run-time feature "
                                         "switch, not as the keyword 'dynamicload'"},
        {"A DYNAMICLINK", "DYNAMICLINK", "not as the keyword 'dynamiclink'"},
        {"A dynamicload BindingUnit U", "BindingUnit", "not as the keyword 'bindingunit'"},
        {"A bindingunit", "bindingunit", "'bindingunit' names no binding unit for layer A"},
        {"A Undo", "Undo", nullptr},
        {"A dynamicloader", "dynamicloader", nullptr},
        // A second word is no switch name and keeps the first.
        {"A Undo dynamicLoad", "Undo", nullptr},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.line);
        testutil::Captured captured;
        LayerConfig config(Str(c.line), "p.equation", 3);
        std::string out = captured.All();
        EXPECT_STREQ(c.ifConfig, config.m_IfConfigName);
        if (c.warning) {
            EXPECT_EQ(0u, out.find("p.equation(3) : warning: ")) << out;
            EXPECT_NE(std::string::npos, out.find(c.warning)) << out;
        } else {
            EXPECT_EQ("", out);
        }
    }
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
