#include "output/CodeWriter.h"

#include "base/Config.h"
#include "base/ErrorLog.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/TransformedModule.h"
#include "output/ModuleTransform.h"
#include "output/OutFile.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDef.h"
#include "scanner/Token.h"
#include "scanner/TokenIterator.h"

#include <cstring>

namespace {

Lex::Token* BodyLastToken(NodeClassDef* cls)
{
    NodeBlock* body = cls ? cls->GetBody() : nullptr;
    return body ? body->GetLastToken() : nullptr;
}

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
    : m_pModule(&module), m_pTransformedModule(module.GetTransformedClass()), m_pClassDef(module.GetMainClass()),
      m_pStream(nullptr), m_pFirstToken(nullptr), m_pLastToken(nullptr), m_bEmptyBody(false)
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
    OutFile* decl = m_pModule->GetDeclFile();
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
    if (!m_pModule->GenerateJampack() || !m_pLastToken)
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
    ModuleTransform* unit = m_pModule->m_pTransformationModule;
    bool firstOfUnit = !unit || unit->GetFirstTransformationModule() == m_pModule;
    if (!m_pModule->IsRefinement() && firstOfUnit && m_pStream)
        *m_pStream << m_pTransformedModule->m_AddedMemberCode.GetBuffer();
    return true;
}

bool CodeWriter::SaveImpl()
{
    return true;
}

bool CodeWriter::SaveTrailingCode(FOPModule& module, OutFile& file)
{
    Lex::Token* close = BodyLastToken(module.GetMainClass());
    if (!close)
        return false;
    // The code after the class stands inside the module's namespace blocks,
    // which the module's own closing braces end.
    file.SaveString(module.GetNameSpaceOpenText());
    file.SaveTokens(close, nullptr, ";", nullptr);
    return true;
}

bool CppCodeWriter::SaveImpl()
{
    if (!m_pClassDef || !m_pModule->HasCppCode())
        return true;
    OutFile* impl = m_pModule->GetImplFile();
    if (!impl)
        return false;
    // Without an implementation file of its own the code goes into the
    // declaration file, after the end of the class, which the unit writes
    // when it closes that file.
    if (impl == m_pModule->GetDeclFile()) {
        ModuleTransform* unit = m_pModule->GetTransformationModule();
        if (!unit)
            return false;
        unit->AddTrailingCodeModule(*m_pModule);
        return true;
    }
    return SaveTrailingCode(*m_pModule, *impl);
}

bool CppCodeWriter::BeginRefinement()
{
    if (!CodeWriter::BeginRefinement())
        return false;
    if (m_pModule->GenerateJampack() && m_pStream)
        *m_pStream << "\nprivate:";
    return true;
}

bool JavaCodeWriter::SaveImpl()
{
    if (m_pClassDef && m_pModule->HasCppCode())
        ErrorLog::OnWarning("code after the class declaration is not written: a jak module has no implementation part",
                            m_pModule->GetSourcePath(), 0);
    return true;
}

bool JavaCodeWriter::BeginRefinement()
{
    return CodeWriter::BeginRefinement();
}
