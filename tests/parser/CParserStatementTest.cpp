#include "ParseState.h"

#include "base/Name.h"
#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeID.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeModifier.h"
#include "parser/NodeTemplateDef.h"
#include "parser/NodeType.h"
#include "parser/NodeVarDecl.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Walks the whole text as the parse driver does and hands each token to the
// current parser.
void Feed(ParseState& p)
{
    CParserState& state = p.state;
    while (Lex::Token* t = state.NextToken()) {
        if (t->language == Lex::Token::pre_id || t->language == Lex::Token::dir_id)
            continue;
        state.GetParser().ProcessToken();
    }
}

std::string NameOf(Node* node)
{
    Name* name = node ? node->GetName() : nullptr;
    return name ? name->c_str() : "<null>";
}

// The declaration of a member variable made at `;`.
NodeVarDecl* DeclOf(MemberVarInfo* info)
{
    if (!info || !info->m_pNode || !info->m_pNode->GetParent())
        return nullptr;
    return static_cast<NodeVariableList*>(info->m_pNode->GetParent())->m_pDecl;
}

} // namespace

TEST(StatementAssembly, QualifiedTypeAndDeclarator)
{
    ParseState p("A::B x;");
    Feed(p);
    ASSERT_EQ(1, p.tu.m_MemberVars.GetCount());
    MemberVarInfo* x = p.tu.GetField("x");
    ASSERT_NE(nullptr, x);
    NodeVarDecl* decl = DeclOf(x);
    ASSERT_NE(nullptr, decl);
    NodeType* type = decl->GetType();
    ASSERT_NE(nullptr, type);
    ASSERT_EQ(NT_ID, type->GetChild(0)->GetKind());
    NodeID* id = static_cast<NodeID*>(type->GetChild(0));
    EXPECT_EQ(p.scanned("A"), id->GetFirstToken());
    EXPECT_EQ(p.scanned("B"), id->GetLastToken());
    EXPECT_STREQ("::A::B", id->GetQualName()->c_str());
    EXPECT_STREQ("B", x->GetType()->GetNameText());
    EXPECT_EQ(id, p.state.GetIdNode(*p.scanned("B")));
    EXPECT_EQ(p.fileScope, decl->GetScope());
}

TEST(StatementAssembly, TwoDeclaratorsShareOneDeclaration)
{
    ParseState p("int a, b;");
    p.state.m_ClassState.OnAccessModifier(Lex::TOK_PUBLIC);
    Feed(p);
    ASSERT_EQ(2, p.projectDB.m_MemberVars.GetCount());
    ASSERT_EQ(2, p.tu.m_MemberVars.GetCount());
    MemberVarInfo* a = p.projectDB.m_MemberVars[0];
    MemberVarInfo* b = p.projectDB.m_MemberVars[1];
    EXPECT_STREQ("a", a->GetNameText());
    EXPECT_STREQ("b", b->GetNameText());
    // Member variables are private whatever the access keyword says.
    EXPECT_EQ(ACCESS_PRIVATE, a->GetAccess());
    EXPECT_EQ(ACCESS_PRIVATE, b->GetAccess());
    NodeVarDecl* decl = DeclOf(a);
    ASSERT_NE(nullptr, decl);
    EXPECT_EQ(decl, DeclOf(b));
    EXPECT_EQ(2, decl->GetVariableList()->GetChildCount());
    EXPECT_EQ(a->GetType(), b->GetType());
    EXPECT_EQ(b, a->GetType()->GetParent());
    EXPECT_STREQ("int", a->GetType()->GetNameText());
}

