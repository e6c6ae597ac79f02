// Reading the tokens of the code after a module's class: what is blank or
// not written (a token whose condition is off), brackets and their matches,
// the words of a declaration at bracket depth 0 and its text as written.
// The cuts of TrailingCode are made of these.
#pragma once

#include "base/Str.h"

#include <cstddef>
#include <vector>

namespace Lex {
class Token;
}

namespace TrailingTokens {
// White space or a comment.
bool IsBlank(Lex::Token const& t);
// Not hidden by a condition that is off.
bool IsWritten(Lex::Token const& t);
// t exists and reads text.
bool Is(Lex::Token const* t, char const* text);
bool HasLineBreak(Lex::Token const& t);
// A preprocessor line or a directive.
bool IsDirective(Lex::Token const& t);
// The next token that is written and not blank, from t on; after t.
Lex::Token* Significant(Lex::Token* t);
Lex::Token* SignificantAfter(Lex::Token* t);
// Round, square and curly brackets; a literal value.
bool IsOpen(Lex::Token const& t);
bool IsClose(Lex::Token const& t);
bool IsLiteral(Lex::Token const& t);
// The token that closes the bracket opened by open; null when unbalanced.
Lex::Token* Matching(Lex::Token* open, Lex::Token* last);
// The tokens of first..last at bracket depth 0, without blanks.
std::vector<Lex::Token*> TopWords(Lex::Token* first, Lex::Token* last);
// The text of first..last as written, comments made blanks, a line of
// trailing blanks dropped.
Str TextOf(Lex::Token* first, Lex::Token* last);
// The index of the first word in [from, to) that reads text; -1 when none.
int Find(std::vector<Lex::Token*> const& words, char const* text, size_t from = 0, size_t to = size_t(-1));
// The template parameter list that starts at less ("<"): its last token.
Lex::Token* TemplateListEnd(Lex::Token* less);
} // namespace TrailingTokens
