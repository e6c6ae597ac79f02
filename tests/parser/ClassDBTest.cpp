#include "ParseState.h"

#include "base/Name.h"
#include "parser/ClassDB.h"
#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeNSDef.h"
#include "parser/NodeType.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// A class named by qualified over the first `class` and the name token.
NodeClassDef* Class(Scanned& s, char const* name, int n, char const* qualified)
{
    Lex::Token* token = s(name, n);
    NodeID* id = new NodeID(token, token, QualName::GetName(qualified));
    return new NodeClassDef(*new NodeClassDecl(*new NodeKeyword(s("class")), *id));
}

// `void <name>()` over the tokens of the n-th occurrence of name.
NodeFuncDecl* Func(Scanned& s, InfoWithMembers& owner, char const* name, int n = 0)
{
    Lex::Token* token = s(name, n);
    NodeRoundBrace* brace = new NodeRoundBrace(token->next());
    brace->SetLastToken(*token->next()->next());
    NodeFuncParams* params = new NodeFuncParams(brace);
    params->InitParamListInfo();
    NodeType* type = new NodeType(*new NodeToken(s("void")));
    NodeID* id = new NodeID(token, token, QualName::GetName(name));
    return new NodeFuncDecl(owner, type, nullptr, *id, *params, nullptr);
}

} // namespace

TEST(ClassDB, SameQualifiedClassOnceSameSimpleNameInTwoNamespacesTwice)
{
    Scanned s("class A A A B");
    ClassDB db;
    NodeClassDef* first = Class(s, "A", 0, "N::A");
    db.m_Classes.Add(*first);
    db.m_Classes.Add(*Class(s, "A", 1, "N::A"));
    db.m_Classes.Add(*first);
    EXPECT_EQ(1, db.GetClassCount());

    NodeClassDef* other = Class(s, "A", 2, "M::A");
    db.m_Classes.Add(*other);
    db.m_Classes.Add(*Class(s, "B", 0, "B"));
    EXPECT_EQ(3, db.GetClassCount());

    Array<NodeClassDef*> values;
    db.m_Classes.GetAllValues(values);
    ASSERT_EQ(3, values.GetCount());
    Array<Name*> names;
    db.m_Classes.GetAllNames(names);
    ASSERT_EQ(2, names.GetCount());
    std::set<std::string> texts;
    for (int i = 0; i < names.GetCount(); ++i)
        texts.insert(names[i]->c_str());
    EXPECT_EQ((std::set<std::string>{"A", "B"}), texts);

    // Within one name the definitions keep their order of addition.
    auto* entry = db.m_Classes.Find(Name::GetName("A"));
    ASSERT_NE(nullptr, entry);
    ASSERT_EQ(2, entry->GetValue()->GetCount());
    EXPECT_EQ(first, (*entry->GetValue())[0]);
    EXPECT_EQ(other, (*entry->GetValue())[1]);
    EXPECT_EQ(values[0], db.m_Classes.GetFirstValue());

    ClassDB empty;
    EXPECT_EQ(nullptr, empty.m_Classes.GetFirstValue());
    EXPECT_EQ(0, empty.GetClassCount());
}

TEST(ClassDB, FunctionLookups)
{
    Scanned s("void f() void g() void f()");
    ClassInfo a(Name::GetName("A"));
    ClassInfo b(Name::GetName("B"));
    ClassDB db;
    EXPECT_FALSE(db.HasFuncObject(*new FuncInfo(Name::GetName("f"))));

    NodeFuncDecl* f = Func(s, a, "f");
    NodeFuncDecl* g = Func(s, a, "g");
    db.m_FuncDecls.Add(f);
    db.m_FuncDecls.Add(g);
    EXPECT_EQ(2, db.GetFuncDeclCount());
    EXPECT_EQ(0, db.GetFuncDefCount());

    // A second declaration of f elsewhere: the same function by name and
    // parameters, but another info object.
    NodeFuncDecl* otherF = Func(s, b, "f", 1);
    EXPECT_TRUE(db.HasFuncObject(*f->GetInfo()));
    EXPECT_FALSE(db.HasFuncObject(*otherF->GetInfo()));
    EXPECT_EQ(f, db.GetFuncDecl(*otherF->GetInfo()));
    EXPECT_EQ(g, db.GetFuncDecl(*g->GetInfo()));
    EXPECT_EQ(nullptr, db.GetFuncDecl(FuncInfo(Name::GetName("f"))));

    EXPECT_EQ(g, db.GetFuncDecl("g"));
    EXPECT_EQ(nullptr, db.GetFuncDecl("h"));
}

