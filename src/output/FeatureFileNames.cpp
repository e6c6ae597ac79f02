#include "output/FeatureFileNames.h"

#include "base/ErrorLog.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "output/LayerDecorator.h"
#include "output/LayerInterface.h"
#include "output/PLFactory.h"

#include <cctype>

bool FeatureFileNames::Claim(Str const& folder, Str const& name, Str const& what)
{
    Str path = folder + "/" + name + ".h";
    if (auto* entry = m_Claimed.Find(path)) {
        ErrorLog::OnError("the " + what + " and the " + entry->GetValue() + " would both be written to '" + path +
                          "'; the " + what + " is not written");
        return false;
    }
    m_Claimed[path] = what;
    return true;
}

bool FeatureFileNames::CheckIdentifier(Str const& name, Str const& what)
{
    char const* text = name.GetBuffer();
    bool ok = text && (std::isalpha(static_cast<unsigned char>(*text)) || *text == '_');
    for (char const* p = text; ok && *p; ++p)
        ok = std::isalnum(static_cast<unsigned char>(*p)) || *p == '_';
    if (!ok)
        ErrorLog::OnWarning("the " + what + " '" + name + "' is not a C++ identifier; its generated code will not compile");
    return ok;
}

void FeatureFileNames::GenerateFeatureClasses(LayerStack& stack)
{
    // The composed classes are written already; the generated classes
    // must not overwrite them or one another.
    FeatureFileNames names;
    for (auto* node = stack.m_ComposedClasses.GetFirst(); node; node = stack.m_ComposedClasses.GetNext(node))
        names.Claim(stack.m_OutDir, node->GetKey(), "class '" + node->GetKey() + "'");
    Str const& product = stack.m_ProductLineName;
    CheckIdentifier(product, "product-line name");
    if (names.Claim(stack.m_OutDir, product, "product-line interface '" + product + "'"))
        LayerInterface layerInterface(stack);
    if (!stack.HasGeneratedClassReference("PlCreate") ||
        names.Claim(stack.m_OutDir, "PlCreate", Str("factory class 'PlCreate'")))
        PLFactory factory(stack);
    for (int i = 0; i < stack.GetCount(); ++i) {
        LayerDecorator* decorator = LayerDecorator::Of(*stack[i]);
        if (!decorator || decorator->m_bWritten)
            continue;
        Str const& binding = decorator->GetBindingName();
        CheckIdentifier(decorator->m_LayerClassName, "layer class name");
        Str folder = decorator->GetFirstLayer() ? decorator->GetFirstLayer()->m_DestDir : stack.m_OutDir;
        if (names.Claim(folder, decorator->m_LayerClassName, "layer class of binding unit '" + binding + "'"))
            decorator->CreateLayerFile();
        else
            decorator->m_bWritten = true;
    }
}
