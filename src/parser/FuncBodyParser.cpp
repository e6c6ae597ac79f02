#include "parser/FuncBodyParser.h"

#include "base/ErrorLog.h"
#include "base/Name.h"
#include "parser/BodyParseEvents.h"
#include "parser/CParserState.h"
#include "parser/ComposedClass.h"
#include "parser/Info.h"
#include "parser/NodeBrace.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeID.h"

#include <cstring>

StringSet FuncBodyParser::m_MetaVars;

FuncBodyParser::FuncBodyParser(NodeFuncDef& def, BodyParseEvents& events) : m_pEvents(&events)
{
    Init(def);
    NodeBlock* body = def.GetBody();
    NodeFuncDecl* decl = def.GetDecl();
    if (body && decl) {
        // The token after the declaration, so that a constructor's
        // initializer list is walked too.
        Lex::Token* declLast = decl->GetLastToken();
        m_pFirst = declLast ? declLast->next() : nullptr;
        m_pLast = body->GetLastToken();
        m_pBodyStart = body->GetFirstToken();
    }
}

FuncBodyParser::FuncBodyParser(FuncNode& node, Lex::Token* first, Lex::Token* last, BodyParseEvents& events)
    : m_pEvents(&events)
{
    Init(node);
    m_pFirst = first;
    m_pLast = last;
}

void FuncBodyParser::Init(FuncNode& node)
{
    m_bReportInstantiations = false;
    m_bReportMemberUses = false;
    m_bBodyReached = false;
    m_pBodyStart = nullptr;
    m_pFunc = &node;
    NodeFuncDecl* decl = node.GetDecl();
    FuncInfo* info = decl ? decl->GetInfo() : nullptr;
    m_pRefined = info ? info->m_pRefined : nullptr;
    m_pFirst = nullptr;
    m_pLast = nullptr;
    m_pPrev = nullptr;
    m_pPrevPrev = nullptr;
    uint32_t language = node.GetLanguage();
    m_ScopeSeparator = language == LANG_CPP || language == LANG_CPP2 ? Lex::TOK_COLON_COLON : Lex::TOK_DOT;
    m_bAnySeparator = language == LANG_ASPECT;
    m_bJavaLike = language == LANG_CS || language == LANG_JAVA || language == LANG_JAK;
    m_pModule = nullptr;
}

bool FuncBodyParser::Parse()
{
    if (!m_pFirst)
        return false;
    m_bBodyReached = false;
    m_pPrev = nullptr;
    m_pPrevPrev = nullptr;
    m_Iter = Lex::TokenIterator(m_pFirst, m_pLast);
    // A body start that is no longer in the range (the tokens were edited)
    // gives way to the first `{`.
    Lex::Token* bodyStart = nullptr;
    for (Lex::Token* t = m_pBodyStart ? m_pFirst : nullptr; t; t = t->next()) {
        if (t == m_pBodyStart) {
            bodyStart = t;
            break;
        }
        if (t == m_pLast)
            break;
    }
    while (Lex::Token* token = m_Iter.Next()) {
        switch (token->type) {
        case Lex::TOK_NEW:
            ParseNew(*token);
            break;
        case Lex::TOK_GREATER:
            ParseGreater(*token);
            break;
        case Lex::TOK_ID:
            ParseID(*token);
            break;
        case Lex::TOK_THIS:
            ParseThis(*token);
            break;
        case Lex::TOK_SUPER:
            ParseSuper(*token);
            break;
        case Lex::TOK_OPEN_CURLY:
            if (!bodyStart || token == bodyStart)
                m_bBodyReached = true;
            break;
        default:
            break;
        }
        if (token->language != Lex::Token::white_id) {
            m_pPrevPrev = m_pPrev;
            m_pPrev = token;
        }
    }
    return true;
}

void FuncBodyParser::AddMetaVar(char const* name)
{
    if (name)
        m_MetaVars.Add(name);
}

ComposedClass* FuncBodyParser::GetModule(char const* className)
{
    return m_pModule ? m_pModule->FindComposedClass(className) : nullptr;
}

bool FuncBodyParser::IsStaticMember(char const* className, char const* memberName)
{
    ComposedClass* module = GetModule(className);
    MemberInfo* member = module ? module->GetMember(memberName) : nullptr;
    TypeInfo* type = member ? member->GetTypeInfo() : nullptr;
    return type && type->m_bStatic;
}

Lex::Token* FuncBodyParser::Consume()
{
    return m_Iter.Next();
}

Lex::Token* FuncBodyParser::Peek() const
{
    if (!HasNext())
        return nullptr;
    for (Lex::Token* t = m_Iter.current; t; t = t->next()) {
        if (t->language != Lex::Token::white_id)
            return t;
        if (t == m_Iter.last)
            break;
    }
    return nullptr;
}

