// A function definition: child 0 the declaration, child 1 the constructor
// initializer list or null, child 2 the body block or null.
#pragma once

#include "parser/Node.h"

class NodeBlock;
class NodeInitDecl;

class NodeFuncDef : public FuncNode {
public:
    // Links the declaration, its info and the init list to this definition.
    NodeFuncDef(NodeFuncDecl& decl, NodeInitDecl* init, NodeBlock* body);

    Name* GetName() const override;
    Lex::Token* GetToken() override;
    NodeID* GetNameNode() override;
    NodeFuncDecl* GetDecl() override;
    NodeFuncDef* GetDef() override { return this; }

    NodeInitDecl* GetInitDecl() const;
    NodeBlock* GetBody() const;

    // Stores the text between the body's braces in the info; nothing for an
    // empty body.
    void OnScopeLeaved();
    // Unlinks the init list's tokens and drops the list.
    void DeleteInitializer();
    // Merges list into the own init list, or, without one, moves its tokens
    // in front of the body and takes it.
    void AddInitializer(NodeInitDecl* list);
    // Hands the init list over to another definition.
    void MoveInitializer(NodeFuncDef* to);
};
