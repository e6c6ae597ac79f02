#include "output/JavaPackage.h"

#include "base/ErrorLog.h"
#include "compose/FOPModule.h"
#include "output/BaseTransform.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "scanner/Token.h"

#include <cstring>

namespace {

char const* Text(Lex::Token const& token) { return token.text ? token.text->text : ""; }

// The `package` statement before the module's class: answers its `package`
// word, sets end to its `;` and name to the package's name. Null without one.
Lex::Token* FindPackage(FOPModule& module, Lex::Token*& end, Str& name)
{
    NodeClassDef* cls = module.GetMainClass();
    NodeClassDecl* head = cls ? cls->GetClassDecl() : nullptr;
    Lex::Token* stop = head ? head->GetFirstToken() : nullptr;
    Lex::Token* prev = nullptr;
    for (Lex::Token* t = module.GetFirstToken(); t && t != stop; t = t->next()) {
        if (BaseTransform::IsSkipped(*t))
            continue;
        if (t->type == Lex::TOK_ID && std::strcmp(Text(*t), "package") == 0 &&
            (!prev || prev->type == Lex::TOK_SEMI_COLON)) {
            name = Str();
            for (end = BaseTransform::NextNonWhite(t); end && end->type != Lex::TOK_SEMI_COLON;
                 end = BaseTransform::NextNonWhite(end))
                name += Text(*end);
            return end ? t : nullptr;
        }
        prev = t;
    }
    return nullptr;
}

} // namespace

void JavaPackage::WriteOnce(FOPModule& module, FOPModule* first)
{
    if (!first || first == &module)
        return;
    Lex::Token* end = nullptr;
    Lex::Token* otherEnd = nullptr;
    Str own;
    Str other;
    Lex::Token* word = FindPackage(module, end, own);
    FindPackage(*first, otherEnd, other);
    if (own == other) {
        for (Lex::Token* t = word; t;) {
            Lex::Token* next = t->next();
            bool last = t == end;
            BaseTransform::DeleteToken(*t);
            t = last ? nullptr : next;
        }
        return;
    }
    auto describe = [](Str const& name) { return name.IsEmpty() ? Str("no package") : "package " + name; };
    Str text = "this module declares " + describe(own) + ", but " + first->GetSourcePath() + " declares " +
               describe(other) + ": the modules of a class must be in one package";
    NodeClassDecl* head = module.GetMainClass() ? module.GetMainClass()->GetClassDecl() : nullptr;
    Lex::Token* at = word ? word : head ? head->GetFirstToken() : nullptr;
    if (at)
        ErrorLog::OnError(text, *at);
    else
        module.PrintError(text, 0);
}
