// The recognizers of C-like sources with their language switches, and the
// filter chain they read through: continuation filter, location filter, then
// the buffer being scanned.
#pragma once

#include "scanner/CCommentRecognizer.h"
#include "scanner/KeywordRecognizer.h"
#include "scanner/RawStringRecognizer.h"
#include "scanner/SB_Filter.h"
#include "scanner/TableRecognizer.h"

#include <vector>

namespace Lex {

class CRecognizer {
public:
    // What recognized a piece.
    enum Lang {
        lang_comment = 0,
        lang_pre_directive = 1, // preprocessor directive word: "#define", "# include", ...
        lang_directive = 2,     // "#", "#pragma", "#line", "#ident"
        lang_whitespace = 3,
        lang_macro_op = 4,      // "#" and "##" on a preprocessor line
        lang_string = 5,        // string and character literals
        lang_core = 6,          // operators, punctuators, numbers
        lang_keyword = 7,
        lang_identifier = 8,
        lang_wildcard = 9,
        lang_unknown = 10
    };

    // What the line being scanned is.
    enum DirectiveState { ordinary_line = 0, directive_line = 1, preprocessor_line = 2 };

    // Preprocessor directive words; the type is the directive number.
    static TableRecognizer const& pre_dir_recognizer();
    // "#" alone (0), "#pragma" (1), "#line" (2), "#ident" (3); no expression map.
    static TableRecognizer const& dir_recognizer();
    static TableRecognizer const& whitespace_recognizer();
    // String and character literals, and the head of a raw string
    // (RawStringRecognizer::head_type).
    static TableRecognizer const& string_recognizer();
    // "#" (500) and "##" (501).
    static TableRecognizer const& pre_token_recognizer();
    // The wildcard words (300-358).
    static TableRecognizer const& wildcard_recognizer();
    static TableRecognizer const& core_recognizer();
    static TableRecognizer const& identifier_recognizer();

    // C, C++ and feature keywords on; aspect keywords, wildcards and
    // pre-token mode off.
    CRecognizer();

    // Starts reading b from its beginning: comment mode 0, first line, no
    // directive, the filter chain wired to b and reset.
    void setup(ScanBuffer& b);

    // The cascade: classifies the piece in front of the filter chain.
    // Returns 1 with the recognizer kind, the token type and the raw length
    // of a match; 0 with lang_unknown and the raw length of one byte (with
    // the continuations behind it) when nothing matches; -1 with the kind
    // that met the buffer's error state. The buffer is not moved on.
    int recognize(Lang& lang, int& type, int& len);

    // Line and column of the next byte after the last accepted piece.
    void location(long& line, long& column) const;
    // True when the last accepted piece held a newline.
    bool new_line() const { return cont_lines.new_line(); }

    void wildcards(bool on) { wildcards_on = on; }
    void aspect_keywords(bool on) { aspect_keywords_on = on; }
    void fop_keywords(bool on) { fop_keywords_on = on; }
    void pre_token_mode(bool on) { pre_token_on = on; }
    void c_keywords(bool on) { c_keywords_on = on; }
    void cpp_keywords(bool on) { cpp_keywords_on = on; }

    bool wildcards() const { return wildcards_on; }
    bool aspect_keywords() const { return aspect_keywords_on; }
    bool fop_keywords() const { return fop_keywords_on; }
    bool pre_token_mode() const { return pre_token_on; }
    bool c_keywords() const { return c_keywords_on; }
    bool cpp_keywords() const { return cpp_keywords_on; }
    // Takes the six settings above from other.
    void same_settings(CRecognizer const& other);

protected:
    // The cascade outside skipped conditional groups.
    int recognize_piece(Lang& lang, int& type, int& len);
    // Runs one automaton from the piece's start and maps its expression.
    int try_table(TableRecognizer const& automaton, Lang kind, Lang& lang, int& type, int& len);
    template <class R>
    int try_keywords(R const& recognizer, Lang& lang, int& type, int& len);
    // On a directive line a quote that no literal closes is a token of its
    // own (as in "#error don't"): 1 with its type and length, else 0.
    int lone_quote(int& type, int& len);

    // Conditional groups the compiler never reads: those of `#if 0` and
    // `#elif 0`, and the branches after one of `#if 1`. Their lines are
    // comment text (comments in them stay comments, as for the
    // preprocessor), so that nothing in them is code, a stray apostrophe
    // included; the nested conditionals inside go with them. The directive
    // that ends the group (`#else`, `#elif` or `#endif` of the same level)
    // is a directive again.
    // Notes the directive word of a conditional and the first significant
    // token of its line after it.
    void note_condition(Lang lang, int type, int len);
    // At the end of a directive line: the group after it is skipped when its
    // condition says so.
    void end_condition_line();
    // Inside a skipped group: the next piece, 1 with its kind, type and
    // length; 0 when the piece is read as usual (white space, comments and
    // the directive that ends the group).
    int skipped_text(Lang& lang, int& type, int& len);
    // The length of the skipped text up to the line end or a comment
    // outside a literal.
    int skipped_line_length();

    SBF_ContLines cont_lines;  // the recognizers read through this one
    SBF_LocManager loc_manager;
    CCommentRecognizer comment_recognizer;
    CKeywordRecognizer c_keyword_recognizer;
    CCKeywordRecognizer cc_keyword_recognizer;
    AspectKeywordRecognizer aspect_keyword_recognizer;
    FOPKeywordRecognizer fop_keyword_recognizer;
    RawStringRecognizer raw_string_recognizer;
    int directive_state;
    // Open conditionals outside skipped groups, innermost last: true when
    // a branch of it is known to be taken (`#if 1`), so the rest are skipped.
    std::vector<bool> taken_branches;
    // The conditional directive of the current line (0 for none) and what
    // its condition is: 0 nothing yet, 1 `0`, 2 `1`, 3 anything else.
    int condition_word;
    int condition_value;
    // The conditionals opened inside the skipped group; -1 outside one.
    int skip_depth;
    bool line_start;
    bool wildcards_on;
    bool aspect_keywords_on;
    bool fop_keywords_on;
    bool pre_token_on;
    bool c_keywords_on;
    bool cpp_keywords_on;
};

} // namespace Lex
