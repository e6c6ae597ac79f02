#include "output/DecoratorTransform.h"

#include "base/ErrorLog.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/TransformedModule.h"
#include "output/BaseTransform.h"
#include "output/ClassOutput.h"
#include "output/LayerDecorator.h"
#include "output/ModuleIncludes.h"
#include "output/ModuleOutput.h"
#include "output/ModuleTransform.h"
#include "output/Templates.h"
#include "parser/ClassDB.h"
#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeID.h"
#include "parser/NodeVarDecl.h"
#include "parser/SimpleTU.h"
#include "scanner/Token.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace {

char const* Text(Lex::Token const& token) { return token.text ? token.text->text : ""; }

void SetText(Lex::Token& token, char const* text) { token.text = Lex::StrHashTable::insert(text); }

bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The token to report a function's problems at.
Lex::Token* DeclToken(NodeFuncDecl& decl)
{
    if (Lex::Token* t = decl.GetToken())
        return t;
    NodeID* id = decl.GetNameNode();
    return id ? id->GetFirstToken() : nullptr;
}

void Warn(FOPModule& module, NodeFuncDecl& decl, Str const& text)
{
    if (Lex::Token* token = DeclToken(decl))
        ErrorLog::OnWarning(text, *token);
    else
        module.PrintWarning(text, 0);
}

// A `const` after the parameter list of the declaration.
bool IsConstMember(NodeFuncDecl& decl)
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

// A member template (`template <...>` right before the declaration): it
// cannot be virtual, so no interface method can forward to it.
bool IsMemberTemplate(NodeFuncDecl& decl)
{
    Lex::Token* first = DeclToken(decl);
    Lex::Token* t = first ? first->prev() : nullptr;
    // Specifiers may stand between the head and the return type.
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

// operator new and operator delete (also their array forms): static
// allocation functions of the class that made the object.
bool IsAllocationFunction(FuncInfo& f)
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
Str ParamsText(Lex::Token* open, Lex::Token* close, std::function<bool(Lex::Token*, Lex::Token*)> const& keepDefault,
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
        Str piece;
        AppendTokens(piece, p.first, p.assign ? p.assign : p.end);
        TrimEnd(piece);
        if (i < added.size() && !added[i].IsEmpty())
            piece += " " + added[i];
        if (p.assign && i >= keepFrom) {
            piece += " =";
            AppendTokens(piece, p.assign->next(), p.end);
            TrimEnd(piece);
        }
        char const* begin = piece.GetBuffer();
        while (*begin == ' ')
            ++begin;
        if (i)
            text += ", ";
        text += begin;
    }
    return text;
}

// Names for the parameters that have none, so that a generated method can
// pass them on: added gets "__arg<n>" for those and "" for named ones, names
// every name in order, comma-separated. False when an unnamed parameter
// cannot simply be named after its text (an array, a function pointer, "...").
bool NameParams(NodeFuncParams* params, std::vector<Str>& added, Str& names)
{
    added.clear();
    names = Str();
    if (!params || !BaseTransform::HasParams(*params))
        return true;
    // The parameters as the parser sees them must be those of the text.
    NodeRoundBrace* brace = params->GetBrace();
    Lex::Token* open = brace ? brace->GetFirstToken() : nullptr;
    Lex::Token* close = brace ? brace->GetLastToken() : nullptr;
    int pieces = 1;
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
            ++pieces;
    }
    if (!open || !close || pieces != params->GetParamCount())
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

// The declaration text of a function for its interface method, from the
// tokens the module wrote: the head up to the parameter list, the
// parameters (default arguments as ParamsText keeps them), then the
// qualifiers and a trailing
// return type. `override`, `final`, `noexcept` clauses and
// `constexpr` are left out: the interface method is a plain virtual function
// that the units' versions override. A `(void)` parameter list reads `()`,
// so that parameters can be put in front. Without the tokens the node's
// printed form is used.
Str DeclarationText(NodeFuncDecl& decl, std::function<bool(Lex::Token*, Lex::Token*)> const& keepDefault = nullptr,
                    std::vector<Str> const& added = std::vector<Str>())
{
    NodeFuncParams* params = decl.GetParams();
    NodeRoundBrace* brace = params ? params->GetBrace() : nullptr;
    Lex::Token* open = brace ? brace->GetFirstToken() : nullptr;
    Lex::Token* close = brace ? brace->GetLastToken() : nullptr;
    Lex::Token* first = DeclToken(decl);
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

} // namespace

