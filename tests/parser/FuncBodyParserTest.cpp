#include "../Captured.h"
#include "FuncBuilder.h"
#include "Scanned.h"
#include "Snippet.h"

#include "base/ErrorLog.h"
#include "base/Name.h"
#include "parser/BodyParseEvents.h"
#include "parser/ComposedClass.h"
#include "parser/FuncBodyParser.h"
#include "parser/Info.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeID.h"

#include "../scanner/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>

namespace {

// Writes every event as one word: kind(token texts and flags).
class Recorder : public BodyParseEvents {
public:
    void OnTokSuperCall(Lex::Token* super, Lex::Token* separator, Lex::Token* name) override
    {
        Add("super(" + T(super) + "," + T(separator) + "," + T(name) + ")");
    }
    void OnTokThis(Lex::Token& token, bool beforeBody) override { Add("this(" + T(&token) + "," + F(beforeBody) + ")"); }
    void OnMemberAccess(Lex::Token* thisToken, Lex::Token& name, bool beforeBody) override
    {
        Add("member(" + (thisToken ? T(thisToken) : "-") + "," + T(&name) + "," + F(beforeBody) + ")");
    }
    void OnStaticMemberAccess(Lex::Token& cls, Lex::Token& member, Lex::Token& next) override
    {
        Add("static(" + T(&cls) + "," + T(&member) + "," + T(&next) + ")");
    }
    void OnClassInstantiation(Lex::Token& newToken, Lex::Token& next) override
    {
        Add("new(" + T(&newToken) + "," + T(&next) + ")");
    }
    bool OnMetaVar(Lex::Token& token) override
    {
        Add("meta(" + T(&token) + ")");
        return true;
    }

    std::string events;

private:
    static std::string T(Lex::Token* t) { return t ? t->text->text : "null"; }
    static std::string F(bool flag) { return flag ? "1" : "0"; }
    void Add(std::string const& event) { events += events.empty() ? event : " " + event; }
};

// A composed class with its members and the classes of its composition by
// name.
class Composed : public ComposedClass {
public:
    explicit Composed(std::map<std::string, ComposedClass*>& composition) : m_Composition(composition) {}

    MemberInfo* GetMember(char const* name) override
    {
        auto it = members.find(name ? name : "");
        return it == members.end() ? nullptr : it->second;
    }
    ComposedClass* FindComposedClass(char const* name) override
    {
        auto it = m_Composition.find(name ? name : "");
        return it == m_Composition.end() ? nullptr : it->second;
    }

    std::map<std::string, MemberInfo*> members;

private:
    std::map<std::string, ComposedClass*>& m_Composition;
};

// The composed classes of the walks: A (the walked class) with the members
// m and x, and X (also found as CX) with the static member s, the non-static
// t and u without type.
struct Classes {
    Classes()
    {
        composition["A"] = &a;
        composition["X"] = &x;
        composition["CX"] = &x;
        a.members["m"] = &m;
        a.members["x"] = &xField;
        staticType.m_bStatic = true;
        s.SetType(&staticType);
        t.SetType(&plainType);
        x.members["s"] = &s;
        x.members["t"] = &t;
        x.members["u"] = &u;
    }

