namespace util { namespace detail {
template <class T, int N = 4>
class Container : public Base<T>, protected Other<Map<T, int>> {
    template <class U> friend class Peer;
public:
    typedef T value_type;
    explicit Container(T const& t = T()) : Base<T>(t), m_n(N) {}
    ~Container();
    T& operator[](unsigned long i) { return m_data[i]; }
    bool operator==(Container const& o) const;
    operator bool() const { return m_n > 0; }
    static Container* Create() { return new Container(); }
private:
    T m_data[N];
    unsigned long long m_n : 8;
    float f = 1.5e+3f, g = .5, h = 0x1FUL, i = 017;
    char const* s = L"wide\tstring\"";
    char c = '\'';
};
} }
using namespace util;
