#include "Scanned.h"

#include "base/Name.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFile.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeNSDef.h"
#include "parser/NodeTemplateDef.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string NameOf(Node* node)
{
    Name* name = node ? node->GetName() : nullptr;
    return name ? name->c_str() : "<null>";
}

// The class whose key is the first `class` or `struct` of the text.
NodeClassDef* ClassOf(Scanned& s)
{
    Lex::Token* key = s("class") ? s("class") : s("struct");
    Lex::Token* name = key->next()->next();
    return new NodeClassDef(*new NodeClassDecl(*new NodeKeyword(key), *s.Id(name)));
}

// A base entry as the class-head parser records it: the access keyword
// before the name, and the template arguments up to the given `>`.
struct Entry {
    char const* name;
    int greater; // index of the `>` that closes the arguments, -1 for none
};

NodeBaseClass* AddEntry(Scanned& s, NodeClassDef& cls, Entry const& e)
{
    if (!cls.GetBaseClassDecl())
        cls.SetBaseClassDecl(new NodeBaseClassDecl);
    Lex::Token* name = s(e.name);
    Lex::Token* access = name->prev()->prev();
    NodeBaseClass* entry =
        cls.GetBaseClassDecl()->AddBaseClass(static_cast<Lex::CTokens>(access->type), *access, *s.Id(name));
    if (e.greater >= 0) {
        NodeTempleInstanceDef* args = new NodeTempleInstanceDef(name);
        args->SetLastToken(*s(">", e.greater));
        entry->SetTemplArgs(args);
    }
    return entry;
}

TEST(NodeClassDef, AddBaseClassOnceAndTwice)
{
    Scanned s("class X {\n};");
    NodeClassDef* cls = ClassOf(s);
    EXPECT_EQ("X", NameOf(cls));
    EXPECT_EQ(cls, cls->GetClassInfo().GetDef());

    cls->AddBaseClass(ACCESS_PUBLIC, "Base");
    EXPECT_EQ("class X : public Base{\n};", s.Text());
    NodeBaseClassDecl* list = cls->GetBaseClassDecl();
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(cls, list->m_pClass);
    EXPECT_EQ(cls, list->GetParent());
    ASSERT_NE(nullptr, list->GetBase(0));
    EXPECT_EQ(ACCESS_PUBLIC, list->GetBase(0)->m_Access);
    EXPECT_EQ("Base", NameOf(list->GetBase(0)->GetID()));

    cls->AddBaseClass(ACCESS_NONE, "Base2"); // no access is written as public
    EXPECT_EQ("class X : public Base, public Base2{\n};", s.Text());
    ASSERT_NE(nullptr, list->GetBase(1));
    EXPECT_EQ(ACCESS_PUBLIC, list->GetBase(1)->m_Access);
    EXPECT_EQ(nullptr, list->GetBase(2));

    // Entries added this way can be removed again.
    list->DeleteBase(*list->GetBase(0));
    EXPECT_EQ("class X :  public Base2{\n};", s.Text());
    list->DeleteBase(*list->GetBase(0));
    EXPECT_EQ("class X {\n};", s.Text());
}

TEST(NodeClassDef, AddBaseClassAfterATemplateHeadWithAColon)
{
    Scanned s("template <int N = (1 ? 2 : 3)> class X {};");
    NodeClassDef* cls = ClassOf(s);
    NodeTemplateDef* head = new NodeTemplateDef(s("template"));
    head->SetLastToken(*s(">"));
    cls->GetClassDecl()->SetTemplDef(*head);
    EXPECT_EQ(s("template"), cls->GetClassDecl()->GetFirstToken());
    cls->AddBaseClass(ACCESS_PROTECTED, "Base");
    EXPECT_EQ("template <int N = (1 ? 2 : 3)> class X : protected Base{};", s.Text());
}

TEST(NodeClassDef, AddBaseClassNeedsTheClassBody)
{
    static char const* const texts[] = {"class X; class Y {};", "class X", "class X } {"};
    for (char const* text : texts) {
        Scanned s(text);
        NodeClassDef* cls = ClassOf(s);
        cls->AddBaseClass(ACCESS_PRIVATE, "Base");
        EXPECT_EQ(text, s.Text());
        EXPECT_EQ(nullptr, cls->GetBaseClassDecl());
    }
}

