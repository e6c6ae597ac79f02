#include "Scanned.h"

#include "base/Name.h"
#include "parser/NodeBrace.h"
#include "parser/NodeModifier.h"
#include "parser/NodeType.h"
#include "parser/NodeVarDecl.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string S(Str const& text)
{
    return text.GetBuffer();
}

std::string NameOf(Node* node)
{
    Name* name = node ? node->GetName() : nullptr;
    return name ? name->c_str() : "<null>";
}

// A type over the simple-type token `name`, with modifier nodes on the
// given tokens added in order.
NodeType* SimpleType(Scanned& s, char const* name, std::initializer_list<char const*> modifiers)
{
    NodeType* type = new NodeType(*new NodeToken(s(name)));
    Array<NodeModifier*> list;
    for (char const* text : modifiers)
        list.Add(new NodeModifier(s(text)));
    type->AddModifiers(list);
    return type;
}

TEST(NodeType, ModifiersGoInFrontOfTheNameInReverseOrderAndConstBehind)
{
    Scanned s("static virtual int const f();");
    NodeType* type = SimpleType(s, "int", {"static", "virtual", "const"});
    ASSERT_EQ(4, type->GetChildCount());
    EXPECT_EQ(s("virtual"), type->GetChild(0)->GetToken());
    EXPECT_EQ(s("static"), type->GetChild(1)->GetToken());
    EXPECT_EQ(s("int"), type->GetChild(2)->GetToken());
    EXPECT_EQ(s("const"), type->GetChild(3)->GetToken());
    EXPECT_EQ("virtual", NameOf(type));
    EXPECT_EQ(s("static"), type->GetFirstToken());
    TypeInfo& info = type->GetTypeInfo();
    EXPECT_EQ("int", std::string(info.GetNameText()));
    EXPECT_TRUE(info.m_bStatic && info.m_bVirtual && info.m_bConst);
    EXPECT_FALSE(info.m_bInline || info.m_bAbstract);
    EXPECT_EQ(s("virtual"), type->GetModifier(Lex::TOK_VIRTUAL)->GetToken());
    EXPECT_EQ(s("static"), type->GetModifier("static")->GetToken());
    EXPECT_EQ(nullptr, type->GetModifier(Lex::TOK_INLINE));
    EXPECT_EQ(nullptr, type->GetModifier("stat"));
}

TEST(NodeType, FirstTokenLooksTenTokensAheadAndSkipsUnlinkedModifiers)
{
    Scanned near("const int a;");
    EXPECT_EQ(near("const"), SimpleType(near, "int", {"const"})->GetFirstToken());

    // Three comments and their blanks put the name more than ten tokens on.
    Scanned far("const /* a */ /* b */ /* c */ int a;");
    EXPECT_EQ(far("int"), SimpleType(far, "int", {"const"})->GetFirstToken());

    Scanned removed("virtual void f();");
    NodeType* type = SimpleType(removed, "void", {"virtual"});
    removed("virtual")->delete_token();
    EXPECT_EQ(removed("void"), type->GetFirstToken());

    Scanned named("static Foo x;");
    NodeID* id = named.Id("Foo");
    id->m_Modifiers.Add(new NodeModifier(named("static")));
    NodeType fromId(*id);
    fromId.AddModifiers(id->m_Modifiers);
    EXPECT_EQ("Foo", std::string(fromId.GetTypeInfo().GetNameText()));
    EXPECT_EQ(named("static"), fromId.GetFirstToken());

    NodeType empty(*new NodeToken(nullptr));
    EXPECT_EQ(nullptr, empty.GetFirstToken());
}

TEST(NodeType, DeleteModifierRemovesTokenNodeAndIdEntryButKeepsFlags)
{
    Scanned s("virtual override Foo f();");
    NodeID* id = s.Id("Foo");
    id->m_Modifiers.Add(new NodeModifier(s("virtual")));
    id->m_Modifiers.Add(new NodeModifier(s("override")));
    NodeType type(*id);
    type.AddModifiers(id->m_Modifiers);

    type.DeleteModifier(Lex::TOK_STATIC); // not carried: nothing happens
    EXPECT_EQ("virtual override Foo f();", s.Text());
    EXPECT_EQ(3, type.GetChildCount());

    type.DeleteModifier(Lex::TOK_OVERRIDE);
    EXPECT_EQ("virtual  Foo f();", s.Text());
    EXPECT_EQ(2, type.GetChildCount());
    EXPECT_EQ(1, type.GetModifiers().GetCount());
    EXPECT_EQ(nullptr, type.GetModifier(Lex::TOK_OVERRIDE));
    EXPECT_FALSE(id->HasModifier(Lex::TOK_OVERRIDE));
    EXPECT_TRUE(id->HasModifier(Lex::TOK_VIRTUAL));
    EXPECT_TRUE(type.GetTypeInfo().m_bVirtual);

    NodeModifier stranger(s("f"));
    type.DeleteModifier(&stranger);
    type.DeleteModifier(static_cast<NodeModifier*>(nullptr));
    EXPECT_EQ("virtual  Foo f();", s.Text());
}

TEST(NodeType, DeleteUnlinksTheTokensOfAllChildren)
{
    Scanned s("static int* f();");
    NodeType* type = SimpleType(s, "int", {"static"});
    type->AddChild(new NodeOperator(s("*")));
    type->Delete();
    EXPECT_EQ("  f();", s.Text());
    EXPECT_EQ(0, type->GetChildCount());
    EXPECT_EQ(nullptr, type->GetFirstToken());
}

TEST(Nodes, Texts)
{
    Scanned s("int a, b; int c[]; (x y) 7");
    NodeVarDecl pair(new NodeType(*new NodeToken(s("int"))));
    pair.GetVariableList()->AddChild(new NodeAssignment(s.Id("a")));
    pair.GetVariableList()->AddChild(new NodeAssignment(s.Id("b")));
    EXPECT_EQ("int a,b", S(pair.PrintChilds()));
    EXPECT_EQ(&pair, pair.GetVariableList()->m_pDecl);

    NodeType* arrayType = new NodeType(*new NodeToken(s("int", 1)));
    NodeSquareBrace* bound = new NodeSquareBrace(s("["));
    bound->SetLastToken(*s("]"));
    arrayType->AddChild(bound);
    NodeVarDecl array(arrayType);
    array.GetVariableList()->AddChild(new NodeAssignment(s.Id("c")));
    EXPECT_EQ("int c[]", S(array.AsString()));

    NodeRoundBrace round(s("("));
    round.AddChild(s.Id("x"));
    round.AddChild(s.Id("y"));
    EXPECT_EQ("(x y)", S(round.AsString()));
    EXPECT_EQ(nullptr, round.GetName());
    EXPECT_EQ("Value", S(NodeValue(s("7")).AsString()));

    Lex::Token* inserted = round.InsertExpression("z");
    ASSERT_NE(nullptr, inserted);
    EXPECT_EQ(s("("), inserted->prev());
    EXPECT_EQ(nullptr, NodeBlock().InsertExpression("z"));
}

} // namespace
