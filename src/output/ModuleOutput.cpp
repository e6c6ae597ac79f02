#include "output/ModuleOutput.h"

#include "base/Config.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "compose/Module.h"
#include "compose/TransformedModule.h"
#include "output/CodeWriter.h"
#include "output/CombinedTransform.h"
#include "output/JampackTransform.h"
#include "output/ModuleTransform.h"
#include "output/OutFile.h"
#include "output/TrailingCode.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeNSDef.h"
#include "scanner/Token.h"

#include <cstring>
#include <memory>
#include <set>

namespace {

bool TextHasLineBreak(Lex::Token const& token)
{
    return std::strchr(token.text->text, '\n') != nullptr;
}

} // namespace

ModuleOutput::ModuleOutput(FOPModule& module)
    : m_Module(module), m_pTrailingCode(nullptr), m_bHasCppCode(false), m_bHasCppCodeKnown(false)
{
}

ModuleOutput::~ModuleOutput()
{
    delete m_pTrailingCode;
}

ModuleOutput& ModuleOutput::Of(FOPModule& module)
{
    if (!module.GetGeneratorState())
        module.SetGeneratorState(new ModuleOutput(module));
    return static_cast<ModuleOutput&>(*module.GetGeneratorState());
}

NodeClassDef* ModuleOutput::Main() const
{
    return m_Module.GetMainClass();
}

TransformedModule* ModuleOutput::Class() const
{
    return m_Module.GetTransformedClass();
}

ModuleTransform* ModuleOutput::Unit() const
{
    return ModuleTransform::Of(m_Module);
}

bool ModuleOutput::Transform()
{
    if (!m_Module.ValidModule())
        return false;
    if (!Unit())
        return false;
    CheckNameSpaces();
    if (!Unit()->IsJampackTransformation())
        return true;
    if (!m_Module.GetParseUnit())
        return false;
    return DoTransformation();
}

bool ModuleOutput::DoTransformation()
{
    if (Class() && !Class()->IsPureJampack()) {
        CombinedTransform transformation(m_Module);
        transformation.Init();
        return transformation.Transform();
    }
    JampackTransform transformation(m_Module);
    transformation.Init();
    return transformation.Transform();
}

bool ModuleOutput::GenerateJampack()
{
    return Unit() && Unit()->IsJampackTransformation();
}

ModuleIncludes* ModuleOutput::GetIncludes()
{
    if (!GenerateJampack())
        return nullptr;
    return static_cast<JampackModuleTransform*>(Unit())->GetIncludes();
}

OutFile* ModuleOutput::GetDeclFile()
{
    return GenerateJampack() ? Unit()->GetDeclFile() : nullptr;
}

OutFile* ModuleOutput::GetImplFile()
{
    return GenerateJampack() ? Unit()->GetImplFile() : nullptr;
}

CodeWriter* ModuleOutput::CreateCodeWriter()
{
    if (m_Module.GetModule()->GetType() == Module::FT_JAK)
        return new JavaCodeWriter(m_Module);
    return new CppCodeWriter(m_Module);
}

bool ModuleOutput::Save()
{
    if (!Class())
        return false;
    std::unique_ptr<CodeWriter> writer(CreateCodeWriter());
    return writer->Save();
}

void ModuleOutput::CheckNameSpaces()
{
    Array<NodeNSDef*> spaces;
    m_Module.GetNameSpaces(spaces);
    Str own = m_Module.GetNameSpaceName();
    int line = 0;
    if (spaces.GetCount()) {
        NodeBlock* body = spaces[0]->ChildAs<NodeBlock>(1, NT_BLOCK);
        if (Lex::Token* open = body ? body->GetFirstToken() : nullptr)
            line = open->location.line();
    } else if (Main() && Main()->GetClassDecl() && Main()->GetClassDecl()->GetFirstToken()) {
        line = Main()->GetClassDecl()->GetFirstToken()->location.line();
    }
    if (!own.IsEmpty() && !Config::GetInstance().GetNameSpace().IsEmpty())
        m_Module.PrintWarning("class " + m_Module.GetClassName() + " is inside namespace " + own +
                                  " of its module and the -namespace option is given as well; the composed class "
                                  "may not compile",
                              line);
    // Composed per binding unit, the class is reached through an interface
    // and factories that name it from file scope, which an unnamed
    // namespace does not allow; told once, by its first module.
    if (std::strstr(own.GetBuffer(), "(unnamed)") && Class() && !Class()->IsPureJampack()
        && Class()->GetFirstModule() == &m_Module)
        m_Module.PrintWarning("class " + Class()->GetName() + " is inside namespace " + own +
                                  " of its module, but its interface for the binding units cannot name it from outside",
                              line);
    FOPModule* first = Unit() ? Unit()->GetFirstTransformationModule() : nullptr;
    if (!first || first == &m_Module)
        return;
    Str other = first->GetNameSpaceName();
    if (own == other)
        return;
    auto where = [](Str const& name) { return name.IsEmpty() ? Str("at file scope") : "inside namespace " + name; };
    m_Module.PrintError("class " + m_Module.GetClassName() + " is " + where(own) + " in this module but " +
                            where(other) + " in " + first->GetSourcePath() +
                            "; the modules of a class must use the same namespace: write the class in that "
                            "namespace in every layer",
                        line);
}

