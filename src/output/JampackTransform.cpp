#include "output/JampackTransform.h"

#include "base/ErrorLog.h"
#include "base/Name.h"
#include "base/StringArray.h"
#include "compose/EquationFile.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "compose/Module.h"
#include "compose/TransformedModule.h"
#include "output/JavaConstructor.h"
#include "output/ModuleIncludes.h"
#include "output/ModuleOutput.h"
#include "output/ModuleTransform.h"
#include "parser/Info.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeFuncParams.h"
#include "parser/NodeID.h"
#include "parser/NodeInitDecl.h"
#include "parser/NodeType.h"
#include "parser/NodeVarDecl.h"
#include "scanner/Token.h"

#include <cstring>

namespace {

char const* Text(Lex::Token const& token) { return token.text ? token.text->text : ""; }

// The closing parenthesis of a declaration's parameter list.
Lex::Token* ParamsEnd(NodeFuncDecl& decl)
{
    NodeFuncParams* params = decl.GetParams();
    NodeRoundBrace* brace = params ? params->GetBrace() : nullptr;
    return brace ? brace->GetLastToken() : nullptr;
}

// The specifier tokens between a declaration's parameter list and its body,
// initializer list, pure specifier or end; calls fn on each until it
// answers true.
template <class Fn>
Lex::Token* FindAfterParams(NodeFuncDecl& decl, Fn fn)
{
    Lex::Token* close = ParamsEnd(decl);
    for (Lex::Token* t = close ? close->next() : nullptr; t; t = t->next()) {
        if (BaseTransform::IsSkipped(*t))
            continue;
        if (t->type == Lex::TOK_OPEN_CURLY || t->type == Lex::TOK_SEMI_COLON || t->type == Lex::TOK_COLON ||
            t->type == Lex::TOK_CLOSE_CURLY)
            return nullptr;
        if (fn(*t))
            return t;
    }
    return nullptr;
}

bool TextIs(Lex::Token const& t, char const* text) { return std::strcmp(Text(t), text) == 0; }

bool IsWhite(Lex::Token const& t) { return t.language == Lex::Token::white_id; }

bool IsOverrideToken(Lex::Token& t) { return t.type == Lex::TOK_OVERRIDE || TextIs(t, "override"); }

bool IsFinalToken(Lex::Token& t) { return TextIs(t, "final"); }

// Empties a word in place. It is not unlinked: a node's range may begin or
// end at it.
void BlankToken(Lex::Token& t)
{
    t.text = Lex::StrHashTable::insert("");
    t.SetType(Lex::TOK_STRING_VAL);
}

// The token that ends a declaration's head: the body's `{`, the `;`, the
// `:` of an initializer list or a `=` (pure, defaulted, deleted).
Lex::Token* HeadEnd(NodeFuncDecl& decl)
{
    Lex::Token* close = ParamsEnd(decl);
    int depth = 0;
    for (Lex::Token* t = close ? close->next() : nullptr; t; t = t->next()) {
        if (t->type == Lex::TOK_OPEN_ROUND)
            ++depth;
        else if (t->type == Lex::TOK_CLOSE_ROUND)
            --depth;
        else if (depth == 0 && (t->type == Lex::TOK_OPEN_CURLY || t->type == Lex::TOK_SEMI_COLON ||
                                t->type == Lex::TOK_COLON || t->type == Lex::TOK_ASSIGN || t->type == Lex::TOK_CLOSE_CURLY))
            return t;
    }
    return nullptr;
}

// Replaces `= default` or `= delete` by the text.
void ReplaceDefaulted(Lex::Token& assign, char const* text)
{
    Lex::Token* word = BaseTransform::NextNonWhite(&assign);
    assign.text = Lex::StrHashTable::insert(text);
    assign.SetType(Lex::TOK_STRING_VAL);
    if (word)
        BlankToken(*word);
}

// Removes `override` before the return type and after the parameters.
// Answers whether there was one.
bool RemoveOverride(NodeFuncDecl& decl)
{
    bool found = false;
    if (NodeType* type = decl.GetReturnType()) {
        if (type->GetModifier(Lex::TOK_OVERRIDE)) {
            type->DeleteModifier(Lex::TOK_OVERRIDE);
            found = true;
        }
    }
    // The word is emptied, not unlinked: the token may end the declaration,
    // where the walk over the function body begins.
    while (Lex::Token* t = FindAfterParams(decl, IsOverrideToken)) {
        BlankToken(*t);
        found = true;
    }
    return found;
}

// `= 0` after the parameter list.
bool IsPure(NodeFuncDecl& decl)
{
    Lex::Token* assign = FindAfterParams(decl, [](Lex::Token& t) { return t.type == Lex::TOK_ASSIGN; });
    if (!assign)
        return false;
    for (Lex::Token* t = assign->next(); t; t = t->next())
        if (!BaseTransform::IsSkipped(*t))
            return std::strcmp(Text(*t), "0") == 0;
    return false;
}

// The function's definition is its declaration (defined in the class body).
bool DefinedInClass(FuncInfo& f)
{
    NodeFuncDecl* decl = f.GetDecl();
    NodeFuncDef* def = f.GetDef();
    return decl && def && def->GetDecl() == decl;
}

Lex::Token* DeclToken(NodeFuncDecl& decl)
{
    if (Lex::Token* t = decl.GetToken())
        return t;
    NodeID* id = decl.GetNameNode();
    return id ? id->GetFirstToken() : nullptr;
}

// The first token of a declaration's head after its specifiers: the return
// type, a destructor's `~` or the name.
Lex::Token* HeadStart(NodeFuncDecl& decl)
{
    Lex::Token* first = DeclToken(decl);
    for (Lex::Token* p = first ? first->prev() : nullptr; p; p = p->prev()) {
        if (BaseTransform::IsSkipped(*p) || !*Text(*p))
            continue;
        return p->type == Lex::TOK_TILDE ? p : first;
    }
    return first;
}

// The specifier word in front of a declaration's head; null without it.
Lex::Token* SpecifierBefore(NodeFuncDecl& decl, char const* word)
{
    static char const* const specifiers[] = {"virtual", "explicit", "inline", "constexpr", "static", "__forceinline"};
    Lex::Token* start = HeadStart(decl);
    for (Lex::Token* p = start ? start->prev() : nullptr; p; p = p->prev()) {
        if (BaseTransform::IsSkipped(*p) || !*Text(*p))
            continue;
        if (TextIs(*p, word))
            return p;
        bool specifier = false;
        for (char const* s : specifiers)
            specifier = specifier || TextIs(*p, s);
        if (!specifier)
            return nullptr;
    }
    return nullptr;
}

// Writes the word in front of the declaration's head unless it is there.
void AddSpecifier(NodeFuncDecl& decl, char const* word)
{
    Lex::Token* start = HeadStart(decl);
    if (!start || SpecifierBefore(decl, word))
        return;
    Str text(word);
    text += " ";
    start->AddTokenBefore(*BaseTransform::NewTextToken(text));
}

// Writes `final` at the end of the declaration's head unless it is there.
void AddFinal(NodeFuncDecl& decl)
{
    Lex::Token* end = HeadEnd(decl);
    if (!end || FindAfterParams(decl, IsFinalToken))
        return;
    Lex::Token* prev = end->prev();
    end->AddTokenBefore(*BaseTransform::NewTextToken(prev && IsWhite(*prev) ? "final " : " final "));
}

bool IsNoexceptToken(Lex::Token& t) { return TextIs(t, "noexcept"); }

// The declaration's `noexcept` with its condition, as text; empty without.
Str NoexceptText(NodeFuncDecl& decl)
{
    Lex::Token* word = FindAfterParams(decl, IsNoexceptToken);
    if (!word)
        return Str();
    Str text("noexcept");
    Lex::Token* open = BaseTransform::NextNonWhite(word);
    int depth = 0;
    for (Lex::Token* t = open && open->type == Lex::TOK_OPEN_ROUND ? open : nullptr; t; t = t->next()) {
        if (t->type == Lex::TOK_OPEN_ROUND)
            ++depth;
        else if (t->type == Lex::TOK_CLOSE_ROUND)
            --depth;
        if (!(t->flags & Lex::Token::comment_flag))
            text += Text(*t);
        if (depth == 0)
            break;
    }
    return text;
}

// Writes the `noexcept` clause after the declaration's parameters
// and qualifiers unless it has one.
void AddNoexcept(NodeFuncDecl& decl, Str const& clause)
{
    Lex::Token* last = ParamsEnd(decl);
    if (!last || FindAfterParams(decl, IsNoexceptToken))
        return;
    for (Lex::Token* t = BaseTransform::NextNonWhite(last); t; t = BaseTransform::NextNonWhite(t)) {
        if (t->type != Lex::TOK_CONST && t->type != Lex::TOK_VOLATILE && t->type != Lex::TOK_AND &&
            t->type != Lex::TOK_AND_AND)
            break;
        last = t;
    }
    Str text(" ");
    text += clause;
    last->AddTokenAfter(*BaseTransform::NewTextToken(text));
}

// Some version of the function below f has a body.
bool LowerHasBody(FuncInfo& f)
{
    for (FuncInfo* lower = &f; lower; lower = lower->m_pRefined)
        if (lower->GetDef())
            return true;
    return false;
}

// The `package` statement before the module's class: answers its `package`
// word, sets end to its `;` and name to the package's name. Null without one.
Lex::Token* FindPackage(FOPModule& module, Lex::Token*& end, Str& name)
{
    NodeClassDef* cls = module.GetMainClass();
    NodeClassDecl* head = cls ? cls->GetClassDecl() : nullptr;
    Lex::Token* stop = head ? head->GetFirstToken() : nullptr;
    Lex::Token* prev = nullptr;
    for (Lex::Token* t = module.GetFirstToken(); t && t != stop; t = t->next()) {
        if (BaseTransform::IsSkipped(*t))
            continue;
        if (t->type == Lex::TOK_ID && TextIs(*t, "package") && (!prev || prev->type == Lex::TOK_SEMI_COLON)) {
            name = Str();
            for (end = BaseTransform::NextNonWhite(t); end && end->type != Lex::TOK_SEMI_COLON;
                 end = BaseTransform::NextNonWhite(end))
                name += Text(*end);
            return end ? t : nullptr;
        }
        prev = t;
    }
    return nullptr;
}

Array<Lex::Token*> ParamNameTokens(NodeFuncDecl& decl)
{
    NodeFuncParams* params = decl.GetParams();
    return params ? params->GetParamNameTokens() : Array<Lex::Token*>();
}

} // namespace

