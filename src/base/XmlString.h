// A string that builds XML text: each member appends a piece and returns the
// string itself.
#pragma once

#include "base/Str.h"

class XmlString : public Str {
public:
    XmlString() {}
    ~XmlString() override {}

    XmlString& Open(char const* tag);                          // <tag>
    XmlString& Open(char const* tag, char const* attributes);  // <tag attributes>
    XmlString& Close(char const* tag);                         // </tag>
    XmlString& AddSimple(char const* tag);                     // <tag />
    // Open, the text as it is, Close.
    XmlString& Add(char const* tag, char const* text);
    XmlString& Add(char const* tag, char const* attributes, char const* text);
    // The text encoded by EncodeText.
    XmlString& AddText(char const* text);

    // Replaces &, ", < and > by their entities (& first, so the entities are
    // not encoded again); apostrophes stay.
    static Str EncodeText(Str text);

    // From start on: 0 when start lies outside the text or no "<tag" follows
    // it; else the index of "<tag>", else of "<tag />", else -1.
    int FindXml(char const* tag, int start) const;
    // From start on: when "<tag>" occurs, the index behind it, with content
    // set to the text up to the next "</tag>" (-1 when there is none);
    // otherwise the index of "<tag />", or -1.
    int FindXml(char const* tag, Str& content, int start) const;

private:
    // Index of what at or after start, or -1.
    int Find(char const* what, int start) const;
};
