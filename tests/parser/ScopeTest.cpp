#include "Scanned.h"

#include "base/Name.h"
#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFile.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeNSDef.h"
#include "parser/Scope.h"

#include <gtest/gtest.h>

namespace {

NodeNSDef* Namespace(Scanned& s, char const* name, int n)
{
    return new NodeNSDef(*new NodeNSDecl(*s.Id(name, n)), new NodeBlock(nullptr));
}

} // namespace

TEST(Scope, ChildrenAreFiledByNameAndTheFirstOneIsFound)
{
    Scanned s("namespace N { } namespace N { } asm { } asm { } { }");
    NodeFile file(nullptr, "t.h");
    FileScope top(file);
    EXPECT_EQ(nullptr, top.GetFirstChild(Name::GetName("N")));

    NSScope first(*Namespace(s, "N", 0));
    NSScope second(*Namespace(s, "N", 1));
    top.AddChild(first);
    top.AddChild(second);
    EXPECT_EQ(&first, top.GetFirstChild(Name::GetName("N")));
    EXPECT_EQ(&top, second.GetParent());

    // Asm scopes stand on their keyword node, whose name is "asm".
    AsmScope asm1(*new NodeKeyword(s("asm", 0)));
    AsmScope asm2(*new NodeKeyword(s("asm", 1)));
    first.AddChild(asm1);
    first.AddChild(asm2);
    EXPECT_EQ(&asm1, first.GetFirstChild(Name::GetName("asm")));

    // A scope whose node has no name is not filed and keeps no parent.
    AsmScope unnamed(*new NodeBlock(s("{", 2)));
    top.AddChild(unnamed);
    EXPECT_EQ(nullptr, unnamed.GetParent());
    EXPECT_EQ(nullptr, top.GetFirstChild(nullptr));
}

TEST(Scope, InfosAndMembersByKind)
{
    Scanned s("namespace N { } class C { }");
    NodeFile file(nullptr, "t.h");
    NodeNSDef* ns = Namespace(s, "N", 0);
    NodeClassDef* cls = new NodeClassDef(*new NodeClassDecl(*new NodeKeyword(s("class")), *s.Id("C")));

    FileScope fileScope(file);
    NSScope nsScope(*ns);
    ClassScope classScope(*cls);
    AspectScope aspectScope(*cls);
    AsmScope asmScope(*new NodeKeyword(s("class")));

    EXPECT_EQ(&file.GetFileInfo(), fileScope.GetInfo());
    EXPECT_EQ(&ns->GetNSInfo(), nsScope.GetInfoWithWembers());
    EXPECT_EQ(&cls->GetClassInfo(), classScope.GetInfo());
    EXPECT_EQ(&cls->GetClassInfo(), aspectScope.GetInfoWithWembers());
    EXPECT_EQ(SCOPE_ASPECT, aspectScope.GetType());
    EXPECT_EQ(nullptr, asmScope.GetInfo());
    EXPECT_EQ(nullptr, asmScope.GetInfoWithWembers());

    EXPECT_TRUE(fileScope.HasMembers());
    EXPECT_TRUE(nsScope.HasMembers());
    EXPECT_TRUE(classScope.HasMembers());
    EXPECT_TRUE(aspectScope.HasMembers());
    EXPECT_FALSE(asmScope.HasMembers());
}
