#include "base/Diagnostics.h"

#include "../scanner/TempFolder.h"
#include "../Captured.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

using testutil::ReadFile;

// The console writes standard output buffered and standard error at once:
// a text flushed before or after, or one whose standard output is flushed
// first, fixes where both streams meet. Written by a child process whose
// streams share one file.
TEST(Diagnostics, ConsoleKeepsTheInterleavingOfTheStreams)
{
    testutil::TempFolder tmp;
    std::string path = tmp.path("console.txt");
    EXPECT_EXIT(
        {
            if (!std::freopen(path.c_str(), "w", stdout) || dup2(fileno(stdout), 2) < 0)
                std::exit(1);
            Diagnostics::Report(DiagKind::Progress, DiagStream::Out, DiagFlush::None, "a\n");
            Diagnostics::Report(DiagKind::Error, DiagStream::Err, DiagFlush::OutBefore, "b\n");
            Diagnostics::Report(DiagKind::Progress, DiagStream::Out, DiagFlush::None, "c\n");
            Diagnostics::Report(DiagKind::Failure, DiagStream::Err, DiagFlush::None, "d\n");
            Diagnostics::Printf(DiagKind::Progress, DiagFlush::After, "%s %d\n", "e", 5);
            Diagnostics::Report(DiagKind::Listing, DiagStream::Err, DiagFlush::None, "f\n");
            Diagnostics::Report(DiagKind::Listing, DiagStream::Out, DiagFlush::None, "g\n");
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ("a\nb\nd\nc\ne 5\nf\ng\n", ReadFile(path));
}

TEST(Diagnostics, AFullConsoleFailsTheFlushedReport)
{
    EXPECT_EXIT(
        {
            if (!std::freopen("/dev/full", "w", stdout))
                std::exit(1);
            bool flushed = Diagnostics::Report(DiagKind::Info, DiagStream::Out, DiagFlush::After, "lost\n");
            std::exit(flushed ? 0 : 3);
        },
        testing::ExitedWithCode(3), "");
}

TEST(Diagnostics, CountsErrorsAndWarningsOnly)
{
    testutil::Captured captured;
    Diagnostics::ResetCounts();
    for (DiagKind kind : {DiagKind::Error, DiagKind::Warning, DiagKind::Warning, DiagKind::Recovered, DiagKind::Info,
                          DiagKind::Progress, DiagKind::Listing, DiagKind::Failure})
        Diagnostics::Report(kind, DiagStream::Out, DiagFlush::None, "x");
    Diagnostics::Count(DiagKind::Error);
    Diagnostics::Count(DiagKind::Info);
    EXPECT_EQ(2, Diagnostics::GetErrorCount());
    EXPECT_EQ(2, Diagnostics::GetWarningCount());
    EXPECT_TRUE(Diagnostics::HasErrors());
    Diagnostics::ResetCounts();
    EXPECT_EQ(0, Diagnostics::GetErrorCount());
    EXPECT_EQ(0, Diagnostics::GetWarningCount());
    EXPECT_FALSE(Diagnostics::HasErrors());
}

TEST(Diagnostics, CapturingKeepsKindStreamAndBytesInOrder)
{
    testutil::Captured captured;
    Diagnostics::Printf(DiagKind::Progress, DiagFlush::After, "%d files\n", 3);
    Diagnostics::Report(DiagKind::Error, DiagStream::Err, DiagFlush::OutBefore, std::string("n\0ul\n", 5));
    Diagnostics::Printf(DiagKind::Warning, DiagFlush::None, "%s", "");
    auto const& entries = captured.Consumer().Entries();
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ(DiagKind::Progress, entries[0].kind);
    EXPECT_EQ(DiagStream::Out, entries[0].stream);
    EXPECT_EQ(DiagKind::Error, entries[1].kind);
    EXPECT_EQ(DiagStream::Err, entries[1].stream);
    EXPECT_EQ(std::string("n\0ul\n", 5), entries[1].text);
    EXPECT_EQ(DiagKind::Warning, entries[2].kind);
    EXPECT_EQ("3 files\n", captured.Out());
    EXPECT_EQ(std::string("n\0ul\n", 5), captured.Err());
    EXPECT_EQ(std::string("3 files\nn\0ul\n", 13), captured.Consumer().All());
    captured.Clear();
    EXPECT_EQ("", captured.Consumer().All());
    Diagnostics::ResetCounts();
}

TEST(Diagnostics, AGuardRestoresTheConsumerBefore)
{
    testutil::Captured outer;
    Diagnostics::Printf(DiagKind::Info, DiagFlush::None, "outer 1\n");
    {
        testutil::Captured inner;
        Diagnostics::Printf(DiagKind::Info, DiagFlush::None, "inner\n");
        EXPECT_EQ("inner\n", inner.Out());
    }
    Diagnostics::Printf(DiagKind::Info, DiagFlush::None, "outer 2\n");
    EXPECT_EQ("outer 1\nouter 2\n", outer.Out());

    // The console is what a guard over no installed consumer restores.
    DiagnosticConsumer* mine = Diagnostics::Install(nullptr);
    EXPECT_EQ(static_cast<DiagnosticConsumer const*>(&outer.Consumer()), mine);
    EXPECT_EQ(nullptr, Diagnostics::Install(mine));
}

} // namespace

TEST(Diagnostics, ALimitShowsTheFirstProblemsAndCountsTheRest)
{
    testutil::Captured captured;
    Diagnostics::ResetCounts();
    {
        DiagnosticsLimit limit("A.h", 2);
        for (int i = 0; i < 3; ++i)
            Diagnostics::Report(DiagKind::Error, DiagStream::Err, DiagFlush::None, "e" + std::to_string(i) + "\n");
        Diagnostics::Report(DiagKind::Warning, DiagStream::Err, DiagFlush::None, "w\n");
        // Progress is never held back.
        Diagnostics::Printf(DiagKind::Progress, DiagFlush::None, "p\n");
    }
    Diagnostics::Report(DiagKind::Error, DiagStream::Err, DiagFlush::None, "after\n");
    EXPECT_EQ("e0\ne1\nA.h : info: 2 more errors and warnings are not shown\nafter\n", captured.Err());
    EXPECT_EQ("p\n", captured.Out());
    // Hidden errors still fail the run.
    EXPECT_EQ(4, Diagnostics::GetErrorCount());
    EXPECT_EQ(1, Diagnostics::GetWarningCount());
    Diagnostics::ResetCounts();
}
