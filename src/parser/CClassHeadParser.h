// Adds class heads: class keys, access keywords, refinements and base-class
// lists. The scope parsers the parser state switches between derive from it.
#pragma once

#include "parser/CBaseParser.h"

class NodeBaseClass;
class NodeBaseClassDecl;
class NodeClassDef;
class NodeKeyword;

class CClassHeadParser : public CBaseParser {
public:
    explicit CClassHeadParser(CParserState& state) : CBaseParser(state) {}

    // `class` or `struct` right after `enum` opens no class.
    bool ProcessToken() override;
    // The name after a class key becomes the class name of the head; a
    // second name before `:` or `{` replaces a first one that was an export
    // macro, `final` is passed over. A macro between a namespace's name and
    // its `{` is passed over with its arguments.
    void OnTokID() override;
    // `:` after a class name: the base-class list, then the body's `{`; a
    // list cut off by the end of the file is an error ("unexpected end of
    // file") that fails the file.
    // After `enum E` the underlying type is passed over.
    void OnTokColon() override;
    // The body of the class head being read, else as CBaseParser.
    void OnNewBlock(NodeBlock& block) override;

    // The class (or refinement) definition over the last class key and
    // name, with its base-class list read up to the `{`; registered with
    // the state. Null without a usable class key.
    NodeClassDef* AddClass(NodeID& name);
    // Reads the base-class list from the current `:` up to the `{`, which
    // stays current; null when the current token is no `:` or the list is
    // empty. An entry begins at `virtual` or its access keyword, whichever
    // comes first; Y<int>::Inner is one entry named Inner.
    NodeBaseClassDecl* ParseBaseClassDecl();
    // Reads the template arguments of base from its `<` through the `>`
    // that closes them (a `>>` closes two levels); stops before a `{`.
    void ParseBaseTemplDecl(NodeBaseClass& base);
    // The last node when it is a keyword node; else null.
    NodeKeyword* IsLastNodeKeyword();
    void OnJavaBaseDecl() {}

private:
    // At `refines`: a class key and a name must follow; else an error that
    // fails the file, and false.
    bool CheckRefinementHead();
    // A name before the class key (or its `refines`) of a class being
    // defined that is no modifier (`refine class A`, `publc class A`) is an
    // error that fails the file. Keywords, template heads, attributes,
    // annotations, constraints and macro-like names (EXPORT) may stand
    // there.
    void CheckWordsBeforeKey(NodeKeyword& key);
    // True when the state's last keyword is class, struct, aspect or
    // interface.
    bool LastKeywordIsClassKey() const;
    // Makes a class-key keyword node on the current token.
    void AddClassKey();
};
