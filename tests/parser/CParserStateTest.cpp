#include "../Captured.h"
#include "ParseState.h"
#include "Snippet.h"

#include "base/Name.h"
#include "parser/AccessTypes.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeNSDef.h"

#include <gtest/gtest.h>

#include <string>

namespace {

NodeClassDef* ClassNode(Scanned& s, char const* name, int n = 0)
{
    Lex::Token* id = s(name, n);
    Lex::Token* key = id->prev()->prev();
    return new NodeClassDef(*new NodeClassDecl(*new NodeKeyword(key), *s.Id(id)));
}

// Opens the body of a class at the current `{` as the class-head parser
// does: the block under the definition, the class scope entered.
NodeClassDef* OpenClass(ParseState& p, char const* name, int n = 0)
{
    CParserState& state = p.state;
    NodeClassDef* def = ClassNode(p.scanned, name, n);
    state.AddClass(*def);
    NodeBlock* body = new NodeBlock;
    state.AddBlock(*body);
    body->m_pPrecedingNode = def->GetClassDecl()->GetID();
    def->SetBody(body);
    state.m_pActBlock = body;
    state.EnterScope(*new ClassScope(*def));
    return def;
}

// Opens a namespace body at the current `{`.
NodeNSDef* OpenNamespace(ParseState& p, char const* name)
{
    CParserState& state = p.state;
    NodeBlock* body = new NodeBlock;
    state.AddBlock(*body);
    NodeNSDef* def = new NodeNSDef(*new NodeNSDecl(*p.scanned.Id(name)), body);
    body->m_pPrecedingNode = def->ChildAt(0)->ChildAt(0);
    state.m_pActBlock->AddChild(def);
    state.m_pActBlock = body;
    state.EnterScope(*new NSScope(*def));
    return def;
}

std::string Text(Lex::Token* token)
{
    return token ? token->text->text : "<none>";
}

} // namespace

TEST(CParserState, JavaLikeModeByExtensionStaysOn)
{
    struct Case {
        char const* name;
        bool javaLike;
    } const cases[] = {
        {"A.JAK", true},    {"b/A.Cs", true},    {"A.java", true}, {"A.jakx", false},
        {"A.javac", false}, {"cs", false},       {"A.h", false},   {"jak", false},
        {".cs", true},      {"x.JaVa", true},    {"", false},
    };
    for (Case const& c : cases) {
        CParserState state;
        EXPECT_EQ(c.javaLike, state.SetFileName(c.name)) << c.name;
        EXPECT_EQ(c.javaLike, state.IsJavaLike()) << c.name;
        EXPECT_STREQ(c.name, state.GetFileName()->c_str());
    }

    CParserState state;
    EXPECT_TRUE(state.SetFileName("Layer/A.jak"));
    EXPECT_FALSE(state.SetFileName("Layer/B.h"));
    EXPECT_TRUE(state.IsJavaLike());
}

TEST(CParserState, InitEntersTheFileScopeWithTheGlobalParser)
{
    ParseState p("int x;");
    CParserState& state = p.state;
    EXPECT_EQ(p.fileScope, state.GetActScope());
    EXPECT_EQ(p.fileScope, state.GetFileScope());
    EXPECT_EQ(&state.m_GlobalScopeParser, state.m_pActParser);
    EXPECT_EQ(p.fileNode, state.m_pActBlock);
    EXPECT_EQ(p.fileNode, state.m_pLastNode);
    EXPECT_EQ(p.fileNode, state.GetLastNode(1));
    EXPECT_EQ(p.scanned("int"), state.m_pActToken);
    EXPECT_EQ(ACCESS_PRIVATE, state.m_ClassState.GetActAccessType());
}

