#include "parser/Node.h"

#include "parser/NodeToken.h"

#include <cctype>
#include <cstring>

int Node::m_NodeCount = 0;
bool Node::m_bMsVc = false;

Node::Node(NodeTypes kind) : m_Language(0), m_Kind(kind), m_pScope(nullptr)
{
    ++m_NodeCount;
}

Node::~Node() {}

void Node::DeleteTokens()
{
    if (NodeToken* node = GetNodeToken())
        node->DeleteToken();
}

int Node::IndexOfChild(Node const* child) const
{
    if (!child)
        return -1;
    for (int i = 0; i < GetChildCount(); ++i)
        if (m_Childs[i] == child)
            return i;
    return -1;
}

void Node::SetChild(int index, Node* child)
{
    if (index < 0)
        return;
    while (GetChildCount() <= index)
        m_Childs.Add(nullptr);
    m_Childs[index] = child;
    if (child)
        child->m_pParent = this;
}

bool Node::RemoveChild(Node* child)
{
    int index = IndexOfChild(child);
    if (index < 0)
        return false;
    m_Childs.RemoveAt(index, 1);
    if (child->m_pParent == this)
        child->m_pParent = nullptr;
    return true;
}

Scope* Node::GetScope()
{
    for (Node* node = this; node; node = node->GetParent())
        if (node->m_pScope)
            return node->m_pScope;
    return nullptr;
}

namespace {

char const* FileOf(Lex::Token const* token)
{
    if (token->location.empty())
        return nullptr;
    return token->location.filename().name();
}

} // namespace

uint32_t Node::GetLanguage()
{
    if (m_Language != 0)
        return m_Language;
    char const* file = nullptr;
    if (Lex::Token* token = GetToken()) {
        for (Lex::Token* t = token; t && !file; t = t->prev())
            file = FileOf(t);
        for (Lex::Token* t = token; t && !file; t = t->next())
            file = FileOf(t);
    }
    uint32_t language = LanguageOfFile(file);
    if (language != 0)
        m_Language = language;
    return language;
}

uint32_t Node::LanguageOfFile(char const* fileName)
{
    if (!fileName)
        return LANG_UNKNOWN;
    char const* dot = strrchr(fileName, '.');
    if (!dot || !dot[1])
        return LANG_UNKNOWN;
    char ext[8];
    size_t n = strlen(dot + 1);
    if (n >= sizeof ext)
        return LANG_UNKNOWN;
    for (size_t i = 0; i <= n; ++i)
        ext[i] = static_cast<char>(tolower(static_cast<unsigned char>(dot[1 + i])));
    static struct {
        char const* ext;
        uint32_t language;
    } const table[] = {
        {"h", LANG_CPP},     {"cpp", LANG_CPP},     {"c", LANG_CPP},    {"cs", LANG_CS},
        {"acc", LANG_ASPECT}, {"ah", LANG_ASPECT}, {"java", LANG_JAVA}, {"jak", LANG_JAK},
    };
    for (auto const& entry : table)
        if (strcmp(ext, entry.ext) == 0)
            return entry.language;
    return LANG_UNKNOWN;
}

bool FuncNode::IsDecl()
{
    // NodeFuncDecl is the most derived class of a declaration, so its address
    // is that of the whole object.
    NodeFuncDecl* decl = GetDecl();
    return decl && static_cast<void*>(decl) == dynamic_cast<void*>(this);
}