JampackTransform::JampackTransform(FOPModule& module) : BaseTransform(module), m_pFirstModule(nullptr), m_bMakeInline(true)
{
}

JampackTransform::~JampackTransform() {}

void JampackTransform::Init()
{
    ModuleTransform* unit = ModuleTransform::Of(*m_pModule);
    m_pFirstModule = unit ? unit->GetFirstTransformationModule() : nullptr;
    BaseTransform::Init();
}

bool JampackTransform::Transform()
{
    if (!BaseTransform::Transform())
        return false;
    if (m_pRefinedModule && m_pModule->GetMainClass())
        RemoveBaseClasses();
    if (IsJavaLike())
        WritePackageOnce();
    NodeClassDef* cls = m_pModule->GetMainClass();
    if (cls && m_pLayer) {
        Name* name = cls->GetName();
        Str const& layerName = m_pLayer->m_LayerName;
        static char const ending[] = "DynConditionalConfig";
        size_t n = sizeof(ending) - 1;
        if (name && std::strcmp(name->c_str(), "DynamicFeatureConfig") == 0 && layerName.GetLength() >= n &&
            layerName.Right(n) == ending)
            InitDynConfigData();
    }
    return true;
}

bool JampackTransform::IsJavaLike() const
{
    int type = m_pModule->GetFileType();
    return type == Module::FT_CS || type == Module::FT_JAK || type == Module::FT_JAVA;
}