TEST(CParserState, ParserFollowsTheScopeKind)
{
    ParseState p("class A { };");
    CParserState& state = p.state;
    NodeClassDef* def = ClassNode(p.scanned, "A");
    struct Case {
        Scope* scope;
        CClassHeadParser* parser;
    } const cases[] = {
        {new ClassScope(*def), &state.m_ClassBodyParser},
        {new AspectScope(*def), &state.m_AspectParser},
        {new AsmScope(*new NodeKeyword(p.scanned("class"))), &state.m_MethodBodyParser},
        {new NSScope(*new NodeNSDef(*new NodeNSDecl(*p.scanned.Id("A")), nullptr)), &state.m_GlobalScopeParser},
        {p.fileScope, &state.m_GlobalScopeParser},
        {nullptr, nullptr},
    };
    for (Case const& c : cases) {
        state.SetScope(c.scope);
        EXPECT_EQ(c.parser, state.m_pActParser);
    }
    EXPECT_EQ(&state.m_GlobalScopeParser, &state.GetParser());
}

TEST(CParserState, MovingSkipsPreprocessorLinesAndBlocks)
{
    ParseState p("#define X 1\nint a = 2 ; { { } } b /* c */ ;");
    CParserState& state = p.state;
    Scanned& s = p.scanned;

    // The first step stays on the first token; a pre-processor line is
    // passed over up to the blank that ends it.
    Lex::Token* first = state.NextToken();
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(first->language == Lex::Token::white_id);
    EXPECT_NE(nullptr, strchr(first->text->text, '\n'));
    EXPECT_EQ(s("int"), state.NextToken());
    EXPECT_EQ(Lex::TOK_INT, state.m_ActTokenType);
    state.NextToken();
    EXPECT_EQ(s("int"), state.m_pLastSignificantToken);

    // SkipUntil stops on the token, which the next step takes again.
    state.SkipUntil(Lex::TOK_SEMI_COLON, false);
    EXPECT_EQ(s(";"), state.m_pActToken);
    EXPECT_EQ(s(";"), state.NextToken());

    // SkipBlock ends on the matching `}`, which the next step moves past.
    ASSERT_TRUE(p.MoveTo("{"));
    EXPECT_EQ(s("}", 1), state.SkipCurlyBlock());
    EXPECT_EQ(s("}", 1), state.m_pActToken);
    EXPECT_EQ(s("{"), state.m_pLastSignificantToken);
    state.NextToken();
    EXPECT_EQ(s("}", 1), state.m_pLastSignificantToken);

    // With stopAtSignificant the skip ends at the next significant token,
    // whatever its type; comments are passed over.
    ASSERT_TRUE(p.MoveTo("b"));
    state.SkipUntil(Lex::TOK_SEMI_COLON, true);
    EXPECT_EQ(s(";", 1), state.m_pActToken);
    EXPECT_EQ(s("b"), state.m_pPrevToken);

    // At the end of the file the skips stop with no token.
    EXPECT_EQ(nullptr, state.SkipCurlyBlock());
    EXPECT_EQ(nullptr, state.m_pActToken);
    EXPECT_EQ(nullptr, state.NextToken());
}

TEST(CParserState, ClassBodyFollowedByNeitherSemicolonNorNameIsFatal)
{
    std::string text = "class A {" + std::string(10, '\n') + "}\nint x;";
    ParseState p(text.c_str(), "A.h");
    CParserState& state = p.state;
    ASSERT_TRUE(p.MoveTo("{"));
    NodeClassDef* def = OpenClass(p, "A");
    EXPECT_EQ(def, state.m_ClassState.m_pActClass);
    ASSERT_TRUE(p.MoveTo("}"));

    testutil::Captured captured;
    state.CloseCurly();
    EXPECT_EQ("\nA.h(12): missing semicolon\n", captured.All());
    EXPECT_TRUE(state.IsFatalError());
    EXPECT_EQ(p.scanned("int"), state.m_pActToken);
    EXPECT_EQ(p.scanned("}"), def->GetBody()->GetLastToken());
    EXPECT_EQ(p.fileScope, state.GetActScope());
    EXPECT_EQ(p.fileNode, state.m_pActBlock);
    EXPECT_EQ(nullptr, state.m_ClassState.m_pActClass);
}