// ---- Text helpers ----

namespace DeclText {

bool ContainsWord(Str const& text, char const* word)
{
    size_t n = std::strlen(word);
    if (n == 0)
        return false;
    char const* s = text.GetBuffer();
    for (char const* p = std::strstr(s, word); p; p = std::strstr(p + 1, word)) {
        bool startOk = p == s || !IsIdentChar(p[-1]);
        bool endOk = !IsIdentChar(p[n]);
        if (startOk && endOk)
            return true;
    }
    return false;
}

namespace {

// Replaces whole-identifier occurrences of word; with call set, only those
// followed by "(" and then through the "(".
Str Replace(Str const& text, char const* word, char const* with, bool call)
{
    size_t n = std::strlen(word);
    if (n == 0)
        return text;
    char const* s = text.GetBuffer();
    size_t length = text.GetLength();
    Str result;
    size_t i = 0;
    while (i < length) {
        bool match = std::strncmp(s + i, word, n) == 0 && (i == 0 || !IsIdentChar(s[i - 1])) &&
                     !IsIdentChar(s[i + n]);
        size_t end = i + n;
        if (match && call) {
            while (s[end] == ' ' || s[end] == '\t')
                ++end;
            if (s[end] == '(')
                ++end;
            else
                match = false;
        }
        if (match) {
            result += with;
            i = end;
        } else {
            result += s[i];
            ++i;
        }
    }
    return result;
}

} // namespace

Str ReplaceWord(Str const& text, char const* word, char const* with) { return Replace(text, word, with, false); }

Str ReplaceCall(Str const& text, char const* name, char const* with) { return Replace(text, name, with, true); }

} // namespace DeclText

Str GetDeclName(Str declaration)
{
    static char const* const removed[] = {"__inline", "__forceinline", "inline", "virtual", "override"};
    for (char const* word : removed)
        declaration = DeclText::ReplaceWord(declaration, word, "");
    if (!DeclText::ContainsWord(declaration, "static"))
        declaration = "virtual " + declaration;
    while (std::strstr(declaration.GetBuffer(), "  "))
        declaration.Replace("  ", " ");
    return declaration;
}

Str DecoratorTransform::GetNameSpace(FOPModule& module)
{
    // An unnamed namespace cannot be named from outside it.
    Str name = module.GetNameSpaceName();
    return std::strstr(name.GetBuffer(), "(unnamed)") ? Str() : name;
}

Str DecoratorTransform::Qualified(Str const& name)
{
    Str space = GetNameSpace(*m_pModule);
    return space.IsEmpty() ? name : space + "::" + name;
}

// ---- Construction ----

DecoratorTransform::DecoratorTransform(BaseTransform& transform)
    : m_pTransform(&transform), m_pModule(transform.m_pModule), m_pClass(m_pModule->GetTransformedClass()),
      m_pSignatures(m_pClass ? &ClassOutput::Of(*m_pClass).GetInterfaceSignatures() : nullptr), m_pLayer(m_pModule->GetLayer()),
      m_pIncludes(ModuleOutput::Of(*m_pModule).GetIncludes())
{
}

// ---- Binding units ----

LayerDecorator* DecoratorTransform::GetBindingUnit(FuncInfo& f)
{
    Layer* layer = f.m_pModule ? f.m_pModule->GetLayer() : nullptr;
    return layer ? LayerDecorator::Of(*layer) : nullptr;
}

bool DecoratorTransform::FuncInSameBindingUnit(FuncInfo& f)
{
    LayerDecorator* own = m_pLayer ? LayerDecorator::Of(*m_pLayer) : nullptr;
    return GetBindingUnit(f) == own;
}

bool DecoratorTransform::HasRefiningInBindingUnit(LayerDecorator& unit)
{
    FuncInfo* current = m_pTransform->m_pFunc;
    for (FuncInfo* f = current ? current->m_pRefining : nullptr; f; f = f->m_pRefining)
        if (GetBindingUnit(*f) == &unit)
            return true;
    return false;
}

