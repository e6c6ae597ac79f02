#include "scanner/ErrorCollector.h"
#include "scanner/ErrorStream.h"
#include "scanner/MessageOutput.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using Lex::ErrorSeverity;
using Lex::Filename;
using Lex::Location;

TEST(ErrorSeverity, ConstantsAndComparisonByLevel)
{
    struct Case { ErrorSeverity sev; unsigned level; char const* text; };
    Case const cases[] = {
        {Lex::sev_none, 0, "none"},       {Lex::sev_message, 100, "message"},
        {Lex::sev_warning, 200, "warning"}, {Lex::sev_error, 300, "error"},
        {Lex::sev_fatal, 400, "fatal"},
    };
    for (Case const& c : cases) {
        EXPECT_EQ(c.level, c.sev.level);
        EXPECT_STREQ(c.text, c.sev.text);
    }
    ErrorSeverity renamed{300, "other"};
    EXPECT_TRUE(renamed == Lex::sev_error);
    EXPECT_TRUE(Lex::sev_warning < Lex::sev_error);
    EXPECT_FALSE(Lex::sev_fatal < Lex::sev_error);
}

// One message written into a fresh stream, and what the stream printed.
struct StreamCase {
    char const* name;
    void (*write)(Lex::ErrorSink&);
    char const* line;
};

TEST(ErrorStream, FormatsOneLinePerMessage)
{
    StreamCase const cases[] = {
        {"bare text", [](Lex::ErrorSink& s) { s << "plain" << Lex::endMessage; }, "plain\n"},
        {"severity only", [](Lex::ErrorSink& s) { s << Lex::sev_fatal << "x" << Lex::endMessage; },
         "fatal: x\n"},
        {"location without severity",
         [](Lex::ErrorSink& s) { s << Location(Filename("a.h"), 3) << "x" << Lex::endMessage; }, "a.h:3: x\n"},
        {"location and severity",
         [](Lex::ErrorSink& s) {
             s << Location(Filename("dir/a.h"), 12) << Lex::sev_error << "bad " << 7 << Lex::endMessage;
         },
         "dir/a.h:12: error: bad 7\n"},
        {"empty location", [](Lex::ErrorSink& s) { s << Location() << Lex::sev_warning << "w" << Lex::endMessage; },
         "warning: w\n"},
        {"location without file name",
         [](Lex::ErrorSink& s) { s << Location(Filename(), 4) << "x" << Lex::endMessage; }, "x\n"},
        {"empty file name counts as set",
         [](Lex::ErrorSink& s) { s << Location(Filename(""), 4) << "x" << Lex::endMessage; }, ":4: x\n"},
        {"last severity wins, raised",
         [](Lex::ErrorSink& s) { s << Lex::sev_warning << Lex::sev_error << "t" << Lex::endMessage; },
         "error: t\n"},
        {"last severity wins, lowered",
         [](Lex::ErrorSink& s) { s << Lex::sev_error << Lex::sev_warning << "t" << Lex::endMessage; },
         "warning: t\n"},
        {"numbers",
         [](Lex::ErrorSink& s) {
             s << 5L << ' ' << 7u << ' ' << -3 << ' ' << short(2) << ' ' << 1.5 << Lex::endMessage;
         },
         "5 7 -3 2 1.5\n"},
        {"null text", [](Lex::ErrorSink& s) { s << "a " << static_cast<char const*>(nullptr) << Lex::endMessage; },
         "a (null)\n"},
        {"printable", [](Lex::ErrorSink& s) { s << "in " << Filename("b.h") << Lex::endMessage; }, "in b.h\n"},
        {"text ends at a NUL", [](Lex::ErrorSink& s) { s << "ab" << '\0' << "cd" << Lex::endMessage; }, "ab\n"},
        {"unclosed message prints nothing", [](Lex::ErrorSink& s) { s << Lex::sev_error << "open"; }, ""},
    };
    for (StreamCase const& c : cases) {
        std::ostringstream out;
        Lex::ErrorStream stream(out);
        c.write(stream);
        EXPECT_EQ(c.line, out.str()) << c.name;
    }
}

