#include "scanner/Token.h"

#include <new>
#include <ostream>

namespace Lex {

LanguageID const Token::comment_id("Comment");
LanguageID const Token::pre_id("Preprocessor");
LanguageID const Token::macro_op_id("Pre macro op");
LanguageID const Token::dir_id("Directive");
LanguageID const Token::cpp_id("C++");
LanguageID const Token::keyword_id("C++ keyword");
LanguageID const Token::identifier_id("C++ identifier");
LanguageID const Token::white_id("Whitespace");
LanguageID const Token::wildcard_id("Wildcard");
LanguageID const Token::open_id("(");
LanguageID const Token::comma_id(",");
LanguageID const Token::close_id(")");

Token::Token(int type_, LanguageID lang, char const* text_)
    : type(clamp_type(type_)), flags(lang == comment_id ? comment_flag : 0), language(lang), text(nullptr),
      cont_lines(nullptr), condition(nullptr)
{
    choose_text(type_, text_);
}

Token::Token(Token const& other)
    : ListElement(), type(other.type), flags(other.flags), location(other.location),
      language(other.language), text(other.text),
      cont_lines(other.cont_lines ? new Array<int>(*other.cont_lines) : nullptr), condition(nullptr)
{
}

Token::~Token()
{
    delete cont_lines;
}

Token* Token::duplicate() const
{
    return new Token(*this);
}

// Picks the text for a token made with the number type (before clamping).
// The language and the clamped type are already stored, so type 0 (which
// has_static_text reads as the own type) still means type 0.
void Token::choose_text(int type_, char const* text_)
{
    char const* chosen = text_;
    if (!text_ || has_static_text(type_))
        chosen = static_text(type_);
    text = StrHashTable::insert(chosen);
}

bool Token::has_static_text(int type_) const
{
    if (language == pre_id || language == dir_id)
        return false;
    if (type_ == 0)
        type_ = type;
    return !type_text_varies(type_);
}

int Token::get_line_breaks() const
{
    int count = 0;
    for (char const* p = text->text; *p; ++p)
        if (*p == '\n')
            ++count;
    return count;
}

void Token::print(std::ostream& os) const
{
    char const* p = text->text;
    size_t rest = text->length;
    char const* const line_end = (flags & crlf_continuation_flag) ? "\\\r\n" : "\\\n";
    for (int i = 0; i < get_continuations(); ++i) {
        int const n = (*cont_lines)[i];
        size_t piece = n > 0 ? size_t(n) : 0;
        if (piece > rest)
            piece = rest; // never past the end of the text
        os.write(p, std::streamsize(piece));
        os << line_end;
        p += piece;
        rest -= piece;
    }
    os.write(p, std::streamsize(rest));
}

Token& Token::AddTokenAfter(Token& t)
{
    if (List* l = list())
        l->insert(*this, t);
    return t;
}

Token& Token::AddTokenBefore(Token& t)
{
    if (Token* before = prev())
        before->list()->insert(*before, t);
    else if (List* l = list())
        l->prepend(t);
    return t;
}

Token* Token::AddTokenAfter(char const* text_, int type_, LanguageID const& lang)
{
    Token* t = new Token(type_, lang, text_);
    AddTokenAfter(*t);
    return t;
}

Token* Token::AddWhitespaceBefore()
{
    Token* t = new Token(TOK_WHITESPACE, white_id, " ");
    AddTokenBefore(*t);
    return t;
}

void Token::delete_token()
{
    if (List* l = list())
        l->remove(*this);
}

void Token::SetType(int type_)
{
    type = clamp_type(type_);
}

void Token::reset(int type_, char const* text_, LanguageID lang)
{
    delete cont_lines;
    cont_lines = nullptr;
    language = lang;
    type = clamp_type(type_);
    if (lang == comment_id)
        flags |= comment_flag;
    choose_text(type_, text_);
}

} // namespace Lex