void JampackTransform::WritePackageOnce()
{
    FOPModule* first = m_pFirstModule;
    if (!first || first == m_pModule)
        return;
    Lex::Token* end = nullptr;
    Lex::Token* otherEnd = nullptr;
    Str own;
    Str other;
    Lex::Token* word = FindPackage(*m_pModule, end, own);
    FindPackage(*first, otherEnd, other);
    if (own == other) {
        for (Lex::Token* t = word; t;) {
            Lex::Token* next = t->next();
            bool last = t == end;
            DeleteToken(*t);
            t = last ? nullptr : next;
        }
        return;
    }
    auto describe = [](Str const& name) { return name.IsEmpty() ? Str("no package") : "package " + name; };
    Str text = "this module declares " + describe(own) + ", but " + first->GetSourcePath() + " declares " +
               describe(other) + ": the modules of a class must be in one package";
    NodeClassDecl* head = m_pModule->GetMainClass() ? m_pModule->GetMainClass()->GetClassDecl() : nullptr;
    Lex::Token* at = word ? word : head ? head->GetFirstToken() : nullptr;
    if (at)
        ErrorLog::OnError(text, *at);
    else
        m_pModule->PrintError(text, 0);
}

Str JampackTransform::GetTransformedClassName() { return m_pModule->GetName(); }

Str JampackTransform::GetFinalName() const { return m_pModule->GetName(); }

