#include "output/FuncDeclText.h"

#include "output/BaseTransform.h"
#include "output/DeclText.h"
#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeID.h"
#include "parser/NodeVarDecl.h"
#include "scanner/Token.h"

#include <cctype>
#include <cstring>

namespace {

char const* Text(Lex::Token const& token) { return token.text ? token.text->text : ""; }

bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Drops the blanks at the end of text.
void TrimEnd(Str& text)
{
    size_t n = text.GetLength();
    while (n > 0 && text.GetBuffer()[n - 1] == ' ')
        --n;
    if (n < text.GetLength())
        text = text.Left(n);
}

// Appends the texts of the tokens from `from` up to (not including) `end`,
// one blank where the source has white space or comments.
void AppendTokens(Str& text, Lex::Token* from, Lex::Token* end)
{
    bool blank = false;
    for (Lex::Token* t = from; t && t != end; t = t->next()) {
        if (BaseTransform::IsSkipped(*t)) {
            blank = true;
            continue;
        }
        char const* word = Text(*t);
        if (!*word)
            continue;
        if (blank && !text.IsEmpty() && text.GetBuffer()[text.GetLength() - 1] != ' ')
            text += " ";
        blank = false;
        text += word;
    }
}

// The token after the round-bracket group that t opens; null at the end.
Lex::Token* SkipRound(Lex::Token* t)
{
    int depth = 0;
    for (; t; t = t->next()) {
        if (t->type == Lex::TOK_OPEN_ROUND)
            ++depth;
        else if (t->type == Lex::TOK_CLOSE_ROUND && --depth <= 0)
            return t->next();
    }
    return nullptr;
}

// The parameters as written. A default argument is kept when keepDefault
// accepts its tokens (never without it); since only the last parameters may
// have one, dropping a default drops those before it too. A parameter whose
// entry in added is not empty gets that name after its type.
Str ParamsText(Lex::Token* open, Lex::Token* close, FuncDeclText::KeepDefaultFunc const& keepDefault,
               std::vector<Str> const& added)
{
    struct Param {
        Lex::Token* first = nullptr;
        Lex::Token* assign = nullptr;
        Lex::Token* end = nullptr;
    };
    std::vector<Param> params(1);
    params.back().first = open->next();
    int depth = 0;
    for (Lex::Token* t = open->next(); t && t != close; t = t->next()) {
        char const* word = Text(*t);
        bool opens = t->type == Lex::TOK_OPEN_ROUND || t->type == Lex::TOK_OPEN_CURLY ||
                     t->type == Lex::TOK_OPEN_SQUARE || std::strcmp(word, "<") == 0;
        bool closes = t->type == Lex::TOK_CLOSE_ROUND || t->type == Lex::TOK_CLOSE_CURLY ||
                      t->type == Lex::TOK_CLOSE_SQUARE || std::strcmp(word, ">") == 0;
        if (opens)
            ++depth;
        else if (closes && depth > 0)
            --depth;
        else if (std::strcmp(word, ">>") == 0)
            depth = depth > 2 ? depth - 2 : 0;
        if (depth == 0 && t->type == Lex::TOK_ASSIGN && !params.back().assign) {
            params.back().assign = t;
        } else if (depth == 0 && t->type == Lex::TOK_COMMA) {
            params.back().end = t;
            params.emplace_back();
            params.back().first = t->next();
        }
    }
    params.back().end = close;
    // The defaults kept: a suffix of the parameters.
    size_t keepFrom = params.size();
    for (size_t i = params.size(); i-- > 0;) {
        Param const& p = params[i];
        if (!p.assign || !keepDefault || !keepDefault(p.assign->next(), p.end))
            break;
        keepFrom = i;
    }
    Str text;
    for (size_t i = 0; i < params.size(); ++i) {
        Param const& p = params[i];
        Str paramText;
        AppendTokens(paramText, p.first, p.assign ? p.assign : p.end);
        TrimEnd(paramText);
        if (i < added.size() && !added[i].IsEmpty())
            paramText += " " + added[i];
        if (p.assign && i >= keepFrom) {
            paramText += " =";
            AppendTokens(paramText, p.assign->next(), p.end);
            TrimEnd(paramText);
        }
        char const* begin = paramText.GetBuffer();
        while (*begin == ' ')
            ++begin;
        if (i)
            text += ", ";
        text += begin;
    }
    return text;
}

} // namespace

