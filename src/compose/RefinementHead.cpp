#include "compose/RefinementHead.h"

#include "base/ErrorLog.h"
#include "compose/FOPModule.h"
#include "compose/Module.h"
#include "parser/ClassDB.h"
#include "parser/Info.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeID.h"
#include "parser/NodeTemplateDef.h"
#include "parser/NodeVarDecl.h"
#include "parser/Scope.h"
#include "parser/SimpleTU.h"
#include "scanner/Token.h"

#include <cctype>
#include <cstring>

namespace {

bool SyntaxSkipped(Lex::Token const& t)
{
    return t.language == Lex::Token::white_id || t.language == Lex::Token::pre_id ||
           (t.flags & (Lex::Token::comment_flag | Lex::Token::unread_branch_flag)) != 0;
}

Lex::Token* NextSignificantToken(Lex::Token* t)
{
    for (t = t ? t->next() : nullptr; t; t = t->next())
        if (!SyntaxSkipped(*t))
            return t;
    return nullptr;
}

bool IsWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The texts of the significant tokens from first up to (without) end,
// one blank only between two words.
Str JoinTokens(Lex::Token* first, Lex::Token* end)
{
    Str text;
    for (Lex::Token* t = first; t && t != end; t = t->next()) {
        if (SyntaxSkipped(*t) || !t->text)
            continue;
        char const* word = t->text->text;
        if (!*word)
            continue;
        if (text.GetLength() > 0 && IsWordChar(text.GetBuffer()[text.GetLength() - 1]) && IsWordChar(word[0]))
            text += " ";
        text += word;
    }
    return text;
}

char const* KindName(int type)
{
    switch (type) {
    case Module::FT_CPP:
        return "C++ header";
    case Module::FT_ASPECT:
        return "aspect";
    case Module::FT_CS:
        return "C#";
    case Module::FT_JAK:
        return "Jak";
    case Module::FT_JAVA:
        return "Java";
    default:
        return "unknown";
    }
}

bool IsJavaLike(FOPModule& module)
{
    int type = module.GetFileType();
    return type == Module::FT_CS || type == Module::FT_JAK || type == Module::FT_JAVA;
}

// The token's line; 0 without one.
int LineOf(Lex::Token* token)
{
    return token && !token->location.empty() ? token->location.line() : 0;
}

Lex::Token* HeadFirst(FOPModule& module)
{
    NodeClassDef* cls = module.GetMainClass();
    NodeClassDecl* decl = cls ? cls->GetClassDecl() : nullptr;
    return decl ? decl->GetFirstToken() : nullptr;
}

Lex::Token* BodyOpen(FOPModule& module)
{
    NodeClassDef* cls = module.GetMainClass();
    NodeBlock* body = cls ? cls->GetBody() : nullptr;
    return body ? body->GetFirstToken() : nullptr;
}

// Whether the scope is that of the main class itself.
bool IsMainClassScope(Scope* scope, NodeClassDef* main)
{
    Node* owner = scope && scope->GetType() == SCOPE_CLASS ? &scope->GetNode() : nullptr;
    return owner && (owner == main || owner->GetParent() == main || owner == main->GetClassDecl());
}

// The data members declared in the main class's body, by name and node.
void GetFields(FOPModule& module, Array<MemberVarInfo*>& fields)
{
    SimpleTU* tu = module.GetParseUnit();
    NodeClassDef* main = module.GetMainClass();
    if (!tu || !main)
        return;
    for (int i = 0; i < tu->m_MemberVars.GetCount(); ++i) {
        MemberVarInfo* var = tu->m_MemberVars[i];
        if (var && var->m_pNode && IsMainClassScope(var->m_pNode->GetScope(), main))
            fields.Add(var);
    }
}

// The name tokens of the types that the main class's body defines right
// inside it: nested classes, structs, unions and enumerations with a body,
// and `using` aliases.
void GetNestedTypes(FOPModule& module, Array<Lex::Token*>& names)
{
    Lex::Token* open = BodyOpen(module);
    NodeClassDef* main = module.GetMainClass();
    NodeBlock* body = main ? main->GetBody() : nullptr;
    Lex::Token* close = body ? body->GetLastToken() : nullptr;
    int depth = 0;
    for (Lex::Token* t = open; t && t != close; t = t->next()) {
        if (SyntaxSkipped(*t))
            continue;
        if (t->type == Lex::TOK_OPEN_CURLY) {
            ++depth;
            continue;
        }
        if (t->type == Lex::TOK_CLOSE_CURLY) {
            --depth;
            continue;
        }
        if (depth != 1)
            continue;
        int type = t->type;
        if (type == Lex::TOK_USING) {
            Lex::Token* name = NextSignificantToken(t);
            Lex::Token* assign = name ? NextSignificantToken(name) : nullptr;
            if (name && name->type == Lex::TOK_ID && assign && assign->type == Lex::TOK_ASSIGN)
                names.Add(name);
            continue;
        }
        if (type != Lex::TOK_CLASS && type != Lex::TOK_STRUCT && type != Lex::TOK_UNION && type != Lex::TOK_ENUM)
            continue;
        Lex::Token* name = NextSignificantToken(t);
        // `enum class E`: the key after `enum` is passed over with it.
        if (type == Lex::TOK_ENUM && name && (name->type == Lex::TOK_CLASS || name->type == Lex::TOK_STRUCT))
            name = NextSignificantToken(t = name);
        Lex::Token* after = name ? NextSignificantToken(name) : nullptr;
        if (name && name->type == Lex::TOK_ID && after &&
            (after->type == Lex::TOK_OPEN_CURLY || after->type == Lex::TOK_COLON))
            names.Add(name);
    }
}

Lex::Token* FieldToken(MemberVarInfo& var)
{
    NodeID* id = var.m_pNode ? var.m_pNode->GetID() : nullptr;
    return id ? id->GetFirstToken() : nullptr;
}


} // namespace

