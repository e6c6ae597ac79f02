#include "output/UnitClassQualifier.h"

#include "output/BaseTransform.h"
#include "output/TrailingCode.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeID.h"
#include "scanner/Token.h"

#include <cstring>

namespace {

char const* Text(Lex::Token const& token) { return token.text ? token.text->text : ""; }

} // namespace

void UnitClassQualifier::RequalifyDefinition(NodeFuncDecl& decl, Str const& module, Str const& unitClass)
{
    NodeID* id = decl.GetID();
    Lex::Token* t = id ? id->GetFirstToken() : nullptr;
    Lex::Token* last = id ? id->GetLastToken() : nullptr;
    for (; t; t = t->next()) {
        if (!BaseTransform::IsSkipped(*t) && module == Text(*t)) {
            Lex::Token* sep = t->next();
            while (sep && BaseTransform::IsSkipped(*sep))
                sep = sep->next();
            if (sep && std::strcmp(Text(*sep), "::") == 0)
                t->text = Lex::StrHashTable::insert(unitClass.GetBuffer());
        }
        if (t == last)
            break;
    }
}

void UnitClassQualifier::RequalifyTrailingCode(TrailingCode& code, Str const& module, Str const& unitClass)
{
    for (auto const& chunk : code.GetPieces()) {
        if (!chunk.m_bCode)
            continue;
        // Only heads and initializers: a function body names the interface.
        int depth = 0;
        for (Lex::Token* t = chunk.m_pFirst; t; t = t == chunk.m_pLast ? nullptr : t->next()) {
            if (BaseTransform::IsSkipped(*t))
                continue;
            char const* text = Text(*t);
            if (std::strcmp(text, "{") == 0)
                ++depth;
            else if (std::strcmp(text, "}") == 0 && depth > 0)
                --depth;
            if (depth > 0 || module != text)
                continue;
            Lex::Token* sep = t->next();
            while (sep && BaseTransform::IsSkipped(*sep))
                sep = sep->next();
            if (sep && std::strcmp(Text(*sep), "::") == 0)
                t->text = Lex::StrHashTable::insert(unitClass.GetBuffer());
        }
    }
}
