// The generated classes of a dynamic composition: one layer class per
// binding unit, the product-line interface and the factory class, written
// from the shipped templates.
#include "output/FeatureFileNames.h"
#include "output/LayerDecorator.h"
#include "output/LayerInterface.h"
#include "output/PLFactory.h"

#include "../Captured.h"
#include "../compose/ComposedLine.h"

#include "output/Templates.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

using testutil::ComposedLine;

namespace {

std::string ReadFile(std::string const& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(std::string const& path)
{
    struct stat record;
    return ::stat(path.c_str(), &record) == 0;
}

int Count(std::string const& text, std::string const& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class FeatureClasses : public testing::Test {
protected:
    FeatureClasses()
    {
        Templates* store = Templates::GetInstance();
        store->SetTemplateFolder(MOSA_FIXTURES "/../../codetemplates");
        store->LoadFolder();
        m_line.stack.m_ProductLineName = "pl";
        m_line.tmp.folder("out");
    }

    std::string Out(std::string const& name) { return ReadFile(m_line.tmp.path("out/" + name)); }
    bool OutExists(std::string const& name) { return Exists(m_line.tmp.path("out/" + name)); }

    ComposedLine m_line;
};

} // namespace

TEST_F(FeatureClasses, LayerClassOfAnEmptyUnitAndOfAUnitWithFactories)
{
    Layer& base = m_line.AddLayer("L1");
    Layer& feat = m_line.AddLayer("L2 bindingunit feat.a");
    LayerDecorator& bottom = *LayerDecorator::Of(base);
    LayerDecorator& top = *LayerDecorator::Of(feat);
    top.AddFactoryMethod("Foo", "Foo__feat_a", "", "", "");
    top.AddFactoryMethod("Foo", "Other", "", "", "");
    top.AddStaticMethodCall("virtual int Foo__f(){ up }", "virtual int Foo__f(){ return Foo__feat_a::f(); }");

    bottom.CreateLayerFile();
    std::string empty = Out("base.h");
    EXPECT_NE(std::string::npos, empty.find("class base : public pl")) << empty;
    EXPECT_NE(std::string::npos, empty.find("GetRoleCount() const { return 0; }")) << empty;
    EXPECT_EQ(std::string::npos, empty.find("else if")) << empty;
    // Nothing registered and no dynamic link: the source would hold only a
    // switched-off line and is not written.
    EXPECT_FALSE(OutExists("base.cpp"));

    top.CreateLayerFile();
    std::string header = Out("feat_a.h");
    EXPECT_NE(std::string::npos, header.find("class feat_a : public pl")) << header;
    EXPECT_NE(std::string::npos, header.find("return \"feat.a\";")) << header;
    EXPECT_NE(std::string::npos, header.find("GetRoleCount() const { return 1; }")) << header;
    EXPECT_NE(std::string::npos,
              header.find("\n\t\telse if (strcmp(name,\"Foo\")==0) return New_Foo_Role();\n"))
        << header;
    EXPECT_EQ(1, Count(header, "virtual Foo* New_Foo();\n")) << header;
    EXPECT_NE(std::string::npos, header.find("\tvirtual int Foo__f(){ return Foo__feat_a::f(); }\n")) << header;
    EXPECT_NE(std::string::npos, header.find("#include \"Foo__feat_a.h\"")) << header;
    EXPECT_EQ(std::string::npos, header.find("Other")) << header;
    std::string source = Out("feat_a.cpp");
    EXPECT_EQ(1, Count(source, "Foo* feat_a::New_Foo()")) << source;
    // A unit above another wraps the object of the unit below.
    EXPECT_NE(std::string::npos, source.find("\tobject->SetSuper(inner);")) << source;
    EXPECT_EQ(std::string::npos, source.find("//<IF_SUPER />")) << source;
    EXPECT_NE(std::string::npos, source.find("//<IF_DYNAMIC_LINK />")) << source;

    // The bottom unit has no unit below: the wrapping lines stay comments.
    ASSERT_EQ(nullptr, bottom.GetSuperDecorator());
    bottom.m_bWritten = false;
    bottom.AddFactoryMethod("Bar", "Bar__base", "", "", "");
    bottom.CreateLayerFile();
    EXPECT_NE(std::string::npos, Out("base.cpp").find("//<IF_SUPER />\tobject->SetSuper(inner);")) << Out("base.cpp");

    // A second call writes nothing.
    std::remove(m_line.tmp.path("out/feat_a.h").c_str());
    top.CreateLayerFile();
    EXPECT_FALSE(OutExists("feat_a.h"));
}

TEST_F(FeatureClasses, InterfaceListsSharedUnitsOnceAndKeepsCallsPublic)
{
    Layer& base = m_line.AddLayer("L1");
    Layer& ext1 = m_line.AddLayer("E1 bindingunit ext");
    Layer& ext2 = m_line.AddLayer("E2 bindingunit ext");
    LayerDecorator::Of(m_line.AddLayer("MetaInfo bindingunit M"))->AddFactoryMethod("Hidden", "Hidden__M", "", "", "");
    LayerDecorator::Of(base)->AddFactoryMethod("Foo", "Foo__base", "", "", "");
    LayerDecorator::Of(ext1)->AddFactoryMethod("Foo", "Foo__ext", "", "", "");
    LayerDecorator::Of(ext2)->AddFactoryMethod("ANew_B", "ANew_B__ext", "", "", "");
    LayerDecorator::Of(base)->AddStaticMethodCall("virtual int Foo__f(){ return GetSuperDecorator()->Foo__f(); }",
                                             "virtual int Foo__f(){ return Foo__base::f(); }");
    LayerDecorator::Of(ext1)->AddStaticMethodCall("virtual int Foo__f(){ return GetSuperDecorator()->Foo__f(); }",
                                             "virtual int Foo__f(){ return Foo__ext::f(); }");

    LayerInterface generated(m_line.stack);
    std::string header = Out("pl.h");
    EXPECT_NE(std::string::npos, header.find("#include \"Feature.h\"")) << header;
    EXPECT_NE(std::string::npos, header.find("class pl : public Feature")) << header;
    EXPECT_NE(std::string::npos, header.find("pl& GetFinal()")) << header;
    EXPECT_NE(std::string::npos, header.find("{ return *((pl*)final); }")) << header;
    EXPECT_NE(std::string::npos, header.find("protected: pl* GetSuperDecorator()")) << header;
    EXPECT_NE(std::string::npos, header.find("return (pl*)super_layer;")) << header;
    EXPECT_EQ(1, Count(header, "class Foo;")) << header;
    EXPECT_EQ(1, Count(header, "class ANew_B;")) << header;
    EXPECT_EQ(1, Count(header, "virtual Foo* New_Foo() { return GetSuperDecorator() ? GetSuperDecorator()->New_Foo() : 0; }"))
        << header;
    EXPECT_EQ(1, Count(header, "virtual ANew_B* New_ANew_B()")) << header;
    EXPECT_EQ(1, Count(header, "virtual int Foo__f(){ return GetSuperDecorator()->Foo__f(); }")) << header;
    // A layer named "Meta..." contributes nothing.
    EXPECT_EQ(std::string::npos, header.find("Hidden")) << header;
    // The delegations follow a "public:" after the protected accessor.
    size_t lastAccess = header.rfind("public:");
    EXPECT_GT(lastAccess, header.find("protected:")) << header;
    EXPECT_LT(lastAccess, header.find("New_Foo")) << header;
    EXPECT_FALSE(OutExists("pl.cpp"));
}

TEST_F(FeatureClasses, FactoryBranchPerBindingUnit)
{
    m_line.AddLayer("base1");
    m_line.AddLayer("base2");
    m_line.AddLayer("ext dynamicload");
    // Without a use of PlCreate nothing is written.
    { PLFactory factory(m_line.stack); }
    EXPECT_FALSE(OutExists("PlCreate.h"));
    EXPECT_FALSE(OutExists("PlCreate.cpp"));

    m_line.stack.m_ReferencedGeneratedNames.Add("PlCreate");
    { PLFactory factory(m_line.stack); }
    std::string header = Out("PlCreate.h");
    std::string source = Out("PlCreate.cpp");
    EXPECT_NE(std::string::npos, header.find("class PlCreate")) << header;
    EXPECT_NE(std::string::npos, header.find("#include \"base.h\"")) << header;
    EXPECT_NE(std::string::npos, header.find("#include \"ext.h\"")) << header;
    EXPECT_EQ(std::string::npos, header.find("DynamicLinkFeature")) << header;
    EXPECT_EQ(1, Count(source, "return new base;")) << source;
    EXPECT_EQ(1, Count(source, "return new ext;")) << source;
    EXPECT_LT(source.find("new base"), source.find("new ext")) << source;
    EXPECT_NE(std::string::npos, source.find("return 0;\n}")) << source;
    EXPECT_NE(std::string::npos, source.find("\"base\\n\\\next\\n\\\n\"")) << source;
}

TEST_F(FeatureClasses, DynamicLinkUnitTakesTheLibraryBranch)
{
    m_line.AddLayer("base");
    m_line.AddLayer("plug dynamiclink bindingunit a.b.c");
    m_line.stack.m_ReferencedGeneratedNames.Add("PlCreate");
    { PLFactory factory(m_line.stack); }
    std::string header = Out("PlCreate.h");
    std::string source = Out("PlCreate.cpp");
    EXPECT_NE(std::string::npos, header.find("#include \"DynamicLinkFeature.h\"")) << header;
    // The factory includes the layer class by its file name.
    EXPECT_NE(std::string::npos, header.find("#include \"a_b_c.h\"")) << header;
    EXPECT_NE(std::string::npos, source.find("std::strcmp(name, \"c\") == 0")) << source;
    EXPECT_NE(std::string::npos, source.find("return DynamicLinkFeature::Load(\"a_b_c\");")) << source;
    EXPECT_NE(std::string::npos, source.find("return new base;")) << source;
}

TEST_F(FeatureClasses, UnitsAnswerToTheirNamesAndOneUnitToASharedShortName)
{
    m_line.AddLayer("base");
    m_line.AddLayer("L1 bindingunit a.extra");
    m_line.AddLayer("L2 dynamiclink bindingunit b.extra");
    m_line.AddLayer("L3 bindingunit extra");
    m_line.AddLayer("L4 bindingunit c.solo");
    m_line.stack.m_ReferencedGeneratedNames.Add("PlCreate");
    testutil::Captured captured;
    { PLFactory factory(m_line.stack); }
    std::string messages = captured.All();
    std::string source = Out("PlCreate.cpp");
    // Each branch tests the names its unit answers to; the unit named
    // "extra" keeps that name although units below share it.
    for (char const* branch :
         {"if (std::strcmp(name, \"base\") == 0)\n\t\treturn new base;",
          "if (std::strcmp(name, \"a.extra\") == 0 || std::strcmp(name, \"a_extra\") == 0)\n\t\treturn new a_extra;",
          "if (std::strcmp(name, \"b.extra\") == 0 || std::strcmp(name, \"b_extra\") == 0)\n"
          "\t\treturn DynamicLinkFeature::Load(\"b_extra\");",
          "if (std::strcmp(name, \"extra\") == 0)\n\t\treturn new extra;",
          "if (std::strcmp(name, \"c.solo\") == 0 || std::strcmp(name, \"c_solo\") == 0 || "
          "std::strcmp(name, \"solo\") == 0)\n\t\treturn new c_solo;"})
        EXPECT_EQ(1, Count(source, branch)) << branch << "\n" << source;
    for (char const* loser : {"a.extra", "b.extra"})
        EXPECT_EQ(1, Count(messages, std::string("warning: binding units 'extra' and '") + loser +
                                         "' share the short name 'extra': PlCreate::CreateLayer(\"extra\") "
                                         "creates the layer of 'extra'; name '" + loser + "' in full"))
            << messages;
    EXPECT_EQ(2, Count(messages, "warning:")) << messages;
}

TEST_F(FeatureClasses, ClashingFileNamesAndNamesThatAreNoIdentifiers)
{
    m_line.stack.m_ProductLineName = "base";
    m_line.AddLayer("L1");
    // The equation refuses such a unit; the generator still says so.
    m_line.AddLayer("L2 bindingunit U").m_pConfig->SetBindingUnit("my-unit");
    testutil::Captured captured;
    FeatureFileNames::GenerateFeatureClasses(m_line.stack);
    std::string messages = captured.All();
    // The interface is written first; the layer class of unit base loses.
    EXPECT_NE(std::string::npos, Out("base.h").find("class base : public Feature")) << Out("base.h");
    EXPECT_NE(std::string::npos, messages.find("error: the layer class of binding unit 'base' and the "
                                               "product-line interface 'base' would both be written"))
        << messages;
    EXPECT_NE(std::string::npos, messages.find("warning: the layer class name 'my-unit' is not a C++ identifier"))
        << messages;
    EXPECT_TRUE(OutExists("my-unit.h"));
}
