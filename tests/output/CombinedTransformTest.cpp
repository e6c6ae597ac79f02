// Classes whose modules lie in several binding units, composed per unit
// through the real parser with the shipped templates: the per-unit classes,
// the interface and decorator header, and the messages of the run.
#include "output/CombinedTransform.h"

#include "base/ErrorLog.h"

#include "../compose/ComposedLine.h"
#include "OptionGuard.h"

#include "output/LayerDecorator.h"
#include "output/Templates.h"

#include <gtest/gtest.h>

#include <string>

using testutil::ComposedLine;
using testutil::ReadFile;

namespace {

bool Contains(std::string const& text, std::string const& part) { return text.find(part) != std::string::npos; }

int Count(std::string const& text, std::string const& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class CombinedTransformTest : public testing::Test {
protected:
    CombinedTransformTest() : m_options(true, nullptr)
    {
        // The shipped templates of the source tree.
        Templates* store = Templates::GetInstance();
        store->SetTemplateFolder(MOSA_FIXTURES "/../../codetemplates");
        store->LoadFolder();
        m_line.stack.m_ProductLineName = "pl";
    }

    std::string Out(char const* name) { return ReadFile(m_line.tmp.path(std::string("out/") + name)); }

    // Runs the line with a log file; m_log gets what the log holds.
    bool RunLogged()
    {
        std::string path = m_line.tmp.path("mosac.log.xml");
        ErrorLog::CloseLogFile();
        ErrorLog::InitLogFile(path.c_str());
        bool ok = m_line.Run();
        ErrorLog::CloseLogFile();
        m_log = ReadFile(path);
        return ok;
    }

    testutil::OptionGuard m_options;
    ComposedLine m_line;
    std::string m_log;
};

} // namespace

TEST_F(CombinedTransformTest, InterfaceMethodsByKindOfMember)
{
    Layer& l1 = m_line.AddLayer("L1");
    Layer& l2 = m_line.AddLayer("L2 dynamicload");
    m_line.AddModule(l1, "Stack.h",
                     "class Stack {\n"
                     "public:\n"
                     "    Stack() {}\n"
                     "    ~Stack() {}\n"
                     "    int push(int x) { return x; }\n"
                     "    int top() const { return 0; }\n"
                     "    int top() { return 1; }\n"
                     "    static int count(int x) { return x; }\n"
                     "    static int total() { return 0; }\n"
                     "    void skip(int, const char*) {}\n"
                     "    void table(int[]) {}\n"
                     "protected:\n"
                     "    void guard() {}\n"
                     "private:\n"
                     "    void hidden() {}\n"
                     "};\n");
    m_line.AddModule(l2, "Stack.h", "refines class Stack {\npublic:\n    int push(int x) { return super::push(x); }\n};\n");
    ASSERT_TRUE(RunLogged());
    std::string header = Out("Stack.h");
    EXPECT_TRUE(Contains(header, "#include \"pl.h\"\n#include \"Class.h\"\n")) << header;
    EXPECT_TRUE(Contains(header, "class Stack : public Class\n")) << header;
    EXPECT_TRUE(Contains(header, "\tvirtual int push(int x) { auto* below = GetSuper_Stack(); if (!below) std::abort(); return below->push(x); }\n")) << header;
    EXPECT_TRUE(Contains(header, "\tvirtual int top()const { auto* below = GetSuper_Stack(); if (!below) std::abort(); return below->top(); }\n")) << header;
    EXPECT_TRUE(Contains(header, "\tvirtual int top() { auto* below = GetSuper_Stack(); if (!below) std::abort(); return below->top(); }\n")) << header;
    EXPECT_TRUE(Contains(header, "\tstatic int count(pl& spl, int x) { return spl.Stack__count(x); }\n")) << header;
    EXPECT_TRUE(Contains(header, "\tstatic int total(pl& spl) { return spl.Stack__total(); }\n")) << header;
    EXPECT_TRUE(Contains(header, "\tvirtual void guard() { auto* below = GetSuper_Stack(); if (!below) std::abort(); return below->guard(); }\n")) << header;
    EXPECT_FALSE(Contains(header, "hidden")) << header;
    // Unnamed parameters get names to pass on; an array cannot simply be named.
    EXPECT_TRUE(Contains(header, "\tvirtual void skip(int __arg1, const char* __arg2) { auto* below = GetSuper_Stack(); "
                                 "if (!below) std::abort(); return below->skip(__arg1,__arg2); }\n"))
        << header;
    EXPECT_FALSE(Contains(header, "table")) << header;
    EXPECT_EQ(1, Count(header, "below->push(")) << header;
    // The interface's making goes to the log only, naming class and file.
    std::string const& log = m_log;
    EXPECT_TRUE(Contains(log, ">class Stack, not found: int push(int)</MSG>")) << log;
    EXPECT_TRUE(Contains(log, ">class Stack, already there: int push(int)</MSG>")) << log;
    EXPECT_FALSE(Contains(m_line.out, "info:")) << m_line.out;
    EXPECT_TRUE(Contains(m_line.out, "warning: unnamed parameter in table")) << m_line.out;

    // The static forwarders of the binding unit's layer class.
    LayerDecorator* unit = LayerDecorator::Of(l1);
    ASSERT_TRUE(unit);
    EXPECT_TRUE(Contains(unit->m_StaticForwarders.GetBuffer(),
                         "\tvirtual int Stack__count(int x){ return Stack__base::count(x); }\n"))
        << unit->m_StaticForwarders.GetBuffer();
    StringSet keys;
    unit->GetStaticMethods(keys);
    EXPECT_TRUE(keys.Contains("virtual int Stack__total(){ auto* below = GetSuperDecorator(); if (!below) std::abort(); return below->Stack__total(); }"));
    EXPECT_TRUE(unit->m_FactoryNames.Contains("New_Stack"));
    EXPECT_TRUE(LayerDecorator::Of(l2)->m_FactoryNames.Contains("New_Stack"));
    EXPECT_EQ(unit, LayerDecorator::Of(l2)->GetSuperDecorator());
    EXPECT_EQ(nullptr, unit->GetSuperDecorator());

    // The per-unit classes derive from the decorator.
    std::string base = Out("Stack__base.h");
    EXPECT_TRUE(Contains(base, "class Stack__base : public Stack__Decorator{")) << base;
    EXPECT_TRUE(Contains(base, "#include \"Stack.h\"\n")) << base;
    EXPECT_TRUE(Contains(base, "Stack__base([[maybe_unused]] Stack* pFinal, [[maybe_unused]] pl& spl) {}")) << base;
    EXPECT_TRUE(Contains(base, "~Stack__base() {}")) << base;
    std::string top = Out("Stack__L2.h");
    EXPECT_TRUE(Contains(top, "class Stack__L2 : public Stack__Decorator")) << top;
    EXPECT_TRUE(Contains(top, "return super->push(x);")) << top;
}

TEST_F(CombinedTransformTest, UnitsAroundAnotherUnit)
{
    // L1 and L3 form unit A, L2 unit B: L1's f is merged into L3's unit
    // under its layer name, L2's version takes that name, and L3's f gets a
    // hook and calls the merged version through the final object.
    Layer& l1 = m_line.AddLayer("L1 bindingunit A");
    Layer& l2 = m_line.AddLayer("L2 dynamicload");
    Layer& l3 = m_line.AddLayer("L3 bindingunit A");
    m_line.AddModule(l1, "Foo.h", "class Foo {\npublic:\n    void f(int x) { }\n};\n");
    m_line.AddModule(l2, "Foo.h", "refines class Foo {\npublic:\n    void f(int x) { super::f(x); }\n};\n");
    m_line.AddModule(l3, "Foo.h", "refines class Foo {\npublic:\n    void f(int x) { super::f(x); }\n};\n");
    ASSERT_TRUE(RunLogged());
    std::string a = Out("Foo__A.h");
    EXPECT_TRUE(Contains(a, "class Foo__A : public Foo__Decorator")) << a;
    EXPECT_TRUE(Contains(a, "void L1_f(int x) { }")) << a;
    EXPECT_TRUE(Contains(a, "void f(int x) { final->L1_f(x); }")) << a;
    std::string b = Out("Foo__L2.h");
    EXPECT_TRUE(Contains(b, "void L1_f(int x) { super->L1_f(x); }")) << b;
    std::string header = Out("Foo.h");
    EXPECT_EQ(1, Count(header, "virtual void L1_f(int x) { auto* below = GetSuper_Foo(); if (!below) std::abort(); return below->L1_f(x); }")) << header;
    EXPECT_EQ(1, Count(header, "virtual void f(int x) { auto* below = GetSuper_Foo(); if (!below) std::abort(); return below->f(x); }")) << header;
    // L2 asks first for L1_f; L3's hook finds it there.
    std::string const& log = m_log;
    size_t first = log.find(">class Foo, not found: void L1_f(int)<");
    size_t again = log.find(">class Foo, already there: void L1_f(int)<");
    size_t plain = log.find(">class Foo, not found: void f(int)<");
    EXPECT_TRUE(first < again && again < plain && plain != std::string::npos) << log;
}

TEST_F(CombinedTransformTest, BodiesGoThroughTheFinalObject)
{
    Layer& l1 = m_line.AddLayer("L1");
    Layer& l2 = m_line.AddLayer("L2 dynamicload");
    Layer& l3 = m_line.AddLayer("L3 dynamicload");
    m_line.AddModule(l1, "Item.h", "class Item {\npublic:\n    Item() {}\n};\n");
    m_line.AddModule(l2, "Item.h", "refines class Item {\npublic:\n    int v;\n};\n");
    m_line.AddModule(l1, "Node.h",
                     "class Node {\n"
                     "public:\n"
                     "    Node() : next(this) { attach(); }\n"
                     "    Node* self() { return this; }\n"
                     "    void attach() { this->link(); link(); secret(); this->secret(); helper(); Node::helper(); }\n"
                     "    void link() {}\n"
                     "    static int helper() { return 0; }\n"
                     "    static int make() { link(); return helper(); }\n"
                     "    Item* one() { return new Item; }\n"
                     "    Item* two(int a) { return new Item(a, 2); }\n"
                     "    Item* many() { return new Item[3]; }\n"
                     "    Node* next;\n"
                     "private:\n"
                     "    void secret() {}\n"
                     "};\n");
    m_line.AddModule(l3, "Node.h",
                     "refines class Node {\npublic:\n    Node() { link(); }\n    void link() { super::link(); }\n};\n");
    ASSERT_TRUE(m_line.Run());
    std::string base = Out("Node__base.h");
    // The higher constructor lies in another unit: this one stays a
    // constructor, with pFinal; a pointer member gets no product line.
    EXPECT_TRUE(Contains(base, "Node__base([[maybe_unused]] Node* pFinal, [[maybe_unused]] pl& spl) : next(pFinal) { pFinal->attach(); }")) << base;
    EXPECT_TRUE(Contains(base, "Node* self() { return this->final; }")) << base;
    EXPECT_TRUE(Contains(base, "this->final->link(); this->final->link(); secret(); this->secret(); helper(); "
                               "Node::helper(GetSPL()); }"))
        << base;
    EXPECT_TRUE(Contains(base, "static int make() { link(); return helper(); }")) << base;
    EXPECT_TRUE(Contains(base, "Item* one() { return  GetSPL().New_Item(); }")) << base;
    EXPECT_TRUE(Contains(base, "Item* two(int a) { return  GetSPL().New_Item( ); }")) << base;
    EXPECT_TRUE(Contains(base, "Item* many() { return new Item[3]; }")) << base;
    EXPECT_TRUE(Contains(m_line.out, "warning: constructor arguments of new Item are not passed to New_Item"))
        << m_line.out;
    std::string top = Out("Node__L3.h");
    EXPECT_TRUE(Contains(top, "Node__L3([[maybe_unused]] Node* pFinal, [[maybe_unused]] pl& spl) { pFinal->link(); }")) << top;
    EXPECT_TRUE(Contains(top, "void link() { super->link(); }")) << top;
}

TEST_F(CombinedTransformTest, ConstructorsMergedInAUnit)
{
    Layer& l1 = m_line.AddLayer("L1");
    Layer& l2 = m_line.AddLayer("L2");
    Layer& l3 = m_line.AddLayer("L3 dynamicload");
    m_line.AddModule(l1, "Foo.h", "class Foo {\npublic:\n    Foo() : n(1) { this->f(); }\n    ~Foo() {}\n"
                                  "    void f() {}\n    int n;\n};\n");
    m_line.AddModule(l2, "Foo.h", "refines class Foo {\npublic:\n    Foo() { f(); }\n    ~Foo() {}\n};\n");
    m_line.AddModule(l3, "Foo.h", "refines class Foo {\npublic:\n    ~Foo() {}\n};\n");
    ASSERT_TRUE(m_line.Run());
    std::string base = Out("Foo__base.h");
    // The lower constructor became a method: no pFinal there.
    EXPECT_TRUE(Contains(base, "L1_Foo__base() { this->final->f(); }")) << base;
    // f is not declared in L2: the call stays within the unit's object.
    EXPECT_TRUE(Contains(base, "Foo__base([[maybe_unused]] Foo* pFinal, [[maybe_unused]] pl& spl) : n(1) {\n\tL1_Foo__base(); f(); }"))
        << base;
    EXPECT_TRUE(Contains(base, "L1_dtor_Foo__base() {}")) << base;
    EXPECT_TRUE(Contains(base, "~Foo__base() {\tL1_dtor_Foo__base();\n}")) << base;
    std::string top = Out("Foo__L3.h");
    // The destructor of the other unit's object is not called from here.
    EXPECT_TRUE(Contains(top, "~Foo__L3() {}")) << top;
}

TEST_F(CombinedTransformTest, BaseClasses)
{
    Layer& l1 = m_line.AddLayer("L1");
    Layer& l2 = m_line.AddLayer("L2");
    Layer& l3 = m_line.AddLayer("L3 dynamicload");
    Layer& l4 = m_line.AddLayer("L4 dynamicload");
    m_line.AddModule(l1, "Shape.h", "class Shape {\npublic:\n    int area() { return 0; }\n};\n");
    m_line.AddModule(l3, "Shape.h", "refines class Shape {\npublic:\n    int area() { return 1; }\n};\n");
    m_line.AddModule(l1, "Plain.h", "class Plain {\n};\n");
    m_line.AddModule(l1, "Foo.h", "class Foo : protected Plain {\n};\n");
    m_line.AddModule(l2, "Foo.h", "refines class Foo : public Shape, private Plain, public External {\n};\n");
    m_line.AddModule(l4, "Foo.h", "refines class Foo : private Shape {\n};\n");
    ASSERT_TRUE(m_line.Run());
    std::string header = Out("Foo.h");
    // Each composed base once, with its first access word; Shape is composed
    // per unit, so no Class base.
    EXPECT_TRUE(Contains(header, "class Foo : protected Plain, public Shape\n")) << header;
    EXPECT_TRUE(Contains(header, "#include \"pl.h\"\n#include \"Plain.h\"\n#include \"Shape.h\"\n")) << header;
    EXPECT_TRUE(Contains(header, "\tShape* GetSuper_Shape() const { return super; }")) << header;
    EXPECT_FALSE(Contains(header, "Class")) << header;
    // A base that names no composed class reaches the unit's written head.
    std::string base = Out("Foo__base.h");
    EXPECT_TRUE(Contains(base, "class Foo__base : public Foo__Decorator, public External{")) << base;
    std::string top = Out("Foo__L4.h");
    EXPECT_TRUE(Contains(top, "class Foo__L4 : public Foo__Decorator{")) << top;
    // The factory method names the first composed base of the module.
    LayerDecorator* unit = LayerDecorator::Of(l1);
    EXPECT_TRUE(Contains(unit->m_FactoryBodies.GetBuffer(), "//factory method for Foo\n")) << unit->m_FactoryBodies.GetBuffer();
}

TEST_F(CombinedTransformTest, NonCppModulesAreReported)
{
    Layer& l1 = m_line.AddLayer("L1");
    Layer& l2 = m_line.AddLayer("L2 dynamicload");
    m_line.AddModule(l1, "Foo.jak", "class Foo {\n    void f() {}\n}\n");
    m_line.AddModule(l2, "Foo.jak", "refines class Foo {\n    void f() { Super().f(); }\n}\n");
    m_line.Run();
    EXPECT_EQ(2, Count(m_line.out, "warning: classes composed per binding unit must be C++ modules")) << m_line.out;
}
