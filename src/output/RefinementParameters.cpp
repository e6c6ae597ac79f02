#include "output/RefinementParameters.h"

#include "base/ErrorLog.h"
#include "output/BaseTransform.h"
#include "output/FuncHeadTokens.h"
#include "parser/NodeBrace.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeInitDecl.h"
#include "parser/NodeType.h"
#include "parser/NodeVarDecl.h"
#include "scanner/Token.h"

#include <cstring>

namespace {

using Tokens = FuncHeadTokens;

// The tokens of an initializer list that stand inside an entry's
// parentheses or braces: the values, not the names of members and bases.
template <class Fn>
void ForEachInitializerValue(NodeInitDecl& init, Fn fn)
{
    Lex::Token* first = init.GetFirstToken();
    Lex::Token* last = init.GetLastToken();
    int depth = 0;
    for (Lex::Token* t = first; t; t = t->next()) {
        if (t->type == Lex::TOK_OPEN_ROUND || t->type == Lex::TOK_OPEN_CURLY)
            ++depth;
        else if (t->type == Lex::TOK_CLOSE_ROUND || t->type == Lex::TOK_CLOSE_CURLY)
            --depth;
        else if (depth > 0 && !BaseTransform::IsSkipped(*t))
            fn(*t);
        if (t == last)
            break;
    }
}

} // namespace

Str RefinementParameters::CallArguments(NodeFuncDecl& decl, NodeFuncParams& params, char const* separator)
{
    Array<Lex::Token*> tokens = Tokens::ParamNames(decl);
    Str names;
    for (int i = 0; i < tokens.GetCount(); ++i) {
        Node* param = params.GetParam(i);
        if (!tokens[i] || !param)
            continue;
        NodeType* type = param->GetKind() == NT_VAR_DECL ? static_cast<NodeVarDecl*>(param)->GetType() : nullptr;
        char const* name = Tokens::Text(*tokens[i]);
        if (!names.IsEmpty())
            names += separator;
        Str arg(name);
        if (type && std::strstr(type->AsString().GetBuffer(), "&&"))
            arg.Format("static_cast<decltype(%s)&&>(%s)", name, name);
        names += arg;
    }
    return names;
}

void RefinementParameters::KeepInInitializers(NodeFuncDef& def)
{
    NodeInitDecl* init = def.GetInitDecl();
    NodeFuncDecl* decl = def.GetDecl();
    if (!init || !decl)
        return;
    Array<Lex::Token*> params = Tokens::ParamNames(*decl);
    // `std::move(p)` and `std::forward<T>(p)` of a parameter become `(p)`.
    Array<Lex::Token*> words;
    ForEachInitializerValue(*init, [&](Lex::Token& t) {
        if (Tokens::TextIs(t, "move") || Tokens::TextIs(t, "forward"))
            words.Add(&t);
    });
    for (int i = 0; i < words.GetCount(); ++i) {
        Lex::Token* open = BaseTransform::NextNonWhite(words[i]);
        Lex::Token* close = open;
        if (open && open->type == Lex::TOK_LESS) {
            // The template argument of std::forward.
            int angles = 0;
            for (close = open; close; close = close->next()) {
                if (close->type == Lex::TOK_LESS)
                    ++angles;
                else if (close->type == Lex::TOK_GREATER && --angles == 0)
                    break;
            }
            open = close ? BaseTransform::NextNonWhite(close) : nullptr;
        }
        Lex::Token* arg = open && open->type == Lex::TOK_OPEN_ROUND ? BaseTransform::NextNonWhite(open) : nullptr;
        Lex::Token* end = arg ? BaseTransform::NextNonWhite(arg) : nullptr;
        if (!arg || BaseTransform::FindName(params, *arg) < 0 || !BaseTransform::IsPlainName(*arg) || !end ||
            end->type != Lex::TOK_CLOSE_ROUND)
            continue;
        // Blank from `std` (or the word) up to the opening parenthesis.
        Lex::Token* from = words[i];
        Lex::Token* before = from->prev();
        while (before && BaseTransform::IsSkipped(*before))
            before = before->prev();
        if (before && before->type == Lex::TOK_COLON_COLON) {
            Lex::Token* scope = before->prev();
            while (scope && BaseTransform::IsSkipped(*scope))
                scope = scope->prev();
            if (scope && Tokens::TextIs(*scope, "std"))
                from = scope;
        }
        for (Lex::Token* t = from; t && t != open; t = t->next())
            Tokens::Blank(*t);
    }
}

void RefinementParameters::RenameInInitializers(NodeFuncDef& def, NodeFuncDef& target)
{
    NodeInitDecl* init = def.GetInitDecl();
    NodeFuncDecl* own = def.GetDecl();
    NodeFuncDecl* upper = target.GetDecl();
    if (!init || !own || !upper)
        return;
    Array<Lex::Token*> from = Tokens::ParamNames(*own);
    Array<Lex::Token*> to = Tokens::ParamNames(*upper);
    // Every use is looked up before any is renamed: names may be swapped.
    Array<Lex::Token*> uses;
    Array<int> positions;
    ForEachInitializerValue(*init, [&](Lex::Token& t) {
        int i = BaseTransform::IsPlainName(t) ? BaseTransform::FindName(from, t) : -1;
        if (i >= 0 && i < to.GetCount()) {
            uses.Add(&t);
            positions.Add(i);
        }
    });
    for (int k = 0; k < uses.GetCount(); ++k) {
        Lex::Token* name = to[positions[k]];
        if (name) {
            uses[k]->text = name->text;
            continue;
        }
        Str text;
        text.Format("parameter %s is used by an initializer of a lower layer, but the constructor that refines it "
                    "leaves it unnamed: give it a name",
                    Tokens::Text(*uses[k]));
        ErrorLog::OnError(text, *uses[k]);
    }
}

void RefinementParameters::HideUnused(NodeFuncDef& def)
{
    NodeFuncDecl* decl = def.GetDecl();
    NodeBlock* body = def.GetBody();
    Lex::Token* open = body ? body->GetFirstToken() : nullptr;
    Lex::Token* close = body ? body->GetLastToken() : nullptr;
    if (!decl || !open || !close)
        return;
    Array<Lex::Token*> params = Tokens::ParamNames(*decl);
    Array<bool> used;
    for (int i = 0; i < params.GetCount(); ++i)
        used.Add(false);
    for (Lex::Token* t = open; t && t != close; t = t->next()) {
        int i = t->type == Lex::TOK_ID ? BaseTransform::FindName(params, *t) : -1;
        if (i >= 0)
            used[i] = true;
    }
    // What the initializers used went up with them: the renamed body does
    // not warn about a parameter it leaves alone.
    for (int i = 0; i < params.GetCount(); ++i) {
        if (!params[i] || used[i])
            continue;
        Str text;
        text.Format("/*%s*/", Tokens::Text(*params[i]));
        params[i]->text = Lex::StrHashTable::insert(text.GetBuffer());
        params[i]->SetType(Lex::TOK_STRING_VAL);
    }
}
