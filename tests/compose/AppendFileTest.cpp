#include "compose/AppendFile.h"

#include "base/Config.h"
#include "base/ErrorLog.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "compose/TransformedModule.h"

#include "../Captured.h"
#include "CommandLine.h"

#include "../scanner/TempFolder.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <sys/stat.h>
#include <utime.h>
#include <vector>

using testutil::ReadFile;
using testutil::TempFolder;

namespace {

using testutil::SetCommandLine;

time_t MTime(std::string const& path)
{
    struct stat record;
    return ::stat(path.c_str(), &record) == 0 ? record.st_mtime : 0;
}

bool Exists(std::string const& path)
{
    struct stat record;
    return ::lstat(path.c_str(), &record) == 0;
}

// Gives the file a modification time far enough in the past that a rewrite
// shows.
time_t Age(std::string const& path)
{
    time_t old = time(nullptr) - 1000;
    utimbuf times{old, old};
    EXPECT_EQ(0, ::utime(path.c_str(), &times)) << path;
    return old;
}

// Layers A (bottom) and B below src, composed into out.
class AppendFiles : public testing::Test {
protected:
    void SetUp() override
    {
        dir.folder("src");
        dir.folder("src/A");
        dir.folder("src/B");
        dir.folder("out");
        dir.file("src/p.equation", "A\nB\n");
    }
    void TearDown() override { SetCommandLine({"x"}); }

    // Loads the equation into a new stack with the options (-o=out unless
    // another output is asked for); the stack lives until the next call.
    LayerStack& Load(std::vector<std::string> options = {})
    {
        bool hasOut = false;
        for (auto const& option : options)
            hasOut = hasOut || option.compare(0, 3, "-o=") == 0;
        if (!hasOut && !noOut)
            options.push_back("-o=" + dir.path("out"));
        options.push_back(dir.path("src/p"));
        SetCommandLine(options);
        stack.reset(new LayerStack);
        testutil::Captured captured;
        bool ok = stack->LoadEquation(dir.path("src/p").c_str());
        std::string printed = captured.All();
        ErrorLog::CloseLogFile(); // the log must not outlive the test's folder
        EXPECT_TRUE(ok) << printed;
        return *stack;
    }

    // One append pass over a fresh stack; what it printed.
    std::string Run(std::vector<std::string> options = {})
    {
        LayerStack& s = Load(options);
        testutil::Captured captured;
        s.TransformNonSourceFiles();
        return captured.All();
    }

    std::string Out(std::string const& name) { return dir.path("out/" + name); }

    TempFolder dir;
    std::unique_ptr<LayerStack> stack;
    bool noOut = false;
};

std::string Layers(LayerStack& stack)
{
    std::string text;
    for (int i = 0; i < stack.GetCount(); ++i)
        text += std::string(i ? " " : "") + stack[i]->m_LayerName.GetBuffer();
    return text;
}

} // namespace

TEST_F(AppendFiles, LayersAreConcatenatedAndAnUnchangedResultKeepsItsTime)
{
    dir.file("src/A/notes.txt", "lower\n");
    dir.file("src/B/notes.txt", "upper\n");

    EXPECT_EQ("appending file A/notes.txt\nappending file B/notes.txt\n1 files appended (1 changed)\n", Run());
    EXPECT_EQ("lower\nupper\n", ReadFile(Out("notes.txt")));

    time_t old = Age(Out("notes.txt"));
    EXPECT_EQ("appending file A/notes.txt\nappending file B/notes.txt\n1 files appended (0 changed)\n", Run());
    EXPECT_EQ("lower\nupper\n", ReadFile(Out("notes.txt")));
    EXPECT_EQ(old, MTime(Out("notes.txt")));

    // One more byte in the higher layer's file: changed, with a new time.
    dir.file("src/B/notes.txt", "upper!\n");
    EXPECT_EQ("appending file A/notes.txt\nappending file B/notes.txt\n1 files appended (1 changed)\n", Run());
    EXPECT_EQ("lower\nupper!\n", ReadFile(Out("notes.txt")));
    EXPECT_NE(old, MTime(Out("notes.txt")));
}

