#include "base/Str.h"

#include "scanner/BlockPool.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

size_t Str::m_MinReallocSizeDefault = 64;
char Str::m_EmptyStr[1] = {0};

namespace {

// Text buffers come from the block pool: a run makes millions of short ones.
char* AllocBytes(size_t size)
{
    return static_cast<char*>(Lex::BlockPool::AllocBytes(size));
}

// The growth rule: by the shortfall, but at least by the grow step and at
// least to twice the capacity, so that appending n bytes piece by piece
// costs O(n).
size_t GrownCapacity(size_t capacity, size_t growStep, size_t need)
{
    return capacity + std::max({growStep, need - capacity, capacity});
}

} // namespace

Str::Str()
{
    InitBuf();
}

Str::Str(char const* text)
{
    InitBuf();
    if (text) {
        size_t length = strlen(text);
        AllocBuf(length + 1);
        memcpy(m_pText, text, length + 1);
        m_Length = length;
    }
}

Str::Str(Str const& other)
{
    InitBuf();
    AllocBuf(other.m_Length + 1);
    memcpy(m_pText, other.m_pText, other.m_Length);
    m_pText[other.m_Length] = '\0';
    m_Length = other.m_Length;
}

Str::~Str()
{
    SysFreeBuf(m_pText);
}

void Str::InitBuf()
{
    m_Length = 0;
    Buf_InitBuf();
}

void Str::Buf_InitBuf()
{
    m_Capacity = 0;
    m_GrowStep = m_MinReallocSizeDefault;
    m_pText = m_EmptyStr;
}

void Str::SysFreeBuf(void* buffer)
{
    if (buffer && buffer != m_EmptyStr)
        Lex::BlockPool::FreeBytes(buffer);
}

char* Str::Grow(size_t need)
{
    if (m_Capacity >= need)
        return nullptr;
    size_t capacity = GrownCapacity(m_Capacity, m_GrowStep, need);
    char* buffer = AllocBytes(capacity);
    if (m_Length > 0)
        memcpy(buffer, m_pText, m_Length + 1);
    else
        buffer[0] = '\0';
    char* old = (m_Capacity != 0 && m_pText != m_EmptyStr) ? m_pText : nullptr;
    m_pText = buffer;
    m_Capacity = capacity;
    return old;
}

void Str::AllocBuf(size_t need, bool freeOld)
{
    char* old = Grow(need);
    if (freeOld)
        SysFreeBuf(old);
}

void Str::Empty()
{
    if (m_pText != m_EmptyStr) {
        m_Length = 0;
        m_pText[0] = '\0';
    }
}

Str& Str::SetData(char const* data, size_t n)
{
    if (!data || n == 0) {
        Empty();
        return *this;
    }
    char* old1 = Grow(n);
    m_Length = 0;
    char* old2 = Grow(n + 1);
    memmove(m_pText, data, n);
    m_pText[n] = '\0';
    m_Length = n;
    SysFreeBuf(old1);
    SysFreeBuf(old2);
    return *this;
}

Str& Str::operator=(char const* text)
{
    if (!text || !*text) {
        Empty();
        return *this;
    }
    return SetData(text, strlen(text));
}

Str& Str::operator=(Str const& other)
{
    return SetData(other.m_pText, other.m_Length);
}

void Str::Append(char const* data, size_t n)
{
    char* old = Grow(m_Length + n + 1);
    memmove(m_pText + m_Length, data, n);
    m_Length += n;
    m_pText[m_Length] = '\0';
    SysFreeBuf(old);
}

size_t Str::AddData(char const* text)
{
    if (!text)
        return 0;
    size_t n = strlen(text);
    Append(text, n);
    return n;
}

Str& Str::operator+=(char const* text)
{
    AddData(text);
    return *this;
}

Str& Str::operator+=(Str const& other)
{
    Append(other.m_pText, other.m_Length);
    return *this;
}

Str& Str::operator+=(char c)
{
    Append(&c, 1);
    return *this;
}

Str& Str::operator<<(unsigned long value)
{
    char digits[3 * sizeof(unsigned long) + 1];
    char* p = digits + sizeof digits;
    *--p = '\0';
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    AddData(p);
    return *this;
}

