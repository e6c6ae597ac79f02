#include "output/LowerVersions.h"

#include "compose/FOPModule.h"
#include "output/FuncHeadTokens.h"
#include "output/ModuleOutput.h"
#include "output/TransformedFuncs.h"
#include "parser/ClassDB.h"
#include "parser/Info.h"
#include "parser/NodeFuncDecl.h"
#include "parser/SimpleTU.h"
#include "scanner/Token.h"

#include <cstring>

Str LowerVersions::List(FOPModule& module, Str const& name)
{
    Array<FOPModule*> lower;
    for (FOPModule* m = module.GetRefinedModule(); m; m = m->GetRefinedModule())
        lower.Add(m);
    Str list;
    for (int i = lower.GetCount(); i-- > 0;) {
        SimpleTU* tu = lower[i]->GetParseUnit();
        if (!tu)
            continue;
        for (int j = 0; j < tu->m_FuncDecls.GetCount(); ++j) {
            NodeFuncDecl* decl = tu->m_FuncDecls[j];
            if (!decl || !decl->GetInfo())
                continue;
            Str key = OriginalKey(*lower[i], *decl);
            if (KeyName(key) != name)
                continue;
            if (!list.IsEmpty())
                list += ", ";
            list += key;
            Str where = Where(*decl);
            if (!where.IsEmpty())
                list += " at " + where;
        }
    }
    return list;
}

Str LowerVersions::OriginalKey(FOPModule& module, NodeFuncDecl& decl)
{
    // A transformed module records every function it handled under its key
    // before renaming.
    TransformedFuncs& funcs = ModuleOutput::Of(module).GetTransformedFuncs();
    for (auto* entry = funcs.GetFirst(); entry; entry = funcs.GetNext(entry))
        if (entry->GetValue() == &decl)
            return entry->GetKey();
    return TransformedFuncs::GetFuncName(*decl.GetInfo());
}

Str LowerVersions::KeyName(Str const& key)
{
    char const* text = key.GetBuffer();
    for (char const* prefix : {"pointcut ", "advice "})
        if (strncmp(text, prefix, strlen(prefix)) == 0)
            text += strlen(prefix);
    char const* open = strchr(text, '(');
    Str name;
    name.SetData(text, open ? static_cast<size_t>(open - text) : strlen(text));
    return name;
}

Str LowerVersions::Where(NodeFuncDecl& decl)
{
    Lex::Token* token = FuncHeadTokens::NameToken(decl);
    if (!token || token->location.empty())
        return Str();
    Str where;
    where.Format("%s:%d", token->location.filename().name(), token->location.line());
    return where;
}
