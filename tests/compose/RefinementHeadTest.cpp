#include "compose/RefinementHead.h"

#include "../Captured.h"
#include "ComposedLine.h"

#include "compose/FOPModule.h"

#include <gtest/gtest.h>

#include <string>

using testutil::ComposedLine;

// A refinement's class head against the class's: what it may add, and what
// is an error naming both modules.
TEST(RefinementHead, Table)
{
    struct Case {
        char const* file;
        char const* lower;
        char const* upper;
        char const* message; // part of the console; "" when the refinement is accepted
    } const cases[] = {
        {"S.h", "class S {\n  int m;\n};\n", "refines class S {\n  int n;\n  int f() { return m; }\n};\n", ""},
        {"S.h", "class S {\n  int m;\n};\n", "refines class S {\n  int x, m;\n};\n",
         "L2/S.h(2) : error: data member m of class S is declared again; "},
        {"S.h", "class S {\n  static int s;\n};\nint S::s = 0;\n", "refines class S {\n  void f() { s = 1; }\n};\n", ""},
        {"S.h", "class S {\n  enum E { a };\n};\n", "refines class S {\n  enum class E { b };\n};\n",
         "L2/S.h(2) : error: nested type E of class S is declared again; "},
        {"S.h", "class S {\n  using T = int;\n};\n", "refines class S {\n  using T = long;\n};\n",
         "error: nested type T of class S"},
        // Forward declarations, friends and members of nested types are no
        // new nested types.
        {"S.h", "class S {\n  struct N { int v; };\n  friend class F;\n};\n",
         "refines class S {\n  struct N;\n  friend class F;\n  int v;\n};\n", ""},
        {"S.h", "template <class T>\nclass S {\n};\n", "template <class T>\nrefines class S {\n};\n", ""},
        {"S.h", "template <class T>\nclass S {\n};\n", "refines class S {\n};\n", ""},
        {"S.h", "template <class T>\nclass S {\n};\n", "template <typename T>\nrefines class S {\n};\n",
         "L2/S.h(1) : error: the template head `template<typename T>` of this refinement differs"},
        {"S.h", "class S {\n};\n", "template <class T>\nrefines class S {\n};\n", "differs from none in"},
        {"S.h", "class S : public B {\n};\n", "refines class S : public B, public C {\n};\n", ""},
        {"S.h", "class S : public B {\n};\n", "refines class S : protected B {\n};\n",
         "L2/S.h(1) : error: this refinement names the base class B with another access than"},
        {"S.jak", "class S implements I {\n}\n", "refines class S implements I {\n}\n", ""},
        {"S.jak", "class S extends B {\n}\n", "refines class S {\n  int k;\n}\n", ""},
        {"S.jak", "class S extends B {\n}\n", "refines class S extends C {\n}\n",
         "says `extends C`, but"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(std::string(c.lower) + "|" + c.upper);
        ComposedLine line;
        Layer& l1 = line.AddLayer("L1");
        Layer& l2 = line.AddLayer("L2");
        line.AddModule(l1, c.file, c.lower);
        FOPModule& top = line.AddModule(l2, c.file, c.upper);
        ASSERT_TRUE(line.Parse("S"));
        testutil::Captured captured;
        bool ok = RefinementHead::Check(top);
        std::string out = captured.All();
        EXPECT_EQ(*c.message == 0, ok) << out;
        if (*c.message)
            EXPECT_NE(std::string::npos, out.find(c.message)) << out;
        else
            EXPECT_EQ("", out);
    }
}

// What a mixin copy declares is the mixin's own: the class may declare it.
TEST(RefinementHead, MixinCopiesAreNoLowerLayer)
{
    ComposedLine line;
    Layer& l1 = line.AddLayer("L1");
    Layer& l2 = line.AddLayer("L2");
    line.AddModule(l1, "M.h", "class M {\npublic:\n  int x;\n};\n");
    line.AddModule(l1, "S.h", "class S {\n  int a;\n};\n");
    FOPModule& top = line.AddModule(l2, "S.h", "refines class S : mixin M {\n  int x;\n};\n");
    ASSERT_TRUE(line.Parse("S"));
    testutil::Captured captured;
    EXPECT_TRUE(RefinementHead::Check(top));
    EXPECT_EQ("", captured.All());
}
