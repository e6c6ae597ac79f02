#include "base/Config.h"

#include "../Captured.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Outcome {
    bool result;
    std::string printed;
};

Outcome Parse(Config& config, std::vector<std::string> args)
{
    args.insert(args.begin(), "mosa++");
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    testutil::Captured captured;
    bool result = config.Init(static_cast<int>(args.size()), argv.data());
    return {result, captured.All()};
}

Str EquationName()
{
    return "main";
}

TEST(Config, CommandLines)
{
    Config::SetEquationNameSource(EquationName);
    struct Case {
        std::vector<std::string> args;
        bool result;
        char const* printed;
        char const* equation;
        char const* out;
        char const* nameSpace;
        bool noline;
    };
    Case const cases[] = {
        {{}, false, "", "", "", "", false},
        {{"--help"}, false, "", "", "", "", false},
        {{"-help"}, false, "", "", "", "", false},
        {{"--help", "x.equation"}, false, "", "", "", "", false},
        {{"x.equation", "--help"}, false, "", "", "", "", false},
        {{"-o=out", "x.equation"}, true, "", "x.equation", "out", "", false},
        {{"x.equation"}, true, "", "x.equation", "", "", false},
        {{"-namespace", "x"}, true, "", "x", "", "main", false},
        {{"-namespace=", "x"}, true, "", "x", "", "main", false},
        {{"-namespace=ns", "x"}, true, "", "x", "", "ns", false},
        {{"-o=a=b", "x"}, true, "", "x", "a=b", "", false},
        {{"-noline", "-foo", "x"}, false, "unknown option: -foo\n", "", "", "", true},
        {{"-gppx"}, false, "unknown option: -gppx\n", "", "", "", false},
        {{"-=x"}, false, "unknown option: -=x\n", "", "", "", false},
        {{"-x=1"}, false, "unknown option: -x=1\n", "", "", "", false},
        {{"-equation=a"}, false, "unknown option: -equation=a\n", "", "", "", false},
        // Command lines that would run otherwise than written are refused
        // with the reason.
        {{"-o", "out", "x"}, false, "mosa++ : error: options take '=': -o=out\n", "", "", "", false},
        {{"-s", "src", "x"}, false, "mosa++ : error: options take '=': -s=src\n", "", "", "", false},
        {{"-namespace", "ns", "x"}, false, "mosa++ : error: options take '=': -namespace=ns\n", "", "", "main", false},
        {{"-o", "x"}, false, "mosa++ : error: -o names no folder: write -o=<folder>\n", "", "", "", false},
        {{"-o=", "x"}, false, "mosa++ : error: -o names no folder: write -o=<folder>\n", "", "", "", false},
        {{"-s=", "x"}, false, "mosa++ : error: -s names no folder: write -s=<folder>\n", "", "", "", false},
        {{"a.equation", "-noline", "b.equation"}, false,
         "mosa++ : error: options go before the equation: -noline follows 'a.equation'\n", "", "", "", false},
        {{"a.equation", "-noline"}, false,
         "mosa++ : error: options go before the equation: -noline follows 'a.equation'\n", "", "", "", false},
        {{"-noline", "a.equation", "b.equation"}, false,
         "mosa++ : error: one equation per run: 'b.equation' follows the equation 'a.equation'\n", "", "", "", true},
        {{"-eq=1", "x"}, false, "mosa++ : error: the switch -eq takes no value: write -eq\n", "", "", "", false},
        {{"-gpp"}, false, "mosa++ : error: no equation given: write the equation file after the options\n", "", "",
         "", false},
    };
    for (Case const& c : cases) {
        std::string label;
        for (std::string const& arg : c.args)
            label += arg + " ";
        Config config;
        Outcome run = Parse(config, c.args);
        EXPECT_EQ(c.result, run.result) << label;
        EXPECT_EQ(c.printed, run.printed) << label;
        EXPECT_STREQ(c.equation, config.GetEquation()) << label;
        EXPECT_STREQ(c.out, config.GetOutDir()) << label;
        EXPECT_STREQ("", config.GetSourceDir()) << label;
        EXPECT_STREQ(c.nameSpace, config.GetNameSpace()) << label;
        EXPECT_EQ(c.noline, config.GetNoLine()) << label;
        EXPECT_TRUE(config.GetGpp()) << label;
        EXPECT_EQ(8, config.m_Options.GetCount()) << label;
        EXPECT_EQ(run.printed.find("mosa++ : error: ") == 0, config.IsRefused()) << label;
        EXPECT_EQ(label.find("help") != std::string::npos, config.IsHelpAsked()) << label;
    }
    Config::SetEquationNameSource(nullptr);
}

