#include "scanner/ErrorStream.h"
#include "scanner/SysCall.h"
#include "../Captured.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Lex::SysCall;

std::string fatal(char const* call, std::string const& argument, int err)
{
    return "fatal: SysCall::" + std::string(call) + "(): " + argument + ": " + std::strerror(err) + "\n";
}

TEST(SysCall, FailuresReportOneFatalLineOnlyWithSink)
{
    testutil::TempFolder tmp;
    std::string missing = tmp.path("missing.h");
    std::string existing = tmp.folder("there");
    Lex::FileInfo info{};
    char buf[8];

    struct Case {
        char const* call;
        std::string argument;
        int err;
        bool (*fails)(Lex::ErrorSink*, std::string const&, Lex::FileInfo&, char*);
    };
    std::vector<Case> const cases = {
        {"open", missing, ENOENT,
         [](Lex::ErrorSink* s, std::string const& p, Lex::FileInfo&, char*) {
             return SysCall::open(p.c_str(), O_RDONLY, s) == -1;
         }},
        {"close", "9999", EBADF,
         [](Lex::ErrorSink* s, std::string const&, Lex::FileInfo&, char*) { return !SysCall::close(9999, s); }},
        {"read", "-1", EBADF,
         [](Lex::ErrorSink* s, std::string const&, Lex::FileInfo&, char* b) {
             return SysCall::read(-1, b, 8, s) == -1;
         }},
        {"write", "-1", EBADF,
         [](Lex::ErrorSink* s, std::string const&, Lex::FileInfo&, char* b) {
             return SysCall::write(-1, b, 8, s) == -1;
         }},
        {"chdir", missing, ENOENT,
         [](Lex::ErrorSink* s, std::string const& p, Lex::FileInfo&, char*) { return !SysCall::chdir(p.c_str(), s); }},
        {"stat", missing, ENOENT,
         [](Lex::ErrorSink* s, std::string const& p, Lex::FileInfo& i, char*) {
             return !SysCall::stat(p.c_str(), i, s);
         }},
        {"fstat", "-1", EBADF,
         [](Lex::ErrorSink* s, std::string const&, Lex::FileInfo& i, char*) { return !SysCall::fstat(-1, i, s); }},
        {"mkdir", existing, EEXIST,
         [](Lex::ErrorSink* s, std::string const& p, Lex::FileInfo&, char*) { return !SysCall::mkdir(p.c_str(), s); }},
        {"opendir", missing, ENOENT,
         [](Lex::ErrorSink* s, std::string const& p, Lex::FileInfo&, char*) {
             return SysCall::opendir(p.c_str(), s) == nullptr;
         }},
        {"fopen", missing, ENOENT,
         [](Lex::ErrorSink* s, std::string const& p, Lex::FileInfo&, char*) {
             return SysCall::fopen(p.c_str(), "r", s) == nullptr;
         }},
        {"readlink", missing, ENOENT,
         [](Lex::ErrorSink* s, std::string const& p, Lex::FileInfo&, char* b) {
             return SysCall::readlink(p.c_str(), b, 8, s) == nullptr;
         }},
    };
    for (Case const& c : cases) {
        std::ostringstream out;
        Lex::ErrorStream stream(out);
        EXPECT_TRUE(c.fails(&stream, c.argument, info, buf)) << c.call;
        EXPECT_EQ(fatal(c.call, c.argument, c.err), out.str());
        EXPECT_TRUE(c.fails(nullptr, c.argument, info, buf)) << c.call;
    }
}

TEST(SysCall, CallsWithoutArgumentLeaveItOut)
{
    std::ostringstream out;
    Lex::ErrorStream stream(out);
    char buf[1];
    EXPECT_EQ(nullptr, SysCall::getcwd(buf, sizeof buf, &stream));
    EXPECT_EQ(std::string("fatal: SysCall::getcwd(): ") + std::strerror(ERANGE) + "\n", out.str());

    std::vector<char> cwd(4096);
    EXPECT_EQ(cwd.data(), SysCall::getcwd(cwd.data(), cwd.size(), &stream));
    EXPECT_GT(SysCall::time(nullptr, &stream), 0);
}

TEST(SysCall, OpenCreatesWithReadWriteModeAndFilesRoundTrip)
{
    testutil::TempFolder tmp;
    std::string path = tmp.path("new.txt");
    mode_t old = ::umask(022);
    int fd = SysCall::open(path.c_str(), O_CREAT | O_WRONLY, nullptr);
    ::umask(old);
    ASSERT_GE(fd, 0);
    char text[] = "hello";
    EXPECT_EQ(5, SysCall::write(fd, text, 5, nullptr));
    EXPECT_TRUE(SysCall::close(fd, nullptr));

    Lex::FileInfo info{};
    ASSERT_TRUE(SysCall::stat(path.c_str(), info, nullptr));
    EXPECT_EQ(mode_t(0644), info.st_mode & 0777);
    EXPECT_FALSE(info.is_folder());
    EXPECT_EQ(5, info.file_size());

    fd = SysCall::open(path.c_str(), O_RDONLY, nullptr);
    char back[8] = {};
    EXPECT_EQ(5, SysCall::read(fd, back, sizeof back, nullptr));
    EXPECT_STREQ("hello", back);
    EXPECT_TRUE(SysCall::close(fd, nullptr));

    EXPECT_TRUE(SysCall::remove(path.c_str()));
    EXPECT_FALSE(SysCall::remove(path.c_str()));
}