TEST(CParserState, ClassBodyEndsThatPass)
{
    struct Case {
        char const* text;
        char const* file;
        char const* next; // the token processed next
    } const cases[] = {
        {"class A { };", "A.h", ";"},
        {"class A { } a;", "A.h", "a"},
        {"class A { } /* c */ ;", "A.h", ";"},
        {"class A { } int x;", "A.jak", "int"},
        {"class A { }", "A.java", "<none>"},
    };
    for (Case const& c : cases) {
        ParseState p(c.text, c.file);
        ASSERT_TRUE(p.MoveTo("{"));
        OpenClass(p, "A");
        ASSERT_TRUE(p.MoveTo("}"));
        testutil::Captured captured;
        p.state.CloseCurly();
        EXPECT_EQ("", captured.All()) << c.text;
        EXPECT_FALSE(p.state.IsFatalError()) << c.text;
        EXPECT_EQ(c.next, Text(p.state.m_pActToken)) << c.text;
        // The driver's next step stays on that token.
        if (p.state.m_pActToken) {
            EXPECT_EQ(c.next, Text(p.state.NextToken())) << c.text;
        }
    }
}

TEST(CParserState, ClassBodyAtTheEndOfTheFileMissesItsSemicolon)
{
    ParseState p("class A { }", "A.h");
    ASSERT_TRUE(p.MoveTo("{"));
    OpenClass(p, "A");
    ASSERT_TRUE(p.MoveTo("}"));
    testutil::Captured captured;
    p.state.CloseCurly();
    EXPECT_EQ("\nA.h(1): missing semicolon\n", captured.All());
    EXPECT_TRUE(p.state.IsFatalError());
}

TEST(CParserState, CloseCurlyWithoutTokenOrOpenBlockChangesNothing)
{
    ParseState p("class A { int x;");
    CParserState& state = p.state;
    ASSERT_TRUE(p.MoveTo("{"));
    NodeClassDef* def = OpenClass(p, "A");
    NodeBlock* body = def->GetBody();

    // Only the file node open: a `}` changes nothing.
    ParseState stray("} x");
    ASSERT_TRUE(stray.MoveTo("}"));
    stray.state.CloseCurly();
    EXPECT_EQ(stray.fileNode, stray.state.m_pActBlock);
    EXPECT_EQ(nullptr, stray.fileNode->GetLastToken());

    // The end of the file inside the body: no token to close it with.
    while (state.NextToken()) {
    }
    testutil::Captured captured;
    state.CloseCurly();
    EXPECT_EQ("", captured.All());
    EXPECT_FALSE(state.IsFatalError());
    EXPECT_EQ(body, state.m_pActBlock);
    EXPECT_EQ(nullptr, body->GetLastToken());
    EXPECT_EQ(2, state.m_BlockStack.GetCount());
    EXPECT_EQ(SCOPE_CLASS, state.GetActScope()->GetType());
}

TEST(CParserState, NamespacesNestAndLeave)
{
    ParseState p("namespace N { namespace M { } }");
    CParserState& state = p.state;
    ASSERT_TRUE(p.MoveTo("{"));
    NodeNSDef* n = OpenNamespace(p, "N");
    ASSERT_TRUE(p.MoveTo("{"));
    NodeNSDef* m = OpenNamespace(p, "M");
    EXPECT_EQ(m, state.m_pActNamespace);
    EXPECT_EQ(2, state.m_NSStack.GetCount());

    ASSERT_TRUE(p.MoveTo("}"));
    state.CloseCurly();
    EXPECT_EQ(n, state.m_pActNamespace);
    EXPECT_EQ(SCOPE_NAMESPACE, state.GetActScope()->GetType());
    ASSERT_TRUE(p.MoveTo("}"));
    state.CloseCurly();
    EXPECT_EQ(nullptr, state.m_pActNamespace);
    EXPECT_EQ(p.fileScope, state.GetActScope());
    EXPECT_EQ(p.fileNode, state.m_pActBlock);
    EXPECT_FALSE(state.IsFatalError());

    // The file scope is never left.
    state.LeaveScope();
    EXPECT_EQ(p.fileScope, state.GetActScope());
    EXPECT_EQ(1, state.m_ScopeStack.GetCount());
}

