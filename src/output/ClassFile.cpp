#include "output/ClassFile.h"

#include "output/CppFile.h"
#include "output/OutFile.h"

ClassFile::ClassFile(Str const& name) : m_Name(name) {}

Str ClassFile::GetFilePath(Str const& folder) const
{
    return folder + "/" + m_Name + ".h";
}

void ClassFile::WriteIncludesAndForwards(CppFile& file)
{
    for (StringSet::HashNode* node = m_Includes.GetFirst(); node; node = m_Includes.GetNext(node))
        file.Include(node->GetKey());
    if (!m_ForwardText.IsEmpty() && file.m_pFile)
        file.m_pFile->SaveString(m_ForwardText);
    // The forward declarations belong to the namespace of the class.
    file.OpenNS();
    for (StringSet::HashNode* node = m_Forwards.GetFirst(); node; node = m_Forwards.GetNext(node))
        file.FwdDecl(node->GetKey());
}

bool ClassFile::WriteClass(char const* folder, char const* declarationText)
{
    Str dir(folder ? folder : "");
    bool ok = true;
    OutFile header(GetFilePath(dir));
    {
        CppFile frame(&header, true);
        frame.BeginGuard();
        WriteIncludesAndForwards(frame);
        header.SaveString(declarationText);
        if (!m_ImplText.IsEmpty()) {
            OutFile impl(dir + "/" + m_Name + ".cpp");
            CppFile implFrame(&impl);
            implFrame.Include(m_Name);
            implFrame.UsingNS();
            impl.SaveString(m_ImplText);
            impl.Close();
            ok = !impl.HasWriteError();
        }
    } // the frame ends the guard here
    header.Close();
    return ok && !header.HasWriteError();
}
