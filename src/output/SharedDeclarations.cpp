#include "output/SharedDeclarations.h"

#include "compose/FOPModule.h"
#include "compose/TransformedModule.h"
#include "output/BaseTransform.h"
#include "output/ClassInterface.h"
#include "output/ClassOutput.h"
#include "parser/AccessTypes.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeID.h"
#include "scanner/Token.h"

#include <cstring>

namespace {

char const* Text(Lex::Token const& token) { return token.text ? token.text->text : ""; }

// True when `virtual` stands in a base entry before its name, or right in
// front of the entry's first token.
bool IsVirtualBase(NodeBaseClass& base)
{
    NodeID* id = base.GetID();
    Lex::Token* name = id ? id->GetFirstToken() : nullptr;
    Lex::Token* first = base.GetFirstToken();
    if (!first)
        return false;
    for (Lex::Token* t = first; t && t != name; t = t->next())
        if (t->type == Lex::TOK_VIRTUAL)
            return true;
    Lex::Token* before = first->prev();
    while (before && BaseTransform::IsSkipped(*before))
        before = before->prev();
    return before && before->type == Lex::TOK_VIRTUAL;
}

// The base as written from its name through the end of the entry (template
// arguments and nested names included), blanks folded; else the plain name.
Str BaseText(NodeBaseClass& base, Str const& name)
{
    NodeID* id = base.GetID();
    Lex::Token* from = id ? id->GetFirstToken() : nullptr;
    Lex::Token* to = base.GetEndToken();
    if (!from || !to)
        return name;
    Str text;
    bool blank = false;
    for (Lex::Token* t = from;; t = t->next()) {
        if (!t)
            return name;
        if (BaseTransform::IsSkipped(*t)) {
            blank = !text.IsEmpty();
        } else {
            if (blank)
                text += " ";
            blank = false;
            text += Text(*t);
        }
        if (t == to)
            break;
    }
    return text.IsEmpty() ? name : text;
}

Lex::Token* NextCode(Lex::Token* t, Lex::Token* end)
{
    while (t && t != end && BaseTransform::IsSkipped(*t))
        t = t->next();
    return t;
}

bool Is(Lex::Token* t, char const* text) { return t && std::strcmp(Text(*t), text) == 0; }

} // namespace

void SharedDeclarations::AddBase(TransformedModule& cls, NodeBaseClass& base, Str const& name)
{
    Str access = ConvertAccessTypeToString(base.m_Access);
    if (IsVirtualBase(base))
        access = "virtual " + access;
    ClassOutput::Of(cls).AddBaseClass(access, name, BaseText(base, name));
}

void SharedDeclarations::CollectIncludes(FOPModule& module, ClassInterface& cls)
{
    NodeClassDef* main = module.GetMainClass();
    NodeClassDecl* head = main ? main->GetClassDecl() : nullptr;
    Lex::Token* end = head ? head->GetFirstToken() : nullptr;
    if (!end)
        return;
    // Only unconditional lines: an include inside #if .. #endif is left to
    // the module's own header.
    int depth = 0;
    for (Lex::Token* t = module.GetFirstToken(); t && t != end; t = t->next()) {
        if (t->language != Lex::Token::pre_id)
            continue;
        if (t->type == Lex::PRE_IF || t->type == Lex::PRE_IFDEF || t->type == Lex::PRE_IFNDEF)
            ++depth;
        else if (t->type == Lex::PRE_ENDIF && depth > 0)
            --depth;
        if (t->type != Lex::PRE_INCLUDE || depth > 0)
            continue;
        // The directive runs to the end of its line.
        Str line;
        for (Lex::Token* u = t; u && u != end; u = u->next()) {
            char const* text = Text(*u);
            if (u != t && u->language == Lex::Token::white_id && std::strchr(text, '\n'))
                break;
            if (u->flags & Lex::Token::comment_flag)
                continue;
            line += u->language == Lex::Token::white_id ? " " : text;
            t = u;
        }
        cls.AddModuleInclude(line.GetBuffer());
    }
}

void SharedDeclarations::MoveNestedTypes(FOPModule& module, ClassInterface& cls)
{
    NodeClassDef* main = module.GetMainClass();
    NodeBlock* body = main ? main->GetBody() : nullptr;
    Lex::Token* open = body ? body->GetFirstToken() : nullptr;
    Lex::Token* close = body ? body->GetLastToken() : nullptr;
    if (!open || !close || open == close)
        return;
    // The access before the first label: private in a class, else public.
    Str access = "public";
    NodeClassDecl* head = main->GetClassDecl();
    for (Lex::Token* t = head ? head->GetFirstToken() : nullptr; t && t != open; t = t->next())
        if (Is(t, "class")) {
            access = "private";
            break;
        }
    Lex::Token* t = NextCode(open->next(), close);
    while (t && t != close) {
        if ((Is(t, "public") || Is(t, "protected") || Is(t, "private")) && Is(NextCode(t->next(), close), ":")) {
            access = Text(*t);
            t = NextCode(NextCode(t->next(), close)->next(), close);
            continue;
        }
        // The statement from t: to its ";" at depth 0, or to the "}" of a
        // function body.
        Lex::Token* first = t;
        Lex::Token* last = nullptr;
        bool hasBrace = false;
        int depth = 0;
        for (Lex::Token* u = t; u && u != close; u = u->next()) {
            if (BaseTransform::IsSkipped(*u))
                continue;
            // Only single brackets: a generated "{}" opens nothing.
            char const* w = Text(*u);
            char c = w[0] && !w[1] ? w[0] : 0;
            if (c == '(' || c == '{' || c == '[') {
                ++depth;
                hasBrace = hasBrace || c == '{';
            } else if (c == ')' || c == ']') {
                --depth;
            } else if (c == '}') {
                if (--depth == 0 && !Is(NextCode(u->next(), close), ";")) {
                    last = u;
                    break;
                }
            } else if (c == ';' && depth == 0) {
                last = u;
                break;
            }
        }
        if (!last)
            break;
        Lex::Token* second = NextCode(first->next(), last);
        Lex::Token* third = second ? NextCode(second->next(), last) : nullptr;
        Lex::Token* beforeEnd = last->prev();
        while (beforeEnd && beforeEnd != first && BaseTransform::IsSkipped(*beforeEnd))
            beforeEnd = beforeEnd->prev();
        bool isType = Is(first, "typedef") || (Is(first, "using") && Is(third, "=")) ||
                      (Is(first, "enum") && hasBrace && Is(beforeEnd, "}")) ||
                      ((Is(first, "class") || Is(first, "struct") || Is(first, "union")) && hasBrace &&
                       Is(last, ";") && Is(beforeEnd, "}"));
        if (isType) {
            Str text;
            for (Lex::Token* u = first;; u = u->next()) {
                text += Text(*u);
                u->text = Lex::StrHashTable::insert("");
                u->SetType(Lex::TOK_STRING_VAL);
                if (u == last)
                    break;
            }
            // A unit's class derives from the interface: private would hide it.
            cls.AddNestedType(access == "private" ? "protected" : access.GetBuffer(), text.GetBuffer());
        }
        t = NextCode(last->next(), close);
    }
}
