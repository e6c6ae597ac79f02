#include "output/DeclText.h"

#include <cctype>
#include <cstring>

namespace {

bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

} // namespace

namespace DeclText {

bool ContainsWord(Str const& text, char const* word)
{
    size_t n = std::strlen(word);
    if (n == 0)
        return false;
    char const* s = text.GetBuffer();
    for (char const* p = std::strstr(s, word); p; p = std::strstr(p + 1, word)) {
        bool startOk = p == s || !IsIdentChar(p[-1]);
        bool endOk = !IsIdentChar(p[n]);
        if (startOk && endOk)
            return true;
    }
    return false;
}

namespace {

// Replaces whole-identifier occurrences of word; with call set, only those
// followed by "(" and then through the "(".
Str Replace(Str const& text, char const* word, char const* with, bool call)
{
    size_t n = std::strlen(word);
    if (n == 0)
        return text;
    char const* s = text.GetBuffer();
    size_t length = text.GetLength();
    Str result;
    size_t i = 0;
    while (i < length) {
        bool match = std::strncmp(s + i, word, n) == 0 && (i == 0 || !IsIdentChar(s[i - 1])) &&
                     !IsIdentChar(s[i + n]);
        size_t end = i + n;
        if (match && call) {
            while (s[end] == ' ' || s[end] == '\t')
                ++end;
            if (s[end] == '(')
                ++end;
            else
                match = false;
        }
        if (match) {
            result += with;
            i = end;
        } else {
            result += s[i];
            ++i;
        }
    }
    return result;
}

} // namespace

Str ReplaceWord(Str const& text, char const* word, char const* with) { return Replace(text, word, with, false); }

Str ReplaceCall(Str const& text, char const* name, char const* with) { return Replace(text, name, with, true); }

} // namespace DeclText

Str GetDeclName(Str declaration)
{
    static char const* const removed[] = {"__inline", "__forceinline", "inline", "virtual", "override"};
    for (char const* word : removed)
        declaration = DeclText::ReplaceWord(declaration, word, "");
    if (!DeclText::ContainsWord(declaration, "static"))
        declaration = "virtual " + declaration;
    while (std::strstr(declaration.GetBuffer(), "  "))
        declaration.Replace("  ", " ");
    return declaration;
}
