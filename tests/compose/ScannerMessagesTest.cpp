#include "compose/ScannerMessages.h"

#include "../Captured.h"
#include "scanner/ErrorStream.h"

#include <gtest/gtest.h>

namespace {

// The scanner's console lines reach the engine for standard error, of the
// kind their severity gives, counted like the log's own messages; its last
// words and notes keep their streams.
TEST(ScannerMessages, ForwardsIntoTheEngine)
{
    ScannerMessages::Install();
    testutil::Captured captured;
    Diagnostics::ResetCounts();
    Lex::ErrorStream console;
    console << Lex::sev_fatal << "f" << Lex::endMessage;
    console << Lex::sev_error << "e" << Lex::endMessage;
    console << Lex::sev_warning << "w" << Lex::endMessage;
    console << Lex::sev_message << "m" << Lex::endMessage;
    console << "n" << Lex::endMessage;
    Lex::message_output().failure("out of memory\n");
    Lex::message_output().note("utime 5 failed: 1\n");

    struct Expected {
        DiagKind kind;
        DiagStream stream;
        char const* text;
    };
    Expected const expected[] = {
        {DiagKind::Error, DiagStream::Err, "fatal: f\n"},   {DiagKind::Error, DiagStream::Err, "error: e\n"},
        {DiagKind::Warning, DiagStream::Err, "warning: w\n"}, {DiagKind::Info, DiagStream::Err, "message: m\n"},
        {DiagKind::Info, DiagStream::Err, "n\n"},           {DiagKind::Failure, DiagStream::Err, "out of memory\n"},
        {DiagKind::Info, DiagStream::Out, "utime 5 failed: 1\n"},
    };
    auto const& entries = captured.Consumer().Entries();
    ASSERT_EQ(std::size(expected), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(expected[i].kind, entries[i].kind) << i;
        EXPECT_EQ(expected[i].stream, entries[i].stream) << i;
        EXPECT_EQ(expected[i].text, entries[i].text) << i;
    }
    EXPECT_EQ(2, Diagnostics::GetErrorCount());
    EXPECT_EQ(1, Diagnostics::GetWarningCount());
    Diagnostics::ResetCounts();
}

} // namespace
