// The scanner of C-like sources: runs the recognizer cascade over a whole
// source and appends one token per recognized piece to a unit, reporting
// scan errors to an error sink. The automata are built by static
// initialisers, so no scan may run before main.
#pragma once

#include "scanner/CRecognizer.h"
#include "scanner/Location.h"
#include "scanner/Tokenizer.h"

namespace Lex {

class ErrorSink;
class LanguageID;
class Token;

class CScanner : public Tokenizer, public CRecognizer {
public:
    // Messages go to errors, which must outlive the scanner.
    explicit CScanner(ErrorSink& errors);
    ~CScanner() override;

    // Scans the whole source into unit. A source of known size is read at
    // once (its size asked once); one of unknown size (or size 0) byte by
    // byte. Load failures and scan errors are reported to the error sink.
    void fill_unit(Source& src, Unit& unit) override;
    // Scans a NUL-terminated text (null reads as empty).
    void fill_unit(char const* text, Unit& unit);

    // The token loop over the buffer given to setup(): appends every token
    // to unit until the end of the input or a scan error.
    void scan_all(Unit& unit);
    // One step: the next token, or a token of type TOK_EOF at the end or
    // TOK_ERROR when the buffer failed (neither is in a list).
    Token* scan();
    // Makes the token of the first len raw bytes of the piece and moves the
    // buffer on behind them.
    Token* make_token(Lang lang, int type, int len);
    // The language tag of a recognizer kind (null for lang_unknown).
    static LanguageID map_lang(Lang lang);

    // True when the last scan stopped at an error before the end of the
    // input: the unit filled then is incomplete.
    bool aborted() const { return scan_aborted; }

private:
    CScanner(CScanner const&) = delete;
    CScanner& operator=(CScanner const&) = delete;

    Location current_location; // shared by the tokens of one line
    ErrorSink* errors;
    bool scan_aborted;
};

} // namespace Lex