FuncInfo* DecoratorTransform::GetJampackRefinedMethod()
{
    FuncInfo* current = m_pTransform->m_pFunc;
    for (FuncInfo* f = current ? current->m_pRefined : nullptr; f; f = f->m_pRefined) {
        LayerDecorator* unit = GetBindingUnit(*f);
        if (unit && HasRefiningInBindingUnit(*unit))
            return f;
    }
    return nullptr;
}

FuncInfo* DecoratorTransform::GetRefiningInSameUnit()
{
    FuncInfo* current = m_pTransform->m_pFunc;
    for (FuncInfo* f = current ? current->m_pRefining : nullptr; f; f = f->m_pRefining)
        if (FuncInSameBindingUnit(*f))
            return f;
    return nullptr;
}

// ---- Body events ----

char const* DecoratorTransform::GetThisName()
{
    // A constructor that a higher one of its unit refines becomes a method
    // without the pFinal parameter.
    if (m_pTransform->m_bIsConstructor && !GetRefiningInSameUnit())
        return "pFinal";
    return "this->final";
}

void DecoratorTransform::RenameThis(Lex::Token& token) { SetText(token, GetThisName()); }

void DecoratorTransform::OnTokThis(Lex::Token& token, bool) { RenameThis(token); }

void DecoratorTransform::OnMemberAccess(Lex::Token* thisToken, Lex::Token& name, bool)
{
    // A static function has no object to go through.
    FuncInfo* current = m_pTransform->m_pFunc;
    if (current && current->IsStatic())
        return;
    if (IsFieldOfOtherUnit(name))
        return;
    ClassDB* db = GetDB();
    NodeFuncDecl* decl = db ? db->GetFuncDecl(Text(name)) : nullptr;
    FuncInfo* called = decl ? decl->GetInfo() : nullptr;
    if (called && called->GetAccess() == ACCESS_PRIVATE)
        return;
    // A static member is called on the class, not on the final object.
    if (called && called->IsStatic())
        return;
    // A constructor or destructor named here is a qualifier or a type
    // (Stack::f, new Stack), never a member call.
    if (called && (called->IsConstructor() || called->IsDestructor()))
        return;
    Lex::Token* next = BaseTransform::NextNonWhite(&name);
    if (!thisToken && next && next->type == Lex::TOK_COLON_COLON)
        return;
    if (thisToken) {
        RenameThis(*thisToken);
        return;
    }
    if (!called)
        return;
    Str text = GetThisName();
    text += "->";
    name.AddTokenBefore(*BaseTransform::NewTextToken(text));
}

namespace {

// The name is declared in the function before the token: a parameter, or a
// local whose name follows a type (`int m_w`, `Shape* m_w`).
bool DeclaredLocally(FuncInfo& f, Lex::Token& use)
{
    NodeFuncDef* def = f.GetDef();
    NodeFuncDecl* decl = def ? def->GetDecl() : f.GetDecl();
    NodeFuncParams* params = decl ? decl->GetParams() : nullptr;
    Str names(",");
    if (params) {
        names += params->GetParamNames(",");
        names += ",";
    }
    Str key(",");
    key += Text(use);
    key += ",";
    if (std::strstr(names.GetBuffer(), key.GetBuffer()))
        return true;
    NodeBlock* body = def ? def->GetBody() : nullptr;
    Lex::Token* prev = nullptr;
    for (Lex::Token* t = body ? body->GetFirstToken() : nullptr; t; t = t->next()) {
        if (BaseTransform::IsSkipped(*t))
            continue;
        if (t->text == use.text && prev &&
            (prev->type == Lex::TOK_ID || prev->type == Lex::TOK_MUL || prev->type == Lex::TOK_AND ||
             prev->type == Lex::TOK_AND_AND || prev->type == Lex::TOK_GREATER || prev->type == Lex::TOK_INT ||
             prev->type == Lex::TOK_CHAR || prev->type == Lex::TOK_BOOL || prev->type == Lex::TOK_DOUBLE ||
             prev->type == Lex::TOK_FLOAT || prev->type == Lex::TOK_LONG || prev->type == Lex::TOK_SHORT ||
             prev->type == Lex::TOK_UNSIGNED || prev->type == Lex::TOK_AUTO))
            return true;
        if (t == &use)
            break;
        prev = t;
    }
    return false;
}

} // namespace