Str RefinementHead::JavaClause(FOPModule& module)
{
    Lex::Token* open = BodyOpen(module);
    Lex::Token* t = HeadFirst(module);
    for (; t && t != open; t = t->next())
        if (t->type == Lex::TOK_EXTENDS || t->type == Lex::TOK_IMPLEMENTS)
            break;
    return t && t != open ? JoinTokens(t, open) : Str();
}

Str RefinementHead::ExtendsClass(FOPModule& module)
{
    Lex::Token* open = BodyOpen(module);
    for (Lex::Token* t = HeadFirst(module); t && t != open; t = t->next()) {
        if (t->type != Lex::TOK_EXTENDS)
            continue;
        for (Lex::Token* n = t->next(); n && n != open; n = n->next())
            if (n->type == Lex::TOK_ID)
                return Str(n->text->text);
    }
    return Str();
}

Str RefinementHead::TemplateHead(FOPModule& module)
{
    NodeClassDef* cls = module.GetMainClass();
    NodeClassDecl* decl = cls ? cls->GetClassDecl() : nullptr;
    NodeTemplateDef* head = decl ? decl->GetTemplDef() : nullptr;
    if (!head || !head->GetFirstToken())
        return Str();
    Lex::Token* last = head->GetLastToken();
    return JoinTokens(head->GetFirstToken(), last ? last->next() : nullptr);
}

Str RefinementHead::Where(FOPModule& module, Lex::Token* token)
{
    Str where = module.GetSourcePath();
    if (token && !token->location.empty()) {
        Str line;
        line.Format(":%d", token->location.line());
        where += line;
    }
    return where;
}

