#include "parser/SimpleCPPParser.h"

#include "base/Diagnostics.h"
#include "base/ErrorLog.h"
#include "base/Name.h"
#include "base/Str.h"
#include "parser/BracketCheck.h"
#include "parser/CTokenListener.h"
#include "parser/ConditionalBranches.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeFile.h"
#include "parser/ParseServices.h"
#include "parser/Scope.h"
#include "parser/SimpleTU.h"
#include "scanner/ErrorStream.h"
#include "scanner/TokenProvider.h"
#include "scanner/TokenStream.h"
#include "scanner/Unit.h"

#include <cstring>
#include <vector>

namespace {

char const* FileOf(Lex::Token const& token)
{
    return token.location.empty() ? nullptr : token.location.filename().name();
}

int LineOf(Lex::Token const& token)
{
    return token.location.empty() ? 0 : token.location.line();
}

// Visits every token with two facts: whether it lies in a conditional
// branch after the first (`#elif`, `#else`) of an enclosing conditional,
// and whether it belongs to a preprocessor directive line.
template <class Visit>
void WalkBranches(Lex::Token* first, Visit visit)
{
    ConditionalBranches branches;
    for (Lex::Token* t = first; t; t = t->next()) {
        branches.Step(*t);
        visit(*t, branches.InLaterBranch(), branches.InDirective());
    }
}

// A file whose braces balance only when each conditional takes its first
// branch (each branch opens its own `{`, as in libstdc++'s deque.tcc) is
// read that way: the tokens of the later branches are marked, and the
// parser passes over them. Any other file is read whole.
void MarkUnreadBranches(Lex::Token* first)
{
    int written = 0;
    int read = 0;
    WalkBranches(first, [&](Lex::Token& t, bool unread, bool directive) {
        t.flags = static_cast<uint16_t>(t.flags & ~Lex::Token::unread_branch_flag);
        if (directive)
            return;
        int step = t.type == Lex::TOK_OPEN_CURLY ? 1 : t.type == Lex::TOK_CLOSE_CURLY ? -1 : 0;
        written += step;
        if (!unread)
            read += step;
    });
    if (written == 0 || read != 0)
        return;
    WalkBranches(first, [](Lex::Token& t, bool unread, bool) {
        if (unread)
            t.flags = static_cast<uint16_t>(t.flags | Lex::Token::unread_branch_flag);
    });
}

} // namespace

void printwarning(char const* message, char const* file, int line)
{
    ErrorLog::OnWarning(message, file, line);
}

SimpleCPPParser::SimpleCPPParser() : m_pFileNode(nullptr), m_pTokenListener(nullptr)
{
    m_ParserState.SetProjectDB(&m_ProjectDB);
}

SimpleTU* SimpleCPPParser::parse(Lex::Unit& unit, ParseServices& project)
{
    Lex::ErrorStream& errors = project.GetErrorStream();
    SimpleTU* tu = new SimpleTU(errors);
    m_ParserState.SetFileDB(tu->db());
    char const* name = unit.name() ? unit.name() : "";
    m_ParserState.SetFileName(Str(name));

    Lex::TokenStream stream;
    stream.push(&unit);
    if (m_pTokenListener)
        m_pTokenListener->OnFile(name);
    Lex::TokenProvider provider(stream);
    Lex::Token* first = provider.start();
    if (!first) {
        m_ParserState.SetFileDB(nullptr);
        delete tu;
        return nullptr;
    }
    tu->SetFirstToken(first);
    MarkUnreadBranches(first);
    // A file whose comments, literals or brackets do not close is not read
    // into a structure that would drop or misplace its code.
    if (!BracketCheck::Check(first)) {
        m_ParserState.SetFileDB(nullptr);
        delete tu;
        return nullptr;
    }
    parse(provider);
    m_Errors.Shift(errors);

    // The result belongs to the caller from here on (or is freed): the
    // state must not keep pointing at it.
    m_ParserState.SetFileDB(nullptr);
    if (m_ParserState.IsFatalError()) {
        delete tu;
        return nullptr;
    }
    return tu;
}

void SimpleCPPParser::parse(Lex::TokenProvider& provider)
{
    CParserState& state = m_ParserState;
    Name* fileName = state.GetFileName();
    if (!fileName)
        return;
    m_pFileNode = new NodeFile(nullptr, fileName->c_str());
    FileScope* fileScope = new FileScope(*m_pFileNode);
    state.Init(provider, *fileScope, m_pFileNode);
    Lex::Token* last = nullptr;
    if (Lex::Token* first = state.m_pActToken) {
        Lex::Token* newline = new Lex::Token(Lex::TOK_WHITESPACE, Lex::Token::white_id, "\n");
        if (first->list())
            first->AddTokenBefore(*newline);
        m_pFileNode->SetFirstToken(newline);
    }

    while (!state.IsFatalError()) {
        Lex::Token* token = state.NextToken();
        if (!token)
            break;
        last = token;
        if (m_pTokenListener)
            m_pTokenListener->OnToken(*token);
        if (token->language == Lex::Token::pre_id || token->language == Lex::Token::dir_id)
            continue;
        if (state.GetParser().ProcessToken())
            continue;
        if (token->type == Lex::TOK_LAYER)
            continue;
        Str message(token->language == Lex::Token::keyword_id ? "unhandled keyword" : "unhandled token");
        message += ": ";
        message += token->text->text;
        printwarning(message.GetBuffer(), FileOf(*token), LineOf(*token));
    }

    // A skip that ran into the end of the file leaves no previous token;
    // the file's last token stands in for it.
    if (state.m_pPrevToken) {
        last = state.m_pPrevToken;
    } else {
        while (last && last->next())
            last = last->next();
    }
    if (last)
        m_pFileNode->SetLastToken(*last);

    // A body or class head that the file leaves open fails the file.
    if (state.IsFatalError())
        return;
    if (state.m_BlockStack.GetCount() > 1) {
        NodeBlock* open = state.m_BlockStack[state.m_BlockStack.GetCount() - 1];
        Lex::Token* opener = open ? open->GetFirstToken() : nullptr;
        Str text;
        text.Format("unexpected end of file: the '{' of line %d is never closed; add the missing '}'",
                    opener ? LineOf(*opener) : 0);
        state.OnFatalError(text, last);
        return;
    }
    NodeKeyword* key = state.m_pLastKeyword;
    int keyType = key && key->GetToken() ? key->GetToken()->type : 0;
    if (state.m_ClassState.m_pClassName
        && (keyType == Lex::TOK_CLASS || keyType == Lex::TOK_STRUCT || keyType == Lex::TOK_INTERFACE
            || keyType == Lex::TOK_ASPECT)) {
        state.OnFatalError("unexpected end of file: the class head has no body; add the '{ ... };' of the class",
                           key->GetToken());
    }
}
