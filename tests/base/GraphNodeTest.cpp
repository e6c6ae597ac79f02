#include "base/GraphNode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A leaf prints its own text; an inner node joins its children.
class TextNode : public PrintableGraphNode<TextNode> {
public:
    explicit TextNode(char const* text = nullptr) : m_pText(text) {}
    Str AsString() override { return m_pText ? Str(m_pText) : PrintChilds(); }

    char const* m_pText;
};

TEST(GraphNode, AddChildLinksTheParent)
{
    TextNode root, other, child("c");
    root.AddChild(&child);
    root.AddChild(nullptr);
    EXPECT_EQ(2, root.GetChildCount());
    EXPECT_EQ(&child, root.GetChild(0));
    EXPECT_EQ(nullptr, root.GetChild(1));
    EXPECT_EQ(&root, child.GetParent());
    EXPECT_EQ(nullptr, root.GetParent());

    other.AddChild(&child);
    EXPECT_EQ(&other, child.GetParent());
    EXPECT_EQ(&child, root.GetChild(0));
}

TEST(GraphNode, DestroyingANodeLeavesItsChildren)
{
    TextNode child("kept");
    {
        TextNode root;
        root.AddChild(&child);
    }
    EXPECT_STREQ("kept", child.AsString().GetBuffer());
    EXPECT_NE(nullptr, child.GetParent());
}

TEST(PrintableGraphNode, PrintsChildrenJoinedBySeparator)
{
    TextNode a("a"), b("b"), c("c");
    struct Case {
        char const* name;
        std::vector<TextNode*> children;
        char const* separator;
        int from, to; // from < -1: the whole node (AsString)
        char const* expected;
    };
    Case const cases[] = {
        {"no children", {}, " ", -2, 0, ""},
        {"three children", {&a, &b, &c}, " ", -2, 0, "a b c"},
        {"comma separator", {&a, &b, &c}, ",", -2, 0, "a,b,c"},
        {"null child in the middle", {&a, nullptr, &c}, " ", -2, 0, "a c"},
        {"null child first", {nullptr, &b, &c}, " ", -2, 0, " b c"},
        {"one child inside", {&a, &b, &c}, " ", 1, 1, " b"},
        {"end beyond the last", {&a, &b, &c}, " ", 1, 10, " b c"},
        {"start at the count", {&a, &b, &c}, " ", 3, 5, ""},
        {"end before start", {&a, &b, &c}, " ", 2, 1, ""},
        {"negative start counts as 0", {&a, &b, &c}, " ", -1, 1, "a b"},
    };
    for (Case const& c : cases) {
        TextNode node;
        node.m_pSeparator = c.separator;
        for (TextNode* child : c.children)
            node.AddChild(child);
        Str text = c.from < -1 ? node.AsString() : node.PrintChilds(c.from, c.to);
        EXPECT_STREQ(c.expected, text.GetBuffer()) << c.name;
    }
}

TEST(PrintableGraphNode, ChildrenPrintThemselves)
{
    TextNode x("x"), y("y"), inner, outer;
    inner.m_pSeparator = "+";
    inner.AddChild(&x);
    inner.AddChild(&y);
    outer.AddChild(&inner);
    outer.AddChild(&x);
    EXPECT_STREQ("x+y x", outer.PrintChilds().GetBuffer());
}

} // namespace