TEST_F(AppendFiles, HeadersNameTheSourceByKind)
{
    struct Case {
        char const* path;
        bool noLine;
        char const* header;
    };
    Case const cases[] = {
        {"/l/Foo.cpp", false, "\n#line 1 \"/l/Foo.cpp\"\n"},
        {"/l/Foo.cpp", true, "\n//#line 1 \"/l/Foo.cpp\"\n"},
        {"/l/x.c", false, "\n#line 1 \"/l/x.c\"\n"},
        {"/l/x.c", true, "\n//#line 1 \"/l/x.c\"\n"},
        {"/l/x.CC", false, "\n#line 1 \"/l/x.CC\"\n"},
        {"/l/x.h", false, "\n#line 1 \"/l/x.h\"\n"},
        {"/l/x.hpp", true, "\n//#line 1 \"/l/x.hpp\"\n"},
        {"/l/rules.mk", false, "\n# src: #line 1 \"/l/rules.mk\"\n"},
        {"/l/rules.mk", true, "\n# src: //#line 1 \"/l/rules.mk\"\n"},
        {"/l/app.rc", false, "\n//#line 1 \"/l/app.rc\"\n"},
        {"/l/app.rc2", true, "\n//#line 1 \"/l/app.rc2\"\n"},
        {"/l/app.rcinc", false, "\n//#line 1 \"/l/app.rcinc\"\n"},
        {"C:\\src\\l\\Foo.cpp", false, "\n#line 1 \"C:/src/l/Foo.cpp\"\n"},
        {"/l/notes.txt", false, ""},
        {"/l/page.html", true, ""},
        {"/l/grammar.g", false, ""},
        {"/l/sub.equation", false, ""},
    };
    for (Case const& c : cases)
        EXPECT_EQ(c.header, std::string(AppendFile::GetHeader(c.path, c.noLine).GetBuffer()))
            << c.path << (c.noLine ? " -noline" : "");
}

TEST_F(AppendFiles, ImplementationFilesBeginWithTheirHeader)
{
    // A header beside its implementation is appended too, not composed.
    dir.file("src/B/Util.h", "int util();\n");
    dir.file("src/B/Util.cpp", "int util() { return 1; }\n");

    std::string printed = Run();
    EXPECT_NE(std::string::npos, printed.find("appending file B/Util.cpp\n"));
    EXPECT_NE(std::string::npos, printed.find("appending file B/Util.h\n"));
    EXPECT_NE(std::string::npos, printed.find("2 files appended (2 changed)\n"));
    EXPECT_EQ("\n#line 1 \"" + dir.path("src/B/Util.cpp") + "\"\nint util() { return 1; }\n",
              ReadFile(Out("Util.cpp")));

    Run({"-noline"});
    EXPECT_EQ("\n//#line 1 \"" + dir.path("src/B/Util.h") + "\"\nint util();\n", ReadFile(Out("Util.h")));
}

TEST_F(AppendFiles, FilesOfAComposedClassAreSkipped)
{
    dir.file("src/B/Bar.cpp", "raw implementation\n");
    dir.file("src/B/Bar.h", "raw header\n");
    dir.file("src/B/Barn.cpp", "other\n");
    dir.file("out/Bar.cpp", "composed implementation\n");
    dir.file("out/Bar.h", "composed header\n");
    time_t old = Age(Out("Bar.h"));
    Age(Out("Bar.cpp"));

    LayerStack& s = Load();
    TransformedModule bar(s);
    s.m_ComposedClasses.Put("Bar", &bar);
    testutil::Captured captured;
    s.TransformNonSourceFiles();
    std::string printed = captured.All();

    EXPECT_NE(std::string::npos, printed.find("skip append file Bar.cpp\n"));
    EXPECT_NE(std::string::npos, printed.find("skip append file Bar.h\n"));
    EXPECT_NE(std::string::npos, printed.find("appending file B/Barn.cpp\n"));
    EXPECT_NE(std::string::npos, printed.find("1 files appended (1 changed)\n"));
    EXPECT_EQ("composed implementation\n", ReadFile(Out("Bar.cpp")));
    EXPECT_EQ("composed header\n", ReadFile(Out("Bar.h")));
    EXPECT_EQ(old, MTime(Out("Bar.h")));

    // Other kinds of the same name and other names are not the class's.
    EXPECT_TRUE(AppendFile::IsComposedClassFile(s, "Bar", "dep"));
    EXPECT_TRUE(AppendFile::IsComposedClassFile(s, "Bar", "CPP"));
    EXPECT_FALSE(AppendFile::IsComposedClassFile(s, "Bar", "txt"));
    EXPECT_FALSE(AppendFile::IsComposedClassFile(s, "CBar", "cpp"));
    s.m_ComposedClasses.RemoveAll();
}