Str JampackTransform::GetSuperFuncName() { return m_SuperName; }

bool JampackTransform::RenameFunc(FuncInfo& f)
{
    ModuleTransform* unit = ModuleTransform::Of(*m_pModule);
    return f.m_pRefining && unit && unit->HasMethod(*f.m_pRefining);
}

Str JampackTransform::GetTransformedFuncName(FuncInfo& f)
{
    bool renamed = RenameFunc(f);
    if (!renamed && m_pModule->GetName() == m_ClassName)
        return Str();
    if (renamed && IsOperatorFunction(f)) {
        // An operator keeps its name: a layer name cannot be put into it.
        Str text;
        text.Format("cannot refine operator function %s", f.GetStrName().GetBuffer());
        NodeFuncDecl* decl = f.GetDecl();
        Lex::Token* token = decl ? DeclToken(*decl) : nullptr;
        if (token)
            ErrorLog::OnError(text, *token);
        else
            m_pModule->PrintError(text, 0);
        return Str();
    }
    Str name = m_ClassName;
    name += "::";
    if (renamed) {
        name += GetTransformedLayerName(m_pModule->GetRenameLayerName());
        name += "_";
    }
    if (f.IsDestructor()) {
        // A renamed destructor must not clash with a renamed constructor
        // without parameters of the same layer.
        name += renamed ? "dtor_" : "~";
        name += m_ClassName;
    } else if (f.IsConstructor()) {
        name += m_ClassName;
    } else {
        name += f.GetStrName();
    }
    return name;
}

FuncInfo* JampackTransform::GetTopRefining(FuncInfo& f)
{
    ModuleTransform* unit = ModuleTransform::Of(*m_pModule);
    return unit ? unit->GetTopRefining(f) : &f;
}

bool JampackTransform::MoveSpecifiersUp(NodeFuncDecl& decl)
{
    FuncInfo* f = decl.GetInfo();
    FuncInfo* top = f ? GetTopRefining(*f) : nullptr;
    NodeFuncDecl* topDecl = top && top != f ? top->GetDecl() : nullptr;
    bool wasVirtual = false;
    if (m_bIsConstructor || m_bIsDestructor) {
        // The renamed version is an ordinary method.
        if (Lex::Token* word = SpecifierBefore(decl, "virtual")) {
            BlankToken(*word);
            wasVirtual = true;
        }
        if (Lex::Token* word = SpecifierBefore(decl, "explicit")) {
            BlankToken(*word);
            if (topDecl)
                AddSpecifier(*topDecl, "explicit");
        }
        // A defaulted or deleted lower version does nothing of its own.
        if (Lex::Token* assign = BaseTransform::DefaultedOrDeleted(decl))
            ReplaceDefaulted(*assign, "{}");
    }
    bool hadFinal = false;
    while (Lex::Token* word = FindAfterParams(decl, IsFinalToken)) {
        BlankToken(*word);
        hadFinal = true;
    }
    if (hadFinal && topDecl)
        AddFinal(*topDecl);
    // An overrider may not loosen the `noexcept` of what it overrides, and callers
    // may rely on it: the composed member keeps a lower version's one.
    Str clause = NoexceptText(decl);
    if (!clause.IsEmpty() && topDecl)
        AddNoexcept(*topDecl, clause);
    return wasVirtual;
}

void JampackTransform::CheckDefaultedRefinement(NodeFuncDecl& decl)
{
    Lex::Token* assign = BaseTransform::DefaultedOrDeleted(decl);
    if (!assign || !m_pRefinedFunc || !LowerHasBody(*m_pRefinedFunc))
        return;
    Lex::Token* word = NextNonWhite(assign);
    if (m_bIsDestructor && word && word->type == Lex::TOK_DEFAULT) {
        // A defaulted destructor still runs the lower layers' ones.
        Str body;
        body.Format("{ %s(); }", m_SuperName.GetBuffer());
        ReplaceDefaulted(*assign, body.GetBuffer());
        return;
    }
    Str text;
    text.Format("%s is %s here, but a lower layer defines it: write a body, for example `{}`, to compose the layers",
                m_pFunc ? m_pFunc->GetStrName().GetBuffer() : "function", word ? Text(*word) : "defaulted");
    ErrorLog::OnError(text, *assign);
}

