#include "output/ModuleIncludes.h"

#include "compose/FOPModule.h"
#include "compose/LayerStack.h"
#include "compose/TransformedModule.h"
#include "output/BaseTransform.h"
#include "output/CppFile.h"
#include "output/OutFile.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDef.h"
#include "scanner/Token.h"

namespace {

// The next token that is neither blank, comment nor directive.
Lex::Token* NextCode(Lex::Token* token, Lex::Token* end)
{
    for (Lex::Token* t = token; t && t != end;) {
        t = t->next();
        if (t && !BaseTransform::IsSkipped(*t) && t->language != Lex::Token::pre_id)
            return t;
    }
    return nullptr;
}

bool IsIndirection(Lex::Token const& t)
{
    return t.type == Lex::TOK_MUL || t.type == Lex::TOK_AND || t.type == Lex::TOK_AND_AND;
}

bool IsCv(Lex::Token const& t)
{
    return t.type == Lex::TOK_CONST || t.type == Lex::TOK_VOLATILE;
}

// The token after a type name and its cv-qualifiers; indirect tells whether
// a `*` or `&` came among them.
Lex::Token* AfterTypeName(Lex::Token* name, Lex::Token* end, bool& indirect)
{
    indirect = false;
    Lex::Token* t = NextCode(name, end);
    while (t && (IsIndirection(*t) || IsCv(*t))) {
        indirect = indirect || IsIndirection(*t);
        t = NextCode(t, end);
    }
    return t;
}

} // namespace

void ModuleIncludes::AddInclude(StringArray& list, char const* name)
{
    if (!name)
        return;
    for (int i = 0; i < list.GetCount(); ++i)
        if (list[i] == name)
            return;
    list.Add(name);
}

void ModuleIncludes::InitIncludesAndForwards(StringSet& other, StringSet& forward, StringSet& include, LayerStack& stack)
{
    m_pLayerStack = &stack;
    for (StringSet::HashNode* node = include.GetFirst(); node; node = include.GetNext(node)) {
        m_HeaderIncludes.Add(node->GetKey());
        forward.Remove(node->GetKey());
    }
    for (StringSet::HashNode* node = forward.GetFirst(); node; node = forward.GetNext(node)) {
        if (include.Contains(node->GetKey()))
            continue;
        // A class whose declaration is not known is included instead.
        if (GetForwardDeclaration(node->GetKey()).IsEmpty()) {
            m_HeaderIncludes.Add(node->GetKey());
            continue;
        }
        m_Forwards.Add(node->GetKey());
        m_CppIncludes.Add(node->GetKey());
    }
    for (StringSet::HashNode* node = other.GetFirst(); node; node = other.GetNext(node)) {
        if (include.Contains(node->GetKey()) || forward.Contains(node->GetKey()))
            continue;
        m_CppIncludes.Add(node->GetKey());
    }
}

void ModuleIncludes::AddInlineUses(Array<FOPModule*> const& modules, StringSet& forward, StringSet& include)
{
    // The variables, parameters and members declared as a pointer or
    // reference to a forwarded class ("Rate const* p", also inside template
    // arguments: "std::vector<Rate*> rates"), with that class.
    MapStringToString pointers;
    for (int i = 0; i < modules.GetCount(); ++i) {
        NodeClassDef* cls = modules[i]->GetMainClass();
        NodeBlock* body = cls ? cls->GetBody() : nullptr;
        Lex::Token* end = body ? body->GetLastToken() : nullptr;
        for (Lex::Token* t = body ? body->GetFirstToken() : nullptr; t && t != end; t = t->next()) {
            if (t->type != Lex::TOK_ID || !forward.Contains(t->text->text) || include.Contains(t->text->text))
                continue;
            bool indirect;
            Lex::Token* next = AfterTypeName(t, end, indirect);
            while (indirect && next && (next->type == Lex::TOK_GREATER || next->type == Lex::TOK_RSH))
                next = NextCode(next, end);
            if (indirect && next && next->type == Lex::TOK_ID)
                pointers[next->text->text] = t->text->text;
        }
    }
    // The code in braces inside the class body: function bodies and
    // initializers, written into the header.
    for (int i = 0; i < modules.GetCount(); ++i) {
        NodeClassDef* cls = modules[i]->GetMainClass();
        NodeBlock* body = cls ? cls->GetBody() : nullptr;
        Lex::Token* end = body ? body->GetLastToken() : nullptr;
        int depth = 0;
        for (Lex::Token* t = body ? body->GetFirstToken() : nullptr; t && t != end; t = t->next()) {
            if (BaseTransform::IsSkipped(*t) || t->language == Lex::Token::pre_id)
                continue;
            if (t->type == Lex::TOK_OPEN_CURLY)
                ++depth;
            else if (t->type == Lex::TOK_CLOSE_CURLY)
                --depth;
            if (depth < 2 || t->type != Lex::TOK_ID)
                continue;
            char const* text = t->text->text;
            bool indirect;
            if (forward.Contains(text)) {
                // Any use but a pointer or reference type.
                if (!AfterTypeName(t, end, indirect) || !indirect)
                    include.Add(text);
            } else if (auto* entry = pointers.Find(text)) {
                Lex::Token* next = NextCode(t, end);
                if (next && (next->type == Lex::TOK_DOT || next->type == Lex::TOK_PTS))
                    include.Add(entry->GetValue());
            }
        }
    }
}

void ModuleIncludes::WriteIncludes(OutFile& file, StringArray const& names)
{
    if (!m_pLayerStack)
        return;
    StringArray fileNames;
    m_pLayerStack->GetFileNamesFromModuleNames(names, fileNames);
    CppFile frame(&file);
    for (int i = 0; i < fileNames.GetCount(); ++i) {
        Str header = GetHeaderName(fileNames[i]);
        // A composed class's header name carries its real extension (also
        // "H"), so it is included as it stands.
        if (header != fileNames[i])
            frame.IncludeFile(header);
        else
            frame.Include(header);
    }
}

void ModuleIncludes::WriteHeaderIncludes(OutFile& file)
{
    WriteIncludes(file, m_HeaderIncludes);
    CppFile frame(&file);
    frame.OpenNS();
    for (int i = 0; i < m_Forwards.GetCount(); ++i)
        file.SaveString(GetForwardDeclaration(m_Forwards[i]) + "\n");
}

Str ModuleIncludes::GetForwardDeclaration(Str const& name)
{
    TransformedModule* cls = m_pLayerStack ? m_pLayerStack->GetModule(name) : nullptr;
    // A class composed per binding unit is reached through its interface,
    // written at file scope; generated classes are too.
    if (!cls || !cls->IsPureJampack())
        return "class " + name + ";";
    return cls->GetForwardDeclaration();
}

void ModuleIncludes::WriteCppIncludes(OutFile& file)
{
    WriteIncludes(file, m_CppIncludes);
    CppFile frame(&file);
    frame.UsingNS();
}

Str ModuleIncludes::GetHeaderName(Str const& name)
{
    if (m_pLayerStack) {
        TransformedModule* cls = m_pLayerStack->GetModule(name);
        if (cls && cls->GetFirstModule())
            return cls->GetFirstModule()->GetGeneratedDeclFileName(name);
    }
    return name;
}
