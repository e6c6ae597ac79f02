#include "parser/BracketCheck.h"

#include "base/ErrorLog.h"
#include "base/Str.h"
#include "parser/ConditionalBranches.h"
#include "scanner/CTokens.h"
#include "scanner/Token.h"

#include <cstring>
#include <vector>

namespace {

int LineOf(Lex::Token const* token)
{
    return token && !token->location.empty() ? token->location.line() : 0;
}

void Report(Str const& text, Lex::Token* at)
{
    ErrorLog::OnError(text.GetBuffer(), *at);
}

// The last line of the file that holds text: the line of the last token,
// one less when that token ends with a line break.
int LastLine(Lex::Token* first)
{
    Lex::Token* last = first;
    for (Lex::Token* t = first; t; t = t->next())
        last = t;
    if (!last)
        return 0;
    int line = LineOf(last);
    char const* text = last->text->text;
    size_t length = strlen(text);
    if (line > 1 && length > 0 && text[length - 1] == '\n')
        --line;
    return line;
}

// Reports the end of the file that cuts off the construct opened at open.
void ReportEnd(Lex::Token* first, Lex::Token* open, char const* what, char const* todo)
{
    Str text;
    text.Format("unexpected end of file: %s of line %d is never closed; %s", what, LineOf(open), todo);
    ErrorLog::OnError(text.GetBuffer(), open->location.filename().name(), LastLine(first));
}

// Walks the tokens the parser reads, telling apart the lines of
// preprocessor directives and, per open conditional, whether its first
// branch is past.
class TokenWalk {
public:
    explicit TokenWalk(Lex::Token* first) : m_pToken(first) {}

    // The next token that is code (no directive line, no later branch when
    // firstBranchesOnly, no token the parser passes over); comments and
    // white space included. Null at the end.
    Lex::Token* Next(bool firstBranchesOnly)
    {
        while (Lex::Token* t = m_pToken) {
            m_pToken = t->next();
            m_Branches.Step(*t);
            if (m_Branches.InDirective() || (t->flags & Lex::Token::unread_branch_flag))
                continue;
            if (firstBranchesOnly && m_Branches.InLaterBranch())
                continue;
            return t;
        }
        return nullptr;
    }

private:
    Lex::Token* m_pToken;
    ConditionalBranches m_Branches;
};

bool IsBlank(Lex::Token const* t)
{
    return t->language == Lex::Token::white_id || (t->flags & Lex::Token::comment_flag);
}

// The bracket a token is, '\0' for none.
char BracketOf(Lex::Token const* t)
{
    switch (t->type) {
    case Lex::TOK_OPEN_CURLY:
        return '{';
    case Lex::TOK_CLOSE_CURLY:
        return '}';
    case Lex::TOK_OPEN_ROUND:
        return '(';
    case Lex::TOK_CLOSE_ROUND:
        return ')';
    case Lex::TOK_OPEN_SQUARE:
        return '[';
    case Lex::TOK_CLOSE_SQUARE:
        return ']';
    default:
        return '\0';
    }
}

char Partner(char bracket)
{
    switch (bracket) {
    case '{':
        return '}';
    case '}':
        return '{';
    case '(':
        return ')';
    case ')':
        return '(';
    case '[':
        return ']';
    default:
        return '[';
    }
}

// The width of the leading white space of the line that holds t (a tab
// advances to the next multiple of 8).
int IndentOf(Lex::Token* t)
{
    Lex::Token* start = t;
    while (start->prev() && !strchr(start->prev()->text->text, '\n'))
        start = start->prev();
    Lex::Token* before = start->prev();
    if (start == t && !before)
        return 0;
    // The white space in front of the line's first token: after the last line
    // break of the token before it, or the first token itself.
    char const* text = nullptr;
    if (before && before->language == Lex::Token::white_id) {
        text = strrchr(before->text->text, '\n') + 1;
    } else if (start != t && start->language == Lex::Token::white_id) {
        text = start->text->text;
    }
    int width = 0;
    for (; text && (*text == ' ' || *text == '\t'); ++text)
        width = *text == '\t' ? (width / 8 + 1) * 8 : width + 1;
    return width;
}

// A brace pair with the places of its braces in the walk.
struct Pair {
    Lex::Token* open;
    Lex::Token* close;
    int openAt;
    int closeAt;
};

// The first brace pair among pairs, in the order of their `{`, that opens
// after the place after and closes before the place before, spans lines,
// and whose `}` stands on a line indented otherwise than the line of its
// `{`: where a brace is most likely one too many or missing.
Pair const* Misindented(std::vector<Pair> const& pairs, int after, int before)
{
    Pair const* found = nullptr;
    for (Pair const& pair : pairs) {
        if (pair.openAt <= after || pair.closeAt >= before)
            continue;
        if (LineOf(pair.open) == LineOf(pair.close) || IndentOf(pair.open) == IndentOf(pair.close))
            continue;
        if (!found || pair.openAt < found->openAt)
            found = &pair;
    }
    return found;
}

void ReportMisindented(Pair const* pair, bool closeTooMany)
{
    if (!pair)
        return;
    Str text;
    if (closeTooMany)
        text.Format("this '{' is closed by the '}' on line %d, which is indented otherwise: is that '}' one too many?",
                    LineOf(pair->close));
    else
        text.Format("this '{' is closed only by the '}' on line %d, which is indented otherwise: is this '{' one too "
                    "many, or is a '}' missing before line %d?",
                    LineOf(pair->close), LineOf(pair->close));
    Report(text, pair->open);
}

} // namespace

