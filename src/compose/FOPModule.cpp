#include "compose/FOPModule.h"

#include "base/Config.h"
#include "base/Diagnostics.h"
#include "base/ErrorLog.h"
#include "base/Name.h"
#include "compose/FileStatistics.h"
#include "compose/GeneratedNames.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "compose/Module.h"
#include "compose/TransformationUnit.h"
#include "compose/TransformedModule.h"
#include "parser/Info.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeID.h"
#include "parser/NodeNSDef.h"
#include "parser/NodeVarDecl.h"
#include "parser/SimpleTU.h"
#include "parser/SyntaxEdit.h"
#include "scanner/Token.h"

#include <cctype>
#include <cstring>

namespace {

// The mixin classes whose copies are being made and parsed; meeting one of
// them again is a mixin cycle.
Set<TransformedModule*>& MixinsInProgress()
{
    static Set<TransformedModule*> inProgress;
    return inProgress;
}

bool TextHasLineBreak(Lex::Token const& token)
{
    return std::strchr(token.text->text, '\n') != nullptr;
}

// The head of a namespace block as it is reopened: "[inline ]namespace
// <name and what follows it up to the brace>"; name gets the block's
// qualified name, empty for an unnamed block.
Str NameSpaceHead(NodeNSDef& ns, Str& name)
{
    name = "";
    NodeBlock* body = ns.ChildAs<NodeBlock>(1, NT_BLOCK);
    Lex::Token* open = body ? body->GetFirstToken() : nullptr;
    Lex::Token* key = open;
    while (key && key->type != Lex::TOK_NAMESPACE)
        key = key->prev();
    if (!key) {
        if (ns.GetName())
            name = ns.GetName()->GetText();
        return "namespace " + name;
    }
    auto wordChar = [](char c) { return isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    Str head;
    Lex::Token* before = key->prev();
    while (before && SyntaxEdit::IsSkipped(*before))
        before = before->prev();
    if (before && before->type == Lex::TOK_INLINE)
        head = "inline ";
    head += "namespace";
    bool inName = true;
    bool lastWord = false;
    for (Lex::Token* t = key->next(); t && t != open; t = t->next()) {
        if (SyntaxEdit::IsSkipped(*t))
            continue;
        char const* text = t->text->text;
        bool word = wordChar(text[0]);
        if (inName) {
            // The name: words joined by "::"; a word right after a word (a
            // macro) ends it.
            if (t->type == Lex::TOK_COLON_COLON)
                name += "::";
            else if (word && !lastWord)
                name += text;
            else
                inName = false;
        }
        if (wordChar(head[head.GetLength() - 1]) && word)
            head += " ";
        else if (head == "namespace" || head == "inline namespace")
            head += " ";
        head += text;
        lastWord = word;
    }
    return head;
}

Lex::Token* SkipBlanks(Lex::Token* token)
{
    while (token && SyntaxEdit::IsSkipped(*token))
        token = token->next();
    return token;
}

bool IsDirective(Lex::Token const* token, int word)
{
    return token && token->language == Lex::Token::pre_id && token->type == word;
}

// The tokens of the directive line that starts with first, without its
// blanks and comments; end gets the last token before the line break.
void DirectiveWords(Lex::Token* first, Array<Lex::Token*>& words, Lex::Token*& end)
{
    words.RemoveAll();
    end = first;
    for (Lex::Token* t = first; t; t = t->next()) {
        if (t != first && TextHasLineBreak(*t))
            break;
        end = t;
        if (!SyntaxEdit::IsSkipped(*t))
            words.Add(t);
    }
}

bool WordIs(Array<Lex::Token*> const& words, int i, char const* text)
{
    return i < words.GetCount() && std::strcmp(words[i]->text->text, text) == 0;
}

// The symbol an include guard's opening line tests: "#ifndef X",
// "#if !defined(X)" or "#if !defined X"; null for any other line.
Lex::Token* GuardSymbol(Array<Lex::Token*> const& w)
{
    if (IsDirective(w[0], Lex::PRE_IFNDEF) && w.GetCount() == 2 && w[1]->type == Lex::TOK_ID)
        return w[1];
    if (!IsDirective(w[0], Lex::PRE_IF) || !WordIs(w, 1, "!") || !WordIs(w, 2, "defined"))
        return nullptr;
    if (w.GetCount() == 4 && w[3]->type == Lex::TOK_ID)
        return w[3];
    if (w.GetCount() == 6 && WordIs(w, 3, "(") && w[4]->type == Lex::TOK_ID && WordIs(w, 5, ")"))
        return w[4];
    return nullptr;
}

// Unlinks the tokens from first through last.
void UnlinkTokens(Lex::Token* first, Lex::Token* last)
{
    for (Lex::Token* t = first; t;) {
        Lex::Token* next = t == last ? nullptr : t->next();
        t->delete_token();
        t = next;
    }
}

} // namespace

void FOPModule::TokenReplace::OnToken(Lex::Token& token)
{
    if (m_OrigName.equals(token.text->text, token.text->length))
        token.text = Lex::StrHashTable::insert(m_NewName.GetBuffer());
}

FOPModule::FOPModule(Module& module, Layer& layer)
    : m_pModule(&module), m_pLayer(&layer), m_pMainClass(nullptr), m_ClassCount(0), m_bParsed(false),
      m_pRefinedModule(nullptr), m_pTransformedClass(nullptr), m_pTransformationModule(nullptr)
{
    OnCreate();
}

FOPModule::~FOPModule() = default;

void FOPModule::OnCreate()
{
    m_Loc = 0;
    m_bIsMixin = false;
    m_bUsedAsMixin = false;
    m_pMixinLayer = nullptr;
}

// ---- Parsing ----

bool FOPModule::Parse()
{
    if (m_bParsed) {
        ErrorLog::OnError("file already parsed", m_pModule->RelPath(GetSourcePath()), 0);
        return false;
    }
    if (!ParseFile())
        return false;
    if (GetParseUnit() && m_ClassCount > 0) {
        FindMainClass();
        DropHelperMembers();
    }
    if (m_pMainClass)
        m_OrigClassName = GetClassName();
    Diagnostics::Printf(DiagKind::Progress, DiagFlush::None, "\n");
    return ProcessMixins();
}

bool FOPModule::ParseFile()
{
    m_Loc = 0;
    bool parsed;
    if (m_bIsMixin) {
        // A mixin copy is read with the mixin's name replaced by this
        // module's; the listener lives for this parse only.
        TokenReplace replace(m_MixinName, GetName());
        m_pModule->SetTokenListener(&replace);
        parsed = FOP_ParseFile();
        m_pModule->SetTokenListener(nullptr);
        // The tokens the parser passed over (function bodies) name the
        // class the copy stands for too; directives are left as written.
        for (Lex::Token* token = parsed ? GetFirstToken() : nullptr; token; token = token->next())
            if (token->language != Lex::Token::pre_id)
                replace.OnToken(*token);
    } else {
        parsed = FOP_ParseFile();
    }
    if (!parsed)
        return false;
    CalcLoc();
    RemoveOwnGuard();
    return true;
}

void FOPModule::RemoveOwnGuard()
{
    Lex::Token* unitFirst = GetFirstToken();
    Lex::Token* open = SkipBlanks(unitFirst);
    if (!open || open == unitFirst || open->language != Lex::Token::pre_id)
        return;
    Array<Lex::Token*> openWords, defineWords, closeWords;
    Lex::Token *openEnd, *defineEnd, *closeEnd;
    DirectiveWords(open, openWords, openEnd);
    Lex::Token* symbol = GuardSymbol(openWords);
    if (!symbol)
        return;
    Lex::Token* define = SkipBlanks(openEnd->next());
    if (!IsDirective(define, Lex::PRE_DEFINE))
        return;
    DirectiveWords(define, defineWords, defineEnd);
    if (defineWords.GetCount() < 2 || std::strcmp(defineWords[1]->text->text, symbol->text->text) != 0)
        return;
    // The guard's #endif must be the module's last directive with nothing
    // but blanks after its line, and close the opening line's block: no
    // #else or #elif of that block, no #endif of it before.
    Lex::Token* close = nullptr;
    int depth = 1;
    for (Lex::Token* t = defineEnd->next(); t; t = t->next()) {
        if (SyntaxEdit::IsSkipped(*t))
            continue;
        if (close)
            return;
        if (t->language != Lex::Token::pre_id)
            continue;
        switch (t->type) {
        case Lex::PRE_IF:
        case Lex::PRE_IFDEF:
        case Lex::PRE_IFNDEF:
            ++depth;
            break;
        case Lex::PRE_ELSE:
        case Lex::PRE_ELIF:
            if (depth == 1)
                return;
            break;
        case Lex::PRE_ENDIF:
            if (--depth == 0) {
                close = t;
                DirectiveWords(close, closeWords, closeEnd);
                t = closeEnd;
            }
            break;
        default:
            break;
        }
    }
    if (!close)
        return;
    // The guard is the module's own: the composed files have the tool's
    // guard. Its line breaks stay, so the lines keep their numbers.
    UnlinkTokens(open, openEnd);
    UnlinkTokens(define, defineEnd);
    UnlinkTokens(close, closeEnd);
}

bool FOPModule::FOP_ParseFile()
{
    Diagnostics::Printf(DiagKind::Progress, DiagFlush::None, "%s",
                        ErrorLog::Escape(m_pLayer->m_PlainName + "/" + GetPrintName()).GetBuffer());
    if (!m_pModule->Parse(false)) {
        Diagnostics::Printf(DiagKind::Progress, DiagFlush::None, "\n");
        ErrorLog::OnError("failed to parse file", GetSourcePath(), 0);
        return false;
    }
    m_bParsed = true;
    SimpleTU* tu = GetParseUnit();
    if (!tu)
        return false;
    m_pMainClass = tu->m_Classes.GetFirstValue();
    m_ClassCount = tu->m_Classes.GetAddedCount();
    return true;
}

void FOPModule::CalcLoc()
{
    {
        FileStatistics statistics(&m_Loc);
        for (Lex::Token* token = GetFirstToken(); token; token = token->next())
            statistics.OnToken(*token);
    }
    Diagnostics::Printf(DiagKind::Progress, DiagFlush::None, " (%d LOC)", m_Loc);
}

void FOPModule::FindMainClass()
{
    SimpleTU* tu = GetParseUnit();
    if (!tu)
        return;
    Array<NodeClassDef*> classes;
    tu->m_Classes.GetAllValues(classes);
    m_ClassCount = classes.GetCount();
    // The class named like the module is the module's class; other types of
    // the module are its helpers. A class whose name drops a prefix letter
    // ("CFoo" in Foo.h) comes next; without either, the class whose head
    // starts on the lowest line. Within a rank the lowest line wins, the
    // first one a tie, and a head without a first token is passed over.
    Str moduleName = GetName();
    auto rank = [&moduleName](NodeClassDef& cls) {
        Name* name = cls.GetName();
        Str className = name ? Str(name->c_str()) : Str();
        if (className == moduleName)
            return 2;
        return className.GetLength() > 1 && moduleName == className.GetBuffer() + 1 ? 1 : 0;
    };
    int mainLine = 0;
    int mainRank = -1;
    if (m_pMainClass && m_pMainClass->GetClassDecl() && m_pMainClass->GetClassDecl()->GetFirstToken()) {
        mainLine = m_pMainClass->GetClassDecl()->GetFirstToken()->location.line();
        mainRank = rank(*m_pMainClass);
    }
    for (int i = 0; i < classes.GetCount(); ++i) {
        NodeClassDecl* head = classes[i]->GetClassDecl();
        Lex::Token* first = head ? head->GetFirstToken() : nullptr;
        if (!first)
            continue;
        int line = first->location.line();
        int classRank = rank(*classes[i]);
        if (classRank > mainRank || (classRank == mainRank && line < mainLine)) {
            m_pMainClass = classes[i];
            mainLine = line;
            mainRank = classRank;
        }
    }
}

namespace {

// Whether the node lies in a class other than main (and not inside main).
bool InOtherClass(Node* node, NodeClassDef* main)
{
    bool inClass = false;
    for (Node* n = node ? node->GetParent() : nullptr; n; n = n->GetParent()) {
        if (n == main)
            return false;
        if (n->GetKind() == NT_CLASS_DEF)
            inClass = true;
    }
    return inClass;
}

} // namespace

void FOPModule::DropHelperMembers()
{
    SimpleTU* tu = GetParseUnit();
    if (!tu || !m_pMainClass)
        return;
    for (int i = tu->m_FuncDecls.GetCount(); i-- > 0;)
        if (InOtherClass(tu->m_FuncDecls[i], m_pMainClass))
            tu->m_FuncDecls.RemoveAt(i, 1);
    for (int i = tu->m_FuncDefs.GetCount(); i-- > 0;)
        if (InOtherClass(tu->m_FuncDefs[i], m_pMainClass))
            tu->m_FuncDefs.RemoveAt(i, 1);
    for (int i = tu->m_MemberVars.GetCount(); i-- > 0;) {
        MemberVarInfo* var = tu->m_MemberVars[i];
        if (var && InOtherClass(var->m_pNode, m_pMainClass))
            tu->m_MemberVars.RemoveAt(i, 1);
    }
}

// ---- Mixins ----

bool FOPModule::ProcessMixins()
{
    if (!m_pMainClass)
        return true;
    NodeBaseClassDecl* bases = m_pMainClass->GetBaseClassDecl();
    if (!bases)
        return true;
    FOPModule* refinedBefore = m_pRefinedModule;
    int count = 0;
    while (bases->GetBase(count))
        ++count;
    bool hadMixin = false;
    // Last to first, so that the first-listed mixin ends up nearest to this
    // module.
    for (int i = count - 1; i >= 0; --i) {
        NodeBaseClass* base = bases->GetBase(i);
        if (!base || base->m_Access != ACCESS_MIXIN)
            continue;
        hadMixin = true;
        if (!AddMixinClass(*base))
            return false;
        bases->DeleteBase(*base);
    }
    if (!hadMixin)
        return true;
    NodeClassDecl* head = m_pMainClass->GetClassDecl();
    NodeTemplateDef* templateHead = head ? head->GetTemplDef() : nullptr;
    if (!templateHead || refinedBefore)
        return true;
    // The lowest mixin copy now introduces the class: it takes the template
    // head.
    FOPModule* first = m_pTransformationModule ? m_pTransformationModule->GetFirstTransformationModule() : nullptr;
    if (!first || first == this || !first->m_pMainClass)
        return false;
    NodeClassDecl* firstHead = first->m_pMainClass->GetClassDecl();
    if (firstHead && !firstHead->GetTemplDef())
        firstHead->CopyTemplDef(*templateHead);
    return true;
}

bool FOPModule::AddMixinClass(NodeBaseClass& base)
{
    if (!m_pTransformedClass)
        return false;
    NodeID* id = base.GetID();
    Str name = id ? id->AsString() : Str();
    TransformedModule* mixinClass = m_pTransformedClass->GetLayerStack()->GetModule(name);
    if (!mixinClass) {
        // The module fails to parse; said here, since nothing above knows why.
        Lex::Token* at = id && id->GetFirstToken() ? id->GetFirstToken() : base.GetFirstToken();
        PrintError(Str().Format("mixin class %s not found", name.GetBuffer()),
                   at && !at->location.empty() ? at->location.line() : 0);
        return false;
    }
    Set<TransformedModule*>& inProgress = MixinsInProgress();
    if (mixinClass == m_pTransformedClass || inProgress.Contains(mixinClass)) {
        PrintError(Str().Format("recursive mixin %s", name.GetBuffer()), 0);
        return false;
    }
    // A mixin the class holds already (named by another module or by a
    // mixin) is not copied again: its members would be there twice.
    for (int i = 0; i < m_pTransformedClass->GetModules().GetCount(); ++i) {
        FOPModule* module = m_pTransformedClass->GetModules()[i];
        if (module->m_bIsMixin && module->m_MixinName == name)
            return true;
    }
    // Only the mixin class's own modules are copied: copies that its own
    // parse may have inserted are left out, since each copy expands the
    // mixins it names itself.
    Array<FOPModule*> own;
    for (int i = 0; i < mixinClass->GetModules().GetCount(); ++i)
        if (!mixinClass->GetModules()[i]->m_bIsMixin)
            own.Add(mixinClass->GetModules()[i]);
    inProgress.Add(mixinClass);
    bool ok = true;
    for (int i = 0; ok && i < own.GetCount(); ++i)
        ok = AddMixinRefinement(*own[i]);
    inProgress.Remove(mixinClass);
    return ok;
}

bool FOPModule::AddMixinRefinement(FOPModule& mixin)
{
    // The copy reads the mixin's files under this module's name. Like every
    // module it lives until the end of the run.
    Module* copy = new Module(*mixin.m_pModule);
    Str mixinName = mixin.GetName();
    copy->m_Name = GetName();
    FOPModule* module = m_pLayer->CreateModule(*copy);
    if (!module)
        return false;
    module->SetIsMixin(mixinName);
    module->m_pMixinLayer = mixin.m_pLayer;
    mixin.m_bUsedAsMixin = true;
    if (!m_pTransformedClass || !m_pTransformedClass->InsertAbove(*this, *module))
        return false;
    if (!m_pTransformationModule || !m_pTransformationModule->InsertAbove(*this, *module))
        return false;
    return module->Parse();
}

void FOPModule::SetIsMixin(char const* name)
{
    m_bIsMixin = true;
    m_MixinName = name;
}

// ---- After parsing ----

void FOPModule::OnParsed()
{
    SimpleTU* tu = GetParseUnit();
    if (!m_pTransformedClass || !tu)
        return;
    for (int i = 0; i < tu->m_FuncDecls.GetCount(); ++i) {
        FuncInfo* info = tu->m_FuncDecls[i]->GetInfo();
        if (!info)
            continue;
        info->m_pModule = this;
        NodeFuncDecl* refined = m_pTransformedClass->GetRefinedMethod(*this, *info);
        NodeFuncDecl* refining = m_pTransformedClass->GetRefiningMethod(*this, *info);
        info->m_pRefined = refined ? refined->GetInfo() : nullptr;
        info->m_pRefining = refining ? refining->GetInfo() : nullptr;
    }
}

void FOPModule::GetMembers(MapStringTo<MemberInfo*>& members)
{
    SimpleTU* tu = GetParseUnit();
    if (!m_pTransformedClass || !tu)
        return;
    for (int i = 0; i < tu->m_FuncDecls.GetCount(); ++i)
        if (FuncInfo* info = tu->m_FuncDecls[i]->GetInfo())
            members.Put(info->GetNameText(), static_cast<MemberInfo*>(info));
    for (int i = 0; i < tu->m_MemberVars.GetCount(); ++i)
        if (MemberVarInfo* var = tu->m_MemberVars[i])
            members.Put(var->GetNameText(), static_cast<MemberInfo*>(var));
}

// ---- Validation ----

bool FOPModule::ValidModule()
{
    SimpleTU* tu = GetParseUnit();
    if (!tu)
        return false;
    if (m_ClassCount == 0)
        return true;
    Str className = GetClassName();
    Str moduleName = GetName();
    bool matches = className == moduleName
                   || (className.GetLength() > 1 && moduleName == className.GetBuffer() + 1);
    // Other classes beside the one named like the module are its helpers;
    // without such a class, the module's classes are listed.
    if (m_ClassCount != 1 && !matches) {
        Array<Name*> names;
        tu->m_Classes.GetAllNames(names);
        Str list;
        if (names.GetCount() > 0) {
            list = "(";
            for (int i = 0; i < names.GetCount(); ++i) {
                if (i > 0)
                    list += ", ";
                list += names[i] ? names[i]->c_str() : "";
            }
            list += ")";
        }
        Str text;
        text.Format("found %d%s classes, but only one class allowed; using class %s", m_ClassCount,
                    list.GetBuffer(), GetClassName().GetBuffer());
        PrintError(text, 0);
    }
    if (!m_pMainClass)
        return false;
    WarnConditionalClass();
    if (!matches) {
        PrintError("class-name '" + className + "' does not match module name '" + moduleName + "'", 0);
        return false;
    }
    if (IsRefinement() && m_pTransformedClass) {
        Str baseName = m_pTransformedClass->GetOrigClassName();
        if (className != baseName) {
            PrintError("refinement-name '" + className + "' does not match base name '" + baseName + "'", 0);
            return false;
        }
    }
    return true;
}

void FOPModule::WarnConditionalClass()
{
    NodeClassDecl* head = m_pMainClass ? m_pMainClass->GetClassDecl() : nullptr;
    Lex::Token* headFirst = head ? head->GetFirstToken() : nullptr;
    if (!headFirst)
        return;
    // The conditionals still open where the class starts.
    Array<Lex::Token*> open;
    for (Lex::Token* t = GetFirstToken(); t && t != headFirst; t = t->next()) {
        if (t->language != Lex::Token::pre_id)
            continue;
        if (t->type == Lex::PRE_IF || t->type == Lex::PRE_IFDEF || t->type == Lex::PRE_IFNDEF)
            open.Add(t);
        else if (t->type == Lex::PRE_ENDIF && open.GetCount())
            open.RemoveAt(open.GetCount() - 1, 1);
    }
    if (open.GetCount() == 0)
        return;
    Lex::Token* at = open[open.GetCount() - 1];
    PrintError("the class lies inside the preprocessor conditional of this line, which the composed class cannot "
               "follow; put the condition inside the class body or around code beside the class",
               at->location.empty() ? 0 : at->location.line());
}

void FOPModule::PrintError(Str const& text, int line)
{
    ErrorLog::OnError(text, GetSourcePath(), line);
}

void FOPModule::PrintWarning(Str const& text, int line)
{
    ErrorLog::OnWarning(text, GetSourcePath(), line);
}

// ---- Accessors ----

Str FOPModule::GetName() const
{
    return m_pModule->GetName();
}

Str FOPModule::GetClassName()
{
    Name* name = m_pMainClass ? m_pMainClass->GetName() : nullptr;
    return name ? Str(name->c_str()) : Str("NULL");
}

Str FOPModule::GetRenameLayerName() const
{
    Str name = m_pLayer->m_LayerName;
    if (m_bIsMixin && m_pMixinLayer)
        name += "_" + m_MixinName + "_" + m_pMixinLayer->m_LayerName;
    return name;
}

Str FOPModule::GetPrintName()
{
    if (m_bIsMixin)
        return m_MixinName + " (mixin applied to " + GetName() + ")";
    return GetName();
}

bool FOPModule::IsRefinement() const
{
    return m_pMainClass && m_pMainClass->IsRefinement();
}

bool FOPModule::IsMetaLayerModule() const
{
    return m_pLayer->m_bMeta;
}

bool FOPModule::ForceStaticCompose() const
{
    return m_pLayer->m_bMeta || m_pLayer->m_bStatic;
}

bool FOPModule::IsFinal() const
{
    return m_pTransformedClass && m_pTransformedClass->GetFinalModule() == this;
}

Str FOPModule::GetBindingUnitName()
{
    return m_pLayer->GetBindingName();
}

bool FOPModule::IsCppModule()
{
    return m_pModule->GetType() == Module::FT_CPP;
}

int FOPModule::GetFileType() const
{
    return m_pModule->GetType();
}

Str FOPModule::GetSourcePath() const
{
    if (m_pModule->GetDecl().HasFile())
        return m_pModule->GetDecl().GetPath();
    return m_pModule->GetImpl().GetPath();
}

SimpleTU* FOPModule::GetParseUnit()
{
    if (SimpleTU* tu = m_pModule->GetDecl().GetTU())
        return tu;
    return m_pModule->GetImpl().GetTU();
}

Lex::Token* FOPModule::GetFirstToken()
{
    SimpleTU* tu = GetParseUnit();
    return tu ? tu->GetFirstToken() : nullptr;
}

NodeFuncDecl* FOPModule::GetMethod(FuncInfo const& f)
{
    SimpleTU* tu = GetParseUnit();
    return tu ? tu->GetFuncDecl(f) : nullptr;
}

bool FOPModule::HasMethodObject(FuncInfo const& f)
{
    SimpleTU* tu = GetParseUnit();
    return tu && tu->HasFuncObject(f);
}

// ---- Names and paths ----

Str FOPModule::GetGeneratedDeclFileExt()
{
    if (m_pModule->GetType() == Module::FT_JAK)
        return "java";
    return m_pModule->GetDecl().GetExt();
}

Str FOPModule::GetGeneratedImplFileExt()
{
    return Module::ConvertToImplFileExt(m_pModule->GetDecl().GetExt());
}

Str FOPModule::GetGeneratedDeclFileName(Str const& base)
{
    return base + "." + GetGeneratedDeclFileExt();
}

Str FOPModule::GetGeneratedImplFileName(Str const& base)
{
    return base + "." + GetGeneratedImplFileExt();
}

Str FOPModule::GetDelegationObjectName()
{
    if (!m_pTransformedClass)
        return Str();
    FOPModule* first = m_pTransformedClass->GetFirstModule();
    if (first && first->m_pMainClass)
        return GeneratedNames::DelegationObjectName(GetName(), GetBindingUnitName());
    return GetName();
}

Str FOPModule::GetDelegationObjectDir()
{
    return m_pLayer->m_DestDir + "/";
}

Str FOPModule::GetDelegationObjectPath()
{
    if (!m_pTransformedClass)
        return Str();
    return GetDelegationObjectDir() + GetDelegationObjectName();
}

Str FOPModule::GetDeclFilePath()
{
    if (!m_pTransformedClass)
        return Str();
    if (m_pTransformedClass->IsPureJampack()) {
        if (!m_pTransformationModule || !m_pTransformationModule->IsJampackTransformation())
            return Str();
        return m_pTransformationModule->GetDeclFilePath();
    }
    // A class composed per binding unit: the declaration file of this
    // module's delegation object, named as it is named once the class is
    // parsed, so that the time of the file written last run is found.
    return GetDelegationObjectDir() + GeneratedNames::DelegationObjectName(GetName(), GetBindingUnitName()) + "."
           + GetGeneratedDeclFileExt();
}

// ---- Namespace blocks ----

void FOPModule::GetNameSpaces(Array<NodeNSDef*>& list) const
{
    list.RemoveAll();
    Array<NodeNSDef*> inner;
    for (Node* node = m_pMainClass ? m_pMainClass->GetParent() : nullptr; node; node = node->GetParent())
        if (node->GetKind() == NT_NS_DEF)
            inner.Add(static_cast<NodeNSDef*>(node));
    for (int i = inner.GetCount() - 1; i >= 0; --i)
        list.Add(inner[i]);
}

Str FOPModule::GetNameSpaceOpenText() const
{
    Array<NodeNSDef*> spaces;
    GetNameSpaces(spaces);
    Str text, name;
    for (int i = 0; i < spaces.GetCount(); ++i)
        text += NameSpaceHead(*spaces[i], name) + " {\n";
    return text;
}

Str FOPModule::GetNameSpaceCloseText() const
{
    Array<NodeNSDef*> spaces;
    GetNameSpaces(spaces);
    Str text, name;
    for (int i = spaces.GetCount() - 1; i >= 0; --i) {
        NameSpaceHead(*spaces[i], name);
        text += name.IsEmpty() ? Str("} // namespace\n") : "} // namespace " + name + "\n";
    }
    return text;
}

Str FOPModule::GetNameSpaceName() const
{
    Array<NodeNSDef*> spaces;
    GetNameSpaces(spaces);
    Str text, name;
    for (int i = 0; i < spaces.GetCount(); ++i) {
        NameSpaceHead(*spaces[i], name);
        if (i)
            text += "::";
        text += name.IsEmpty() ? Str("(unnamed)") : name;
    }
    return text;
}

bool FOPModule::GetBaseClass(Str& name)
{
    if (!m_pMainClass)
        return false;
    NodeBaseClassDecl* bases = m_pMainClass->GetBaseClassDecl();
    NodeBaseClass* first = bases ? bases->GetBase(0) : nullptr;
    if (!first || !first->GetID())
        return false;
    name = first->GetID()->AsString();
    return true;
}
