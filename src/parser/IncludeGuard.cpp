#include "parser/IncludeGuard.h"

#include "base/Array.h"
#include "parser/SyntaxEdit.h"
#include "scanner/Token.h"

#include <cstring>

namespace {

bool TextHasLineBreak(Lex::Token const& token)
{
    return std::strchr(token.text->text, '\n') != nullptr;
}

Lex::Token* SkipBlanks(Lex::Token* token)
{
    while (token && SyntaxEdit::IsSkipped(*token))
        token = token->next();
    return token;
}

bool IsDirective(Lex::Token const* token, int word)
{
    return token && token->language == Lex::Token::pre_id && token->type == word;
}

// The tokens of the directive line that starts with first, without its
// blanks and comments; end gets the last token before the line break.
void DirectiveWords(Lex::Token* first, Array<Lex::Token*>& words, Lex::Token*& end)
{
    words.RemoveAll();
    end = first;
    for (Lex::Token* t = first; t; t = t->next()) {
        if (t != first && TextHasLineBreak(*t))
            break;
        end = t;
        if (!SyntaxEdit::IsSkipped(*t))
            words.Add(t);
    }
}

bool WordIs(Array<Lex::Token*> const& words, int i, char const* text)
{
    return i < words.GetCount() && std::strcmp(words[i]->text->text, text) == 0;
}

// The symbol an include guard's opening line tests: "#ifndef X",
// "#if !defined(X)" or "#if !defined X"; null for any other line.
Lex::Token* GuardSymbol(Array<Lex::Token*> const& w)
{
    if (IsDirective(w[0], Lex::PRE_IFNDEF) && w.GetCount() == 2 && w[1]->type == Lex::TOK_ID)
        return w[1];
    if (!IsDirective(w[0], Lex::PRE_IF) || !WordIs(w, 1, "!") || !WordIs(w, 2, "defined"))
        return nullptr;
    if (w.GetCount() == 4 && w[3]->type == Lex::TOK_ID)
        return w[3];
    if (w.GetCount() == 6 && WordIs(w, 3, "(") && w[4]->type == Lex::TOK_ID && WordIs(w, 5, ")"))
        return w[4];
    return nullptr;
}

// Unlinks the tokens from first through last.
void UnlinkTokens(Lex::Token* first, Lex::Token* last)
{
    for (Lex::Token* t = first; t;) {
        Lex::Token* next = t == last ? nullptr : t->next();
        t->delete_token();
        t = next;
    }
}

} // namespace

void IncludeGuard::Remove(Lex::Token* unitFirst)
{
    Lex::Token* open = SkipBlanks(unitFirst);
    if (!open || open == unitFirst || open->language != Lex::Token::pre_id)
        return;
    Array<Lex::Token*> openWords, defineWords, closeWords;
    Lex::Token *openEnd, *defineEnd, *closeEnd;
    DirectiveWords(open, openWords, openEnd);
    Lex::Token* symbol = GuardSymbol(openWords);
    if (!symbol)
        return;
    Lex::Token* define = SkipBlanks(openEnd->next());
    if (!IsDirective(define, Lex::PRE_DEFINE))
        return;
    DirectiveWords(define, defineWords, defineEnd);
    if (defineWords.GetCount() < 2 || std::strcmp(defineWords[1]->text->text, symbol->text->text) != 0)
        return;
    // The guard's #endif must be the module's last directive with nothing
    // but blanks after its line, and close the opening line's block: no
    // #else or #elif of that block, no #endif of it before.
    Lex::Token* close = nullptr;
    int depth = 1;
    for (Lex::Token* t = defineEnd->next(); t; t = t->next()) {
        if (SyntaxEdit::IsSkipped(*t))
            continue;
        if (close)
            return;
        if (t->language != Lex::Token::pre_id)
            continue;
        switch (t->type) {
        case Lex::PRE_IF:
        case Lex::PRE_IFDEF:
        case Lex::PRE_IFNDEF:
            ++depth;
            break;
        case Lex::PRE_ELSE:
        case Lex::PRE_ELIF:
            if (depth == 1)
                return;
            break;
        case Lex::PRE_ENDIF:
            if (--depth == 0) {
                close = t;
                DirectiveWords(close, closeWords, closeEnd);
                t = closeEnd;
            }
            break;
        default:
            break;
        }
    }
    if (!close)
        return;
    UnlinkTokens(open, openEnd);
    UnlinkTokens(define, defineEnd);
    UnlinkTokens(close, closeEnd);
}
