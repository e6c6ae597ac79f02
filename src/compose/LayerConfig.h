// One layer's settings, read from one line of an equation file: its names,
// how it is bound (static, dynamically linked, dynamically loaded, binding
// unit), its import prefix and its if-config name.
#pragma once

#include "base/Str.h"

class StringTokenizer;

class LayerConfig {
public:
    // Parses a layer line: the layer name, then keywords ("dynamiclink",
    // "dynamicload", "bindingunit <name>") and at most one if-config name; a
    // word beginning with ";", "#" or "//" ends the line. Every "/" is read
    // as ".". File and line place the errors about the line (none when
    // null) and are kept for the errors found later (a missing folder). A
    // name that is no folder path below the source folder, a word that
    // spells a keyword wrongly or means nothing, and a binding unit or
    // switch name that is no C++ identifier are errors.
    explicit LayerConfig(Str const& line, char const* file = nullptr, int lineNumber = 0);
    // A configuration with the two names and no settings (derived layers).
    LayerConfig(Str const& name, Str const& plainName);
    // Copies the names and the three binding marks only.
    LayerConfig(LayerConfig& other);
    LayerConfig& operator=(LayerConfig const&) = delete;

    // Marks the layer loaded dynamically; clears the static mark.
    void SetLoadDynamic();
    // Marks the layer linked dynamically, which also loads it dynamically.
    void SetLinkDynamic();
    void SetBindingUnit(Str const& name);
    // The explicit binding unit; else "base" for a layer not loaded
    // dynamically; else the plain name.
    Str GetBindingUnitName() const;
    // One word of a layer line ("/" already read as "."); rest is the
    // line's tokenizer, from which "bindingunit" takes its argument. False
    // for a word ignored because an if-config name is already set. A word
    // taken as the if-config name that is one or two letters from a keyword,
    // or "bindingunit" without its unit, is an error at file and line, as is
    // a second word that is no keyword.
    bool ParseConfigToken(Str const& word, StringTokenizer& rest, char const* file = nullptr,
                          int lineNumber = 0);

    // The full name: the folder path with "." between the parts, preceded
    // by the import prefix ("lib.base.gui").
    Str m_LayerName;
    // The name as the layer's own equation line wrote it, no import prefix.
    Str m_PlainName;
    // The explicit binding unit; empty when none was given.
    Str m_BindingUnit;
    bool m_bStatic;
    bool m_bLinkDynamic;
    bool m_bLoadDynamic;
    // The configuration belongs to a derived layer.
    bool m_bDerivative;
    // The import prefix with its trailing "." ("lib."); empty when none.
    Str m_ImportPrefix;
    // The first word after the name that is no keyword; empty when none.
    Str m_IfConfigName;
    // The equation file and line the layer was read from (for a derived
    // layer: the link that made it, line 0); empty and 0 when not known.
    Str m_File;
    int m_Line;

    // Whether the layer name is a folder path: no empty part between its
    // "." separators, none at its ends.
    bool HasPathName() const;
    // Whether the text is a binding unit name: "."-separated parts of
    // letters, digits and "_", the first not beginning with a digit, so
    // that its layer class name (each "." as "_") is a C++ identifier.
    static bool IsUnitName(Str const& text);
    // Whether the text is a C++ identifier (a switch name becomes part of
    // the enumerator "feature_<name>").
    static bool IsIdentifier(Str const& text);
    // The keyword that word is one or two letters from (letter case
    // ignored), null when none; a keyword itself gives null.
    static char const* NearKeyword(Str const& word);

private:
    void Error(Str const& text) const;
};