TEST_F(AppendFiles, EmptySourceEmptiesTheTargetAndCountsAsChanged)
{
    dir.file("src/A/notes.txt", "");
    dir.file("out/notes.txt", "old text\n");
    time_t old = Age(Out("notes.txt"));

    EXPECT_EQ("appending file A/notes.txt\n1 files appended (1 changed)\n", Run());
    EXPECT_EQ("", ReadFile(Out("notes.txt")));
    EXPECT_NE(old, MTime(Out("notes.txt")));

    // An empty result never counts as unchanged.
    EXPECT_EQ("appending file A/notes.txt\n1 files appended (1 changed)\n", Run());
}

TEST_F(AppendFiles, UnreadableSourceWarnsAndTheHeaderStillGoesOut)
{
    // A folder stands where the source file should be.
    std::string source = dir.folder("src/A/Broken.cpp");
    LayerStack& s = Load();
    testutil::Captured captured;
    AppendFile::AppendFileData(*s[0], source.c_str());
    int changed = -1;
    int total = AppendFile::CloseAll(s.m_AppendFiles, changed);
    std::string printed = captured.All();

    EXPECT_EQ(source + " : warning: could not read from file\nappending file A/Broken.cpp\n", printed);
    EXPECT_EQ(1, total);
    EXPECT_EQ(1, changed);
    EXPECT_EQ("\n#line 1 \"" + source + "\"\n", ReadFile(Out("Broken.cpp")));
}

TEST_F(AppendFiles, TargetThatCannotBeWrittenIsAnErrorOnceAndCountsAsChanged)
{
    dir.file("src/A/notes.txt", "lower\n");
    dir.file("src/B/notes.txt", "upper\n");
    std::string target = dir.folder("out/notes.txt");

    EXPECT_EQ("appending file A/notes.txt\n"
              "appending file B/notes.txt\n" +
                  target + " : error: could not write to file\n"
                           "1 files appended (1 changed)\n",
              Run());
}

TEST(AppendFile, ContentIsComparedByteForByte)
{
    TempFolder dir;
    std::string const old("a\0b", 3);
    std::string path = dir.file("t.bin", old);

    struct Case {
        std::vector<std::string> chunks;
        bool changed;
    };
    Case const cases[] = {
        {{std::string("a\0b", 3)}, false},
        {{"a", std::string("\0b", 2)}, false},
        {{std::string("a\0c", 3)}, true}, // differs after a NUL byte
        {{"a"}, true},                      // a prefix of the old content
        {{std::string("a\0bb", 4)}, true},  // longer
    };
    for (Case const& c : cases) {
        dir.file("t.bin", old);
        time_t aged = Age(path);
        AppendFile file{Str(path.c_str())};
        for (std::string const& chunk : c.chunks)
            EXPECT_TRUE(file.Write(chunk.data(), chunk.size()));
        EXPECT_EQ(c.changed, file.Close()) << c.chunks.size() << " " << c.chunks[0].size();
        EXPECT_EQ(c.changed, MTime(path) != aged);
    }
}

TEST_F(AppendFiles, CopyFilesAreCopiedByteForByte)
{
    std::string const bytes("IC\0\x01\xff" "O", 6);
    dir.file("src/A/app.ico", bytes);

    std::string printed = Run();
    EXPECT_EQ("copy file app.ico\n0 files appended (0 changed)\n", printed);
    EXPECT_EQ(bytes, ReadFile(Out("app.ico")));

    // Identical: left alone with its time. Different: replaced.
    time_t old = Age(Out("app.ico"));
    Run();
    EXPECT_EQ(old, MTime(Out("app.ico")));
    dir.file("src/A/app.ico", "new");
    Run();
    EXPECT_EQ("new", ReadFile(Out("app.ico")));
    EXPECT_FALSE(Exists(Out("app.ico.new")));
}

