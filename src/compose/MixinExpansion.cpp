#include "compose/MixinExpansion.h"

#include "compose/CodeGenerator.h"
#include "compose/FOPModule.h"
#include "compose/Layer.h"
#include "compose/LayerStack.h"
#include "compose/Module.h"
#include "compose/TransformationUnit.h"
#include "compose/TransformedModule.h"
#include "parser/Info.h"
#include "parser/NodeBaseClass.h"
#include "parser/NodeBrace.h"
#include "parser/NodeClassDecl.h"
#include "parser/NodeClassDef.h"
#include "parser/NodeFuncDecl.h"
#include "parser/NodeID.h"
#include "parser/NodeKeyword.h"
#include "parser/SimpleTU.h"
#include "parser/SyntaxEdit.h"
#include "scanner/Token.h"

namespace {

// The mixin classes whose copies are being made and parsed; meeting one of
// them again is a mixin cycle.
Set<TransformedModule*>& MixinsInProgress()
{
    static Set<TransformedModule*> inProgress;
    return inProgress;
}

} // namespace

bool MixinExpansion::ProcessMixins()
{
    NodeClassDef* main = m_Module.GetMainClass();
    if (!main)
        return true;
    NodeBaseClassDecl* bases = main->GetBaseClassDecl();
    if (!bases)
        return true;
    FOPModule* refinedBefore = m_Module.GetRefinedModule();
    int count = 0;
    while (bases->GetBase(count))
        ++count;
    bool hadMixin = false;
    // Last to first, so that the first-listed mixin ends up nearest to this
    // module.
    for (int i = count - 1; i >= 0; --i) {
        NodeBaseClass* base = bases->GetBase(i);
        if (!base || base->m_Access != ACCESS_MIXIN)
            continue;
        hadMixin = true;
        if (!AddMixinClass(*base))
            return false;
        bases->DeleteBase(*base);
    }
    if (!hadMixin)
        return true;
    NodeClassDecl* head = main->GetClassDecl();
    NodeTemplateDef* templateHead = head ? head->GetTemplDef() : nullptr;
    if (!templateHead || refinedBefore)
        return true;
    // The lowest mixin copy now introduces the class: it takes the template
    // head.
    TransformationUnit* unit = m_Module.GetTransformationModule();
    FOPModule* first = unit ? unit->GetFirstTransformationModule() : nullptr;
    if (!first || first == &m_Module || !first->GetMainClass())
        return false;
    NodeClassDecl* firstHead = first->GetMainClass()->GetClassDecl();
    if (firstHead && !firstHead->GetTemplDef())
        firstHead->CopyTemplDef(*templateHead);
    return true;
}

bool MixinExpansion::AddMixinClass(NodeBaseClass& base)
{
    if (!m_Module.GetTransformedClass())
        return false;
    NodeID* id = base.GetID();
    Str name = id ? id->AsString() : Str();
    TransformedModule* cls = m_Module.GetTransformedClass();
    TransformedModule* mixinClass = cls->GetLayerStack()->GetModule(name);
    if (!mixinClass) {
        // The module fails to parse; said here, since nothing above knows why.
        Lex::Token* at = id && id->GetFirstToken() ? id->GetFirstToken() : base.GetFirstToken();
        m_Module.PrintError(Str().Format("mixin class %s not found", name.GetBuffer()),
                   at && !at->location.empty() ? at->location.line() : 0);
        return false;
    }
    Set<TransformedModule*>& inProgress = MixinsInProgress();
    if (mixinClass == cls || inProgress.Contains(mixinClass)) {
        m_Module.PrintError(Str().Format("recursive mixin %s", name.GetBuffer()), 0);
        return false;
    }
    // A mixin the class holds already (named by another module or by a
    // mixin) is not copied again: its members would be there twice.
    for (int i = 0; i < cls->GetModules().GetCount(); ++i) {
        FOPModule* module = cls->GetModules()[i];
        if (module->IsMixin() && module->GetMixinName() == name)
            return true;
    }
    // Only the mixin class's own modules are copied: copies that its own
    // parse may have inserted are left out, since each copy expands the
    // mixins it names itself.
    Array<FOPModule*> own;
    for (int i = 0; i < mixinClass->GetModules().GetCount(); ++i)
        if (!mixinClass->GetModules()[i]->IsMixin())
            own.Add(mixinClass->GetModules()[i]);
    inProgress.Add(mixinClass);
    bool ok = true;
    for (int i = 0; ok && i < own.GetCount(); ++i)
        ok = AddMixinRefinement(*own[i]);
    inProgress.Remove(mixinClass);
    return ok;
}

bool MixinExpansion::AddMixinRefinement(FOPModule& mixin)
{
    // The copy reads the mixin's files under this module's name. Like every
    // module it lives until the end of the run.
    Module* copy = new Module(*mixin.GetModule());
    Str mixinName = mixin.GetName();
    copy->m_Name = m_Module.GetName();
    FOPModule* module = m_Module.GetLayer()->CreateModule(*copy);
    if (!module)
        return false;
    module->SetIsMixin(mixinName);
    module->SetMixinLayer(*mixin.GetLayer());
    mixin.SetUsedAsMixin();
    TransformedModule* cls = m_Module.GetTransformedClass();
    if (!cls || !cls->InsertAbove(m_Module, *module))
        return false;
    TransformationUnit* unit = m_Module.GetTransformationModule();
    if (!unit || !unit->InsertAbove(m_Module, *module))
        return false;
    return module->Parse();
}

