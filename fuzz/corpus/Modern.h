#pragma once
#error don't include this twice: it's not guarded
#define TWICE(x) \
    ((x) + \
     (x))
#include <map>
#include <string>
#include <vector>
namespace A::B {
enum class Color : int { red, green };
template <class T, class U = std::vector<int>>
class [[nodiscard]] alignas(16) API_EXPORT Widget final : public Base<T>::Inner, virtual public Root {
public:
    Widget() : m_v{1, 2}, m_n(1'000'000) { super::Widget(); }
    Widget(const Widget&) = delete;
    ~Widget() noexcept override = default;
    auto Text() const -> const char* { return R"x(a"}b)x"; }
    constexpr int Size() const noexcept(true) { return 2; }
    int operator()(int x) { return x; }
    explicit operator bool() const;
    void Set(unsigned long a, long long b, const std::string&, std::map<int, std::string> m = {}, int y = g() ? 1 : 2);
    template <class V> void Each(V v) {}
    friend bool operator==(const Widget&, const Widget&) { return true; }
    char16_t m_c = u'c'; // it's \
                            a continued comment
    int m_x{5}, *m_p = nullptr;
    unsigned m_bits : 3;
    void (*m_cb)(int);
    int m_v[2]; long m_n;
    typedef int Int;
    using Map = std::map<int, std::string>;
};
template <class T, class U> void Widget<T, U>::Set(unsigned long a, long long b, const std::string& s, std::map<int, std::string> m, int y) {}
}
struct P { int x; } p, *pp, arr[2];
