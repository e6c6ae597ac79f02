// Text edits on declaration texts that touch whole identifiers only, and the
// head of an interface method made from a declaration text.
#pragma once

#include "base/Str.h"

// The head of an interface method made from a declaration text: the words
// "__inline", "__forceinline", "inline", "virtual" and "override" removed,
// "virtual " put in front unless the text holds the word "static", double
// blanks folded.
Str GetDeclName(Str declaration);

// Text helpers that edit whole identifiers only.
namespace DeclText {
bool ContainsWord(Str const& text, char const* word);
// Every occurrence of word as a whole identifier replaced by with.
Str ReplaceWord(Str const& text, char const* word, char const* with);
// Every occurrence of name as a whole identifier followed by "(" (blanks
// between allowed): the name through the "(" replaced by with.
Str ReplaceCall(Str const& text, char const* name, char const* with);
} // namespace DeclText
