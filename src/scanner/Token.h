// Tokens: the records of a unit's token list, their language tags and the
// editing members used by the parser and the transformations.
#pragma once

#include "scanner/Array.h"
#include "scanner/BlockPool.h"
#include "scanner/CTokens.h"
#include "scanner/List.h"
#include "scanner/Location.h"
#include "scanner/Printable.h"
#include "scanner/StrHashTable.h"

#include <cstddef>
#include <cstdint>

namespace Lex {

// Tells which recognizer made a token. Tags compare by pointer identity.
class LanguageID {
public:
    constexpr LanguageID() : m_id(nullptr) {}
    constexpr LanguageID(std::nullptr_t) : m_id(nullptr) {}
    constexpr explicit LanguageID(char const* id) : m_id(id) {}

    char const* id() const { return m_id; }
    bool operator==(LanguageID const& other) const { return m_id == other.m_id; }
    bool operator!=(LanguageID const& other) const { return m_id != other.m_id; }

private:
    char const* m_id;
};

class Token : public ListElement {
public:
    static LanguageID const comment_id;    // comments (256-259)
    static LanguageID const pre_id;        // preprocessor directive words
    static LanguageID const macro_op_id;   // # and ## on a preprocessor line
    static LanguageID const dir_id;        // pragma/line/ident lines and their tokens
    static LanguageID const cpp_id;        // operators, punctuators, literals
    static LanguageID const keyword_id;    // keywords of all keyword sets
    static LanguageID const identifier_id; // identifiers
    static LanguageID const white_id;      // white space
    static LanguageID const wildcard_id;   // wildcard words
    static LanguageID const open_id;       // (
    static LanguageID const comma_id;      // ,
    static LanguageID const close_id;      // )

    enum {
        comment_flag = 1,
        // The continuations removed from the text ended in a carriage return
        // and a newline (a file written with CR-LF line ends); the token's
        // continuations are written back with the line end of its first.
        crlf_continuation_flag = 2,
        // A token of a conditional branch after the first (`#else`,
        // `#elif`), which the parser passes over; set by the parser only
        // when the file's braces balance in the first branches alone.
        unread_branch_flag = 4
    };

    // The stored type is clamp_type(type); the text is the given one for types
    // whose text varies (and for pre_id/dir_id tokens), else the fixed text.
    Token(int type, LanguageID lang, char const* text);
    // Same type, location, language, text and flags; own copy of the
    // continuation lengths; no list and no condition.
    Token(Token const& other);
    Token& operator=(Token const&) = delete;
    ~Token() override;

    // Tokens come from the block pool (plain heap blocks under
    // AddressSanitizer, so that a use of a deleted token is reported).
    static void* operator new(std::size_t size) { return BlockPool::Alloc(size); }
    static void operator delete(void* p, std::size_t size) { BlockPool::Free(p, size); }
    static constexpr bool recycles_blocks = BlockPool::recycles;

    Token* duplicate() const override;

    Token* next() const { return static_cast<Token*>(ListElement::next()); }
    Token* prev() const { return static_cast<Token*>(ListElement::prev()); }

    int get_line_breaks() const;
    static char const* get_static_text(int type) { return static_text(type); }
    // False for pre_id/dir_id tokens and for types whose text varies; type 0
    // stands for the token's own type.
    virtual bool has_static_text(int type = 0) const;

    // The number of continuations the scanner removed from the text.
    int get_continuations() const { return cont_lines ? cont_lines->count() : 0; }

    // Writes the token as it was read: the text, with every continuation the
    // scanner removed put back (backslash, then newline or carriage return
    // and newline), carriage returns included.
    void print(std::ostream& os) const;

    // Editing; the token must be in a list (otherwise nothing is linked).
    Token& AddTokenAfter(Token& t);
    Token& AddTokenBefore(Token& t);
    Token* AddTokenAfter(char const* text, int type, LanguageID const& lang);
    Token* AddWhitespaceBefore();
    // Unlinks the token from its list. Tokens stay alive to the end of the
    // run, so this is how a token is removed from the source.
    void delete_token();
    void SetType(int type);
    void reset(int type, char const* text, LanguageID lang);

    int32_t type;
    uint16_t flags;           // beside the type: no padding of its own
    Location location;
    LanguageID language;
    StrHashEntry* text;       // never null, never owned
    Array<int>* cont_lines;   // lengths of pieces split by removed backslash-newlines
    char const* condition;    // the token is not written when this points at a zero byte

private:
    void choose_text(int type, char const* text);
};

} // namespace Lex