TEST_F(AppendFiles, CopyMakesTheDestinationFolderAndWarnsOnlyOnFailure)
{
    dir.file("src/A/lib.dll", "DLL");
    LayerStack& s = Load();
    s[0]->m_DestDir = Str(dir.path("out/unit/deep").c_str());
    testutil::Captured captured;
    EXPECT_TRUE(AppendFile::CopyFile(*s[0], dir.path("src/A/lib.dll").c_str()));
    EXPECT_EQ("copy file lib.dll\n", captured.All());
    EXPECT_EQ("DLL", ReadFile(dir.path("out/unit/deep/lib.dll")));

    // A folder stands where the copy should go: it stays, with a warning.
    dir.folder("out/lib.dll");
    s[0]->m_DestDir = Str(dir.path("out").c_str());
    captured.Clear();
    EXPECT_FALSE(AppendFile::CopyFile(*s[0], dir.path("src/A/lib.dll").c_str()));
    EXPECT_EQ("copy file lib.dll\n" + dir.path("src/A/lib.dll") + " : warning: could not copy file\n",
              captured.All());
    struct stat record;
    ASSERT_EQ(0, ::stat(Out("lib.dll").c_str(), &record));
    EXPECT_TRUE(S_ISDIR(record.st_mode));
    EXPECT_FALSE(Exists(Out("lib.dll.new")));
}

TEST_F(AppendFiles, EqOnlyComposesEquationFilesOnAFirstRunWithoutOutputFolder)
{
    dir.file("src/A/sub.equation", "X\n");
    dir.file("src/B/sub.equation", "Y\n");
    noOut = true;
    LayerStack& s = Load({"-eqonly"});
    std::string out = dir.path("src/.output.p");
    ASSERT_FALSE(Exists(out));

    testutil::Captured captured;
    s.TransformEquationFiles();
    std::string printed = captured.All();
    EXPECT_EQ("appending file A/sub.equation\nappending file B/sub.equation\n", printed);
    EXPECT_EQ("X\nY\n", ReadFile(out + "/sub.equation"));
    EXPECT_EQ("A B", Layers(s));
    EXPECT_EQ(0, s.m_AppendFiles.GetCount());

    // Unchanged on the next run: the old time stays.
    time_t old = Age(out + "/sub.equation");
    LayerStack& again = Load({"-eqonly"});
    again.TransformEquationFiles();
    EXPECT_EQ(old, MTime(out + "/sub.equation"));
}

TEST_F(AppendFiles, EqImportsComposedEquationFilesBelowTheMainLayers)
{
    dir.folder("src/X");
    dir.folder("src/Y");
    dir.file("src/A/sub.equation", "X\n");
    dir.file("src/B/sub.equation", "Y\n");

    // Without a folder "sub" the layers keep their names.
    noOut = true;
    LayerStack& s = Load({"-eq"});
    testutil::Captured captured;
    s.TransformEquationFiles();
    ErrorLog::CloseLogFile();
    EXPECT_EQ("X Y A B", Layers(s));
    EXPECT_EQ("X\nY\n", ReadFile(dir.path("src/.output.p/sub.equation")));

    // With a folder "sub" below the sources they lie in it.
    dir.folder("src/sub");
    dir.folder("src/sub/X");
    dir.folder("src/sub/Y");
    LayerStack& t = Load({"-eq"});
    t.TransformEquationFiles();
    ErrorLog::CloseLogFile();
    EXPECT_EQ("sub.X sub.Y A B", Layers(t));
    EXPECT_STREQ(dir.path("src/sub/X").c_str(), t[0]->m_Dir);
}

TEST_F(AppendFiles, EqWithoutEquationFilesChangesNothing)
{
    noOut = true;
    LayerStack& s = Load({"-eq"});
    testutil::Captured captured;
    s.TransformEquationFiles();
    EXPECT_EQ("", captured.All());
    EXPECT_EQ("A B", Layers(s));
    EXPECT_FALSE(Exists(dir.path("src/.output.p")));
}
