#include "base/Name.h"

#include "base/StringTokenizer.h"
#include "scanner/Token.h"

template <>
Name* NameBase<Name>::GetName(char const* text, Lex::Token* token)
{
    NameMap<Name>& registry = m_AllNames;
    ++registry.m_Requests;
    Name* name;
    if (auto* node = registry.Find(text)) {
        name = node->GetValue();
    } else {
        ++registry.m_Allocations;
        name = new Name(text);
        registry.Put(text, name);
    }
    if (token)
        name->m_Locations.Add(token->location);
    return name;
}

void Name::AddQualName(QualName& qualName)
{
    int n = m_QualNames.GetCount();
    for (int i = 0; i < n; ++i)
        if (m_QualNames[i] == &qualName)
            return;
    m_QualNames.Add(&qualName);
}

void Name::GetQualNames(Array<char const*, char const* const&>& texts) const
{
    int n = m_QualNames.GetCount();
    for (int i = 0; i < n; ++i)
        texts.Add(m_QualNames[i]->c_str());
}

QualName* QualName::GetName(Array<Name*, Name* const&> const& components)
{
    Str key;
    int n = components.GetCount();
    for (int i = 0; i < n; ++i) {
        key += "::";
        key += components[i]->GetText();
    }
    NameMap<QualName>& registry = m_AllNames;
    ++registry.m_Requests;
    QualName* qualName;
    if (auto* node = registry.Find(key)) {
        qualName = node->GetValue();
    } else {
        ++registry.m_Allocations;
        qualName = new QualName(key);
        registry.Put(key, qualName);
    }
    // A qualified name gets its components when it is made, and each of
    // them then lists it; a name that is listed need not be searched again,
    // which keeps names such as "std" cheap however many qualified names
    // they are part of.
    bool fresh = qualName->m_Components.GetCount() == 0;
    if (fresh && &qualName->m_Components != &components)
        qualName->m_Components = components;
    Array<Name*, Name* const&> const& made = qualName->m_Components;
    for (int i = 0; i < n; ++i) {
        Name* component = components[i];
        Array<QualName*, QualName* const&>& listed = component->m_QualNames;
        if (fresh) {
            // Only this call has listed it so far, always last.
            int count = listed.GetCount();
            if (count == 0 || listed[count - 1] != qualName)
                listed.Add(qualName);
        } else if (i >= made.GetCount() || made[i] != component) {
            component->AddQualName(*qualName);
        }
    }
    return qualName;
}

QualName* QualName::GetName(char const* text)
{
    Array<Name*, Name* const&> components;
    StringTokenizer pieces(text ? text : "", Str("::"));
    while (pieces.HasMoreTokens())
        components.Add(Name::GetName(pieces.GetNextToken()));
    return GetName(components);
}

Str QualName::GetScopeName() const
{
    Str scope;
    int n = m_Components.GetCount();
    for (int i = 0; i + 1 < n; ++i) {
        scope += "::";
        scope += m_Components[i]->GetText();
    }
    if (scope.IsEmpty())
        scope = "::";
    return scope;
}
