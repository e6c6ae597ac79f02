// The interface and decorator header of a class composed per binding unit,
// filled from a small template of the test's own.
#include "output/ClassInterface.h"

#include "OptionGuard.h"
#include "../scanner/TempFolder.h"

#include "compose/EquationFile.h"
#include "compose/LayerStack.h"
#include "compose/TransformedModule.h"
#include "output/ModuleTransform.h"
#include "output/Templates.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

char const Template[] = "//<META /> test\n"
                        "<INCLUDES>\n"
                        "class <INTERFACE_NAME> <BASE_CLASSES> {\n"
                        "<INTERFACE_METHODS>};\n"
                        "class <DECORATOR_NAME> : public <CLASS_NAME> {\n"
                        "//<IF_BASE> base <BASE_NAME>\n"
                        "//<IF_!BASE> no base\n"
                        "<IF_STORE_OBJECTS> store\n"
                        "<DECORATOR_METHODS>};";

class ClassInterfaceTest : public testing::Test {
protected:
    ClassInterfaceTest() : m_options(true, nullptr), m_cls(m_stack), m_interface(m_cls)
    {
        m_folder.folder("codetemplates");
        m_folder.folder("codetemplates/general");
        m_stack.m_ProductLineName = "pl";
        m_interface.SetName("Foo");
        UseTemplate(Template);
    }

    void UseTemplate(char const* text)
    {
        m_folder.file("codetemplates/general/DelegationInterface.templ.h", text);
        m_templates.Clear();
        m_templates.SetTemplateFolder(m_folder.path("codetemplates").c_str());
        m_templates.LoadFolder();
        m_interface.m_pTemplates = &m_templates;
    }

    // A composed class with one unit (pure jampack) or two.
    TransformedModule& AddClass(char const* name, int units)
    {
        m_classes.emplace_back(new TransformedModule(m_stack));
        TransformedModule& cls = *m_classes.back();
        for (int i = 0; i < units; ++i)
            cls.AddTransformationModule(new JampackModuleTransform(cls));
        m_stack.m_ComposedClasses[name] = &cls;
        return cls;
    }

    std::string Text()
    {
        m_interface.CreateInterface();
        return m_interface.m_Text.GetBuffer();
    }

    testutil::OptionGuard m_options;
    testutil::TempFolder m_folder;
    Templates m_templates;
    LayerStack m_stack;
    TransformedModule m_cls;
    ClassInterface m_interface;
    std::vector<std::unique_ptr<TransformedModule>> m_classes;
};

} // namespace

TEST_F(ClassInterfaceTest, WithoutBases)
{
    m_interface.AddInterfaceMethod("static int count(<LAYER_INTERFACE_NAME>& spl) { return spl.Foo__count(); }");
    EXPECT_EQ("#include \"pl.h\"\n#include \"Class.h\"\n<INCLUDES>\n"
              "class Foo : public Class {\n"
              "\tstatic int count(pl& spl) { return spl.Foo__count(); }\n"
              "};\n"
              "class Foo__Decorator : public Foo {\n"
              "//<IF_BASE> base <BASE_NAME>\n"
              " no base\n"
              "//<IF_STORE_OBJECTS> store\n"
              "};\n",
              Text());
    // A second call gives the same text.
    EXPECT_EQ(Text(), Text());
}

TEST_F(ClassInterfaceTest, PureJampackBaseIsABaseButNoDelegation)
{
    AddClass("Plain", 1);
    AddClass("Shape", 2);
    m_interface.AddBaseClass("protected", "Plain");
    m_interface.AddBaseClass("public", "Plain");
    std::string text = Text();
    EXPECT_EQ(0u, text.find("#include \"pl.h\"\n#include \"Plain.h\"\n#include \"Class.h\"\n<INCLUDES>\n"
                            "class Foo : protected Plain, public Class {\n"))
        << text;
    EXPECT_NE(std::string::npos, text.find("\n no base\n")) << text;

    // A base composed per unit, recorded after the first: it is named, and
    // no Class base is added.
    m_interface.AddBaseClass("private", "Shape");
    text = Text();
    EXPECT_EQ(0u, text.find("#include \"pl.h\"\n#include \"Plain.h\"\n#include \"Shape.h\"\n<INCLUDES>\n"
                            "class Foo : protected Plain, private Shape {\n"))
        << text;
    EXPECT_NE(std::string::npos, text.find("\n base Shape\n//<IF_!BASE> no base\n")) << text;
}

TEST_F(ClassInterfaceTest, RuntimeAdaptStoresObjects)
{
    m_stack.m_pEquation->m_bRuntimeAdapt = true;
    EXPECT_NE(std::string::npos, Text().find("\n store\n"));
}

TEST_F(ClassInterfaceTest, HeaderFile)
{
    std::string path = m_folder.path("Foo.h");
    m_interface.SaveDecoratorAndInterface(path.c_str());
    std::string text = testutil::ReadFile(path);
    EXPECT_EQ(0u, text.find("#ifndef Foo_h_h__included\n#define Foo_h_h__included\n\n"
                            "#include \"pl.h\"\n#include \"Class.h\"\n\n"
                            "class Foo : public Class {\n"))
        << text;
    std::string end = "};\n\n#endif //Foo_h_h__included\n";
    EXPECT_EQ(text.size() - end.size(), text.rfind(end)) << text;

    // Without the marker the whole text comes first.
    UseTemplate("class <INTERFACE_NAME> {};\n");
    m_interface.SaveDecoratorAndInterface(path.c_str());
    EXPECT_EQ("#ifndef Foo_h_h__included\n#define Foo_h_h__included\n\nclass Foo {};\n\n\n"
              "#endif //Foo_h_h__included\n",
              testutil::ReadFile(path));
}
