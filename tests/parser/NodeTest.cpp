#include "Snippet.h"

#include "base/Name.h"
#include "parser/NodeID.h"
#include "parser/NodeModifier.h"
#include "parser/NodePrinter.h"
#include "parser/NodeToken.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string TextOf(Lex::Token* t)
{
    return t->text->text;
}

std::string NameOf(Node& node)
{
    Name* name = node.GetName();
    return name ? name->c_str() : "<null>";
}

TEST(NodeToken, NameIsTheFixedTextOfItsTokenType)
{
    Snippet s("Foo ::");
    NodeToken id(s[0]);
    NodeToken colons(s[1]);
    NodeToken none(nullptr);
    EXPECT_EQ("<ID>", NameOf(id));
    EXPECT_EQ("::", NameOf(colons));
    EXPECT_EQ("unknown", NameOf(none));
    EXPECT_EQ("<ID>", std::string(id.AsString()));
    EXPECT_EQ(&id, id.GetNodeToken());
}

TEST(NodeToken, DeleteTokensUnlinksTheTokenAndKeepsItAlive)
{
    Snippet s("a b");
    NodeToken node(s[1]);
    node.DeleteTokens();
    EXPECT_EQ(nullptr, node.GetToken());
    EXPECT_EQ("a ", s.Text());
    EXPECT_EQ(nullptr, s[1]->list());
    EXPECT_EQ("b", TextOf(s[1]));
    node.DeleteTokens(); // nothing left to delete
}

TEST(Node, LanguageComesFromTheExtensionOfTheTokensFile)
{
    static struct {
        char const* file;
        uint32_t language;
    } const cases[] = {
        {"src/Main.JAK", 6}, {"a.h", 1},     {"a.CPP", 1},  {"a.c", 1},    {"a.cs", 3},
        {"a.acc", 4},        {"a.Ah", 4},    {"a.java", 5}, {"Makefile", 0}, {"a.", 0},
        {"a.txt", 0},        {"dir.x/Make", 0},
    };
    for (auto const& c : cases) {
        Snippet s("x", c.file);
        NodeToken node(s[0]);
        EXPECT_EQ(c.language, node.GetLanguage()) << c.file;
    }
}

TEST(Node, LanguageSearchesBackwardsThenForwardsAndCachesOnlyAFind)
{
    Snippet back("a b");
    back[0]->location.setup(Lex::Filename("m.java"), 1);
    NodeToken onB(back[1]);
    EXPECT_EQ(5u, onB.GetLanguage());

    Snippet forward("a b");
    forward[1]->location.setup(Lex::Filename("m.h"), 1);
    NodeToken onA(forward[0]);
    EXPECT_EQ(1u, onA.GetLanguage());

    Snippet make("x", "Makefile");
    NodeToken node(make[0]);
    EXPECT_EQ(0u, node.GetLanguage());
    make[0]->location.setup(Lex::Filename("x.jak"), 1);
    EXPECT_EQ(6u, node.GetLanguage()); // 0 was not cached
    make[0]->location.setup(Lex::Filename("x.h"), 1);
    EXPECT_EQ(6u, node.GetLanguage()); // a find is

    NodeToken none(nullptr);
    EXPECT_EQ(0u, none.GetLanguage());
}

TEST(Node, ScopeIsTheNearestOneUpTheParents)
{
    int a = 0, b = 0;
    Scope* outer = reinterpret_cast<Scope*>(&a);
    Scope* inner = reinterpret_cast<Scope*>(&b);
    Node decl(NT_VAR_DECL), type(NT_TYPE), top(NT_CLASS_DEF);
    NodeID id;
    top.AddChild(&decl);
    decl.AddChild(&type);
    type.AddChild(&id);
    EXPECT_EQ(nullptr, id.GetScope());
    top.SetScope(outer);
    EXPECT_EQ(outer, id.GetScope());
    decl.SetScope(inner);
    EXPECT_EQ(inner, id.GetScope());
    EXPECT_EQ(outer, top.GetScope());
}

struct RenameCase {
    char const* words;
    int first, last;  // indexes of the id's range among the words, -1 for none
    char const* text; // null for a null text
    bool retoken;
    bool result;
    char const* tokens;   // the unit afterwards
    char const* qualName; // the id's names afterwards
    char const* name;
};

TEST(NodeID, Rename)
{
    static RenameCase const cases[] = {
        {"A :: B", 0, 2, "X::Y::Z", true, true, "Y::Z", "::X::Y::Z", "Z"},
        {"A :: B", 0, 2, "C", true, true, "A::C", "::C", "C"},
        {"A :: B", 0, 2, "X::Y", false, true, "A::B", "::X::Y", "Y"},
        {"~ Foo", 1, 1, "~Bar", true, true, "~Bar", "::Bar", "Bar"},
        {"A :: ~ B", 0, 3, "N::~M", true, true, "N::~M", "::N::M", "M"},
        {":: B", 1, 1, "X::Y", true, true, "::Y", "::X::Y", "Y"},
        {"A :: B", 0, 2, nullptr, true, false, "A::B", "::A::B", "B"},
        {"", -1, -1, "X::Y", true, false, "", "::X::Y", "Y"},
        {"", -1, -1, "X::Y", false, true, "", "::X::Y", "Y"},
    };
    for (auto const& c : cases) {
        Snippet s(c.words, nullptr, false);
        Lex::Token* first = c.first < 0 ? nullptr : s[static_cast<size_t>(c.first)];
        Lex::Token* last = c.last < 0 ? nullptr : s[static_cast<size_t>(c.last)];
        NodeID id(first, last, QualName::GetName("A::B"));
        EXPECT_EQ(c.result, id.Rename(c.text, c.retoken)) << c.words << " / " << (c.text ? c.text : "null");
        EXPECT_EQ(c.tokens, s.Text()) << c.words;
        EXPECT_STREQ(c.qualName, id.GetQualName()->c_str()) << c.words;
        EXPECT_EQ(c.name, NameOf(id)) << c.words;
        EXPECT_EQ(c.name, std::string(id.AsString()));
    }
}

