#include "Parsed.h"

#include <gtest/gtest.h>

TEST(SimpleCPPParser, Smoke)
{
    char const* texts[] = {
        "class A : public B, virtual C { public: void f(); int x; };",
        "struct S : T { };",
        "class A : public B<int, C> { };",
        "class A : public B<C<int>> { void f(); };",
        "class A : public ns::B { };",
        "refines class X { };",
        "namespace N { class A { }; } enum E { a, b };",
        "int a = x .* y; int b = p ->* q;",
        "class A { A() : b(1), c(2) { x = 1; } virtual ~A(); };",
        "void A::f() { }",
        "class A { void f(); }; void A::f() { }",
        "new X(1);",
        "import a.b.c;",
        "aspect L { pointcut p() = call(\"% f()\"); advice p() : before() { } };",
        "super;",
        "class A { void f() { ",
        "struct S { int a; } s;",
        "class A { int a; } \nint x;",
    };
    for (char const* text : texts) {
        Parsed p(text);
        std::cerr << text << "\n  -> " << (p.tu ? "tu" : "null") << " | " << p.Outline() << " | vars "
                  << (p.tu ? testutil::Vars(*p.tu) : "") << " | out [" << p.out << "]\n";
    }
}
