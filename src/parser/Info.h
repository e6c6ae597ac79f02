// The info model: the semantic view of a parsed file (namespaces, classes,
// functions with return type, parameters and body, member variables, types,
// base classes). Infos live until the end of the run and never own their
// children, parents, types, nodes or fragments. Every info prints itself
// through the current source-code printer.
#pragma once

#include "scanner/BlockPool.h"
#include "base/Array.h"
#include "base/GraphNode.h"
#include "base/Str.h"
#include "parser/AccessTypes.h"
#include "parser/SourceCodePrinter.h"

#include <unordered_map>
#include <vector>

class Name;
class DbNode;
class Node;
class FuncNode;
class NodeFuncDecl;
class NodeFuncDef;
class NodeClassDef;
class NodeAssignment;
class FOPModule;
class FuncInfo;
class ClassInfo;
class TypeInfo;
class VarDeclInfo;
class ParamListInfo;

struct AOPInfo {
    enum AopTypes : int {
        AOP_NONE = 0,     // an ordinary function
        AOP_POINTCUT = 1,
        AOP_ADVICE = 2,
    };
};

class Info : public GraphNode<Info> {
public:
    // Info objects live until the end of the run. They come from the
    // block pool; allocating them here also names them for the leak checker,
    // which is told to let them be.
    static void* operator new(std::size_t size) { return Lex::BlockPool::Alloc(size); }
    static void operator delete(void* p, std::size_t size) { Lex::BlockPool::Free(p, size); }

    // A null name stands for "__unnamed__".
    explicit Info(Name* name);
    ~Info() override;
    Info(Info const&) = delete;
    Info& operator=(Info const&) = delete;

    virtual FuncInfo* GetFuncInfo() { return nullptr; }
    virtual ClassInfo* GetClassInfo() { return nullptr; }
    // The name's text.
    virtual Str AsString();
    // A new code fragment of this info; null for kinds without one.
    virtual DbNode* CreateDbNode() = 0;

    Name* GetName() const { return m_pName; }
    // A new name for a member of a class or namespace is counted, so that
    // the member indexes are made again (InfoWithMembers).
    void SetName(Name* name);
    // Grows whenever a member info gets another name.
    static unsigned GetMemberRenameCount() { return s_MemberRenames; }
    char const* GetNameText() const;

    // Puts child into position index (made when missing) and makes this info
    // its parent.
    void SetChild(int index, Info* child);

    // The stored fragment, made by CreateDbNode and stored when missing.
    DbNode* GetDbNode();
    // Appends the fragment of each child that has one to node's children.
    void AddChildDbNodes(DbNode& node);

    // The interned "__unnamed__".
    static Name* Unnamed();

    DbNode* m_pDbNode;
    Name* m_pName;
    // The base classes of a class (BaseClassInfo), filled by the class builder.
    Array<Info*> m_IsA;

private:
    static unsigned s_MemberRenames;
};

// An info whose children are its members.
class InfoWithMembers : public Info {
public:
    explicit InfoWithMembers(Name* name) : Info(name) {}

    ClassInfo* GetClassInfo() override { return nullptr; }

    // The first member function with this name and aop type; with params also
    // with this destructor mark, the same parameters and, when qualifiers is
    // given, these qualifiers.
    FuncInfo* FindFuncInfo(Name& name, AOPInfo::AopTypes aop, ParamListInfo* params, bool destructor,
                           char const* qualifiers = nullptr);
    // Links a definition to the first member declaration that is the same
    // function. It reads the function nodes and is defined with them.
    void SetFuncDef(NodeFuncDef& def);
    // True when info is one of the members.
    bool HasMember(Info const& info);

private:
    // The positions of the members by name, and of the member functions
    // declared by a node by the node's qualified name, both in member order:
    // a look-up asks only the members of its name. Members appended since
    // the last look-up are added to it; it is made again when members went
    // away or a member or function node was renamed.
    void SyncIndex();
    // The positions of the members named name, in order; null if none.
    std::vector<int> const* MembersNamed(void const* name, bool qualified);

