#include "base/ErrorLog.h"
#include "base/PrintStream.h"
#include "base/XmlString.h"
#include "scanner/ErrorSink.h"
#include "scanner/Token.h"

#include "../Captured.h"
#include "../scanner/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using testutil::ReadFile;

// Each test owns the log it opens.
class ErrorLogTest : public testing::Test {
protected:
    void SetUp() override { ErrorLog::CloseLogFile(); }
    void TearDown() override { ErrorLog::CloseLogFile(); }

    // Console output and log element of one message.
    template <class Issue>
    std::pair<std::string, std::string> Message(Issue issue)
    {
        std::string path = m_folder.path("mosac.log.xml");
        ErrorLog::InitLogFile(path.c_str());
        testutil::Captured captured;
        issue();
        std::string console = captured.All();
        ErrorLog::CloseLogFile();
        std::string log = ReadFile(path);
        EXPECT_EQ(0u, log.rfind("<log>\n", 0));
        EXPECT_EQ(log.size() - 7, log.rfind("</log>\n"));
        return {console, log.substr(6, log.size() - 13)};
    }

    testutil::TempFolder m_folder;
};

TEST_F(ErrorLogTest, ConsoleLineAndElement)
{
    struct Case {
        void (*issue)();
        char const* console;
        char const* element;
    };
    Case const cases[] = {
        {[] { ErrorLog::OnError("x", "a.h", 12); },
         "a.h(12) : error: x\n", "<MSG type=\"error\" file=\"a.h\" line=\"12\" >x</MSG>\n"},
        {[] { ErrorLog::OnUserInfo("x", nullptr, 0); },
         "mosa++ : info: x\n", "<MSG type=\"info\" file=\"\" >x</MSG>\n"},
        {[] { ErrorLog::OnInfo("x"); },
         "", "<MSG type=\"info_ext\" file=\"\" >x</MSG>\n"},
        {[] { ErrorLog::OnWarning("w", "b.cpp", -3); },
         "b.cpp(-3) : warning: w\n", "<MSG type=\"warning\" file=\"b.cpp\" line=\"-3\" >w</MSG>\n"},
        {[] { ErrorLog::OnError("e", "", 0); },
         " : error: e\n", "<MSG type=\"error\" file=\"\" line=\"0\" >e</MSG>\n"},
        {[] { ErrorLog::OnError("e", "", 4); },
         "(4) : error: e\n", "<MSG type=\"error\" file=\"\" line=\"4\" >e</MSG>\n"},
        {[] { ErrorLog::PrintMsg("info", "<CLASS_NAME /> & \"q\"", "a<b>&\".h", 1); },
         "a<b>&\".h(1) : info: <CLASS_NAME /> & \"q\"\n",
         "<MSG type=\"info\" file=\"a&lt;b&gt;&amp;&quot;.h\" line=\"1\" >"
         "&lt;CLASS_NAME /&gt; &amp; &quot;q&quot;</MSG>\n"},
        // Control bytes in names stay on the one line, in the log as well.
        {[] { ErrorLog::OnError("module 'a\tb' of layer 'L\x7f'", "L/a\nb.h", 2); },
         "L/a\\nb.h(2) : error: module 'a\\tb' of layer 'L\\x7f'\n",
         "<MSG type=\"error\" file=\"L/a\\nb.h\" line=\"2\" >module 'a\\tb' of layer 'L\\x7f'</MSG>\n"},
        {[] { ErrorLog::PrintMsg(nullptr, nullptr, nullptr, 0); },
         "mosa++ : info: \n", "<MSG type=\"info\" file=\"\" ></MSG>\n"},
    };
    for (Case const& c : cases) {
        auto result = Message(c.issue);
        EXPECT_EQ(c.console, result.first);
        EXPECT_EQ(c.element, result.second);
    }
}

TEST_F(ErrorLogTest, TokenPositions)
{
    Lex::Token placed(Lex::TOK_ID, Lex::Token::identifier_id, "x");
    placed.location = Lex::Location(Lex::Filename("a.h"), 12);
    auto result = Message([&] { ErrorLog::OnError("bad", placed); });
    EXPECT_EQ("a.h(12) : error: bad\n", result.first);

    // Tokens inserted by the code model have no position.
    Lex::Token inserted(Lex::TOK_STRING_VAL, Lex::Token::cpp_id, "inline");
    result = Message([&] { ErrorLog::OnWarning("odd", inserted); });
    EXPECT_EQ("mosa++ : warning: odd\n", result.first);
    EXPECT_EQ("<MSG type=\"warning\" file=\"\" >odd</MSG>\n", result.second);

    testutil::Captured captured;
    ErrorLog::DebugMsg("quiet", placed);
    EXPECT_EQ("", captured.All());
}

