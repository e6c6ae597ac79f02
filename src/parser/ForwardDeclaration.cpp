#include "parser/ForwardDeclaration.h"

#include "parser/NameSpaceBlocks.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeTemplateDef.h"
#include "parser/SyntaxEdit.h"
#include "scanner/Token.h"

#include <cctype>

namespace {

// The template head without its default arguments, which a declaration
// may not repeat: "template <class T, int N>".
Str TemplateHeadWithoutDefaults(NodeTemplateDef& head)
{
    auto wordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    Str text;
    int angles = 0;
    int parens = 0;
    bool skipping = false;
    Lex::Token* last = head.GetLastToken();
    for (Lex::Token* t = head.GetFirstToken(); t; t = t == last ? nullptr : t->next()) {
        if (SyntaxEdit::IsSkipped(*t) || t->language == Lex::Token::pre_id)
            continue;
        int type = t->type;
        bool top = angles == 1 && parens == 0;
        if (top && (type == Lex::TOK_COMMA || type == Lex::TOK_GREATER))
            skipping = false;
        else if (top && type == Lex::TOK_ASSIGN)
            skipping = true;
        if (type == Lex::TOK_LESS && parens == 0)
            ++angles;
        else if (type == Lex::TOK_GREATER && parens == 0)
            --angles;
        else if (type == Lex::TOK_RSH && parens == 0) {
            angles -= 2;
            // ">>" that ends a default argument and the head.
            if (skipping && angles <= 0) {
                text += ">";
                continue;
            }
        }
        else if (type == Lex::TOK_OPEN_ROUND)
            ++parens;
        else if (type == Lex::TOK_CLOSE_ROUND)
            --parens;
        if (skipping)
            continue;
        char const* word = t->text->text;
        if (!text.IsEmpty()) {
            char before = text.GetBuffer()[text.GetLength() - 1];
            if ((wordChar(before) && wordChar(word[0])) || before == ',' || text == "template")
                text += " ";
        }
        text += word;
    }
    return text;
}

} // namespace

Str ForwardDeclaration::GetText(NodeClassDef* cls, Str const& name)
{
    NodeClassDecl* head = cls ? cls->GetClassDecl() : nullptr;
    NodeKeyword* key = head ? head->GetKey() : nullptr;
    Lex::Token* keyToken = key ? key->GetToken() : nullptr;
    if (!keyToken || name.IsEmpty())
        return Str();
    char const* keyText = nullptr;
    if (keyToken->type == Lex::TOK_CLASS)
        keyText = "class ";
    else if (keyToken->type == Lex::TOK_STRUCT)
        keyText = "struct ";
    else if (keyToken->type == Lex::TOK_UNION)
        keyText = "union ";
    else
        return Str();
    NameSpaceBlocks spaces(cls);
    Str text = spaces.GetOpenText();
    text.Replace("\n", " ");
    if (NodeTemplateDef* templ = head->GetTemplDef())
        text += TemplateHeadWithoutDefaults(*templ) + " ";
    text += keyText + name + ";";
    Array<NodeNSDef*> blocks;
    spaces.GetBlocks(blocks);
    for (int i = 0; i < blocks.GetCount(); ++i)
        text += " }";
    return text;
}