TEST(ClassDB, FunctionLookupsFollowRemovalsAndRenames)
{
    Scanned s("void f() void g() void f() void g()");
    ClassInfo a(Name::GetName("A"));
    ClassInfo b(Name::GetName("B"));
    ClassDB db;
    NodeFuncDecl* f = Func(s, a, "f");
    NodeFuncDecl* g = Func(s, a, "g");
    NodeFuncDecl* otherF = Func(s, b, "f", 1);
    NodeFuncDecl* otherG = Func(s, b, "g", 1);
    db.m_FuncDecls.Add(f);
    db.m_FuncDecls.Add(g);
    db.m_FuncDecls.Add(f); // twice: one removal leaves it declared
    EXPECT_EQ(f, db.GetFuncDecl(*otherF->GetInfo()));

    db.m_FuncDecls.RemoveAt(0, 1);
    EXPECT_TRUE(db.HasFuncObject(*f->GetInfo()));
    EXPECT_EQ(f, db.GetFuncDecl(*otherF->GetInfo()));
    db.m_FuncDecls.RemoveAt(1, 1);
    EXPECT_FALSE(db.HasFuncObject(*f->GetInfo()));
    EXPECT_EQ(nullptr, db.GetFuncDecl(*otherF->GetInfo()));

    // A declaration renamed after a look-up is found under its new name only.
    EXPECT_EQ(g, db.GetFuncDecl(*otherG->GetInfo()));
    db.m_FuncDecls.Add(f);
    g->Rename("f");
    EXPECT_EQ(g, db.GetFuncDecl(*otherF->GetInfo()));
    EXPECT_EQ(nullptr, db.GetFuncDecl(*otherG->GetInfo()));
}

TEST(ClassDB, FieldByExactName)
{
    ClassDB db;
    MemberVarInfo* ab = new MemberVarInfo(Name::GetName("ab"));
    MemberVarInfo* a = new MemberVarInfo(Name::GetName("a"));
    MemberVarInfo* again = new MemberVarInfo(Name::GetName("a"));
    db.m_MemberVars.Add(ab);
    db.m_MemberVars.Add(a);
    db.m_MemberVars.Add(again);
    EXPECT_EQ(a, db.GetField("a"));
    EXPECT_EQ(ab, db.GetField("ab"));
    EXPECT_EQ(nullptr, db.GetField("abc"));
    EXPECT_EQ(nullptr, db.GetField(""));
}

TEST(SimpleTU, FirstTokenIsAnEmptyBlankAtTheHeadOfTheList)
{
    Scanned s("int x;");
    Lex::ErrorStream errors(std::cerr);
    SimpleTU tu(errors);
    EXPECT_EQ(tu.db(), static_cast<ClassDB*>(&tu));
    EXPECT_EQ(nullptr, tu.GetFirstToken());
    Lex::Token* first = s.unit.first();
    Lex::Token* blank = tu.SetFirstToken(first);
    EXPECT_EQ(blank, tu.GetFirstToken());
    EXPECT_EQ(blank, s.unit.first());
    EXPECT_EQ(first, blank->next());
    EXPECT_EQ(Lex::TOK_WHITESPACE, blank->type);
    EXPECT_TRUE(blank->language == Lex::Token::white_id);
    EXPECT_STREQ("", blank->text->text);
    EXPECT_EQ("int x;", s.Text());
}

TEST(ClassDB, RegistrationThroughTheParserState)
{
    ParseState p("namespace N { class A { class B { }; }; }");
    CParserState& state = p.state;
    Scanned& s = p.scanned;

    // Namespaces reach the project database only.
    NodeNSDef* ns = new NodeNSDef(*new NodeNSDecl(*s.Id("N")), new NodeBlock(s("{")));
    state.AddNS(*ns);
    EXPECT_EQ(1, p.projectDB.GetNamespaceCount());
    EXPECT_EQ(0, p.tu.GetNamespaceCount());
    EXPECT_EQ(0, p.tu.m_Namespaces.GetCount());

    // A class outside classes reaches both; a nested one neither, but both
    // become children of the current block.
    NodeClassDef* a = new NodeClassDef(*new NodeClassDecl(*new NodeKeyword(s("class")), *s.Id("A")));
    state.AddClass(*a);
    EXPECT_EQ(1, p.projectDB.GetClassCount());
    EXPECT_EQ(1, p.tu.GetClassCount());
    EXPECT_EQ(a, state.m_ClassState.m_pLastClass);
    EXPECT_EQ(p.fileNode, a->GetParent());

    state.EnterScope(*new ClassScope(*a));
    NodeClassDef* b = new NodeClassDef(*new NodeClassDecl(*new NodeKeyword(s("class", 1)), *s.Id("B")));
    state.AddClass(*b);
    EXPECT_EQ(1, p.projectDB.GetClassCount());
    EXPECT_EQ(1, p.tu.GetClassCount());
    EXPECT_EQ(b, state.m_ClassState.m_pLastClass);

    // A definition registers its declaration as well.
    ClassInfo owner(Name::GetName("A"));
    Scanned f("void f()");
    NodeFuncDecl* decl = Func(f, owner, "f");
    state.AddFuncDef(*new NodeFuncDef(*decl, nullptr, nullptr));
    state.AddFuncDecl(*Func(f, owner, "f"));
    EXPECT_EQ(1, p.tu.GetFuncDefCount());
    EXPECT_EQ(2, p.tu.GetFuncDeclCount());
    EXPECT_EQ(1, p.projectDB.GetFuncDefCount());
    EXPECT_EQ(decl, p.projectDB.m_FuncDecls[0]);
}
