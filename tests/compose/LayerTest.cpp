#include "compose/Layer.h"

#include "../Captured.h"
#include "../base/CurrentFolder.h"
#include "../scanner/TempFolder.h"

#include "base/Directory.h"
#include "base/ErrorLog.h"
#include "compose/EquationFile.h"
#include "compose/FOPModule.h"
#include "compose/LayerConfig.h"
#include "compose/LayerStack.h"
#include "compose/Module.h"
#include "compose/ParseProject.h"
#include "compose/TransformedModule.h"
#include "parser/SimpleTU.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using testutil::TempFolder;

namespace {

// The names (without folder) of a file list, sorted: the listing order is
// the system's.
std::vector<std::string> Names(StringArray const& paths)
{
    std::vector<std::string> names;
    for (int i = 0; i < paths.GetCount(); ++i) {
        std::string path = paths[i].GetBuffer();
        names.push_back(path.substr(path.rfind('/') + 1));
    }
    std::sort(names.begin(), names.end());
    return names;
}

using List = std::vector<std::string>;

std::string LinkText(std::string const& path)
{
    char buffer[4096];
    ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
    return n < 0 ? std::string() : std::string(buffer, static_cast<size_t>(n));
}

bool Exists(std::string const& path)
{
    struct stat record;
    return ::lstat(path.c_str(), &record) == 0;
}

std::string RealPath(std::string const& path)
{
    char* real = ::realpath(path.c_str(), nullptr);
    std::string text = real ? real : "";
    std::free(real);
    return text;
}

// A layer over a folder, listed, with what the listing printed.
struct Listed {
    Listed(std::string const& folder, char const* name = "L")
        : config(Str(name), Str(name))
    {
        testutil::Captured captured;
        layer.reset(new Layer(stack, Str(folder.c_str()), config, nullptr));
        layer->LoadModules();
        err = captured.Err();
        out = captured.All();
    }