void ModuleOutput::InitDeclFile(OutFile& f)
{
    if (!f.GetStream())
        return;
    f.SaveString(("//Layer " + m_Module.GetLayer()->m_PlainName + "\n").GetBuffer());
    if (!Main() || !Main()->GetClassDecl())
        return;
    Lex::Token* unitFirst = m_Module.GetFirstToken();
    Lex::Token* headFirst = Main()->GetClassDecl()->GetFirstToken();
    if (!unitFirst || !headFirst || headFirst == unitFirst)
        return;
    Lex::Token* before = headFirst->prev();
    if (!before)
        return;
    // A class head at the start of the file has only the unit's white-space
    // markers before it: nothing is copied then.
    bool onlyWhiteSpace = true;
    for (Lex::Token* t = unitFirst; onlyWhiteSpace && t && t != headFirst; t = t->next())
        onlyWhiteSpace = t->language == Lex::Token::white_id;
    if (onlyWhiteSpace)
        return;
    // One blank line after the layer line, however many the module's text
    // starts with (a module's own guard leaves its lines blank).
    Lex::Token* start = unitFirst;
    while (start != before && start->language == Lex::Token::white_id)
        start = start->next();
    f.SaveString("\n");
    f.SaveTokens(start, before, nullptr, nullptr);
    f.SaveString("\n");
    // The module's text opens its namespace blocks before the class; they
    // are closed here and the class is written inside them once.
    f.SaveString(m_Module.GetNameSpaceCloseText());
}

bool ModuleOutput::BeginClassDecl(OutFile& f)
{
    if (!Main() || !Main()->GetClassDecl() || !Main()->GetBody())
        return false;
    Lex::Token* headFirst = Main()->GetClassDecl()->GetFirstToken();
    Lex::Token* open = Main()->GetBody()->GetFirstToken();
    if (headFirst && open) {
        f.SaveString(m_Module.GetNameSpaceOpenText());
        f.SaveTokens(headFirst, open, nullptr, nullptr);
    }
    return false;
}

NodeClassDef* ModuleOutput::CloseDeclFile(OutFile& f)
{
    if (!Main() || !Main()->GetBody())
        return nullptr;
    if (Lex::Token* close = Main()->GetBody()->GetLastToken()) {
        f.SaveTokens(close, nullptr, nullptr, ";");
        Str end = m_Module.GetNameSpaceCloseText();
        if (!end.IsEmpty())
            f.SaveString("\n" + end);
    }
    return nullptr;
}

TrailingCode* ModuleOutput::GetTrailingCode()
{
    if (m_pTrailingCode)
        return m_pTrailingCode;
    if (!Main() || !Main()->GetBody())
        return nullptr;
    // The code starts after the ";" that ends the class declaration.
    Lex::Token* token = Main()->GetBody()->GetLastToken();
    while (token && token->type != Lex::TOK_SEMI_COLON)
        token = token->next();
    // The header of a class composed per binding unit is no header that
    // other files include: all the code goes to its implementation file.
    m_pTrailingCode = new TrailingCode;
    bool separate = m_Module.IsCppModule() && (!Class() || Class()->IsPureJampack());
    if (token)
        m_pTrailingCode->Split(token->next(), separate);
    for (TrailingCode::Message const& error : m_pTrailingCode->GetErrors())
        m_Module.PrintError(error.m_Text, error.m_Line);
    return m_pTrailingCode;
}

bool ModuleOutput::HasCppCode()
{
    if (m_bHasCppCodeKnown)
        return m_bHasCppCode;
    m_bHasCppCodeKnown = true;
    TrailingCode* code = GetTrailingCode();
    int place = m_Module.IsCppModule() ? TrailingCode::PLACE_IMPL : TrailingCode::PLACE_BOTH;
    m_bHasCppCode = code && code->HasCode(place);
    return m_bHasCppCode;
}

bool ModuleOutput::HasHeaderCode()
{
    TrailingCode* code = GetTrailingCode();
    return code && code->IsSeparate() && code->HasCode(TrailingCode::PLACE_HEADER);
}

void ModuleOutput::GetUsedClasses(StringSet& other, StringSet& forward, StringSet& include)
{
    if (!Class() || !Main())
        return;
    LayerStack* stack = Class()->GetLayerStack();
    Lex::Token* classEnd = Main()->GetBody() ? Main()->GetBody()->GetLastToken() : nullptr;
    Str own = m_Module.GetName();
    bool afterClass = false;
    // After the class, a name in code that stays in the header counts as a
    // name in the class.
    std::set<Lex::Token*> headerCode;
    TrailingCode* trailing = GetTrailingCode();
    if (trailing && trailing->IsSeparate()) {
        for (TrailingCode::Piece const& p : trailing->GetPieces()) {
            if (!p.m_bCode)
                continue;
            // A definition that moves leaves the declaration of its head.
            Lex::Token* last = p.m_Place & TrailingCode::PLACE_HEADER ? p.m_pLast : p.m_pHeadLast;
            for (Lex::Token* t = last ? p.m_pFirst : nullptr; t; t = t == last ? nullptr : t->next())
                headerCode.insert(t);
        }
    }
    for (Lex::Token* token = m_Module.GetFirstToken(); token; token = token->next()) {
        if (token->language == Lex::Token::pre_id) {
            // A directive: passed over through the token that ends its line.
            while (token && !TextHasLineBreak(*token)) {
                if (token == classEnd)
                    afterClass = true;
                token = token->next();
            }
            if (!token)
                break;
            if (token == classEnd)
                afterClass = true;
            continue;
        }
        if (token->type == Lex::TOK_ID && stack->IsOtherModuleName(token->text->text, own)) {
            if (afterClass && !headerCode.count(token)) {
                other.Add(token->text->text);
            } else {
                Lex::Token* next = token->next();
                while (next && next->language == Lex::Token::white_id)
                    next = next->next();
                if (!next || next->type == Lex::TOK_MUL || next->type == Lex::TOK_AND
                    || next->type == Lex::TOK_SEMI_COLON)
                    forward.Add(token->text->text);
                else
                    include.Add(token->text->text);
            }
        }
        if (token == classEnd)
            afterClass = true;
    }
}