Str& Str::Format(char const* format, ...)
{
    if (!format || !*format) {
        Empty();
        return *this;
    }
    // Formatting goes into a fresh buffer, so arguments that point into this
    // string's own text stay valid; each attempt works on its own copy of the
    // argument list.
    size_t capacity = m_Capacity;
    size_t formatLength = strlen(format);
    if (capacity < formatLength)
        capacity = GrownCapacity(capacity, m_GrowStep, formatLength + 10);
    if (capacity == 0)
        capacity = GrownCapacity(0, m_GrowStep, 1);
    va_list args;
    va_start(args, format);
    for (;;) {
        char* buffer = AllocBytes(capacity);
        va_list attempt;
        va_copy(attempt, args);
        int count = vsnprintf(buffer, capacity, format, attempt);
        va_end(attempt);
        if (count <= 0) {
            SysFreeBuf(buffer);
            Empty();
            break;
        }
        if (static_cast<size_t>(count) < capacity) {
            SysFreeBuf(m_pText);
            m_pText = buffer;
            m_Capacity = capacity;
            m_Length = static_cast<size_t>(count);
            break;
        }
        SysFreeBuf(buffer);
        capacity = GrownCapacity(capacity, m_GrowStep, 2 * capacity);
    }
    va_end(args);
    return *this;
}

Str& Str::Replace(char const* find, char const* with)
{
    if (!find || !*find)
        return *this;
    if (!with)
        with = "";
    size_t findLength = strlen(find);
    size_t withLength = strlen(with);
    Str work;
    work.AllocBuf(findLength + 1);
    // The whole text is searched, bytes behind a NUL too.
    char const* rest = m_pText;
    char const* end = m_pText + m_Length;
    while (char const* hit = static_cast<char const*>(memmem(rest, static_cast<size_t>(end - rest), find, findLength))) {
        work.Append(rest, static_cast<size_t>(hit - rest));
        work.Append(with, withLength);
        rest = hit + findLength;
    }
    work.Append(rest, static_cast<size_t>(end - rest));
    return SetData(work.m_pText, work.m_Length);
}

Str Str::Left(size_t n) const
{
    if (n == 0)
        return Str();
    size_t k = std::min(n, m_Length);
    return Concat(m_pText, k, nullptr, 0);
}

Str Str::Right(size_t n) const
{
    if (n == 0)
        return Str();
    if (n < m_Length)
        return Concat(m_pText + (m_Length - n), n, nullptr, 0);
    return Concat(m_pText, m_Length, nullptr, 0);
}

bool Str::equals(char const* text, size_t length) const
{
    if (length != m_Length)
        return false;
    if (length == 0)
        return true;
    if (m_pText[length / 2] != text[length / 2])
        return false;
    if (m_pText[0] != text[0])
        return false;
    return memcmp(m_pText, text, length) == 0;
}

bool Str::operator==(char const* text) const
{
    if (!text)
        text = "";
    return equals(text, strlen(text));
}

// A new string holding both parts, with its own buffer of max(total + 1, 64).
Str Str::Concat(char const* left, size_t leftLength, char const* right, size_t rightLength)
{
    Str result;
    result.AllocBuf(leftLength + rightLength + 1);
    if (leftLength)
        memcpy(result.m_pText, left, leftLength);
    if (rightLength)
        memcpy(result.m_pText + leftLength, right, rightLength);
    result.m_Length = leftLength + rightLength;
    result.m_pText[result.m_Length] = '\0';
    return result;
}

Str operator+(char const* left, Str const& right)
{
    size_t leftLength = left ? strlen(left) : 0;
    return Str::Concat(left, leftLength, right.m_pText, right.m_Length);
}

Str operator+(Str const& left, char const* right)
{
    size_t rightLength = right ? strlen(right) : 0;
    return Str::Concat(left.m_pText, left.m_Length, right, rightLength);
}

Str operator+(Str const& left, Str const& right)
{
    return Str::Concat(left.m_pText, left.m_Length, right.m_pText, right.m_Length);
}

Str operator+(Str const& left, char right)
{
    return Str::Concat(left.m_pText, left.m_Length, &right, 1);
}
