#include "parser/NameSpaceBlocks.h"

#include "base/Name.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeNSDef.h"
#include "parser/SyntaxEdit.h"
#include "scanner/Token.h"

#include <cctype>

NameSpaceBlocks::NameSpaceBlocks(NodeClassDef const* cls)
{
    Array<NodeNSDef*> inner;
    for (Node* node = cls ? cls->GetParent() : nullptr; node; node = node->GetParent())
        if (node->GetKind() == NT_NS_DEF)
            inner.Add(static_cast<NodeNSDef*>(node));
    for (int i = inner.GetCount() - 1; i >= 0; --i)
        m_Blocks.Add(inner[i]);
}

void NameSpaceBlocks::GetBlocks(Array<NodeNSDef*>& list) const
{
    list.RemoveAll();
    for (int i = 0; i < m_Blocks.GetCount(); ++i)
        list.Add(m_Blocks[i]);
}

Str NameSpaceBlocks::GetOpenText() const
{
    Str text, name;
    for (int i = 0; i < m_Blocks.GetCount(); ++i)
        text += Head(*m_Blocks[i], name) + " {\n";
    return text;
}

Str NameSpaceBlocks::GetCloseText() const
{
    Str text, name;
    for (int i = m_Blocks.GetCount() - 1; i >= 0; --i) {
        Head(*m_Blocks[i], name);
        text += name.IsEmpty() ? Str("} // namespace\n") : "} // namespace " + name + "\n";
    }
    return text;
}

Str NameSpaceBlocks::GetName() const
{
    Str text, name;
    for (int i = 0; i < m_Blocks.GetCount(); ++i) {
        Head(*m_Blocks[i], name);
        if (i)
            text += "::";
        text += name.IsEmpty() ? Str("(unnamed)") : name;
    }
    return text;
}

Str NameSpaceBlocks::Head(NodeNSDef& ns, Str& name)
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