bool RefinementHead::Check(FOPModule& module)
{
    if (module.IsMixin() || !module.GetMainClass())
        return true;
    // The module that introduces the class, and the modules between.
    Array<FOPModule*> lower;
    FOPModule* intro = nullptr;
    // Mixin copies are left out: what they declare is the mixin's own.
    for (FOPModule* m = module.GetRefinedModule(); m; m = m->GetRefinedModule()) {
        if (m->IsMixin() || !m->GetMainClass())
            continue;
        lower.Add(m);
        intro = m;
    }
    if (!intro)
        return true;
    bool ok = true;
    int headLine = LineOf(HeadFirst(module));
    Str className = module.GetClassName();
    Str introPath = intro->GetSourcePath();
    if (module.GetFileType() != intro->GetFileType()) {
        module.PrintError("this " + Str(KindName(module.GetFileType())) + " module refines class " + className +
                              ", which " + introPath + " introduces as a " + KindName(intro->GetFileType()) +
                              " module: the modules of a class must be of one kind; write this one as a " +
                              KindName(intro->GetFileType()) + " module",
                          headLine);
        return false;
    }
    if (IsJavaLike(module)) {
        Str own = JavaClause(module);
        Str introduced = JavaClause(*intro);
        if (!own.IsEmpty() && own != introduced) {
            module.PrintError("the class head of this refinement says `" + own + "`, but " + introPath +
                                  " introduces class " + className + " with " +
                                  (introduced.IsEmpty() ? Str("none") : "`" + introduced + "`") +
                                  ": a refinement cannot change what its class extends or implements; write it "
                                  "in " + introPath,
                              headLine);
            ok = false;
        }
    } else {
        Str own = TemplateHead(module);
        Str introduced = TemplateHead(*intro);
        if (!own.IsEmpty() && own != introduced) {
            module.PrintError("the template head `" + own + "` of this refinement differs from " +
                                  (introduced.IsEmpty() ? Str("none") : "`" + introduced + "`") + " in " +
                                  introPath + ", which introduces class " + className +
                                  ": write the same template head, with the same parameter names",
                              headLine);
            ok = false;
        }
        NodeBaseClassDecl* bases = module.GetMainClass()->GetBaseClassDecl();
        NodeBaseClassDecl* introBases = intro->GetMainClass()->GetBaseClassDecl();
        for (int i = 0; bases && introBases && bases->GetBase(i); ++i) {
            NodeBaseClass* base = bases->GetBase(i);
            Str name = base->GetID() ? base->GetID()->AsString() : Str();
            for (int j = 0; NodeBaseClass* other = introBases->GetBase(j); ++j) {
                if (!other->GetID() || other->GetID()->AsString() != name || other->m_Access == base->m_Access)
                    continue;
                module.PrintError("this refinement names the base class " + name + " with another access than " +
                                      introPath + ", which introduces class " + className +
                                      ": name it as written there, or leave it out here",
                                  LineOf(base->GetFirstToken()));
                ok = false;
            }
        }
    }
    // Members and nested types of the layers below.
    Array<MemberVarInfo*> fields;
    GetFields(module, fields);
    Array<Lex::Token*> types;
    GetNestedTypes(module, types);
    for (int i = lower.GetCount(); i-- > 0;) {
        Array<MemberVarInfo*> lowerFields;
        GetFields(*lower[i], lowerFields);
        for (int j = 0; j < fields.GetCount(); ++j)
            for (int k = 0; k < lowerFields.GetCount(); ++k) {
                if (Str(fields[j]->GetNameText()) != lowerFields[k]->GetNameText())
                    continue;
                module.PrintError("data member " + Str(fields[j]->GetNameText()) + " of class " + className +
                                      " is declared again; " + Where(*lower[i], FieldToken(*lowerFields[k])) +
                                      " declares it: remove this declaration, the layers share the member",
                                  LineOf(FieldToken(*fields[j])));
                ok = false;
            }
        Array<Lex::Token*> lowerTypes;
        GetNestedTypes(*lower[i], lowerTypes);
        for (int j = 0; j < types.GetCount(); ++j)
            for (int k = 0; k < lowerTypes.GetCount(); ++k) {
                if (strcmp(types[j]->text->text, lowerTypes[k]->text->text) != 0)
                    continue;
                module.PrintError("nested type " + Str(types[j]->text->text) + " of class " + className +
                                      " is declared again; " + Where(*lower[i], lowerTypes[k]) +
                                      " declares it: remove this declaration, the layers share the type",
                                  LineOf(types[j]));
                ok = false;
            }
    }
    return ok;
}