bool BracketCheck::Check(Lex::Token* first)
{
    if (!first)
        return true;
    if (!CheckLiterals(first))
        return false;
    if (CheckNesting(first, false, false) || CheckNesting(first, true, false))
        return true;
    CheckNesting(first, false, true);
    return false;
}

bool BracketCheck::CheckLiterals(Lex::Token* first)
{
    bool ok = true;
    Lex::Token* comment = nullptr;
    for (Lex::Token* t = first; t; t = t->next()) {
        if (t->language != Lex::Token::comment_id)
            continue;
        if (t->type == Lex::TOK_COMMENT_BEGIN) {
            comment = t;
        } else if (t->type == Lex::TOK_COMMENT_END) {
            comment = nullptr;
        }
    }
    if (comment) {
        Report("unterminated comment: this '/*' has no '*/', so the rest of the file is comment; close it", comment);
        ReportEnd(first, comment, "the comment", "add the '*/'");
        ok = false;
    }
    // The scanner leaves a quote that opens no literal, and the head of a
    // raw string without its closing sequence, as unknown tokens.
    TokenWalk walk(first);
    while (Lex::Token* t = walk.Next(false)) {
        if (t->type != Lex::TOK_UNKNOWN)
            continue;
        char const* text = t->text->text;
        if (strstr(text, "R\"")) {
            // The head is prefix, R, quote, delimiter and parenthesis.
            char const* delimiter = strchr(text, '"') + 1;
            Str message;
            message.Format("unterminated raw string literal: no ')%.*s\"' closes the '%s' on this line",
                           int(strlen(delimiter)) - 1, delimiter, text);
            Report(message, t);
            ReportEnd(first, t, "the raw string literal", "add its closing sequence");
            // For the compiler the rest of the file is the literal's text.
            return false;
        } else if (strcmp(text, "\"") == 0) {
            Report("unterminated string literal: no '\"' closes this one on its line; add it (or write \\\" for a "
                   "quote inside the text)",
                   t);
            ok = false;
        } else if (strcmp(text, "'") == 0) {
            Report("unterminated character literal: no ''' closes this one on its line; add it (or write \\' for "
                   "an apostrophe)",
                   t);
            ok = false;
        }
    }
    return ok;
}

bool BracketCheck::CheckNesting(Lex::Token* first, bool firstBranchesOnly, bool report)
{
    struct Open {
        Lex::Token* token;
        int at;
    };
    std::vector<Open> open;
    std::vector<Pair> pairs; // the brace pairs matched so far
    int at = 0;              // the place of the token in the walk
    TokenWalk walk(first);
    while (Lex::Token* t = walk.Next(firstBranchesOnly)) {
        ++at;
        char bracket = IsBlank(t) ? '\0' : BracketOf(t);
        if (bracket == '{' || bracket == '(' || bracket == '[') {
            open.push_back({t, at});
            continue;
        }
        if (!bracket)
            continue;
        if (open.empty()) {
            if (report) {
                Str text;
                text.Format("'%c' closes nothing: remove it, or add the '%c' it should close", bracket,
                            Partner(bracket));
                Report(text, t);
                if (bracket == '}')
                    ReportMisindented(Misindented(pairs, 0, at), true);
            }
            return false;
        }
        Open opener = open.back();
        char opened = BracketOf(opener.token);
        if (Partner(opened) != bracket) {
            if (report) {
                Str text;
                text.Format("'%c' never closed: the '%c' on line %d comes first; add the missing '%c'", opened,
                            bracket, LineOf(t), Partner(opened));
                Report(text, opener.token);
            }
            return false;
        }
        open.pop_back();
        if (bracket == '}')
            pairs.push_back({opener.token, t, opener.at, at});
    }
    if (open.empty())
        return true;
    if (report) {
        Open opener = open.back();
        char opened = BracketOf(opener.token);
        Str text;
        text.Format("'%c' never closed: the file ends first; add the missing '%c'", opened, Partner(opened));
        Report(text, opener.token);
        if (opened == '{')
            ReportMisindented(Misindented(pairs, opener.at, at + 1), false);
        Str what;
        what.Format("the '%c'", opened);
        Str todo;
        todo.Format("add the missing '%c' or remove the '%c' too many", Partner(opened), opened);
        ReportEnd(first, opener.token, what.GetBuffer(), todo.GetBuffer());
    }
    return false;
}
