#include "scanner/CScanner.h"

#include "scanner/CTokens.h"
#include "scanner/ErrorSink.h"
#include "scanner/MessageOutput.h"
#include "scanner/ScanBuffer.h"
#include "scanner/Source.h"
#include "scanner/StrHashTable.h"
#include "scanner/Token.h"
#include "scanner/Unit.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Lex {

namespace {

char const* load_failure_text(SB_WholeFile::Load load)
{
    switch (load) {
    case SB_WholeFile::no_size:
        return "can't determine size of input file";
    case SB_WholeFile::no_memory:
        return "Out of memory";
    default:
        return "can't load input file";
    }
}

} // namespace

CScanner::CScanner(ErrorSink& errors_)
    : errors(&errors_), scan_aborted(false)
{
}

CScanner::~CScanner() {}

void CScanner::fill_unit(Source& src, Unit& unit)
{
    long const size = src.size();
    if (size < 1) {
        // Empty, or of unknown size such as a pipe.
        SB_Sequential buffer(src);
        setup(buffer);
        scan_all(unit);
        return;
    }
    SB_WholeFile buffer;
    SB_WholeFile::Load const load = buffer.load(src, size);
    if (load != SB_WholeFile::loaded)
        *errors << sev_error << load_failure_text(load) << endMessage;
    // A buffer that failed to load is in its error state: the scan stops at
    // once with an error and the unit stays empty.
    setup(buffer);
    scan_all(unit);
}

void CScanner::fill_unit(char const* text, Unit& unit)
{
    SB_String buffer(text);
    setup(buffer);
    scan_all(unit);
}

void CScanner::scan_all(Unit& unit)
{
    char const* name = unit.name();
    current_location = Location(Filename(name ? name : "<anonymous unit>"), -1);
    scan_aborted = false;
    for (;;) {
        Token* t = scan();
        switch (t->type) {
        case TOK_EOF:
            delete t; // never linked
            return;
        case TOK_ERROR:
            *errors << sev_error << t->location << "Error while scanning tokens" << endMessage;
            delete t;
            scan_aborted = true;
            return;
        case TOK_UNKNOWN:
            *errors << sev_error << t->location << "Unknown token" << endMessage;
            break;
        case TOK_WARNING:
            *errors << sev_warning << t->location << "Warning while scanning tokens" << endMessage;
            break;
        default:
            break;
        }
        unit.append(*t);
    }
}

Token* CScanner::scan()
{
    switch (cont_lines.state()) {
    case ScanBuffer::at_end:
        // Continuations that make up the whole input are already skipped
        // when the scan starts; they still become a token of their own.
        if (cont_lines.len() > 0)
            return make_token(lang_whitespace, TOK_WHITESPACE, cont_lines.len());
        return new Token(TOK_EOF, nullptr, "");
    case ScanBuffer::has_more:
        break;
    default:
        return new Token(TOK_ERROR, nullptr, "");
    }
    Lang lang = lang_unknown;
    int type = 0;
    int len = 0;
    if (recognize(lang, type, len) < 0)
        return new Token(TOK_ERROR, nullptr, "");
    return make_token(lang, type, len);
}

LanguageID CScanner::map_lang(Lang lang)
{
    switch (lang) {
    case lang_comment:
        return Token::comment_id;
    case lang_pre_directive:
        return Token::pre_id;
    case lang_directive:
        return Token::dir_id;
    case lang_whitespace:
        return Token::white_id;
    case lang_macro_op:
        return Token::macro_op_id;
    case lang_string:
    case lang_core:
        return Token::cpp_id;
    case lang_keyword:
        return Token::keyword_id;
    case lang_identifier:
        return Token::identifier_id;
    case lang_wildcard:
        return Token::wildcard_id;
    default:
        return LanguageID();
    }
}

Token* CScanner::make_token(Lang lang, int type, int len)
{
    if (len < 0)
        len = 0;

    // The raw text without its continuations; it may hold NUL bytes.
    char stack_area[512];
    char* text = len < 512 ? stack_area : static_cast<char*>(std::malloc(size_t(len) + 1));
    if (!text) {
        // As everywhere else, running out of memory ends the run rather than
        // losing the token's text.
        message_output().failure("out of memory\n");
        std::abort();
    }
    char const* raw = cont_lines.token();
    int n = 0;
    for (int i = 0; i < len; ++i) {
        if (raw[i] == '\\' && i + 1 < len && raw[i + 1] == '\n') {
            ++i;
            continue;
        }
        if (raw[i] == '\\' && i + 2 < len && raw[i + 1] == '\r' && raw[i + 2] == '\n') {
            i += 2;
            continue;
        }
        text[n++] = raw[i];
    }
    text[n] = '\0';

    // The length of each text piece in front of a removed continuation, and
    // whether the continuations ended in a carriage return and a newline.
    Array<int>* pieces = nullptr;
    bool crlf_continuations = false;
    Array<int> const& offsets = cont_lines.get_offsets();
    if (!offsets.empty()) {
        pieces = new Array<int>(offsets.count(), 5);
        int e = 0;
        for (int k = 0; k < offsets.count() && offsets[k] < len; ++k) {
            int const d = offsets[k];
            bool const crlf = d + 1 < len && raw[d + 1] == '\r';
            if (k == 0)
                crlf_continuations = crlf;
            pieces->append(d - e);
            e = d + (crlf ? 3 : 2);
        }
    }

    cont_lines.accept(len);

    int const token_type = lang == lang_unknown ? int(TOK_UNKNOWN) : type;
    LanguageID tag = map_lang(lang);
    if (directive_state == directive_line && lang != lang_comment)
        tag = Token::dir_id;
    else if (lang == lang_core && type == TOK_OPEN_ROUND)
        tag = Token::open_id;
    else if (lang == lang_core && type == TOK_COMMA)
        tag = Token::comma_id;
    else if (lang == lang_core && type == TOK_CLOSE_ROUND)
        tag = Token::close_id;

    Token* t = new Token(token_type, tag, text);
    // A token whose text is its own keeps every byte, NUL bytes too; an
    // unknown byte, or the head of a raw string never closed, keeps its raw
    // text, so no source byte is lost. A keyword keeps the spelling it was
    // written with ("not", "bitor", "throws"), its type tells what it means:
    // a module prints back as it was written.
    if ((token_type == TOK_UNKNOWN || !t->has_static_text(token_type)) && t->text->length != uint32_t(n))
        t->text = StrHashTable::insert(text, uint32_t(n));
    else if (lang == lang_keyword && std::strcmp(t->text->text, text) != 0)
        t->text = StrHashTable::insert(text);
    if (text != stack_area)
        std::free(text);

    long line = 0;
    long column = 0;
    location(line, column);
    if (line != current_location.line())
        current_location = Location(current_location.filename(), int(line));
    t->location = current_location;
    t->cont_lines = pieces;
    if (crlf_continuations)
        t->flags |= Token::crlf_continuation_flag;
    return t;
}

} // namespace Lex