bool DecoratorTransform::IsFieldOfOtherUnit(Lex::Token& name)
{
    MemberInfo* member = m_pClass ? m_pClass->GetMember(Text(name)) : nullptr;
    ModuleTransform* unit = ModuleTransform::Of(*m_pModule);
    FuncInfo* current = m_pTransform->m_pFunc;
    if (!member || !member->IsField() || !unit || !current)
        return false;
    for (int i = 0; i < unit->m_Modules.GetCount(); ++i) {
        SimpleTU* tu = unit->m_Modules[i]->GetParseUnit();
        if (tu && tu->db()->GetField(Text(name)))
            return false;
    }
    if (DeclaredLocally(*current, name))
        return false;
    // Each unit's object holds only its own unit's fields.
    Str key;
    key.Format("%p %s", static_cast<void*>(current), Text(name));
    if (m_ReportedFields.Contains(key.GetBuffer()))
        return true;
    m_ReportedFields.Add(key.GetBuffer());
    Str text;
    text.Format("%s is a member variable of %s in another binding unit: code of binding unit %s cannot reach it; "
                "give the unit that declares it a method to call",
                Text(name), m_pModule->GetName().GetBuffer(), unit->GetBindingUnitName().GetBuffer());
    ErrorLog::OnError(text, name);
    return true;
}

void DecoratorTransform::OnTokSuperCall(Lex::Token*, Lex::Token* separator, Lex::Token* name)
{
    if (!separator)
        return;
    SetText(*separator, "->");
    if (!name)
        return;
    if (FuncInfo* merged = GetJampackRefinedMethod())
        SetText(*name, merged->GetNameText());
}

bool DecoratorTransform::OnModuleInstantiation(TransformedModule& cls, Lex::Token& newToken, Lex::Token& className)
{
    if (cls.HasDynamicDelegation())
        CreateFactoryMethodInvocation(newToken, className);
    return true;
}

void DecoratorTransform::CreateFactoryMethodInvocation(Lex::Token& newToken, Lex::Token& className)
{
    Lex::Token* next = BaseTransform::NextNonWhite(&className);
    // An array of objects cannot come from the factory.
    if (next && next->type == Lex::TOK_OPEN_SQUARE)
        return;
    Str original = Text(className);
    BaseTransform::DeleteToken(newToken);
    Str text("GetSPL().New_");
    text += original;
    if (!next || next->type != Lex::TOK_OPEN_ROUND) {
        text += "()";
        SetText(className, text);
        return;
    }
    SetText(className, text);
    // The factory takes no constructor arguments: they are emptied (the
    // body walk goes on over these tokens) and reported.
    int depth = 1;
    bool dropped = false;
    for (Lex::Token* t = next->next(); t; t = t->next()) {
        if (t->type == Lex::TOK_OPEN_ROUND)
            ++depth;
        else if (t->type == Lex::TOK_CLOSE_ROUND && --depth == 0)
            break;
        if (BaseTransform::IsSkipped(*t))
            continue;
        dropped = true;
        SetText(*t, "");
        t->SetType(Lex::TOK_STRING_VAL);
    }
    if (dropped) {
        Str warning;
        warning.Format("constructor arguments of new %s are not passed to New_%s", original.GetBuffer(),
                       original.GetBuffer());
        ErrorLog::OnWarning(warning, className);
    }
}

// ---- Class head and layer class ----

Str DecoratorTransform::GetDecoratorName(char const* name)
{
    Str result(name ? name : "");
    result += "__Decorator";
    return result;
}

bool DecoratorTransform::CreateBaseDefinition()
{
    Str name = m_pModule->GetName();
    return AddBaseClass(GetDecoratorName(name), name);
}

bool DecoratorTransform::AddBaseClass(char const* base, char const* include)
{
    if (NodeClassDef* cls = m_pModule->GetMainClass())
        cls->AddBaseClass(ACCESS_PUBLIC, base);
    if (m_pIncludes)
        ModuleIncludes::AddInclude(m_pIncludes->m_HeaderIncludes, include);
    return true;
}

