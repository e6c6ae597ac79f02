#include "compose/Application.h"

#include "../Captured.h"

#include <gtest/gtest.h>

#include <string>

TEST(Application, ProgramNameFromTheFirstArgument)
{
    struct Case {
        char const* first;
        char const* name;
    } const cases[] = {
        {"mosa++", "mosa++"},
        {"/usr/local/bin/mosa++", "mosa++"},
        {"C:\\tools\\mosa++.exe", "mosa++.exe"},
        {"mixed/dir\\tool", "tool"},
        {"bin/", ""},
        {"", ""},
        {nullptr, ""},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.first ? c.first : "(null)");
        char* argv[] = {const_cast<char*>(c.first), nullptr};
        Application app;
        app.m_Argc = 1;
        app.m_Argv = argv;
        testutil::Captured captured;
        EXPECT_FALSE(app.Initialize()); // no equation: the usage is due
        EXPECT_EQ(c.first, app.m_pFirstArg);
        EXPECT_STREQ(c.name, app.GetName());
    }
}

TEST(Application, UsageWithoutOptionsOrName)
{
    // An application whose option list is empty prints no options block.
    struct Bare : Application {
        Str GetOptions() override { return Str(); }
    } app;
    char* argv[] = {const_cast<char*>("dir/"), nullptr};
    app.m_Argc = 1;
    app.m_Argv = argv;
    testutil::Captured captured;
    app.Initialize();
    app.PrintUsage("other", "p q");
    std::string out = captured.All();
    EXPECT_EQ(0u, out.find("other - release (")) << out;
    EXPECT_NE(std::string::npos, out.find(")\nusage:  p q\n")) << out;
    EXPECT_EQ(std::string::npos, out.find("Options")) << out;
}