void MixinExpansion::DropProvidedDeclarations(Array<FOPModule*>& modules)
{
    for (int m = 0; m < modules.GetCount(); ++m) {
        FOPModule* copy = modules[m];
        SimpleTU* tu = copy->IsMixin() ? copy->GetParseUnit() : nullptr;
        if (!tu || !copy->GetMainClass())
            continue;
        for (int i = tu->m_FuncDecls.GetCount() - 1; i >= 0; --i) {
            NodeFuncDecl* decl = tu->m_FuncDecls[i];
            FuncInfo* f = decl->GetInfo();
            if (!f || f->GetDef() || f->IsConstructor() || f->IsDestructor() ||
                decl->GetClass() != copy->GetMainClass() || SyntaxEdit::DefaultedOrDeleted(*decl))
                continue;
            // Declared only: a function the mixin expects of its user. It
            // stays when no other module has it or a copy of the same mixin
            // defines it.
            bool provided = false;
            bool definedByMixin = false;
            for (int o = 0; o < modules.GetCount(); ++o) {
                FOPModule* other = modules[o];
                NodeFuncDecl* same = other == copy ? nullptr : other->GetMethod(*f);
                if (!same)
                    continue;
                if (other->IsMixin() && other->GetMixinName() == copy->GetMixinName())
                    definedByMixin = definedByMixin || (same->GetInfo() && same->GetInfo()->GetDef());
                else
                    provided = true;
            }
            if (!provided || definedByMixin)
                continue;
            SyntaxEdit::DropDeclaration(*decl);
            tu->m_FuncDecls.RemoveAt(i, 1);
        }
    }
}

void MixinExpansion::KeepAccessAroundCopies(Array<FOPModule*>& modules)
{
    auto keyOf = [](FOPModule* module) -> Lex::Token* {
        NodeClassDecl* head = module && module->GetMainClass() ? module->GetMainClass()->GetClassDecl() : nullptr;
        NodeKeyword* key = head ? head->GetKey() : nullptr;
        Lex::Token* token = key ? key->GetToken() : nullptr;
        return token && (token->type == Lex::TOK_CLASS || token->type == Lex::TOK_STRUCT) ? token : nullptr;
    };
    FOPModule* user = nullptr;
    for (int i = 0; i < modules.GetCount() && !user; ++i)
        if (!modules[i]->IsMixin())
            user = modules[i];
    for (int i = 0; i < modules.GetCount(); ++i) {
        FOPModule* module = modules[i];
        bool afterCopy = i > 0 && modules[i - 1]->IsMixin();
        if (!module->IsMixin() && !afterCopy)
            continue;
        Lex::Token* key = keyOf(module);
        NodeBlock* body = module->GetMainClass() ? module->GetMainClass()->GetBody() : nullptr;
        Lex::Token* open = body ? body->GetFirstToken() : nullptr;
        if (!key || !open || open->type != Lex::TOK_OPEN_CURLY)
            continue;
        // The members a module lists before any access label have the
        // access its own class key gives them, not the one the part above
        // ends with.
        char const* label = key->type == Lex::TOK_STRUCT ? "\npublic:" : "\nprivate:";
        open->AddTokenAfter(*new Lex::Token(Lex::TOK_STRING_VAL, Lex::Token::cpp_id, label));
        // The lowest copy's head is written for the class: it takes the
        // class key of the class's own module.
        Lex::Token* userKey = keyOf(user);
        if (i == 0 && module->IsMixin() && userKey) {
            key->text = userKey->text;
            key->SetType(userKey->type);
        }
    }
}

void MixinExpansion::FindMixinOnlyClasses(LayerStack& stack)
{
    // What each class names and which classes it holds as mixins: from its
    // modules when it was parsed in this run, else from its dependency file.
    Set<TransformedModule*> usedAsMixin;
    Set<TransformedModule*> named;
    usedAsMixin.SetIndexed();
    named.SetIndexed();
    for (auto* node = stack.m_ComposedClasses.GetFirst(); node; node = stack.m_ComposedClasses.GetNext(node)) {
        TransformedModule* cls = node->GetValue();
        StringSet names;
        if (cls->IsParsed()) {
            StringSet forward, include;
            for (int i = 0; i < cls->GetModules().GetCount(); ++i) {
                FOPModule* module = cls->GetModules()[i];
                CodeGenerator::Get().GetUsedClasses(*module, names, forward, include);
                if (module->IsMixin())
                    if (TransformedModule* mixin = stack.GetModule(module->GetMixinName()))
                        usedAsMixin.Add(mixin);
            }
            for (auto* n = forward.GetFirst(); n; n = forward.GetNext(n))
                names.Add(n->GetKey());
            for (auto* n = include.GetFirst(); n; n = include.GetNext(n))
                names.Add(n->GetKey());
        } else {
            for (auto* n = cls->GetDeclDependencyNames().GetFirst(); n; n = cls->GetDeclDependencyNames().GetNext(n))
                names.Add(n->GetKey());
            for (auto* n = cls->GetImplDependencyNames().GetFirst(); n; n = cls->GetImplDependencyNames().GetNext(n))
                names.Add(n->GetKey());
            for (auto* n = cls->GetRecordedMixins().GetFirst(); n; n = cls->GetRecordedMixins().GetNext(n))
                if (TransformedModule* mixin = stack.GetModule(n->GetKey()))
                    usedAsMixin.Add(mixin);
        }
        for (auto* n = names.GetFirst(); n; n = names.GetNext(n)) {
            TransformedModule* other = stack.GetModule(n->GetKey());
            if (other && other != cls)
                named.Add(other);
        }
    }
    for (auto* node = stack.m_ComposedClasses.GetFirst(); node; node = stack.m_ComposedClasses.GetNext(node)) {
        TransformedModule* cls = node->GetValue();
        cls->SetMixinOnly(usedAsMixin.Contains(cls) && !named.Contains(cls));
    }
}