    LayerStack stack;
    LayerConfig config;
    std::unique_ptr<Layer> layer;
    std::string out;
    std::string err;
};

// Sets an environment variable for one test and restores it.
class EnvVar {
public:
    EnvVar(char const* name, char const* value) : m_Name(name)
    {
        if (char const* old = getenv(name)) {
            m_bHad = true;
            m_Old = old;
        }
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvVar()
    {
        if (m_bHad)
            setenv(m_Name.c_str(), m_Old.c_str(), 1);
        else
            unsetenv(m_Name.c_str());
    }

private:
    std::string m_Name;
    std::string m_Old;
    bool m_bHad = false;
};

} // namespace

TEST(Layer, SortsEveryFileKind)
{
    TempFolder tmp;
    tmp.folder("L");
    tmp.folder("other");
    for (char const* name : {"L/A.b.h", "L/Makefile", "L/X.CPP", "L/Foo.h", "L/Foo.cpp", "L/Bar.h", "L/Bar.c",
                             "L/Solo.h", "L/Base.equation", "L/equation", "L/i.ICO", "L/lib.dll", "L/Y.LNK",
                             "L/Z.lnk", "L/M.jak", "L/N.Java", "L/page.html", "L/T.txt", "other/Real.h"})
        tmp.file(name);
    tmp.folder("L/sub");
    tmp.file("L/sub/Deep.h");
    tmp.link("L/Linked.h", "../other/Real.h"); // a link to a file is a file

    testutil::CurrentFolder elsewhere("/");
    Listed listed(tmp.path("L"));
    Layer& layer = *listed.layer;

    EXPECT_EQ((List{"A.b.h", "Linked.h", "M.jak", "N.Java", "Solo.h"}), Names(layer.m_ModuleFiles));
    EXPECT_EQ((List{"Bar.c", "Bar.h", "Foo.cpp", "Foo.h", "T.txt", "X.CPP", "page.html"}),
              Names(layer.m_AppendSources));
    EXPECT_EQ((List{"i.ICO", "lib.dll"}), Names(layer.m_CopyFiles));
    EXPECT_EQ((List{"Base.equation"}), Names(layer.m_EquationFiles));
    EXPECT_FALSE(layer.m_bNoTransform);
    for (int i = 0; i < layer.m_ModuleFiles.GetCount(); ++i)
        EXPECT_EQ(0u, std::string(layer.m_ModuleFiles[i].GetBuffer()).find(tmp.path("L") + "/"));
    // ".lnk" is an exact suffix: Y.LNK is silently ignored.
    EXPECT_NE(std::string::npos, listed.out.find(tmp.path("L/Z.lnk") + " : warning: cannot resolve link"));
    EXPECT_EQ(std::string::npos, listed.out.find("Y.LNK"));
    EXPECT_EQ(tmp.path("L/Z.lnk") + " : warning: cannot resolve link\n", listed.err);
}

TEST(Layer, NoTransformAppendsEveryHeader)
{
    TempFolder tmp;
    tmp.folder("L");
    for (char const* name : {"L/.notransform", "L/A.h", "L/B.jak", "L/C.cs", "L/D.ah", "L/E.java", "L/F.cpp"})
        tmp.file(name);
    Listed listed(tmp.path("L"));
    EXPECT_TRUE(listed.layer->m_bNoTransform);
    EXPECT_EQ((List{"B.jak", "C.cs", "D.ah", "E.java"}), Names(listed.layer->m_ModuleFiles));
    EXPECT_EQ((List{"A.h", "F.cpp"}), Names(listed.layer->m_AppendSources));
}

TEST(Layer, KindTestsByName)
{
    TempFolder tmp;
    tmp.folder("L");
    tmp.file("L/Foo.c");
    LayerStack stack;
    LayerConfig config(Str("L"), Str("L"));
    testutil::Captured captured;
    Layer layer(stack, Str(tmp.path("L").c_str()), config, nullptr);

    struct Case {
        char const* name;
        bool append, module, copy;
    } const cases[] = {
        {"Foo.h", true, true, false}, // module kind by name, appended beside Foo.c
        {"Bar.h", false, true, false},  {"Bar.H", false, true, false},  {"x.hpp", true, false, false},
        {"x.rc2", true, false, false},  {"x.rcinc", true, false, false}, {"x.g", true, false, false},
        {"x.mk", true, false, false},   {"x.hc", true, false, false},   {"x.i", true, false, false},
        {"x.htm", true, false, false},  {"x.php", true, false, false},  {"x.AH", false, true, false},
        {"x.bmp", false, false, true},  {"x.lib", false, false, true},  {"x.exe", false, false, false},
        {"x", false, false, false},     {"x.h.bak", false, false, false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        Str path(tmp.path(std::string("L/") + c.name).c_str());
        EXPECT_EQ(c.append, layer.IsAppendFile(path));
        EXPECT_EQ(c.module, layer.ValidFileExt(Str(c.name)));
        EXPECT_EQ(c.copy, layer.IsCopyFile(path));
    }
}

TEST(Layer, LinksKeepBothFormsRelativeToTheirFolder)
{
    TempFolder tmp;
    tmp.folder("src");
    tmp.folder("src/L");
    tmp.folder("src/F");
    tmp.folder("src/G");
    tmp.link("src/L/Y", "../F");          // a folder link gets its own link file
    tmp.file("src/L/X.link", "../G\n");   // an own link file gets its symbolic link
    tmp.file("src/L/E.link", " \n");      // holds no word: removed
    tmp.file("src/L/M.link", "../Gone");  // target missing: kept and reported
    tmp.link("src/L/B", "nowhere");       // broken: reported and skipped
    tmp.folder("src/L/plain");            // a plain sub-folder is ignored

    // The links are resolved against their own folder, whatever the
    // current folder is.
    testutil::CurrentFolder elsewhere("/");
    Listed listed(tmp.path("src/L"));
    Layer& layer = *listed.layer;

    EXPECT_EQ("../F", testutil::ReadFile(tmp.path("src/L/Y.link")));
    EXPECT_EQ("../G", LinkText(tmp.path("src/L/X")));
    EXPECT_EQ(RealPath(tmp.path("src/G")), RealPath(tmp.path("src/L/X")));
    EXPECT_FALSE(Exists(tmp.path("src/L/E.link")));
    EXPECT_TRUE(Exists(tmp.path("src/L/M.link")));
    EXPECT_FALSE(Exists(tmp.path("src/L/M")));
    EXPECT_NE(std::string::npos, listed.out.find(tmp.path("src/L/M.link") + " : warning: cannot resolve link"));
    EXPECT_NE(std::string::npos, listed.err.find(tmp.path("src/L/B")));
    EXPECT_EQ(0, layer.m_ModuleFiles.GetCount() + layer.m_AppendSources.GetCount() + layer.m_CopyFiles.GetCount()
                     + layer.m_EquationFiles.GetCount());

    // A second listing finds both forms in place and changes nothing.
    Listed again(tmp.path("src/L"));
    EXPECT_EQ("../F", testutil::ReadFile(tmp.path("src/L/Y.link")));
    EXPECT_EQ("../G", LinkText(tmp.path("src/L/X")));
    EXPECT_EQ("../G\n", testutil::ReadFile(tmp.path("src/L/X.link")));
}

TEST(Layer, MissingFolderIsReportedAndListsNothing)
{
    TempFolder tmp;
    tmp.file("file");
    for (std::string folder : {tmp.path("none"), tmp.path("file")}) {
        Listed listed(folder, "Feat");
        EXPECT_EQ("mosa++ : error: folder " + folder +
                      " for feature Feat does not exist; correct the layer's name in the equation or make the folder\n",
                  listed.out);
        EXPECT_FALSE(listed.layer->HasFolder());
        EXPECT_EQ(0, listed.layer->m_ModuleFiles.GetCount());
    }
}

TEST(Layer, ConstructionTakesNamesAndPrefix)
{
    LayerStack stack;
    stack.m_OutDir = "/out";
    TempFolder tmp;
    struct Case {
        char const* full;
        char const* plain;
        char const* prefix;
        bool meta;
    } const cases[] = {
        {"pre.Base", "Base", "pre", false},
        {"Base", "Base", "", false},
        {"a.b.Base", "Base", "a.b", false},
        {"xBase", "Base", "", false}, // no joining character: empty
        {"MetaLayer", "MetaLayer", "", true},
        {"Met", "Met", "", false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.full);
        LayerConfig config(Str(c.full), Str(c.plain));
        Layer layer(stack, Str(tmp.path().c_str()), config, nullptr);
        EXPECT_STREQ(c.prefix, layer.m_Prefix);
        EXPECT_EQ(c.meta, layer.m_bMeta);
        EXPECT_FALSE(layer.m_bDerived);
        EXPECT_TRUE(layer.m_BaseLayers.Contains(&layer));
        EXPECT_STREQ("/out", layer.m_DestDir);
        EXPECT_EQ(nullptr, layer.m_pLayerBelow);
    }
}

TEST(Layer, DerivedLayerTakesItsParentsAndTheirCommonPrefix)
{
    LayerStack stack;
    TempFolder tmp;
    Str dir(tmp.path().c_str());
    LayerConfig a(Str("lib.A"), Str("A")), b(Str("lib.B"), Str("B")), c(Str("C"), Str("C"));
    Layer la(stack, dir, a, nullptr), lb(stack, dir, b, nullptr), lc(stack, dir, c, nullptr);
    la.m_IfConfigName = "IfA";

    LayerConfig ab(Str("A/B"), Str("A/B"));
    Set<Layer*, Layer*> same;
    same.Add(&la);
    same.Add(&lb);
    Layer derived(stack, dir, ab, &same);
    EXPECT_TRUE(derived.m_bDerived);
    EXPECT_STREQ("lib", derived.m_Prefix);
    EXPECT_TRUE(derived.m_BaseLayers.Contains(&la));
    EXPECT_FALSE(derived.m_BaseLayers.Contains(&derived));
    EXPECT_TRUE(derived.DynamicIfConfig());
    StringArray names;
    derived.GetDynamicIfConfigNames(names);
    ASSERT_EQ(1, names.GetCount());
    EXPECT_STREQ("IfA", names[0]);

    Set<Layer*, Layer*> mixed;
    mixed.Add(&la);
    mixed.Add(&lc);
    Layer none(stack, dir, ab, &mixed);
    EXPECT_STREQ("", none.m_Prefix);
    EXPECT_FALSE(lc.DynamicIfConfig());
}

TEST(Layer, ResolvesLayerFolders)
{
    TempFolder tmp;
    tmp.folder("src");
    tmp.folder("src/A");
    tmp.folder("src/A/B");
    tmp.folder("ext");
    tmp.folder("ext/F");
    tmp.folder("ext/F/sub");
    tmp.link("src/Feature.lnk", "../ext/F");
    tmp.link("src/Abs.lnk", tmp.path("ext/F"));
    tmp.link("src/Broken.lnk", "nowhere");
    tmp.folder("home");
    for (char const* f : {"home/env", "home/env/compiler", "home/env/compiler/gcc", "home/src", "home/src/A",
                          "home/src/A/B", "home/org", "home/org/X"})
        tmp.folder(f);
    std::string src = tmp.path("src");
    std::string home = tmp.path("home");
    EnvVar mosacHome("MOSAC_HOME", (home + "//").c_str());

    struct Case {
        char const* name;
        std::string expected;
        std::string message;
    } const cases[] = {
        {"A.B", src + "/A/B", ""},
        {"A/B", src + "/A/B", ""},
        {"Feature", src + "/../ext/F/", ""},
        {"Feature.sub", src + "/../ext/F/sub", ""},
        {"Abs", tmp.path("ext/F") + "/", ""},
        {"Broken", src + "/Broken", ""},
        {"env.compiler.gcc", home + "/env/compiler/gcc", ""},
        {"vrenk.A.B", home + "/src/A/B", ""},
        {"org.X", home + "/org/X", ""},
        {"org.env.X", src + "/org/env/X", "mosa++ : error: 'env' should not follow 'vrenk' in org/env/X\n"},
        {"vrenk.MetaLevelProgram.Y", src + "/vrenk/MetaLevelProgram/Y",
         "mosa++ : error: 'MetaLevelProgram' should not follow 'vrenk' in vrenk/MetaLevelProgram/Y\n"},
        {"env.none", src + "/env/none", ""},
        {"other.X", src + "/other/X", ""},
    };
    testutil::CurrentFolder elsewhere("/");
    ErrorLog::Reset();
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        // A run resolves a folder several times; a fault is told once.
        for (int round = 0; round < 2; ++round) {
            testutil::Captured captured;
            Str dir = Layer::ResolveLayerDir(Str(src.c_str()), Str(c.name));
            EXPECT_EQ(round == 0 ? c.message : "", captured.All());
            EXPECT_EQ(c.expected, dir.GetBuffer());
        }
    }
    EXPECT_EQ(2, ErrorLog::GetErrorCount());
    ErrorLog::Reset();

    EnvVar unset("MOSAC_HOME", nullptr);
    EXPECT_STREQ((src + "/env/compiler/gcc").c_str(), Layer::ResolveLayerDir(Str(src.c_str()), Str("env.compiler.gcc")));
    LayerStack stack;
    stack.m_SourceDir = src.c_str();
    EXPECT_STREQ((src + "/A/B").c_str(), stack.GetAbsLayerDir(Str("A.B")));
}

TEST(Layer, LayersReachingOneModuleShareOneFeatureModule)
{
    std::ostringstream errors;
    ParseProject project(errors);
    Module* module = project.AddFile("/nowhere/A.h");
    LayerStack stack;
    TempFolder tmp;
    LayerConfig a(Str("A"), Str("A")), b(Str("B"), Str("B"));
    Layer* first = new Layer(stack, Str(tmp.path().c_str()), a, nullptr);
    Layer* second = new Layer(stack, Str(tmp.path().c_str()), b, nullptr);

    FOPModule* fop = first->CreateModule(*module);
    EXPECT_EQ(fop, second->CreateModule(*module));
    EXPECT_EQ(first, fop->GetLayer());
    EXPECT_EQ(1, first->m_FopModules.GetCount());
    EXPECT_EQ(1, second->m_FopModules.GetCount());
    ASSERT_NE(nullptr, Layer::m_AllModules.Find(module));

    // Deleted once, by the first layer to go; the sanitizer build checks it.
    delete second;
    EXPECT_EQ(nullptr, Layer::m_AllModules.Find(module));
    delete first;
}

TEST(Layer, EachLinkMakesItsDerivedLayerOnce)
{
    TempFolder tmp;
    tmp.folder("A");
    tmp.folder("B");
    tmp.folder("F");
    tmp.link("A/B", "../F");
    tmp.file("A/B.link", "../F");
    tmp.link("A/Nobody", "../F"); // names no layer: only its link file is made

    LayerStack stack;
    LayerConfig* a = new LayerConfig(Str("A dynamicload"));
    LayerConfig* b = new LayerConfig(Str("B dynamiclink bindingunit U"));
    stack.m_pEquation->AddLayer(*a);
    stack.m_pEquation->AddLayer(*b);
    Layer* la = stack.NewLayer(*a, Str(tmp.path("A").c_str()), nullptr);
    stack.NewLayer(*b, Str(tmp.path("B").c_str()), nullptr);

    testutil::CurrentFolder elsewhere("/");
    testutil::Captured captured;
    la->LoadModules();
    std::string out = captured.All();

    // The combined binding unit is announced once: the link was followed once.
    EXPECT_EQ("mosa++ : warning: creating new binding unit: A.U\n", out);
    ASSERT_EQ(3, stack.GetCount());
    Layer* derived = stack[2];
    EXPECT_TRUE(derived->m_bDerived);
    EXPECT_STREQ("A/B", derived->m_LayerName);
    EXPECT_STREQ(RealPath(tmp.path("F")).c_str(), derived->m_Dir);
    EXPECT_TRUE(derived->m_BaseLayers.Contains(la));
    EXPECT_EQ("../F", testutil::ReadFile(tmp.path("A/Nobody.link")));
}

TEST(Layer, AddModuleOnceIntoItsComposedClass)
{
    TempFolder tmp;
    tmp.folder("out");
    std::ostringstream errors;
    ParseProject project(errors);
    Module* module = project.AddFile(tmp.path("A.h").c_str());
    LayerStack stack;
    stack.m_OutDir = tmp.path("out").c_str();
    LayerConfig* config = new LayerConfig(Str("L"), Str("L"));
    stack.m_pEquation->AddLayer(*config);
    Layer* layer = stack.NewLayer(*config, Str(tmp.path().c_str()), nullptr);

    layer->AddModule(*module);
    layer->AddModule(*module);
    EXPECT_EQ(1, layer->m_Modules.size());
    ASSERT_EQ(1, layer->m_FopModules.GetCount());
    EXPECT_TRUE(layer->HasModule(*module));
    TransformedModule* cls = stack.GetModule("A");
    ASSERT_NE(nullptr, cls);
    EXPECT_EQ(layer->m_FopModules[0], layer->GetFopModule(*cls));
    EXPECT_EQ(0, layer->GetLocWritten());
}

TEST(Layer, EveryListedModuleParses)
{
    TempFolder tmp;
    tmp.folder("L");
    tmp.folder("other");
    tmp.file("L/A.h", "class A {\n  int f() { return 1; }\n};\n");
    tmp.file("L/R.jak", "refines class R {\n  void g() { Super.g(); }\n}\n");
    tmp.file("other/Real.h", "class B { };\n");
    tmp.link("L/B.h", "../other/Real.h");
    testutil::CurrentFolder elsewhere("/");
    Listed listed(tmp.path("L"));

    std::ostringstream errors;
    ParseProject project(errors);
    ASSERT_EQ(3, listed.layer->m_ModuleFiles.GetCount());
    for (int i = 0; i < listed.layer->m_ModuleFiles.GetCount(); ++i) {
        Module* module = project.AddFile(listed.layer->m_ModuleFiles[i]);
        SCOPED_TRACE(module->GetName().GetBuffer());
        EXPECT_TRUE(module->Parse(false));
        ASSERT_NE(nullptr, module->GetDecl().GetTU());
        EXPECT_EQ(1, module->GetDecl().GetTU()->GetClassCount());
    }
    EXPECT_EQ("", errors.str());
}
