// The layer decorators: one per binding unit, the unit below, and the
// factory methods and static forwarders registered with them.
#include "output/LayerDecorator.h"

#include "../compose/ComposedLine.h"

#include "output/ClassFile.h"
#include "output/Templates.h"

#include <gtest/gtest.h>

#include <string>

using testutil::ComposedLine;

TEST(LayerDecorator, OnePerBindingUnitAndTheUnitBelow)
{
    ComposedLine line;
    Layer& meta = line.AddLayer("MetaInfo bindingunit M");
    Layer& base = line.AddLayer("L1");
    Layer& a1 = line.AddLayer("A1 bindingunit feat.a");
    Layer& a2 = line.AddLayer("A2 bindingunit feat.a");
    LayerDecorator* unit = LayerDecorator::Of(a2);
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit, LayerDecorator::Of(a1));
    EXPECT_EQ(&a1, unit->GetFirstLayer());
    EXPECT_STREQ("feat.a", unit->m_BindingName.GetBuffer());
    EXPECT_STREQ("feat_a", unit->m_LayerClassName.GetBuffer());
    // Layers named "Meta..." are passed over on the way down.
    EXPECT_EQ(LayerDecorator::Of(base), unit->GetSuperDecorator());
    EXPECT_EQ(nullptr, LayerDecorator::Of(base)->GetSuperDecorator());
    EXPECT_EQ(nullptr, LayerDecorator::Of(meta)->GetSuperDecorator());
    EXPECT_STREQ("M", LayerDecorator::Of(meta)->m_BindingName.GetBuffer());
    EXPECT_EQ(3, LayerDecorator::GetAll(line.stack).GetCount());
}

TEST(LayerDecorator, FactoryMethodsAndStaticForwarders)
{
    ComposedLine line;
    line.tmp.folder("codetemplates");
    line.tmp.folder("codetemplates/general");
    line.tmp.file("codetemplates/general/layer_factorymethod_decl.templ.h",
                  "<CLASS_INTERFACE />* <METHOD_NAME />(<CTOR_ARG_DECL />)\n\n");
    line.tmp.file("codetemplates/general/layer_factorymethod.templ.h",
                  "<LAYER_NAME />::<METHOD_NAME /> makes <CLASS_NAME /> base <BASE_INTERFACE />\n"
                  "//<IF_SUPER /> super\n//<IF_!SUPER /> bottom\n//<IF_BASE /> based\n//<IF_!BASE /> plain\n");
    Templates templates;
    templates.SetTemplateFolder(line.tmp.path("codetemplates").c_str());
    templates.LoadFolder();
    line.stack.m_ProductLineName = "pl";
    Layer& l1 = line.AddLayer("L1");
    Layer& l2 = line.AddLayer("L2 bindingunit x.y");
    LayerDecorator& bottom = *LayerDecorator::Of(l1);
    LayerDecorator& top = *LayerDecorator::Of(l2);
    bottom.m_pTemplates = &templates;
    top.m_pTemplates = &templates;

    bottom.AddFactoryMethod("Foo", "Foo__base", "", "", "");
    top.AddFactoryMethod("Foo", "Foo__x_y", "Shape", "", "");
    top.AddFactoryMethod("Foo", "Other", "", "", "");
    EXPECT_STREQ("\n//factory method for Foo\nbase::New_Foo makes Foo__base base \n//<IF_SUPER /> super\n bottom\n"
                 "//<IF_BASE /> based\n plain\n\n",
                 bottom.m_FactoryBodies.GetBuffer());
    EXPECT_STREQ("\n//factory method for Foo\nx_y::New_Foo makes Foo__x_y base Shape\n super\n"
                 "//<IF_!SUPER /> bottom\n based\n//<IF_!BASE /> plain\n\n",
                 top.m_FactoryBodies.GetBuffer());
    // The second registration of New_Foo changed nothing.
    EXPECT_FALSE(top.m_pClassFile->m_Includes.Contains("Other"));
    EXPECT_TRUE(top.m_pClassFile->m_Includes.Contains("Foo__x_y"));
    EXPECT_TRUE(top.m_pClassFile->m_Includes.Contains("pl"));
    MapStringToString decls;
    top.GetFactoryMethodDecls(decls);
    EXPECT_EQ(1, decls.GetCount());
    EXPECT_STREQ("Foo* New_Foo()", decls["New_Foo"].GetBuffer());

    top.AddStaticMethodCall("virtual int Foo__f(){ up }", "virtual int Foo__f(){ here }");
    top.AddStaticMethodCall("virtual int Foo__f(){ up }", "virtual int Foo__f(){ again }");
    EXPECT_STREQ("\tvirtual int Foo__f(){ here }\n", top.m_StaticForwarders.GetBuffer());
    StringSet keys;
    top.GetStaticMethods(keys);
    EXPECT_EQ(1, keys.GetCount());
}
