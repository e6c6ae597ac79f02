#include "output/Templates.h"

#include "../Captured.h"
#include "OptionGuard.h"
#include "../scanner/TempFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

namespace {

class TemplatesTest : public testing::Test {
protected:
    TemplatesTest() : m_general(m_folder.folder("codetemplates") + "/general")
    {
        m_folder.folder("codetemplates/general");
        m_store.SetTemplateFolder((m_folder.path() + "/codetemplates").c_str());
    }

    std::string Get(char const* name)
    {
        testutil::Captured captured;
        Str text = m_store.GetTemplate(name);
        m_console += captured.All();
        return text.GetBuffer();
    }

    testutil::TempFolder m_folder;
    std::string m_general;
    Templates m_store;
    std::string m_console;
};

TEST_F(TemplatesTest, LineMarkerBecomesDirectiveNamingTheTemplateFile)
{
    std::string path = m_folder.file("codetemplates/general/fwdDecl.templ.h",
                                     "//<META /> what it is for\nclass <NAME />;\n//<LINE>\nint x;");
    {
        testutil::OptionGuard options(false, nullptr);
        m_store.LoadFolder();
    }
    EXPECT_EQ("class <NAME />;\n#line 4 \"" + path + "\"\nint x;\n", Get("fwdDecl"));
    EXPECT_EQ("", m_console);

    Templates noLine;
    noLine.SetTemplateFolder(m_store.GetTemplateFolder());
    testutil::OptionGuard options(true, nullptr);
    noLine.LoadFolder();
    EXPECT_EQ("class <NAME />;\nint x;\n", std::string(noLine.GetTemplate("fwdDecl").GetBuffer()));
}

TEST_F(TemplatesTest, HeaderVariantWinsAndOnlyTemplateFilesCount)
{
    m_folder.file("codetemplates/general/A.templ.cpp", "cpp");
    m_folder.file("codetemplates/general/A.templ.h", "header\n");
    m_folder.file("codetemplates/general/B.templ.cpp", "b");
    m_folder.file("codetemplates/general/C.templ.h~", "backup");
    m_folder.file("codetemplates/general/D.templ", "no kind");
    m_folder.folder("codetemplates/general/E.templ.h");
    m_store.LoadFolder();

    EXPECT_EQ("header\n\n", Get("A"));
    EXPECT_EQ("b\n", Get("B"));
    EXPECT_EQ("", m_console);
    EXPECT_EQ("", Get("C"));
    EXPECT_EQ("", Get("D"));
    EXPECT_EQ("", Get("E"));
}

TEST_F(TemplatesTest, MissingTemplateIsReportedAtEveryRequest)
{
    m_store.LoadFolder();
    EXPECT_EQ("", Get("layerImpl"));
    EXPECT_EQ("", Get("layerImpl"));
    std::string line = "mosa++ : error: template file 'layerImpl' not found in folder " + m_folder.path() +
                       "/codetemplates\n";
    EXPECT_EQ(line + line, m_console);
}

TEST_F(TemplatesTest, TrimContentKeepsTextWithContentOnly)
{
    struct Case {
        std::vector<char const*> lines;
        char const* text;
    } cases[] = {
        {{"#line 1 \"x.h\"", "", "int a;"}, "#line 1 \"x.h\"\n\nint a;\n"},
        {{"#line 1 \"x.h\"", "", "int a;", ""}, "#line 1 \"x.h\"\n\nint a;\n\n"},
        {{"#line 1 \"x.h\"", " \t", "  #line 9"}, ""},
        {{}, ""},
        {{"#lin"}, "#lin\n"},
    };
    for (Case const& c : cases) {
        StringArray lines;
        for (char const* line : c.lines)
            lines.Add(line);
        Str text;
        m_store.TrimContent(lines, text);
        EXPECT_STREQ(c.text, text.GetBuffer());
    }
}

TEST_F(TemplatesTest, ProgramFolderIsTheExecutablesFolder)
{
    char* exe = realpath("/proc/self/exe", nullptr);
    ASSERT_TRUE(exe);
    std::string folder(exe);
    free(exe);
    folder = folder.substr(0, folder.rfind('/')) + "/codetemplates";
    m_store.InitTemplateFolder("elsewhere/tool");
    EXPECT_EQ(folder, m_store.GetTemplateFolder().GetBuffer());
}

} // namespace
