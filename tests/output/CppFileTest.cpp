#include "output/ClassFile.h"
#include "output/CppFile.h"
#include "output/OutFile.h"

#include "OptionGuard.h"
#include "../scanner/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

namespace {

using testutil::ReadFile;

class CppFileTest : public testing::Test {
protected:
    // What the function writes through a CppFile on a fresh file.
    template <class Write>
    std::string Frame(Write write, char const* name = "X.h")
    {
        std::string path = m_folder.path(name);
        {
            OutFile file(path.c_str());
            CppFile frame(&file);
            write(frame);
        }
        return ReadFile(path);
    }

    testutil::TempFolder m_folder;
};

TEST_F(CppFileTest, IncludeAddsHeaderExtensionUnlessPresent)
{
    struct Case {
        char const* name;
        char const* line;
    } cases[] = {
        {"Foo", "#include \"Foo.h\"\n"},
        {"Foo.h", "#include \"Foo.h\"\n"},
        {"Foo.ah", "#include \"Foo.ah\"\n"},
        {"Foo.H", "#include \"Foo.H.h\"\n"},
    };
    for (Case const& c : cases)
        EXPECT_EQ(c.line, Frame([&](CppFile& f) { f.Include(c.name); })) << c.name;
}

TEST_F(CppFileTest, GuardSymbols)
{
    EXPECT_STREQ("a_b_h_h__included\n", CppFile::CreateIfDef("a.b.h").GetBuffer());
    testutil::OptionGuard options(false, nullptr);
    EXPECT_EQ("#ifndef Foo_h_h__included\n#define Foo_h_h__included\n\n\n#endif //Foo_h_h__included\n",
              Frame([](CppFile& f) {
                  f.BeginGuard();
                  f.EndGuard();
              }, "Foo.h"));
}

TEST_F(CppFileTest, NamespaceIsClosedOnlyWhereOpened)
{
    testutil::OptionGuard options(false, "N");
    EXPECT_EQ("using namespace N;\n\n#endif //A_h__included\n", Frame([](CppFile& f) {
                  f.UsingNS();
                  f.EndGuard("A");
              }));
    EXPECT_EQ("namespace N{\nclass B;\n\n\n} //end namespace N\n\n#endif //A_h__included\n",
              Frame([](CppFile& f) {
                  f.OpenNS();
                  f.FwdDecl("B");
                  f.EndGuard("A");
              }));
}

TEST_F(CppFileTest, ClassFileWithoutImplementationWritesTheHeaderOnly)
{
    testutil::OptionGuard options(false, nullptr);
    ClassFile cls("Layer_X");
    cls.m_Includes.Add("Base");
    cls.m_Forwards.Add("Other");
    EXPECT_TRUE(cls.WriteClass(m_folder.path().c_str(), "class Layer_X : public Base { Other* p; };\n"));
    EXPECT_EQ("#ifndef Layer_X_h_h__included\n#define Layer_X_h_h__included\n\n"
              "#include \"Base.h\"\nclass Other;\nclass Layer_X : public Base { Other* p; };\n"
              "\n#endif //Layer_X_h_h__included\n\n",
              ReadFile(m_folder.path("Layer_X.h")));
    EXPECT_NE(0, access(m_folder.path("Layer_X.cpp").c_str(), F_OK));
}

TEST_F(CppFileTest, ClassFileInANamespaceOpensWhatItCloses)
{
    testutil::OptionGuard options(false, "N");
    m_folder.file("Base.h", "namespace N { class Base {}; }\n");
    ClassFile cls("Impl");
    cls.m_Includes.Add("Base");
    cls.m_ImplText = "int Impl::f() { return 1; }\n";
    EXPECT_TRUE(cls.WriteClass(m_folder.path().c_str(), "class Impl : public Base { public: int f(); };\n"));
    EXPECT_EQ("#ifndef Impl_h_h__included\n#define Impl_h_h__included\n\n#include \"Base.h\"\nnamespace N{\n"
              "class Impl : public Base { public: int f(); };\n\n\n} //end namespace N\n"
              "\n#endif //Impl_h_h__included\n\n",
              ReadFile(m_folder.path("Impl.h")));
    EXPECT_EQ("#include \"Impl.h\"\nusing namespace N;\nint Impl::f() { return 1; }\n",
              ReadFile(m_folder.path("Impl.cpp")));
    std::string compile = "g++ -fsyntax-only -I" + m_folder.path() + " " + m_folder.path("Impl.cpp");
    EXPECT_EQ(0, system(compile.c_str()));
}

} // namespace