TEST(StatementAssembly, OperatorNameAndParameterInItsBracket)
{
    ParseState p("bool operator ==(X& o);");
    Feed(p);
    Node* node = p.state.GetIdNode(*p.scanned("=="));
    ASSERT_NE(nullptr, node);
    NodeID* id = static_cast<NodeID*>(node);
    EXPECT_EQ("operator ==", NameOf(id));
    EXPECT_STREQ("::operator ==", id->GetQualName()->c_str());
    EXPECT_EQ(p.scanned("operator"), id->GetFirstToken());
    EXPECT_EQ(p.scanned("operator"), id->GetLastToken());

    // The parameter is declared under the bracket and makes no member.
    EXPECT_EQ(0, p.tu.m_MemberVars.GetCount());
    Node* o = p.state.GetIdNode(*p.scanned("o"));
    ASSERT_NE(nullptr, o);
    ASSERT_NE(nullptr, o->GetParent());
    NodeVarDecl* param = static_cast<NodeVariableList*>(o->GetParent()->GetParent())->m_pDecl;
    ASSERT_NE(nullptr, param);
    ASSERT_NE(nullptr, param->GetParent());
    ASSERT_EQ(NT_ROUND_BRACE, param->GetParent()->GetKind());
    NodeRoundBrace* brace = static_cast<NodeRoundBrace*>(param->GetParent());
    EXPECT_EQ(id, brace->m_pPrecedingNode);
    EXPECT_EQ(p.scanned(")"), brace->GetLastToken());
    EXPECT_EQ(TypeInfo::REFERENCE, param->GetType()->GetTypeInfo().m_Indirection);
    EXPECT_EQ(nullptr, param->GetScope());
}

TEST(StatementAssembly, PointerAndReferenceMarksGoToTheType)
{
    struct Case {
        char const* text;
        char const* name;
        char const* mark;
        int indirection;
    } const cases[] = {
        {"Foo* p;", "p", "*", TypeInfo::POINTER},
        {"Foo& r;", "r", "&", TypeInfo::REFERENCE},
        {"int *q;", "q", "*", TypeInfo::POINTER},
        {"Foo v;", "v", nullptr, TypeInfo::BY_VALUE},
    };
    for (Case const& c : cases) {
        ParseState p(c.text);
        Feed(p);
        MemberVarInfo* info = p.tu.GetField(c.name);
        ASSERT_NE(nullptr, info) << c.text;
        EXPECT_EQ(c.indirection, info->GetType()->m_Indirection) << c.text;
        NodeType* type = DeclOf(info)->GetType();
        Node* last = type->GetChild(type->GetChildCount() - 1);
        if (c.mark) {
            EXPECT_EQ(NT_OPERATOR, last->GetKind()) << c.text;
            EXPECT_EQ(p.scanned(c.mark), last->GetToken()) << c.text;
        } else {
            EXPECT_EQ(1, type->GetChildCount()) << c.text;
        }
    }
}

TEST(StatementAssembly, ModifiersGoToTheNextName)
{
    ParseState p("const Foo c;");
    Feed(p);
    MemberVarInfo* c = p.tu.GetField("c");
    ASSERT_NE(nullptr, c);
    EXPECT_TRUE(c->GetType()->m_bConst);
    EXPECT_STREQ("Foo", c->GetType()->GetNameText());
}

TEST(StatementAssembly, TemplateHeadClosesAtItsMatchingGreaterAndWaitsForTheClass)
{
    ParseState p("template <class T, class U = A<B> > class C");
    Scanned& s = p.scanned;
    Feed(p);
    NodeTemplateDef* head = p.state.m_pClosedTemplate;
    ASSERT_NE(nullptr, head);
    EXPECT_EQ(nullptr, p.state.m_pOpenTemplate);
    EXPECT_EQ(s("template"), head->GetFirstToken());
    EXPECT_EQ(s("template"), head->GetTemplateToken());
    EXPECT_EQ(s(">", 1), head->GetLastToken());

    NodeClassDef* def = new NodeClassDef(*new NodeClassDecl(*new NodeKeyword(s("class", 2)), *s.Id("C")));
    p.state.AddClass(*def);
    EXPECT_EQ(nullptr, p.state.m_pClosedTemplate);
    EXPECT_EQ(head, def->GetClassDecl()->GetTemplDef());
    EXPECT_EQ(def->GetClassDecl(), head->GetParent());
    EXPECT_EQ(s("template"), def->GetClassDecl()->GetFirstToken());

    // The end of the statement drops a head that no class took.
    ParseState q("template <class T> ; class D");
    Feed(q);
    EXPECT_EQ(nullptr, q.state.m_pClosedTemplate);
}

