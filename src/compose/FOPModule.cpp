#include "compose/FOPModule.h"

#include "base/Diagnostics.h"
#include "base/ErrorLog.h"
#include "base/Name.h"
#include "compose/FileStatistics.h"
#include "compose/GeneratedNames.h"
#include "compose/Layer.h"
#include "compose/MixinExpansion.h"
#include "compose/RefinementHead.h"
#include "compose/Module.h"
#include "compose/TransformationUnit.h"
#include "compose/TransformedModule.h"
#include "parser/IncludeGuard.h"
#include "parser/Info.h"
#include "parser/NameSpaceBlocks.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeNSDef.h"
#include "parser/NodeVarDecl.h"
#include "parser/SimpleTU.h"
#include "scanner/Token.h"

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
    IncludeGuard::Remove(GetFirstToken());
}

bool FOPModule::FOP_ParseFile()
{
    if (!m_pModule->Parse(false)) {
        PrintProgress("");
        PrintError("failed to parse file", 0);
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
    Str count;
    count.Format(" (%d LOC)", m_Loc);
    PrintProgress(count);
}

void FOPModule::PrintProgress(Str const& count)
{
    // One whole line, after the parse: a message of the parse stands on a
    // line of its own and names the file itself.
    Diagnostics::Printf(DiagKind::Progress, DiagFlush::None, "%s%s\n",
                        ErrorLog::Escape(m_pLayer->m_PlainName + "/" + GetPrintName()).GetBuffer(), count.GetBuffer());
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
    return MixinExpansion(*this).ProcessMixins();
}

bool FOPModule::AddMixinClass(NodeBaseClass& base)
{
    return MixinExpansion(*this).AddMixinClass(base);
}

bool FOPModule::AddMixinRefinement(FOPModule& mixin)
{
    return MixinExpansion(*this).AddMixinRefinement(mixin);
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
    RefinementHead::Check(*this);
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
    ErrorLog::OnError(text, GetSourcePath(), line != 0 ? line : GetClassLine());
}

void FOPModule::PrintWarning(Str const& text, int line)
{
    ErrorLog::OnWarning(text, GetSourcePath(), line != 0 ? line : GetClassLine());
}

int FOPModule::GetClassLine()
{
    NodeClassDecl* head = m_pMainClass ? m_pMainClass->GetClassDecl() : nullptr;
    Lex::Token* at = head ? head->GetFirstToken() : nullptr;
    for (Lex::Token* t = at ? at : GetFirstToken(); t; t = t->next())
        if (!t->location.empty())
            return t->location.line();
    // A module without tokens: its first line.
    return 1;
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
    NameSpaceBlocks(m_pMainClass).GetBlocks(list);
}

Str FOPModule::GetNameSpaceOpenText() const
{
    return NameSpaceBlocks(m_pMainClass).GetOpenText();
}

Str FOPModule::GetNameSpaceCloseText() const
{
    return NameSpaceBlocks(m_pMainClass).GetCloseText();
}

Str FOPModule::GetNameSpaceName() const
{
    return NameSpaceBlocks(m_pMainClass).GetName();
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
