#include "parser/ParserConfig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Args {
    explicit Args(std::vector<std::string> list) : texts(std::move(list))
    {
        texts.insert(texts.begin(), "mosa++");
        for (std::string& text : texts)
            argv.push_back(&text[0]);
    }

    std::vector<std::string> texts;
    std::vector<char*> argv;
};

std::vector<std::string> PassThrough(ParserConfig const& config)
{
    std::vector<std::string> list;
    for (int i = 1; i < config.GetPassThrough().GetCount(); ++i)
        list.push_back(config.GetPassThrough()[i]);
    return list;
}

std::vector<std::string> Includes(ParserConfig const& config)
{
    std::vector<std::string> list;
    for (int i = 0; i < config.GetIncludes().GetCount(); ++i)
        list.push_back(config.GetIncludes()[i].GetBuffer());
    return list;
}

} // namespace

TEST(ParserConfig, ArgumentsTable)
{
    struct Case {
        std::vector<std::string> args;
        bool gpp;
        std::vector<std::string> passThrough;
        std::vector<std::string> includes;
    } const cases[] = {
        {{"-gpp"}, true, {}, {}},
        {{"--gpp"}, true, {"--gpp"}, {}},
        {{"gpp"}, true, {}, {}},
        {{"-gpp=1"}, true, {}, {}},
        {{"-GPP"}, true, {}, {}},
        {{"-Gpp"}, false, {}, {}},
        {{"\"gpp\""}, true, {}, {}},
        {{"-I", "x"}, false, {"-I", "x"}, {"x"}},
        {{"-Ix"}, false, {}, {}},
        {{"-D", "X"}, false, {"-D", "X"}, {}},
        {{"-DX"}, false, {"-DX"}, {}},
        {{"eq.equation"}, false, {}, {}},
    };
    for (Case const& c : cases) {
        Args args(c.args);
        ParserConfig config;
        EXPECT_TRUE(config.Init(static_cast<int>(args.argv.size()), args.argv.data(), false));
        std::string label = c.args[0];
        EXPECT_EQ(c.gpp, config.Gpp()) << label;
        ASSERT_GE(config.GetPassThrough().GetCount(), 1) << label;
        EXPECT_EQ(args.argv[0], config.GetPassThrough()[0]) << label;
        EXPECT_EQ(c.passThrough, PassThrough(config)) << label;
        EXPECT_EQ(c.includes, Includes(config)) << label;
    }
}

TEST(ParserConfig, ParameterNamesAndValues)
{
    Args args({"-D", "NAME", "-DNAME=1", "=v", "-Ix", "-I", "dir", "-o=out", "-o=again"});
    ParserConfig config;
    config.Init(static_cast<int>(args.argv.size()), args.argv.data(), true);
    ASSERT_NE(nullptr, config.GetParam("D"));
    EXPECT_STREQ("NAME", *config.GetParam("D"));
    EXPECT_STREQ("-DNAME=1", *config.GetParam("DNAME"));
    EXPECT_STREQ("=v", *config.GetParam(""));
    EXPECT_STREQ("-Ix", *config.GetParam("Ix"));
    EXPECT_STREQ("dir", *config.GetParam("I"));
    EXPECT_STREQ("-o=again", *config.GetParam("o"));
    EXPECT_EQ(nullptr, config.GetParam("NAME"));
}

TEST(ParserConfig, PassThroughListGrowsPastAThousandEntries)
{
    std::vector<std::string> list;
    for (int i = 0; i < 1500; ++i)
        list.push_back("-DV" + std::to_string(i));
    Args args(list);
    ParserConfig config;
    config.Init(static_cast<int>(args.argv.size()), args.argv.data(), false);
    ASSERT_EQ(1501, config.GetPassThrough().GetCount());
    EXPECT_STREQ("-DV1499", config.GetPassThrough()[1500]);
}