    std::unordered_map<void const*, std::vector<int>> m_ByName;
    std::unordered_map<void const*, std::vector<int>> m_ByQualName;
    int m_IndexedCount = 0;
    unsigned m_IndexedRenames = 0;
};

// AsString through the printer's Print for T.
template <class T, class Base>
class InfoPrint : public Base {
public:
    explicit InfoPrint(Name* name) : Base(name) {}

    Str AsString() override
    {
        Str text;
        SourceCodePrinter::GetCurrent().Print(static_cast<T&>(*this), text);
        return text;
    }
};

// The access part of a function or member variable.
class MemberInfo {
public:
    MemberInfo() : m_Access(ACCESS_PRIVATE) {}

    virtual bool IsMethod() { return false; }
    virtual bool IsField() { return false; }
    virtual VarDeclInfo* GetVarDeclInfo() { return nullptr; }
    virtual TypeInfo* GetTypeInfo() = 0;

    AccessTypes GetAccess() const { return m_Access; }
    void SetAccess(AccessTypes access) { m_Access = access; }

    AccessTypes m_Access;

protected:
    ~MemberInfo() {}
};

class TypeInfo : public InfoPrint<TypeInfo, Info> {
public:
    explicit TypeInfo(Name* name);

    DbNode* CreateDbNode() override;

    // Same interned name and indirection; the flags are not compared.
    bool SameType(TypeInfo& other) const;

    enum { BY_VALUE = 0, REFERENCE = 1, POINTER = 2, RVALUE_REFERENCE = 3 };
    int m_Indirection;
    bool m_bConst;
    bool m_bVirtual;
    bool m_bStatic;
    bool m_bInline;
    bool m_bAbstract;
};

// Something declared with a type; the type is also child 0.
template <class T>
class DeclInfo : public InfoPrint<T, Info> {
public:
    explicit DeclInfo(Name* name) : InfoPrint<T, Info>(name), m_pType(nullptr) {}

    TypeInfo* GetType() const { return m_pType; }
    void SetType(TypeInfo* type)
    {
        m_pType = type;
        this->SetChild(0, type);
    }

    TypeInfo* m_pType;
};

class FuncBodyInfo : public InfoPrint<FuncBodyInfo, Info> {
public:
    FuncBodyInfo() : InfoPrint<FuncBodyInfo, Info>(nullptr) {}

    DbNode* CreateDbNode() override;

    Str const& GetText() const { return m_Text; }
    void SetText(Str const& text) { m_Text = text; }
    // The function whose body this is.
    FuncInfo* GetFunc() const;

    Str m_Text;
};

class ParamListInfo : public InfoPrint<ParamListInfo, Info> {
public:
    explicit ParamListInfo(Name* name = nullptr) : InfoPrint<ParamListInfo, Info>(name) {}

    DbNode* CreateDbNode() override;

    // The printed types of the parameters that have one, joined by ", ".
    Str TypesAsString();
    // Same count and, position by position, types that are SameType.
    bool SameParams(ParamListInfo& other);
    // Appends a new parameter of this name and type.
    void AddChild(Name& name, TypeInfo& type);
};

class FuncInfo : public DeclInfo<FuncInfo>, public MemberInfo {
public:
    // An info over the node that declares the function.
    FuncInfo(FuncNode& node, Name* name);
    // An info made from text, without node.
    explicit FuncInfo(Name* name);

    FuncInfo* GetFuncInfo() override { return this; }
    DbNode* CreateDbNode() override;
    TypeInfo* GetTypeInfo() override { return m_pType; }
    bool IsMethod() override { return true; }

    NodeFuncDecl* GetDecl() const;
    FuncNode* GetNode() const { return m_pNode; }
    NodeFuncDef* GetDef() const { return m_pDef; }
    void SetDef(NodeFuncDef* def) { m_pDef = def; }

    bool IsVirtual() const;
    bool IsStatic() const;
    bool IsInline() const;
    void SetIsVirtual(bool value);
    void SetIsInline(bool value);
    bool IsConstructor() const { return m_bConstructor; }
    bool IsDestructor() const { return m_bDestructor; }

