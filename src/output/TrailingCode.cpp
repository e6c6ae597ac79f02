#include "output/TrailingCode.h"

#include "output/TrailingTokens.h"
#include "scanner/Token.h"

#include <cstring>

using Lex::Token;
using namespace TrailingTokens;

void TrailingCode::AddError(Token* at, Str const& text)
{
    Message message;
    message.m_Line = at && !at->location.empty() ? at->location.line() : 0;
    message.m_Text = text;
    m_Errors.push_back(message);
}

Token* TrailingCode::DeclarationEnd(Token* first, Token*& body)
{
    body = nullptr;
    // A type, or an initializer after "=", goes on after its braces up to
    // the ";"; a function body ends the declaration.
    bool typeOrValue = false;
    Token* last = first;
    for (Token* t = first; t; t = t->next()) {
        if (IsBlank(*t) || !IsWritten(*t))
            continue;
        last = t;
        switch (t->type) {
        case Lex::TOK_SEMI_COLON:
            return t;
        case Lex::TOK_TEMPLATE: {
            // Its parameter list holds no type or value of the declaration.
            Token* less = SignificantAfter(t);
            if (less && less->type == Lex::TOK_LESS) {
                t = TemplateListEnd(less);
                if (!t)
                    return nullptr;
                last = t;
            }
            break;
        }
        case Lex::TOK_CLASS:
        case Lex::TOK_STRUCT:
        case Lex::TOK_UNION:
        case Lex::TOK_ENUM:
        case Lex::TOK_ASSIGN:
            typeOrValue = true;
            break;
        case Lex::TOK_OPEN_ROUND:
        case Lex::TOK_OPEN_SQUARE:
        case Lex::TOK_OPEN_CURLY: {
            Token* close = Matching(t, nullptr);
            if (!close)
                return nullptr;
            Token* after = SignificantAfter(close);
            // Braces that something other than a "{", "," or ";" follows
            // are a function's body; the braces before it may initialize a
            // member, a "catch" follows the body of a function try block.
            bool goesOn = after
                          && (after->type == Lex::TOK_SEMI_COLON || after->type == Lex::TOK_COMMA
                              || after->type == Lex::TOK_OPEN_CURLY || after->type == Lex::TOK_CATCH
                              || after->type == Lex::TOK_DOT || after->type == Lex::TOK_PTS);
            if (t->type == Lex::TOK_OPEN_CURLY && !typeOrValue && !goesOn) {
                body = t;
                return close;
            }
            t = close;
            last = close;
            break;
        }
        default:
            break;
        }
    }
    return last;
}

void TrailingCode::Split(Token* first, bool separate)
{
    m_Pieces.clear();
    m_Errors.clear();
    m_bSeparate = separate;
    // The blocks opened in the code: true for a block whose names no other
    // file can use (an unnamed namespace).
    std::vector<bool> blocks;
    int conditionals = 0;
    auto internal = [&blocks]() {
        for (bool b : blocks)
            if (b)
                return true;
        return false;
    };
    Token* t = first;
    while (t) {
        Piece piece;
        piece.m_pFirst = t;
        piece.m_pHeadLast = nullptr;
        piece.m_Place = PLACE_BOTH;
        piece.m_bCode = false;
        Token* s = Significant(t);
        if (!s) {
            // Blanks at the end.
            Token* last = t;
            while (last->next())
                last = last->next();
            piece.m_pLast = last;
            m_Pieces.push_back(piece);
            break;
        }
        Token* last = s;
        if (IsDirective(*s)) {
            // A directive line: a conditional frames code in both files;
            // any other line (include, define, pragma) is the header's.
            for (Token* d = s->next(); d && !HasLineBreak(*d); d = d->next())
                last = d;
            bool conditional = s->language == Token::pre_id
                               && (s->type == Lex::PRE_IF || s->type == Lex::PRE_IFDEF || s->type == Lex::PRE_IFNDEF
                                   || s->type == Lex::PRE_ELIF || s->type == Lex::PRE_ELSE
                                   || s->type == Lex::PRE_ENDIF);
            piece.m_Place = conditional ? PLACE_BOTH : PLACE_HEADER;
            piece.m_bCode = !conditional;
            // A conditional opened before the class (an error of its own)
            // is closed in the header, where it was opened.
            if (s->type == Lex::PRE_IF || s->type == Lex::PRE_IFDEF || s->type == Lex::PRE_IFNDEF)
                ++conditionals;
            else if (conditional && conditionals == 0)
                piece.m_Place = PLACE_HEADER;
            else if (s->type == Lex::PRE_ENDIF)
                --conditionals;
        } else if (s->type == Lex::TOK_CLOSE_CURLY) {
            // The end of a block: of a namespace the module's class lies in,
            // or of one opened here.
            if (!blocks.empty())
                blocks.pop_back();
            Token* after = SignificantAfter(s);
            if (after && after->type == Lex::TOK_SEMI_COLON)
                last = after;
        } else {
            // A namespace or a linkage block opens: both files get its head.
            std::vector<Token*> head;
            Token* open = nullptr;
            for (Token* h = s; h; h = SignificantAfter(h)) {
                head.push_back(h);
                if (h->type == Lex::TOK_OPEN_CURLY) {
                    open = h;
                    break;
                }
                if (h->type == Lex::TOK_SEMI_COLON || h->type == Lex::TOK_ASSIGN || h->type == Lex::TOK_OPEN_ROUND
                    || head.size() > 8)
                    break;
            }
            size_t key = Is(head[0], "inline") ? 1 : 0;
            bool isNamespace = open && head.size() > key && head[key]->type == Lex::TOK_NAMESPACE;
            bool isLinkage = open && head.size() == 3 && head[0]->type == Lex::TOK_EXTERN
                             && head[1]->type == Lex::TOK_STRING_VAL;
            if (isNamespace || isLinkage) {
                blocks.push_back(isNamespace && head.size() == key + 2);
                last = open;
            } else {
                Token* body = nullptr;
                last = DeclarationEnd(s, body);
                if (!last) {
                    // Unbalanced brackets: everything left stays together.
                    last = s;
                    while (last->next())
                        last = last->next();
                    body = nullptr;
                }
                Classify(piece, s, last, body, internal());
                piece.m_bCode = true;
            }
        }
        piece.m_pLast = last;
        if (!separate) {
            piece.m_Place = PLACE_BOTH;
            piece.m_HeaderDecl = Str();
            piece.m_pHeadLast = nullptr;
        }
        m_Pieces.push_back(piece);
        t = last->next();
    }
}