bool DecoratorTransform::CreateFactoryMethod()
{
    LayerDecorator* unit = m_pLayer ? LayerDecorator::Of(*m_pLayer) : nullptr;
    if (!unit)
        return true;
    Str base = m_BaseNames.GetCount() ? m_BaseNames[0] : Str();
    Str space = GetNameSpace(*m_pModule);
    Str forward;
    if (!space.IsEmpty())
        forward = m_pModule->GetNameSpaceOpenText() + "class " + m_pModule->GetName() + ";\n" +
                  m_pModule->GetNameSpaceCloseText() + "\n";
    unit->AddFactoryMethod(m_pModule->GetName(), m_pTransform->m_ClassName, base, Str(), Str(), space, forward);
    return true;
}

// ---- Interface ----

Str DecoratorTransform::GetSignatureKey(FuncInfo& f, NodeFuncDecl* decl)
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

bool DecoratorTransform::AddInterfaceMethodSignature(Str const& signature)
{
    // A trace of the interface's making: to the log only, with the class
    // and the module's file.
    Str where = "class " + m_pModule->GetName() + ", ";
    Str file = m_pModule->GetSourcePath();
    if (m_pSignatures && m_pSignatures->Contains(signature)) {
        ErrorLog::OnInfo(where + "already there: " + signature, file);
        return false;
    }
    ErrorLog::OnInfo(where + "not found: " + signature, file);
    if (m_pSignatures)
        m_pSignatures->Add(signature);
    return true;
}

bool DecoratorTransform::AddInterfaceMethod(FuncNode& func)
{
    NodeFuncDecl* decl = func.GetDecl();
    FuncInfo* f = decl ? decl->GetInfo() : nullptr;
    if (!f || f->IsConstructor() || f->IsDestructor() || f->GetAccess() == ACCESS_PRIVATE || IsAllocationFunction(*f))
        return true;
    if (IsMemberTemplate(*decl)) {
        Warn(*m_pModule, *decl, "member template " + f->GetStrName() + ": no interface method is generated for it");
        return true;
    }
    NodeFuncParams* params = decl->GetParams();
    std::vector<Str> added;
    Str paramNames;
    if (!NameParams(params, added, paramNames)) {
        Warn(*m_pModule, *decl,
             "unnamed parameter in " + f->GetStrName() + ": no interface method is generated for it");
        return true;
    }
    Str signature = GetSignatureKey(*f, decl);
    Str declaration = DeclarationText(*decl, KeepDefault(), added);
    return AddInterfaceMethod(f->GetStrName(), signature, declaration, paramNames, f->IsStatic(),
                              DeclarationText(*decl, nullptr, added));
}

bool DecoratorTransform::AddInterfaceMethod(Str const& name, Str const& signature, Str const& declaration,
                                            Str const& paramNames, bool isStatic, Str const& plainDeclaration)
{
    if (!AddInterfaceMethodSignature(signature))
        return true;
    Str module = m_pModule->GetName();
    Str head = GetDeclName(declaration);
    // The object or layer below is null when no loaded unit makes the
    // method: the program stops rather than follow a null pointer.
    Str body;
    if (!isStatic) {
        body.Format("{ auto* below = GetSuper_%s(); if (!below) std::abort(); return below->%s(%s); }",
                    module.GetBuffer(), name.GetBuffer(), paramNames.GetBuffer());
    } else {
        Str forwardName = module + "__" + name;
        Str unitDecl = plainDeclaration.IsEmpty() ? declaration : plainDeclaration;
        Str decl2 = GetDeclName(DeclText::ReplaceWord(unitDecl, "static", ""));
        decl2 = DeclText::ReplaceCall(decl2, name, forwardName + "(");
        Str forward;
        forward.Format("%s(%s);", forwardName.GetBuffer(), paramNames.GetBuffer());
        Str plain;
        plain.Format("%s(%s);", name.GetBuffer(), paramNames.GetBuffer());
        Str params = name + "(<LAYER_INTERFACE_NAME>& spl";
        if (!paramNames.IsEmpty())
            params += ", ";
        head = DeclText::ReplaceCall(head, name, params);
        body = "{ return spl." + forward + " }";
        if (LayerDecorator* unit = m_pLayer ? LayerDecorator::Of(*m_pLayer) : nullptr)
            unit->AddStaticMethodCall(decl2 + "{ auto* below = GetSuperDecorator(); if (!below) std::abort(); return below->" +
                                          forward + " }",
                                      decl2 + "{ return " + Qualified(m_pTransform->m_ClassName) + "::" + plain + " }");
    }
    if (m_pClass)
        ClassOutput::Of(*m_pClass).AddInterfaceMethod(head + " " + body);
    return true;
}