TEST(NodeID, RenameKeepsTokenTypes)
{
    Snippet s("A :: B", nullptr, false);
    NodeID id(s[0], s[2], QualName::GetName("A::B"));
    id.Rename("X::Y", true);
    EXPECT_EQ(50, s[0]->type);
    EXPECT_EQ(21, s[1]->type);
    EXPECT_EQ(s[0]->text, Lex::StrHashTable::insert("X")); // interned text
}

TEST(NodeID, HasModifier)
{
    Snippet s("pointcut f");
    Lex::Token* pointcut = s.Add(129, "pointcut");
    NodeModifier modifier(pointcut);
    NodeID id(s[1], s[1], QualName::GetName("f"));
    EXPECT_FALSE(id.HasModifier(Lex::TOK_POINTCUT));
    id.m_Modifiers.Add(&modifier);
    EXPECT_TRUE(id.HasModifier(Lex::TOK_POINTCUT));
    EXPECT_FALSE(id.HasModifier(Lex::TOK_ADVICE));
}

TEST(TokenRange, DeleteAllTokensUnlinksOnlyAReachableRange)
{
    Snippet s("a b c d");
    FirstAndLastToken wrongOrder(s[2], s[1]);
    wrongOrder.DeleteAllTokens();
    EXPECT_EQ("a b c d", s.Text());

    Snippet other("x");
    FirstAndLastToken twoLists(s[0], other[0]);
    twoLists.DeleteAllTokens();
    EXPECT_EQ("a b c d", s.Text());
    EXPECT_EQ(nullptr, twoLists.GetTokenCopy());
    EXPECT_EQ(nullptr, wrongOrder.GetTokenCopy());

    FirstAndLastToken range(s[1], s[2]);
    range.DeleteAllTokens();
    EXPECT_EQ("a  d", s.Text());
    EXPECT_EQ(s[1], range.GetFirstToken()); // the ends stay
    EXPECT_EQ("c", TextOf(s[2]));           // and alive

    range.DeleteAllTokens(); // no longer in a list: nothing
    EXPECT_EQ("a  d", s.Text());
}

TEST(TokenRange, NodeIDDeletesItsRange)
{
    Snippet s("int A :: B ;");
    NodeID id(s[1], s[3], QualName::GetName("A::B"));
    id.DeleteTokens();
    EXPECT_EQ("int  ;", s.Text());
}

TEST(TokenRange, CopyBeforeMovesTheFirstTokenToTheCopy)
{
    Snippet head("template < class T >");
    Snippet cls("class X {");
    FirstAndLastToken source(head[0], head[4]);
    FirstToken target;
    target.SetFirstToken(cls[0]);
    target.CopyBefore(source);
    EXPECT_EQ("template < class T >class X {", cls.Text());
    EXPECT_EQ("template", TextOf(target.GetFirstToken()));
    EXPECT_EQ(cls.unit.first(), target.GetFirstToken());
    EXPECT_EQ("template < class T >", head.Text()); // the source is unchanged

    FirstAndLastToken noLast(head[0], nullptr);
    target.CopyBefore(noLast);
    EXPECT_EQ("template < class T >class X {", cls.Text());

    FirstToken noFirst;
    noFirst.CopyBefore(source);
    EXPECT_EQ(nullptr, noFirst.GetFirstToken());
}

TEST(TokenRange, DelFirstToken)
{
    Snippet s("a b");
    FirstToken range;
    range.SetFirstToken(s[0]);
    range.DelFirstToken();
    EXPECT_EQ(" b", s.Text());
    EXPECT_EQ(200, range.GetFirstToken()->type);

    FirstToken none;
    none.DelFirstToken();
    EXPECT_EQ(nullptr, none.GetFirstToken());
}

TEST(NodePrinter, HeadingsByKind)
{
    Snippet s("N");
    NodeID name(s[0], s[0], QualName::GetName("N"));
    Node ns(NT_NS_DECL);
    ns.AddChild(&name);
    Node file(NT_FILE), block(NT_BLOCK), value(NT_VALUE);
    NodePrinter printer;
    EXPECT_EQ("namespace N;\n", std::string(printer.Print(ns)));
    EXPECT_EQ("N", std::string(printer.Print(name)));
    EXPECT_EQ("//File ", std::string(printer.Print(file)));
    EXPECT_EQ("", std::string(printer.Print(block)));
    EXPECT_EQ(" /*not implemented*/ ", std::string(printer.Print(value)));
}

} // namespace
