#include "parser/CClassHeadParser.h"

#include "parser/CParserState.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeID.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeTemplateDef.h"
#include "parser/NodeType.h"
#include "parser/Scope.h"
#include "base/Str.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace {

bool IsClassKeyType(int type)
{
    return type == Lex::TOK_CLASS || type == Lex::TOK_STRUCT || type == Lex::TOK_ASPECT
        || type == Lex::TOK_INTERFACE;
}

bool IsAccessType(int type)
{
    return type == Lex::TOK_PRIVATE || type == Lex::TOK_PROTECTED || type == Lex::TOK_PUBLIC
        || type == Lex::TOK_MIXIN;
}

bool IsWhite(Lex::Token const* token)
{
    return token->language == Lex::Token::white_id
        || (token->flags & (Lex::Token::comment_flag | Lex::Token::unread_branch_flag)) != 0;
}

bool IsFinal(Lex::Token const* token)
{
    return token && token->type == Lex::TOK_ID && strcmp(token->text->text, "final") == 0;
}

// Export macros are written in capitals (API_EXPORT, Q_DECL_EXPORT).
bool LooksLikeMacro(Lex::Token const* token)
{
    bool letter = false;
    for (char const* c = token->text->text; *c; ++c) {
        if (*c >= 'a' && *c <= 'z')
            return false;
        letter = letter || (*c >= 'A' && *c <= 'Z');
    }
    return letter;
}

// The bracket that closes the one at open (all three kinds counted); null
// when the file ends first.
Lex::Token* ClosingBracket(Lex::Token* open)
{
    int depth = 0;
    for (Lex::Token* t = open; t; t = t->next()) {
        if (CParserState::IsBlankToken(t))
            continue;
        int type = t->type;
        if (type == Lex::TOK_OPEN_ROUND || type == Lex::TOK_OPEN_SQUARE || type == Lex::TOK_OPEN_CURLY)
            ++depth;
        else if ((type == Lex::TOK_CLOSE_ROUND || type == Lex::TOK_CLOSE_SQUARE || type == Lex::TOK_CLOSE_CURLY)
                 && --depth == 0)
            return t;
    }
    return nullptr;
}

// `B<T{}>`: a braced temporary among template arguments, known by the `,`
// or `>` after its `}`; a `{` that an argument list left open starts the
// class body instead.
Lex::Token* BracedArgumentEnd(Lex::Token* open)
{
    Lex::Token* close = ClosingBracket(open);
    Lex::Token* next = close ? CParserState::NextSignificant(close) : nullptr;
    if (!next)
        return nullptr;
    int type = next->type;
    return type == Lex::TOK_COMMA || type == Lex::TOK_GREATER || type == Lex::TOK_RSH ? close : nullptr;
}

bool IsSignificant(Lex::Token const* token)
{
    return !IsWhite(token);
}

// Words that may stand before a class key besides keywords: C++ specifiers
// the scanner reads as names, and the modifiers of Java, C# and C++/CLI.
bool IsModifierWord(char const* word)
{
    static char const* const words[] = {"abstract", "constexpr", "file", "final", "internal", "non",
                                        "partial", "readonly", "record", "ref", "sealed", "slice",
                                        "strictfp", "thread_local", "unsafe", "value"};
    for (char const* w : words)
        if (strcmp(word, w) == 0)
            return true;
    return false;
}