TEST(NodeBaseClassDecl, DeleteBase)
{
    static struct {
        char const* text;
        std::vector<Entry> entries;
        int remove;
        char const* result;
    } const cases[] = {
        {"class X : public A {", {{"A", -1}}, 0, "class X {"},
        {"class X : public A, public B {", {{"A", -1}, {"B", -1}}, 0, "class X :  public B {"},
        {"class X : public A, public B {", {{"A", -1}, {"B", -1}}, 1, "class X : public A{"},
        {"class X : public A<int, char>, public B {", {{"A", 0}, {"B", -1}}, 0, "class X :  public B {"},
        {"class X : public A<int, char>, public B {", {{"A", 0}, {"B", -1}}, 1, "class X : public A<int, char>{"},
        {"class X : public A<B<int>>, public C {", {{"A", -1}, {"C", -1}}, 0, "class X :  public C {"},
        {"class X : private A<(1, 2)>, protected C {", {{"A", 0}, {"C", -1}}, 0, "class X :  protected C {"},
        // A head cut short: the rest of the unit stays.
        {"class X : public A; int y;", {{"A", -1}}, 0, "class X ; int y;"},
    };
    for (auto const& c : cases) {
        Scanned s(c.text);
        NodeClassDef* cls = ClassOf(s);
        std::vector<NodeBaseClass*> entries;
        for (Entry const& e : c.entries)
            entries.push_back(AddEntry(s, *cls, e));
        NodeBaseClassDecl* list = cls->GetBaseClassDecl();
        NodeBaseClass* removed = entries[size_t(c.remove)];
        list->DeleteBase(*removed);
        EXPECT_EQ(c.result, s.Text()) << c.text;
        EXPECT_EQ(int(c.entries.size()) - 1, list->GetChildCount()) << c.text;
        EXPECT_EQ(nullptr, list->GetBase(int(c.entries.size()) - 1)) << c.text;

        // Deleting the tokens again, or an entry that is not in the list,
        // changes nothing.
        removed->DeleteTokens();
        list->DeleteBase(*removed);
        EXPECT_EQ(c.result, s.Text()) << c.text;
    }
}

TEST(NodeBaseClassDecl, AccessOfNewEntriesFollowsTheKeyword)
{
    Scanned s("class X : A {");
    NodeBaseClassDecl list;
    static struct {
        Lex::CTokens type;
        AccessTypes access;
    } const cases[] = {
        {Lex::TOK_PRIVATE, ACCESS_PRIVATE}, {Lex::TOK_PROTECTED, ACCESS_PROTECTED}, {Lex::TOK_PUBLIC, ACCESS_PUBLIC},
        {Lex::TOK_MIXIN, ACCESS_MIXIN},     {Lex::TOK_ID, ACCESS_NONE},
    };
    for (auto const& c : cases) {
        NodeBaseClass* entry = list.AddBaseClass(c.type, *s("A"), *s.Id("A"));
        EXPECT_EQ(c.access, entry->m_Access);
        EXPECT_EQ(s("A"), entry->GetFirstToken());
        EXPECT_EQ(&list, entry->GetParent());
    }
    EXPECT_EQ("class X : A {", s.Text());
}

TEST(NodeClassDef, CopyBaseClass)
{
    Scanned source("class Y : public T<int> {\n};");
    NodeClassDef* from = ClassOf(source);
    NodeBaseClass* entry = AddEntry(source, *from, {"T", 0});

    Scanned target("class X {\n};");
    NodeClassDef* to = ClassOf(target);
    to->CopyBaseClass(*entry);
    EXPECT_EQ("class X : public T<int>{\n};", target.Text());
    EXPECT_EQ("class Y : public T<int> {\n};", source.Text());
    NodeBaseClass* copy = to->GetBaseClassDecl()->GetBase(0);
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ("T", NameOf(copy->GetID()));
    EXPECT_EQ(ACCESS_PUBLIC, copy->m_Access);

    // Once the entry's tokens are gone there is nothing to copy.
    from->GetBaseClassDecl()->DeleteBase(*entry);
    to->CopyBaseClass(*entry);
    EXPECT_EQ("class X : public T<int>{\n};", target.Text());
    EXPECT_EQ(nullptr, to->GetBaseClassDecl()->GetBase(1));

    // An entry whose end lies before its start copies nothing.
    Scanned odd("class Z : public U<int> {};");
    NodeClassDef* other = ClassOf(odd);
    NodeBaseClass* broken = AddEntry(odd, *other, {"U", -1});
    NodeTempleInstanceDef* args = new NodeTempleInstanceDef(odd("U"));
    args->SetLastToken(*odd("class"));
    broken->SetTemplArgs(args);
    to->CopyBaseClass(*broken);
    EXPECT_EQ("class X : public T<int>{\n};", target.Text());
}