TEST_F(ErrorLogTest, OpeningAndClosing)
{
    std::string first = m_folder.path("first.xml");
    std::string second = m_folder.path("second.xml");
    EXPECT_STREQ("", ErrorLog::GetLogPath());
    testutil::Captured captured;
    ErrorLog::OnError("before");
    ErrorLog::InitLogFile(first.c_str());
    ErrorLog::InitLogFile(second.c_str());
    EXPECT_EQ(first, ErrorLog::GetLogPath().GetBuffer());
    ErrorLog::OnError("during");
    ErrorLog::CloseLogFile();
    ErrorLog::OnError("after");
    EXPECT_STREQ("", ErrorLog::GetLogPath());
    EXPECT_EQ("<log>\n<MSG type=\"error\" file=\"\" >during</MSG>\n</log>\n", ReadFile(first));
    EXPECT_FALSE(std::ifstream(second).good());

    std::string missing = m_folder.path("no/such/folder/log.xml");
    ErrorLog::InitLogFile(missing.c_str());
    EXPECT_STREQ("", ErrorLog::GetLogPath());
}

TEST_F(ErrorLogTest, ClosedAtProcessExit)
{
    std::string path = m_folder.path("exit.xml");
    EXPECT_EXIT(
        {
            ErrorLog::InitLogFile(path.c_str());
            ErrorLog::OnInfo("last");
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ("<log>\n<MSG type=\"info_ext\" file=\"\" >last</MSG>\n</log>\n", ReadFile(path));
}

TEST_F(ErrorLogTest, InfoExtIsKnownByItsText)
{
    // A copy of the type text goes to the log only, as the constant does.
    std::string type = "info_ext";
    auto result = Message([&] { ErrorLog::PrintMsg(type.c_str(), "quiet", nullptr, 0); });
    EXPECT_EQ("", result.first);
    EXPECT_EQ("<MSG type=\"info_ext\" file=\"\" >quiet</MSG>\n", result.second);
}

TEST_F(ErrorLogTest, CountsTheErrorsAndWarningsOfARun)
{
    struct Case {
        char const* name;
        void (*issue)();
        int errors;
        int warnings;
    };
    Case const cases[] = {
        {"error", [] { ErrorLog::OnError("e"); }, 1, 0},
        {"error at a token",
         [] {
             Lex::Token placed(Lex::TOK_ID, Lex::Token::identifier_id, "x");
             ErrorLog::OnError("e", placed);
         },
         1, 0},
        {"copy of the error type", [] { ErrorLog::PrintMsg(std::string("error").c_str(), "e", nullptr, 0); }, 1, 0},
        {"warning", [] { ErrorLog::OnWarning("w", "a.h", 3); }, 0, 1},
        {"infos", [] { ErrorLog::OnUserInfo("i"); ErrorLog::OnInfo("x"); ErrorLog::PrintMsg(nullptr, "n", nullptr, 0); },
         0, 0},
        {"stream fatal, error, warning, message",
         [] {
             ErrorLog::OnReported(Lex::sev_fatal);
             ErrorLog::OnReported(Lex::sev_error);
             ErrorLog::OnReported(Lex::sev_warning);
             ErrorLog::OnReported(Lex::sev_message);
             ErrorLog::OnReported(Lex::sev_none);
         },
         2, 1},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        ErrorLog::Reset();
        testutil::Captured captured;
        c.issue();
        c.issue();
        EXPECT_EQ(2 * c.errors, ErrorLog::GetErrorCount());
        EXPECT_EQ(2 * c.warnings, ErrorLog::GetWarningCount());
        EXPECT_EQ(c.errors > 0, ErrorLog::HasErrors());
    }
    ErrorLog::Reset();
    EXPECT_FALSE(ErrorLog::HasErrors());
    EXPECT_EQ(0, ErrorLog::GetWarningCount());
}

TEST_F(ErrorLogTest, AnErrorFoundAgainIsReportedOncePerRun)
{
    ErrorLog::Reset();
    testutil::Captured captured;
    ErrorLog::OnErrorOnce("again", "a.h", 2);
    ErrorLog::OnErrorOnce("again", "a.h", 2);
    ErrorLog::OnErrorOnce("again", "a.h", 3);
    ErrorLog::OnErrorOnce("again", "", 2);
    ErrorLog::OnErrorOnce("again", nullptr, 2);
    ErrorLog::OnErrorOnce("again", nullptr, 2);
    ErrorLog::OnErrorOnce("other", "a.h", 2);
    EXPECT_EQ("a.h(2) : error: again\na.h(3) : error: again\n(2) : error: again\nmosa++(2) : error: again\n"
              "a.h(2) : error: other\n",
              captured.All());
    EXPECT_EQ(5, ErrorLog::GetErrorCount());

    // The next run reports it anew.
    ErrorLog::Reset();
    captured.Clear();
    ErrorLog::OnErrorOnce("again", "a.h", 2);
    EXPECT_EQ("a.h(2) : error: again\n", captured.All());
    EXPECT_EQ(1, ErrorLog::GetErrorCount());
    ErrorLog::Reset();
}

// Writing fails in a child process, so that the failure stays out of this
// process's record; the exit code tells what the child observed.
TEST_F(ErrorLogTest, FailedWritesAreReportedAndMakeTheRunFail)
{
    EXPECT_FALSE(ErrorLog::HasFailed());
    EXPECT_EXIT(
        {
            ErrorLog::InitLogFile("/dev/full");
            bool printed = ErrorLog::PrintMsg(ErrorLog::InfoExt, "lost", nullptr, 0);
            ErrorLog::OnInfo("lost too");
            bool closed = ErrorLog::CloseLogFile();
            std::exit(!printed && !closed && ErrorLog::HasFailed() ? 3 : 0);
        },
        testing::ExitedWithCode(3), "^mosa\\+\\+: cannot write the log file /dev/full: No space left on device\n$");

    // A console that takes nothing fails the run too; the log is untouched.
    std::string path = m_folder.path("kept.xml");
    EXPECT_EXIT(
        {
            if (!std::freopen("/dev/full", "w", stderr))
                std::exit(1);
            ErrorLog::InitLogFile(path.c_str());
            bool printed = ErrorLog::PrintMsg(ErrorLog::Error, "unseen", nullptr, 0);
            bool closed = ErrorLog::CloseLogFile();
            std::exit(!printed && closed && ErrorLog::HasFailed() ? 3 : 0);
        },
        testing::ExitedWithCode(3), "");
    EXPECT_EQ("<log>\n<MSG type=\"error\" file=\"\" >unseen</MSG>\n</log>\n", ReadFile(path));
}

TEST(ErrorLog, EscapeShowsControlBytesOnly)
{
    struct Case {
        char const* text;
        char const* shown;
    };
    Case const cases[] = {
        {"plain name_1.h", "plain name_1.h"},
        // Backslashes, quotes and UTF-8 characters are printable as they are.
        {"C:\\dir\\x.h \"q\" \xC3\xA4\xE2\x82\xAC \xFF", "C:\\dir\\x.h \"q\" \xC3\xA4\xE2\x82\xAC \xFF"},
        {"a\nb\rc\td", "a\\nb\\rc\\td"},
        {"\x01\x1b[0m\x1f\x7f end", "\\x01\\x1b[0m\\x1f\\x7f end"},
        {"\n", "\\n"},
        {"", ""},
    };
    for (Case const& c : cases)
        EXPECT_STREQ(c.shown, ErrorLog::Escape(c.text).GetBuffer()) << c.text;
    EXPECT_STREQ("", ErrorLog::Escape(nullptr).GetBuffer());
}

TEST(PrintStream, AFailedFlushIsReported)
{
    EXPECT_EXIT(
        {
            if (!std::freopen("/dev/full", "w", stdout))
                std::exit(1);
            PrintStream stream;
            bool first = stream.print("text");
            bool second = stream.println("line");
            std::exit(!first && !second && stream.HasFailed() ? 3 : 0);
        },
        testing::ExitedWithCode(3), "");
    PrintStream fine;
    testutil::Captured captured;
    EXPECT_TRUE(fine.print("ok"));
    EXPECT_TRUE(fine.println(""));
    EXPECT_EQ("ok\n", captured.All());
    EXPECT_FALSE(fine.HasFailed());
}

TEST(XmlString, EncodeText)
{
    EXPECT_STREQ("a &amp;amp; &quot;b&quot; &lt;c&gt; 'd'", XmlString::EncodeText("a &amp; \"b\" <c> 'd'"));
}

TEST(XmlString, Builders)
{
    XmlString xml;
    xml.Open("a").Open("b", "k=\"v\"").AddSimple("c").Add("d", "<t>").Add("e", "x=\"1\"", "u").AddText("<&>").Close("a");
    EXPECT_STREQ("<a><b k=\"v\"><c /><d><t></d><e x=\"1\">u</e>&lt;&amp;&gt;</a>", xml);
}

TEST(XmlString, FindXml)
{
    XmlString xml;
    xml += "<r><item>one</item><empty /></r>";
    Str content;
    EXPECT_EQ(3, xml.FindXml("item", 0));
    EXPECT_EQ(19, xml.FindXml("empty", 0));
    EXPECT_EQ(0, xml.FindXml("none", 0));
    EXPECT_EQ(0, xml.FindXml("item", 99));
    EXPECT_EQ(-1, xml.FindXml("it", 0)); // "<it" occurs, but neither <it> nor <it />
    EXPECT_EQ(9, xml.FindXml("item", content, 0));
    EXPECT_STREQ("one", content);
    EXPECT_EQ(19, xml.FindXml("empty", content, 0));
    EXPECT_EQ(-1, xml.FindXml("none", content, 0));
}

} // namespace