TEST(CParserState, AccessKeywordStartsWithEachClassAndResetsPerFile)
{
    ParseState p("class A { }; class B { };");
    CParserState& state = p.state;
    ASSERT_TRUE(p.MoveTo("{"));
    OpenClass(p, "A");
    state.m_ClassState.OnAccessModifier(Lex::TOK_PUBLIC);
    ASSERT_TRUE(p.MoveTo("}"));
    state.CloseCurly();
    ASSERT_TRUE(p.MoveTo("{"));
    OpenClass(p, "B");
    EXPECT_EQ(ACCESS_PRIVATE, state.m_ClassState.GetActAccessType());

    struct Case {
        Lex::CTokens keyword;
        AccessTypes access;
    } const cases[] = {
        {Lex::TOK_PRIVATE, ACCESS_PRIVATE},
        {Lex::TOK_PROTECTED, ACCESS_PROTECTED},
        {Lex::TOK_PUBLIC, ACCESS_PUBLIC},
        {Lex::TOK_MIXIN, ACCESS_MIXIN},
        {Lex::TOK_CLASS, ACCESS_NONE},
    };
    for (Case const& c : cases) {
        state.m_ClassState.OnAccessModifier(c.keyword);
        EXPECT_EQ(c.access, state.m_ClassState.GetActAccessType());
        if (c.access != ACCESS_NONE) {
            EXPECT_EQ(c.keyword, ConvertAccessTypeToCToken(c.access));
        }
    }

    ParseState next("class C { };", "C.h", &state);
    EXPECT_EQ(ACCESS_PRIVATE, state.m_ClassState.GetActAccessType());
    EXPECT_EQ(nullptr, state.m_ClassState.m_pActClass);
    EXPECT_EQ(0, state.m_ClassState.m_ClassStack.GetCount());
}

TEST(CParserState, RingOfLastNodesWraps)
{
    ParseState p("a");
    CParserState& state = p.state;
    state.ResetActStatement();
    EXPECT_EQ(nullptr, state.GetLastNode(1));
    EXPECT_EQ(0, state.GetLastIDOrOperatorPos());

    // After Init the file node took slot 0; 97 nodes fill slots 1 to 97, the
    // id slot 98 and three more nodes wrap round to slot 1.
    Lex::Token* a = p.scanned("a");
    for (int i = 0; i < 97; ++i)
        state.AddNode(*new NodeToken(a));
    NodeID* id = p.scanned.Id("a");
    state.AddNode(*id);
    Node* after[3];
    for (Node*& node : after)
        state.AddNode(*(node = new NodeToken(a)));
    EXPECT_EQ(2, state.m_LastNodePos);
    EXPECT_EQ(after[2], state.GetLastNode(1));
    EXPECT_EQ(id, state.GetLastNode(4));
    EXPECT_EQ(4, state.GetLastIDOrOperatorPos());

    // The 101st node overwrote the slot of the first; 100 back is never a
    // node, nor are counts outside the ring.
    ASSERT_EQ(101, state.m_StatementNodes.GetCount());
    EXPECT_EQ(after[2], state.m_LastNodes[1]);
    EXPECT_EQ(state.m_StatementNodes[2], state.GetLastNode(99));
    EXPECT_EQ(nullptr, state.GetLastNode(100));
    EXPECT_EQ(nullptr, state.GetLastNode(0));
    EXPECT_EQ(nullptr, state.GetLastNode(-1));
    EXPECT_EQ(nullptr, state.GetLastNode(250));

    // Stepping back clears the slots stepped onto.
    state.RemoveFromLastTokens(3);
    EXPECT_EQ(id, state.GetLastNode(1));
    EXPECT_EQ(1, state.GetLastIDOrOperatorPos());

    // The end of a statement empties the ring but keeps the position and
    // the last node.
    Node* last = state.m_pLastNode;
    state.ResetActStatement();
    EXPECT_EQ(nullptr, state.GetLastNode(1));
    EXPECT_EQ(last, state.m_pLastNode);
    EXPECT_EQ(0, state.m_StatementNodes.GetCount());
    EXPECT_EQ(nullptr, state.GetFromActStatement(NT_ID));
}