// True when word is the target or one or two edits (a letter added, left
// out, changed, or two neighbours swapped) away from it, letter case aside.
bool IsCloseTo(char const* word, char const* target)
{
    size_t n = strlen(word);
    size_t m = strlen(target);
    if (n + 2 < m || m + 2 < n)
        return false;
    std::vector<std::vector<size_t>> d(n + 1, std::vector<size_t>(m + 1));
    for (size_t i = 0; i <= n; ++i)
        d[i][0] = i;
    for (size_t j = 0; j <= m; ++j)
        d[0][j] = j;
    auto lower = [](char c) { return static_cast<char>(tolower(static_cast<unsigned char>(c))); };
    for (size_t i = 1; i <= n; ++i) {
        for (size_t j = 1; j <= m; ++j) {
            size_t cost = lower(word[i - 1]) == lower(target[j - 1]) ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && lower(word[i - 1]) == lower(target[j - 2]) && lower(word[i - 2]) == lower(target[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m] <= 2;
}

bool KeywordIs(NodeKeyword* keyword, int type)
{
    Lex::Token* token = keyword ? keyword->GetToken() : nullptr;
    return token && token->type == type;
}

} // namespace

bool CClassHeadParser::ProcessToken()
{
    if (CBaseParser::ProcessToken())
        return true;
    Lex::Token* token = m_State.m_pActToken;
    if (!token)
        return false;
    // `auto f() -> struct tm;`: after the arrow the key only names a type.
    Lex::Token* before = m_State.m_pLastSignificantToken;
    int const type = m_State.m_ActTokenType;
    if (before && before->type == Lex::TOK_PTS
        && (type == Lex::TOK_CLASS || type == Lex::TOK_STRUCT || type == Lex::TOK_UNION || type == Lex::TOK_ENUM))
        return true;
    switch (m_State.m_ActTokenType) {
    case Lex::TOK_CLASS:
    case Lex::TOK_STRUCT:
        // `enum class E` and `enum struct E` are enumerations, not classes.
        if (KeywordIs(IsLastNodeKeyword(), Lex::TOK_ENUM))
            return true;
        AddClassKey();
        return true;
    case Lex::TOK_ENUM:
    case Lex::TOK_NAMESPACE:
    case Lex::TOK_UNION:
    case Lex::TOK_ASPECT:
    case Lex::TOK_INTERFACE:
        AddClassKey();
        return true;
    case Lex::TOK_PRIVATE:
    case Lex::TOK_PROTECTED:
    case Lex::TOK_PUBLIC:
    case Lex::TOK_MIXIN:
        m_State.m_ClassState.OnAccessModifier(static_cast<Lex::CTokens>(m_State.m_ActTokenType));
        AddNode(*new NodeClassModifier(token));
        return true;
    case Lex::TOK_REFINES:
        if (!CheckRefinementHead())
            return true;
        AddKeyword(*new NodeKeyword(token));
        return true;
    case Lex::TOK_EXTENDS:
    case Lex::TOK_IMPLEMENTS:
        return true;
    default:
        return false;
    }
}

void CClassHeadParser::AddClassKey()
{
    NodeKeyword* key = new NodeKeyword(m_State.m_pActToken);
    NodeKeyword* refines = m_State.m_pLastKeyword;
    int back = 1;
    if (refines && refines->GetToken() && refines->GetToken()->type == Lex::TOK_REFINES) {
        key->m_pRefines = refines;
        back = 2;
    }
    Node* before = m_State.GetLastNode(back);
    if (before && before->GetKind() == NT_CLASS_MODIFIER)
        key->m_pClassModifier = static_cast<NodeClassModifier*>(before);
    AddKeyword(*key);
}

bool CClassHeadParser::CheckRefinementHead()
{
    Lex::Token* refines = m_State.m_pActToken;
    Lex::Token* key = PeekSignificant();
    Str text;
    if (!key) {
        m_State.OnFatalError("'refines' without a class head after it: a refinement is written "
                             "'refines class <Name> { ... };'",
                             refines);
        return false;
    }
    if (!IsClassKeyType(key->type) && key->type != Lex::TOK_UNION) {
        text.Format("'refines' is followed by '%s', not by a class key: a refinement is written "
                    "'refines class <Name> { ... };'",
                    key->text->text);
        if (key->type == Lex::TOK_ID && IsCloseTo(key->text->text, "class"))
            text += " (did you mean 'class'?)";
        m_State.OnFatalError(text, refines);
        return false;
    }
    Lex::Token* name = key->next();
    while (name && !IsSignificant(name))
        name = name->next();
    if (!name || (name->type != Lex::TOK_ID && name->type != Lex::TOK_OPEN_SQUARE)) {
        text.Format("'refines %s' without a class name: write the name of the class it refines after '%s'",
                    key->text->text, key->text->text);
        m_State.OnFatalError(text, refines);
        return false;
    }
    return true;
}

void CClassHeadParser::CheckWordsBeforeKey(NodeKeyword& key)
{
    Lex::Token* stop = key.m_pRefines ? key.m_pRefines->GetToken() : key.GetToken();
    Lex::Token* start = m_State.m_pStatementStart;
    if (!stop || !start)
        return;
    bool directive = false;
    bool annotation = false;
    std::vector<int> groups; // the open (, [ and < passed over
    for (Lex::Token* t = start; t && t != stop; t = t->next()) {
        if (t->language == Lex::Token::pre_id)
            directive = true;
        if (directive) {
            directive = !(t->language == Lex::Token::white_id && strchr(t->text->text, '\n'));
            continue;
        }
        if (!IsSignificant(t) || t->language == Lex::Token::dir_id)
            continue;
        int type = t->type;
        if (type == Lex::TOK_SEMI_COLON || type == Lex::TOK_OPEN_CURLY || type == Lex::TOK_CLOSE_CURLY)
            return;
        bool inBrackets = !groups.empty() && groups.back() != Lex::TOK_LESS;
        if (type == Lex::TOK_OPEN_ROUND || type == Lex::TOK_OPEN_SQUARE || (type == Lex::TOK_LESS && !inBrackets)) {
            groups.push_back(type);
            continue;
        }
        if (type == Lex::TOK_CLOSE_ROUND || type == Lex::TOK_CLOSE_SQUARE) {
            // Angle brackets left open inside go with the group.
            while (!groups.empty() && groups.back() == Lex::TOK_LESS)
                groups.pop_back();
            if (!groups.empty())
                groups.pop_back();
            continue;
        }
        if ((type == Lex::TOK_GREATER || type == Lex::TOK_RSH) && !inBrackets) {
            for (int n = type == Lex::TOK_RSH ? 2 : 1; n > 0 && !groups.empty(); --n)
                groups.pop_back();
            continue;
        }
        if (!groups.empty())
            continue;
        if (type == Lex::TOK_AT || type == Lex::TOK_DOT) {
            // `@Deprecated`, `@java.lang.Deprecated`: an annotation's name.
            annotation = true;
            continue;
        }
        if (type != Lex::TOK_ID) {
            annotation = false;
            continue;
        }
        char const* word = t->text->text;
        // A C++20 constraint stands between the template head and the key.
        if (strcmp(word, "requires") == 0)
            return;
        if (annotation) {
            annotation = false;
            continue;
        }
        bool close = IsCloseTo(word, "refines");
        if (!close && (IsModifierWord(word) || LooksLikeMacro(t) || word[0] == '_'))
            continue;
        Str text;
        Str name = m_State.m_ClassState.m_pClassName && m_State.m_ClassState.m_pClassName->GetLastToken()
                       ? Str(m_State.m_ClassState.m_pClassName->GetLastToken()->text->text)
                       : Str();
        text.Format("unknown word '%s' before the class head of %s", word, name.GetBuffer());
        if (close)
            text += ": did you mean 'refines'?";
        else
            text += ": only 'refines', a template head, attributes and modifiers may stand there";
        m_State.OnFatalError(text, t);
        return;
    }
}

NodeKeyword* CClassHeadParser::IsLastNodeKeyword()
{
    Node* last = m_State.m_pLastNode;
    return last && last->GetKind() == NT_KEYWORD ? static_cast<NodeKeyword*>(last) : nullptr;
}

bool CClassHeadParser::LastKeywordIsClassKey() const
{
    NodeKeyword* key = m_State.m_pLastKeyword;
    Lex::Token* token = key ? key->GetToken() : nullptr;
    return token && IsClassKeyType(token->type);
}

void CClassHeadParser::OnTokID()
{
    CParserState& state = m_State;
    Lex::Token* token = state.m_pActToken;
    Lex::Token* before = state.m_pLastSignificantToken;
    int pending = state.m_PendingID.GetCount();

    // namespace std VISIBILITY(default) {: a macro after the name.
    if (token && pending > 0 && before == state.m_PendingID[pending - 1] && before->type == Lex::TOK_ID
        && KeywordIs(state.m_pLastKeyword, Lex::TOK_NAMESPACE)) {
        Lex::Token* next = PeekSignificant();
        if (next && next->type == Lex::TOK_OPEN_ROUND)
            SkipGroup(Lex::TOK_OPEN_ROUND, Lex::TOK_CLOSE_ROUND);
        return;
    }

    // A name right after the class name: `final`, or the real name when the
    // first one was an export macro (class API_EXPORT X : public B). Before
    // a `{` the first name must look like a macro, so that in
    // struct timeval tv{}; the name stays timeval.
    NodeID* className = state.m_ClassState.m_pClassName;
    if (token && className && pending == 0 && before && before == className->GetLastToken()
        && LastKeywordIsClassKey()) {
        if (IsFinal(token))
            return;
        Lex::Token* next = PeekSignificant();
        bool macro = next
            && (next->type == Lex::TOK_COLON || IsFinal(next)
                || (next->type == Lex::TOK_OPEN_CURLY && LooksLikeMacro(className->GetLastToken())));
        if (macro) {
            CRoundBlockParser::OnTokID();
            if (Node* name = state.CreateIDNode())
                state.m_ClassState.m_pClassName = static_cast<NodeID*>(name);
            return;
        }
        if (!LooksLikeMacro(className->GetLastToken()))
            state.TakeClassNameAsType(*className);
    }

    CRoundBlockParser::OnTokID();
    if (m_State.m_PendingID.GetCount() == 0)
        return;
    NodeKeyword* key = IsLastNodeKeyword();
    Lex::Token* keyToken = key ? key->GetToken() : nullptr;
    if (keyToken && IsClassKeyType(keyToken->type)) {
        Node* name = m_State.CreateIDNode();
        m_State.m_ClassState.m_pClassName = name ? static_cast<NodeID*>(name) : nullptr;
    }
}

void CClassHeadParser::OnTokColon()
{
    CParserState& state = m_State;
    if (KeywordIs(state.m_pLastKeyword, Lex::TOK_ENUM) && state.m_PendingID.GetCount() > 0) {
        // enum E : int {: the underlying type is passed over, E stays the
        // pending name of the block.
        for (Lex::Token* next = PeekSignificant(); next; next = PeekSignificant()) {
            int type = next->type;
            if (type == Lex::TOK_OPEN_CURLY || type == Lex::TOK_SEMI_COLON || type == Lex::TOK_CLOSE_CURLY)
                break;
            if (!state.NextToken())
                break;
        }
        return;
    }
    NodeID* name = state.m_ClassState.m_pClassName;
    if (!name || !LastKeywordIsClassKey())
        return;
    AddClass(*name);
    if (!state.m_pActToken) {
        // The head ran into the end of the file; an open block is reported
        // by the driver.
        if (state.m_BlockStack.GetCount() <= 1 && !state.IsFatalError())
            state.OnFatalError("unexpected end of file: the class head has no body; add the '{ ... };' of the class",
                               name->GetLastToken());
        return;
    }
    if (state.m_ActTokenType == Lex::TOK_OPEN_CURLY)
        OpenCurly();
}

void CClassHeadParser::OnNewBlock(NodeBlock& block)
{
    CClassParserState& classState = m_State.m_ClassState;
    NodeID* name = classState.m_pClassName;
    if (!name || !LastKeywordIsClassKey()) {
        CBaseParser::OnNewBlock(block);
        return;
    }
    NodeClassDef* def = classState.m_pLastClass ? classState.m_pLastClass : AddClass(*name);
    classState.m_pLastClass = nullptr;
    if (!def)
        return;
    def->SetBody(&block);
    NodeClassDecl* head = def->GetClassDecl();
    block.m_pPrecedingNode = head ? head->ChildAt(1) : nullptr;
    if (head && head->IsAspect())
        m_State.EnterScope(*new AspectScope(*def));
    else
        m_State.EnterScope(*new ClassScope(*def));
}

NodeClassDef* CClassHeadParser::AddClass(NodeID& name)
{
    NodeKeyword* key = m_State.m_pLastKeyword;
    if (!key || !key->GetToken())
        return nullptr;
    if (key->m_pRefines && !key->m_pRefines->GetToken())
        return nullptr;
    CheckWordsBeforeKey(*key);
    if (m_State.IsFatalError())
        return nullptr;
    NodeClassDef* def = nullptr;
    if (key->m_pRefines) {
        def = new NodeRefinementDef(*new NodeRefinementDecl(*key, name));
    } else {
        m_State.NameSpecialization(name);
        def = new NodeClassDef(*new NodeClassDecl(*key, name));
    }
    if (NodeBaseClassDecl* bases = ParseBaseClassDecl())
        def->SetBaseClassDecl(bases);
    m_State.AddClass(*def);
    return def;
}

NodeBaseClassDecl* CClassHeadParser::ParseBaseClassDecl()
{
    CParserState& state = m_State;
    if (!state.m_pActToken || state.m_ActTokenType != Lex::TOK_COLON)
        return nullptr;
    int access = Lex::TOK_PRIVATE;
    // The first `virtual` or access keyword since the last entry: where the
    // next entry begins.
    Lex::Token* start = nullptr;
    NodeBaseClassDecl* list = nullptr;
    NodeBaseClass* lastBase = nullptr;
    // `::` after an entry's template arguments: the name goes on
    // (Y<int>::Inner is one entry).
    bool continued = false;
    state.ResetID();

    // The pending name (a qualified name A::B is one entry named B) becomes
    // an entry, or the rest of the last entry's name.
    auto flush = [&]() {
        if (state.m_PendingID.GetCount() == 0)
            return;
        if (continued && lastBase && lastBase->GetID()) {
            continued = false;
            Array<Lex::Token*> tokens;
            NodeID* former = lastBase->GetID();
            for (Lex::Token* t = former->GetFirstToken(); t; t = t->next()) {
                if (t->type == Lex::TOK_ID)
                    tokens.Add(t);
                if (t == former->GetLastToken())
                    break;
            }
            for (int i = 0; i < state.m_PendingID.GetCount(); ++i)
                tokens.Add(state.m_PendingID[i]);
            state.ResetID();
            for (int i = 0; i < tokens.GetCount(); ++i)
                state.m_PendingID.Add(tokens[i]);
            Node* node = state.CreateIDNode();
            if (node && node->GetKind() == NT_ID)
                lastBase->SetChild(0, node);
            return;
        }
        continued = false;
        Node* node = state.CreateIDNode();
        if (!node || node->GetKind() != NT_ID)
            return;
        NodeID* id = static_cast<NodeID*>(node);
        if (!list)
            list = new NodeBaseClassDecl();
        Lex::Token* first = start ? start : id->GetFirstToken();
        if (!first)
            return;
        lastBase = list->AddBaseClass(static_cast<Lex::CTokens>(access), *first, *id);
        access = Lex::TOK_PRIVATE;
        start = nullptr;
    };

    while (!state.IsFatalError()) {
        Lex::Token* token = state.NextToken();
        if (!token)
            break;
        if (IsWhite(token))
            continue;
        int type = token->type;
        if (type == Lex::TOK_ID) {
            Lex::Token* before = state.m_pLastSignificantToken;
            if (!before || before->type != Lex::TOK_COLON_COLON)
                flush();
            state.OnTokID();
            continue;
        }
        if (type == Lex::TOK_COLON_COLON) {
            NodeTempleInstanceDef* args = lastBase ? lastBase->GetTemplArgs() : nullptr;
            if (args && state.m_PendingID.GetCount() == 0 && args->GetLastToken()
                && args->GetLastToken() == state.m_pLastSignificantToken)
                continued = true;
            continue;
        }
        flush();
        if (start && (type == Lex::TOK_OPEN_CURLY || type == Lex::TOK_COMMA)) {
            // `class A : mixin {`: an access word that names no class.
            Str text;
            text.Format("'%s' in the base list is not followed by a class name: write the name of the %s after it",
                        start->text->text, start->type == Lex::TOK_MIXIN ? "mixin" : "base class");
            state.OnFatalError(text, start);
            return list;
        }
        if (type == Lex::TOK_LESS) {
            if (lastBase)
                ParseBaseTemplDecl(*lastBase);
            else
                state.SkipUntil(Lex::TOK_GREATER, false);
            if (state.m_pActToken && state.m_ActTokenType == Lex::TOK_OPEN_CURLY)
                return list;
        } else if (type == Lex::TOK_OPEN_CURLY) {
            return list;
        } else if (IsAccessType(type)) {
            access = type;
            if (!start)
                start = token;
            lastBase = nullptr;
        } else if (type == Lex::TOK_VIRTUAL) {
            if (!start)
                start = token;
        }
    }
    flush();
    return list;
}

void CClassHeadParser::ParseBaseTemplDecl(NodeBaseClass& base)
{
    CParserState& state = m_State;
    NodeID* name = base.GetID();
    if (!name)
        return;
    NodeTempleInstanceDef* args = state.CreateTemplInstDef(*name);
    base.SetTemplArgs(args);
    int depth = 1;
    while (!state.IsFatalError()) {
        Lex::Token* token = state.NextToken();
        if (!token)
            return;
        if (IsWhite(token))
            continue;
        int type = token->type;
        if (type == Lex::TOK_OPEN_CURLY) {
            if (Lex::Token* close = BracedArgumentEnd(token)) {
                state.SkipTo(close, false);
                continue;
            }
            // An unclosed argument list ends at the class body.
            return;
        }
        if (type == Lex::TOK_OPEN_ROUND || type == Lex::TOK_OPEN_SQUARE) {
            // `B<sizeof(T)>`, `B<(N > 2)>`: no `<` or `>` inside counts.
            if (Lex::Token* close = ClosingBracket(token))
                state.SkipTo(close, false);
            continue;
        }
        if (type == Lex::TOK_ID) {
            state.ResetID();
            state.OnTokID();
            if (Node* id = state.CreateIDNode())
                args->AddChild(id);
        } else if (IsSimpleType(type)) {
            if (NodeType* simple = state.CreateType(nullptr, true))
                args->AddChild(simple);
        } else if (type == Lex::TOK_LESS) {
            ++depth;
        } else if (type == Lex::TOK_GREATER) {
            --depth;
        } else if (type == Lex::TOK_RSH) {
            depth -= 2;
        }
        if (depth < 1) {
            if (depth == 0)
                args->SetLastToken(*token);
            return;
        }
    }
}