bool JampackTransform::TransformFuncDeclStmt(bool isDefinitionDecl, NodeFuncDecl& decl)
{
    FuncInfo* f = decl.GetInfo();
    if (!m_pRefiningFunc && m_pRefinedFunc && f && !isDefinitionDecl && (m_bIsConstructor || m_bIsDestructor))
        CheckDefaultedRefinement(decl);
    if (m_pRefiningFunc && f && !IsOperatorFunction(*f)) {
        bool wasVirtual = !isDefinitionDecl && f->IsVirtual();
        if (!isDefinitionDecl) {
            wasVirtual = MoveSpecifiersUp(decl) || wasVirtual;
            MoveDefaultArguments(decl);
        }
        bool hadOverride = RemoveOverride(decl);
        bool pure = !isDefinitionDecl && IsPure(decl);
        // A Java-like constructor stays one until its body moves into the
        // constructor that refines it.
        bool javaCtor = m_bIsConstructor && IsJavaLike();
        if (m_bIsConstructor && !javaCtor)
            decl.SetIsConstructor(false, "void");
        else if (m_bIsDestructor)
            decl.SetIsDestructor(false, "void");
        if (pure) {
            // A renamed pure function has no body to be called: drop it.
            BaseTransform::DropDeclaration(decl);
        } else if (m_bMakeInline && !isDefinitionDecl && !javaCtor && DefinedInClass(*f)) {
            MakeInline(decl);
        }
        if (wasVirtual && !hadOverride)
            MakeTopVirtual(*f);
    }
    return BaseTransform::TransformFuncDeclStmt(isDefinitionDecl, decl);
}

void JampackTransform::MakeTopVirtual(FuncInfo& f)
{
    FuncInfo* top = GetTopRefining(f);
    NodeFuncDecl* decl = top == &f ? nullptr : top->GetDecl();
    if (!decl)
        return;
    // The virtual function is introduced here now, so it overrides nothing.
    RemoveOverride(*decl);
    if (top->IsVirtual())
        return;
    AddSpecifier(*decl, "virtual");
    top->SetIsVirtual(true);
}

void JampackTransform::MoveDefaultArguments(NodeFuncDecl& decl)
{
    FuncInfo* f = decl.GetInfo();
    FuncInfo* top = f ? GetTopRefining(*f) : nullptr;
    NodeFuncDecl* topDecl = top && top != f ? top->GetDecl() : nullptr;
    if (!topDecl)
        return;
    Array<Lex::Token*> own = ParamNameTokens(decl);
    Array<Lex::Token*> upper = ParamNameTokens(*topDecl);
    for (int i = 0; i < own.GetCount() && i < upper.GetCount(); ++i) {
        Str value = own[i] ? DefaultArgument(*own[i]) : Str();
        if (value.IsEmpty() || !upper[i] || !DefaultArgument(*upper[i]).IsEmpty())
            continue;
        Str text(" =");
        text += value;
        // On the parameter's line: no line directive inside the list.
        Lex::Token* token = NewTextToken(text);
        token->location = upper[i]->location;
        upper[i]->AddTokenAfter(*token);
    }
}

Str JampackTransform::DefaultArgument(Lex::Token& name)
{
    Lex::Token* assign = NextNonWhite(&name);
    if (!assign || assign->type != Lex::TOK_ASSIGN)
        return Str();
    Str text;
    int depth = 0;
    int angles = 0; // template arguments: `std::less<int>()`
    Lex::Token* prev = assign;
    for (Lex::Token* t = assign->next(); t; t = t->next()) {
        int type = t->type;
        if (type == Lex::TOK_OPEN_ROUND || type == Lex::TOK_OPEN_SQUARE || type == Lex::TOK_OPEN_CURLY)
            ++depth;
        else if (type == Lex::TOK_CLOSE_ROUND || type == Lex::TOK_CLOSE_SQUARE || type == Lex::TOK_CLOSE_CURLY) {
            if (depth-- == 0)
                break;
        } else if (type == Lex::TOK_LESS && prev->type == Lex::TOK_ID)
            ++angles;
        else if (type == Lex::TOK_GREATER && angles > 0)
            --angles;
        else if (type == Lex::TOK_RSH && angles > 0)
            angles = angles > 1 ? angles - 2 : 0;
        else if (type == Lex::TOK_COMMA && depth == 0 && angles == 0)
            break;
        if (!(t->flags & Lex::Token::comment_flag))
            text += Text(*t);
        if (!IsSkipped(*t))
            prev = t;
    }
    return text;
}

