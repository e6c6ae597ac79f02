#include "parser/SyntaxEdit.h"

#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncParams.h"
#include "scanner/Token.h"

#include <cctype>
#include <cstring>

bool SyntaxEdit::IsSkipped(Lex::Token const& token)
{
    return token.language == Lex::Token::white_id || (token.flags & Lex::Token::comment_flag);
}

bool SyntaxEdit::IsPlainName(Lex::Token& t)
{
    if (t.type != Lex::TOK_ID)
        return false;
    for (Lex::Token* p = t.prev(); p; p = p->prev()) {
        if (IsSkipped(*p))
            continue;
        return p->type != Lex::TOK_DOT && p->type != Lex::TOK_PTS && p->type != Lex::TOK_COLON_COLON;
    }
    return true;
}

int SyntaxEdit::FindName(Array<Lex::Token*> const& names, Lex::Token const& t)
{
    for (int i = 0; i < names.GetCount(); ++i)
        if (names[i] && names[i]->text == t.text)
            return i;
    return -1;
}

Lex::Token* SyntaxEdit::DefaultedOrDeleted(NodeFuncDecl& decl)
{
    NodeFuncParams* params = decl.GetParams();
    NodeRoundBrace* brace = params ? params->GetBrace() : nullptr;
    Lex::Token* t = brace ? brace->GetLastToken() : nullptr;
    Lex::Token* assign = nullptr;
    for (t = t ? t->next() : nullptr; t; t = t->next()) {
        if (IsSkipped(*t))
            continue;
        if (assign)
            return t->type == Lex::TOK_DEFAULT || t->type == Lex::TOK_DELETE ? assign : nullptr;
        if (t->type == Lex::TOK_SEMI_COLON || t->type == Lex::TOK_OPEN_CURLY || t->type == Lex::TOK_CLOSE_CURLY)
            return nullptr;
        if (t->type == Lex::TOK_ASSIGN)
            assign = t;
    }
    return nullptr;
}

void SyntaxEdit::DropDeclaration(NodeFuncDecl& decl)
{
    Lex::Token* first = decl.GetToken();
    if (!first)
        return;
    for (Lex::Token* p = first->prev(); p; p = p->prev()) {
        if (IsSkipped(*p))
            continue;
        if (p->type != Lex::TOK_VIRTUAL && p->type != Lex::TOK_INLINE && p->type != Lex::TOK_STATIC &&
            p->type != Lex::TOK_EXPLICIT)
            break;
        first = p;
    }
    for (Lex::Token* t = first; t;) {
        Lex::Token* next = t->next();
        bool end = t->type == Lex::TOK_SEMI_COLON;
        t->delete_token();
        if (end)
            break;
        t = next;
    }
}

Lex::Token* SyntaxEdit::NextNonWhite(Lex::Token* token)
{
    for (Lex::Token* t = token ? token->next() : nullptr; t; t = t->next())
        if (!IsSkipped(*t))
            return t;
    return nullptr;
}

void SyntaxEdit::DeleteToken(Lex::Token& token) { token.delete_token(); }

void SyntaxEdit::MakeInline(NodeFuncDecl& decl)
{
    FuncInfo* f = decl.GetInfo();
    if (f && f->m_AopType == AOPInfo::AOP_POINTCUT)
        return;
    decl.SetIsInline();
}

Lex::Token* SyntaxEdit::NewTextToken(char const* text)
{
    return new Lex::Token(Lex::TOK_STRING_VAL, Lex::Token::cpp_id, text);
}

bool SyntaxEdit::HasParams(NodeFuncParams& params)
{
    int count = params.GetParamCount();
    if (count == 0)
        return false;
    if (count == 1) {
        Node* only = params.GetParam(0);
        if (!only)
            return false;
        // A lone `void`, however the parameter prints its blanks.
        Str text = only->AsString();
        Str word;
        for (size_t i = 0; i < text.GetLength(); ++i)
            if (!std::isspace(static_cast<unsigned char>(text.GetBuffer()[i])))
                word += text.GetBuffer()[i];
        if (word == "void")
            return false;
    }
    return true;
}

bool SyntaxEdit::HasUnnamedParams(NodeFuncParams& params)
{
    if (!HasParams(params))
        return false;
    int named = 0;
    Str names = params.GetParamNames(",");
    if (!names.IsEmpty()) {
        named = 1;
        for (size_t i = 0; i < names.GetLength(); ++i)
            if (names.GetBuffer()[i] == ',')
                ++named;
    }
    int present = 0;
    for (int i = 0; i < params.GetParamCount(); ++i)
        if (Node* param = params.GetParam(i))
            if (!(param->AsString() == "..."))
                ++present;
    return named < present;
}

bool SyntaxEdit::IsOperatorFunction(FuncInfo& f)
{
    Str name = f.GetStrName();
    char const* text = name.GetBuffer();
    if (*text == '~')
        ++text;
    if (std::strncmp(text, "operator", 8) != 0)
        return false;
    unsigned char next = static_cast<unsigned char>(text[8]);
    return !(std::isalnum(next) || next == '_');
}