bool FuncBodyParser::ParseThis(Lex::Token& token)
{
    if (!HasNext())
        return false;
    Lex::Token* arrow = Consume();
    if (arrow->type == Lex::TOK_PTS && HasNext()) {
        Lex::Token* name = Consume();
        if (name->type == Lex::TOK_ID && HasNext()) {
            Lex::Token* open = Consume();
            if (open->type == Lex::TOK_OPEN_ROUND) {
                m_pEvents->OnMemberAccess(&token, *name, BeforeBody());
                return true;
            }
        }
    }
    m_pEvents->OnTokThis(token, BeforeBody());
    return true;
}

bool FuncBodyParser::ParseSuper(Lex::Token& token)
{
    if (!HasNext())
        return false;
    Lex::Token* separator = Consume();
    bool isSeparator = separator->type == m_ScopeSeparator ||
                       (m_bAnySeparator && (separator->type == Lex::TOK_COLON_COLON || separator->type == Lex::TOK_DOT));
    if (!isSeparator || !HasNext())
        return false;
    Lex::Token* name = Consume();
    // A name cut off by the end of the range or of the unit is no call.
    if (name->type != Lex::TOK_ID || name == m_pLast || !name->next())
        return false;
    if (!m_bJavaLike && IsQualifier(*name)) {
        m_pEvents->OnSuperQualifier(token, *separator);
        return true;
    }
    Name* own = m_pFunc->GetName();
    if (own && strcmp(own->GetText(), name->text->text) == 0) {
        if (!m_pRefined || m_pRefined->GetAccess() != ACCESS_PRIVATE) {
            m_pEvents->OnTokSuperCall(&token, separator, name);
            return true;
        }
        ErrorLog::OnError(PrivateRefinementText(*name), *name);
        return false;
    }
    // Java's own `super.g()` calls the base class's method.
    if (m_bJavaLike) {
        m_pEvents->OnSuperBaseCall(token, *separator, *name);
        return false;
    }
    Str text("invalid call to super::");
    text += name->text->text;
    ErrorLog::OnError(text, *name);
    return false;
}

bool FuncBodyParser::IsQualifier(Lex::Token& name) const
{
    Lex::Token* next = CParserState::NextSignificant(&name);
    // Template arguments: `super::T<int>::g()`.
    if (next && next->type == Lex::TOK_LESS) {
        Lex::Token* close = CParserState::FindAngleClose(next);
        next = close ? CParserState::NextSignificant(close) : nullptr;
    }
    if (!next || next->type != Lex::TOK_COLON_COLON)
        return false;
    // Within the range walked.
    for (Lex::Token* t = &name; t; t = t->next()) {
        if (t == next)
            return true;
        if (t == m_pLast)
            return false;
    }
    return false;
}

Str FuncBodyParser::PrivateRefinementText(Lex::Token& name) const
{
    // The refined function's position is that of the first token of its
    // declaration's name; anything missing gives no file and line 0.
    NodeFuncDecl* decl = m_pRefined->GetDecl();
    NodeID* id = decl ? decl->GetNameNode() : nullptr;
    Lex::Token* first = id ? id->GetFirstToken() : nullptr;
    char const* file = first && !first->location.empty() ? first->location.filename().name() : nullptr;
    Str text("refinement of private method ");
    text += name.text->text;
    text += ". see declaration of refined method: ";
    text += file ? file : "";
    Str line;
    line.Format(":%d", file ? first->location.line() : 0);
    text += line;
    return text;
}

bool FuncBodyParser::ParseNew(Lex::Token& token)
{
    if (!m_bReportInstantiations)
        return false;
    Lex::Token* next = Peek();
    if (!next)
        return false;
    int type = next->type;
    m_pEvents->OnClassInstantiation(token, *next);
    // The class name is not handled again as an identifier.
    while (Lex::Token* t = Consume())
        if (t->type == type)
            break;
    return true;
}

bool FuncBodyParser::ParseGreater(Lex::Token& token)
{
    if (!m_pPrev || !m_pPrevPrev || m_pPrevPrev->type != Lex::TOK_LESS)
        return false;
    if (!m_MetaVars.Contains(m_pPrev->text->text))
        return false;
    m_pEvents->OnMetaVar(*m_pPrev);
    // <SplType> reads as the meta variable alone.
    Lex::StrHashEntry* empty = Lex::StrHashTable::insert("");
    m_pPrevPrev->text = empty;
    token.text = empty;
    return true;
}

bool FuncBodyParser::ParseID(Lex::Token& token)
{
    if (!m_bReportMemberUses || !m_pModule || !HasNext())
        return false;
    Lex::Token* next = Peek();
    if (!next)
        return false;
    int previous = m_pPrev ? m_pPrev->type : -1;
    // A member of some other object.
    if (previous == Lex::TOK_PTS || previous == Lex::TOK_PTS_STAR || previous == Lex::TOK_DOT)
        return false;
    if (previous == Lex::TOK_COLON_COLON && m_pPrevPrev) {
        if (!IsStaticMember(m_pPrevPrev->text->text, token.text->text))
            return false;
        m_pEvents->OnStaticMemberAccess(*m_pPrevPrev, token, *next);
        return true;
    }
    if (!m_pModule->GetMember(token.text->text))
        return false;
    m_pEvents->OnMemberAccess(nullptr, token, BeforeBody());
    return true;
}
