#include "compose/LayerStack.h"
#include "compose/TransformedModule.h"

#include "base/Name.h"
#include "parser/Info.h"

#include <gtest/gtest.h>

TEST(LayerStack, GetModuleFallsBackToTheNameWithoutALeadingC)
{
    LayerStack stack;
    TransformedModule x(stack), cy(stack), y(stack);
    stack.m_ComposedClasses["X"] = &x;
    stack.m_ComposedClasses["Y"] = &y;
    stack.m_ComposedClasses["CY"] = &cy;

    EXPECT_EQ(&x, stack.GetModule("X"));
    EXPECT_EQ(&x, stack.GetModule("CX"));
    EXPECT_EQ(&cy, stack.GetModule("CY")); // the full name wins
    EXPECT_EQ(nullptr, stack.GetModule("CCX")); // one character only
    EXPECT_EQ(nullptr, stack.GetModule("cX"));
    EXPECT_EQ(nullptr, stack.GetModule("C"));
    EXPECT_EQ(nullptr, stack.GetModule("Z"));
    EXPECT_EQ(nullptr, stack.GetModule(nullptr));
    EXPECT_EQ(&stack, x.GetLayerStack());
}

TEST(TransformedModule, GetMemberFindsTheLastEntryOfAName)
{
    LayerStack stack;
    TransformedModule cls(stack);
    MemberVarInfo lower(Name::GetName("a")), upper(Name::GetName("a"));
    EXPECT_EQ(nullptr, cls.GetMember("a")); // no buckets yet
    cls.GetMembers().Put("a", &lower);
    cls.GetMembers().Put("a", &upper);
    EXPECT_EQ(static_cast<MemberInfo*>(&upper), cls.GetMember("a"));
    EXPECT_EQ(1, cls.GetMembers().GetCount());
    EXPECT_EQ(nullptr, cls.GetMember("b"));
    EXPECT_EQ(nullptr, cls.GetMember(nullptr));
    EXPECT_EQ(1, cls.GetMembers().GetCount()); // look-ups add nothing
}

TEST(TransformedModule, FindsTheComposedClassesThroughItsLayerStack)
{
    LayerStack stack;
    TransformedModule a(stack), x(stack);
    stack.m_ComposedClasses["A"] = &a;
    stack.m_ComposedClasses["X"] = &x;
    // As the body parser sees it.
    ComposedClass& walked = a;
    EXPECT_EQ(&x, walked.FindComposedClass("X"));
    EXPECT_EQ(&x, walked.FindComposedClass("CX"));
    EXPECT_EQ(&a, walked.FindComposedClass("A"));
    EXPECT_EQ(nullptr, walked.FindComposedClass("Z"));
    EXPECT_EQ(nullptr, walked.FindComposedClass(nullptr));
    a.SetLayerStack(nullptr);
    EXPECT_EQ(nullptr, walked.FindComposedClass("X"));
}
