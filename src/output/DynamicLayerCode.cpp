#include "output/DynamicLayerCode.h"

#include "base/Name.h"
#include "base/StringArray.h"
#include "compose/EquationFile.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "output/BaseTransform.h"
#include "output/ModuleIncludes.h"
#include "output/ModuleOutput.h"
#include "parser/NodeClassDef.h"
#include "scanner/Token.h"

#include <cstring>

namespace {

char const* Text(Lex::Token const& token) { return token.text ? token.text->text : ""; }

// The last token of the comment that holds the token: a block comment is
// scanned as "/*", one text per line and "*/", a line comment as "//" and
// its text.
Lex::Token* CommentEnd(Lex::Token& token)
{
    Lex::Token* t = &token;
    while (t->type != Lex::TOK_COMMENT_END && t->next() &&
           (t->next()->type == Lex::TOK_COMMENT_TEXT || t->next()->type == Lex::TOK_COMMENT_END))
        t = t->next();
    return t;
}

bool IsFeatureConfig(FOPModule& module, Layer& layer)
{
    NodeClassDef* cls = module.GetMainClass();
    if (!cls)
        return false;
    Name* name = cls->GetName();
    Str const& layerName = layer.m_LayerName;
    static char const ending[] = "DynConditionalConfig";
    size_t n = sizeof(ending) - 1;
    return name && std::strcmp(name->c_str(), "DynamicFeatureConfig") == 0 && layerName.GetLength() >= n &&
           layerName.Right(n) == ending;
}

} // namespace

void DynamicLayerCode::AddGuard(Lex::Token& open, Layer& layer, Str const& fallback, FOPModule& module)
{
    StringArray names;
    layer.GetDynamicIfConfigNames(names);
    Str conditions;
    for (int i = 0; i < names.GetCount(); ++i) {
        if (i > 0)
            conditions += "\r\n\t\t\t && ";
        conditions += "Config::GetInstance().IsFeatureActive(DynamicFeatureConfig::feature_";
        conditions += names[i];
        conditions += ")";
    }
    Str text("\n\t    if (! (");
    text += conditions;
    text += ") ) ";
    text += fallback;
    text += ";";
    open.AddTokenAfter(*BaseTransform::NewTextToken(text));
    if (ModuleIncludes* includes = ModuleOutput::Of(module).GetIncludes())
        ModuleIncludes::AddInclude(includes->m_HeaderIncludes, "Config");
}

void DynamicLayerCode::FillFeatureConfig(FOPModule& module, Layer& layer)
{
    if (!IsFeatureConfig(module, layer))
        return;
    LayerStack* stack = layer.m_pStack;
    if (!stack || !stack->m_pEquation)
        return;
    StringArray names;
    stack->m_pEquation->GetDynJampackLayers(names);
    Str features("\n");
    Str mapping("\n");
    for (int i = 0; i < names.GetCount(); ++i) {
        features += "feature_";
        features += names[i];
        features += ",\n";
        mapping += "m_FeatureNames[feature_";
        mapping += names[i];
        mapping += "]=\"";
        mapping += names[i];
        mapping += "\";";
    }
    for (Lex::Token* t = module.GetFirstToken(); t; t = t->next()) {
        if (!(t->flags & Lex::Token::comment_flag))
            continue;
        // The list goes after the whole comment, so that a block comment
        // does not enclose it; a comment holding both markers gets the
        // feature list only.
        char const* text = Text(*t);
        if (std::strstr(text, "<ADD_FEATURES />"))
            t = &CommentEnd(*t)->AddTokenAfter(*BaseTransform::NewTextToken(features));
        else if (std::strstr(text, "<ADD_FEATURE_MAPPING />"))
            t = &CommentEnd(*t)->AddTokenAfter(*BaseTransform::NewTextToken(mapping));
    }
}
