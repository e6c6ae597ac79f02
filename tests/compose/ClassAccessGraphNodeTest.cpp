#include "compose/ClassAccessGraphNode.h"

#include "compose/LayerStack.h"
#include "compose/TransformedModule.h"

#include <gtest/gtest.h>

namespace {

int Flag(TransformedModule& cls)
{
    return cls.GetAccessNode().m_DynAccess;
}

} // namespace

TEST(ClassAccessGraphNode, FlagSpreadsToEveryAccessingClass)
{
    LayerStack stack;
    TransformedModule a(stack), b(stack), c(stack), d(stack), e(stack);
    // A holds a B, B accesses C, D accesses A; C delegates dynamically. E
    // is accessed by A but reaches no dynamic class.
    a.StoreClassAccess(&b);
    b.StoreClassAccess(&c);
    d.StoreClassAccess(&a);
    a.StoreClassAccess(&e);
    c.SetDynamicDelegation(true);
    // Every order of the calls gives the same result.
    for (TransformedModule* cls : {&a, &e, &d, &b, &c})
        cls->SecondTransformStep();
    EXPECT_EQ(1, Flag(a));
    EXPECT_EQ(1, Flag(b));
    EXPECT_EQ(1, Flag(c));
    EXPECT_EQ(1, Flag(d));
    EXPECT_EQ(0, Flag(e));
    for (TransformedModule* cls : {&a, &b, &c, &d, &e})
        cls->OnTransformEnd();
    EXPECT_TRUE(a.IsSplPtrNeeded());
    EXPECT_FALSE(e.IsSplPtrNeeded());
}

TEST(ClassAccessGraphNode, MutualAccessEnds)
{
    LayerStack stack;
    TransformedModule a(stack), b(stack), self(stack);
    a.StoreClassAccess(&b);
    b.StoreClassAccess(&a);
    self.StoreClassAccess(&self);
    b.SetDynamicDelegation(true);
    self.SetDynamicDelegation(true);
    a.SecondTransformStep();
    b.SecondTransformStep();
    self.SecondTransformStep();
    EXPECT_EQ(1, Flag(a));
    EXPECT_EQ(1, Flag(b));
    EXPECT_EQ(1, Flag(self));
}

TEST(ClassAccessGraphNode, SameAccessIsRecordedOnce)
{
    LayerStack stack;
    TransformedModule a(stack), b(stack);
    a.StoreClassAccess(&b);
    a.StoreClassAccess(&b);
    a.StoreClassAccess(nullptr);
    EXPECT_EQ(1, a.GetAccessNode().m_Accessed.GetCount());
    EXPECT_EQ(1, b.GetAccessNode().m_Accessing.GetCount());
    EXPECT_EQ(0, a.GetAccessNode().m_Accessing.GetCount());
    a.SecondTransformStep();
    b.SecondTransformStep();
    EXPECT_EQ(0, Flag(a));
    EXPECT_EQ(0, Flag(b));
}