void JampackTransform::OnTokSuperCall(Lex::Token* superToken, Lex::Token* separator, Lex::Token* name)
{
    if (!superToken || !separator || !name)
        return;
    if (!m_SuperName.IsEmpty()) {
        DeleteToken(*superToken);
        DeleteToken(*separator);
        name->text = Lex::StrHashTable::insert(m_SuperName.GetBuffer());
        // A `&&`-qualified function is called on an rvalue of the object.
        if (m_pFunc && m_pFunc->m_Qualifiers.GetLength() >= 2 && m_pFunc->m_Qualifiers.Right(2) == "&&") {
            Str object;
            object.Format("static_cast<%s&&>(*this).", m_pModule->GetName().GetBuffer());
            name->AddTokenBefore(*NewTextToken(object));
        }
        return;
    }
    // Java-like modules call the base class's version through `super`, which
    // every Java class has.
    if (!m_pTransformedModule || separator->type == Lex::TOK_DOT)
        return;
    Str base = m_pTransformedModule->GetBaseClass();
    if (base.IsEmpty()) {
        OnUnresolvedSuperCall(*superToken);
        return;
    }
    superToken->text = Lex::StrHashTable::insert(base.GetBuffer());
}

bool JampackTransform::AddCtorFuncCall(NodeFuncDef& def)
{
    // A Java-like constructor takes the lower body in once its own body is parsed.
    if (IsJavaLike())
        return true;
    NodeBlock* body = def.GetBody();
    Lex::Token* open = body ? body->GetFirstToken() : nullptr;
    if (!open || open->type != Lex::TOK_OPEN_CURLY)
        return false;
    if (NodeInitDecl* init = def.GetInitDecl())
        init->RemoveInitializers("super");
    Str names;
    if (!GetCallArguments(def, ", ", names))
        return false;
    Str text;
    text.Format("\n\t%s(%s);", m_SuperName.GetBuffer(), names.GetBuffer());
    open->AddTokenAfter(*NewTextToken(text));
    return true;
}

bool JampackTransform::AddDtorFuncCall(NodeFuncDef& def)
{
    NodeBlock* body = def.GetBody();
    Lex::Token* close = body ? body->GetLastToken() : nullptr;
    if (!close || close->type != Lex::TOK_CLOSE_CURLY)
        return false;
    Str text;
    text.Format("\t%s();\n", m_SuperName.GetBuffer());
    close->AddTokenBefore(*NewTextToken(text));
    return true;
}

bool JampackTransform::GetCallArguments(NodeFuncDef& def, char const* separator, Str& names)
{
    NodeFuncDecl* decl = def.GetDecl();
    NodeFuncParams* params = decl ? decl->GetParams() : nullptr;
    if (!params)
        return true;
    if (HasUnnamedParams(*params)) {
        Str text;
        text.Format("unnamed parameter in %s: the refined version is not called",
                    m_pFunc ? m_pFunc->GetStrName().GetBuffer() : "function");
        if (Lex::Token* token = DeclToken(*decl))
            ErrorLog::OnWarning(text, *token);
        else
            m_pModule->PrintWarning(text, 0);
        return false;
    }
    // An rvalue reference parameter is an lvalue by its name: it is passed
    // on as an rvalue again.
    Array<Lex::Token*> tokens = ParamNameTokens(*decl);
    names = Str();
    for (int i = 0; i < tokens.GetCount(); ++i) {
        Node* param = params->GetParam(i);
        if (!tokens[i] || !param)
            continue;
        NodeType* type = param->GetKind() == NT_VAR_DECL ? static_cast<NodeVarDecl*>(param)->GetType() : nullptr;
        char const* name = Text(*tokens[i]);
        if (!names.IsEmpty())
            names += separator;
        Str arg(name);
        if (type && std::strstr(type->AsString().GetBuffer(), "&&"))
            arg.Format("static_cast<decltype(%s)&&>(%s)", name, name);
        names += arg;
    }
    return true;
}

bool JampackTransform::TransformCtorInitializer(NodeFuncDef& def)
{
    if (!BaseTransform::TransformCtorInitializer(def))
        return false;
    if (!m_pRefiningFunc && !m_pRefinedFunc)
        return true;
    // Every initializer of a composed constructor runs before the bodies of
    // all its layers, which see the caller's values: none may move them away.
    KeepParameters(def);
    if (!m_pRefiningFunc)
        return true;
    FuncNode* node = m_pRefiningFunc->GetNode();
    NodeFuncDef* target = node ? node->GetDef() : nullptr;
    NodeInitDecl* init = def.GetInitDecl();
    if (target) {
        if (init)
            RenameParameters(def, *target);
        def.MoveInitializer(target);
    } else if (init && init->GetFirstToken()) {
        ErrorLog::OnError("the initializers of this constructor cannot be moved: the constructor that refines it has "
                          "no body; give it one, for example `{}`",
                          *init->GetFirstToken());
    }
    if (!m_pRefinedFunc)
        HideUnusedParameters(def);
    return true;
}

