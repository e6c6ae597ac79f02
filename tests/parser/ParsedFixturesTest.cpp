#include "Parsed.h"

#include "base/Name.h"

#include "../scanner/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

// A module file of tests/fixtures/parser parsed under its own name.
std::unique_ptr<Parsed> ParseFixture(char const* name)
{
    std::string text = testutil::ReadFile(std::string(MOSA_FIXTURES) + "/parser/" + name);
    return std::unique_ptr<Parsed>(new Parsed(text.c_str(), name));
}

} // namespace

TEST(ParsedFixtures, ModulesParseToTheirStructure)
{
    struct {
        char const* file;
        char const* outline;
        char const* vars;
    } const cases[] = {
        {"Stack.h",
         "namespace store { class Stack : public Container, protected Counted<int> { "
         "def ::store::Stack::Stack/public:init decl Stack/public decl push/public decl pop/public "
         "def ::store::Stack::empty/public } "
         "def ::store::Stack::Stack/public def ::store::Stack::push/public def ::store::Stack::pop/public }",
         "m_items/private m_size/private m_capacity/private"},
        {"StackTop.h", "refines class Stack { decl top/public def ::Stack::push/public } def ::Stack::top/public",
         "m_last/private"},
        {"Account.jak",
         "class Account { def ::Account::Account/public def ::Account::deposit/public "
         "def ::Account::getBalance/protected }",
         "balance/private"},
        {"Trace.ah", "aspect Trace { decl stackCalls/public def ::Trace::stackCalls/public:init }", "m_calls/private"},
    };
    for (auto const& c : cases) {
        std::unique_ptr<Parsed> p = ParseFixture(c.file);
        ASSERT_NE(nullptr, p->tu) << c.file;
        EXPECT_EQ(c.outline, p->Outline()) << c.file;
        EXPECT_EQ(c.vars, testutil::Vars(*p->tu)) << c.file;
        EXPECT_EQ("", p->out) << c.file;
        EXPECT_EQ(1, p->tu->GetClassCount()) << c.file;
    }
}

TEST(ParsedFixtures, OutOfClassDefinitionsFindTheirDeclarations)
{
    std::unique_ptr<Parsed> p = ParseFixture("Stack.h");
    SimpleTU& tu = *p->tu;
    // The inline constructor and empty(), the destructor, push and pop.
    ASSERT_EQ(5, tu.GetFuncDefCount());
    for (int i = 2; i < 5; ++i) {
        NodeFuncDef* def = tu.m_FuncDefs[i];
        FuncInfo* info = def->GetDecl()->GetInfo();
        NodeFuncDecl* decl = info->GetDecl();
        ASSERT_NE(nullptr, decl);
        EXPECT_NE(def->GetDecl(), decl) << def->GetName()->c_str();
        EXPECT_EQ(def, decl->GetDef()) << def->GetName()->c_str();
        EXPECT_EQ(def, info->GetDef()) << def->GetName()->c_str();
    }
    EXPECT_TRUE(tu.m_FuncDefs[2]->GetDecl()->GetInfo()->IsDestructor());

    // The namespace is known to the project, the class to the file.
    EXPECT_EQ(1, p->parser.GetProjectDB().GetNamespaceCount());
    NodeClassDef* stack = tu.m_Classes.GetFirstValue();
    ASSERT_NE(nullptr, stack);
    EXPECT_STREQ("::store::Stack", stack->GetClassDecl()->GetID()->GetQualName()->c_str());
    EXPECT_EQ(p->scanned("public", 0), stack->GetBaseClassDecl()->GetBase(0)->GetFirstToken());
    EXPECT_EQ(p->scanned(">", 0), stack->GetBaseClassDecl()->GetBase(1)->GetEndToken());
}

TEST(ParsedFixtures, RefinementAspectAndJavaModule)
{
    std::unique_ptr<Parsed> top = ParseFixture("StackTop.h");
    NodeClassDef* refinement = top->tu->m_Classes.GetFirstValue();
    ASSERT_NE(nullptr, refinement);
    EXPECT_TRUE(refinement->IsRefinement());
    EXPECT_EQ(top->scanned("refines"), refinement->GetClassDecl()->GetFirstToken());

    std::unique_ptr<Parsed> trace = ParseFixture("Trace.ah");
    NodeFuncDecl* pointcut = trace->tu->GetFuncDecl("stackCalls");
    ASSERT_NE(nullptr, pointcut);
    EXPECT_EQ(AOPInfo::AOP_POINTCUT, pointcut->GetInfo()->m_AopType);
    EXPECT_TRUE(trace->tu->m_Classes.GetFirstValue()->GetClassDecl()->IsAspect());

    std::unique_ptr<Parsed> account = ParseFixture("Account.jak");
    EXPECT_TRUE(account->parser.GetState().IsJavaLike());
    NodeClassDef* cls = account->tu->m_Classes.GetFirstValue();
    ASSERT_NE(nullptr, cls);
    EXPECT_EQ(nullptr, cls->GetBaseClassDecl());
    EXPECT_EQ(account->scanned("public", 0), cls->GetClassDecl()->GetFirstToken());
}