    // The node's current name (else the info's), "~" in front for a destructor.
    Str GetStrName() const;
    // The printer's signature; without withVirtual "virtual" is removed,
    // double blanks are folded and the ends are trimmed.
    Str GetSignature(bool withVirtual);
    // The printed return type; empty without one.
    Str GetReturnType();
    bool SameParams(ParamListInfo& params);

    ParamListInfo* GetParams() const { return m_pParams; }
    // Sets the parameter list, which becomes child 1.
    void SetParams(ParamListInfo* params);
    FuncBodyInfo& GetBody() { return m_Body; }

    // Recomputes the constructor and destructor flags from the declaration
    // node. It reads the function nodes and is defined with them.
    void OnChange();

    AOPInfo::AopTypes m_AopType;
    FuncBodyInfo m_Body;
    ParamListInfo* m_pParams;
    FuncNode* m_pNode;
    NodeFuncDef* m_pDef;
    bool m_bDestructor;
    bool m_bConstructor;
    // The cv- and ref-qualifiers written after the parameters, one blank
    // between them ("const", "const &&"); empty for none. Overloads may
    // differ in them alone.
    Str m_Qualifiers;
    FuncInfo* m_pRefined;  // the same function in the layer below
    FuncInfo* m_pRefining; // the same function in the layer above
    FOPModule* m_pModule;

private:
    void Init();
};

// A variable. Without a printed form of its own it prints its name.
class VarDeclInfo : public DeclInfo<VarDeclInfo> {
public:
    explicit VarDeclInfo(Name* name) : DeclInfo<VarDeclInfo>(name), m_pNode(nullptr) {}

    Str AsString() override { return Info::AsString(); }
    DbNode* CreateDbNode() override { return nullptr; }

    // The declarator in the declaration's variable list; null for parameters
    // and variables made by a builder.
    NodeAssignment* m_pNode;
};

class MemberVarInfo : public VarDeclInfo, public MemberInfo {
public:
    explicit MemberVarInfo(Name* name) : VarDeclInfo(name) {}

    Str AsString() override;
    bool IsField() override { return true; }
    TypeInfo* GetTypeInfo() override { return m_pType; }
    VarDeclInfo* GetVarDeclInfo() override { return this; }
};

// A parameter.
class LocalVarInfo : public VarDeclInfo {
public:
    explicit LocalVarInfo(Name* name) : VarDeclInfo(name) {}

    Str AsString() override;
};

class BaseClassInfo : public InfoPrint<BaseClassInfo, Info> {
public:
    explicit BaseClassInfo(Name* name) : InfoPrint<BaseClassInfo, Info>(name) {}

    DbNode* CreateDbNode() override { return nullptr; }
};

// The root of a file's infos. Without a printed form of its own it prints
// its name.
class FileInfo : public InfoPrint<FileInfo, InfoWithMembers> {
public:
    explicit FileInfo(Name* name) : InfoPrint<FileInfo, InfoWithMembers>(name) {}

    Str AsString() override { return Info::AsString(); }
    DbNode* CreateDbNode() override { return nullptr; }
};

class NSInfo : public InfoPrint<NSInfo, InfoWithMembers> {
public:
    explicit NSInfo(Name* name) : InfoPrint<NSInfo, InfoWithMembers>(name) {}

    DbNode* CreateDbNode() override;
};

class ClassInfo : public InfoPrint<ClassInfo, InfoWithMembers> {
public:
    explicit ClassInfo(Name* name) : InfoPrint<ClassInfo, InfoWithMembers>(name), m_pDef(nullptr) {}

    ClassInfo* GetClassInfo() override { return this; }
    DbNode* CreateDbNode() override;
    // The printed members.
    virtual Str ChildsAsString();

    // The class definition node that embeds this info; null for a class
    // made from text.
    NodeClassDef* GetDef() const { return m_pDef; }
    void SetDef(NodeClassDef* def) { m_pDef = def; }

    NodeClassDef* m_pDef;
};