TEST(NodeClassDecl, CopyTemplDef)
{
    Scanned source("template <class T> class Y {};");
    NodeTemplateDef head(source("template"));
    head.SetLastToken(*source(">"));

    Scanned target("class X {};");
    NodeClassDef* cls = ClassOf(target);
    NodeClassDecl* decl = cls->GetClassDecl();
    decl->CopyTemplDef(head);
    EXPECT_EQ("template <class T>class X {};", target.Text());
    EXPECT_EQ("template <class T> class Y {};", source.Text());
    NodeTemplateDef* copy = decl->GetTemplDef();
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(decl, copy->GetParent());
    EXPECT_EQ(target("template"), copy->GetFirstToken());
    EXPECT_EQ(target("template"), copy->GetTemplateToken());
    EXPECT_EQ(target(">"), copy->GetLastToken());
    EXPECT_EQ(target("template"), decl->GetFirstToken());

    // A range that does not begin with `template` is copied without a node.
    Scanned plain("class X {};");
    NodeClassDecl* other = ClassOf(plain)->GetClassDecl();
    NodeTemplateDef args(source("<"));
    args.SetLastToken(*source(">"));
    other->CopyTemplDef(args);
    EXPECT_EQ("<class T>class X {};", plain.Text());
    EXPECT_EQ(nullptr, other->GetTemplDef());

    // Nothing to copy: nothing changes.
    NodeTemplateDef open(source("template"));
    other->CopyTemplDef(open);
    EXPECT_EQ("<class T>class X {};", plain.Text());
    EXPECT_EQ(nullptr, other->GetTemplDef());
}

TEST(NodeClassDecl, HeadsRefinementsAndAspects)
{
    Scanned s("public refines class X {}; aspect A {};");
    NodeKeyword* key = new NodeKeyword(s("class"));
    key->m_pRefines = new NodeKeyword(s("refines"));
    key->m_pClassModifier = new NodeClassModifier(s("public"));
    NodeRefinementDecl* head = new NodeRefinementDecl(*key, *s.Id("X"));
    EXPECT_EQ(s("public"), head->GetFirstToken());
    key->m_pClassModifier = nullptr;
    EXPECT_EQ(s("refines"), NodeRefinementDecl(*key, *s.Id("X")).GetFirstToken());
    EXPECT_FALSE(head->IsAspect());
    EXPECT_EQ(NT_CLASS_DECL, head->GetKind());

    NodeRefinementDef refinement(*head);
    EXPECT_TRUE(refinement.IsRefinement());
    EXPECT_EQ(NT_CLASS_DEF, refinement.GetKind());
    EXPECT_EQ("X", std::string(refinement.GetClassInfo().GetNameText()));

    NodeClassDecl* aspect = new NodeClassDecl(*new NodeKeyword(s("aspect")), *s.Id("A"));
    EXPECT_TRUE(aspect->IsAspect());
    EXPECT_FALSE(NodeClassDef(*aspect).IsRefinement());
}

TEST(Nodes, NamespacesAndFiles)
{
    Scanned s("namespace N { }");
    NodeNSDecl* head = new NodeNSDecl(*s.Id("N"));
    NodeBlock* body = new NodeBlock(s("{"));
    NodeNSDef ns(*head, body);
    EXPECT_EQ("N", NameOf(&ns));
    EXPECT_EQ("N", NameOf(head));
    EXPECT_EQ("N", std::string(ns.GetNSInfo().GetNameText()));
    EXPECT_EQ(&ns, body->GetParent());

    NodeFile file(s.unit.first(), "t.h");
    EXPECT_EQ(NT_FILE, file.GetKind());
    EXPECT_EQ(nullptr, file.GetName());
    EXPECT_EQ("t.h", std::string(file.GetFileInfo().GetNameText()));
}

} // namespace
