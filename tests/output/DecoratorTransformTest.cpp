// The texts of interface method heads and the whole-identifier edits that
// build them.
#include "output/DecoratorTransform.h"

#include "output/CombinedTransform.h"
#include "output/DeclText.h"

#include <gtest/gtest.h>

TEST(DecoratorTransform, GetDeclName)
{
    struct Case {
        char const* declaration;
        char const* head;
    } const cases[] = {
        {"int f()", "virtual int f()"},
        {"inline int f()", "virtual int f()"},
        {"virtual int f()", "virtual int f()"},
        {"__forceinline int f()", "virtual int f()"},
        {"__inline virtual int f() override", "virtual int f() "},
        {"static int count(int x)", "static int count(int x)"},
        // Words inside other identifiers stay intact.
        {"int staticCount()", "virtual int staticCount()"},
        {"void draw(int mainline, int outlined)", "virtual void draw(int mainline, int outlined)"},
        {"virtualKey* inlined(override_t o)", "virtual virtualKey* inlined(override_t o)"},
        {"int  f(int   a)", "virtual int f(int a)"},
    };
    for (Case const& c : cases)
        EXPECT_STREQ(c.head, GetDeclName(c.declaration).GetBuffer()) << c.declaration;
}

TEST(DecoratorTransform, WholeIdentifierEdits)
{
    using namespace DeclText;
    EXPECT_TRUE(ContainsWord("static int f()", "static"));
    EXPECT_FALSE(ContainsWord("int staticCount()", "static"));
    EXPECT_FALSE(ContainsWord("int f(int x_static)", "static"));
    EXPECT_STREQ(" int staticCount(int isstatic)",
                 ReplaceWord("static int staticCount(int isstatic)", "static", "").GetBuffer());
    // A name is replaced only where a call follows.
    EXPECT_STREQ("widget* Stack__widget(int widget)",
                 ReplaceCall("widget* widget(int widget)", "widget", "Stack__widget(").GetBuffer());
    EXPECT_STREQ("int count (int countAll) count",
                 ReplaceCall("int count (int countAll) count", "countAll", "x(").GetBuffer());
    EXPECT_STREQ("int L1_f(int f)", ReplaceCall("int f  (int f)", "f", "L1_f(").GetBuffer());
}

TEST(DecoratorTransform, Names)
{
    EXPECT_STREQ("Stack__Decorator", DecoratorTransform::GetDecoratorName("Stack").GetBuffer());
    struct Case {
        char const* cls;
        char const* unit;
        char const* name;
    } const cases[] = {
        {"Stack", "base", "Stack__base"},
        {"Stack", "a.b", "Stack__a_b"},
        {"Stack", "gui/core.x", "Stack__gui_core_x"},
    };
    for (Case const& c : cases)
        EXPECT_STREQ(c.name, CombinedTransform::GetTransformedClassName(c.cls, c.unit).GetBuffer()) << c.unit;
    EXPECT_STREQ("\tpl* __SPL_PTR;\tpl& GetSPL() { return *__SPL_PTR; };\tpublic: Stack* SetSplPtr(pl& ptr) { "
                 "__SPL_PTR = (pl*)&ptr; return this; }",
                 CombinedTransform::GetSplPtrCode("pl", "Stack").GetBuffer());
}