Lex::Token* FuncDeclText::GetReportToken(NodeFuncDecl& decl)
{
    if (Lex::Token* t = decl.GetToken())
        return t;
    NodeID* id = decl.GetNameNode();
    return id ? id->GetFirstToken() : nullptr;
}

bool FuncDeclText::IsConstMember(NodeFuncDecl& decl)
{
    NodeFuncParams* params = decl.GetParams();
    NodeRoundBrace* brace = params ? params->GetBrace() : nullptr;
    Lex::Token* close = brace ? brace->GetLastToken() : nullptr;
    for (Lex::Token* t = close ? close->next() : nullptr; t; t = t->next()) {
        if (BaseTransform::IsSkipped(*t))
            continue;
        if (t->type == Lex::TOK_OPEN_CURLY || t->type == Lex::TOK_SEMI_COLON || t->type == Lex::TOK_COLON ||
            t->type == Lex::TOK_CLOSE_CURLY || t->type == Lex::TOK_ASSIGN)
            return false;
        if (std::strcmp(Text(*t), "const") == 0)
            return true;
    }
    return false;
}

bool FuncDeclText::IsMemberTemplate(NodeFuncDecl& decl)
{
    Lex::Token* first = GetReportToken(decl);
    Lex::Token* t = first ? first->prev() : nullptr;
    // Words such as virtual or static may stand between the head and the
    // return type.
    while (t && (BaseTransform::IsSkipped(*t) || t->type == Lex::TOK_VIRTUAL || t->type == Lex::TOK_INLINE ||
                 t->type == Lex::TOK_STATIC || std::strcmp(Text(*t), "constexpr") == 0 ||
                 std::strcmp(Text(*t), "explicit") == 0))
        t = t->prev();
    if (!t || (std::strcmp(Text(*t), ">") != 0 && std::strcmp(Text(*t), ">>") != 0))
        return false;
    int depth = 0;
    for (; t; t = t->prev()) {
        if (BaseTransform::IsSkipped(*t))
            continue;
        char const* text = Text(*t);
        if (std::strcmp(text, ">") == 0)
            ++depth;
        else if (std::strcmp(text, ">>") == 0)
            depth += 2;
        else if (std::strcmp(text, "<") == 0)
            --depth;
        else if (t->type == Lex::TOK_SEMI_COLON || t->type == Lex::TOK_OPEN_CURLY || t->type == Lex::TOK_CLOSE_CURLY)
            return false;
        if (depth == 0)
            break;
    }
    for (t = t ? t->prev() : nullptr; t && BaseTransform::IsSkipped(*t); t = t->prev()) {
    }
    return t && std::strcmp(Text(*t), "template") == 0;
}

bool FuncDeclText::IsAllocationFunction(FuncInfo& f)
{
    if (!BaseTransform::IsOperatorFunction(f))
        return false;
    Str name = f.GetStrName();
    char const* rest = name.GetBuffer() + 8;
    while (*rest == ' ')
        ++rest;
    size_t n = std::strncmp(rest, "new", 3) == 0 ? 3 : std::strncmp(rest, "delete", 6) == 0 ? 6 : 0;
    // Not a conversion to a type whose name begins with the word.
    return n > 0 && !IsIdentChar(rest[n]);
}

