// The system's own byte string: a malloc'ed, NUL-terminated buffer with a
// capacity, a grow step and a length. Strings without text of their own share
// one static empty buffer, so an empty string costs no allocation.
//
// A Str holds bytes: copying, assigning, appending, comparing, slicing and
// replacing use its stored length, so NUL bytes inside the text are kept.
// Arguments of type char const* are C strings, read up to their first NUL.
#pragma once

#include <cstddef>
#include <cstring>

class Str {
public:
    Str();
    Str(char const* text);
    Str(Str const& other);
    virtual ~Str();

    Str& operator=(char const* text);
    Str& operator=(Str const& other);

    char const* GetBuffer() const { return m_pText; }
    operator char const*() const { return m_pText; }
    size_t GetLength() const { return m_Length; }
    bool IsEmpty() const { return m_Length == 0; }
    size_t GetCapacity() const { return m_Capacity; }

    // Makes the buffer hold at least `need` bytes (NUL included). It grows by
    // at least the grow step and at least to twice its capacity; the text is
    // kept. With freeOld false the old
    // buffer is not given back (every caller passes true).
    void AllocBuf(size_t need, bool freeOld = true);

    // The first n bytes of data (which may contain NUL bytes); null or 0 empties.
    Str& SetData(char const* data, size_t n);
    // Appends a C string; returns the number of bytes appended.
    size_t AddData(char const* text);

    Str& operator+=(char const* text);
    Str& operator+=(Str const& other);
    Str& operator+=(char c);
    // Appends the number in decimal digits.
    Str& operator<<(unsigned long value);

    // Replaces the text by the printf-style formatted text.
    Str& Format(char const* format, ...) __attribute__((format(printf, 2, 3)));
    // Replaces every occurrence of find, left to right, without rescanning the
    // inserted text. An empty find changes nothing.
    Str& Replace(char const* find, char const* with);

    Str Left(size_t n) const;
    Str Right(size_t n) const;

    // Equality compares the length, then the middle byte, the first byte and
    // finally the whole text.
    bool equals(char const* text, size_t length) const;
    bool operator==(char const* text) const;
    bool operator!=(char const* text) const { return !(*this == text); }
    bool operator==(Str const& other) const { return equals(other.m_pText, other.m_Length); }
    bool operator!=(Str const& other) const { return !(*this == other); }

    // Frees a buffer unless it is null or the shared empty buffer.
    static void SysFreeBuf(void* buffer);

    static size_t m_MinReallocSizeDefault;
    static char m_EmptyStr[1];

protected:
    void InitBuf();
    void Buf_InitBuf();

private:
    friend Str operator+(char const* left, Str const& right);
    friend Str operator+(Str const& left, char const* right);
    friend Str operator+(Str const& left, Str const& right);
    friend Str operator+(Str const& left, char right);

    // Grows like AllocBuf but hands back the old buffer (or null) instead of
    // freeing it, so a source inside the old text stays readable until the
    // caller has copied it.
    char* Grow(size_t need);
    void Append(char const* data, size_t n);
    void Empty();
    static Str Concat(char const* left, size_t leftLength, char const* right, size_t rightLength);

    char* m_pText;
    size_t m_Capacity;
    size_t m_GrowStep;
    size_t m_Length;
};

Str operator+(char const* left, Str const& right);
Str operator+(Str const& left, char const* right);
Str operator+(Str const& left, Str const& right);
Str operator+(Str const& left, char right);
inline bool operator==(char const* left, Str const& right) { return right == left; }
inline bool operator!=(char const* left, Str const& right) { return !(right == left); }

// C string helpers.
struct Chars {
    static size_t len(char const* text) { return strlen(text); }
};