TEST(Config, SwitchesAndValues)
{
    Config config;
    EXPECT_TRUE(Parse(config, {"-eq", "-gpp", "-linkdir", "-eqonly", "-s=src", "x"}).result);
    EXPECT_TRUE(config.GetEq());
    EXPECT_TRUE(config.GetGpp());
    EXPECT_TRUE(config.GetLinkDir());
    EXPECT_TRUE(config.GetEqOnly());
    EXPECT_STREQ("src", config.GetSourceDir());
    EXPECT_EQ(StrOption::m_UndefinedVal, config.m_pOutDir);
}

TEST(Config, OptionList)
{
    Config config;
    EXPECT_FALSE(Parse(config, {}).result);
    EXPECT_STREQ("equation", config.GetParams());
    EXPECT_STREQ("  -linkdir            generate one directory for each link lib (-)\n"
                 "  -gpp                generate g++ output (+)\n"
                 "  -noline             do not create line directives (-)\n"
                 "  -eq                 compose equations (-)\n"
                 "  -eqonly             only compose equation files (-)\n"
                 "  -namespace          create namespace, defaults to equation (-)\n"
                 "  -s                  source directory (-)\n"
                 "  -o                  output directory (-)",
                 config.GetOptions());

    // A bare -namespace puts the target on its default, which the list
    // shows as +.
    Config bare;
    Parse(bare, {"-namespace", "x"});
    EXPECT_NE(nullptr, strstr(bare.GetOptions(), "  -namespace          create namespace, defaults to equation (+)"));
    Config given;
    Parse(given, {"-o=out", "x"});
    EXPECT_NE(nullptr, strstr(given.GetOptions(), "  -o                  output directory (-)"));
    EXPECT_STREQ("-linkdir:\tfalse (generate one directory for each link lib)\n"
                 "-gpp:\ttrue (generate g++ output)\n"
                 "-noline:\tfalse (do not create line directives)\n"
                 "-eq:\tfalse (compose equations)\n"
                 "-eqonly:\tfalse (only compose equation files)\n"
                 "-namespace:\tundefined (create namespace, defaults to equation)\n"
                 "-s:\tundefined (source directory)\n"
                 "-o:\tout (output directory)",
                 given.GetSettings());
    EXPECT_NE(nullptr, strstr(bare.GetSettings(), "-namespace:\tactive, value = NULL (create namespace"));
}

TEST(Config, SecondInitStartsAfresh)
{
    Config config;
    Str const options = [] {
        Config once;
        Parse(once, {"x"});
        return once.GetOptions();
    }();
    EXPECT_TRUE(Parse(config, {"-noline", "-o=out", "a.equation"}).result);
    EXPECT_TRUE(Parse(config, {"b.equation"}).result);
    EXPECT_EQ(8, config.m_Options.GetCount());
    EXPECT_STREQ("equation", config.GetParams());
    EXPECT_STREQ(options, config.GetOptions());
    EXPECT_FALSE(config.GetNoLine());
    EXPECT_STREQ("", config.GetOutDir());
    EXPECT_STREQ("b.equation", config.GetEquation());
}

TEST(Config, NameSpaceWithoutEquationSource)
{
    Config config;
    Parse(config, {"-namespace", "x"});
    EXPECT_STREQ("", config.GetNameSpace());
}

TEST(Config, SingletonIsOneObject)
{
    EXPECT_EQ(&Config::GetInstance(), &Config::GetInstance());
}

} // namespace
