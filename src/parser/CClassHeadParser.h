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

    bool ProcessToken() override;
    // The name after a class key becomes the class name of the head.
    void OnTokID() override;
    // `:` after a class name: the base-class list, then the body's `{`.
    void OnTokColon() override;
    // The body of the class head being read, else as CBaseParser.
    void OnNewBlock(NodeBlock& block) override;

    // The class (or refinement) definition over the last class key and
    // name, with its base-class list read up to the `{`; registered with
    // the state. Null without a usable class key.
    NodeClassDef* AddClass(NodeID& name);
    // Reads the base-class list from the current `:` up to the `{`, which
    // stays current; null when the current token is no `:` or the list is
    // empty.
    NodeBaseClassDecl* ParseBaseClassDecl();
    // Reads the template arguments of base from its `<` through the `>`
    // that closes them (a `>>` closes two levels); stops before a `{`.
    void ParseBaseTemplDecl(NodeBaseClass& base);
    // The last node when it is a keyword node; else null.
    NodeKeyword* IsLastNodeKeyword();
    void OnJavaBaseDecl() {}

private:
    // True when the state's last keyword is class, struct, aspect or
    // interface.
    bool LastKeywordIsClassKey() const;
    // Makes a class-key keyword node on the current token.
    void AddClassKey();
};