namespace {

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

void JampackTransform::KeepParameters(NodeFuncDef& def)
{
    NodeInitDecl* init = def.GetInitDecl();
    NodeFuncDecl* decl = def.GetDecl();
    if (!init || !decl)
        return;
    Array<Lex::Token*> params = ParamNameTokens(*decl);
    // `std::move(p)` and `std::forward<T>(p)` of a parameter become `(p)`.
    Array<Lex::Token*> words;
    ForEachInitializerValue(*init, [&](Lex::Token& t) {
        if (TextIs(t, "move") || TextIs(t, "forward"))
            words.Add(&t);
    });
    for (int i = 0; i < words.GetCount(); ++i) {
        Lex::Token* open = NextNonWhite(words[i]);
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
            open = close ? NextNonWhite(close) : nullptr;
        }
        Lex::Token* arg = open && open->type == Lex::TOK_OPEN_ROUND ? NextNonWhite(open) : nullptr;
        Lex::Token* end = arg ? NextNonWhite(arg) : nullptr;
        if (!arg || FindName(params, *arg) < 0 || !IsPlainName(*arg) || !end || end->type != Lex::TOK_CLOSE_ROUND)
            continue;
        // Blank from `std` (or the word) up to the opening parenthesis.
        Lex::Token* from = words[i];
        Lex::Token* before = from->prev();
        while (before && IsSkipped(*before))
            before = before->prev();
        if (before && before->type == Lex::TOK_COLON_COLON) {
            Lex::Token* scope = before->prev();
            while (scope && IsSkipped(*scope))
                scope = scope->prev();
            if (scope && TextIs(*scope, "std"))
                from = scope;
        }
        for (Lex::Token* t = from; t && t != open; t = t->next())
            BlankToken(*t);
    }
}

void JampackTransform::RenameParameters(NodeFuncDef& def, NodeFuncDef& target)
{
    NodeInitDecl* init = def.GetInitDecl();
    NodeFuncDecl* own = def.GetDecl();
    NodeFuncDecl* upper = target.GetDecl();
    if (!init || !own || !upper)
        return;
    Array<Lex::Token*> from = ParamNameTokens(*own);
    Array<Lex::Token*> to = ParamNameTokens(*upper);
    // Every use is looked up before any is renamed: names may be swapped.
    Array<Lex::Token*> uses;
    Array<int> positions;
    ForEachInitializerValue(*init, [&](Lex::Token& t) {
        int i = IsPlainName(t) ? FindName(from, t) : -1;
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
                    Text(*uses[k]));
        ErrorLog::OnError(text, *uses[k]);
    }
}

void JampackTransform::HideUnusedParameters(NodeFuncDef& def)
{
    NodeFuncDecl* decl = def.GetDecl();
    NodeBlock* body = def.GetBody();
    Lex::Token* open = body ? body->GetFirstToken() : nullptr;
    Lex::Token* close = body ? body->GetLastToken() : nullptr;
    if (!decl || !open || !close)
        return;
    Array<Lex::Token*> params = ParamNameTokens(*decl);
    Array<bool> used;
    for (int i = 0; i < params.GetCount(); ++i)
        used.Add(false);
    for (Lex::Token* t = open; t && t != close; t = t->next()) {
        int i = t->type == Lex::TOK_ID ? FindName(params, *t) : -1;
        if (i >= 0)
            used[i] = true;
    }
    // What the initializers used went up with them: the renamed body does
    // not warn about a parameter it leaves alone.
    for (int i = 0; i < params.GetCount(); ++i) {
        if (!params[i] || used[i])
            continue;
        Str text;
        text.Format("/*%s*/", Text(*params[i]));
        params[i]->text = Lex::StrHashTable::insert(text.GetBuffer());
        params[i]->SetType(Lex::TOK_STRING_VAL);
    }
}

bool JampackTransform::RemoveBase(NodeBaseClass& base)
{
    if (!m_pRefinedModule)
        return false;
    // The bases of every layer go to the one class head that is written:
    // the lowest module's; a base named there already is not added again.
    FOPModule* lowest = m_pFirstModule ? m_pFirstModule : m_pRefinedModule;
    NodeClassDef* target = lowest->GetMainClass();
    if (!target || lowest == m_pModule)
        return false;
    NodeID* id = base.GetID();
    Str name = id ? id->AsString() : Str();
    bool present = false;
    if (NodeBaseClassDecl* bases = target->GetBaseClassDecl()) {
        for (int i = 0; NodeBaseClass* other = bases->GetBase(i); ++i) {
            NodeID* otherId = other->GetID();
            if (otherId && otherId->AsString() == name) {
                present = true;
                break;
            }
        }
    }
    if (!present)
        target->CopyBaseClass(base);
    return true;
}

