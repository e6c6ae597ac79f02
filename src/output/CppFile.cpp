#include "output/CppFile.h"

#include "output/OutFile.h"

#include <cstring>

CppFile::~CppFile()
{
    if (m_bGuardOpen) {
        EndGuard();
        CloseCpp();
    }
}

void CppFile::CloseCpp()
{
    if (m_pFile)
        m_pFile->SaveString("\n");
}

void CppFile::FwdDecl(char const* name)
{
    if (!m_pFile)
        return;
    Str text("class ");
    text += name;
    text += ";\n";
    m_pFile->SaveString(text);
}

void CppFile::OpenNS()
{
    if (!m_pFile || m_pFile->GetNameSpace().IsEmpty())
        return;
    m_pFile->SaveString("namespace " + m_pFile->GetNameSpace() + "{\n");
    m_pFile->SetNameSpaceOpen(true);
}

void CppFile::CloseNS()
{
    // Only a namespace this file has opened is closed, so that every
    // closing text has its opening.
    if (!m_pFile || m_pFile->GetNameSpace().IsEmpty() || !m_pFile->IsNameSpaceOpen())
        return;
    m_pFile->SaveString("\n\n} //end namespace " + m_pFile->GetNameSpace() + "\n");
    m_pFile->SetNameSpaceOpen(false);
}

void CppFile::UsingNS()
{
    if (!m_pFile || m_pFile->GetNameSpace().IsEmpty())
        return;
    m_pFile->SaveString("using namespace " + m_pFile->GetNameSpace() + ";\n");
}

void CppFile::Include(char const* name)
{
    if (!m_pFile || !name)
        return;
    size_t n = strlen(name);
    bool hasExt = (n >= 2 && strcmp(name + n - 2, ".h") == 0) || (n >= 3 && strcmp(name + n - 3, ".ah") == 0);
    Str text("#include \"");
    text += name;
    if (!hasExt)
        text += ".h";
    text += "\"\n";
    m_pFile->SaveString(text);
}

void CppFile::IncludeFile(char const* name)
{
    if (m_pFile && name)
        m_pFile->SaveString(Str("#include \"") + name + "\"\n");
}

void CppFile::IncludeHeader()
{
    if (m_pFile)
        Include(m_pFile->GetName().GetName());
}

Str CppFile::CreateIfDef(char const* name)
{
    Str text(name ? name : "");
    text.Replace(".", "_");
    text += "_h__included\n";
    return text;
}

void CppFile::BeginGuard(char const* name)
{
    if (!m_pFile)
        return;
    Str guard = CreateIfDef(name);
    m_pFile->SaveString("#ifndef " + guard + "#define " + guard + "\n");
}

void CppFile::EndGuard(char const* name)
{
    if (!m_pFile)
        return;
    CloseNS();
    m_pFile->SaveString("\n#endif //" + CreateIfDef(name));
}

Str CppFile::FileGuardName() const
{
    return m_pFile ? m_pFile->GetName().GetName() + "." + m_pFile->GetName().GetExt() : Str();
}

void CppFile::BeginGuard()
{
    BeginGuard(FileGuardName());
}

void CppFile::EndGuard()
{
    EndGuard(FileGuardName());
}