TEST(ErrorStream, MessagesStartFreshAndHighestSeverityAccumulates)
{
    std::ostringstream out;
    Lex::ErrorStream stream(out);
    stream << Location(Filename("a.h"), 1) << Lex::sev_error << "first" << Lex::endMessage;
    stream << Lex::sev_warning << "second" << Lex::endMessage;
    stream << "third" << Lex::endMessage;
    EXPECT_EQ("a.h:1: error: first\nwarning: second\nthird\n", out.str());
    EXPECT_EQ(Lex::sev_error, stream.severity());
    EXPECT_STREQ("error", stream.severity().text);

    // clear drops the open message but keeps the highest severity.
    stream << Lex::sev_fatal << "dropped";
    stream.clear();
    stream << "after" << Lex::endMessage;
    EXPECT_EQ("a.h:1: error: first\nwarning: second\nthird\nafter\n", out.str());
    EXPECT_EQ(Lex::sev_fatal, stream.severity());

    stream.reset();
    EXPECT_EQ(Lex::sev_none, stream.severity());
    EXPECT_EQ("a.h:1: error: first\nwarning: second\nthird\nafter\n", out.str());
}

TEST(ErrorStream, SilentStreamTracksSeverityWithoutPrinting)
{
    std::ostringstream out;
    Lex::ErrorStream stream(out);
    stream.silent() << Lex::sev_error << "hidden" << Lex::endMessage;
    EXPECT_EQ("", out.str());
    EXPECT_EQ(Lex::sev_error, stream.severity());
    stream.loud() << Lex::sev_message << "shown" << Lex::endMessage;
    EXPECT_EQ("message: shown\n", out.str());
}

// The severity levels the process-wide listener was told.
std::vector<unsigned> g_heard;

TEST(ErrorStream, ListenerHearsEveryPrintedMessage)
{
    g_heard.clear();
    Lex::ErrorStream::listener([](ErrorSeverity const& severity) { g_heard.push_back(severity.level); });
    std::ostringstream out;
    Lex::ErrorStream first(out);
    Lex::ErrorStream second(out);
    first << Lex::sev_fatal << "a" << Lex::endMessage;
    second << "plain" << Lex::endMessage;
    first.silent() << Lex::sev_error << "hidden" << Lex::endMessage;
    first << Lex::sev_error << "open";
    first.clear();
    second << Lex::sev_warning << "w" << Lex::endMessage;
    Lex::ErrorStream::listener(nullptr);
    second << Lex::sev_error << "unheard" << Lex::endMessage;
    EXPECT_EQ("fatal: a\nplain\nwarning: w\nerror: unheard\n", out.str());
    EXPECT_EQ((std::vector<unsigned>{400, 0, 200}), g_heard);
}

// Lines of a console stream go to the installed output with their severity;
// the listener hears only streams with their own target.
TEST(ErrorStream, ConsoleLinesGoToTheInstalledOutput)
{
    struct Recorder : Lex::MessageOutput {
        std::vector<std::pair<unsigned, std::string>> lines;
        std::string rest;
        void message(ErrorSeverity const& severity, std::string const& line) override
        {
            lines.push_back({severity.level, line});
        }
        void failure(std::string const& text) override { rest += "failure " + text; }
        void note(std::string const& text) override { rest += "note " + text; }
    } recorder;
    g_heard.clear();
    Lex::ErrorStream::listener([](ErrorSeverity const& severity) { g_heard.push_back(severity.level); });
    Lex::message_output(&recorder);
    Lex::ErrorStream console;
    console.cap(Lex::sev_error);
    console << Location(Filename("a\nb.h"), 3) << Lex::sev_fatal << "gone" << Lex::endMessage;
    console << "plain" << '\0' << "cut" << Lex::endMessage;
    console.silent() << Lex::sev_warning << "hidden" << Lex::endMessage;
    Lex::message_output(nullptr);
    Lex::ErrorStream::listener(nullptr);
    EXPECT_EQ((std::vector<std::pair<unsigned, std::string>>{{300, "a\\nb.h:3: error: gone\n"}, {0, "plain\n"}}),
              recorder.lines);
    EXPECT_EQ("", recorder.rest);
    EXPECT_TRUE(g_heard.empty());
    EXPECT_EQ(Lex::sev_error, console.severity());
}