bool JampackTransform::CanParseFuncBody(FuncNode&) { return true; }

bool JampackTransform::TransformFuncDefinition(NodeFuncDef& def)
{
    if (!BaseTransform::TransformFuncDefinition(def))
        return false;
    if (m_bIsConstructor && m_pRefinedFunc && IsJavaLike())
        JavaConstructor::Compose(def, *m_pRefinedFunc);
    if (!m_pLayer || !m_pLayer->DynamicIfConfig())
        return true;
    NodeBlock* body = def.GetBody();
    Lex::Token* open = body ? body->GetFirstToken() : nullptr;
    if (!open)
        return false;
    Str fallback;
    if (!m_SuperName.IsEmpty()) {
        Str names;
        if (!GetCallArguments(def, ",", names))
            return true;
        Str call = m_SuperName;
        call += "(";
        call += names;
        call += ")";
        // Constructors and destructors return nothing.
        if (m_bIsConstructor || m_bIsDestructor) {
            fallback = "{ ";
            fallback += call;
            fallback += "; return; } ";
        } else {
            fallback = "{ return ";
            fallback += call;
            fallback += ";  } ";
        }
    } else if (m_bIsDestructor) {
        // A destructor must not throw: without a lower version the layer's
        // part of the clean-up is skipped.
        fallback = "{ return; } ";
    } else {
        fallback.Format("throw (const char*)\"missing method implementation: %s\"",
                        m_pFunc ? m_pFunc->GetStrName().GetBuffer() : "");
    }
    StringArray names;
    m_pLayer->GetDynamicIfConfigNames(names);
    Str conditions;
    for (int i = 0; i < names.GetCount(); ++i) {
        if (i > 0)
            conditions += "\r\n\t\t\t && ";
        conditions += "Config::GetInstance().IsFeatureActive(DynamicFeatureConfig::feature_";
        conditions += names[i];
        conditions += ")";
    }
    Str text("\n\t    if (! (");
    text += conditions;
    text += ") ) ";
    text += fallback;
    text += ";";
    open->AddTokenAfter(*NewTextToken(text));
    if (ModuleIncludes* includes = ModuleOutput::Of(*m_pModule).GetIncludes())
        ModuleIncludes::AddInclude(includes->m_HeaderIncludes, "Config");
    return true;
}

namespace {

// The last token of the comment the token is part of: a block comment is
// scanned as "/*", one text per line and "*/", a line comment as "//" and
// its text.
Lex::Token* CommentEnd(Lex::Token& token)
{
    Lex::Token* t = &token;
    while (t->type != Lex::TOK_COMMENT_END && t->next() &&
           (t->next()->type == Lex::TOK_COMMENT_TEXT || t->next()->type == Lex::TOK_COMMENT_END))
        t = t->next();
    return t;
}

} // namespace

void JampackTransform::InitDynConfigData()
{
    LayerStack* stack = m_pLayer ? m_pLayer->m_pStack : nullptr;
    if (!stack || !stack->m_pEquation)
        return;
    StringArray names;
    stack->m_pEquation->GetDynJampackLayers(names);
    Str features("\n");
    Str mapping("\n");
    for (int i = 0; i < names.GetCount(); ++i) {
        features += "feature_";
        features += names[i];
        features += ",\n";
        mapping += "m_FeatureNames[feature_";
        mapping += names[i];
        mapping += "]=\"";
        mapping += names[i];
        mapping += "\";";
    }
    for (Lex::Token* t = m_pModule->GetFirstToken(); t; t = t->next()) {
        if (!(t->flags & Lex::Token::comment_flag))
            continue;
        // The list goes after the whole comment, so that a block comment
        // does not enclose it; a comment holding both markers gets the
        // feature list only.
        char const* text = Text(*t);
        if (std::strstr(text, "<ADD_FEATURES />"))
            t = &CommentEnd(*t)->AddTokenAfter(*NewTextToken(features));
        else if (std::strstr(text, "<ADD_FEATURE_MAPPING />"))
            t = &CommentEnd(*t)->AddTokenAfter(*NewTextToken(mapping));
    }
}
