// A text scanned and parsed end to end through the parse driver, with the
// parser's standard output captured, and a compact outline of the structure
// the parse found.
#pragma once

#include "../Captured.h"
#include "Scanned.h"

#include "parser/Info.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFile.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeFuncDef.h"
#include "parser/NodeKeyword.h"
#include "parser/NodeNSDef.h"
#include "parser/NodeTemplateDef.h"
#include "parser/ParseServices.h"
#include "parser/SimpleCPPParser.h"
#include "parser/SimpleTU.h"
#include "scanner/ErrorStream.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

namespace testutil {

inline std::string NameText(Name* name)
{
    return name ? name->c_str() : "?";
}

inline std::string Outline(Node* node);

// The children of a node, outlined and joined by blanks.
inline std::string OutlineChildren(Node* node)
{
    std::string text;
    if (!node)
        return text;
    for (int i = 0; i < node->GetChildCount(); ++i) {
        std::string child = Outline(node->ChildAt(i));
        if (child.empty())
            continue;
        if (!text.empty())
            text += " ";
        text += child;
    }
    return text;
}

inline std::string AccessOf(FuncInfo* info, NodeFuncDecl* decl)
{
    if (!info || !decl || !decl->GetClass())
        return "";
    // A Java-like member without an access word has package access: "none".
    if (info->GetAccess() == ACCESS_NONE)
        return "/none";
    return std::string("/") + ConvertAccessTypeToString(info->GetAccess());
}

// class A : public B, private C<int> { decl f/public def g:init } ...
inline std::string Outline(Node* node)
{
    if (!node)
        return "";
    switch (node->GetKind()) {
    case NT_FILE:
        return OutlineChildren(node);
    case NT_CLASS_DEF: {
        NodeClassDef* def = static_cast<NodeClassDef*>(node);
        NodeClassDecl* head = def->GetClassDecl();
        NodeKeyword* key = head ? head->GetKey() : nullptr;
        std::string text = def->IsRefinement() ? "refines " : "";
        text += key && key->GetToken() ? key->GetToken()->text->text : "?";
        text += " " + NameText(def->GetName());
        if (NodeBaseClassDecl* bases = def->GetBaseClassDecl()) {
            text += " :";
            for (int i = 0; NodeBaseClass* base = bases->GetBase(i); ++i) {
                text += i ? ", " : " ";
                text += ConvertAccessTypeToString(base->m_Access);
                text += " " + NameText(base->GetID() ? base->GetID()->GetName() : nullptr);
                if (NodeTempleInstanceDef* args = base->GetTemplArgs())
                    text += args->AsString().GetBuffer();
            }
        }
        if (NodeBlock* body = def->GetBody())
            text += " { " + OutlineChildren(body) + " }";
        return text;
    }
    case NT_NS_DEF:
        return "namespace " + NameText(node->GetName()) + " { " + OutlineChildren(node->ChildAt(1)) + " }";
    case NT_FUNC_DECL: {
        NodeFuncDecl* decl = static_cast<NodeFuncDecl*>(node);
        return "decl " + NameText(decl->GetName()) + AccessOf(decl->GetInfo(), decl);
    }
    case NT_FUNC_DEF: {
        NodeFuncDef* def = static_cast<NodeFuncDef*>(node);
        NodeFuncDecl* decl = def->GetDecl();
        std::string text = "def ";
        text += decl && decl->GetQualName() ? decl->GetQualName()->c_str() : "?";
        text += AccessOf(decl ? decl->GetInfo() : nullptr, decl);
        if (def->GetInitDecl())
            text += ":init";
        if (!def->GetBody())
            text += "(no body)";
        return text;
    }
    case NT_BLOCK: {
        NodeBlock* block = static_cast<NodeBlock*>(node);
        std::string name = block->m_pPrecedingNode ? NameText(block->m_pPrecedingNode->GetName()) + " " : "";
        return name + "{ " + OutlineChildren(node) + " }";
    }
    default:
        return "";
    }
}

// Member variables of a database: "x/private y/private".
inline std::string Vars(ClassDB const& db)
{
    std::string text;
    for (int i = 0; i < db.m_MemberVars.GetCount(); ++i) {
        MemberVarInfo* info = db.m_MemberVars[i];
        if (!text.empty())
            text += " ";
        text += info->GetNameText();
        text += std::string("/") + ConvertAccessTypeToString(info->GetAccess());
    }
    return text;
}

} // namespace testutil

// The project side of a parse: an error stream that writes to out.
struct ParseErrors : ParseServices {
    explicit ParseErrors(std::ostream& out) : stream(out) { stream.reset(); }
    Lex::ErrorStream& GetErrorStream() override { return stream; }

    Lex::ErrorStream stream;
};

struct Parsed {
    explicit Parsed(char const* text, char const* file = "A.h", CTokenListener* listener = nullptr)
        : scanned(text, file), project(errors)
    {
        parser.SetTokenListener(listener);
        testutil::Captured captured;
        tu.reset(parser.parse(scanned.unit, project));
        out = captured.All();
    }

    std::string Outline() const { return testutil::Outline(parser.GetFileNode()); }

    // "qualified name: signature" of every declaration, with " +def" when it
    // is linked to a definition, joined by " | ".
    std::string Functions() const
    {
        std::string text;
        for (int i = 0; tu && i < tu->m_FuncDecls.GetCount(); ++i) {
            NodeFuncDecl* decl = tu->m_FuncDecls[i];
            FuncInfo* info = decl->GetInfo();
            if (!text.empty())
                text += " | ";
            text += decl->GetQualName() ? decl->GetQualName()->c_str() : "?";
            text += ": ";
            text += info ? info->GetSignature(false).GetBuffer() : "?";
            if (decl->GetDef())
                text += " +def";
        }
        return text;
    }

    Scanned scanned;
    std::ostringstream errors;
    ParseErrors project;
    mutable SimpleCPPParser parser;
    std::unique_ptr<SimpleTU> tu;
    std::string out;
};

namespace testutil {

// The checks every parser table row shares: a parse result, no message, the
// outline, the declarations unless functions is null and, with printsBack,
// the text printed back byte for byte (the driver puts a line break in front
// of the first token). False without a parse result.
inline bool ExpectParsed(Parsed const& p, char const* text, char const* outline, char const* functions,
                         bool printsBack)
{
    EXPECT_NE(nullptr, p.tu) << text << "\n" << p.out;
    if (!p.tu)
        return false;
    EXPECT_EQ("", p.out) << text;
    EXPECT_EQ(outline, p.Outline()) << text;
    if (functions) {
        EXPECT_EQ(functions, p.Functions()) << text;
    }
    if (printsBack) {
        EXPECT_EQ(std::string("\n") + text, p.scanned.Text()) << text;
    }
    return true;
}

} // namespace testutil