TEST(ErrorStream, CapLowersTheSeveritiesAboveIt)
{
    g_heard.clear();
    Lex::ErrorStream::listener([](ErrorSeverity const& severity) { g_heard.push_back(severity.level); });
    std::ostringstream out;
    Lex::ErrorStream stream(out);
    stream.cap(Lex::sev_error);
    stream << Location(Filename("a.h"), 2) << Lex::sev_fatal << "loop" << Lex::endMessage;
    stream << Lex::sev_warning << "w" << Lex::endMessage;
    Lex::ErrorStream::listener(nullptr);
    EXPECT_EQ("a.h:2: error: loop\nwarning: w\n", out.str());
    EXPECT_EQ((std::vector<unsigned>{300, 200}), g_heard);
    EXPECT_EQ(Lex::sev_error, stream.severity());

    stream.cap(Lex::sev_fatal) << Lex::sev_fatal << "fatal again" << Lex::endMessage;
    EXPECT_EQ(Lex::sev_fatal, stream.severity());
}

TEST(ErrorCollector, MessageKeepsHighestSeverityGiven)
{
    Lex::ErrorCollector raised, lowered;
    raised << Lex::sev_warning << Lex::sev_error << "t" << Lex::endMessage;
    lowered << Lex::sev_error << Lex::sev_warning << "t" << Lex::endMessage;
    EXPECT_STREQ("error", raised.severity().text);
    EXPECT_STREQ("error", lowered.severity().text);
    EXPECT_EQ(Lex::sev_none, Lex::ErrorCollector().severity());
}

TEST(ErrorCollector, DropsRepeatsAndKeepsDistinctMessages)
{
    Filename a("a.h");
    Lex::ErrorCollector c;
    c << Location(a, 3) << Lex::sev_error << "dup" << Lex::endMessage;
    c << Location(a, 3) << Lex::sev_error << "dup" << Lex::endMessage;         // same: dropped
    c << Location(Filename("a.h"), 3) << ErrorSeverity{300, "other"} << "dup" << Lex::endMessage; // same level
    EXPECT_EQ(1, c.index());
    c << Location(a, 4) << Lex::sev_error << "dup" << Lex::endMessage;         // other line
    c << Lex::sev_error << "dup" << Lex::endMessage;                           // no location
    c << Lex::sev_error << "dup" << Lex::endMessage;                           // repeat of that
    c << Location(a, 3) << Lex::sev_warning << "dup" << Lex::endMessage;       // other level
    c << Location(a, 3) << Lex::sev_error << "dup2" << Lex::endMessage;        // other text
    EXPECT_EQ(5, c.index());
}

TEST(ErrorCollector, ShiftReplaysInOrderAndEmpties)
{
    Lex::ErrorCollector c;
    c << Lex::sev_warning << "a long first message" << Lex::endMessage;
    c << Location(Filename("x.h"), 9) << Lex::sev_fatal << "short" << Lex::endMessage;
    c << "bare " << 42 << Lex::endMessage;
    c << Location() << Lex::sev_error << "no file" << Lex::endMessage;
    c << Lex::sev_error << "unclosed";
    c.clear();
    EXPECT_EQ(4, c.index());
    EXPECT_STREQ("fatal", c.severity().text);

    std::ostringstream out;
    Lex::ErrorStream stream(out);
    c.Shift(stream);
    EXPECT_EQ("warning: a long first message\n"
              "x.h:9: fatal: short\n"
              "bare 42\n"
              "error: no file\n",
              out.str());
    EXPECT_EQ(0, c.index());
    EXPECT_EQ(Lex::sev_none, c.severity());
    EXPECT_EQ(Lex::sev_fatal, stream.severity());
}

TEST(ErrorCollector, ShiftIntoAnotherCollectorDeduplicates)
{
    Lex::ErrorCollector from, into;
    into << Lex::sev_error << "held" << Lex::endMessage;
    from << Lex::sev_error << "held" << Lex::endMessage;
    from << Location(Filename("y.h"), 2) << Lex::sev_message << "new" << Lex::endMessage;
    from.Shift(into);
    EXPECT_EQ(2, into.index());

    std::ostringstream out;
    Lex::ErrorStream stream(out);
    into.Shift(stream);
    EXPECT_EQ("error: held\ny.h:2: message: new\n", out.str());
}

TEST(ErrorCollector, SeverityIsFirstOfHighestAndIndexTrimsFromEnd)
{
    Lex::ErrorCollector c;
    c << Lex::sev_warning << "1" << Lex::endMessage;
    c << ErrorSeverity{300, "first"} << "2" << Lex::endMessage;
    c << Lex::sev_error << "3" << Lex::endMessage;
    EXPECT_STREQ("first", c.severity().text);
    c.index(5);
    EXPECT_EQ(3, c.index());
    c.index(1);
    EXPECT_EQ(1, c.index());
    EXPECT_STREQ("warning", c.severity().text);
}

} // namespace