void TrailingCode::Classify(Piece& piece, Token* first, Token* last, Token* body, bool internal)
{
    piece.m_Place = PLACE_HEADER;
    std::vector<Token*> words = TopWords(first, body ? body->prev() : last);
    if (words.empty())
        return;
    size_t at = 0;
    // An `extern "C"` linkage: what follows it counts.
    if (words.size() > 2 && words[0]->type == Lex::TOK_EXTERN && words[1]->type == Lex::TOK_STRING_VAL)
        at = 2;
    if (words[at]->type == Lex::TOK_TEMPLATE) {
        bool specialization = at + 2 < words.size() && words[at + 1]->type == Lex::TOK_LESS
                              && words[at + 2]->type == Lex::TOK_GREATER;
        if (!specialization) {
            // A template stays in the header; an explicit instantiation
            // ("template class X<int>;") is made once.
            if (at + 1 >= words.size() || words[at + 1]->type != Lex::TOK_LESS)
                piece.m_Place = PLACE_IMPL;
            return;
        }
        // An explicit specialization is a declaration as any other.
        at += 3;
    }
    if (at >= words.size())
        return;
    // Everything but functions and variables stays in the header.
    switch (words[at]->type) {
    case Lex::TOK_USING:
    case Lex::TOK_TYPEDEF:
    case Lex::TOK_NAMESPACE:
    case Lex::TOK_FRIEND:
        return;
    default:
        break;
    }
    if (Is(words[at], "static_assert"))
        return;
    int paren = Find(words, "(", at);
    int assign = Find(words, "=", at);
    size_t headEnd = paren >= 0 ? size_t(paren) : words.size();
    if (assign >= 0 && size_t(assign) < headEnd)
        headEnd = size_t(assign);
    for (size_t i = at; i < headEnd; ++i) {
        int type = words[i]->type;
        if (type == Lex::TOK_CLASS || type == Lex::TOK_STRUCT || type == Lex::TOK_UNION || type == Lex::TOK_ENUM)
            return;
        if (type == Lex::TOK_INLINE || Is(words[i], "constexpr") || Is(words[i], "consteval"))
            return;
    }
    bool isStatic = Find(words, "static", at, headEnd) >= 0;
    bool isExtern = Find(words, "extern", at, headEnd) >= 0 && at == 0;
    // The declared name: the word before the parameter list or the
    // initializer ("operator <op>" and "f<int>" included); qualified when
    // "::" stands before it.
    auto qualified = [&words, at](size_t end) {
        if (end <= at)
            return false;
        size_t name = end - 1;
        int op = Find(words, "operator", at, end);
        if (op >= 0) {
            name = size_t(op);
        } else if (Is(words[name], ">")) {
            int depth = 0;
            for (size_t i = name + 1; i-- > at;) {
                if (Is(words[i], ">"))
                    ++depth;
                else if (Is(words[i], "<") && --depth == 0) {
                    name = i > at ? i - 1 : i;
                    break;
                }
            }
        }
        if (name > at && Is(words[name - 1], "~"))
            --name;
        return name > at && words[name - 1]->type == Lex::TOK_COLON_COLON;
    };
    bool function = paren >= 0 && (assign < 0 || paren < assign);
    if (function && !body) {
        // "T x(1);" makes a variable; "T f(int);" declares a function,
        // "X::X() = default;" defines one.
        Token* inside = SignificantAfter(words[paren]);
        bool variable = inside && (IsLiteral(*inside) || (inside->type == Lex::TOK_OPEN_CURLY));
        bool defaulted = assign > paren && size_t(assign) + 1 < words.size() && Is(words[assign + 1], "default");
        if (!variable && !defaulted)
            return;
        if (defaulted) {
            piece.m_Place = qualified(size_t(paren)) ? PLACE_IMPL : PLACE_HEADER;
            return;
        }
        function = false;
    }
    if (function) {
        // A non-inline function is defined once.
        piece.m_Place = PLACE_IMPL;
        if (isStatic || internal || qualified(size_t(paren)) || !m_bSeparate)
            return;
        // Its declaration, with the default arguments, stays in the header;
        // the definition loses them.
        Token* headLast = body->prev();
        std::vector<Token*> head = TopWords(first, headLast);
        for (Token* h : head)
            if (h->type == Lex::TOK_TRY || (h->type == Lex::TOK_COLON && h != head.front())) {
                headLast = h->prev();
                break;
            }
        piece.m_HeaderDecl = TextOf(first, headLast) + ";";
        piece.m_pHeadLast = headLast;
        Token* close = Matching(words[paren], last);
        auto opens = [](Token const& t) { return IsOpen(t) || t.type == Lex::TOK_LESS; };
        auto closes = [](Token const& t) {
            return IsClose(t) || t.type == Lex::TOK_GREATER ? 1 : t.type == Lex::TOK_RSH ? 2 : 0;
        };
        int depth = 0;
        for (Token* p = words[paren]; p && p != close;) {
            Token* next = p->next();
            if (!IsBlank(*p) && IsWritten(*p)) {
                if (opens(*p)) {
                    ++depth;
                } else if (closes(*p)) {
                    depth -= closes(*p);
                } else if (depth == 1 && p->type == Lex::TOK_ASSIGN) {
                    // A default argument: up to the next parameter or the end.
                    Token* end = p;
                    int inner = 0;
                    for (Token* q = p->next(); q && q != close; q = q->next()) {
                        if (!IsBlank(*q)) {
                            if (opens(*q))
                                ++inner;
                            else if (closes(*q) && (inner -= closes(*q)) < 0)
                                break;
                            else if (inner == 0 && q->type == Lex::TOK_COMMA)
                                break;
                        }
                        end = q;
                    }
                    next = end->next();
                    for (Token* q = p; q;) {
                        Token* after = q == end ? nullptr : q->next();
                        q->delete_token();
                        q = after;
                    }
                }
            }
            p = next;
        }
        return;
    }
    // A variable.
    bool isConst = Find(words, "const", at, headEnd) >= 0;
    if (isExtern)
        return;
    if (qualified(headEnd)) {
        // A static data member's definition.
        piece.m_Place = PLACE_IMPL;
        return;
    }
    if (isConst)
        return; // a namespace-scope constant: each file has its own
    piece.m_Place = PLACE_IMPL;
    if (isStatic || internal)
        return;
    if (!m_bSeparate)
        return;
    if (Find(words, "auto", at, headEnd) >= 0 || Find(words, "decltype", at, headEnd) >= 0) {
        AddError(words[at], "a variable after the class whose type is deduced cannot be declared in the class's "
                            "header; write it 'inline' or give its type");
        return;
    }
    // "extern" and the declarators without their initializers.
    Str decl = "extern ";
    Token* from = first;
    while (from && (IsBlank(*from) || !IsWritten(*from)))
        from = from->next();
    int depth = 0;
    bool skipping = false;
    for (Token* t = from; t; t = t == last ? nullptr : t->next()) {
        if (!IsWritten(*t) || (t->flags & Token::comment_flag))
            continue;
        if (t->type == Lex::TOK_SEMI_COLON && depth == 0)
            break;
        bool topComma = depth == 0 && t->type == Lex::TOK_COMMA;
        if (!skipping && depth == 0
            && (t->type == Lex::TOK_ASSIGN || t->type == Lex::TOK_OPEN_CURLY || t->type == Lex::TOK_OPEN_ROUND)) {
            skipping = true;
            size_t n = decl.GetLength();
            while (n > 0 && std::strchr(" \t\r\n", decl.GetBuffer()[n - 1]))
                --n;
            decl = decl.Left(n);
        }
        if (topComma)
            skipping = false;
        if (IsOpen(*t))
            ++depth;
        else if (IsClose(*t) && depth > 0)
            --depth;
        if (!skipping)
            decl += t->text->text;
    }
    size_t n = decl.GetLength();
    while (n > 0 && std::strchr(" \t\r\n", decl.GetBuffer()[n - 1]))
        --n;
    piece.m_HeaderDecl = decl.Left(n) + ";";
    piece.m_pHeadLast = last;
}

bool TrailingCode::HasCode(int place) const
{
    for (Piece const& piece : m_Pieces) {
        if (!piece.m_bCode)
            continue;
        if (piece.m_Place & place)
            return true;
        if ((place & PLACE_HEADER) && !piece.m_HeaderDecl.IsEmpty())
            return true;
    }
    return false;
}