bool FuncDeclText::NameParams(NodeFuncParams* params, std::vector<Str>& added, Str& names)
{
    added.clear();
    names = Str();
    if (!params || !BaseTransform::HasParams(*params))
        return true;
    // The parameters as the parser sees them must be those of the text.
    NodeRoundBrace* brace = params->GetBrace();
    Lex::Token* open = brace ? brace->GetFirstToken() : nullptr;
    Lex::Token* close = brace ? brace->GetLastToken() : nullptr;
    int textParams = 1;
    int depth = 0;
    for (Lex::Token* t = open ? open->next() : nullptr; t && t != close; t = t->next()) {
        char const* word = Text(*t);
        if (t->type == Lex::TOK_OPEN_ROUND || t->type == Lex::TOK_OPEN_CURLY || t->type == Lex::TOK_OPEN_SQUARE ||
            std::strcmp(word, "<") == 0)
            ++depth;
        else if ((t->type == Lex::TOK_CLOSE_ROUND || t->type == Lex::TOK_CLOSE_CURLY ||
                  t->type == Lex::TOK_CLOSE_SQUARE || std::strcmp(word, ">") == 0) && depth > 0)
            --depth;
        else if (depth == 0 && t->type == Lex::TOK_COMMA)
            ++textParams;
    }
    if (!open || !close || textParams != params->GetParamCount())
        return false;
    for (int i = 0; i < params->GetParamCount(); ++i) {
        Node* param = params->GetParam(i);
        if (!param || param->GetKind() != NT_VAR_DECL)
            return false;
        NodeVariableList* list = static_cast<NodeVarDecl*>(param)->GetVariableList();
        Str name = list ? list->AsString() : Str();
        Str text = param->AsString();
        if (name.IsEmpty()) {
            if (std::strpbrk(text.GetBuffer(), "([") || std::strstr(text.GetBuffer(), "..."))
                return false;
            name.Format("__arg%d", i + 1);
            added.push_back(name);
        } else {
            added.push_back(Str());
        }
        if (i)
            names += ",";
        names += name;
    }
    return true;
}

Str FuncDeclText::GetDeclaration(NodeFuncDecl& decl, KeepDefaultFunc const& keepDefault, std::vector<Str> const& added)
{
    NodeFuncParams* params = decl.GetParams();
    NodeRoundBrace* brace = params ? params->GetBrace() : nullptr;
    Lex::Token* open = brace ? brace->GetFirstToken() : nullptr;
    Lex::Token* close = brace ? brace->GetLastToken() : nullptr;
    Lex::Token* first = GetReportToken(decl);
    if (!open || !close || !first) {
        Str text = decl.AsString();
        if (!params || params->GetParamCount() == 0 || BaseTransform::HasParams(*params))
            return text;
        Str list = params->AsString();
        char const* s = text.GetBuffer();
        char const* at = list.IsEmpty() ? nullptr : std::strstr(s, list.GetBuffer());
        if (!at)
            return text;
        Str result;
        result.SetData(s, static_cast<size_t>(at - s));
        result += "()";
        result += at + list.GetLength();
        return result;
    }
    Str text;
    AppendTokens(text, first, open);
    TrimEnd(text);
    // The static path of the interface looks for the word.
    FuncInfo* f = decl.GetInfo();
    if (f && f->IsStatic() && !DeclText::ContainsWord(text, "static"))
        text = "static " + text;
    text = DeclText::ReplaceWord(text, "constexpr", "");
    text += "(";
    if (!params || BaseTransform::HasParams(*params))
        text += ParamsText(open, close, keepDefault, added);
    text += ")";
    // The first qualifier follows the list directly, as the node prints it.
    bool blank = false;
    bool firstWord = true;
    for (Lex::Token* t = close->next(); t;) {
        if (BaseTransform::IsSkipped(*t)) {
            blank = true;
            t = t->next();
            continue;
        }
        char const* word = Text(*t);
        if (t->type == Lex::TOK_OPEN_CURLY || t->type == Lex::TOK_SEMI_COLON || t->type == Lex::TOK_ASSIGN ||
            t->type == Lex::TOK_COLON || t->type == Lex::TOK_CLOSE_CURLY)
            break;
        if (std::strcmp(word, "noexcept") == 0 || std::strcmp(word, "throw") == 0) {
            Lex::Token* next = t->next();
            while (next && BaseTransform::IsSkipped(*next))
                next = next->next();
            t = next && next->type == Lex::TOK_OPEN_ROUND ? SkipRound(next) : next;
            continue;
        }
        if (std::strcmp(word, "override") != 0 && std::strcmp(word, "final") != 0 && *word) {
            if (blank && !firstWord)
                text += " ";
            blank = false;
            firstWord = false;
            text += word;
        }
        t = t->next();
    }
    return text;
}

Str FuncDeclText::GetSignatureKey(FuncInfo& f, NodeFuncDecl* decl)
{
    Str signature = f.GetSignature(false);
    if (!decl)
        decl = f.GetDecl();
    size_t n = signature.GetLength();
    bool endsConst = n >= 5 && std::strcmp(signature.GetBuffer() + n - 5, "const") == 0;
    if (decl && !endsConst && IsConstMember(*decl))
        signature += " const";
    return signature;
}
