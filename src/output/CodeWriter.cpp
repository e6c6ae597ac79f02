#include "output/CodeWriter.h"

#include "base/Config.h"
#include "base/ErrorLog.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/TransformedModule.h"
#include "output/ClassOutput.h"
#include "output/CppFile.h"
#include "output/ModuleOutput.h"
#include "output/ModuleTransform.h"
#include "output/OutFile.h"
#include "output/TrailingCode.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDef.h"
#include "scanner/Token.h"
#include "scanner/TokenIterator.h"

#include <cstring>

namespace {

// Whether writing a range from this token starts a new line by itself: a
// line directive begins with a line break, and so may the token's text. No
// token means the class end follows, which begins with a directive unless
// directives are off.
bool StartsLine(Lex::Token* first)
{
    if (Config::GetInstance().GetNoLine())
        return first && first->text->text[0] == '\n';
    if (!first)
        return true;
    bool written = !first->condition || *first->condition;
    bool located = !first->location.empty() && first->location.filename().name();
    return (written && located) || first->text->text[0] == '\n';
}

} // namespace

CodeWriter::CodeWriter(FOPModule& module)
    : m_pModule(&module), m_pOutput(&ModuleOutput::Of(module)), m_pTransformedModule(module.GetTransformedClass()),
      m_pClassDef(module.GetMainClass()), m_pStream(nullptr), m_pFirstToken(nullptr), m_pLastToken(nullptr),
      m_bEmptyBody(false)
{
}

bool CodeWriter::Save()
{
    if (!m_pTransformedModule)
        return false;
    if (!SaveDecl())
        return false;
    return SaveImpl();
}

bool CodeWriter::SaveDecl()
{
    m_pFirstToken = m_pLastToken = nullptr;
    m_bEmptyBody = false;
    OutFile* decl = m_pOutput->GetDeclFile();
    if (!decl)
        return false;
    m_pStream = decl->GetStream();
    if (!m_pStream)
        return false;
    Layer* layer = m_pModule->GetLayer();
    *m_pStream << "\n//**** Layer " << (layer ? layer->m_LayerName.GetBuffer() : "") << " ****";
    if (m_pClassDef) {
        NodeBlock* body = m_pClassDef->GetBody();
        if (!body)
            return false;
        m_pFirstToken = body->GetFirstToken();
        m_pLastToken = body->GetLastToken();
        if (!m_pFirstToken || !m_pLastToken || m_pFirstToken == m_pLastToken)
            return false;
    } else {
        m_pFirstToken = m_pModule->GetFirstToken();
        if (!m_pFirstToken)
            return false;
    }
    if (!BeginRefinement() || !m_pFirstToken)
        return false;
    // The banner is a line comment: what follows must start a new line.
    if (!StartsLine(m_bEmptyBody ? nullptr : m_pFirstToken))
        *m_pStream << "\n";
    if (!m_bEmptyBody)
        decl->SaveTokens(m_pFirstToken, m_pLastToken, nullptr, nullptr);
    return true;
}

bool CodeWriter::BeginRefinement()
{
    if (!m_pTransformedModule || !m_pFirstToken)
        return false;
    if (!m_pOutput->GenerateJampack() || !m_pLastToken)
        return true;
    Lex::Token* beforeClose = m_pLastToken->prev();
    if (!beforeClose)
        return false;
    m_pLastToken = beforeClose;
    Lex::TokenIterator it(m_pFirstToken, m_pLastToken);
    while (Lex::Token* t = it.Next()) {
        if (strcmp(t->text->text, "{") == 0) {
            // "{" directly followed by "}": nothing of the body is written.
            if (t == m_pLastToken)
                m_bEmptyBody = true;
            m_pFirstToken = t->next();
            break;
        }
    }
    // The added members are written once per unit, by its first module (a
    // mixin copy below the introducing module does not refine either).
    ModuleTransform* unit = ModuleTransform::Of(*m_pModule);
    bool firstOfUnit = !unit || unit->GetFirstTransformationModule() == m_pModule;
    if (!m_pModule->IsRefinement() && firstOfUnit && m_pStream)
        *m_pStream << ClassOutput::Of(*m_pTransformedModule).GetAddedMemberCode().GetBuffer();
    return true;
}

bool CodeWriter::SaveImpl()
{
    return true;
}

bool CodeWriter::SaveTrailingCode(FOPModule& module, OutFile& file, int place)
{
    TrailingCode* code = ModuleOutput::Of(module).GetTrailingCode();
    if (!code)
        return false;
    // The code after the class stands inside the module's namespace blocks,
    // which the module's own closing braces end.
    file.SaveString(module.GetNameSpaceOpenText());
    // Neighbouring pieces of the place are written as one range, so that
    // line directives come only where lines are left out.
    Lex::Token* first = nullptr;
    Lex::Token* last = nullptr;
    for (TrailingCode::Piece const& piece : code->GetPieces()) {
        if (piece.m_Place & place) {
            if (!first)
                first = piece.m_pFirst;
            last = piece.m_pLast;
            continue;
        }
        if (first)
            file.SaveTokens(first, last, nullptr, nullptr);
        first = nullptr;
        if (place != TrailingCode::PLACE_HEADER || piece.m_HeaderDecl.IsEmpty())
            continue;
        // The blanks and comments before the definition go with its
        // declaration.
        Lex::Token* start = piece.m_pFirst;
        while (start != piece.m_pLast && (start->type == Lex::TOK_WHITESPACE || (start->flags & Lex::Token::comment_flag)))
            start = start->next();
        if (start != piece.m_pFirst)
            file.SaveTokens(piece.m_pFirst, start->prev(), nullptr, nullptr);
        else
            file.SaveString("\n");
        file.SaveString(piece.m_HeaderDecl);
    }
    if (first)
        file.SaveTokens(first, last, nullptr, nullptr);
    return true;
}

bool CppCodeWriter::SaveImpl()
{
    if (!m_pClassDef)
        return true;
    OutFile* impl = m_pOutput->GetImplFile();
    if (!impl)
        return false;
    ModuleTransform* unit = ModuleTransform::Of(*m_pModule);
    // The code that stays in the header (without an implementation file of
    // its own, all of it) follows the end of the class, which the unit
    // writes when it closes the declaration file.
    bool ownImpl = impl != m_pOutput->GetDeclFile();
    if (ownImpl ? m_pOutput->HasHeaderCode() : m_pOutput->HasCppCode()) {
        if (!unit)
            return false;
        unit->AddTrailingCodeModule(*m_pModule);
    }
    if (!ownImpl || !m_pOutput->HasCppCode())
        return true;
    // Inside the namespace of the -namespace option, as the declarations
    // that the header keeps of it are.
    TrailingCode* code = m_pOutput->GetTrailingCode();
    CppFile frame(impl);
    if (code && code->IsSeparate())
        frame.OpenNS();
    bool saved = SaveTrailingCode(*m_pModule, *impl, TrailingCode::PLACE_IMPL);
    frame.CloseNS();
    return saved;
}

bool CppCodeWriter::BeginRefinement()
{
    if (!CodeWriter::BeginRefinement())
        return false;
    if (m_pOutput->GenerateJampack() && m_pStream)
        *m_pStream << "\nprivate:";
    return true;
}

bool JavaCodeWriter::SaveImpl()
{
    if (m_pClassDef && m_pOutput->HasCppCode())
        ErrorLog::OnWarning("code after the class declaration is not written: a jak module has no implementation part",
                            m_pModule->GetSourcePath(), 0);
    return true;
}

bool JavaCodeWriter::BeginRefinement()
{
    return CodeWriter::BeginRefinement();
}