TEST(SysCall, ReaddirSkipsDotEntries)
{
    testutil::TempFolder tmp;
    std::string empty = tmp.folder("empty");
    DIR* dir = SysCall::opendir(empty.c_str(), nullptr);
    ASSERT_NE(nullptr, dir);
    EXPECT_EQ(nullptr, SysCall::readdir(dir, nullptr));
    EXPECT_TRUE(SysCall::closedir(dir, nullptr));

    tmp.file("b.h");
    tmp.file("a.h");
    dir = SysCall::opendir(tmp.path().c_str(), nullptr);
    ASSERT_NE(nullptr, dir);
    std::vector<std::string> names;
    while (char const* name = SysCall::readdir(dir, nullptr))
        names.push_back(name);
    EXPECT_TRUE(SysCall::closedir(dir, nullptr));
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"a.h", "b.h", "empty"}), names);
}

TEST(SysCall, LinksAreMadeAndReadWithinCapacity)
{
    testutil::TempFolder tmp;
    std::string link = tmp.path("l");
    EXPECT_TRUE(SysCall::createlink(link.c_str(), "abc"));      // dangling target is fine
    EXPECT_FALSE(SysCall::createlink(link.c_str(), "other"));   // link exists

    char buf[16];
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(buf, SysCall::readlink(link.c_str(), buf, sizeof buf, nullptr));
    EXPECT_STREQ("abc", buf);
    std::string plain = tmp.file("plain");
    EXPECT_EQ(nullptr, SysCall::readlink(plain.c_str(), buf, sizeof buf, nullptr));

    // A 4095-character text fits a 4096-byte buffer with its terminator; a
    // buffer one byte smaller fails without writing past its end.
    std::string longText(4095, 'a');
    std::string longLink = tmp.path("long");
    ASSERT_TRUE(SysCall::createlink(longLink.c_str(), longText.c_str()));
    std::vector<char> big(4097, 'x');
    ASSERT_EQ(big.data(), SysCall::readlink(longLink.c_str(), big.data(), 4096, nullptr));
    EXPECT_EQ(longText, std::string(big.data()));
    EXPECT_EQ('x', big[4096]);

    std::fill(big.begin(), big.end(), 'x');
    std::ostringstream out;
    Lex::ErrorStream stream(out);
    EXPECT_EQ(nullptr, SysCall::readlink(longLink.c_str(), big.data(), 4095, &stream));
    EXPECT_EQ(fatal("readlink", longLink, ENAMETOOLONG), out.str());
    EXPECT_EQ('x', big[4095]);

    // A 4096-character text is either refused by the system or not read.
    std::string tooLong(4096, 'b');
    std::string tooLongLink = tmp.path("toolong");
    if (SysCall::createlink(tooLongLink.c_str(), tooLong.c_str())) {
        EXPECT_EQ(nullptr, SysCall::readlink(tooLongLink.c_str(), big.data(), 4096, nullptr));
    }

    // Read into a string, a link text of any length comes whole.
    std::string text;
    EXPECT_TRUE(SysCall::readlink(longLink.c_str(), text, nullptr));
    EXPECT_EQ(longText, text);
    std::ostringstream noLink;
    Lex::ErrorStream noLinkStream(noLink);
    EXPECT_FALSE(SysCall::readlink(plain.c_str(), text, &noLinkStream));
    EXPECT_EQ(fatal("readlink", plain, EINVAL), noLink.str());
}

TEST(SysCall, LinkedPathIsSeenFromTheLinksFolder)
{
    struct {
        char const* link;
        char const* text;
        char const* path;
    } const cases[] = {
        {"a/b/l.h", "../c/x.h", "a/b/../c/x.h"},
        {"a/b/l.h", "/abs/x.h", "/abs/x.h"},
        {"l.h", "x.h", "x.h"},
        {"/l.h", "x.h", "/x.h"},
    };
    for (auto const& c : cases)
        EXPECT_EQ(c.path, SysCall::linkedPath(c.link, c.text)) << c.link << " -> " << c.text;
}

TEST(SysCall, SetFileTime)
{
    testutil::TempFolder tmp;
    std::string path = tmp.file("f");
    time_t t = 1000000000;
    EXPECT_TRUE(SysCall::SetFileTime(path.c_str(), t, false));
    Lex::FileInfo info{};
    ASSERT_TRUE(SysCall::stat(path.c_str(), info, nullptr));
    EXPECT_EQ(t, info.mod_time());

    std::string missing = tmp.path("missing");
    testutil::Captured captured;
    EXPECT_FALSE(SysCall::SetFileTime(missing.c_str(), t, false));
    std::string printed = captured.All();
    EXPECT_EQ("utime " + std::string(std::ctime(&t)) + " failed: " + std::to_string(ENOENT) + "\n", printed);

    // A time ctime cannot render prints as seconds.
    time_t huge = LONG_MAX;
    ASSERT_EQ(nullptr, std::ctime(&huge));
    captured.Clear();
    EXPECT_FALSE(SysCall::SetFileTime(missing.c_str(), huge, false));
    printed = captured.All();
    EXPECT_EQ("utime " + std::to_string(huge) + " failed: " + std::to_string(ENOENT) + "\n", printed);
}

TEST(SysCall, PathSeparators)
{
    char text[] = "a\\b\\c/d";
    SysCall::MakeUnixPath(text);
    EXPECT_STREQ("a/b/c/d", text);
    SysCall::MakeUnixPath(nullptr);
    char dos[] = "a/b\\c";
    SysCall::MakeDosPath(dos);
    EXPECT_STREQ("a/b\\c", dos);
}

} // namespace
