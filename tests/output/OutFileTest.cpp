#include "output/OutFile.h"

#include "output/CppFile.h"

#include "../Captured.h"
#include "OptionGuard.h"
#include "../parser/Scanned.h"
#include "../scanner/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <utime.h>

namespace {

using testutil::ReadFile;

time_t MTime(std::string const& path)
{
    struct stat record;
    return ::stat(path.c_str(), &record) == 0 ? record.st_mtime : 0;
}

void SetMTime(std::string const& path, time_t t)
{
    struct utimbuf times = {t, t};
    ASSERT_EQ(0, ::utime(path.c_str(), &times));
}

// The text one SaveTokens call writes over the whole scanned unit (or from
// the first token with the given text).
std::string Written(std::string const& path, Scanned const& source, char const* startAfter = nullptr,
                    char const* stopAt = nullptr, Lex::Token* first = nullptr)
{
    OutFile file(path.c_str());
    file.SaveTokens(first ? first : source.unit.first(), nullptr, startAfter, stopAt);
    file.Close();
    return ReadFile(path);
}

class OutFileTest : public testing::Test {
protected:
    testutil::TempFolder m_folder;
    testutil::OptionGuard m_options{false, nullptr};
};

TEST_F(OutFileTest, IdenticalRegenerationGetsTheOldTimeBack)
{
    std::string path = m_folder.file("X.h", "int a;\n");
    time_t old = time(nullptr) - 100;
    SetMTime(path, old);
    OutFile same(path.c_str());
    same.SaveString("int a;\n");
    same.Close();
    EXPECT_FALSE(same.HasDataChanged());
    EXPECT_TRUE(same.RestoreMTime());
    EXPECT_EQ(old, MTime(path));

    OutFile changed(path.c_str());
    changed.SaveString("int b;\n");
    changed.Close();
    EXPECT_TRUE(changed.HasDataChanged());
    EXPECT_EQ("int b;\n", ReadFile(path));

    OutFile fresh(m_folder.path("New.h").c_str());
    fresh.SaveString("x");
    fresh.Close();
    EXPECT_TRUE(fresh.HasDataChanged());
    EXPECT_FALSE(fresh.RestoreMTime());

    OutFile untouched(m_folder.path("Never.h").c_str());
    EXPECT_FALSE(untouched.HasDataChanged());
    EXPECT_FALSE(untouched.RestoreMTime());
    EXPECT_EQ(0, MTime(m_folder.path("Never.h")));
}

TEST_F(OutFileTest, ComparisonSeesBytesBehindANul)
{
    std::string path = m_folder.path("Bin.h");
    std::ofstream(path, std::ios::binary).write("ab\0cd", 5);
    OutFile file(path.c_str());
    file.GetStream()->write("ab\0ce", 5);
    file.Close();
    EXPECT_TRUE(file.HasDataChanged());
}

TEST_F(OutFileTest, MissingFoldersAreCreatedAndBackslashesReadAsSlashes)
{
    OutFile deep(m_folder.path("a/b/c/X.h").c_str());
    deep.SaveString("x");
    deep.Close();
    EXPECT_EQ("x", ReadFile(m_folder.path("a/b/c/X.h")));

    std::string windows = m_folder.path("d\\e\\Y.h");
    OutFile back(windows.c_str());
    back.SaveString("y");
    back.Close();
    EXPECT_EQ("y", ReadFile(m_folder.path("d/e/Y.h")));

    OutFileList list;
    OutFile* first = list.GetFileObject(m_folder.path("out\\X.h").c_str());
    EXPECT_EQ(first, list.GetFileObject(m_folder.path("out/X.h").c_str()));
    EXPECT_EQ(first, list.GetOpenFile(m_folder.path("out\\X.h").c_str()));
    EXPECT_EQ(nullptr, list.GetOpenFile(m_folder.path("out/Y.h").c_str()));
    list.CloseAll();
    EXPECT_EQ(0, list.GetCount());
}

TEST_F(OutFileTest, UnwritableFileIsAnErrorAndNeverUnchanged)
{
    m_folder.file("plain", "a file where a folder should be");
    OutFile file(m_folder.path("plain/X.h").c_str());
    testutil::Captured captured;
    file.SaveString("x");
    file.SaveString("y");
    file.Close();
    std::string console = captured.All();
    EXPECT_EQ("mosa++ : error: cannot write file " + m_folder.path("plain/X.h") + ": Not a directory\n", console);
    EXPECT_TRUE(file.HasDataChanged());
    EXPECT_FALSE(file.RestoreMTime());
}

TEST_F(OutFileTest, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary)
{
    // A folder standing at the temporary name makes the write fail after
    // the old content was read.
    std::string path = m_folder.file("X.h", "old content\n");
    m_folder.folder(".X.h.mosa-new");
    m_folder.file(".X.h.mosa-new/blocker");
    OutFile file(path.c_str());
    testutil::Captured captured;
    file.SaveString("new content\n");
    EXPECT_EQ("old content\n", testutil::ReadFile(path)) << "nothing lands before the file is closed";
    file.Close();
    std::string console = captured.All();
    EXPECT_NE(std::string::npos, console.find("error: cannot write file " + path)) << console;
    EXPECT_EQ("old content\n", testutil::ReadFile(path));
    EXPECT_TRUE(file.HasDataChanged());
}

TEST_F(OutFileTest, SourceFileOfTheRunIsNeverOverwritten)
{
    std::string source = m_folder.file("Foo.h", "class Foo {};\n");
    OutFile::AddSourcePath(source.c_str());
    OutFile file(m_folder.path("./Foo.h").c_str());
    testutil::Captured captured;
    file.SaveString("overwritten");
    file.Close();
    std::string console = captured.All();
    OutFile::ClearSourcePaths();
    EXPECT_NE(std::string::npos, console.find("error: cannot write file")) << console;
    EXPECT_EQ("class Foo {};\n", ReadFile(source));
    EXPECT_TRUE(file.HasDataChanged());
}

TEST_F(OutFileTest, DirectivesStartEachRangeAndFollowLineJumps)
{
    Scanned source("int x;\nint gone;\nint y;\n", "m/t.h");
    // Remove "\nint gone;": the line break of line 2 follows "x;" directly.
    Lex::Token* end = source("gone")->next()->next();
    for (Lex::Token* t = source(";")->next(); t != end;) {
        Lex::Token* next = t->next();
        t->delete_token();
        t = next;
    }
    std::string path = m_folder.path("X.h");
    EXPECT_EQ("\n#line 1 \"m/t.h\"\nint x;\n#line 2 \"m/t.h\"\n\nint y;\n", Written(path, source));

    // A token without source position in between: the next module token
    // gets a directive again.
    Lex::Token* inserted = new Lex::Token(Lex::TOK_STRING_VAL, Lex::Token::cpp_id, "/*new*/");
    source("x")->AddTokenAfter(*inserted);
    EXPECT_EQ("\n#line 1 \"m/t.h\"\nint x/*new*/\n#line 1 \"m/t.h\"\n;\n#line 2 \"m/t.h\"\n\nint y;\n",
              Written(path, source));

    testutil::OptionGuard noLine(true, nullptr);
    EXPECT_EQ("int x/*new*/;\nint y;\n", Written(path, source));
}

TEST_F(OutFileTest, StartAfterAndStopAtTexts)
{
    testutil::OptionGuard noLine(true, nullptr);
    Scanned source("class A {} ; int z; int w;");
    std::string path = m_folder.file("X.h", "old");
    EXPECT_EQ("", Written(path, source, "no such text"));
    EXPECT_EQ("} ;", Written(path, source, nullptr, ";", source("}")));
    EXPECT_EQ(" int z; int w;", Written(path, source, ";"));
}

TEST_F(OutFileTest, TokensWithAClearedWriteConditionAreLeftOut)
{
    testutil::OptionGuard noLine(true, nullptr);
    Scanned source("int a; int b;");
    char off = 0, on = 1;
    source("a")->condition = &off;
    source("b")->condition = &on;
    EXPECT_EQ("int ; int b;", Written(m_folder.path("X.h"), source));
}

TEST_F(OutFileTest, JavaLikeFileCommentsOutTheLayerLineAndKeepsThrowAsWritten)
{
    Scanned source("layer foo;\nvoid f() throws E { throw new E(); }\n", "F.jak");
    EXPECT_EQ("\n//#line 1 \"F.jak\"\n//layer foo;\nvoid f() throws E { throw new E(); }\n",
              Written(m_folder.path("F.JAVA"), source));
    EXPECT_EQ("\n#line 1 \"F.jak\"\n//layer foo;\nvoid f() throws E { throw new E(); }\n",
              Written(m_folder.path("F.cs"), source));
    EXPECT_EQ("\n#line 1 \"F.jak\"\nlayer foo;\nvoid f() throws E { throw new E(); }\n",
              Written(m_folder.path("F.h"), source));
}

TEST_F(OutFileTest, IncludeInsideAnOpenNamespaceIsMovedOut)
{
    testutil::OptionGuard options(true, "N");
    Scanned source("int a;\n#include \"b.h\"\nint c;\n");
    std::string path = m_folder.path("X.h");
    {
        OutFile file(path.c_str());
        CppFile frame(&file);
        frame.OpenNS();
        file.SaveTokens(source.unit.first(), nullptr, nullptr, nullptr);
        frame.CloseNS();
    }
    EXPECT_EQ("namespace N{\nint a;\n\n\n} //end namespace N\n#include \"b.h\"\nnamespace N{\nint c;\n"
              "\n\n} //end namespace N\n",
              ReadFile(path));

    // No namespace open: the include stays where it is.
    EXPECT_EQ("int a;\n#include \"b.h\"\nint c;\n", Written(path, source));
}

TEST_F(OutFileTest, CarriageReturnsStayWhereTheModuleHasThem)
{
    testutil::OptionGuard noLine(true, nullptr);
    Scanned source("int a;\r\n/* x\r\ny */ \rint b; \\\r\n\r\n");
    EXPECT_EQ("int a;\r\n/* x\r\ny */ \rint b; \\\r\n\r\n", Written(m_folder.path("X.h"), source));
}

} // namespace
