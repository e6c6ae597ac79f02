// Interned names. Every distinct identifier exists once as a Name and every
// distinct qualified name (text "::A::B") once as a QualName, so names are
// equal exactly when they are the same object. Objects are made only by the
// registries (NameBase<T>::m_AllNames), live for the whole run and are
// deleted by their registry at process exit.
#pragma once

#include "base/Array.h"
#include "base/Diagnostics.h"
#include "base/Map.h"
#include "base/Str.h"
#include "scanner/Location.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

namespace Lex {
class Token;
}

class Name;
class QualName;

// Registry of the objects of one kind, keyed by their texts. It owns the
// objects and deletes them in its destructor.
template <class T>
class NameMap : public MapStringTo<T*, T*> {
public:
    NameMap() : m_Requests(0), m_Allocations(0)
    {
        this->InitBuckets(1017);
        // Every identifier of the run passes through here.
        this->SetIndexed();
    }
    ~NameMap() override
    {
        for (auto* node = this->GetFirst(); node; node = this->GetNext(node))
            delete node->GetValue();
    }

    // Size estimate in bytes: texts, lower-case texts, 8 per location, keys
    // and 11 per entry.
    int32_t GetMemSize() const;
    // "namerequests: %d / allocs: %d (%dkB)\n" on standard output.
    void PrintDebugInfo() const;

    int32_t m_Requests;
    int32_t m_Allocations;
};

// What both kinds hold: the text, its lower-case copy, the text pointer and
// the source locations the name was requested for.
template <class T>
class NameBase {
public:
    NameBase(NameBase const&) = delete;
    NameBase& operator=(NameBase const&) = delete;

    char const* c_str() const { return m_pText; }
    Str const& GetText() const { return m_Text; }
    Str const& GetLowerText() const { return m_LowerText; }

    // Interns a simple name (T = Name only); the token's location, when a
    // token is given, is recorded on every request. Never null.
    static T* GetName(char const* text, Lex::Token* token = nullptr);

    static NameMap<T> m_AllNames;

    ObjArray<Lex::Location, Lex::Location const&> m_Locations;

protected:
    explicit NameBase(char const* text);
    ~NameBase() {}

    Str m_Text;
    Str m_LowerText;
    char const* m_pText;

    friend class NameMap<T>;
};

class Name : public NameBase<Name> {
public:
    // Appends the qualified name unless it is already listed.
    void AddQualName(QualName& qualName);
    // Appends the text of each qualified name this name is a component of;
    // the array is not cleared first.
    void GetQualNames(Array<char const*, char const* const&>& texts) const;

    // The qualified names that have this name among their components, in
    // order of first registration.
    Array<QualName*, QualName* const&> m_QualNames;

private:
    friend class NameBase<Name>;
    friend class NameMap<Name>;
    explicit Name(char const* text) : NameBase<Name>(text) {}
    ~Name() {}
};

class QualName : public NameBase<QualName> {
public:
    // Interns the qualified name of the components, outermost first.
    static QualName* GetName(Array<Name*, Name* const&> const& components);
    // Interns the qualified name of a text such as "A::B"; every run of
    // colons separates two components, empty pieces are skipped, and null
    // counts as empty.
    static QualName* GetName(char const* text);

    // The name without its last component; "::" when nothing is left.
    Str GetScopeName() const;

    int GetComponentCount() const { return m_Components.GetCount(); }
    Name* GetLastComponent() const
    {
        int n = m_Components.GetCount();
        return n ? m_Components[n - 1] : nullptr;
    }

    Array<Name*, Name* const&> m_Components;

private:
    friend class NameMap<QualName>;
    explicit QualName(char const* text) : NameBase<QualName>(text) {}
    ~QualName() {}
};

// The two registries are defined together, in one translation unit.
template <>
NameMap<Name> NameBase<Name>::m_AllNames;
template <>
NameMap<QualName> NameBase<QualName>::m_AllNames;
template <>
Name* NameBase<Name>::GetName(char const* text, Lex::Token* token);

template <class T>
NameBase<T>::NameBase(char const* text) : m_Text(text), m_LowerText(), m_pText(m_Text.GetBuffer())
{
    size_t n = m_Text.GetLength();
    m_LowerText.AllocBuf(n + 1);
    for (size_t i = 0; i < n; ++i)
        m_LowerText += static_cast<char>(tolower(static_cast<unsigned char>(m_pText[i])));
}

template <class T>
int32_t NameMap<T>::GetMemSize() const
{
    int32_t size = 0;
    for (auto* node = this->GetFirst(); node; node = this->GetNext(node)) {
        T const* object = node->GetValue();
        size += static_cast<int32_t>(object->GetText().GetLength() + object->GetLowerText().GetLength()
                                     + node->GetKey().GetLength() + 11)
            + 8 * object->m_Locations.GetCount();
    }
    return size;
}

template <class T>
void NameMap<T>::PrintDebugInfo() const
{
    Diagnostics::Printf(DiagKind::Listing, DiagFlush::None, "namerequests: %d / allocs: %d (%dkB)\n", m_Requests,
                        m_Allocations, GetMemSize() / 1024);
}