TEST(CParserState, FindScopeFollowsNamesFromTheStartOrTheFileScope)
{
    ParseState p("class A { class B { }; }; namespace N { class C { }; class A { class B { }; }; }");
    CParserState& state = p.state;
    Scanned& s = p.scanned;
    ClassScope* a = new ClassScope(*ClassNode(s, "A"));
    ClassScope* b = new ClassScope(*ClassNode(s, "B"));
    state.EnterScope(*a);
    state.EnterScope(*b);
    Array<Name*> names;
    names.Add(Name::GetName("A"));
    names.Add(Name::GetName("B"));
    EXPECT_EQ(b, state.FindScope(p.fileScope, names, 2));
    EXPECT_EQ(a, state.FindScope(p.fileScope, names, 1));
    EXPECT_EQ(b, state.FindScope(a, names, 2)); // retried from the file scope
    EXPECT_EQ(b, state.FindScope(b, names, 2));
    EXPECT_EQ(b, state.FindScope(b, names, 0));
    EXPECT_EQ(nullptr, state.FindScope(nullptr, names, 2));
    Array<Name*> missing;
    missing.Add(Name::GetName("A"));
    missing.Add(Name::GetName("X"));
    EXPECT_EQ(nullptr, state.FindScope(b, missing, 2));

    // A::B only inside the namespace around the start is not found.
    ParseState q("namespace N { class C { }; class A { class B { }; }; }");
    CParserState& other = q.state;
    NSScope* n = new NSScope(*new NodeNSDef(*new NodeNSDecl(*q.scanned.Id("N")), nullptr));
    other.EnterScope(*n);
    ClassScope* c = new ClassScope(*ClassNode(q.scanned, "C"));
    n->AddChild(*c);
    ClassScope* inner = new ClassScope(*ClassNode(q.scanned, "A"));
    other.EnterScope(*inner);
    other.EnterScope(*new ClassScope(*ClassNode(q.scanned, "B")));
    EXPECT_NE(nullptr, other.FindScope(n, names, 2));
    EXPECT_EQ(nullptr, other.FindScope(c, names, 2));
}

TEST(CParserState, EveryFileStartsWithoutBracketsAndIdentifierNodesOfTheLast)
{
    CParserState state;
    ClassDB project;
    Lex::Token* token = nullptr;
    {
        ParseState first("x [ y", "a.h", &state, &project);
        ASSERT_TRUE(first.MoveTo("x"));
        state.OnTokID();
        token = first.scanned("x");
        Node* id = state.CreateIDNode();
        ASSERT_NE(nullptr, id);
        EXPECT_EQ(id, state.GetIdNode(*token));
        ASSERT_TRUE(first.MoveTo("["));
        state.OpenSquare();
    }
    ParseState second("] z", "b.h", &state, &project);
    EXPECT_EQ(nullptr, state.GetIdNode(*token));
    EXPECT_TRUE(state.m_SquareBraces.IsEmpty());
    ASSERT_TRUE(second.MoveTo("]"));
    Node* last = state.m_pLastNode;
    state.CloseSquare();
    EXPECT_EQ(last, state.m_pLastNode);
}

TEST(CParserState, ErrorLocationFallsBackToTheFileName)
{
    // Tokens without a file of their own.
    Snippet snippet("a b");
    CParserState state;
    state.SetFileName("X.h");
    state.m_pActToken = snippet[1];
    testutil::Captured captured;
    state.OnError("boom", false);
    EXPECT_EQ("\nX.h(0): boom\n", captured.All());
    EXPECT_FALSE(state.IsFatalError());

    // No current token: the previous one gives the place.
    ParseState p("int\n\nx", "P.h");
    ASSERT_TRUE(p.MoveTo("x"));
    while (p.state.NextToken()) {
    }
    captured.Clear();
    p.state.OnError("late", true);
    EXPECT_EQ("\nP.h(3): late\n", captured.All());
    EXPECT_TRUE(p.state.IsFatalError());

    // No token at all.
    state.m_pActToken = nullptr;
    captured.Clear();
    state.OnError("none", false);
    EXPECT_EQ("\nX.h: none\n", captured.All());
}