TEST(StatementAssembly, BracketsStandForTheirContentsInTheWindow)
{
    ParseState p("f(a, b)");
    Feed(p);
    CParserState& state = p.state;
    Node* brace = state.GetLastNode(1);
    ASSERT_NE(nullptr, brace);
    ASSERT_EQ(NT_ROUND_BRACE, brace->GetKind());
    EXPECT_EQ(p.scanned(")"), static_cast<NodeRoundBrace*>(brace)->GetLastToken());
    EXPECT_EQ("f", NameOf(state.GetLastNode(2)));
    EXPECT_EQ(state.GetLastNode(2), static_cast<NodeRoundBrace*>(brace)->m_pPrecedingNode);
    EXPECT_EQ(2, state.GetLastIDOrOperatorPos());

    ParseState twice("g()()");
    Feed(twice);
    EXPECT_EQ(NT_ROUND_BRACE, twice.state.GetLastNode(1)->GetKind());
    EXPECT_EQ(NT_ROUND_BRACE, twice.state.GetLastNode(2)->GetKind());
    EXPECT_NE(twice.state.GetLastNode(1), twice.state.GetLastNode(2));
    EXPECT_EQ("g", NameOf(twice.state.GetLastNode(3)));

    // Square brackets right after a type become part of it (a size in them
    // would be the last node instead, and no variable is declared).
    ParseState array("int x[];");
    Feed(array);
    MemberVarInfo* x = array.tu.GetField("x");
    ASSERT_NE(nullptr, x);
    NodeType* type = DeclOf(x)->GetType();
    EXPECT_EQ(NT_SQUARE_BRACE, type->GetChild(type->GetChildCount() - 1)->GetKind());
}

TEST(StatementAssembly, StrayClosingBracketsChangeNothing)
{
    ParseState p("a ) ]");
    CParserState& state = p.state;
    ASSERT_TRUE(p.MoveTo("a"));
    state.OnTokID();
    Node* id = state.CreateIDNode();
    int pos = state.m_LastNodePos;
    ASSERT_TRUE(p.MoveTo(")"));
    state.CloseRound();
    ASSERT_TRUE(p.MoveTo("]"));
    state.CloseSquare();
    EXPECT_EQ(pos, state.m_LastNodePos);
    EXPECT_EQ(id, state.m_pLastNode);
    EXPECT_EQ(id, state.GetLastNode(1));
}

TEST(StatementAssembly, BracketPushedOutOfTheWindowIsNotAddedAgain)
{
    ParseState p("f ( x )");
    CParserState& state = p.state;
    ASSERT_TRUE(p.MoveTo("f"));
    state.OnTokID();
    ASSERT_TRUE(p.MoveTo("("));
    state.OpenRound();
    Node* brace = state.m_pLastNode;
    // More than a ring of nodes inside the bracket.
    for (int i = 0; i < 150; ++i)
        state.AddNode(*new NodeToken(p.scanned("x")));
    int pos = state.m_LastNodePos;
    ASSERT_TRUE(p.MoveTo(")"));
    state.CloseRound();
    EXPECT_EQ(pos, state.m_LastNodePos);
    EXPECT_NE(brace, state.GetLastNode(1));
    EXPECT_TRUE(state.m_RoundBraces.IsEmpty());
}

TEST(StatementAssembly, IdentifierRunsAndDroppedNames)
{
    // Names of enclosing named blocks come first; a name after a literal or
    // another punctuation token starts afresh.
    ParseState p("x = a.b");
    CParserState& state = p.state;
    ASSERT_TRUE(p.MoveTo("x"));
    state.OnTokID();
    ASSERT_TRUE(p.MoveTo("="));
    ASSERT_TRUE(p.MoveTo("a"));
    state.OnTokID();
    EXPECT_EQ(1, state.m_PendingID.GetCount());
    EXPECT_EQ(p.scanned("a"), state.m_PendingID[0]);
    ASSERT_TRUE(p.MoveTo("b"));
    state.OnTokID();
    EXPECT_EQ(2, state.m_PendingID.GetCount());

    NodeBlock* body = new NodeBlock(nullptr);
    body->m_pPrecedingNode = p.scanned.Id("x");
    state.m_BlockStack.Add(body);
    Lex::Token* first = nullptr;
    Lex::Token* last = nullptr;
    QualName* name = state.GetQualName(first, last, Name::GetName("c"));
    ASSERT_NE(nullptr, name);
    EXPECT_STREQ("::x::a::b::c", name->c_str());
    EXPECT_EQ(p.scanned("a"), first);
    EXPECT_EQ(p.scanned("b"), last);

    // Without pending tokens no node is made.
    state.ResetID();
    EXPECT_EQ(nullptr, state.CreateIDNode());
}