bool DecoratorTransform::AddHookMethod(FuncNode& func, FuncNode* refined)
{
    if (!refined)
        return false;
    NodeFuncDecl* decl = func.GetDecl();
    FuncInfo* f = decl ? decl->GetInfo() : nullptr;
    if (!f)
        return false;
    if (f->IsConstructor() || f->IsDestructor() || IsAllocationFunction(*f))
        return true;
    if (IsMemberTemplate(*decl)) {
        Warn(*m_pModule, *decl, "member template " + f->GetStrName() + ": no hook method is generated for it");
        return true;
    }
    NodeFuncDecl* refinedDecl = refined->GetDecl();
    Name* refinedName = refinedDecl ? refinedDecl->GetName() : nullptr;
    if (!refinedName)
        return false;
    NodeFuncParams* params = decl->GetParams();
    std::vector<Str> added;
    Str paramNames;
    if (!NameParams(params, added, paramNames)) {
        Warn(*m_pModule, *decl, "unnamed parameter in " + f->GetStrName() + ": no hook method is generated for it");
        return true;
    }
    Str refName = refinedName->c_str();
    Str name = f->GetStrName();
    Str signature = DeclText::ReplaceCall(GetSignatureKey(*f, decl), name, refName + "(");
    Str declaration = DeclText::ReplaceCall(DeclarationText(*decl, KeepDefault(), added), name, refName + "(");
    return AddInterfaceMethod(refName, signature, declaration, paramNames, false);
}

std::function<bool(Lex::Token*, Lex::Token*)> DecoratorTransform::KeepDefault()
{
    // The interface has no members of the class but its methods: a default
    // that names a member of any module of the class is left out.
    std::vector<ClassDB*> dbs;
    if (m_pClass) {
        for (int i = 0; i < m_pClass->GetModules().GetCount(); ++i)
            if (SimpleTU* unit = m_pClass->GetModules()[i] ? m_pClass->GetModules()[i]->GetParseUnit() : nullptr)
                dbs.push_back(unit->db());
    } else if (GetDB()) {
        dbs.push_back(GetDB());
    }
    return [dbs](Lex::Token* first, Lex::Token* end) {
        for (Lex::Token* t = first; t && t != end; t = t->next()) {
            if (t->type == Lex::TOK_THIS)
                return false;
            if (t->type != Lex::TOK_ID)
                continue;
            for (ClassDB* db : dbs)
                if (db && (db->GetFuncDecl(Text(*t)) || db->GetField(Text(*t))))
                    return false;
        }
        return true;
    };
}

// ---- Not called in a composition run ----

Str DecoratorTransform::GetHookName(char const* name)
{
    Str result(name ? name : "");
    result += "__hook__";
    if (m_pLayer)
        result += m_pLayer->m_LayerName;
    result.Replace(".", "_");
    return result;
}

ClassDB* DecoratorTransform::GetDB() { return m_pTransform->m_pClassDB; }

bool DecoratorTransform::CreateBaseClassGetter()
{
    for (int i = 0; i < m_BaseNames.GetCount(); ++i)
        CreateBaseClassGetter(m_BaseNames[i]);
    return true;
}

bool DecoratorTransform::CreateBaseClassGetter(Str const& base)
{
    NodeClassDef* cls = m_pModule->GetMainClass();
    NodeBlock* body = cls ? cls->GetBody() : nullptr;
    Lex::Token* open = body ? body->GetFirstToken() : nullptr;
    if (!open)
        return false;
    Str text = Templates::GetInstance()->GetTemplate("BaseClassGetter");
    text.Replace("<CLASS />", base);
    text.Replace("<BASE />", m_pModule->GetName());
    open->AddTokenAfter(*BaseTransform::NewTextToken(text));
    return true;
}
