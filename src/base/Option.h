// Command-line options: each knows its name (without the leading "-"), its
// help text and the field it writes.
#pragma once

#include "base/Str.h"

class Option {
public:
    // Null texts give empty ones.
    Option(char const* name, char const* help);
    Option(Option const&) = delete;
    Option& operator=(Option const&) = delete;
    virtual ~Option() {}

    virtual bool IsSet() const = 0;
    // Given without a value; nothing by default.
    virtual void Set() {}
    // Given with a value; ignored by default.
    virtual void Set(char const*) {}
    virtual Str GetStrVal() const = 0;
    // A switch takes no value.
    virtual bool IsSwitch() const { return false; }

    Str const& GetName() const { return m_Name; }
    Str const& GetHelp() const { return m_Help; }

protected:
    Str m_Name;
    Str m_Help;
};

// A switch. A value given to it is ignored.
class BoolOption : public Option {
public:
    BoolOption(char const* name, char const* help, bool& target) : Option(name, help), m_pTarget(&target) {}

    bool IsSet() const override { return *m_pTarget; }
    void Set() override { *m_pTarget = true; }
    using Option::Set;
    Str GetStrVal() const override { return *m_pTarget ? "true" : "false"; }
    bool IsSwitch() const override { return true; }

private:
    bool* m_pTarget;
};

// An option with a text value, or a positional parameter. The target points
// at the unset marker, at the default or at the option's own copy of the
// value, so the text read through it lives as long as the option.
class StrOption : public Option {
public:
    StrOption(char const* name, char const* help, char const** target, char const* def)
        : Option(name, help), m_pTarget(target), m_pDefault(def) {}

    // True while the target is the default (compared as pointers).
    bool IsSet() const override { return *m_pTarget == m_pDefault; }
    // The target becomes the default.
    void Set() override { *m_pTarget = m_pDefault; }
    // The target becomes a copy of the value (null gives the empty text).
    void Set(char const* value) override;
    // The target text, or "active, value = NULL" for a null target.
    Str GetStrVal() const override;

    // The text "undefined" a string option without default holds until it is
    // given; recognised by address.
    static char const* const m_UndefinedVal;

private:
    char const** m_pTarget;
    char const* m_pDefault;
    Str m_Value;
};
