#include "base/Name.h"
#include "parser/DbNode.h"
#include "parser/Info.h"
#include "parser/InfoBuilder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string S(Str const& text)
{
    return text.GetBuffer();
}

TEST(DbNode, CreateByKind)
{
    static struct {
        int kind;
        char const* printed; // null when no fragment is made
    } const cases[] = {
        {0, "T"},  {2, "T"},         {4, "T"},          {5, "class (c);"},
        {6, "using namespace (c);\n"}, {7, "namespace (c)"}, {8, "{\n(c)}"},
        {9, ":(c)\n"}, {10, "((c))"}, {11, "(c)"},  {13, "(c)"}, {14, "(c)"},
        {12, nullptr}, {15, nullptr}, {-1, nullptr},
    };
    for (auto const& c : cases) {
        DbNode* node = DbNode::Create(static_cast<DbNodeTypes>(c.kind), "T");
        if (!c.printed) {
            EXPECT_EQ(nullptr, node) << c.kind;
            continue;
        }
        ASSERT_NE(nullptr, node) << c.kind;
        EXPECT_EQ(c.kind, node->m_Kind);
        EXPECT_EQ("T", S(node->m_Text));
        node->AddChild(DbNode::Create(DB_TEXT0, "(c)"));
        EXPECT_EQ(c.printed, S(node->AsString())) << c.kind;
    }
    EXPECT_EQ("", S(DbNode::Create(DB_TEXT0, nullptr)->m_Text));
}

TEST(DbNode, ClassFragmentsSkipMembersWithoutOneAndReuseStoredOnes)
{
    ClassInfoBuilder builder(Str("X"));
    builder.AddMemberVar("int", "n", false);
    FuncInfoBuilder ctor(builder, nullptr, "X");
    ctor.AddArgs("int a");
    ClassInfo& cls = *builder.GetClass();

    DbNode* first = cls.CreateDbNode();
    ASSERT_EQ(1, first->GetChildCount()); // the member variable has none
    DbNode* func = first->GetChild(0);
    EXPECT_EQ(DB_FUNC, func->m_Kind);
    EXPECT_EQ("X", S(func->m_Text));
    ASSERT_EQ(2, func->GetChildCount());
    EXPECT_EQ(DB_TYPE, func->GetChild(0)->m_Kind);
    EXPECT_EQ(DB_FUNC_PARAMS, func->GetChild(1)->m_Kind);

    DbNode* second = cls.CreateDbNode();
    EXPECT_NE(first, second);
    EXPECT_EQ(func, second->GetChild(0)); // stored in the function info
    EXPECT_EQ(DB_CLASS, second->m_Kind);
    EXPECT_EQ("X", S(second->m_Text));
}

TEST(DbNode, FunctionFragmentHasNullForAMissingReturnType)
{
    FuncInfo func(Name::GetName("f"));
    ParamListInfo* params = new ParamListInfo;
    params->AddChild(*Name::GetName("a"), *new TypeInfo(Name::GetName("int")));
    func.SetParams(params);
    DbNode* node = func.CreateDbNode();
    ASSERT_EQ(2, node->GetChildCount());
    EXPECT_EQ(nullptr, node->GetChild(0));
    DbNode* list = node->GetChild(1);
    EXPECT_EQ(list, params->m_pDbNode);
    ASSERT_EQ(0, list->GetChildCount()); // parameters have no fragment
    // Printing skips the null child; the fragments print no texts of their own.
    EXPECT_EQ(" ", S(node->AsString()));
}

TEST(DbNode, InfoKindsWithoutFragments)
{
    FileInfo file(Name::GetName("f.h"));
    LocalVarInfo var(Name::GetName("v"));
    BaseClassInfo base(Name::GetName("B"));
    EXPECT_EQ(nullptr, file.CreateDbNode());
    EXPECT_EQ(nullptr, var.CreateDbNode());
    EXPECT_EQ(nullptr, base.CreateDbNode());

    NSInfo ns(Name::GetName("N"));
    DbNode* node = ns.CreateDbNode();
    EXPECT_EQ(DB_NAMESPACE, node->m_Kind);
    EXPECT_EQ("N", S(node->m_Text));

    FuncBodyInfo body;
    body.SetText("x();");
    EXPECT_EQ("x();", S(body.CreateDbNode()->m_Text));
}

} // namespace