    std::map<std::string, ComposedClass*> composition;
    Composed a{composition}, x{composition};
    MemberVarInfo m{Name::GetName("m")}, xField{Name::GetName("x")};
    TypeInfo staticType{Name::GetName("int")}, plainType{Name::GetName("int")};
    MemberVarInfo s{Name::GetName("s")}, t{Name::GetName("t")}, u{Name::GetName("u")};
};

// Console output and log element of what run reports.
struct Messages {
    std::string console, log;
};

Messages Report(std::function<void()> const& run)
{
    testutil::TempFolder folder;
    std::string path = folder.path("mosac.log.xml");
    ErrorLog::CloseLogFile();
    ErrorLog::InitLogFile(path.c_str());
    testutil::Captured captured;
    run();
    Messages result;
    result.console = captured.All();
    ErrorLog::CloseLogFile();
    result.log = testutil::ReadFile(path);
    // Only the elements between <log> and </log>.
    result.log = result.log.substr(6, result.log.size() - 13);
    return result;
}

// What the walked function refines.
enum Refined { NONE, PUBLIC, PRIVATE, PRIVATE_NO_NODE, PRIVATE_NO_NAME_TOKEN, PRIVATE_TOKEN_NO_FILE };

// A walk of the first function of a text through the classes above.
struct Walk {
    char const* text;
    char const* file;
    bool reportNew, reportMembers, withClass;
    Refined refined;
    char const* events;
    char const* console;
    char const* log;
};

TEST(FuncBodyParser, ReportsTheUsesInSmallBodies)
{
    FuncBodyParser::AddMetaVar("SplType");
    FuncBodyParser::AddMetaVar("SplType");
    EXPECT_EQ(1, FuncBodyParser::m_MetaVars.GetCount());

    Walk const walks[] = {
        // this
        {"void f() { this->m(); }", "A.h", false, true, true, NONE, "member(this,m,0)", "", ""},
        {"void f() { this->x = 1; }", "A.h", false, true, true, NONE, "this(this,0)", "", ""},
        {"void f() { this -> m(); }", "A.h", false, true, true, NONE, "this(this,0)", "", ""},
        {"void f() { return this; }", "A.h", false, false, true, NONE, "this(this,0)", "", ""},
        {"A() : x(this) { this; x = 0; }", "A.h", false, true, true, NONE,
         "member(-,x,1) this(this,1) this(this,0) member(-,x,0)", "", ""},
        // super
        {"void f() { super::f(); }", "A.h", false, false, true, NONE, "super(super,::,f)", "", ""},
        {"void f() { super::f(); }", "A.h", false, false, true, PUBLIC, "super(super,::,f)", "", ""},
        {"\n\n\n\n\n\nvoid f() { super::g(); }", "A.h", false, false, true, NONE, "",
         "A.h(7) : error: invalid call to super::g\n",
         "<MSG type=\"error\" file=\"A.h\" line=\"7\" >invalid call to super::g</MSG>\n"},
        {"void f() {\n super::f(); }", "A.h", false, false, true, PRIVATE, "",
         "A.h(2) : error: refinement of private method f. see declaration of refined method: B.h:3\n",
         "<MSG type=\"error\" file=\"A.h\" line=\"2\" >refinement of private method f. see declaration of "
         "refined method: B.h:3</MSG>\n"},
        {"void f() { super::f(); }", "A.h", false, false, true, PRIVATE_NO_NODE, "",
         "A.h(1) : error: refinement of private method f. see declaration of refined method: :0\n", nullptr},
        {"void f() { super::f(); }", "A.h", false, false, true, PRIVATE_NO_NAME_TOKEN, "",
         "A.h(1) : error: refinement of private method f. see declaration of refined method: :0\n", nullptr},
        {"void f() { super::f(); }", "A.h", false, false, true, PRIVATE_TOKEN_NO_FILE, "",
         "A.h(1) : error: refinement of private method f. see declaration of refined method: :0\n", nullptr},
        {"void f() { super.f(); super :: f(); }", "A.h", false, false, true, NONE, "", "", ""},
        // Java-like modules: `.` separates
        {"void f() { super.f(); super::f(); }", "A.jak", false, false, true, NONE, "super(super,.,f)", "", ""},
        // Java's own super.g() calls the base class's g; an aspect takes both separators.
        {"void f() { super.g(); }", "A.java", false, false, true, NONE, "", "", ""},
        {"void f() { super::f(); super.f(); }", "A.ah", false, false, true, NONE, "super(super,::,f) super(super,.,f)",
         "", ""},
        {"void f() { super.g(); }", "A.ah", false, false, true, NONE, "", "A.ah(1) : error: invalid call to super::g\n",
         nullptr},
        {"void f() { o.m(); m(); }", "A.jak", false, true, true, NONE, "member(-,m,0)", "", ""},
        // new
        {"void f() { p = new Y(); }", "A.h", false, true, true, NONE, "", "", ""},
        {"void f() { p = new Y(); }", "A.h", true, true, true, NONE, "new(new,Y)", "", ""},
        {"void f() { p = new x(1); x = 2; }", "A.h", true, true, true, NONE, "new(new,x) member(-,x,0)", "", ""},
        {"void f() { p = new x(1); x = 2; }", "A.h", false, true, true, NONE, "member(-,x,0) member(-,x,0)", "", ""},
        // members and static members
        {"void f() { X::s = 1; X::t = 2; X::u = 3; Z::s = 4; ::m = 5; }", "A.h", false, true, true, NONE,
         "static(X,s,=)", "", ""},
        {"void f() { CX::s(); CZ::s(); C::s(); }", "A.h", false, true, true, NONE, "static(CX,s,()", "", ""},
        {"void f() { X::s = 1; }", "A.h", false, false, true, NONE, "", "", ""},
        {"void f() { o.m = p->m + q->*m; m = 1; }", "A.h", false, true, true, NONE, "member(-,m,0)", "", ""},
        {"void f() { m = 1; X::s = 2; this->m(); }", "A.h", false, true, false, NONE, "member(this,m,0)", "", ""},
        // meta variables
        {"void f() { T< SplType >* p; T<SplType> q; List<Other> r; a < b > c; }", "A.h", false, false, true, NONE,
         "meta(SplType) meta(SplType)", "", ""},
    };
    for (Walk const& w : walks) {
        SCOPED_TRACE(w.text);
        Classes classes;
        Scanned s(w.text, w.file);
        FileInfo scope(Name::GetName(w.file));
        testutil::Func f = testutil::Build(s, scope, s("("));
        ASSERT_NE(nullptr, f.def);

        // The function below, in B.h with its name on line 3.
        Scanned lower("\n\nvoid f();", "B.h");
        FileInfo lowerScope(Name::GetName("B.h"));
        NodeFuncDecl* lowerDecl = testutil::Build(lower, lowerScope, lower("(")).decl;
        FuncInfo withoutNode(Name::GetName("f"));
        Snippet noFile("f");
        FuncInfo* refined = w.refined == PRIVATE_NO_NODE ? &withoutNode : lowerDecl->GetInfo();
        refined->SetAccess(w.refined == PUBLIC ? ACCESS_PUBLIC : ACCESS_PRIVATE);
        if (w.refined == PRIVATE_NO_NAME_TOKEN)
            lowerDecl->GetNameNode()->SetFirstToken(nullptr);
        if (w.refined == PRIVATE_TOKEN_NO_FILE)
            lowerDecl->GetNameNode()->SetFirstToken(noFile[0]);
        f.decl->GetInfo()->m_pRefined = w.refined == NONE ? nullptr : refined;

        Recorder events;
        FuncBodyParser parser(*f.def, events);
        parser.m_bReportInstantiations = w.reportNew;
        parser.m_bReportMemberUses = w.reportMembers;
        if (w.withClass)
            parser.m_pModule = &classes.a;
        Messages messages = Report([&] { EXPECT_TRUE(parser.Parse()); });
        EXPECT_EQ(w.events, events.events);
        EXPECT_EQ(w.console, messages.console);
        if (w.log) {
            EXPECT_EQ(w.log, messages.log);
        }
    }
}

TEST(FuncBodyParser, MetaVariablesLoseTheirAngleBrackets)
{
    FuncBodyParser::AddMetaVar("SplType");
    Scanned s("void f() { T< SplType >* p; T<SplType> q; List<Other> r; }");
    FileInfo scope(Name::GetName("t.h"));
    Recorder events;
    FuncBodyParser parser(*testutil::Build(s, scope, s("(")).def, events);
    EXPECT_TRUE(parser.Parse());
    EXPECT_EQ("void f() { T SplType * p; TSplType q; List<Other> r; }", s.Text());
    // The replaced texts are interned.
    EXPECT_EQ(Lex::StrHashTable::insert(""), s("SplType")->prev()->prev()->text);
}

TEST(FuncBodyParser, RangesAndRepeatedWalks)
{
    Classes classes;
    Scanned s("void f() { m = 1; this->m(); }\nvoid g();");
    FileInfo scope(Name::GetName("t.h"));
    testutil::Func f = testutil::Build(s, scope, s("("));
    testutil::Func decl = testutil::Build(s, scope, s("(", 2));
    ASSERT_EQ(nullptr, decl.def);

    // A definition without body, or a range without first token, walks
    // nothing.
    Recorder none;
    NodeFuncDef bodyless(*decl.decl, nullptr, nullptr);
    FuncBodyParser withoutBody(bodyless, none);
    EXPECT_FALSE(withoutBody.Parse());
    FuncBodyParser withoutFirst(*decl.decl, nullptr, s("g"), none);
    EXPECT_FALSE(withoutFirst.Parse());
    EXPECT_EQ("", none.events);

    // An identifier that opens the range has no previous token; a range
    // without `{` is all before the body; a pattern cut off by the end of
    // the range raises nothing.
    Recorder events;
    FuncBodyParser parser(*f.def, s("m"), s("this"), events);
    parser.m_bReportMemberUses = true;
    parser.m_pModule = &classes.a;
    EXPECT_TRUE(parser.Parse());
    EXPECT_EQ("member(-,m,1)", events.events);
    // Each walk starts afresh.
    EXPECT_TRUE(parser.Parse());
    EXPECT_EQ("member(-,m,1) member(-,m,1)", events.events);

    // The reported tokens are the tokens of the list.
    struct Check : Recorder {
        Lex::Token* thisToken = nullptr;
        Lex::Token* name = nullptr;
        void OnMemberAccess(Lex::Token* t, Lex::Token& n, bool) override
        {
            thisToken = t;
            name = &n;
        }
    } check;
    FuncBodyParser whole(*f.def, check);
    EXPECT_TRUE(whole.Parse());
    EXPECT_EQ(s("this"), check.thisToken);
    EXPECT_EQ(s("m", 1), check.name);
}

TEST(FuncBodyParser, GetModuleAndIsStaticMemberNeedAComposedClass)
{
    Classes classes;
    Scanned s("void f() { }");
    FileInfo scope(Name::GetName("t.h"));
    Recorder events;
    FuncBodyParser parser(*testutil::Build(s, scope, s("(")).def, events);
    EXPECT_EQ(nullptr, parser.GetModule("X"));
    EXPECT_FALSE(parser.IsStaticMember("X", "s"));
    parser.m_pModule = &classes.a;
    EXPECT_EQ(&classes.x, parser.GetModule("X"));
    EXPECT_EQ(&classes.x, parser.GetModule("CX"));
    EXPECT_TRUE(parser.IsStaticMember("X", "s"));
    EXPECT_FALSE(parser.IsStaticMember("X", "t"));
    EXPECT_FALSE(parser.IsStaticMember("X", "u"));
    EXPECT_FALSE(parser.IsStaticMember("X", "v"));
    EXPECT_FALSE(parser.IsStaticMember("Z", "s"));
}

} // namespace
