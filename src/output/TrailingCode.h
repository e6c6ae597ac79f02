// The code after a module's class, cut into its declarations and directives
// and sorted by the file it belongs to. A composed class has a header that
// every user includes and an implementation file compiled once: only what
// must be defined in exactly one translation unit goes to the latter
// (non-inline functions, static data members, variables, explicit
// instantiations); types, templates, inline and constexpr code, declarations
// and preprocessor lines stay in the header. A free function or variable
// moved out leaves its declaration in the header, so other files still see
// it.
#pragma once

#include "base/Str.h"

#include <vector>

namespace Lex {
class Token;
}

class TrailingCode {
public:
    enum Place { PLACE_HEADER = 1, PLACE_IMPL = 2, PLACE_BOTH = 3 };

    struct Piece {
        // The piece's tokens, the blanks before it included.
        Lex::Token* m_pFirst;
        Lex::Token* m_pLast;
        // Where the tokens are written.
        int m_Place;
        // A definition written to the implementation file: the declaration
        // that stands in the header for it ("" when the class or namespace
        // already declares it, or nothing outside the file may use it).
        Str m_HeaderDecl;
        // With such a declaration: the last token of the definition's head.
        Lex::Token* m_pHeadLast;
        // Holds code (not only blanks, not only a directive or brace that
        // both files get).
        bool m_bCode;
    };

    struct Message {
        int m_Line;
        Str m_Text;
    };

    // Cuts the tokens from first to the end of the list. Default arguments
    // of a function moved to the implementation file are unlinked from its
    // definition: its declaration in the header carries them. Without
    // separate, every piece goes to both places and nothing is unlinked
    // (the code is written in one file).
    void Split(Lex::Token* first, bool separate = true);

    // Whether a piece with code goes to the given place (as tokens or as a
    // declaration in the header).
    bool HasCode(int place) const;
    // Whether the pieces are sorted (see Split).
    bool IsSeparate() const { return m_bSeparate; }

    std::vector<Piece> const& GetPieces() const { return m_Pieces; }
    // Code the split cannot place soundly, with what to write instead.
    std::vector<Message> const& GetErrors() const { return m_Errors; }

private:
    // The end of the declaration starting at first; body gets the "{" of
    // a function body (null for none).
    Lex::Token* DeclarationEnd(Lex::Token* first, Lex::Token*& body);
    void Classify(Piece& piece, Lex::Token* first, Lex::Token* last, Lex::Token* body, bool internal);
    void AddError(Lex::Token* at, Str const& text);

    std::vector<Piece> m_Pieces;
    std::vector<Message> m_Errors;
    bool m_bSeparate = true;
};
